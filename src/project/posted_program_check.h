#pragma once
// After a post: the written program read back by the simulator's reader and
// compared with the GNC file it came from.
#include <string>

namespace zeran {

struct PostedCheck {
    bool checked = false;   // false: the program's control could not be told
    std::string difference; // "" when the program moves as the GNC file says
};

// Reads both files and compares them; a file that cannot be read is a
// difference. The program's dialect comes from the machine's name, else from
// the program itself; a machine of the user's own whose programs say
// nothing of their control is left unchecked.
PostedCheck check_posted_program(const std::string& gnc_file, const std::string& nc_file,
                                 const std::string& machine);

} // namespace zeran
