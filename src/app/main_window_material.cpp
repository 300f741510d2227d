// The material file behind Import and "Select Material": the project's
// material looked up when a project is read, and the choice of a material.
#include "app/busy_prompt.h"
#include "app/main_window.h"
#include "base/prompt.h"
#include "dialogs/title_width.h"
#include "ncout/material_db.h"
#include "project/project_model.h"

#include "dialogs/material_form.h"

#include <QFileInfo>

namespace zeran {

bool TMainForm::MaterialListDialog(TMaterialDatabase& db) {
    const BusyAside aside(*busy_box_);
    // Created once and reused; every use shows the freshly read file.
    if (!material_form_) {
        material_form_ = std::make_unique<TMaterialForm>(*prompt_, this);
        material_form_->choose_file = [this](const QString& folder, const QString& name) {
            FileRequest r;
            r.title = tr("Select Material File");
            r.folder = folder;
            r.file = name;
            r.filter = tr("Material files (*.tmf *.TMF);;Material files (*.mat *.MAT)");
            r.suffix = "tmf";
            return choose_file(r);
        };
    }
    return material_form_->Execute(db, model_->units);
}

void TMainForm::install_material_hooks() {
    const MaterialFileChooser locate =
        [this](const std::string& folder, const std::string& name) -> std::optional<std::string> {
        FileRequest r;
        r.title = tr("Locate Material File");
        r.folder = QString::fromStdString(folder);
        r.file = QString::fromStdString(name);
        r.filter = tr("Material files (*.tmf *.TMF)");
        r.suffix = "tmf";
        const QString chosen = choose_file(r);
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.toStdString();
    };
    model_->settings.load_material = [this, locate](std::string& file, std::string& name,
                                                    TCycleParams& record) {
        if (file.empty()) file = model_->settings.default_material_file;
        TMaterialDatabase db;
        db.DefaultPath = model_->settings.default_material_file;
        db.DecimalSeparator = separator_;
        return LoadMaterial(db, file, name, record, *prompt_, locate);
    };
    model_->settings.choose_material = [this, locate](std::string& file, std::string& name,
                                                      TCycleParams& record) {
        if (file.empty()) file = model_->settings.default_material_file;
        TMaterialDatabase db;
        db.DefaultPath = model_->settings.default_material_file;
        db.DecimalSeparator = separator_;
        return ChooseMaterial(db, file, name, record, *prompt_, locate, run_material_dialog);
    };
}

} // namespace zeran
