#pragma once
// After a post: the written program read back by the simulator's reader and
// compared with the GNC file it came from.
#include <string>

namespace zeran {

// "" when the program at `nc_file` moves as the GNC file says; else what
// differs first, or why the two could not be compared. The program's
// dialect comes from the machine's name, else from the program itself.
std::string check_posted_program(const std::string& gnc_file, const std::string& nc_file,
                                 const std::string& machine);

} // namespace zeran
