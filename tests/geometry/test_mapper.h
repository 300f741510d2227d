#pragma once
// A mapper for entity drawing tests: one drawing unit per device unit, y up
// on the drawing and down on the device, optional extra scale.
#include "geometry/entity.h"

#include <cmath>

namespace zeran {

struct TestMapper {
    double scale = 1.0;
    DevicePoint operator()(const Point3D& p, const Matrix4* m) const {
        const Point3D q = transform_point(m, p);
        return {static_cast<int>(std::lround(q.x * scale)),
                static_cast<int>(std::lround(-q.y * scale))};
    }
};

} // namespace zeran
