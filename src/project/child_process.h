#pragma once
// Running a helper program whose life is bound to ours: it is killed when this
// process dies, so that it never goes on writing after its caller has gone.
#include <string>
#include <vector>

namespace zeran {

struct ChildResult {
    int exit_code = -1;     // -1: it could not start; 128 + n: killed by signal n
    std::string error_text; // its standard error, at most the first 64 KiB
};

ChildResult run_child(const std::string& program, const std::vector<std::string>& args);

} // namespace zeran
