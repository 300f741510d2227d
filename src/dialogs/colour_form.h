#pragma once
// The dialog that sets the six drawing colours, with a preview.
#include "view/palette.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <optional>

class QToolButton;
class QLabel;

namespace zeran {

// The swatch for colour c on a 40 x 40 glyph whose magenta is transparent:
// white and magenta swatches get the other one as their ground, so that a
// swatch never vanishes into the transparent colour.
QImage swatch_bitmap(Colour c);

// Draws the preview (lines, the two arcs, the thread symbol) in the colours.
void draw_colour_preview(QImage& image, const ColourSet& colours);

class TColourForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 3;

    explicit TColourForm(QWidget* parent = nullptr);

    void SetColours(const ColourSet& c);
    const ColourSet& Colours() const { return colours_; }
    bool Execute();

    // The colour chooser; the platform dialog unless a test replaces it.
    std::function<std::optional<QColor>(const QColor& initial)> pick_colour;

    // The swatch button of an index (its tag), for tests and the window.
    QToolButton* swatch_button(int index) const { return buttons_.at(std::size_t(index)); }
    const QImage& swatch_glyph(int index) const { return glyphs_.at(std::size_t(index)); }
    const QImage& preview() const { return preview_; }

    void BtnClick(int index);
    void DefaultBtnClick();

private:
    void draw_swatch(int index, Colour c);
    void redraw_preview();

    ColourSet colours_{};
    std::array<QToolButton*, 6> buttons_{};
    std::array<QImage, 6> glyphs_;
    QImage preview_;
    QLabel* shapes_ = nullptr;
};

} // namespace zeran
