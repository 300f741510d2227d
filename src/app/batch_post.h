#pragma once
// The batch options that post a project: --gnc writes the neutral GNC file,
// --post also runs the post-processor into the machine's program.
#include "app/batch.h"

namespace zeran {

int batch_gnc(const std::vector<std::string>& args, BatchIo& io);
int batch_post(const std::vector<std::string>& args, BatchIo& io);

} // namespace zeran
