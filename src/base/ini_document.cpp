#include "base/ini_document.h"

#include "base/file_io.h"
#include "base/number_text.h"

#include <algorithm>
#include <cctype>

namespace zeran {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string_view line = trim_blanks(raw);
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string_view name = trim_blanks(
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            current = &doc.ensure_section(name);
            continue;
        }
        if (!current) continue;
        auto eq = raw.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = trim_blanks(raw.substr(0, eq));
        std::string_view value = raw.substr(eq + 1);
        // A key written twice keeps its first place and its first value, as a
        // profile reader that stops at the first match would see it.
        if (!find_entry(*current, key)) append_entry(*current, key, value);
    }
    return doc;
}

std::optional<IniDocument> IniDocument::load(const std::string& path, std::string* error) {
    auto content = read_file(path, error);
    if (!content) return std::nullopt;
    return parse(*content);
}

std::string IniDocument::text() const {
    std::string out;
    for (const auto& s : sections_) {
        out += '[';
        out += s.name;
        out += "]\r\n";
        for (const auto& e : s.entries) {
            out += e.key;
            out += '=';
            out += e.value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

bool IniDocument::save(const std::string& path, std::string* error) const {
    return write_file_atomically(path, text(), error);
}

const IniDocument::Section* IniDocument::find_section(std::string_view name) const {
    const auto it = section_index_.find(lower(name));
    return it == section_index_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::find_section(std::string_view name) {
    const auto it = section_index_.find(lower(name));
    return it == section_index_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section& IniDocument::ensure_section(std::string_view name) {
    if (Section* s = find_section(name)) return *s;
    section_index_.emplace(lower(name), sections_.size());
    Section& s = sections_.emplace_back();
    s.name = std::string(name);
    return s;
}

const IniDocument::Entry* IniDocument::find_entry(const Section& section, std::string_view key) {
    const auto it = section.index.find(lower(key));
    return it == section.index.end() ? nullptr : &section.entries[it->second];
}

void IniDocument::append_entry(Section& section, std::string_view key, std::string_view value) {
    section.index.emplace(lower(key), section.entries.size());
    section.entries.push_back({std::string(key), std::string(value)});
}

void IniDocument::rebuild_index() {
    section_index_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        Section& s = sections_[i];
        section_index_.emplace(lower(s.name), i);
        s.index.clear();
        for (std::size_t k = 0; k < s.entries.size(); ++k)
            s.index.emplace(lower(s.entries[k].key), k);
    }
}

bool IniDocument::has_section(std::string_view section) const {
    return find_section(section) != nullptr;
}

bool IniDocument::has_key(std::string_view section, std::string_view key) const {
    return get(section, key).has_value();
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    const Section* s = find_section(section);
    if (!s) return std::nullopt;
    if (const Entry* e = find_entry(*s, key)) return e->value;
    return std::nullopt;
}

std::string IniDocument::read_string(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
    auto v = get(section, key);
    return v ? *v : std::string(fallback);
}

long long IniDocument::read_int(std::string_view section, std::string_view key,
                                long long fallback) const {
    auto v = get(section, key);
    if (!v) return fallback;
    auto n = parse_int(*v);
    return n ? *n : fallback;
}

double IniDocument::read_real(std::string_view section, std::string_view key, double fallback,
                              char separator) const {
    auto v = get(section, key);
    if (!v) return fallback;
    auto n = parse_real(*v, separator);
    return n ? *n : fallback;
}

bool IniDocument::read_bool(std::string_view section, std::string_view key, bool fallback) const {
    auto v = get(section, key);
    if (!v) return fallback;
    auto n = parse_int(*v);
    return n ? *n != 0 : fallback;
}

void IniDocument::write(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = ensure_section(section);
    if (const Entry* e = find_entry(s, key)) {
        s.entries[static_cast<std::size_t>(e - s.entries.data())].value = std::string(value);
        return;
    }
    append_entry(s, key, value);
}

void IniDocument::write_int(std::string_view section, std::string_view key, long long value) {
    write(section, key, int_text(value));
}

void IniDocument::write_real(std::string_view section, std::string_view key, double value,
                             char separator) {
    write(section, key, general_text(value, separator));
}

void IniDocument::write_bool(std::string_view section, std::string_view key, bool value) {
    write(section, key, value ? "1" : "0");
}

void IniDocument::erase_section(std::string_view section) {
    sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                   [&](const Section& s) { return iequals(s.name, section); }),
                    sections_.end());
    rebuild_index();
}

void IniDocument::erase_key(std::string_view section, std::string_view key) {
    if (Section* s = find_section(section))
        s->entries.erase(std::remove_if(s->entries.begin(), s->entries.end(),
                                        [&](const Entry& e) { return iequals(e.key, key); }),
                         s->entries.end());
    rebuild_index();
}

std::vector<std::string> IniDocument::section_names() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniDocument::key_names(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = find_section(section))
        for (const auto& e : s->entries) names.push_back(e.key);
    return names;
}

} // namespace zeran
