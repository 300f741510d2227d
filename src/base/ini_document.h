#pragma once
// An INI-style document as the project, settings, material, machine and tool
// files use it: sections and keys keep their first-write order, lookups ignore
// case, lines starting with ';' are comments, the value is everything after
// the first '='. Written with CR LF; LF alone is accepted when read.
#include "base/text_util.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zeran {

class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // Lower-case key to place in `entries`: lookups stay constant-time in
        // projects of many thousand keys.
        std::unordered_map<std::string, std::size_t> index;
    };

    static IniDocument parse(std::string_view text);
    // Missing or unreadable file: nullopt and a message in *error.
    static std::optional<IniDocument> load(const std::string& path, std::string* error = nullptr);

    std::string text() const;
    // Writes beside the file and renames over it, so a failed save keeps the old one.
    bool save(const std::string& path, std::string* error = nullptr) const;

    bool has_section(std::string_view section) const;
    bool has_key(std::string_view section, std::string_view key) const;
    std::optional<std::string> get(std::string_view section, std::string_view key) const;

    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view fallback = {}) const;
    long long read_int(std::string_view section, std::string_view key, long long fallback) const;
    // Reals in the given decimal separator (a full stop is accepted too).
    double read_real(std::string_view section, std::string_view key, double fallback,
                     char separator = '.') const;
    // Any integer other than 0 is true.
    bool read_bool(std::string_view section, std::string_view key, bool fallback) const;

    void write(std::string_view section, std::string_view key, std::string_view value);
    void write_int(std::string_view section, std::string_view key, long long value);
    void write_real(std::string_view section, std::string_view key, double value,
                    char separator = '.');
    void write_bool(std::string_view section, std::string_view key, bool value);

    void erase_section(std::string_view section);
    void erase_key(std::string_view section, std::string_view key);

    std::vector<std::string> section_names() const;
    std::vector<std::string> key_names(std::string_view section) const;
    const std::vector<Section>& sections() const { return sections_; }
    void clear() {
        sections_.clear();
        section_index_.clear();
    }

private:
    const Section* find_section(std::string_view name) const;
    Section* find_section(std::string_view name);
    Section& ensure_section(std::string_view name);
    static const Entry* find_entry(const Section& section, std::string_view key);
    static void append_entry(Section& section, std::string_view key, std::string_view value);
    void rebuild_index();

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> section_index_; // lower-case name to place
};

} // namespace zeran
