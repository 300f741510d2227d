#pragma once
// Reads the neutral GNC program into a flat list of items: declarations,
// assignments and bare words (record keywords and markers). The reader knows
// the line grammar only; what the keywords mean is the post-processor's.
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

struct GncValue {
    enum class Kind { None, Number, Text, Word };
    Kind kind = Kind::None;
    double number = 0;
    std::string text; // the text of a quoted string or a bare word

    bool truthy() const;
};

struct GncItem {
    enum class Kind {
        Declaration, // "real x_dimension = 50", "string machine_type(4) = ..."
        Assignment,  // "x = 25"
        Word         // "FAST_TRAV", "repeat", "tools_defined"
    };
    Kind kind = Kind::Word;
    int line = 0;     // 1-based line number in the file
    std::string type; // declarations only: "real", "string", ...
    std::string name; // variable name, or the bare word
    GncValue value;   // Kind::None for a declaration without a value
};

class GncReadError : public std::runtime_error {
public:
    GncReadError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// Decimal points and decimal commas are both accepted in numbers, since the
// writer follows the user's locale. Throws GncReadError on a malformed line.
std::vector<GncItem> read_gnc(std::string_view text);
// The same, handing each item on as it is read, so a long program is never
// held as items all at once.
void read_gnc(std::string_view text, const std::function<void(const GncItem&)>& each);

} // namespace zeran
