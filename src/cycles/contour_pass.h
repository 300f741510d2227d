#pragma once
// One pass along the prepared profile, shifted by an offset: the finishing
// cycle, the closing pass of roughing and each pass of pattern repeat.
#include "cycles/can_cycle.h"

#include <vector>

namespace zeran {

bool ContourPass(TCanCycle& cycle, CyclePoint offset, const std::vector<TCNC_Groups*>& profile);

} // namespace zeran
