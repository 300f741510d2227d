#include "cycles/generators.h"

namespace zeran {

bool generate_drilling(TCanCycle&) { return false; }

} // namespace zeran
