// Any bytes through the simulator's G-code reader in each dialect: it must
// end with a program or a ProgramError, and a program must simulate and be
// timed without trouble.
#include "simulator/core/cycle_time.h"
#include "simulator/core/gcode_reader.h"
#include "simulator/core/machine_table.h"
#include "simulator/core/simulation.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const simvo::Machine& machine : simvo::known_machines()) {
        simvo::ReaderOptions options;
        options.dialect = machine.dialect;
        options.home = {machine.home_x / 2, machine.home_z};
        try {
            const simvo::Program program = simvo::read_program(text, options);
            if (program.motions.size() > 2000) continue; // time, not soundness
            simvo::simulate(program, machine, simvo::stock_from_program(program));
            simvo::cycle_seconds(program, machine);
        } catch (const simvo::ProgramError&) {
        }
    }
    return 0;
}
