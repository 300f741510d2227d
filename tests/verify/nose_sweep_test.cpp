// The insert's round swept along compensated paths over generated parts
// (shafts, bores and faces with chamfers, fillets, coves, tapers and
// grooves): wherever the path runs, the round stays out of the whole part.
#include "cycle_runs.h"
#include "cycles/cycle_params.h"
#include "cycles/nose_offset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace zeran::verify {
namespace {

TCycleParams params_for(CycleKind kind, const Part& part) {
    const double s = part.scale;
    TCycleParams p;
    p.Units = part.units;
    p.Feed = 0.2 * s;
    p.Speed = 1000;
    p.DepthCutX = p.DepthCutZ = 1.5 * s;
    p.RetractX = p.RetractZ = 0.5 * s;
    p.Repeats = 3;
    if (kind == CycleKind::PatternRepeat) p.DepthCutX = 4 * s;
    if (kind == CycleKind::AlongX || kind == CycleKind::AlongZ) p.AllowanceX = 0.2 * s;
    p.Compensation = static_cast<std::int32_t>(NoseCompensation::InProgram);
    return p;
}

// How deep the round about the centres along `path` reaches into the part.
double deepest_round(const Piece& path, const Region& part, double radius, double step) {
    const double len = length_of(path);
    const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
    double worst = -1e300;
    for (int i = 0; i <= n; ++i)
        worst = std::max(worst, radius + part.depth(point_at(path, static_cast<double>(i) / n)));
    return worst;
}

TEST(NoseSweep, TheRoundNeverEntersGeneratedParts) {
    int runs = 0;
    std::vector<std::string> faults;
    for (PartKind kind : {PartKind::Shaft, PartKind::Bore, PartKind::Face}) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            const Part part = make_part(kind, seed);
            const Region region = part.region();
            const double radius = (seed % 2 ? 0.4 : 0.8) * part.scale;
            for (CycleKind cycle : {CycleKind::Finishing, CycleKind::AlongX, CycleKind::AlongZ,
                                    CycleKind::PatternRepeat}) {
                const CycleRun run = run_cycle(cycle, part.profile, part.start,
                                               params_for(cycle, part), {20, 10}, 0, false, radius);
                if (!run.generated) continue;
                ++runs;
                const TCanCycle& c = *run.cycle;
                const CyclePoint tip = c.NoseTipOffset();
                for (std::size_t i = 0; i < run.moves.size(); ++i) {
                    const Piece centres = shifted(run.moves[i].path, {-tip.X, -tip.Z});
                    const double depth = deepest_round(centres, region, radius, radius / 10);
                    if (depth <= 0.001 * part.scale) continue;
                    std::ostringstream s;
                    s << describe(part) << " " << cycle_short_name(cycle) << " move " << i
                      << ": the round enters by " << depth;
                    faults.push_back(s.str());
                    break;
                }
            }
        }
    }
    EXPECT_GT(runs, 200);
    EXPECT_TRUE(faults.empty()) << faults.size() << " runs, the first: " << faults.front();
}

} // namespace
} // namespace zeran::verify
