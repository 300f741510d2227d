#include "cycles/generators.h"

namespace zeran {

bool generate_threading(TCanCycle&) { return false; }

} // namespace zeran
