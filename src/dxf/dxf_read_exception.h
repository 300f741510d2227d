#pragma once
// The reader's own error: a message that says where in the file it happened.
#include <stdexcept>
#include <string>

namespace zeran {

class DXF_read_exception : public std::runtime_error {
public:
    // line < 0: the text alone; otherwise the line number is appended.
    DXF_read_exception(const std::string& text, long long line)
        : std::runtime_error(compose(text, line)) {}

private:
    static std::string compose(const std::string& text, long long line) {
        if (line < 0) return text;
        return text + "\r\nError occured at or near line number " + std::to_string(line);
    }
};

} // namespace zeran
