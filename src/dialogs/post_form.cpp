#include "dialogs/post_form.h"

#include "base/ini_document.h"
#include "base/prompt.h"
#include "dialogs/title_width.h"
#include "view/help_link.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zeran {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TPostForm::TPostForm(Prompt& prompt, QWidget* parent) : QDialog(parent), prompt_(prompt) {
    setWindowTitle(tr("Post Process"));
    keep_title_whole(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Machine List"), this));
    list_ = new QListWidget(this);
    list_->setObjectName("MachineList");
    layout->addWidget(list_);

    auto read_only = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(true);
        e->setEnabled(false);
        return e;
    };
    layout->addWidget(new QLabel(tr("Source File"), this));
    source_ = read_only("EditSource");
    layout->addWidget(source_);
    layout->addWidget(new QLabel(tr("Library File"), this));
    lib_ = read_only("EditLib");
    layout->addWidget(lib_);
    layout->addWidget(new QLabel(tr("Destination File"), this));
    auto* dest_row = new QHBoxLayout;
    dest_ = new QLineEdit(this);
    dest_->setObjectName("EditDest");
    browse_ = new QToolButton(this);
    browse_->setObjectName("BrowseDest");
    browse_->setText(QString::fromUtf8("\u00B7\u00B7\u00B7"));
    browse_->setToolTip(tr("Browse"));
    dest_row->addWidget(dest_, 1);
    dest_row->addWidget(browse_);
    layout->addLayout(dest_row);

    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setObjectName("BtnOK");
    ok_->setDefault(true);
    ok_->setEnabled(false);
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName("BtnCancel");
    help_ = new QPushButton(tr("Help"), this);
    help_->setObjectName("HelpBtn");
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    layout->addLayout(buttons);
    resize(420, 380);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { RefreshMachine(); });
    connect(dest_, &QLineEdit::textChanged, this, [this] { update_ok(); });
    connect(lib_, &QLineEdit::textChanged, this, [this] { update_ok(); });
    connect(browse_, &QToolButton::clicked, this, [this] { BrowseDestClick(); });
    connect(ok_, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
    connect(help_, &QPushButton::clicked, this, [] { show_help(kHelpContext); });
    install_help_key(this, kHelpContext);

    choose_file = [this](const QString& title, const QString& folder, const QString& file,
                         const QString& filter, const QString& suffix) {
        QFileDialog dialog(this, title, folder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(file);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().front()
                   : QString();
    };
}

bool TPostForm::LoadMachines(const std::string& own_folder, const IniDocument& settings) {
    folder_ = machine_tools_folder(own_folder, settings);
    machines_ = read_machine_list(folder_);
    list_->clear();
    if (machines_.empty()) {
        prompt_.tell(MessageKind::Error, no_machines_message(folder_));
        return false;
    }
    {
        const QSignalBlocker quiet(list_);
        for (const MachineEntry& m : machines_) list_->addItem(q(m.name));
        list_->setCurrentRow(0);
    }
    RefreshMachine();
    return true;
}

void TPostForm::SelectMachine(const std::string& name) {
    for (std::size_t i = 0; i < machines_.size(); ++i) {
        if (machines_[i].name == name) {
            const QSignalBlocker quiet(list_);
            list_->setCurrentRow(static_cast<int>(i));
            return;
        }
    }
}

void TPostForm::SetSource(const std::string& path) {
    source_->setText(q(path));
}

void TPostForm::SetDestination(const std::string& path) {
    dest_->setText(q(replace_extension(path, extension_)));
}

void TPostForm::RefreshMachine() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(machines_.size())) return;
    const MachineData data = read_machine_data(folder_, machines_[std::size_t(row)]);
    extension_ = data.extension;
    lib_->setText(q(data.library));
    if (!dest_->text().isEmpty()) dest_->setText(q(replace_extension(Destination(), extension_)));
    update_ok();
}

void TPostForm::update_ok() {
    const std::string dest = Destination();
    const std::string folder = folder_of(dest);
    ok_->setEnabled(list_->count() > 0 && file_exists(Library()) && !folder.empty() &&
                    folder_exists(folder));
}

bool TPostForm::Execute() {
    RefreshMachine();
    accepted_ = false;
    exec();
    return accepted_;
}

std::string TPostForm::Destination() const {
    return dest_->text().toStdString();
}

std::string TPostForm::MachineName() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(machines_.size()) ? machines_[std::size_t(row)].name
                                                                : std::string();
}

std::string TPostForm::Library() const {
    return lib_->text().toStdString();
}

void TPostForm::BrowseDestClick() {
    const QString ext = q(extension_);
    // "Turn CNC files (*.fnl)" and "Any file", in Qt's filter form.
    const QString qt_filter = tr("Turn CNC files") + " (*." + ext.toLower() + " *." + ext + ");;" +
                              tr("Any file") + " (*)";
    const QFileInfo current(dest_->text());
    const QString chosen = choose_file(tr("Select Destination File"), current.absolutePath(),
                                       dest_->text(), qt_filter, ext);
    if (!chosen.isEmpty()) dest_->setText(chosen);
}

void TPostForm::BtnOKClick() {
    if (!ok_->isEnabled()) return;
    const QString path = dest_->text();
    if (QFileInfo::exists(path)) {
        const std::string text = tr("The file %1, already exists.%2%3Do wish to overwrite it?")
                                     .arg(path, "\n", "\n")
                                     .toStdString();
        if (prompt_.ask(MessageKind::Warning, text, {Answer::Yes, Answer::No}) != Answer::Yes)
            return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        prompt_.tell(MessageKind::Error, (path + ": " + file.errorString()).toStdString());
        return;
    }
    file.close();
    accepted_ = true;
    accept();
}

void TPostForm::BtnCancelClick() {
    accepted_ = false;
    reject();
}

} // namespace zeran
