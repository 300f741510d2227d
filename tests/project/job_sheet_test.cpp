// The job sheet's rules without a printer: orientation, the numbered list,
// the picture's window, lines laid out in columns and pages, and a picture
// that leaves the project exactly as it was.
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "ncout/gnc_writer.h"
#include "project/job_sheet.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/scene.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zeran {
namespace {

namespace fs = std::filesystem;

// Face, outside diameter, shoulder, larger diameter: a shaft end from Z 0 to -40.
const char* kDrawing =
    "0\r\nSECTION\r\n2\r\nENTITIES\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n0\r\n20\r\n0\r\n11\r\n0\r\n21\r\n10\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n0\r\n20\r\n10\r\n11\r\n-20\r\n21\r\n10\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n-20\r\n20\r\n10\r\n11\r\n-20\r\n21\r\n15\r\n"
    "0\r\nLINE\r\n8\r\nPART\r\n10\r\n-20\r\n20\r\n15\r\n11\r\n-40\r\n21\r\n15\r\n"
    "0\r\nENDSEC\r\n0\r\nEOF\r\n";

// Everything of a project that drawing could disturb, as one comparable text.
std::string snapshot(ProjectModel& m) {
    std::ostringstream s;
    s << m.IsModified() << m.post_allowed << m.skip_next_prepare << ' ' << m.datum_edit_x << ' '
      << m.datum_edit_y << ' ' << m.billet_edit_l << ' ' << m.billet_edit_r << '|';
    for (const auto& node : m.cycles) {
        s << node->caption << ' ' << node->state_index << ' ' << node->params_node.state_index
          << ' ' << node->cycle->NeedsGenerate << ' ' << node->cycle->Moves.size() << ' '
          << node->cycle->DrawScale << ' ' << node->params->Valid << ':';
        for (const ProfileItem& item : node->points.items) s << item.element << ',';
        s << '|';
    }
    return s.str();
}

class JobSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeran_sheet_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        dxf = (dir / "part.dxf").string();
        std::ofstream(dxf, std::ios::binary) << kDrawing;
    }
    void TearDown() override { fs::remove_all(dir); }

    CycleNode& add_cycle(ProjectModel& m, CycleKind kind, std::vector<int> elements,
                         double start_x) {
        CycleNode& node = m.AddCycle(kind);
        for (int i : elements)
            m.AddToProfile(node, (*m.selection)[0]->at(static_cast<std::size_t>(i)), false);
        node.tool->ToolNumber = 2;
        node.tool->ToolWidth = 0.8;
        node.params->StartX = start_x;
        node.params->StartZ = 2;
        node.params->SetControl(ParamField::Feed, 0.25);
        node.params->SetControl(ParamField::Speed, 1100);
        node.params->SetControl(ParamField::DepthCutX, 1.5);
        node.params->SetControl(ParamField::DepthCutZ, 1.5);
        node.params->SetControl(ParamField::RetractX, 0.5);
        node.params->SetControl(ParamField::RetractZ, 0.5);
        return node;
    }

    void load(ProjectModel& m) {
        ASSERT_TRUE(m.LoadDrawing(dxf));
        m.SetDatumFromPoint({0, 0, 0});
    }

    fs::path dir;
    std::string dxf;
    ScriptedPrompt prompt;
};

TEST_F(JobSheetTest, OrientationFollowsBilletElseDrawingShape) {
    ProjectModel m(prompt);
    m.extents_min = {0, 0, 0};
    m.extents_max = {300, 100, 0};
    EXPECT_EQ(sheet_orientation(m), SheetOrientation::Landscape);
    m.extents_max = {50, 120, 0};
    EXPECT_EQ(sheet_orientation(m), SheetOrientation::Portrait);
    // A square drawing is not taller than wide.
    m.extents_max = {100, 100, 0};
    EXPECT_EQ(sheet_orientation(m), SheetOrientation::Landscape);
    // The billet decides over the drawing's shape.
    m.extents_max = {50, 120, 0};
    m.billet_defined = true;
    m.billet_edit_l = 80;
    m.billet_edit_r = 20;
    EXPECT_EQ(sheet_orientation(m), SheetOrientation::Landscape);
    m.billet_edit_l = 20;
    EXPECT_EQ(sheet_orientation(m), SheetOrientation::Landscape);
    m.billet_edit_l = 10;
    EXPECT_EQ(sheet_orientation(m), SheetOrientation::Portrait);
}

