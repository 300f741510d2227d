#include "cycles/generators.h"

namespace zeran {

bool generate_grooving(TCanCycle&) { return false; }

} // namespace zeran
