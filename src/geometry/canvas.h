#pragma once
// The drawing surface everything draws through: entities, cycles, markers.
// The UI implements it over QPainter; tests record the calls.
#include <cstdint>
#include <string>
#include <vector>

namespace zeran {

// 0x00BBGGRR, as the colour table and the settings file hold colours.
using Colour = std::uint32_t;

struct DevicePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
// Copy draws the pen colour; Xor and NotXor combine it with what is there;
// Not inverts what is there (the hover highlight).
enum class PenMode { Copy, Xor, NotXor, Not };
enum class BrushStyle { Solid, Clear };
enum class TextAlign { Left, Centre, Right };

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void set_pen_colour(Colour c) = 0;
    virtual Colour pen_colour() const = 0;
    virtual void set_pen_style(PenStyle s) = 0;
    virtual PenStyle pen_style() const = 0;
    virtual void set_pen_width(int w) = 0;
    virtual int pen_width() const = 0;
    virtual void set_pen_mode(PenMode m) = 0;
    virtual PenMode pen_mode() const = 0;
    virtual void set_brush(BrushStyle s, Colour c) = 0;
    virtual BrushStyle brush_style() const = 0;
    virtual Colour brush_colour() const = 0;

    virtual void line(DevicePoint a, DevicePoint b) = 0;
    virtual void polyline(const std::vector<DevicePoint>& points) = 0;
    virtual void polygon(const std::vector<DevicePoint>& points) = 0;
    // Ellipse inscribed in the box from top-left to bottom-right (exclusive).
    virtual void ellipse(DevicePoint top_left, DevicePoint bottom_right) = 0;
    // Counter-clockwise arc of the ellipse in the box, from the radial through
    // `start` to the radial through `end` (the classic Arc primitive).
    virtual void arc(DevicePoint top_left, DevicePoint bottom_right, DevicePoint start,
                     DevicePoint end) = 0;
    virtual void pixel(DevicePoint p, Colour c) = 0;
    virtual void fill_rect(DevicePoint top_left, DevicePoint bottom_right, Colour c) = 0;

    virtual void set_font_height(int h) = 0;
    virtual void set_font_colour(Colour c) = 0;
    virtual void set_text_align(TextAlign a) = 0;
    virtual void text(DevicePoint at, const std::string& s) = 0;
};

} // namespace zeran
