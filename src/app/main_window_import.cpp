// Import DXF: the drawing read through the core pipeline, its questions
// answered by the window's prompt.
#include "app/busy_prompt.h"
#include "app/main_window.h"
#include "base/prompt.h"
#include "project/project_model.h"
#include "view/zoom_panel.h"

#include <QFileInfo>
#include <exception>

namespace zeran {

void TMainForm::MenuImportClick() {
    FileRequest r;
    r.title = tr("Import DXF");
    const QFileInfo tdx(QString::fromStdString(model_->tdx_file_name));
    r.folder = model_->tdx_file_name.empty() ? QString::fromStdString(settings_.tdx_folder)
                                             : tdx.absolutePath();
    r.file = "*.dxf";
    r.filter = tr("DXF files (*.dxf *.DXF)");
    r.suffix = "dxf";
    r.help_context = 1;
    const QString chosen = choose_file(r);
    if (chosen.isEmpty()) return;
    view_->Repaint();
    ImportDxf(chosen);
}

bool TMainForm::ImportDxf(const QString& file_name) {
    if (!QuerySaveChanges()) return false;
    NewProject();
    const QString path = QFileInfo(file_name).absoluteFilePath();
    bool ok = false;
    busy_ = true;
    try {
        const BusyScope busy(*busy_box_, view_, tr("Reading DXF file..."));
        ok = model_->ImportDxf(path.toStdString());
    } catch (const std::exception& e) {
        prompt_->tell(MessageKind::Error, e.what());
        ok = false;
    }
    busy_ = false;
    if (!ok) {
        if (!model_->drawing_loaded) {
            model_->ClearProject();
            after_drawing_loaded();
        }
        return false;
    }
    model_->project_file_name = "Untitled.tcf";
    set_title(tr("Untitled"));
    settings_.tdx_folder = QFileInfo(path).absolutePath().toStdString();
    after_drawing_loaded();
    // Once per import: what the drawing holds that did not come in.
    const std::string skipped = skipped_summary(model_->skipped_entities);
    if (!skipped.empty()) prompt_->tell(MessageKind::Information, skipped);
    return true;
}

} // namespace zeran
