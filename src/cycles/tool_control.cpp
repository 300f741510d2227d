#include "cycles/tool_control.h"

namespace zeran {

ToolEntrySize tool_size_from_entry(int tool_type, double tip_size, double width_diameter,
                                   double length) {
    return {tool_type == 3 ? width_diameter : tip_size, length};
}

} // namespace zeran
