// DXF reading speed (MB/s) and memory held per entity, on generated drawings
// of 10k, 200k and 1M LINE+ARC entities and of 200k LINEs alone. The
// drawings are written into a temporary folder on first use.
#include "base/progress.h"
#include "base/prompt.h"
#include "dxf/dxf_reader.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <string>

// Every allocation is counted with its usable size plus the allocator's
// 8-byte chunk header, so "held" is what the heap really gives away.
namespace {
std::atomic<long long> g_live_bytes{0};
constexpr long long kChunkHeader = 8;

void* counted_alloc(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    g_live_bytes += static_cast<long long>(malloc_usable_size(p)) + kChunkHeader;
    return p;
}
void counted_free(void* p) noexcept {
    if (!p) return;
    g_live_bytes -= static_cast<long long>(malloc_usable_size(p)) + kChunkHeader;
    std::free(p);
}
} // namespace

void* operator new(std::size_t n) {
    return counted_alloc(n);
}
void* operator new[](std::size_t n) {
    return counted_alloc(n);
}
void operator delete(void* p) noexcept {
    counted_free(p);
}
void operator delete[](void* p) noexcept {
    counted_free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    counted_free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    counted_free(p);
}

namespace {

namespace fs = std::filesystem;

class SilentPrompt final : public zeran::Prompt {
public:
    zeran::Answer ask(zeran::MessageKind, const std::string&,
                      const std::vector<zeran::Answer>&) override {
        return zeran::Answer::Ok;
    }
    void tell(zeran::MessageKind, const std::string&) override {}
    int choose(const std::string&, const std::vector<std::string>&, int p) override { return p; }
};

// An R12 drawing as CAD programs write it: header extents, a layer table
// and the entities with six-decimal coordinates, codes right-aligned.
fs::path drawing(long long entities, bool arcs) {
    const fs::path dir = fs::temp_directory_path() / "zeran_bench_dxf";
    fs::create_directories(dir);
    const fs::path path =
        dir / ((arcs ? "lines_arcs_" : "lines_") + std::to_string(entities) + ".dxf");
    if (fs::exists(path)) return path;
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) std::abort();
    std::fputs("  0\nSECTION\n  2\nHEADER\n  9\n$EXTMIN\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
               "  9\n$EXTMAX\n 10\n1000.0\n 20\n1000.0\n 30\n0.0\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n2\n"
               "  0\nLAYER\n  2\nPROFILE\n 70\n0\n 62\n1\n  6\nCONTINUOUS\n"
               "  0\nLAYER\n  2\nHOLES\n 70\n0\n 62\n3\n  6\nCONTINUOUS\n  0\nENDTAB\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nENTITIES\n",
               f);
    for (long long i = 0; i < entities; ++i) {
        const double x = static_cast<double>(i % 1000) * 0.731 + 0.123456;
        const double y = static_cast<double>(i / 1000 % 1000) * 0.917 + 0.654321;
        if (arcs && i % 2) {
            std::fprintf(f,
                         "  0\nARC\n  8\nHOLES\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n%.6f\n"
                         " 50\n%.6f\n 51\n%.6f\n",
                         x, y, 1.5 + static_cast<double>(i % 7), static_cast<double>(i % 360),
                         static_cast<double>((i + 90) % 360));
        } else {
            std::fprintf(f,
                         "  0\nLINE\n  8\nPROFILE\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n"
                         " 11\n%.6f\n 21\n%.6f\n 31\n0.0\n",
                         x, y, x + 12.5, y + 3.25);
        }
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", f);
    std::fclose(f);
    return path;
}

void read_drawing(benchmark::State& state, bool arcs) {
    const long long entities = state.range(0);
    const fs::path path = drawing(entities, arcs);
    const auto bytes = static_cast<long long>(fs::file_size(path));
    SilentPrompt prompt;
    zeran::NullProgress progress;
    long long held = 0;
    for (auto _ : state) {
        const long long before = g_live_bytes.load();
        zeran::LayerList layers;
        {
            zeran::DXF_Reader reader(path.string(), prompt, progress);
            reader.read_file();
            layers = reader.take_layers();
        }
        held = g_live_bytes.load() - before;
        benchmark::DoNotOptimize(layers.data());
        state.PauseTiming();
        layers.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["held_bytes_per_entity"] =
        static_cast<double>(held) / static_cast<double>(entities);
}

void BM_ReadLinesAndArcs(benchmark::State& state) {
    read_drawing(state, true);
}
void BM_ReadLines(benchmark::State& state) {
    read_drawing(state, false);
}

BENCHMARK(BM_ReadLinesAndArcs)->Arg(10'000)->Arg(200'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLinesAndArcs)->Arg(1'000'000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLines)->Arg(200'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
