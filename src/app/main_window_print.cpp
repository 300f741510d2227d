// The job sheet from the window: print, print preview and export as PDF, all
// painted by paint_job_sheet. None of them changes the project.
#include "app/main_window.h"
#include "app/wait_cursor.h"
#include "base/prompt.h"
#include "project/project_model.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace zeran {

namespace {

QPageLayout::Orientation qt_orientation(SheetOrientation o) {
    return o == SheetOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

void TMainForm::install_print_hooks() {
    run_print_dialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    run_print_preview = [](QPrintPreviewDialog& dialog) { dialog.exec(); };
}

QPrinter& TMainForm::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

SheetSettings TMainForm::sheet_settings() const {
    SheetSettings s;
    for (std::size_t i = 0; i < s.colours.size(); ++i) s.colours[i] = settings_.colours[i];
    s.border = settings_.border;
    return s;
}

bool TMainForm::print_sheet(QPrinter& printer) {
    WaitCursor wait;
    const SheetOrientation before = prepare_sheet_device(printer, *model_);
    QString error;
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = tr("The printer could not start the document.");
    } else {
        try {
            paint_job_sheet(painter, printer, *model_, sheet_settings());
        } catch (const std::exception& e) {
            error = QString::fromStdString(e.what());
        }
        if (!painter.end() && error.isEmpty())
            error = tr("The printer could not end the document.");
        if (error.isEmpty() && printer.printerState() == QPrinter::Error)
            error = tr("The printer reported an error.");
    }
    printer.setPageOrientation(qt_orientation(before));
    if (error.isEmpty()) return true;
    prompt_->tell(MessageKind::Error,
                  (tr("Unable to print the job sheet.") + "\r\r" + error).toStdString());
    return false;
}

void TMainForm::MenuPrintClick() {
    if (!model_->drawing_loaded) return;
    QPrinter& p = printer();
    if (!run_print_dialog(p)) return;
    print_sheet(p);
}

void TMainForm::MenuPrintPreviewClick() {
    if (!model_->drawing_loaded) return;
    QPrinter& p = printer();
    const SheetOrientation before = prepare_sheet_device(p, *model_);
    {
        QPrintPreviewDialog dialog(&p, this);
        dialog.setWindowTitle(tr("Print Preview"));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
            WaitCursor wait;
            QPainter painter;
            if (!painter.begin(target)) return;
            paint_job_sheet(painter, *target, *model_, sheet_settings());
        });
        run_print_preview(dialog);
    }
    p.setPageOrientation(qt_orientation(before));
}

void TMainForm::MenuExportSheetClick() {
    if (!model_->drawing_loaded) return;
    FileRequest r;
    r.mode = FileRequest::Mode::Save;
    r.title = tr("Export Job Sheet");
    const QFileInfo project(QString::fromStdString(model_->project_file_name));
    r.folder = model_->project_folder.empty() ? QString::fromStdString(settings_.tcf_folder)
                                              : project.absolutePath();
    r.file = project.completeBaseName() + ".pdf";
    r.filter = tr("PDF files (*.pdf)");
    r.suffix = "pdf";
    const QString file = choose_file(r);
    if (file.isEmpty()) return;
    if (sheet_replaces_project(model_->project_file_name, file.toStdString())) {
        prompt_->tell(MessageKind::Error,
                      tr("The job sheet cannot replace the project or its drawing.").toStdString());
        return;
    }
    WaitCursor wait;
    QString error;
    if (!write_job_sheet_pdf(*model_, sheet_settings(), file, &error))
        prompt_->tell(MessageKind::Error, error.toStdString());
}

} // namespace zeran
