// The sane range of every parameter: what the project reader and the
// parameter entry refuse, in both units.
#include "cycles/cycle_params.h"
#include "cycles/param_controls.h"

#include <gtest/gtest.h>

#include <limits>

namespace zeran {
namespace {

TEST(ParamRange, EveryFieldHasOneAndItHoldsTheDefaultsAndNoAbsurdValues) {
    for (int i = 0; i <= static_cast<int>(ParamField::PeckReturnZ); ++i) {
        const auto field = static_cast<ParamField>(i);
        SCOPED_TRACE(i);
        for (Units units : {Units::Metric, Units::Inch}) {
            const ParamRange r = param_range(field, units);
            EXPECT_EQ(r.low, 0);
            EXPECT_GE(r.high, 1);
            EXPECT_EQ(param_value_problem("k", field, get_param(TCycleParams{}, field), units), "");
            for (double bad : {-0.001, 1e20, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()})
                EXPECT_NE(param_value_problem("k", field, bad, units), "") << bad;
        }
    }
    // Inch lengths end where millimetre lengths do.
    EXPECT_EQ(param_value_problem("Param_Pitch", ParamField::Pitch, 39.37, Units::Inch), "");
    EXPECT_EQ(param_value_problem("Param_Pitch", ParamField::Pitch, 40, Units::Inch),
              "Param_Pitch = 40 is outside 0 to 39.3701 inch");
    EXPECT_EQ(param_value_problem("Param_Pitch", ParamField::Pitch, 40, Units::Metric), "");
    EXPECT_EQ(
        param_value_problem("Param_DepthThread", ParamField::DepthThread, 1e308, Units::Metric),
        "Param_DepthThread = 1E308 is outside 0 to 1000 mm");
    EXPECT_EQ(param_value_problem("Param_Feed", ParamField::Feed, 1e9, Units::Metric),
              "Param_Feed = 1000000000 is outside 0 to 100000 mm/min.");
}

TEST(ParamRange, TheEntryOfAValueNamesTheCycleKindAndItsKey) {
    TParamControls grooving(CycleKind::Grooving);
    EXPECT_EQ(grooving.EntryProblem(ParamField::PeckReturnX, 0.5), "");
    EXPECT_EQ(grooving.EntryProblem(ParamField::PeckReturnX, 5000),
              "Grooving Cycle in X: Param_RetractX = 5000 is outside 0 to 1000 mm");
    TParamControls threading(CycleKind::Threading);
    EXPECT_EQ(threading.EntryProblem(ParamField::TipAngle, 200),
              "Threading Cycle: Param_TipAngle = 200 is outside 0 to 180 \xC2\xB0");
}

} // namespace
} // namespace zeran
