#include "project/posted_program_check.h"

#include "base/file_io.h"
#include "simulator/core/machine_table.h"
#include "simulator/core/posted_check.h"

namespace zeran {

PostedCheck check_posted_program(const std::string& gnc_file, const std::string& nc_file,
                                 const std::string& machine) {
    std::string error;
    const std::optional<std::string> gnc = read_file(gnc_file, &error);
    if (!gnc) return {true, "cannot read " + gnc_file + ": " + error};
    const std::optional<std::string> nc = read_file(nc_file, &error);
    if (!nc) return {true, "cannot read " + nc_file + ": " + error};
    std::optional<simvo::Dialect> dialect;
    if (const auto known = simvo::find_machine(machine)) dialect = known->dialect;
    if (!dialect) dialect = simvo::guess_dialect(*nc);
    if (!dialect) return {false, {}};
    return {true, simvo::compare_with_gnc(*gnc, *nc, *dialect)};
}

} // namespace zeran
