#pragma once
// Handing the last CNC program to the simulator: to the running one through
// its local socket, or by starting it in a working folder the user confirms
// in TRunSimvoTurn.
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace zeran {

// Hands the file to a running simulator (a few attempts); when none answers
// or the file is missing, says that the simulator is not installed or too
// old, and gives false.
bool ExportCNCFile(QWidget* parent, const QString& cnc_file);

class TRunSimvoTurn : public QDialog {
    Q_OBJECT
public:
    TRunSimvoTurn(const QString& executable, QWidget* parent = nullptr);

    QString working_folder;
    QString cnc_file;

    QLabel* LabelPath() const { return label_path_; }
    QPushButton* BtnYes() const { return btn_yes_; }
    // Starts the simulator in the working folder with the CNC file and waits
    // (at most `wait_ms`) for it to answer on its socket.
    bool start_simulator(int wait_ms = 10000);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void layout_path();
    void BtnChangeClick();
    void BtnYesClick();

    QString executable_;
    QLabel* image_icon_ = nullptr;
    QLabel* label_path_ = nullptr;
    QPushButton* btn_yes_ = nullptr;
};

} // namespace zeran
