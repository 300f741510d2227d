#pragma once
// What the simulator knows of each machine that the shipped post-processor
// writes for: its control's dialect, travel, rapid rates and spindle limit.
// Lengths are millimetres; X travel is a diameter, as the controls show it.
#include "program.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simvo {

struct Machine {
    std::string name;
    Dialect dialect = Dialect::Fanuc;
    double x_min = 0, x_max = 0; // diameter travel in program coordinates
    double z_min = 0, z_max = 0;
    double rapid_x = 0; // mm/min along X (radius)
    double rapid_z = 0; // mm/min along Z
    double max_rpm = 0;
    double tool_change_seconds = 0;
    double home_x = 0; // reference position (diameter) and Z
    double home_z = 0;
};

const std::vector<Machine>& known_machines();
// Case-blind lookup by name.
std::optional<Machine> find_machine(std::string_view name);

} // namespace simvo

namespace simvo {

// The control a program was written for, judged from the words only one
// dialect uses (G7, M6, G94/G95 for LinuxCNC; T0101 and the two-block G76
// for Fanuc; T101 and G76 with K and D for Haas); nullopt when nothing tells.
std::optional<Dialect> guess_dialect(std::string_view program);
// The first known machine with that dialect.
const Machine& machine_for(Dialect dialect);

} // namespace simvo
