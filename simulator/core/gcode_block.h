#pragma once
// One line of G-code split into its words; comments, block numbers and the
// program markers are taken off here so the reader sees only what commands.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simvo {

// No word of a lathe program holds a larger number.
inline constexpr double kLargestNumber = 1e7;

struct Word {
    char letter = 0; // upper case
    double value = 0;
    std::string text; // as written, for messages ("G01", "X52.")
    bool has_point = false;
};

struct Block {
    int line = 0;
    std::vector<Word> words; // block number (N) and program number (O) removed
    std::string comment;     // the text of the last comment, without brackets
};

// Splits `text` (one line). Throws ProgramError on an unclosed comment, a
// letter without a number or a malformed number.
Block split_block(std::string_view text, int line);

// The words of `block` with a letter, in order.
std::vector<const Word*> words_of(const Block& block, char letter);

} // namespace simvo
