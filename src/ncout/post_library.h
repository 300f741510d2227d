#pragma once
// The post library (.slb): number formats, fixed values and one template per
// GNC record keyword, from which the post-processor writes a machine's
// G-code. The format is described in postvex/README.md.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

class PostLibraryError : public std::runtime_error {
public:
    PostLibraryError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// How one value is written: "R3" up to 3 decimals, "P3" the same keeping the
// point of whole numbers ("25."), "F3" fixed, "I2" integer padded to 2
// digits, "M" machine increments (0.001 mm or 0.0001 inch), "T" text without
// brackets, "U" the same upper-cased; "a" in front takes the absolute value,
// "*2" in front scales.
struct ValueFormat {
    enum class Code { Real, PointReal, Fixed, Integer, Increments, Text, UpperText };
    Code code = Code::Real;
    int digits = 4; // decimals, or the minimum width of integers
    double scale = 1;
    bool absolute = false;

    static std::optional<ValueFormat> parse(std::string_view format_text);
};

struct TemplatePiece {
    bool is_value = false;
    std::string text; // literal text, or the value's name
    ValueFormat format;
    bool has_format = false;
    // A named format "coord" may have an inch form "coord_inch".
    ValueFormat inch_format;
    bool has_inch_format = false;
};

struct TemplateWord {
    bool modal = false; // written only when it differs from the last one of its group
    std::string group;
    std::vector<TemplatePiece> pieces;
    bool has_value() const;
};

struct TemplateLine {
    enum class Kind { Words, Reset, Held };
    Kind kind = Kind::Words;
    int source_line = 0;
    std::string condition; // value that must be true (or false when negated)
    bool negated = false;
    std::vector<TemplateWord> words;
    std::vector<std::string> groups; // Reset: the groups to forget; empty = all
};

struct PostFormatSettings {
    int decimals = 3;              // precision of the tracked position and arc words
    int inch_decimals = 4;         // the same in inch programs
    std::string line_end = "\r\n"; // "CRLF" or "LF" in the file
    long long sequence_start = 0;  // block numbers: N<start>, then by <step>
    long long sequence_step = 0;   // 0: no block numbers
    std::string sequence_skip = "%O(";
};

class PostLibrary {
public:
    static PostLibrary parse(std::string_view text);
    // Throws PostLibraryError (line 0 when the file cannot be read).
    static PostLibrary load(const std::string& path);

    const std::vector<TemplateLine>* section(std::string_view keyword) const;
    const std::map<std::string, std::string>& variables() const { return variables_; }
    const PostFormatSettings& settings() const { return settings_; }

private:
    PostFormatSettings settings_;
    std::map<std::string, std::string> variables_;
    std::map<std::string, ValueFormat> formats_;
    std::map<std::string, std::vector<TemplateLine>, std::less<>> templates_;

    TemplateLine parse_template_line(std::string_view text, int line) const;
    TemplateWord parse_word(std::string_view text, int line) const;
};

} // namespace zeran