TEST_F(JobSheetTest, ListNumbersEveryCycleAndShowsCheckedOnes) {
    ProjectModel m(prompt);
    load(m);
    CycleNode& finishing = add_cycle(m, CycleKind::Finishing, {1}, 18);
    m.SetComment(finishing, "OD");
    add_cycle(m, CycleKind::AlongX, {1, 2, 3}, 18).state_index = kStateUnchecked;
    add_cycle(m, CycleKind::Grooving, {2}, 18).tool->ToolNumber = 7;
    m.SetBillet(45, 17);
    m.header.header->Author = "A. Turner";

    const std::vector<std::string> lines = sheet_lines(m);
    const std::vector<std::string> expected = {"1 - Finishing (OD)",
                                               "    Tool #2",
                                               "3 - Grooving",
                                               "    Tool #7",
                                               "",
                                               "Billet - Radius=17 Length=45",
                                               "",
                                               "Author - A. Turner"};
    EXPECT_EQ(lines, expected);

    // A tool library names the tool; every fixed word goes through translation.
    m.settings.tool_library = {{"1 - Rougher 80", 0.8, 40}, {"2 - Finisher 35", 0.4, 40}};
    m.header.header->Author.clear();
    m.billet_defined = false;
    const auto upper = [](const std::string& s) {
        std::string u = s;
        std::transform(u.begin(), u.end(), u.begin(), ::toupper);
        return u;
    };
    const std::vector<std::string> translated = sheet_lines(m, upper);
    ASSERT_EQ(translated.size(), 4u);
    EXPECT_EQ(translated[0], "1 - FINISHING (OD)");
    EXPECT_EQ(translated[1], "    TOOL 2 - Finisher 35");
    EXPECT_EQ(translated[3], "    TOOL #7");
}

TEST_F(JobSheetTest, ToolLineGivesTheNoseRadiusAndWhoCompensates) {
    ProjectModel m(prompt);
    load(m);
    CycleNode& finishing = add_cycle(m, CycleKind::Finishing, {1}, 18);
    CycleNode& roughing = add_cycle(m, CycleKind::AlongX, {1}, 18);
    add_cycle(m, CycleKind::Grooving, {2}, 18);
    finishing.tool->NoseRadius = 0.4;
    finishing.params->SetControl(ParamField::Compensation,
                                 static_cast<double>(NoseCompensation::InControl));
    roughing.tool->NoseRadius = 0.8;
    const std::vector<std::string> lines = sheet_lines(m);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "    Tool #2, nose radius 0.4 mm, compensated in the control (G41/G42)");
    EXPECT_EQ(lines[3], "    Tool #2, nose radius 0.8 mm");
    EXPECT_EQ(lines[5], "    Tool #2") << "a sharp tip reads as before";
}

TEST_F(JobSheetTest, PictureTopAndWindow) {
    ProjectModel m(prompt);
    load(m);
    // No cycle: the drawing's top; a billet above it raises the top.
    EXPECT_DOUBLE_EQ(sheet_picture_top(m), 15);
    m.SetBillet(45, 17);
    EXPECT_DOUBLE_EQ(sheet_picture_top(m), 17);
    // A checked cycle's start point sets it; an unchecked one or one without a
    // start point does not.
    add_cycle(m, CycleKind::AlongX, {1}, 25);
    add_cycle(m, CycleKind::AlongX, {1}, 40).state_index = kStateUnchecked;
    add_cycle(m, CycleKind::AlongX, {1}, kNotSet);
    EXPECT_DOUBLE_EQ(sheet_picture_top(m), 25);
    // A start point inside the part does not cut the part off.
    m.cycles.front()->params->StartX = 5;
    EXPECT_DOUBLE_EQ(sheet_picture_top(m), 17);
    m.cycles.front()->params->StartX = 25;

    const SheetWindow w = sheet_window(m, 600, 400, 20);
    EXPECT_DOUBLE_EQ(w.origin_y, 25);
    EXPECT_GT(w.border, 0);
    // The billet is 45 long and the drawing 40 wide: centred on the drawing.
    EXPECT_DOUBLE_EQ(w.origin_x, -40 - 2.5);
    EXPECT_DOUBLE_EQ(w.width, 45 + 2 * w.border);
    EXPECT_DOUBLE_EQ(w.height, 25 - 0 + 2 * w.border);
    EXPECT_DOUBLE_EQ(w.scale, std::min(400 / w.width, 400 / w.height));
    // The window's top-left lands at the border, and the whole window inside the picture.
    EXPECT_EQ(
        sheet_map(w, w.origin_x, w.origin_y),
        (DevicePoint{int(std::lround(w.border * w.scale)), int(std::lround(w.border * w.scale))}));
    const DevicePoint far = sheet_map(w, w.origin_x + w.width - 2 * w.border, 0);
    EXPECT_LE(far.x, 400);
    EXPECT_LE(far.y, 400);
    // A border of 0 still leaves room for the title and two list lines.
    EXPECT_GE(sheet_page_margin(sheet_window(m, 600, 400, 0), 50), 90);
}

