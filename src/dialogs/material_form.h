#pragma once
// TMaterialForm, "Material Selection": the materials of a material file in a
// list, with adding, renaming in place, deleting and, in edit mode, editing
// every value. Edits live in the database until OK saves them.
#include "base/tolerances.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class QWidget;

namespace zeran {

class Prompt;
class TMaterialDatabase;
class TRealEdit;

class TMaterialForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 7;
    static constexpr int kCompactHeight = 220;
    static constexpr int kEditHeight = 405;

    explicit TMaterialForm(Prompt& prompt, QWidget* parent = nullptr);

    // Shows the database with its selected entry, edit mode off; the values
    // are also shown in `project_units` when the material's
    // own units differ. Execute runs it modally: true after OK.
    void Load(TMaterialDatabase& db, Units project_units);
    bool Execute(TMaterialDatabase& db, Units project_units);

    // Picks another material file: (folder, name) -> path, empty when cancelled.
    std::function<QString(const QString& folder, const QString& name)> choose_file;

    bool edit_mode() const { return edit_mode_; }
    QListWidget* material_list() const { return materials_; }
    QListWidget* param_list() const { return params_; }
    TRealEdit* param_edit() const { return param_edit_; }
    QComboBox* units_edit() const { return units_edit_; }
    QLabel* param_label() const { return param_label_; }
    QLabel* material_label() const { return material_label_; }
    QLabel* file_panel() const { return file_panel_; }
    QPushButton* button(const char* object_name) const;

    // The commands, as the buttons run them.
    void BtnAddClick();
    void BtnDeleteClick();
    void BtnEditClick();
    void BtnLoadClick();
    void UnitsEditDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill_materials();
    void ShowMaterial();
    void ParamListClick();
    void ParamEditChange();
    void UnitsEditChange();
    void MaterialListSelect();
    void RenameEdited(QListWidgetItem* item);
    void set_buttons();
    void set_edit_mode(bool on);
    QString converted_hint(int key) const;

    Prompt& prompt_;
    TMaterialDatabase* db_ = nullptr;
    Units project_units_ = Units::Metric;
    bool edit_mode_ = false;
    bool updating_ = false;

    QLabel* file_panel_ = nullptr;
    QLabel* material_label_ = nullptr;
    QListWidget* materials_ = nullptr;
    QListWidget* params_ = nullptr;
    QWidget* edit_area_ = nullptr; // the key list and the editor, in edit mode
    QWidget* cycle_panel_ = nullptr;
    TRealEdit* param_edit_ = nullptr;
    QComboBox* units_edit_ = nullptr;
    QLabel* param_label_ = nullptr;
    QLabel* unit_label_ = nullptr;
    QTimer* timer_ = nullptr;
};

} // namespace zeran
