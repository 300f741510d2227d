#include "dialogs/border_form.h"

#include "dialogs/title_width.h"
#include "view/help_link.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zeran {

namespace {

// A drawing inside the view with the border marked on each side.
QPixmap border_picture() {
    QPixmap pm(120, 90);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawRect(18, 18, 83, 53);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(0, 0, 119, 89);
    p.drawLine(22, 55, 22, 35);
    p.drawLine(22, 35, 55, 35);
    p.drawLine(55, 35, 55, 28);
    p.drawLine(55, 28, 96, 28);
    p.drawLine(96, 28, 96, 55);
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(1, 45, 17, 45);
    p.drawLine(102, 45, 118, 45);
    p.drawLine(60, 1, 60, 17);
    p.drawLine(60, 72, 60, 88);
    return pm;
}

} // namespace

TBorderForm::TBorderForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Border Width"));
    keep_title_whole(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    edit_ = new QSpinBox(this);
    edit_->setObjectName(QStringLiteral("BorderEdit"));
    edit_->setRange(kMinBorder, kMaxBorder);
    edit_->setValue(kDefaultBorder);
    auto* label = new QLabel(tr("Border (pixels)"), this);
    label->setBuddy(edit_);
    auto* picture = new QLabel(this);
    picture->setPixmap(border_picture());

    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { show_help(kHelpContext); });
    install_help_key(this, kHelpContext);

    auto* fields = new QVBoxLayout;
    fields->addWidget(label);
    fields->addWidget(edit_);
    fields->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(fields);
    top->addWidget(picture);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);
}

void TBorderForm::SetBorder(int border) {
    edit_->setValue(border);
}

int TBorderForm::GetBorder() const {
    return edit_->value();
}

bool TBorderForm::Execute() {
    if (parentWidget()) {
        adjustSize();
        move(parentWidget()->window()->frameGeometry().center() - rect().center());
    }
    return exec() == QDialog::Accepted;
}

} // namespace zeran
