#pragma once
// The post dialog: the machine to post for, its library, and where the
// machine's CNC file goes.
#include "ncout/machine_data.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace zeran {

class IniDocument;
class Prompt;

class TPostForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 5;

    TPostForm(Prompt& prompt, QWidget* parent = nullptr);

    // Fills the list from MachData.ini in the machine tools folder (the own
    // folder unless the settings name another). False after telling the user
    // that no machine is defined.
    bool LoadMachines(const std::string& own_folder, const IniDocument& settings);
    // Exact name; no match leaves the selection as it is.
    void SelectMachine(const std::string& name);
    void SetSource(const std::string& path);
    // Shown with the selected machine's extension.
    void SetDestination(const std::string& path);
    // Library and extension of the selected machine, and the destination's
    // extension with them.
    void RefreshMachine();
    bool Execute();

    std::string Destination() const;
    std::string MachineName() const;
    std::string Library() const;
    const std::string& Extension() const { return extension_; }
    const std::string& MachineFolder() const { return folder_; }
    bool Accepted() const { return accepted_; }

    void BrowseDestClick();
    // The OK button: overwrite question, then the destination created empty.
    void BtnOKClick();
    void BtnCancelClick();

    // The file chooser of Browse (title, folder, file, filter, default
    // extension) -> chosen path or empty; a test may replace it.
    std::function<QString(const QString&, const QString&, const QString&, const QString&,
                          const QString&)>
        choose_file;

    QListWidget* machine_list() const { return list_; }
    QLineEdit* source_edit() const { return source_; }
    QLineEdit* lib_edit() const { return lib_; }
    QLineEdit* dest_edit() const { return dest_; }
    QPushButton* ok_button() const { return ok_; }

private:
    void update_ok();

    Prompt& prompt_;
    QListWidget* list_ = nullptr;
    QLineEdit* source_ = nullptr;
    QLineEdit* lib_ = nullptr;
    QLineEdit* dest_ = nullptr;
    QToolButton* browse_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    std::string folder_;
    std::vector<MachineEntry> machines_;
    std::string extension_ = kDefaultExtension;
    bool accepted_ = false;
};

} // namespace zeran
