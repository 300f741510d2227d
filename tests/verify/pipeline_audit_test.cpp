// Generated parts through the whole road: drawing and project files, the
// batch post to the LinuxCNC machine, LinuxCNC's interpreter, and the same
// geometric audit on what the interpreter would move.
#include "base/file_io.h"
#include "project_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zeran::verify {
namespace {

namespace fs = std::filesystem;

constexpr int kPipelineParts = 24;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TCycleParams base_params(const Part& part) {
    const double s = part.scale;
    TCycleParams p;
    p.Units = part.units;
    p.Feed = part.units == 1 ? 0.008 : 0.2;
    p.Speed = 1000;
    p.UseFPR = true;
    p.DepthCutX = 1.5 * s;
    p.DepthCutZ = 1.2 * s;
    p.RetractX = 0.5 * s;
    p.RetractZ = 0.5 * s;
    p.AllowanceX = 0.2 * s;
    p.AllowanceZ = 0.1 * s;
    p.Repeats = 3;
    p.PeckReturnX = 0.2 * s;
    return p;
}

std::vector<PlannedCycle> plan(const Part& part) {
    std::vector<PlannedCycle> out;
    const TCycleParams rough = base_params(part);
    TCycleParams finish = rough;
    finish.AllowanceX = finish.AllowanceZ = 0;
    const CycleKind first = part.kind == PartKind::Face ? CycleKind::AlongZ : CycleKind::AlongX;
    out.push_back({first, part.profile, part.start, rough, 1, 0.8 * part.scale});
    out.push_back({CycleKind::Finishing, part.profile, part.start, finish, 2, 0.4 * part.scale});
    for (const Groove& g : part.grooves) {
        if (!g.square || !part.tool_above) continue;
        TCycleParams p = rough;
        p.AllowanceX = p.AllowanceZ = 0;
        p.DepthCutX = 1 * part.scale;
        p.DepthCutZ = 1.5 * part.scale;
        const Pt top = g.pieces.front().a;
        out.push_back({CycleKind::Grooving,
                       g.pieces,
                       {top.x + 2 * part.scale, top.z + (part.tool_right ? 1 : -1) * part.scale},
                       p,
                       3,
                       2 * part.scale});
        break;
    }
    return out;
}

TEST(PipelineAudit, PostedProgramsRunInLinuxCncAndKeepOutOfThePart) {
    const fs::path zeran = fs::path(ZERAN_BINARY_DIR) / "src" / "app" / "zeran";
    const char* rs274 = "/usr/bin/rs274";
    if (!fs::exists(rs274)) GTEST_SKIP() << "rs274 (linuxcnc-uspace) is not installed";
    if (!fs::exists(zeran)) GTEST_SKIP() << "the zeran program is not built";
    const fs::path dir = fs::temp_directory_path() / ("zeran_verify_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "lathe.tbl") << "T1 P1 X0 Z0 D0.8\nT2 P2 X0 Z0 D0.4\nT3 P3 X0 Z0\n";
    const PartKind kinds[] = {PartKind::Shaft, PartKind::Shaft, PartKind::Bore, PartKind::Face};
    int checked = 0;
    for (int i = 0; i < kPipelineParts; ++i) {
        const Part part = make_part(kinds[i % 4], 1000 + i);
        SCOPED_TRACE(describe(part));
        const std::vector<PlannedCycle> cycles = plan(part);
        const std::string name = "part" + std::to_string(i);
        const DrawingPoint datum{i * 7.5 - 40, (i % 3) * 25.0};
        write_project(dir.string(), name, part, datum, cycles);
        const fs::path ngc = dir / (name + ".ngc");
        const std::string post = zeran.string() + " --post " + (dir / (name + ".tcf")).string() +
                                 " --machine \"LinuxCNC Lathe\" --output " + ngc.string() + " 2>" +
                                 (dir / "post.txt").string();
        ASSERT_EQ(std::system(post.c_str()), 0) << slurp(dir / "post.txt");
        const fs::path canon = dir / (name + ".txt");
        // rs274 keeps its tool data in $HOME/.tool.mmap: runs side by side need homes of their own.
        const int rc = std::system(("HOME='" + dir.string() + "' timeout 60 " + std::string(rs274) +
                                    " -g -t " + (dir / "lathe.tbl").string() + " " + ngc.string() +
                                    " >" + canon.string() + " 2>&1")
                                       .c_str());
        const std::string text = slurp(canon);
        ASSERT_EQ(rc, 0) << text.substr(0, 2000);
        for (const char* word : {"error", "Error", "differs"})
            ASSERT_EQ(text.find(word), std::string::npos) << word << "\n" << text.substr(0, 3000);

        std::vector<std::size_t> changes;
        const std::vector<Move> moves = read_canonical(text, changes);
        ASSERT_EQ(changes.size(), cycles.size());
        const Region region = part.region();
        const double tol = part.units == 1 ? 2e-4 : 0.002; // the post rounds inches to 4 places
        const double step = 0.005 * part.scale;
        for (std::size_t c = 0; c < cycles.size(); ++c) {
            // The cycle's own moves: from its first move to the next tool change.
            const std::size_t from = changes[c] + 1;
            const std::size_t to = c + 1 < changes.size() ? changes[c + 1] : moves.size();
            const std::vector<Move> own(moves.begin() + from, moves.begin() + to);
            Findings found;
            const bool groove = cycles[c].kind == CycleKind::Grooving;
            check_gouges(own, region, tol, step, found, groove ? cycles[c].tool_width : 0);
            check_arcs(own, tol, found);
            if (cycles[c].kind == CycleKind::AlongX && part.tool_above) {
                double lo = 1e300, hi = -1e300;
                Pt envelope{-1e300, part.tool_right ? -1e300 : 1e300};
                for (const Piece& p : part.profile) lo = std::min({lo, p.a.z, p.b.z});
                for (const Piece& p : part.profile) hi = std::max({hi, p.a.z, p.b.z});
                for (const Move& m : own) {
                    envelope.x = std::max(envelope.x, m.path.b.x);
                    envelope.z = part.tool_right ? std::max(envelope.z, m.path.b.z)
                                                 : std::min(envelope.z, m.path.b.z);
                }
                StockField stock(region, true, true, part.tool_right, lo, hi, envelope,
                                 0.02 * part.scale);
                check_rapids_in_stock(own, stock, tol * 10, step, found);
            }
            EXPECT_TRUE(found.empty()) << "cycle " << c + 1 << " of " << name << "\n"
                                       << found.joined();
        }
        ++checked;
    }
    EXPECT_EQ(checked, kPipelineParts);
    fs::remove_all(dir);
}

} // namespace
} // namespace zeran::verify
