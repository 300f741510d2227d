#include "block_words.h"

#include "program.h"

namespace simvo {

BlockWords::BlockWords(const Block& block) : block_(block), taken_(block.words.size(), false) {}

bool BlockWords::has(char letter) const {
    for (std::size_t i = 0; i < block_.words.size(); ++i)
        if (block_.words[i].letter == letter && !taken_[i]) return true;
    return false;
}

const Word* BlockWords::take_word(char letter) {
    const Word* found = nullptr;
    for (std::size_t i = 0; i < block_.words.size(); ++i) {
        if (block_.words[i].letter != letter || taken_[i]) continue;
        if (found)
            throw ProgramError(block_.line,
                               "word " + std::string(1, letter) + " appears twice in the block");
        found = &block_.words[i];
        taken_[i] = true;
    }
    return found;
}

std::optional<double> BlockWords::take(char letter) {
    const Word* w = take_word(letter);
    if (!w) return std::nullopt;
    return w->value;
}

std::vector<double> BlockWords::take_all(char letter) {
    std::vector<double> out;
    for (std::size_t i = 0; i < block_.words.size(); ++i) {
        if (block_.words[i].letter != letter || taken_[i]) continue;
        taken_[i] = true;
        out.push_back(block_.words[i].value);
    }
    return out;
}

void BlockWords::check_all_taken() const {
    for (std::size_t i = 0; i < block_.words.size(); ++i)
        if (!taken_[i])
            throw ProgramError(block_.line, "word \"" + block_.words[i].text +
                                                "\" is not known or has no meaning in this block");
}

} // namespace simvo
