#pragma once
// abstract_entity: the groups of one DXF entity that the reader keeps.
#include "geometry/point3d.h"

#include <array>
#include <string>

namespace zeran {

struct abstract_entity {
    std::string text;   // 1
    std::string name;   // 2
    std::string prompt; // 3
    std::string layer;  // 8
    // 10..13 / 20..23 / 30..33, one after another: the corners of a face.
    std::array<Point3D, 4> points{};
    double elevation = 0.0;        // 38
    double thickness = 0.0;        // 39
    double height = 0.0;           // 40: height or radius
    Point3D scale{};               // 41, 42, 43
    double angle1 = 0.0;           // 50, degrees
    double angle2 = 0.0;           // 51, degrees
    int colour = 0;                // 62
    int follow = 0;                // 66
    int flags = 0;                 // 70
    std::array<int, 4> integers{}; // 71..74
    Point3D extrusion = Z_AXIS;    // 210, 220, 230

    // Back to the fresh state; string storage is kept for the next entity.
    void reset() {
        text.clear();
        name.clear();
        prompt.clear();
        layer.clear();
        points = {};
        elevation = thickness = height = angle1 = angle2 = 0.0;
        scale = {};
        colour = follow = flags = 0;
        integers = {};
        extrusion = Z_AXIS;
    }
};

} // namespace zeran
