#pragma once
// DxfOutput: appends DXF group pairs (code line, value line, CR LF each) to a
// text; the entities write themselves through it.
#include "geometry/point3d.h"

#include <string>
#include <string_view>

namespace zeran {

class DxfOutput {
public:
    explicit DxfOutput(std::string& text) : text_(text) {}

    // Names, texts and anything already formatted: written as held.
    void text(int code, std::string_view value);
    // Colour numbers, flags, counts: plain decimal.
    void integer(int code, long long value);
    // Coordinates, lengths and angles of entities: 3 decimals, full stop.
    void real(int code, double value);
    // code, code + 10, code + 20 with the three components.
    void point(int code, const Point3D& p);

    const std::string& str() const { return text_; }

private:
    std::string& text_;
};

} // namespace zeran
