#include "ncout/simulator_link.h"

#include <vector>

namespace zeran {

std::string SimulatorCommandLine(const std::string& executable, const std::string& cnc_file) {
    std::string line = "\"" + executable + "\"";
    if (!cnc_file.empty()) line += " \"" + cnc_file + "\"";
    return line;
}

std::string LayoutPathLabel(const std::string& path, int width,
                            const std::function<int(const std::string&)>& text_width) {
    if (text_width(path) <= width) return path;
    std::vector<std::string> lines;
    std::string current, rest = path;
    while (text_width(current) < width) {
        auto slash = rest.find('/');
        if (slash == std::string::npos) break;
        std::string piece = rest.substr(0, slash + 1);
        rest.erase(0, slash + 1);
        if (current.empty() || text_width(current + piece) <= width) {
            current += piece;
        } else {
            lines.push_back(current);
            current = piece;
        }
    }
    if (!current.empty()) lines.push_back(current);
    if (!rest.empty()) lines.push_back(rest);
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

} // namespace zeran
