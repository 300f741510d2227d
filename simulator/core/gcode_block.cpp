#include "gcode_block.h"

#include "program.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace simvo {

namespace {

bool is_digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Reads a number at `pos` (spaces allowed before it and between its
// characters, as the controls allow); returns its text without spaces.
std::string number_text(std::string_view text, std::size_t& pos) {
    std::string out;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ' ' || c == '\t') {
            ++pos;
            continue;
        }
        const bool sign = (c == '+' || c == '-') && out.empty();
        if (!(is_digit(c) || c == '.' || sign)) break;
        out += c;
        ++pos;
    }
    return out;
}

} // namespace

Block split_block(std::string_view text, int line) {
    Block block;
    block.line = line;
    std::string clean;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            const std::size_t close = text.find(')', i);
            if (close == std::string_view::npos) throw ProgramError(line, "comment is not closed");
            block.comment = std::string(text.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == ';') {
            block.comment = std::string(text.substr(i + 1));
            break;
        } else if (c == ')') {
            throw ProgramError(line, "\")\" without \"(\"");
        } else if (c != '\r' && c != '\n') {
            clean += c;
        }
    }
    std::size_t pos = 0;
    // Program markers and an optional block-delete slash at the front.
    while (pos < clean.size() &&
           (clean[pos] == ' ' || clean[pos] == '\t' || clean[pos] == '%' || clean[pos] == '/'))
        ++pos;
    while (pos < clean.size()) {
        const char raw = clean[pos];
        if (raw == ' ' || raw == '\t') {
            ++pos;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(raw)))
            throw ProgramError(line, std::string("unexpected character \"") + raw + "\"");
        Word word;
        word.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
        ++pos;
        const std::string digits = number_text(clean, pos);
        word.text = std::string(1, word.letter) + digits;
        if (digits.empty() || digits == "+" || digits == "-" || digits == "." || digits == "-." ||
            digits == "+.")
            throw ProgramError(line, "word \"" + std::string(1, word.letter) + "\" has no number");
        const std::size_t first_point = digits.find('.');
        if (first_point != std::string::npos &&
            digits.find('.', first_point + 1) != std::string::npos)
            throw ProgramError(line, "malformed number in \"" + word.text + "\"");
        word.has_point = first_point != std::string::npos;
        std::string parse = digits[0] == '+' ? digits.substr(1) : digits;
        const auto [end, ec] =
            std::from_chars(parse.data(), parse.data() + parse.size(), word.value);
        if (ec != std::errc() || end != parse.data() + parse.size())
            throw ProgramError(line, "malformed number in \"" + word.text + "\"");
        // Ten kilometres, or a spindle speed no lathe turns: a number gone wrong.
        if (std::fabs(word.value) > kLargestNumber)
            throw ProgramError(line, "number out of range in \"" + word.text + "\"");
        if (word.letter == 'N' || word.letter == 'O') continue;
        block.words.push_back(word);
    }
    return block;
}

std::vector<const Word*> words_of(const Block& block, char letter) {
    std::vector<const Word*> out;
    for (const Word& w : block.words)
        if (w.letter == letter) out.push_back(&w);
    return out;
}

} // namespace simvo
