// What one edit costs in the window, on the shipped examples: the command
// (the edit, settling its cycle, capturing and comparing the document), the
// path audit the window runs after it, and undo with its restore.
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/project_session.h"
#include "support/test_doubles.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zeran;

std::string example(const char* name) {
    return std::string(ZERAN_SOURCE_DIR) + "/examples/" + name;
}

struct Open {
    ScriptedPrompt prompt;
    ProjectModel model{prompt};
    ProjectSession session{model};
    explicit Open(const char* name, benchmark::State& state) {
        std::string error;
        if (!ReadProjectFile(model, example(name), {}, &error)) state.SkipWithError(error.c_str());
        session.start_fresh();
    }
};

// A start point typed into the first cycle: one step that regenerates it.
void start_point_step(benchmark::State& state, const char* name) {
    Open open(name, state);
    if (open.model.cycles.empty()) return;
    CycleNode& node = *open.model.cycles.front();
    const double x = node.params->StartX;
    int i = 0;
    for (auto _ : state) {
        const double to = x + 0.5 * (++i % 2);
        open.session.apply("Set Start Point", {Change::Cycle, 0}, [&](ProjectModel& m) {
            m.SetStartPoint(node, to, node.params->StartZ);
        });
    }
}

void audit(benchmark::State& state, const char* name) {
    Open open(name, state);
    for (auto _ : state) benchmark::DoNotOptimize(open.model.AuditPaths().size());
}

// Undo and redo of a comment: both put a whole recorded document back.
void undo_redo(benchmark::State& state, const char* name) {
    Open open(name, state);
    if (open.model.cycles.empty()) return;
    CycleNode& node = *open.model.cycles.front();
    open.session.apply("Set Comment", {Change::Cycle, 0},
                       [&](ProjectModel& m) { m.SetComment(node, "bench"); });
    for (auto _ : state) {
        open.session.undo();
        open.session.redo();
    }
}

} // namespace

BENCHMARK_CAPTURE(start_point_step, shaft, "shaft.tcf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(start_point_step, bushing, "bushing.tcf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(audit, shaft, "shaft.tcf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(audit, bushing, "bushing.tcf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(undo_redo, shaft, "shaft.tcf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(undo_redo, bushing, "bushing.tcf")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
