#include "dialogs/run_simvo_turn.h"

#include "ncout/simulator_link.h"
#include "simulator/link/instance_link.h"
#include "view/help_link.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace zeran {

namespace {

constexpr int kHelpContext = 6;
constexpr int kHandOverAttempts = 3;

} // namespace

bool ExportCNCFile(QWidget* parent, const QString& cnc_file) {
    if (simvo::simulator_answers() && QFileInfo(cnc_file).isFile()) {
        for (int attempt = 0; attempt < kHandOverAttempts; ++attempt)
            if (simvo::hand_file_to_simulator(cnc_file)) return true;
    }
    QMessageBox::warning(parent, QApplication::applicationName(),
                         QString::fromUtf8(kSimulatorNotInstalled.data(),
                                           static_cast<qsizetype>(kSimulatorNotInstalled.size())));
    return false;
}

TRunSimvoTurn::TRunSimvoTurn(const QString& executable, QWidget* parent)
    : QDialog(parent), executable_(executable) {
    setWindowTitle(tr("Run Simvo Turning"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::StyledPanel);
    auto* message =
        new QLabel(tr("Simvo Turning is not runnning, run now starting in directory :"), bevel);
    message->setObjectName(QStringLiteral("LabelMessage"));
    message->setWordWrap(true);
    image_icon_ = new QLabel(bevel);
    image_icon_->setObjectName(QStringLiteral("ImageIcon"));
    image_icon_->setFixedSize(41, 41);
    image_icon_->setScaledContents(true);
    label_path_ = new QLabel(bevel);
    label_path_->setObjectName(QStringLiteral("LabelPath"));
    label_path_->setFixedSize(270, 50);
    QFont bold = label_path_->font();
    bold.setBold(true);
    label_path_->setFont(bold);
    label_path_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* inner = new QGridLayout(bevel);
    inner->addWidget(image_icon_, 0, 0, 2, 1, Qt::AlignTop);
    inner->addWidget(message, 0, 1);
    inner->addWidget(label_path_, 1, 1);

    btn_yes_ = new QPushButton(tr("Yes"), this);
    btn_yes_->setObjectName(QStringLiteral("BtnYes"));
    btn_yes_->setDefault(true);
    btn_yes_->setEnabled(false);
    auto* no = new QPushButton(tr("No"), this);
    no->setObjectName(QStringLiteral("BtnNo"));
    auto* change = new QPushButton(tr("Change..."), this);
    change->setObjectName(QStringLiteral("BtnChange"));
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    connect(btn_yes_, &QPushButton::clicked, this, [this] { BtnYesClick(); });
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    connect(change, &QPushButton::clicked, this, [this] { BtnChangeClick(); });
    connect(help, &QPushButton::clicked, this, [] { show_help(kHelpContext); });
    install_help_key(this, kHelpContext);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btn_yes_, no, change, help}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bevel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TRunSimvoTurn::showEvent(QShowEvent* e) {
    image_icon_->setPixmap(QFileIconProvider().icon(QFileInfo(executable_)).pixmap(41, 41));
    if (!QFileInfo(working_folder).isDir()) working_folder = QFileInfo(executable_).absolutePath();
    layout_path();
    btn_yes_->setEnabled(QFileInfo(working_folder).isDir());
    QDialog::showEvent(e);
}

void TRunSimvoTurn::layout_path() {
    const QFontMetrics metrics(label_path_->font());
    const std::string text = LayoutPathLabel(
        QDir::toNativeSeparators(working_folder).toStdString(), label_path_->width(),
        [&](const std::string& s) { return metrics.horizontalAdvance(QString::fromStdString(s)); });
    label_path_->setText(QString::fromStdString(text));
}

void TRunSimvoTurn::BtnChangeClick() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Select Simvo Turning Working Directory"), working_folder);
    if (chosen.isEmpty()) return;
    working_folder = chosen;
    layout_path();
}

bool TRunSimvoTurn::start_simulator(int wait_ms) {
    if (QDir::current().absolutePath().compare(working_folder, Qt::CaseInsensitive) != 0)
        QDir::setCurrent(working_folder);
    QStringList args;
    if (!cnc_file.isEmpty()) args << cnc_file;
    if (!QProcess::startDetached(executable_, args, working_folder)) return false;
    // Until the new simulator takes files, so that an export right after works.
    const QDeadlineTimer deadline(wait_ms);
    while (!simvo::simulator_answers(100)) {
        if (deadline.hasExpired()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 100);
        QThread::msleep(50);
    }
    return true;
}

void TRunSimvoTurn::BtnYesClick() {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const bool started = start_simulator();
    QApplication::restoreOverrideCursor();
    if (!started)
        QMessageBox::warning(this, windowTitle(),
                             tr("Simvo Turning did not start from %1").arg(executable_));
    done(QDialog::Accepted);
}

} // namespace zeran
