#pragma once
// The 80 x 80 picture of each cycle kind that the parameter dialog shows:
// the stock, the part and the way the kind cuts, on white.
#include "cycles/cycle_kinds.h"

#include <QImage>
#include <cstdint>

namespace zeran {

inline constexpr int kCyclePictureSize = 80;

// A blank white picture for kinds outside 0..7.
QImage cycle_picture(CycleKind kind);

} // namespace zeran
