// File commands: New, Open, Reopen, Save, Save As, the save prompt, dropped
// files and the command line.
#include "app/busy_prompt.h"
#include "app/main_window.h"
#include "base/prompt.h"
#include "dialogs/open_dxf_dialog.h"
#include "ncout/gnc_writer.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace zeran {

namespace {

const char* const kUntitled = "Untitled.tcf";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

bool is_untitled(const std::string& name) {
    const QFileInfo info(q(name));
    return info.fileName().isEmpty() || info.fileName() == kUntitled;
}

} // namespace

QString TMainForm::ask_file(const FileRequest& r) {
    if (r.mode == FileRequest::Mode::Open) {
        // Drawings and projects are chosen with the preview of their drawing.
        TOpenDXFDialog dialog(this, prompt_);
        dialog.setWindowTitle(r.title);
        dialog.setDirectory(r.folder);
        dialog.setNameFilter(r.filter);
        dialog.setDefaultSuffix(r.suffix);
        dialog.setHelpShown(r.help_context != 0);
        dialog.setHelpContext(r.help_context);
        return dialog.Execute() ? dialog.FileName() : QString();
    }
    QFileDialog dialog(this, r.title, r.folder, r.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(r.suffix);
    if (!r.file.isEmpty()) dialog.selectFile(r.file);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool TMainForm::QuerySaveChanges() {
    if (!model_->drawing_loaded || !model_->IsModified()) return true;
    if (model_->project_file_name.empty()) model_->project_file_name = kUntitled;
    const std::string text =
        tr("The file %1, has changed.").arg(q(model_->project_file_name)).toStdString() + "\n\n" +
        tr("Do wish to save the changes?").toStdString();
    switch (prompt_->ask(MessageKind::Warning, text, {Answer::Yes, Answer::No, Answer::Cancel})) {
    case Answer::Yes: {
        return SaveProject();
    }
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void TMainForm::MenuNewClick() {
    if (QuerySaveChanges()) NewProject();
}

void TMainForm::NewProject() {
    forget_drawing_elements();
    session_->selected = {CyclePart::Header, nullptr};
    model_->ClearProject();
    model_->project_file_name = kUntitled;
    update_file_commands(false);
    set_title(tr("Untitled"));
    model_->SetModified(false);
    view_->SetActive(false);
    view_->setZoomEnabled(false);
    ReadToolList();
    tabs_->setCurrentIndex(0);
    session_->start_fresh();
}

void TMainForm::MenuOpenClick() {
    if (!QuerySaveChanges()) return;
    FileRequest r;
    r.title = tr("Open Spindra Turning File");
    r.folder = q(model_->project_folder.empty() ? settings_.tcf_folder : model_->project_folder);
    r.file = "*.tcf";
    r.filter = tr("Spindra Turning files (*.tcf *.TCF)");
    r.suffix = "tcf";
    const QString chosen = choose_file(r);
    if (!chosen.isEmpty()) OpenProject(chosen);
}

void TMainForm::MenuReopenClick(int index) {
    const auto& entries = settings_.reopen.entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    const QString path = q(entries[std::size_t(index)]);
    if (QuerySaveChanges()) OpenProject(path);
}

bool TMainForm::OpenProject(const QString& file_name) {
    ProjectReadOptions options;
    options.separator = separator_;
    std::string error;
    const QString path = QFileInfo(file_name).absoluteFilePath();
    forget_drawing_elements();
    busy_ = true;
    auto busy = std::make_unique<BusyScope>(*busy_box_, view_, tr("Reading the project..."));
    const bool ok = ReadProjectFile(*model_, path.toStdString(), options, &error);
    // The cycles were replaced: nothing may stay selected in the old list.
    if (ok) session_->selected = {CyclePart::Header, nullptr};
    busy.reset();
    busy_ = false;
    if (!ok) {
        // The model was left as it was; the reader has told the user why.
        if (!QFileInfo::exists(path)) RemoveFromReopenList(path);
        return false;
    }
    set_title(QFileInfo(path).fileName());
    AddToReopenList(path);
    // A project that is ready to machine opens on its program with the first
    // cycle chosen, so that its tool path shows at once.
    if (model_->datum_set && !model_->cycles.empty())
        session_->selected = {CyclePart::Cycle, model_->cycles.front().get()};
    after_drawing_loaded();
    if (model_->datum_set && !model_->cycles.empty()) SetProgramTab(true);
    return true;
}

// The window follows a model that has just been filled from a file.
void TMainForm::after_drawing_loaded() {
    if (session_->selected.part == CyclePart::None) session_->selected.part = CyclePart::Header;
    update_file_commands(model_->drawing_loaded);
    view_->setUnits(model_->units);
    zoom_to_drawing();
    view_->setZoomEnabled(model_->drawing_loaded);
    // A new project, a new history; its notification shows the whole of it.
    session_->start_fresh();
}

bool TMainForm::write_project(const QString& file_name) {
    try {
        WriteProjectFile(*model_, file_name.toStdString(), separator_);
        session_->mark_saved();
    } catch (const std::exception& e) {
        prompt_->tell(MessageKind::Error, e.what());
        return false;
    }
    return true;
}

bool TMainForm::SaveProject() {
    if (!model_->drawing_loaded) return false;
    if (!is_untitled(model_->project_file_name)) return write_project(q(model_->project_file_name));
    return SaveProjectAs();
}

void TMainForm::MenuSaveAsClick() {
    SaveProjectAs();
}

bool TMainForm::SaveProjectAs() {
    if (!model_->drawing_loaded) return false;
    FileRequest r;
    r.mode = FileRequest::Mode::Save;
    r.title = tr("Save As");
    const QFileInfo project(q(model_->project_file_name));
    if (!is_untitled(model_->project_file_name) && project.exists()) {
        r.folder = project.absolutePath();
        r.file = project.absoluteFilePath();
    } else {
        const QFileInfo drawing(q(model_->tdx_file_name));
        r.folder = drawing.absolutePath();
        r.file = drawing.dir().filePath(drawing.completeBaseName() + ".tcf");
    }
    r.filter = tr("Spindra Turning files (*.tcf *.TCF)");
    r.suffix = "tcf";
    const QString chosen = choose_file(r);
    if (chosen.isEmpty()) return false;
    QString path = QFileInfo(chosen).absoluteFilePath();
    if (QFileInfo(path).suffix().isEmpty()) path += ".tcf";
    if (!write_project(path)) return false;
    model_->project_file_name = path.toStdString();
    const QString name = QFileInfo(path).fileName();
    set_title(name);
    model_->header.header->ProjectName = name.toStdString();
    AddToReopenList(path);
    return true;
}

void TMainForm::DropFiles(const QStringList& files) {
    if (files.isEmpty()) return;
    const QString first = files.front();
    const QString suffix = QFileInfo(first).suffix().toLower();
    if (suffix == "dxf") {
        ImportDxf(first);
    } else if (suffix == "tcf") {
        if (QuerySaveChanges()) OpenProject(first);
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* e) {
    QStringList files;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    DropFiles(files);
    e->acceptProposedAction();
}

void TMainForm::OpenCommandLine(const QStringList& args) {
    if (args.isEmpty()) return;
    // A drawing (or a converted one) opened from the desktop is imported.
    const QString file = args.join(' ');
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == "dxf" || suffix == "tdx") {
        ImportDxf(file);
    } else {
        OpenProject(file);
    }
}

} // namespace zeran
