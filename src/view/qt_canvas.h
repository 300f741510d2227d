#pragma once
// The core Canvas drawn with a QPainter on a QImage, or on any paint device
// through a painter the caller holds (a printer, a PDF). Antialiasing stays
// off on images so that exclusive-or marks erase themselves pixel for pixel.
#include "geometry/canvas.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <memory>

namespace zeran {

QColor to_qcolor(Colour c);
Colour from_qcolor(const QColor& c);

class QtCanvas final : public Canvas {
public:
    // The image must outlive the canvas, or be replaced through set_image().
    explicit QtCanvas(QImage* image = nullptr);
    // Draws with the caller's painter, under its transform; pens are widths in
    // the painter's own units, so that a scaled picture keeps its proportions.
    explicit QtCanvas(QPainter& painter);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // Ends any painting in progress and points the canvas at another image
    // (or none: drawing calls are then ignored).
    void set_image(QImage* image);
    QImage* image() const { return image_; }
    // Ends the painter so that the image may be read, copied or resized; the
    // next drawing call starts a new one with the same pen, brush and font.
    void finish();

    void set_pen_colour(Colour c) override { pen_colour_ = c; }
    Colour pen_colour() const override { return pen_colour_; }
    void set_pen_style(PenStyle s) override { pen_style_ = s; }
    PenStyle pen_style() const override { return pen_style_; }
    void set_pen_width(int w) override { pen_width_ = w < 1 ? 1 : w; }
    int pen_width() const override { return pen_width_; }
    void set_pen_mode(PenMode m) override { pen_mode_ = m; }
    PenMode pen_mode() const override { return pen_mode_; }
    void set_brush(BrushStyle s, Colour c) override {
        brush_style_ = s;
        brush_colour_ = c;
    }
    BrushStyle brush_style() const override { return brush_style_; }
    Colour brush_colour() const override { return brush_colour_; }

    void line(DevicePoint a, DevicePoint b) override;
    void polyline(const std::vector<DevicePoint>& points) override;
    void polygon(const std::vector<DevicePoint>& points) override;
    void ellipse(DevicePoint top_left, DevicePoint bottom_right) override;
    void arc(DevicePoint top_left, DevicePoint bottom_right, DevicePoint start,
             DevicePoint end) override;
    void pixel(DevicePoint p, Colour c) override;
    void fill_rect(DevicePoint top_left, DevicePoint bottom_right, Colour c) override;

    void set_font_height(int h) override { font_height_ = h; }
    void set_font_colour(Colour c) override { font_colour_ = c; }
    void set_text_align(TextAlign a) override { align_ = a; }
    // `at` is the start, middle or end of the base line, by the alignment.
    void text(DevicePoint at, const std::string& s) override;

private:
    // Opens the painter when needed and loads the pen state; null without image.
    QPainter* painter();
    void apply_pen(QPainter& p, bool with_brush) const;

    QImage* image_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    QPainter* borrowed_ = nullptr;

    Colour pen_colour_ = 0;
    PenStyle pen_style_ = PenStyle::Solid;
    int pen_width_ = 1;
    PenMode pen_mode_ = PenMode::Copy;
    BrushStyle brush_style_ = BrushStyle::Clear;
    Colour brush_colour_ = 0xFFFFFF;
    int font_height_ = 12;
    Colour font_colour_ = 0;
    TextAlign align_ = TextAlign::Left;
};

// The start and sweep, in degrees counter-clockwise as seen on screen, of the
// arc from the radial through `start` to the radial through `end` on the
// ellipse in the box; angles are the ellipse's own (parametric) angles, as
// QPainterPath::arcTo takes them. Coinciding radials give a full turn.
struct ArcAngles {
    double start_deg = 0;
    double sweep_deg = 360;
};
ArcAngles arc_angles(DevicePoint top_left, DevicePoint bottom_right, DevicePoint start,
                     DevicePoint end);

} // namespace zeran
