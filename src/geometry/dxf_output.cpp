#include "geometry/dxf_output.h"

#include "base/number_text.h"

namespace zeran {

void DxfOutput::text(int code, std::string_view value) {
    text_ += int_text(code);
    text_ += "\r\n";
    text_ += value;
    text_ += "\r\n";
}

void DxfOutput::integer(int code, long long value) {
    text(code, int_text(value));
}

void DxfOutput::real(int code, double value) {
    text(code, fixed3_text(value));
}

void DxfOutput::point(int code, const Point3D& p) {
    real(code, p.x);
    real(code + 10, p.y);
    real(code + 20, p.z);
}

} // namespace zeran
