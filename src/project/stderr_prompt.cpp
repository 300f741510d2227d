#include "project/stderr_prompt.h"

#include <algorithm>
#include <ostream>

namespace zeran {

namespace {

// Message texts carry carriage returns between paragraphs; one line each here.
std::string one_line(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

const char* answer_text(Answer a) {
    switch (a) {
    case Answer::Ok:
        return "OK";
    case Answer::Cancel:
        return "Cancel";
    case Answer::Yes:
        return "Yes";
    case Answer::No:
        return "No";
    case Answer::Abort:
        return "Abort";
    case Answer::Retry:
        return "Retry";
    case Answer::Ignore:
        return "Ignore";
    case Answer::All:
        return "All";
    }
    return "?";
}

StderrPrompt::StderrPrompt(std::ostream& log) : log_(log) {}

Answer StderrPrompt::ask(MessageKind, const std::string& text, const std::vector<Answer>& buttons) {
    auto offered = [&](Answer a) {
        return std::find(buttons.begin(), buttons.end(), a) != buttons.end();
    };
    Answer a = Answer::Ok;
    if (offered(Answer::Ok)) {
        a = Answer::Ok;
    } else if (offered(Answer::No)) {
        a = Answer::No;
    } else if (!buttons.empty()) {
        a = buttons.front();
    }
    log_ << "zeran: " << one_line(text) << " -> " << answer_text(a) << '\n';
    return a;
}

void StderrPrompt::tell(MessageKind, const std::string& text) {
    log_ << "zeran: " << one_line(text) << '\n';
}

int StderrPrompt::choose(const std::string& title, const std::vector<std::string>& options,
                         int preselected) {
    log_ << "zeran: " << one_line(title) << " -> ";
    if (preselected >= 0 && preselected < static_cast<int>(options.size()))
        log_ << options[static_cast<std::size_t>(preselected)];
    else
        log_ << "(none)";
    log_ << '\n';
    return preselected;
}

} // namespace zeran
