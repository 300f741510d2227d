#pragma once
// The prompt of runs without a window: every question and its answer go to
// standard error, and the answer is the documented default (OK when offered,
// else No, else the first button; choices take the preselected entry).
#include "geometry/prompt.h"

#include <iosfwd>

namespace zeran {

class StderrPrompt final : public Prompt {
public:
    explicit StderrPrompt(std::ostream& log);
    Answer ask(MessageKind kind, const std::string& text,
               const std::vector<Answer>& buttons) override;
    void tell(MessageKind kind, const std::string& text) override;
    int choose(const std::string& title, const std::vector<std::string>& options,
               int preselected) override;

private:
    std::ostream& log_;
};

const char* answer_text(Answer a);

} // namespace zeran
