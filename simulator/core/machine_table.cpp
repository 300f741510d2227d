#include "machine_table.h"

#include <algorithm>
#include <cctype>

namespace simvo {

const std::vector<Machine>& known_machines() {
    // Travel is given in the work coordinates the posts use (Z 0 at the part's
    // face, X on the axis), for a work offset set on a typical chucked part.
    static const std::vector<Machine> machines = {
        {"Fanuc Lathe", Dialect::Fanuc, -10, 400, -600, 250, 12000, 15000, 4000, 2.0, 300, 200},
        {"Haas Lathe", Dialect::Haas, -10, 330, -550, 250, 12000, 18000, 4000, 1.5, 300, 200},
        {"LinuxCNC Lathe", Dialect::LinuxCnc, -10, 250, -400, 200, 4000, 6000, 3000, 4.0, 200, 150},
    };
    return machines;
}

std::optional<Machine> find_machine(std::string_view name) {
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) {
                   return std::tolower(static_cast<unsigned char>(p)) ==
                          std::tolower(static_cast<unsigned char>(q));
               });
    };
    for (const Machine& m : known_machines())
        if (same(m.name, name)) return m;
    return std::nullopt;
}

} // namespace simvo
