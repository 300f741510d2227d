// Reading a project: one cycle on a drawing of N elements whose project lists
// every drawing-tree node, and N cycles on a small drawing. The time per
// element or per cycle must stay flat as N grows (the complexity fit says
// how the whole read grows).
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace zeran;

fs::path folder() {
    static const fs::path dir =
        fs::temp_directory_path() / ("zeran_bench_project_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

// A staircase of `n` lines on one layer, so that no two elements coincide.
std::string drawing_text(long long n) {
    std::string s = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    for (long long i = 0; i < n; ++i) {
        const std::string x0 = std::to_string(-i), x1 = std::to_string(-i - 1);
        const std::string y = std::to_string(10 + (i % 2));
        s += "0\r\nLINE\r\n8\r\nPART\r\n10\r\n" + x0 + "\r\n20\r\n" + y + "\r\n11\r\n" + x1 +
             "\r\n21\r\n" + y + "\r\n";
    }
    return s + "0\r\nENDSEC\r\n0\r\nEOF\r\n";
}

void add_cycle(ProjectModel& m) {
    CycleNode& c = m.AddCycle(CycleKind::Finishing);
    m.AddToProfile(c, (*m.selection)[0]->at(0), false);
    c.tool->ToolWidth = 0.8;
    c.params->StartX = 18;
    c.params->StartZ = 2;
    c.params->SetControl(ParamField::Feed, 0.2);
    c.params->SetControl(ParamField::Speed, 1000);
}

// Writes the project once per size and returns its path.
std::string project(const std::string& name, long long elements, long long cycles) {
    const fs::path dir = folder();
    const std::string tcf = (dir / (name + ".tcf")).string();
    if (fs::exists(tcf)) return tcf;
    const std::string dxf = (dir / (name + ".dxf")).string();
    std::ofstream(dxf, std::ios::binary) << drawing_text(elements);
    ScriptedPrompt prompt;
    ProjectModel m(prompt);
    if (!m.LoadDrawing(dxf)) return {};
    m.SetDatumFromPoint({0, 0, 0});
    for (long long i = 0; i < cycles; ++i) add_cycle(m);
    WriteProjectFile(m, tcf);
    return tcf;
}

void read(benchmark::State& state, const std::string& tcf, long long items) {
    ScriptedPrompt prompt;
    for (auto _ : state) {
        ProjectModel m(prompt);
        std::string error;
        if (!ReadProjectFile(m, tcf, {}, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(m.cycles.size());
    }
    state.SetComplexityN(items);
    // Seconds per element or cycle: flat when the read is linear.
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(items),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_ProjectOnLargeDrawing(benchmark::State& state) {
    const long long n = state.range(0);
    read(state, project("drawing_" + std::to_string(n), n, 1), n);
}
BENCHMARK(BM_ProjectOnLargeDrawing)
    ->Arg(10000)
    ->Arg(40000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ProjectOfManyCycles(benchmark::State& state) {
    const long long n = state.range(0);
    read(state, project("cycles_" + std::to_string(n), 20, n), n);
}
BENCHMARK(BM_ProjectOfManyCycles)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

// The generated drawings and projects go when the run ends.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(folder(), ec);
    return 0;
}
