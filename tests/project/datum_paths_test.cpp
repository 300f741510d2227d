// The datum that paths are generated from: a snapped or stored datum is used
// exactly, only a bare mouse position is rounded.
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zeran {
namespace {

namespace fs = std::filesystem;

// Where the drawing puts the part's face and axis: off any 0.1 grid.
constexpr double kFaceX = 103.182;
constexpr double kAxisY = 0.94;

std::string number(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

std::string line(double x1, double y1, double x2, double y2) {
    return "0\r\nLINE\r\n8\r\nPART\r\n10\r\n" + number(x1) + "\r\n20\r\n" + number(y1) +
           "\r\n11\r\n" + number(x2) + "\r\n21\r\n" + number(y2) + "\r\n";
}

// A stepped shaft from the face on the axis: diameter 20 for 20, a shoulder,
// diameter 30 for 20 and the back face down to the axis; a slanted line
// far from it has no key point near most pointer positions. Cycle X of drawing
// y is y - kAxisY, cycle Z of drawing x is x - kFaceX.
std::string shaft_drawing() {
    const double f = kFaceX, a = kAxisY;
    return "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + line(f, a, f, a + 10) +
           line(f, a + 10, f - 20, a + 10) + line(f - 20, a + 10, f - 20, a + 15) +
           line(f - 20, a + 15, f - 40, a + 15) + line(f - 40, a + 15, f - 40, a) +
           line(0, 50, 10, 60) + "0\r\nENDSEC\r\n0\r\nEOF\r\n";
}

class DatumPaths : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_datum_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        dxf = (dir / "shaft.dxf").string();
        std::ofstream(dxf, std::ios::binary) << shaft_drawing();
    }
    void TearDown() override { fs::remove_all(dir); }

    DXF_Entity* element(ProjectModel& m, std::size_t i) { return (*m.selection)[0]->at(i); }

    // A finishing cycle over the four outline elements of the shaft, from (18, 2).
    CycleNode& add_cycle(ProjectModel& m, CycleKind kind) {
        CycleNode& c = m.AddCycle(kind);
        for (std::size_t i = 0; i < 4; ++i) m.AddToProfile(c, element(m, i), false);
        c.tool->ToolWidth = 0.8;
        c.params->StartX = 18;
        c.params->StartZ = 2;
        c.params->SetControl(ParamField::Feed, 0.1);
        c.params->SetControl(ParamField::Speed, 1500);
        c.params->SetControl(ParamField::DepthCutX, 1.5);
        c.params->SetControl(ParamField::RetractX, 0.5);
        m.MarkCycleChanged(&c);
        return c;
    }

    fs::path dir;
    std::string dxf;
    ScriptedPrompt prompt;
};

// The distance of a cycle point from the shaft's outline.
double off_outline(CyclePoint p) {
    const auto seg = [&](double x1, double z1, double x2, double z2) {
        const double dx = x2 - x1, dz = z2 - z1;
        double t = ((p.X - x1) * dx + (p.Z - z1) * dz) / (dx * dx + dz * dz);
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p.X - (x1 + dx * t), p.Z - (z1 + dz * t));
    };
    return std::min(
        {seg(0, 0, 10, 0), seg(10, 0, 10, -20), seg(10, -20, 15, -20), seg(15, -20, 15, -40)});
}

