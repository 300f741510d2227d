// The material file behind Import and "Select Material": the project's
// material looked up when a project is read, and the choice of a material.
#include "app/main_window.h"
#include "dialogs/title_width.h"
#include "base/prompt.h"
#include "ncout/material_db.h"
#include "project/project_model.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace zeran {

bool TMainForm::MaterialListDialog(TMaterialDatabase& db) {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Select Material"));
    keep_title_whole(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromStdString(db.Path()), &dialog));
    auto* list = new QListWidget(&dialog);
    for (const MaterialEntry& e : db.Entries()) list->addItem(QString::fromStdString(e.name));
    list->setCurrentRow(db.Selected() >= 0 ? db.Selected() : 0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(360, 420);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0) return false;
    db.Select(list->currentRow());
    return true;
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
    model_->load_material = [this, locate](std::string& file, std::string& name,
                                           TCycleParams& record) {
        if (file.empty()) file = model_->default_material_file;
        TMaterialDatabase db;
        db.DefaultPath = model_->default_material_file;
        db.DecimalSeparator = separator_;
        return LoadMaterial(db, file, name, record, *prompt_, locate);
    };
    model_->choose_material = [this, locate](std::string& file, std::string& name,
                                             TCycleParams& record) {
        if (file.empty()) file = model_->default_material_file;
        TMaterialDatabase db;
        db.DefaultPath = model_->default_material_file;
        db.DecimalSeparator = separator_;
        return ChooseMaterial(db, file, name, record, *prompt_, locate, run_material_dialog);
    };
}

} // namespace zeran
