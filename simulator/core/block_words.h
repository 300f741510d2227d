#pragma once
// The words of one block as the reader takes them: each word taken once, a
// letter that appears twice refused, and any word left over at the end of the
// block reported, so nothing in a program is ever passed over in silence.
#include "gcode_block.h"

#include <optional>
#include <vector>

namespace simvo {

class BlockWords {
public:
    explicit BlockWords(const Block& block);

    bool has(char letter) const;
    // The value of the one word with `letter`; ProgramError when it appears twice.
    std::optional<double> take(char letter);
    // The word itself, for the decimal-point rules of some dialects.
    const Word* take_word(char letter);
    // Every word with `letter` (G and M codes may repeat).
    std::vector<double> take_all(char letter);
    // ProgramError naming the first word nobody took.
    void check_all_taken() const;

    int line() const { return block_.line; }

private:
    const Block& block_;
    std::vector<bool> taken_;
};

} // namespace simvo
