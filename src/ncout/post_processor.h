#pragma once
// Turns a GNC program into one machine's G-code through its post library.
// What each record does comes from the GNC interpreter, holding positions to
// the library's decimals; the post adds the values its templates write (arc
// end and I, K; the thread cycle's diameters and offsets).
#include "ncout/gnc_reader.h"
#include "ncout/post_library.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

class PostError : public std::runtime_error {
public:
    PostError(int gnc_line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// What the machine's data say beyond its library.
struct PostMachine {
    std::string name;                 // for messages
    bool cutter_compensation = false; // its control takes G41/G42 (key CutterCompensation)
};

// The whole program text, lines ended as the library says. Throws PostError
// for a GNC program that cannot make a sound machine program (no PROLOGUE or
// EPILOGUE, an arc with no start point or no radius, a thread without pitch
// or depth, a value that does not fit its word, cutter compensation for a
// machine or library without it).
std::string post_process(const std::vector<GncItem>& gnc, const PostLibrary& library,
                         const PostMachine& machine = {});
// The same straight from the GNC text; also throws GncReadError.
std::string post_process_text(std::string_view gnc, const PostLibrary& library,
                              const PostMachine& machine = {});

} // namespace zeran
