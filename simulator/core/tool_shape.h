#pragma once
// The insert the simulator cuts with. A G-code program names tools by number
// only, so each tool's shape is judged from how it moves: a tool that plunges
// and backs out straight is a grooving blade, one whose cuts run mostly
// towards the axis faces, the others turn; a tool that drops towards the axis
// after its cuts bores from the inside; one whose cuts along Z run mostly
// towards +Z is left-handed.
#include "motion_path.h"

#include <map>

namespace simvo {

enum class ToolSide { Outside, Inside };
enum class InsertKind { Turning, Facing, Grooving };

struct ToolShape {
    ToolSide side = ToolSide::Outside;
    bool left_hand = false; // cuts towards +Z, its holder trailing towards -Z
    InsertKind kind = InsertKind::Turning;
    double width = 0; // grooving blades: the narrowest step between plunges
};

// The outline relative to the tip, `size` high away from the axis (towards
// it inside). Turning: a 35 degree wedge whose leading edge stands square to
// the axis and whose trailing edge falls back towards +Z at 55 degrees, so it
// follows a profile that drops steeply towards the chuck. Facing: an 80
// degree wedge whose end edge lies 10 degrees off the face. Grooving: a
// blade of the shape's width behind the tip.
Polyline insert_outline(const ToolShape& shape, double size);
// The holder trails the tip towards +Z for a right-hand tool, -Z for a left-hand one.
inline double holder_z(const ToolShape& shape) {
    return shape.left_hand ? -1.0 : 1.0;
}
// A 60 degree threading insert with its tip at the origin.
Polyline thread_outline(ToolSide side, double size);

// Tools not in the map turn from the outside.
std::map<int, ToolShape> infer_tool_shapes(const Program& program, double unit);

} // namespace simvo
