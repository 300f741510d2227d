#pragma once
// The GNC writer as the project uses it, and the one call that writes a file.
#include "ncout/gnc_writer.h"

#include <string>

namespace zeran {

// Writes the writer's GNC text to `path` beside the old file and renames it
// over it when complete; false with *error set when it cannot be written.
bool write_gnc_file(TGNCOutput& writer, const std::string& path, char separator,
                    std::string* error);

} // namespace zeran
