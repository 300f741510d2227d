// Generated parts drawn with their datum anywhere, not on a tidy grid, read
// back as projects the way the window and the batch read them: no feed of a
// roughing, pattern repeat, finishing or grooving cycle enters the part, and
// the program's own path audit says the same.
#include "cycle_runs.h"
#include "cycles/can_cycle.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project_files.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

namespace zeran::verify {
namespace {

namespace fs = std::filesystem;

constexpr int kPartsPerKind = 40;

TCycleParams params_for(CycleKind kind, const Part& part, std::mt19937& gen) {
    const auto tidy = [&](double lo, double hi) {
        return std::round(std::uniform_real_distribution<>(lo, hi)(gen) * 100) / 100;
    };
    const double s = part.scale;
    TCycleParams p;
    p.Units = part.units;
    p.Feed = 0.2 * s;
    p.Speed = 1000;
    p.DepthCutX = tidy(0.3, 3) * s;
    p.DepthCutZ = tidy(0.3, 3) * s;
    p.RetractX = tidy(0.1, 2) * s;
    p.RetractZ = tidy(0.1, 2) * s;
    p.AllowanceX = tidy(0, 0.5) * s;
    p.AllowanceZ = tidy(0, 0.3) * s;
    p.Repeats = std::uniform_int_distribution<>(1, 5)(gen);
    p.PeckReturnX = tidy(0.1, 0.5) * s;
    switch (kind) {
    case CycleKind::PatternRepeat:
        // Both offsets are required: a zero one leaves the parameters incomplete.
        p.DepthCutX = tidy(1, 6) * s;
        p.DepthCutZ = tidy(0.1, 3) * s;
        break;
    case CycleKind::Finishing:
        p.AllowanceX = p.AllowanceZ = 0;
        break;
    case CycleKind::Grooving:
        p.AllowanceZ = 0;
        p.AllowanceX = tidy(0, 0.2) * s;
        p.DepthCutX = tidy(0.5, 3) * s;
        p.DepthCutZ = 1.5 * s;
        break;
    default:
        break;
    }
    return p;
}

std::vector<PlannedCycle> plan(const Part& part, std::mt19937& gen) {
    const CycleKind rough = part.kind == PartKind::Face ? CycleKind::AlongZ : CycleKind::AlongX;
    std::vector<PlannedCycle> out;
    for (CycleKind kind : {rough, CycleKind::PatternRepeat, CycleKind::Finishing})
        out.push_back(
            {kind, part.profile, part.start, params_for(kind, part, gen), 1, 0.8 * part.scale});
    for (const Groove& g : part.grooves) {
        if (!g.square) continue;
        const Pt top = g.pieces.front().a;
        const Pt start{top.x + (part.tool_above ? 2 : -2) * part.scale,
                       top.z + (part.tool_right ? 1 : -1) * part.scale};
        out.push_back({CycleKind::Grooving, g.pieces, start,
                       params_for(CycleKind::Grooving, part, gen), 3, 2 * part.scale});
        break;
    }
    return out;
}

// The datum anywhere: what a drawing's axis and face give, many decimals.
DrawingPoint datum_anywhere(std::mt19937& gen) {
    return {std::uniform_real_distribution<>(-300, 300)(gen),
            std::uniform_real_distribution<>(-80, 120)(gen)};
}

std::string check_part(const Part& part, std::uint32_t seed, const fs::path& dir) {
    std::mt19937 gen(seed * 2654435761u + 7);
    const std::vector<PlannedCycle> cycles = plan(part, gen);
    const DrawingPoint datum = datum_anywhere(gen);
    const std::string name = "part" + std::to_string(seed);
    write_project(dir.string(), name, part, datum, cycles);

    ScriptedPrompt prompt;
    ProjectModel model(prompt);
    ProjectReadOptions options;
    options.tell_prompt = false;
    std::string error;
    if (!ReadProjectFile(model, (dir / (name + ".tcf")).string(), options, &error))
        return "the project does not read: " + error;

    std::ostringstream out;
    const Region region = part.region();
    const double tol = 0.001 * part.scale;
    for (std::size_t i = 0; i < model.cycles.size(); ++i) {
        const TCanCycle& c = *model.cycles[i]->cycle;
        const bool groove = cycles[i].kind == CycleKind::Grooving;
        if (c.Moves.empty()) {
            out << "cycle " << i + 1 << " did not generate: " << c.LastError() << "\n";
            continue;
        }
        Findings found;
        check_gouges(moves_of(c), region, tol, 0.005 * part.scale, found,
                     groove ? cycles[i].tool_width : 0);
        if (!found.empty())
            out << "cycle " << i + 1 << " (kind " << static_cast<int>(cycles[i].kind) << ")\n"
                << found.joined(3);
    }
    for (const CycleFailure& f : model.AuditPaths())
        if (f.reason.find("enter") != std::string::npos)
            out << "the program's audit: cycle " << f.number << ": " << f.reason << "\n";
    const std::string text = out.str();
    if (text.empty()) return text;
    std::ostringstream head;
    head.precision(17);
    head << describe(part) << " datum (" << datum.x << ", " << datum.y << ")\n";
    return head.str() + text;
}

void sweep(PartKind kind, std::uint32_t first_seed) {
    const fs::path dir =
        fs::temp_directory_path() / ("zeran_datum_anywhere_" + std::to_string(::getpid()) + "_" +
                                     std::to_string(static_cast<int>(kind)));
    fs::create_directories(dir);
    std::vector<std::string> failures;
    for (int i = 0; i < kPartsPerKind; ++i) {
        const std::uint32_t seed = first_seed + static_cast<std::uint32_t>(i);
        const std::string found = check_part(make_part(kind, seed), seed, dir);
        if (!found.empty()) failures.push_back(found);
    }
    fs::remove_all(dir);
    EXPECT_TRUE(failures.empty()) << failures.size() << " of " << kPartsPerKind
                                  << " parts fail; the first:\n"
                                  << (failures.empty() ? "" : failures.front());
}

TEST(DatumAnywhere, ShaftsKeepTheirFeedsOutOfThePart) {
    sweep(PartKind::Shaft, 3000);
}

TEST(DatumAnywhere, BoresKeepTheirFeedsOutOfTheWall) {
    sweep(PartKind::Bore, 4000);
}

TEST(DatumAnywhere, FacesKeepTheirFeedsOutOfThePart) {
    sweep(PartKind::Face, 5000);
}

} // namespace
} // namespace zeran::verify
