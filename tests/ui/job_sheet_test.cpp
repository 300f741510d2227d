// The job sheet from the window: print, cancel, a printer that fails, the
// preview and the PDF export; none of them changes the project, the draw
// style or the printer's orientation.
#include "app/job_sheet_print.h"
#include "app/main_window.h"
#include "cycles/kind_description.h"
#include "project/job_sheet.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace zeran;

namespace {

struct Home {
    QTemporaryDir dir;
    QString project;
    Home() {
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        QDir().mkpath(dir.path() + "/p");
        for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            QFile::copy(QString(ZERAN_SOURCE_DIR) + "/examples/" + f, dir.path() + "/p/" + f);
        project = dir.path() + "/p/shaft.tcf";
    }
    AppPaths paths() const {
        return find_app_paths(QCoreApplication::applicationFilePath().toStdString());
    }
};

// The text of a PDF as pdftotext gives it, blanks run together; empty
// without the program.
QString pdf_text(const QString& pdf) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) return {};
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

class JobSheetUiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void print_cancel_and_printer_errors() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(home.project));
        w.MenuDrawClick(DrawStyle::All);
        w.printer().setPageOrientation(QPageLayout::Portrait);
        const bool modified = w.model().IsModified();

        // Cancel in the print dialog: nothing printed, nothing changed.
        const QString out = home.dir.path() + "/sheet.pdf";
        w.run_print_dialog = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(out);
            return false;
        };
        w.MenuPrintClick();
        QVERIFY(!QFile::exists(out));
        QCOMPARE(w.draw_style(), DrawStyle::All);
        QCOMPARE(w.model().IsModified(), modified);

        // OK: the sheet is printed; the shaft is long, so it went landscape,
        // and the printer is back in portrait afterwards.
        QPageLayout::Orientation in_dialog = QPageLayout::Landscape;
        w.run_print_dialog = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(out);
            in_dialog = p.pageLayout().orientation();
            return true;
        };
        w.MenuPrintClick();
        QCOMPARE(in_dialog, QPageLayout::Portrait);
        QVERIFY(QFile::exists(out));
        QCOMPARE(w.printer().pageLayout().orientation(), QPageLayout::Portrait);
        QCOMPARE(sheet_orientation(w.model()), SheetOrientation::Landscape);
        QCOMPARE(w.draw_style(), DrawStyle::All);
        QCOMPARE(w.model().IsModified(), modified);
        QVERIFY(prompt.told.empty());
        QVERIFY(!QApplication::overrideCursor());
        const QString text = pdf_text(out);
        if (!text.isEmpty()) {
            QVERIFY2(text.contains("Spindra Turning - shaft.tcf"), qPrintable(text));
            for (const std::string& line : sheet_lines(w.model()))
                QVERIFY2(text.contains(QString::fromStdString(line).simplified()),
                         qPrintable(QString::fromStdString(line)));
        }

        // A printer that cannot start the document: one message, the cursor back.
        w.run_print_dialog = [&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(home.dir.path() + "/no/such/folder/sheet.pdf");
            return true;
        };
        w.MenuPrintClick();
        QCOMPARE(prompt.told.size(), std::size_t(1));
        QVERIFY(prompt.told[0].rfind("Unable to print the job sheet.", 0) == 0);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(w.printer().pageLayout().orientation(), QPageLayout::Portrait);
    }

    void preview_and_export() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(home.project));
        const bool modified = w.model().IsModified();
        bool shown = false;
        QPageLayout::Orientation previewed = QPageLayout::Portrait;
        int pages = 0;
        w.run_print_preview = [&](QPrintPreviewDialog& d) {
            shown = true;
            previewed = d.printer()->pageLayout().orientation();
            // Showing it paints the sheet into the preview.
            d.show();
            QApplication::processEvents();
            if (auto* preview = d.findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
            d.close();
        };
        w.MenuPrintPreviewClick();
        QVERIFY(shown);
        QCOMPARE(pages, 1);
        QCOMPARE(previewed, QPageLayout::Landscape);
        QCOMPARE(w.printer().pageLayout().orientation(), QPageLayout::Portrait);

        // Export offers the project's name with .pdf and writes the sheet there.
        const QString out = home.dir.path() + "/p/shaft.pdf";
        QString offered;
        w.choose_file = [&](const FileRequest& r) {
            offered = r.folder + "/" + r.file;
            return out;
        };
        w.MenuExportSheetClick();
        QCOMPARE(offered, out);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        QCOMPARE(w.model().IsModified(), modified);
        QVERIFY(prompt.told.empty());

        // A folder that is not there: a message, no file.
        w.choose_file = [&](const FileRequest&) { return home.dir.path() + "/none/x.pdf"; };
        w.MenuExportSheetClick();
        QCOMPARE(prompt.told.size(), std::size_t(1));
        QVERIFY(!QFile::exists(home.dir.path() + "/none/x.pdf"));

        // The project itself is never replaced by its sheet.
        QFile project(home.project);
        QVERIFY(project.open(QIODevice::ReadOnly));
        const QByteArray before = project.readAll();
        project.close();
        w.choose_file = [&](const FileRequest&) { return home.project; };
        w.MenuExportSheetClick();
        QCOMPARE(prompt.told.size(), std::size_t(2));
        QVERIFY(project.open(QIODevice::ReadOnly));
        QCOMPARE(project.readAll(), before);
    }

    void long_lists_go_on_to_a_second_page() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(home.project));
        const QString one = home.dir.path() + "/one.pdf";
        SheetSettings settings;
        QVERIFY(write_job_sheet_pdf(w.model(), settings, one, nullptr));
        for (int i = 0; i < 30; ++i) w.model().AddCycle(*cycle_kind_from_number(i % 8));
        const QString two = home.dir.path() + "/two.pdf";
        QVERIFY(write_job_sheet_pdf(w.model(), settings, two, nullptr));
        const QString text = pdf_text(two);
        if (text.isEmpty()) QSKIP("pdftotext is not installed");
        QVERIFY(text.contains(QString("%1 - ").arg(w.model().cycles.size())));
        QProcess info;
        info.start("pdfinfo", {two});
        info.waitForFinished(30000);
        const QString pages = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(!pages.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(pages));
        info.start("pdfinfo", {one});
        info.waitForFinished(30000);
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages:\\s+1\\n")));
    }
};

QTEST_MAIN(JobSheetUiTest)
#include "job_sheet_test.moc"
