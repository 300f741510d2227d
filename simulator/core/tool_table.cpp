#include "tool_table.h"

#include "base/ini_document.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace simvo {

namespace {

constexpr const char* kSection = "TURN_TOOLS";

bool is_file(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string key(int slot, const char* name) {
    return std::to_string(slot) + "_" + name;
}

} // namespace

bool load_tool_table(const std::string& path, int slot_count, std::vector<ToolEntry>& out,
                     std::string* error) {
    out.assign(static_cast<std::size_t>(std::max(0, slot_count)), ToolEntry{});
    if (!is_file(path)) return true;
    const std::optional<zeran::IniDocument> doc = zeran::IniDocument::load(path, error);
    if (!doc) return false;
    for (int n = 1; n <= slot_count; ++n) {
        ToolEntry& t = out[static_cast<std::size_t>(n - 1)];
        t.description = doc->read_string(kSection, key(n, "Description"));
        t.type = static_cast<int>(doc->read_int(kSection, key(n, "ToolType"), 0));
        t.tip_size = doc->read_real(kSection, key(n, "TipSize"), 0);
        t.diameter = doc->read_real(kSection, key(n, "Diameter"), 0);
        t.length = doc->read_real(kSection, key(n, "Length"), 0);
        t.nose_radius = doc->read_real(kSection, key(n, "NoseRadius"), 0);
        t.orientation = static_cast<int>(doc->read_int(kSection, key(n, "Orientation"), 0));
    }
    return true;
}

bool save_tool_table(const std::string& path, const std::vector<ToolEntry>& table,
                     std::string* error) {
    zeran::IniDocument doc;
    if (is_file(path)) {
        std::optional<zeran::IniDocument> old = zeran::IniDocument::load(path, error);
        if (!old) return false;
        doc = std::move(*old);
    }
    doc.erase_section(kSection);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ToolEntry& t = table[i];
        const bool empty = t.description.empty() && t.type == 0 && t.tip_size == 0 &&
                           t.diameter == 0 && t.length == 0 && t.nose_radius == 0 &&
                           t.orientation == 0;
        if (empty) continue;
        const int n = static_cast<int>(i) + 1;
        doc.write(kSection, key(n, "Description"), t.description);
        doc.write_int(kSection, key(n, "ToolType"), t.type);
        doc.write_real(kSection, key(n, "TipSize"), t.tip_size);
        doc.write_real(kSection, key(n, "Diameter"), t.diameter);
        doc.write_real(kSection, key(n, "Length"), t.length);
        doc.write_real(kSection, key(n, "NoseRadius"), t.nose_radius);
        doc.write_int(kSection, key(n, "Orientation"), t.orientation);
    }
    return doc.save(path, error);
}

std::string simulator_settings_file(const std::string& config) {
    return (std::filesystem::path(config) / "Kelvard" / "SimvoTurning5.ini").string();
}

std::string tool_file_of(const std::string& settings_file) {
    const std::filesystem::path folder = std::filesystem::path(settings_file).parent_path();
    std::string named;
    if (is_file(settings_file))
        if (auto doc = zeran::IniDocument::load(settings_file))
            named = doc->read_string("Offsets", "Tool Offset File");
    if (named.empty()) return (folder / "SimvoTools.ini").string();
    const std::filesystem::path p(named);
    return p.is_absolute() ? named : (folder / p).string();
}

std::string instance_socket_name() {
    // Tests run their own simulator beside the user's.
    if (const char* own = std::getenv("SIMVOTURN_SOCKET"); own && *own) return own;
    return "simvoturn-" + std::to_string(::getuid());
}

} // namespace simvo
