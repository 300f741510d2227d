#pragma once
// The tool-path generators that TCanCycle::Generate dispatches to, one per
// cycle family. Each appends moves with AddMove and returns false when the
// cycle cannot be generated (the reason is left on the cycle).

namespace zeran {

class TCanCycle;

bool generate_roughing(TCanCycle& cycle);       // codes 71 (along X) and 72 (along Z)
bool generate_pattern_repeat(TCanCycle& cycle); // code 73
bool generate_finishing(TCanCycle& cycle);      // code 70
bool generate_linear(TCanCycle& cycle);         // code 77
bool generate_grooving(TCanCycle& cycle);       // code 75
bool generate_threading(TCanCycle& cycle);      // code 32
bool generate_drilling(TCanCycle& cycle);       // code 74

} // namespace zeran
