#pragma once
// The simulator's own G-code reader. It follows the program block by block
// as the named control would and turns it into tool-tip motions; it shares
// nothing with the code that wrote the program, so it checks that code.
#include "program.h"

#include <string_view>

namespace simvo {

struct ReaderOptions {
    Dialect dialect = Dialect::Fanuc;
    // Reference position in millimetres (X a radius): where G28 goes and the program starts.
    Point home{100, 100};
};

// Throws ProgramError for anything the control would refuse or the reader
// does not know, naming the line.
Program read_program(std::string_view text, const ReaderOptions& options);

} // namespace simvo
