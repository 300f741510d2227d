#pragma once
// The preview window: a copy of the drawing's picture, larger and stretchable.
#include <QDialog>
#include <QImage>

class QLabel;

namespace zeran {

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    TPreviewForm(const QImage& picture, QWidget* parent = nullptr);
    QLabel* image_label() const { return image_; }

private:
    QLabel* image_ = nullptr;
};

// Shows the picture in a modal preview window, centred on the screen.
void show_preview_window(const QImage& picture, QWidget* parent);

} // namespace zeran
