#include "dxf/curve_reading.h"

#include <algorithm>

namespace zeran {

void count_skipped(SkippedEntities& counts, std::string_view type) {
    const auto it =
        std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == type; });
    if (it != counts.end())
        ++it->second;
    else
        counts.emplace_back(std::string(type), 1);
}

std::string skipped_summary(const SkippedEntities& counts) {
    if (counts.empty()) return {};
    std::string s = "Skipped:";
    for (std::size_t i = 0; i < counts.size(); ++i) {
        s += i ? ", " : " ";
        s += std::to_string(counts[i].second) + " " + counts[i].first;
    }
    return s;
}

} // namespace zeran
