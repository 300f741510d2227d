#include "dialogs/preview_form.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace zeran {

namespace {

constexpr int kPanelBorder = 5;

} // namespace

TPreviewForm::TPreviewForm(const QImage& picture, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(tr("Preview"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    image_ = new QLabel(panel);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setScaledContents(true);
    image_->setMinimumSize(1, 1);
    image_->setPixmap(QPixmap::fromImage(picture));
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
    inner->addWidget(image_);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    if (!picture.isNull()) {
        const int frame = 2 * (panel->frameWidth() + kPanelBorder) + 10;
        QSize size(picture.width() + frame, picture.height() + frame);
        // A picture larger than the screen is shown shrunk to it.
        if (const QScreen* s = QGuiApplication::primaryScreen())
            size = size.boundedTo(s->availableGeometry().size() * 9 / 10);
        resize(size);
    }
}

void show_preview_window(const QImage& picture, QWidget* parent) {
    TPreviewForm form(picture, parent);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        form.move(s->availableGeometry().center() - form.rect().center());
    form.exec();
}

} // namespace zeran