TEST_F(DatumPaths, SnappedDatumIsExactAndTheFinishingPathLiesOnTheProfile) {
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));
    // A drag pressed without Ctrl, then held with Ctrl right over the face's
    // foot: the key point is taken, not the press point.
    m.BeginDatumDrag({kFaceX - 3, kAxisY + 3, 0}, nullptr);
    m.SetDatumFromPoint({kFaceX - 0.004, kAxisY + 0.003, 0}, element(m, 0), true);
    EXPECT_EQ(m.datum_x, kFaceX);
    EXPECT_EQ(m.datum_y, kAxisY);
    m.EndDatumDrag({kFaceX - 0.004, kAxisY + 0.003, 0}, DatumSnap::On);
    EXPECT_EQ(m.datum_x, kFaceX);
    // A Ctrl drag pressed near the face's foot snaps to it and stays there on release.
    const Point3D press{kFaceX - 0.04, kAxisY + 0.03, 0};
    m.BeginDatumDrag(press, element(m, 0));
    m.SetDatumFromPoint({kFaceX - 0.3, kAxisY + 0.4, 0}, element(m, 0), true);
    m.EndDatumDrag({kFaceX - 0.3, kAxisY + 0.4, 0}, DatumSnap::On);
    EXPECT_TRUE(m.datum_set);
    EXPECT_EQ(m.datum_x, kFaceX);
    EXPECT_EQ(m.datum_y, kAxisY);
    EXPECT_EQ(m.datum_edit_x, kFaceX) << "the edits hold what the paths use";
    EXPECT_EQ(m.datum_edit_y, kAxisY);

    CycleNode& finish = add_cycle(m, CycleKind::Finishing);
    TCanCycle& cycle = m.PrepareCycle(finish, true);
    ASSERT_FALSE(cycle.Moves.empty()) << cycle.LastError();
    EXPECT_EQ(cycle.Datum.x, kFaceX);
    // Every corner of the profile is reached within 0.001, and every feed
    // ends on the profile or beyond the part's largest radius (the lift-off).
    const CyclePoint corners[] = {{0, 0}, {10, 0}, {10, -20}, {15, -20}, {15, -40}};
    for (CyclePoint c : corners) {
        double nearest = 1e9;
        for (const TCNC_Groups* move : cycle.Moves)
            if (move->Motion() != kMotionRapid)
                nearest = std::min(nearest, std::hypot(move->X() - c.X, move->Z() - c.Z));
        EXPECT_LE(nearest, 0.001) << "corner X " << c.X << " Z " << c.Z;
    }
    for (const TCNC_Groups* move : cycle.Moves) {
        const CyclePoint p{move->X(), move->Z()};
        if (move->Motion() == kMotionRapid || p.X > 15 + 0.001) continue;
        EXPECT_LE(off_outline(p), 0.001) << "feed to X " << p.X << " Z " << p.Z;
    }
    // The audit agrees: nothing enters the part.
    EXPECT_TRUE(m.AuditPaths().empty()) << finish.params->PathReport;
    EXPECT_EQ(finish.params_node.state_index, kStateComplete);
}

TEST_F(DatumPaths, OnlyABareMousePositionIsRounded) {
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));
    // A Ctrl drag that never finds a key point keeps the press point, rounded.
    m.BeginDatumDrag({9.04, 51.06, 0}, element(m, 5));
    m.SetDatumFromPoint({9.5, 51.5, 0}, element(m, 5), true);
    m.EndDatumDrag({9.5, 51.5, 0}, DatumSnap::On);
    EXPECT_EQ(m.datum_x, 9.0);
    EXPECT_EQ(m.datum_y, 51.1);
    // A plain drag rounds to what the edits step in.
    m.BeginDatumDrag({12.345, 6.789, 0}, nullptr);
    m.EndDatumDrag({12.345, 6.789, 0}, DatumSnap::Off);
    EXPECT_EQ(m.datum_edit_x, 12.3);
    EXPECT_EQ(m.datum_edit_y, 6.8);
    EXPECT_EQ(m.datum_x, 12.3) << "what the paths use is what the edits show";
    // Typed values and points given outright are taken as they are.
    m.SetDatumFromEdits(kFaceX, kAxisY);
    EXPECT_EQ(m.datum_edit_x, kFaceX);
    m.SetDatumFromPoint({1.23456, 7.89012, 0});
    EXPECT_EQ(m.datum_edit_x, 1.23456);
    EXPECT_EQ(m.datum_edit_y, 7.89012);
}

} // namespace
} // namespace zeran
