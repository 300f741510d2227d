#include "ncout/gnc_reader.h"

#include "base/number_text.h"
#include "base/text_util.h"

#include <cctype>
#include <cmath>

namespace zeran {

namespace {

bool is_identifier(std::string_view s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

GncValue parse_value(std::string_view text, int line) {
    GncValue v;
    if (text.empty()) return v;
    if (text.front() == '"') {
        if (text.size() < 2 || text.back() != '"')
            throw GncReadError(line, "unterminated text value");
        v.kind = GncValue::Kind::Text;
        v.text = std::string(text.substr(1, text.size() - 2));
        return v;
    }
    if (auto n = parse_real(text, ',')) {
        if (!std::isfinite(*n)) throw GncReadError(line, "number out of range");
        v.kind = GncValue::Kind::Number;
        v.number = *n;
        v.text = std::string(text);
        return v;
    }
    if (is_identifier(text)) {
        v.kind = GncValue::Kind::Word;
        v.text = std::string(text);
        return v;
    }
    throw GncReadError(line, "value is neither a number nor a text: " + quoted_value(text));
}

// "string machine_type(4)" or "real x_dimension": type, then a name with an
// optional size in brackets.
bool split_declaration(std::string_view left, std::string& type, std::string& name) {
    auto space = left.find(' ');
    if (space == std::string_view::npos) return false;
    std::string_view t = left.substr(0, space);
    std::string_view rest = trim_blanks(left.substr(space + 1));
    if (!is_identifier(t)) return false;
    auto bracket = rest.find('(');
    if (bracket != std::string_view::npos) {
        if (rest.back() != ')') return false;
        if (!parse_int(rest.substr(bracket + 1, rest.size() - bracket - 2))) return false;
        rest = trim_blanks(rest.substr(0, bracket));
    }
    if (!is_identifier(rest)) return false;
    type = std::string(t);
    name = std::string(rest);
    return true;
}

} // namespace

bool GncValue::truthy() const {
    switch (kind) {
    case Kind::None:
        return false;
    case Kind::Number:
        return number != 0;
    case Kind::Text:
    case Kind::Word:
        return !text.empty() && text != "false" && text != "0";
    }
    return false;
}

GncReadError::GncReadError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}

std::vector<GncItem> read_gnc(std::string_view text) {
    std::vector<GncItem> items;
    read_gnc(text, [&](const GncItem& item) { items.push_back(item); });
    return items;
}

void read_gnc(std::string_view text, const std::function<void(const GncItem&)>& each) {
    int line_no = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim_blanks(text.substr(pos, end - pos));
        pos = end + 1;
        ++line_no;
        if (line.empty()) continue;

        GncItem item;
        item.line = line_no;
        auto eq = line.find('=');
        std::string_view left =
            trim_blanks(eq == std::string_view::npos ? line : line.substr(0, eq));
        std::string_view right =
            eq == std::string_view::npos ? std::string_view{} : trim_blanks(line.substr(eq + 1));
        if (is_identifier(left)) {
            item.name = std::string(left);
            if (eq == std::string_view::npos) {
                item.kind = GncItem::Kind::Word;
            } else {
                item.kind = GncItem::Kind::Assignment;
                item.value = parse_value(right, line_no);
                if (item.value.kind == GncValue::Kind::None)
                    throw GncReadError(line_no, "no value after '=' for " + item.name);
            }
        } else if (split_declaration(left, item.type, item.name)) {
            item.kind = GncItem::Kind::Declaration;
            if (eq != std::string_view::npos) item.value = parse_value(right, line_no);
        } else {
            throw GncReadError(line_no, "unreadable line: " + quoted_value(line));
        }
        each(item);
    }
}

} // namespace zeran
