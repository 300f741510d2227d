#include "machine_table.h"

#include "gcode_block.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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

namespace simvo {

std::optional<Dialect> guess_dialect(std::string_view program) {
    int linuxcnc = 0, fanuc = 0, haas = 0;
    std::size_t start = 0;
    while (start < program.size()) {
        std::size_t end = program.find('\n', start);
        if (end == std::string_view::npos) end = program.size();
        Block b;
        try {
            b = split_block(program.substr(start, end - start), 0);
        } catch (const ProgramError&) {
            start = end + 1;
            continue;
        }
        start = end + 1;
        bool g76 = false, axes = false;
        for (const Word& w : b.words) {
            if (w.letter == 'G') {
                const int g = static_cast<int>(std::lround(w.value * 10));
                if (g == 70 || g == 80 || g == 940 || g == 950 || g == 330 || g == 430) ++linuxcnc;
                if (g == 980 || g == 990 || g == 500) ++fanuc, ++haas;
                if (g == 760) g76 = true;
            }
            if (w.letter == 'M' && std::lround(w.value) == 6) ++linuxcnc;
            if (w.letter == 'U' || w.letter == 'W') ++fanuc, ++haas;
            if (w.letter == 'X' || w.letter == 'Z') axes = true;
            if (w.letter == 'T') {
                const std::string digits = w.text.substr(1);
                if (digits.size() == 4) fanuc += 2;
                if (digits.size() == 3) haas += 2;
            }
        }
        if (g76 && !axes) fanuc += 2;
        if (g76 && axes && !words_of(b, 'D').empty()) haas += 2;
    }
    if (linuxcnc > fanuc && linuxcnc > haas) return Dialect::LinuxCnc;
    if (fanuc > haas) return Dialect::Fanuc;
    if (haas > fanuc) return Dialect::Haas;
    return std::nullopt;
}

const Machine& machine_for(Dialect dialect) {
    for (const Machine& m : known_machines())
        if (m.dialect == dialect) return m;
    return known_machines().front();
}

} // namespace simvo
