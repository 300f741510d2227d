// Tool-path generation on long profiles: roughing along X and Z, pattern
// repeat and finishing over 1,000 lines and arcs, reported as moves per
// second; each also with the nose radius compensated in the program.
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/point_entities.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace zeran;

// A staircase shaft: 500 steps of a line along Z and a convex quarter round,
// rising from the face towards the chuck. Drawing x is Z, drawing y is X.
std::vector<std::unique_ptr<DXF_Entity>> long_profile() {
    std::vector<std::unique_ptr<DXF_Entity>> out;
    double x = 5;
    double z = 0;
    for (int i = 0; i < 500; ++i) {
        out.push_back(std::make_unique<Line_>(Point3D{z, x, 0}, 7, Point3D{z - 1, x, 0}));
        // Right of the centre to its top: counter-clockwise 0 to 90 degrees.
        out.push_back(
            std::make_unique<Arc_>(Point3D{0, 0, 1}, 7, 90.0, 180.0, 0.5, Point3D{z - 1.5, x, 0}));
        x += 0.5;
        z -= 1.5;
    }
    return out;
}

// `nose`: a 0.8 radius compensated in the program, or none.
void run_cycle(benchmark::State& state, CycleKind kind, double depth, bool nose = false) {
    auto entities = long_profile();
    std::vector<DXF_Entity*> elements;
    for (auto& e : entities) elements.push_back(e.get());
    TCanCycle cycle;
    cycle.Kind = kind;
    TCycleParams p;
    p.Feed = 0.2;
    p.Speed = 800;
    p.DepthCutX = depth;
    p.DepthCutZ = depth;
    p.RetractX = depth / 2;
    p.RetractZ = depth / 2;
    p.AllowanceX = 0.2;
    p.AllowanceZ = 0.1;
    p.Repeats = 20;
    if (nose) {
        p.Compensation = static_cast<std::int32_t>(NoseCompensation::InProgram);
        cycle.NoseRadius = 0.8;
    }
    cycle.SetElements(elements);
    cycle.SetDefinition({true, p, 300, 5});
    std::size_t moves = 0;
    for (auto _ : state) {
        cycle.SetNeedsGenerate(true);
        if (!cycle.Generate()) {
            state.SkipWithError(cycle.LastError().empty() ? "refused" : cycle.LastError().c_str());
            break;
        }
        moves += cycle.Moves.size();
        benchmark::DoNotOptimize(cycle.Moves.data());
    }
    state.counters["moves"] = static_cast<double>(cycle.Moves.size());
    state.counters["moves_per_second"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}

void BM_RoughingAlongX(benchmark::State& s) {
    run_cycle(s, CycleKind::AlongX, 0.05);
}
void BM_RoughingAlongZ(benchmark::State& s) {
    run_cycle(s, CycleKind::AlongZ, 0.1);
}
void BM_PatternRepeat(benchmark::State& s) {
    run_cycle(s, CycleKind::PatternRepeat, 2);
}

void BM_Finishing(benchmark::State& s) {
    run_cycle(s, CycleKind::Finishing, 1);
}
void BM_RoughingAlongXNose(benchmark::State& s) {
    run_cycle(s, CycleKind::AlongX, 0.05, true);
}
void BM_RoughingAlongZNose(benchmark::State& s) {
    run_cycle(s, CycleKind::AlongZ, 0.1, true);
}
void BM_PatternRepeatNose(benchmark::State& s) {
    run_cycle(s, CycleKind::PatternRepeat, 2, true);
}
void BM_FinishingNose(benchmark::State& s) {
    run_cycle(s, CycleKind::Finishing, 1, true);
}

BENCHMARK(BM_RoughingAlongX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoughingAlongXNose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoughingAlongZNose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternRepeatNose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Finishing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinishingNose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoughingAlongZ)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternRepeat)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
