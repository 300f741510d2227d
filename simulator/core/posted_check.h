#pragma once
// The check after every post: the G-code read back by the simulator's own
// reader must move the tool as the GNC program says, so that a fault in a
// post-processor can never pass unseen.
#include "program.h"

#include <string>
#include <string_view>

namespace simvo {

// Compares the program's motion (read in `dialect`) with the GNC path, move
// by move: kind, end point and arc centre within 0.001 mm plus the rounding
// of the numbers the posts write (0.001 mm, 0.0001 inch). A thread cycle counts as one move to
// its final pass; returns to the reference position are not in the GNC.
// Returns "" when they agree, else what differs first; a program or a GNC
// file that cannot be read is a difference too.
std::string compare_with_gnc(std::string_view gnc_text, std::string_view gcode_text,
                             Dialect dialect);

} // namespace simvo
