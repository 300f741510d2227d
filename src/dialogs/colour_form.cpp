#include "dialogs/colour_form.h"

#include "dialogs/title_width.h"
#include "view/help_link.h"
#include "view/qt_canvas.h"

#include <QApplication>
#include <QBitmap>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zeran {

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kMagenta = 0xFF00FF;

QIcon transparent_icon(const QImage& glyph) {
    QPixmap pm = QPixmap::fromImage(glyph);
    pm.setMask(pm.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    return QIcon(pm);
}

} // namespace

QImage swatch_bitmap(Colour c) {
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(to_qcolor(c == kMagenta ? kWhite : kMagenta));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(to_qcolor(c));
    p.drawRoundedRect(QRect(3, 3, 33, 33), 6, 6);
    return img;
}

void draw_colour_preview(QImage& image, const ColourSet& c) {
    image.fill(to_qcolor(c[kColourBackground]));
    QtCanvas k(&image);
    k.set_pen_style(PenStyle::Solid);
    k.set_brush(BrushStyle::Clear, 0);
    k.set_pen_colour(c[kColourRapid]);
    k.line({170, 20}, {10, 20});
    k.set_pen_colour(c[kColourLinear]);
    k.polyline({{10, 20}, {10, 60}, {50, 60}});
    k.set_pen_colour(c[kColourClockwise]);
    k.arc({10, 60}, {90, 140}, {90, 100}, {50, 60});
    k.set_pen_colour(c[kColourCounterClockwise]);
    k.arc({90, 60}, {170, 140}, {90, 100}, {130, 140});
    k.set_pen_colour(c[kColourThread]);
    k.polyline({{162, 140},
                {130, 140},
                {138, 148},
                {146, 140},
                {154, 148},
                {162, 140},
                {170, 148},
                {170, 180},
                {130, 180},
                {130, 140}});
    k.line({146, 140}, {146, 180});
    k.line({162, 140}, {162, 180});
}

TColourForm::TColourForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Colours"));
    keep_title_whole(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    pick_colour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, this);
        if (!c.isValid()) return std::nullopt;
        return c;
    };

    auto* grid = new QGridLayout;
    const QString labels[6] = {tr("Rapid Move"),         tr("Linear Move"),
                               tr("Clockwise Arc Move"), tr("Counter Clockwise Arc Move"),
                               tr("Thread Move"),        tr("Background")};
    const char* names[6] = {"RapidBtn",     "SpeedButton1", "SpeedButton2",
                            "SpeedButton3", "SpeedButton4", "SpeedButton5"};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setIconSize(QSize(40, 40));
        b->setAutoRaise(true);
        b->setProperty("tag", i);
        connect(b, &QToolButton::clicked, this, [this, i] { BtnClick(i); });
        buttons_[std::size_t(i)] = b;
        grid->addWidget(b, i, 0);
        grid->addWidget(new QLabel(labels[i], this), i, 1);
    }
    auto* defaults = new QPushButton(tr("Use Defaults"), this);
    defaults->setObjectName(QStringLiteral("DefaultBtn"));
    connect(defaults, &QPushButton::clicked, this, [this] { DefaultBtnClick(); });
    grid->addWidget(defaults, 6, 0, 1, 2);

    preview_ = QImage(180, 190, QImage::Format_RGB32);
    shapes_ = new QLabel(this);
    shapes_->setObjectName(QStringLiteral("Shapes"));
    shapes_->setFixedSize(preview_.size());
    shapes_->setFrameStyle(QFrame::Box | QFrame::Plain);

    auto* top = new QHBoxLayout;
    top->addLayout(grid);
    top->addWidget(shapes_, 0, Qt::AlignTop);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { show_help(kHelpContext); });
    install_help_key(this, kHelpContext);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    SetColours(default_colours());
}

void TColourForm::draw_swatch(int index, Colour c) {
    glyphs_[std::size_t(index)] = swatch_bitmap(c);
    colours_[std::size_t(index)] = c;
    buttons_[std::size_t(index)]->setIcon(transparent_icon(glyphs_[std::size_t(index)]));
}

void TColourForm::redraw_preview() {
    draw_colour_preview(preview_, colours_);
    shapes_->setPixmap(QPixmap::fromImage(preview_));
}

void TColourForm::SetColours(const ColourSet& c) {
    for (int i = 0; i < 6; ++i) draw_swatch(i, c[std::size_t(i)]);
    redraw_preview();
}

bool TColourForm::Execute() {
    if (parentWidget()) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        adjustSize();
        move(owner.center() - rect().center());
    }
    return exec() == QDialog::Accepted;
}

void TColourForm::BtnClick(int index) {
    if (index < 0 || index > 5) return;
    if (pick_colour) {
        if (const auto c = pick_colour(to_qcolor(colours_[std::size_t(index)])))
            draw_swatch(index, from_qcolor(*c));
    }
    redraw_preview();
}

void TColourForm::DefaultBtnClick() {
    SetColours(default_colours());
}

} // namespace zeran
