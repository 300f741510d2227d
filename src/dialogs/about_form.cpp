#include "dialogs/about_form.h"
#include "dialogs/title_width.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace zeran {

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About"));
    keep_title_whole(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(":/zeran/MAINICON.png"));
    top->addWidget(picture);
    auto* title = new QLabel(tr("Kelvard Spindra Turning"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    top->addWidget(title, 1);
    layout->addLayout(top);
    version_ = new QLabel(this);
    version_->setObjectName("VersionText");
    layout->addWidget(version_);
    layout->addWidget(
        new QLabel(tr("Kelvard Machine Tools\nPostfach 12 34\n00000 Musterstadt"), this));
    auto* link = new QLabel(this);
    link->setText("<a href=\"https://kelvard.example/\">kelvard.example</a>");
    link->setOpenExternalLinks(true);
    layout->addWidget(link);
    auto* again = new QCheckBox(tr("Don't show this dialog again."), this);
    again->hide();
    layout->addWidget(again);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void TFormAbout::SetVersionText(const QString& text) {
    version_->setText(text + "\n");
}

QString TFormAbout::VersionText() const {
    return version_->text().trimmed();
}

} // namespace zeran
