#include "dialogs/open_dxf_dialog.h"

#include "dialogs/drawing_preview.h"
#include "dialogs/preview_form.h"
#include "dialogs/qt_prompt.h"
#include "view/help_link.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace zeran {

namespace {

QIcon preview_glyph() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 11);
    p.drawLine(3, 10, 6, 6);
    p.drawLine(6, 6, 9, 9);
    p.drawLine(9, 9, 12, 5);
    return QIcon(pm);
}

} // namespace

// Paints the picture, or "(None)", and opens the preview window on a double click.
class TOpenDXFDialog::PaintBox : public QWidget {
public:
    explicit PaintBox(TOpenDXFDialog* dialog) : QWidget(nullptr), dialog_(dialog) {
        setObjectName(QStringLiteral("PaintBox"));
        setMinimumSize(153, 141);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Button));
        if (dialog_->picture_.isNull()) {
            p.drawText(rect(), Qt::AlignCenter, tr("(None)"));
            return;
        }
        p.drawImage(0, 0, dialog_->Thumbnail());
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { dialog_->ShowPreviewWindow(); }

private:
    TOpenDXFDialog* dialog_;
};

TOpenDXFDialog::TOpenDXFDialog(QWidget* parent, Prompt* prompt)
    : QFileDialog(parent), prompt_(prompt) {
    if (!prompt_) {
        own_prompt_ = std::make_unique<QtPrompt>(this);
        prompt_ = own_prompt_.get();
    }
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilter(tr("DXF files (*.dxf *.DXF)"));

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("PicturePanel"));
    panel_->setMinimumWidth(169);
    auto* column = new QVBoxLayout(panel_);
    column->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    label_ = new QLabel(panel_);
    label_->setObjectName(QStringLiteral("PictureLabel"));
    preview_button_ = new QToolButton(panel_);
    preview_button_->setObjectName(QStringLiteral("PreviewButton"));
    preview_button_->setIcon(preview_glyph());
    preview_button_->setAutoRaise(true);
    preview_button_->setToolTip(tr("Preview"));
    connect(preview_button_, &QToolButton::clicked, this, [this] { ShowPreviewWindow(); });
    top->addWidget(label_, 1);
    top->addWidget(preview_button_);
    column->addLayout(top);
    auto* paint_panel = new QFrame(panel_);
    paint_panel->setObjectName(QStringLiteral("PaintPanel"));
    paint_panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* inner = new QVBoxLayout(paint_panel);
    inner->setContentsMargins(2, 2, 2, 2);
    paint_box_ = new PaintBox(this);
    paint_box_->setParent(paint_panel);
    inner->addWidget(paint_box_);
    column->addWidget(paint_panel, 1);

    // The non-native dialog lays itself out in a grid; the panel takes a
    // column of its own on the right.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel_, 0, grid->columnCount(), grid->rowCount(), 1);

    if (auto* box = findChild<QDialogButtonBox*>()) {
        help_button_ = box->addButton(tr("Help"), QDialogButtonBox::HelpRole);
        connect(help_button_, &QPushButton::clicked, this, [this] { show_help(help_context_); });
    }
    install_help_key(this, kHelpContext);

    connect(this, &QFileDialog::currentChanged, this,
            [this](const QString& f) { UpdatePreview(f); });
    clear_picture();
}

TOpenDXFDialog::~TOpenDXFDialog() = default;

void TOpenDXFDialog::setHelpShown(bool shown) {
    if (help_button_) help_button_->setVisible(shown);
}

QString TOpenDXFDialog::label_text() const {
    return label_->text();
}

bool TOpenDXFDialog::preview_enabled() const {
    return preview_button_->isEnabled();
}

void TOpenDXFDialog::clear_picture() {
    drawing_.reset();
    picture_ = QImage();
    thumbnail_ = QImage();
    label_->setText(tr("Picture:"));
    preview_button_->setEnabled(false);
    paint_box_->update();
}

void TOpenDXFDialog::UpdatePreview(const QString& selected) {
    const auto file = previewable_drawing(selected);
    PreviewDrawing drawing = file ? read_preview_drawing(*file, *prompt_) : PreviewDrawing();
    const QImage pic = make_preview_picture(drawing);
    if (pic.isNull()) {
        clear_picture();
        return;
    }
    drawing_ = std::move(drawing);
    picture_ = pic;
    thumbnail_ = QImage();
    label_->setText(QStringLiteral(" (%1x%2)").arg(pic.width()).arg(pic.height()));
    preview_button_->setEnabled(true);
    paint_box_->update();
}

const QImage& TOpenDXFDialog::Thumbnail() {
    // Drawn again only when the box has changed size.
    if (drawing_ && thumbnail_.size() != paint_box_->size())
        thumbnail_ = make_fitted_picture(drawing_, paint_box_->size());
    return thumbnail_;
}

void TOpenDXFDialog::ShowPreviewWindow() {
    if (picture_.isNull()) return;
    show_preview_window(picture_, this);
}

bool TOpenDXFDialog::Execute() {
    clear_picture();
    const bool chosen = exec() == QDialog::Accepted && !selectedFiles().isEmpty();
    QToolTip::hideText();
    return chosen;
}

QString TOpenDXFDialog::FileName() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

} // namespace zeran
