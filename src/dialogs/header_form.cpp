#include "dialogs/header_form.h"

#include "dialogs/title_width.h"
#include "view/help_link.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <pwd.h>
#include <unistd.h>

namespace zeran {

QString default_author() {
    if (const passwd* pw = getpwuid(getuid())) {
        const QString gecos = QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "");
        const QString full = gecos.section(',', 0, 0).trimmed();
        if (!full.isEmpty()) return full;
        if (pw->pw_name && *pw->pw_name) return QString::fromLocal8Bit(pw->pw_name);
    }
    if (const char* login = getlogin()) return QString::fromLocal8Bit(login);
    return qEnvironmentVariable("USER");
}

TFormHeader::TFormHeader(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Header Parameters"));
    keep_title_whole(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* units = new QGroupBox(tr("Measurement Units"), this);
    units->setObjectName("GroupUnits");
    auto* units_row = new QHBoxLayout(units);
    metric_ = new QRadioButton(tr("Metric"), units);
    inch_ = new QRadioButton(tr("Inch"), units);
    metric_->setChecked(true);
    units_row->addWidget(metric_);
    units_row->addWidget(inch_);
    layout->addWidget(units);

    auto* form = new QFormLayout;
    author_ = new QLineEdit(this);
    author_->setObjectName("EditAuthor");
    date_ = new QDateEdit(QDate::currentDate(), this);
    date_->setObjectName("EditDate");
    date_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    date_->setCalendarPopup(true);
    form->addRow(tr("Author : "), author_);
    form->addRow(tr("Date : "), date_);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(tr("Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { show_help(kHelpContext); });
    layout->addWidget(buttons);
    install_help_key(this, kHelpContext);
}

QString TFormHeader::Author() const {
    const QString text = author_->text();
    return text.isEmpty() ? default_author() : text;
}

void TFormHeader::SetAuthor(const QString& author) {
    author_->setText(author.isEmpty() ? default_author() : author);
}

QDate TFormHeader::Date() const {
    return date_->date();
}

void TFormHeader::SetDate(const QDate& date) {
    date_->setDate(date);
}

Units TFormHeader::units() const {
    return inch_->isChecked() ? Units::Inch : Units::Metric;
}

void TFormHeader::SetUnits(Units u) {
    (u == Units::Inch ? inch_ : metric_)->setChecked(true);
}

bool TFormHeader::Execute() {
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
    return exec() == QDialog::Accepted;
}

} // namespace zeran
