#pragma once
// The file-open dialog with a preview of the selected drawing beside the
// file list. Used for importing drawings and for opening projects.
#include "dialogs/drawing_preview.h"

#include <QFileDialog>
#include <QImage>
#include <memory>

class QLabel;
class QPushButton;
class QToolButton;

namespace zeran {

class Prompt;

class TOpenDXFDialog : public QFileDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 1;

    // The reader's questions while previewing go to `prompt` (message boxes
    // when none is given).
    explicit TOpenDXFDialog(QWidget* parent = nullptr, Prompt* prompt = nullptr);
    ~TOpenDXFDialog() override;

    // Runs the dialog; true when a file was chosen (FileName).
    bool Execute();
    QString FileName() const;
    void setHelpShown(bool shown);
    void setHelpContext(int context) { help_context_ = context; }
    int helpContext() const { return help_context_; }

    // Brings the preview up to date for a selected file.
    void UpdatePreview(const QString& selected);
    void ShowPreviewWindow();

    // The picture at one pixel a unit (the preview window's).
    const QImage& picture() const { return picture_; }
    // The drawing fitted into the paint box, as the box shows it.
    const QImage& Thumbnail();
    QString label_text() const;
    bool preview_enabled() const;
    QWidget* paint_box() const { return paint_box_; }

private:
    class PaintBox;
    void clear_picture();

    Prompt* prompt_;
    std::unique_ptr<Prompt> own_prompt_;
    PreviewDrawing drawing_;
    QImage picture_;
    QImage thumbnail_;
    QWidget* panel_ = nullptr;
    QLabel* label_ = nullptr;
    QToolButton* preview_button_ = nullptr;
    QWidget* paint_box_ = nullptr;
    QPushButton* help_button_ = nullptr;
    int help_context_ = kHelpContext;
};

} // namespace zeran
