#pragma once
// The parameter record of a cycle and the tables that name its fields.
#include <cstdint>

namespace zeran {

// Lengths are in the project's unit (Units: 0 millimetres, 1 inches).
struct TCycleParams {
    std::uint8_t Units = 0;
    double Feed = 0;
    double Speed = 0;
    bool UseCSS = false;
    bool UseFPR = false;
    double DepthCutX = 0;
    double DepthCutZ = 0;
    double AllowanceX = 0;
    double AllowanceZ = 0;
    double RetractX = 0;
    double RetractZ = 0;
    std::int32_t Repeats = 1;
    double PeckReturnX = 0;
    double DepthThread = 0;
    double DepthFirst = 0;
    double Pitch = 0;
    double MinCut = 0;
    std::int32_t FinishPass = 0;
    std::int32_t TipAngle = 0;
    std::int32_t Chamfer = 0;
    double PeckReturnZ = 0;

    friend bool operator==(const TCycleParams&, const TCycleParams&) = default;
};

} // namespace zeran