TEST_F(JobSheetTest, LinesFillColumnsOfPairsThenFurtherPages) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 40; ++i) {
        lines.push_back(std::to_string(i) + " - Roughing");
        lines.push_back("    Tool #1");
    }
    const SheetPage page{2480, 3508, 160, 50};
    const auto width = [](const std::string& s) { return int(s.size()) * 25; };
    const std::vector<PlacedLine> placed = place_sheet_lines(lines, page, width);
    ASSERT_EQ(placed.size(), lines.size());
    EXPECT_EQ(placed[0].page, 0);
    EXPECT_EQ(placed[0].x, 180);
    EXPECT_EQ(placed[0].y, 3508 - 320 + 40);
    int pages = 0;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const PlacedLine& l = placed[i];
        pages = std::max(pages, l.page + 1);
        // Every line stays on its page, inside the margins.
        EXPECT_LE(l.y + page.line_height, page.height) << i;
        EXPECT_LE(l.x + width(l.text), page.width) << i;
        // A cycle line and its tool line share a column.
        if (i % 2 == 1) {
            EXPECT_EQ(l.x, placed[i - 1].x) << i;
            EXPECT_EQ(l.page, placed[i - 1].page) << i;
        }
    }
    EXPECT_GE(pages, 2);
    // A continuation page starts under the title, in a long column.
    const auto next =
        std::find_if(placed.begin(), placed.end(), [](const PlacedLine& l) { return l.page == 1; });
    ASSERT_NE(next, placed.end());
    EXPECT_EQ(next->y, 10 + 2 * 50);
    EXPECT_GT(std::count_if(placed.begin(), placed.end(),
                            [&](const PlacedLine& l) { return l.page == 1 && l.x == next->x; }),
              10);

    // A short list fits one page.
    const std::vector<std::string> few(lines.begin(), lines.begin() + 4);
    for (const PlacedLine& l : place_sheet_lines(few, page, width)) EXPECT_EQ(l.page, 0);
}

TEST_F(JobSheetTest, PictureLeavesTheProjectAsItWas) {
    ProjectModel m(prompt);
    load(m);
    m.SetBillet(45, 17);
    // Picked from the far end: preparing it for the view turns the profile round.
    CycleNode& backwards = add_cycle(m, CycleKind::AlongX, {3, 2, 1}, 18);
    add_cycle(m, CycleKind::Finishing, {0, 1, 2, 3}, 18);
    add_cycle(m, CycleKind::AlongX, {1}, 18).state_index = kStateUnchecked;
    m.ClearChangeFlags();
    const std::string before = snapshot(m);

    RecordingCanvas canvas;
    CycleColours colours{0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const SheetWindow w = sheet_window(m, 620, 877, 20);
    draw_sheet_picture(m, canvas, w, 620, 877, colours, 10);
    EXPECT_EQ(snapshot(m), before);

    // The paths of both checked cycles are there: rapids and feeds in their colours.
    const auto count = [&](Colour c) {
        return std::count_if(canvas.calls.begin(), canvas.calls.end(), [&](const auto& call) {
            return call.op == "line" && call.colour == c;
        });
    };
    EXPECT_GT(count(colours[0]), 2);
    EXPECT_GT(count(colours[1]), 4);
    // The frame closes the picture, 3 pixels in, drawn last.
    ASSERT_FALSE(canvas.calls.empty());
    EXPECT_EQ(canvas.calls.back().op, "polygon");
    EXPECT_EQ(canvas.calls.back().points,
              (std::vector<DevicePoint>{{3, 3}, {617, 3}, {617, 874}, {3, 874}}));

    // Drawing for the view still prepares the project's own cycle, which turns
    // the backwards profile round; the sheet drew the same path from a copy.
    const DXF_Entity* first = backwards.points.items.front().element;
    m.PrepareCycle(backwards, true);
    EXPECT_NE(backwards.points.items.front().element, first);
}

TEST_F(JobSheetTest, ExamplesDrawWithoutChange) {
    for (const char* name : {"shaft.tcf", "bushing.tcf"}) {
        ProjectModel m(prompt);
        std::string error;
        ProjectReadOptions options;
        options.write_missing_tdx = false;
        ASSERT_TRUE(ReadProjectFile(m, std::string(ZERAN_SOURCE_DIR) + "/examples/" + name, options,
                                    &error))
            << error;
        const std::string before = snapshot(m);
        RecordingCanvas canvas;
        const SheetWindow w = sheet_window(m, 877, 620, 20);
        draw_sheet_picture(m, canvas, w, 877, 620, CycleColours{1, 2, 3, 4, 5, 6}, 10);
        EXPECT_EQ(snapshot(m), before) << name;
        // Elements, datum, billet and paths all land inside the picture.
        std::size_t inside = 0;
        for (const auto& call : canvas.calls)
            for (const DevicePoint& p : call.points)
                inside += p.x >= -1 && p.x <= 878 && p.y >= -1 && p.y <= 621;
        std::size_t all = 0;
        for (const auto& call : canvas.calls) all += call.points.size();
        EXPECT_GT(all, 50u) << name;
        EXPECT_GT(double(inside) / double(all), 0.95) << name;
    }
}

} // namespace
} // namespace zeran
