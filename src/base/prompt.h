#pragma once
// Questions a core operation must ask the user. The window answers with
// message boxes, tests from a script, batch runs with documented defaults.
#include <string>
#include <vector>

namespace zeran {

enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore, All };
enum class MessageKind { Information, Warning, Error, Confirmation };

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows `text` and offers the `buttons`; returns the one chosen.
    virtual Answer ask(MessageKind kind, const std::string& text,
                       const std::vector<Answer>& buttons) = 0;
    // A question under a caption of its own rather than the program's name.
    virtual Answer ask_titled(const std::string& caption, MessageKind kind, const std::string& text,
                              const std::vector<Answer>& buttons) {
        (void)caption;
        return ask(kind, text, buttons);
    }
    // A message with only an OK button.
    virtual void tell(MessageKind kind, const std::string& text) = 0;
    // Picks one of several texts (before/after, paste choices); -1 when cancelled.
    virtual int choose(const std::string& title, const std::vector<std::string>& options,
                       int preselected) = 0;
};

} // namespace zeran
