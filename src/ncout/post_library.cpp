#include "ncout/post_library.h"

#include "base/file_io.h"
#include "base/ini_document.h"
#include "base/number_text.h"
#include "base/text_util.h"

#include <cctype>

namespace zeran {

namespace {

bool is_name_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

TemplatePiece literal_piece(std::string text) {
    TemplatePiece p;
    p.text = std::move(text);
    return p;
}

std::vector<std::string_view> split_blanks(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        std::size_t b = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > b) out.push_back(s.substr(b, i - b));
    }
    return out;
}

} // namespace

PostLibraryError::PostLibraryError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message),
      line_(line) {}

std::optional<ValueFormat> ValueFormat::parse(std::string_view format_text) {
    ValueFormat f;
    std::size_t i = 0;
    if (i < format_text.size() && format_text[i] == 'a') {
        f.absolute = true;
        ++i;
    }
    if (i < format_text.size() && format_text[i] == '*') {
        std::size_t b = ++i;
        while (i < format_text.size() &&
               (std::isdigit(static_cast<unsigned char>(format_text[i])) || format_text[i] == '.'))
            ++i;
        auto scale = parse_real(format_text.substr(b, i - b));
        if (!scale) return std::nullopt;
        f.scale = *scale;
    }
    if (i >= format_text.size()) return std::nullopt;
    char code = format_text[i++];
    std::string_view digits = format_text.substr(i);
    int n = -1;
    if (!digits.empty()) {
        auto d = parse_int(digits);
        if (!d || *d < 0 || *d > 12) return std::nullopt;
        n = static_cast<int>(*d);
    }
    switch (code) {
    case 'R':
        f.code = Code::Real;
        break;
    case 'P':
        f.code = Code::PointReal;
        break;
    case 'F':
        f.code = Code::Fixed;
        break;
    case 'I':
        f.code = Code::Integer;
        break;
    case 'M':
        f.code = Code::Increments;
        break;
    case 'T':
        f.code = Code::Text;
        break;
    case 'U':
        f.code = Code::UpperText;
        break;
    default:
        return std::nullopt;
    }
    bool integral = f.code == Code::Integer || f.code == Code::Increments;
    f.digits = n >= 0 ? n : (integral ? 0 : 4);
    return f;
}

bool TemplateWord::has_value() const {
    for (const auto& p : pieces)
        if (p.is_value) return true;
    return false;
}

TemplateWord PostLibrary::parse_word(std::string_view text, int line) const {
    TemplateWord w;
    if (text.size() > 1 && text[0] == '@') {
        w.modal = true;
        text.remove_prefix(1);
        std::size_t i = 0;
        while (i < text.size() && is_name_char(text[i])) ++i;
        if (i < text.size() && text[i] == ':' && i > 0) {
            w.group = std::string(text.substr(0, i));
            text.remove_prefix(i + 1);
        } else {
            std::size_t j = 0;
            while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j]))) ++j;
            w.group = std::string(text.substr(0, j));
        }
        if (w.group.empty()) throw PostLibraryError(line, "a modal word needs a group name");
    }
    std::string literal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '{' && i + 1 < text.size() && text[i + 1] == '{') {
            literal += '{';
            ++i;
        } else if (c == '}' && i + 1 < text.size() && text[i + 1] == '}') {
            literal += '}';
            ++i;
        } else if (c == '{') {
            auto close = text.find('}', i);
            if (close == std::string_view::npos) throw PostLibraryError(line, "'{' without '}'");
            std::string_view inner = text.substr(i + 1, close - i - 1);
            if (!literal.empty()) w.pieces.push_back(literal_piece(std::move(literal)));
            literal.clear();
            TemplatePiece p;
            p.is_value = true;
            auto colon = inner.find(':');
            p.text = std::string(inner.substr(0, colon));
            if (p.text.empty()) throw PostLibraryError(line, "'{}' names no value");
            for (char n : p.text)
                if (!is_name_char(n)) throw PostLibraryError(line, "bad value name " + p.text);
            if (colon != std::string_view::npos) {
                std::string format_text(inner.substr(colon + 1));
                if (auto named = formats_.find(format_text); named != formats_.end()) {
                    p.format = named->second;
                    if (auto inch = formats_.find(format_text + "_inch"); inch != formats_.end()) {
                        p.inch_format = inch->second;
                        p.has_inch_format = true;
                    }
                } else if (auto f = ValueFormat::parse(format_text)) {
                    p.format = *f;
                } else {
                    throw PostLibraryError(line, "unknown number format " + format_text);
                }
                p.has_format = true;
            }
            w.pieces.push_back(std::move(p));
            i = close;
        } else if (c == '}') {
            throw PostLibraryError(line, "'}' without '{'");
        } else {
            literal += c;
        }
    }
    if (!literal.empty()) w.pieces.push_back(literal_piece(std::move(literal)));
    return w;
}

