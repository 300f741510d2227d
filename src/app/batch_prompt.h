#pragma once
// The prompt of batch runs: every question and message goes to standard
// error on one line, with the answer given; questions are answered OK when
// OK is offered, otherwise with the first button.
#include "base/prompt.h"

#include <iosfwd>

namespace zeran {

class BatchPrompt final : public Prompt {
public:
    explicit BatchPrompt(std::ostream& err) : err_(err) {}

    Answer ask(MessageKind kind, const std::string& text,
               const std::vector<Answer>& buttons) override;
    void tell(MessageKind kind, const std::string& text) override;
    int choose(const std::string& title, const std::vector<std::string>& options,
               int preselected) override;

    int warnings() const { return warnings_; }

private:
    std::ostream& err_;
    int warnings_ = 0;
};

} // namespace zeran
