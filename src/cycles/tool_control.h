#pragma once
// The object on a cycle's Tool node, and the size a tool-library entry gives.
#include <cstdint>

namespace zeran {

struct ToolSize {
    double Width = 0;
    double Length = 0;
};

// Width is the width/diameter for tool type 3 (grooving and parting tools,
// drills), the tip size otherwise; length is the entry's length.
ToolSize tool_size_from_entry(int tool_type, double tip_size, double width_diameter, double length);

class TToolControl {
public:
    std::int32_t ToolNumber = 1;
    double ToolWidth = 0;
    double ToolLength = 0;
    // Radius of the insert's round, in the project's unit; 0 for a sharp tip.
    double NoseRadius = 0;
    // Where the imaginary tool tip lies from the round's centre, numbered as
    // lathe tool tables do (1..9); 0 takes the one the cycle's side implies.
    std::int32_t NoseOrientation = 0;

    void TakeSize(const ToolSize& size) {
        ToolWidth = size.Width;
        ToolLength = size.Length;
    }
    // The Tool node is complete once a width is known.
    bool Complete() const { return ToolWidth > 0; }
};

} // namespace zeran
