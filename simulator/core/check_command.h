#pragma once
// The batch check: simvoturn --check PROGRAM --machine NAME
// [--stock LENGTH,RADIUS] [--tools FILE] [--json]. With a tool table, moves
// under nose radius compensation cut with the round of each tool whose
// radius it gives. Exit 0 with no findings, 1 with findings or a program or
// tool table that cannot be read, 2 on bad usage.
#include <iosfwd>
#include <string>
#include <vector>

namespace simvo {

// `args` are the arguments after the program's own name.
int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage line of the batch check.
const char* check_usage();

} // namespace simvo