TemplateLine PostLibrary::parse_template_line(std::string_view text, int line) const {
    TemplateLine t;
    t.source_line = line;
    if (text.starts_with('!')) {
        auto words = split_blanks(text.substr(1));
        if (words.empty()) throw PostLibraryError(line, "empty directive");
        if (words[0] == "reset") {
            t.kind = TemplateLine::Kind::Reset;
            for (std::size_t i = 1; i < words.size(); ++i) t.groups.emplace_back(words[i]);
        } else if (words[0] == "held" && words.size() == 1) {
            t.kind = TemplateLine::Kind::Held;
        } else {
            throw PostLibraryError(line, "unknown directive !" + std::string(words[0]));
        }
        return t;
    }
    if (text.starts_with('?')) {
        text.remove_prefix(1);
        if (text.starts_with('!')) {
            t.negated = true;
            text.remove_prefix(1);
        }
        std::size_t i = 0;
        while (i < text.size() && is_name_char(text[i])) ++i;
        if (i == 0) throw PostLibraryError(line, "'?' needs a value name");
        t.condition = std::string(text.substr(0, i));
        text = trim_blanks(text.substr(i));
    }
    for (auto w : split_blanks(text)) t.words.push_back(parse_word(w, line));
    if (t.words.empty()) throw PostLibraryError(line, "condition without a line");
    return t;
}

PostLibrary PostLibrary::parse(std::string_view text) {
    PostLibrary lib;
    enum class Part { None, Format, Formats, Variables, Template } part = Part::None;
    std::vector<TemplateLine>* current = nullptr;
    int line_no = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim_blanks(text.substr(pos, end - pos));
        pos = end + 1;
        ++line_no;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string name(trim_blanks(line.substr(1, line.size() - 2)));
            if (name.empty()) throw PostLibraryError(line_no, "empty section name");
            if (name == "Format") {
                part = Part::Format;
            } else if (name == "Formats") {
                part = Part::Formats;
            } else if (name == "Variables") {
                part = Part::Variables;
            } else {
                if (lib.templates_.count(name))
                    throw PostLibraryError(line_no, "template " + name + " given twice");
                part = Part::Template;
                current = &lib.templates_[name];
            }
            continue;
        }
        if (part == Part::None) throw PostLibraryError(line_no, "text before the first section");
        if (part == Part::Template) {
            current->push_back(lib.parse_template_line(line, line_no));
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string_view::npos) throw PostLibraryError(line_no, "expected name = value");
        std::string key(trim_blanks(line.substr(0, eq)));
        std::string value(trim_blanks(line.substr(eq + 1)));
        if (key.empty()) throw PostLibraryError(line_no, "expected name = value");
        if (part == Part::Variables) {
            lib.variables_[key] = value;
        } else if (part == Part::Formats) {
            auto f = ValueFormat::parse(value);
            if (!f) throw PostLibraryError(line_no, "unknown number format " + value);
            lib.formats_[key] = *f;
        } else {
            auto& s = lib.settings_;
            auto number = [&] {
                auto n = parse_int(value);
                if (!n) throw PostLibraryError(line_no, key + " must be a whole number");
                return *n;
            };
            if (iequals(key, "Decimals") || iequals(key, "InchDecimals")) {
                long long d = number();
                if (d < 0 || d > 6) throw PostLibraryError(line_no, key + " must be 0 to 6");
                (iequals(key, "Decimals") ? s.decimals : s.inch_decimals) = static_cast<int>(d);
            } else if (iequals(key, "LineEnd")) {
                if (iequals(value, "CRLF")) {
                    s.line_end = "\r\n";
                } else if (iequals(value, "LF")) {
                    s.line_end = "\n";
                } else {
                    throw PostLibraryError(line_no, "LineEnd must be CRLF or LF");
                }
            } else if (iequals(key, "SequenceStart")) {
                s.sequence_start = number();
            } else if (iequals(key, "SequenceStep")) {
                s.sequence_step = number();
            } else if (iequals(key, "SequenceSkip")) {
                s.sequence_skip = value;
            } else {
                throw PostLibraryError(line_no, "unknown format setting " + key);
            }
        }
    }
    return lib;
}

PostLibrary PostLibrary::load(const std::string& path) {
    std::string error;
    auto text = read_file(path, &error);
    if (!text) throw PostLibraryError(0, "cannot read library " + path + ": " + error);
    try {
        return parse(*text);
    } catch (const PostLibraryError& e) {
        throw PostLibraryError(0, path + ": " + e.what());
    }
}

const std::vector<TemplateLine>* PostLibrary::section(std::string_view keyword) const {
    auto it = templates_.find(keyword);
    return it == templates_.end() ? nullptr : &it->second;
}

} // namespace zeran
