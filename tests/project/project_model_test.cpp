// The project model's operations: import steps with their questions, the
// cycle list, profile editing and change tracking.
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/picking_geometry.h"
#include "cycles/tool_control.h"
#include "geometry/dxf_object.h"
#include "geometry/point_entities.h"
#include "project/display_rounding.h"
#include "project/points_clipboard.h"
#include "project/points_cursor.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/project_session.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zeran {
namespace {

namespace fs = std::filesystem;

std::string line(double x1, double y1, double x2, double y2) {
    auto n = [](double v) { return std::to_string(v); };
    return "0\r\nLINE\r\n8\r\n0\r\n10\r\n" + n(x1) + "\r\n20\r\n" + n(y1) + "\r\n11\r\n" + n(x2) +
           "\r\n21\r\n" + n(y2) + "\r\n";
}

class ProjectModelTest : public ::testing::Test {
protected:
    std::string write_dxf(const std::string& entities) {
        const fs::path p =
            fs::temp_directory_path() / ("zeran_model_" + std::to_string(::getpid()) + ".dxf");
        std::ofstream(p, std::ios::binary) << "0\r\nSECTION\r\n2\r\nENTITIES\r\n"
                                           << entities << "0\r\nENDSEC\r\n0\r\nEOF\r\n";
        files.push_back(p);
        return p.string();
    }
    void TearDown() override {
        for (auto& f : files) fs::remove(f);
    }
    std::vector<fs::path> files;
    ScriptedPrompt prompt;
};

TEST_F(ProjectModelTest, ImportCleansConvertsAndBuildsTheTree) {
    // 8 by 3 with a circle and a text: small, so a metric project offers conversion.
    const std::string dxf =
        write_dxf(line(0, 0, 8, 0) + line(8, 0, 8, 3) +
                  "0\r\nCIRCLE\r\n8\r\n0\r\n10\r\n4\r\n20\r\n1.5\r\n40\r\n1\r\n" +
                  "0\r\nTEXT\r\n8\r\n0\r\n10\r\n1\r\n20\r\n1\r\n40\r\n1\r\n1\r\nhello\r\n");
    ProjectModel m(prompt);
    m.material.Units = 0;
    prompt.answers = {Answer::Yes};
    ASSERT_TRUE(m.ImportDxf(dxf));
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_EQ(prompt.asked.back(), "Convert imported elements to Metric units");
    EXPECT_NEAR(m.extents_max.x - m.extents_min.x, 203.2, 1e-9);
    EXPECT_NEAR(m.extents_max.y - m.extents_min.y, 76.2, 1e-9);
    EXPECT_TRUE(m.datum_set);
    EXPECT_EQ(m.datum_x, m.extents_min.x);
    EXPECT_EQ(m.material_name, "Inch");

    // The circle became two arcs, the text is gone, and layer "0" shows as Layer 1.
    std::vector<std::string> captions;
    for (auto* n : m.tree.nodes_in_order()) captions.push_back(n->caption);
    ASSERT_GE(captions.size(), 5u);
    EXPECT_EQ(captions[1], "Layer 1");
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "Lines"), 1);
    int arcs = 0;
    for (const auto& layer : m.drawing->layers())
        for (const auto& list : layer->entity_lists())
            for (const DXF_Entity* e : *list) {
                EXPECT_NE(e->class_name(), "Text_");
                EXPECT_NE(e->class_name(), "Circle_");
                if (const auto* a = dynamic_cast<const Arc_*>(e)) {
                    ++arcs;
                    EXPECT_NEAR(a->radius, 25.4, 1e-9);
                }
            }
    EXPECT_EQ(arcs, 2);

    // Declining leaves the drawing in its own units and the datum unset.
    ProjectModel n(prompt);
    prompt.answers = {Answer::No};
    ASSERT_TRUE(n.ImportDxf(dxf));
    EXPECT_FALSE(n.datum_set);
    EXPECT_NEAR(n.extents_max.x - n.extents_min.x, 8, 1e-9);
}

TEST_F(ProjectModelTest, DatumClipsAndUncheckingRemovesFromProfiles) {
    const std::string dxf =
        write_dxf(line(0, 10, -20, 10) + line(-20, 10, -20, 15) + line(-30, -5, 0, -5));
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));
    // Dragged there with the mouse, unsnapped: rounded as the edits step.
    m.BeginDatumDrag({12.345, 0.04, 0}, nullptr);
    m.EndDatumDrag({12.345, 0.04, 0}, DatumSnap::Off);
    EXPECT_EQ(m.datum_edit_x, 12.3);
    EXPECT_EQ(m.datum_edit_y, 0.0);
    // The line wholly below the datum line shows unchecked and is not selectable.
    auto nodes = m.tree.nodes_in_order();
    EXPECT_EQ(nodes[5]->state_index, kStateUnchecked);
    ASSERT_EQ(m.selection->count(), 1);
    EXPECT_EQ((*m.selection)[0]->count(), 2);

    CycleNode& c = m.AddCycle(CycleKind::Finishing);
    EXPECT_TRUE(m.AddToProfile(c, (*m.selection)[0]->at(0), false));
    EXPECT_TRUE(m.AddToProfile(c, (*m.selection)[0]->at(1), false));
    EXPECT_FALSE(m.AddToProfile(c, (*m.selection)[0]->at(1), false)) << "no element twice";
    EXPECT_EQ(c.profile_node.state_index, kStateComplete);
    // A datum move makes new copies; the items keep their names and find them.
    const ElementId first_id = c.points.items[0].id;
    const DXF_Entity* first_copy = c.points.items[0].element;
    EXPECT_TRUE(first_id.valid());
    m.SetDatumFromEdits(12.3, 0.5);
    ASSERT_EQ(c.points.count(), 2);
    EXPECT_EQ(c.points.items[0].id, first_id);
    EXPECT_NE(c.points.items[0].element, first_copy);
    EXPECT_EQ(m.IdOf(c.points.items[0].element), first_id);
    EXPECT_GE((*m.selection)[0]->index_of(c.points.items[0].element), 0);
    m.SetDatumFromEdits(12.3, 0);
    // The user's uncheck outlives a datum move; what the datum clipped away
    // comes back when the datum lets it. Neither is written into the drawing.
    m.ToggleElement(nodes[4]->entity);
    EXPECT_EQ(nodes[4]->state_index, kStateUnchecked);
    m.SetDatumFromEdits(12.3, -10);
    EXPECT_EQ(nodes[4]->state_index, kStateUnchecked) << "unchecked by the user";
    EXPECT_EQ(nodes[5]->state_index, kStateChecked) << "above the new axis";
    m.SetDatumFromEdits(12.3, 0);
    EXPECT_EQ((*m.selection)[0]->count(), 1);

    // Unchecking the layer takes its elements out of every profile.
    m.ToggleTreeNode(1);
    EXPECT_TRUE(c.points.empty());
    EXPECT_EQ(m.selection->count(), 0);
}

TEST_F(ProjectModelTest, DatumClippingKeepsWhatRisesAboveTheAxisAndOnlyProfileKinds) {
    // An arc whose ends both lie below the axis but whose top rises above it,
    // a point and a line.
    const std::string arc =
        "0\r\nARC\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n40\r\n5\r\n50\r\n-30\r\n51\r\n210\r\n";
    const std::string point = "0\r\nPOINT\r\n8\r\n0\r\n10\r\n1\r\n20\r\n1\r\n";
    const std::string dxf = write_dxf(arc + point + line(-10, 1, -20, 2));
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));
    m.SetDatumFromPoint({0, 0, 0});
    const Arc_* kept = nullptr;
    for (const auto& list : *m.selection)
        for (const DXF_Entity* e : *list) {
            EXPECT_NE(e->class_name(), "Point_") << "points are never profile elements";
            if (const auto* a = dynamic_cast<const Arc_*>(e)) kept = a;
        }
    ASSERT_NE(kept, nullptr) << "the top of the arc stays selectable";
    // Cut where it crosses the axis: from 0 round to 180 degrees.
    EXPECT_NEAR(kept->point_at(kept->start_angle).y, 0, 1e-9);
    EXPECT_NEAR(kept->point_at(kept->end_angle).y, 0, 1e-9);
    EXPECT_NEAR(kept->point_at((kept->start_angle + kept->end_angle + 2 * 3.14159265358979) / 2).y,
                5, 1e-6);
    for (auto* n : m.tree.nodes_in_order()) {
        if (n->entity && n->entity->class_name() == "Arc_") {
            EXPECT_EQ(n->state_index, kStateChecked);
        }
    }
}

TEST_F(ProjectModelTest, CycleListEditingAndChangeTracking) {
    ProjectModel m(prompt);
    CycleNode& a = m.AddCycle(CycleKind::AlongX);
    CycleNode& b = m.AddCycle(CycleKind::Finishing);
    CycleNode& c = m.AddCycle(CycleKind::Drilling);
    EXPECT_EQ(a.caption, "Roughing Along X");
    EXPECT_EQ(b.caption, "Finishing");
    EXPECT_EQ(b.kind(), CycleKind::Finishing);
    EXPECT_EQ(b.tool_node.caption, "Tool (#1)");
    EXPECT_EQ(b.state_index, kStateChecked);
    m.SetComment(a, "outside");
    EXPECT_EQ(a.caption, "Along X (outside)");
    m.SetComment(a, "");
    EXPECT_EQ(a.caption, "Along X");
    m.SetToolNumber(b, 40);
    EXPECT_EQ(b.tool->ToolNumber, 32);

    EXPECT_FALSE(m.CanMoveUp(a));
    EXPECT_FALSE(m.CanMoveDown(c));
    m.DropBefore(a, nullptr); // onto the footer: last
    EXPECT_EQ(m.cycles.back().get(), &a);
    m.MoveUp(a);
    EXPECT_EQ(m.cycles[1].get(), &a);

    m.ClearChangeFlags();
    EXPECT_FALSE(m.IsModified());
    m.cycles[1]->cycle->NeedsGenerate = true;
    EXPECT_TRUE(m.IsModified());
    m.cycles[1]->cycle->NeedsGenerate = false;
    EXPECT_TRUE(m.IsModified()) << "the stored flag stays set";
    m.DeleteCycle(b);
    EXPECT_EQ(m.cycles.size(), 2u);

    // Billet start: X from the radius when XSide, Z from the length unless ZSide.
    m.billet_edit_l = 100;
    m.billet_edit_r = 25;
    c.cycle->XSide = true;
    c.cycle->ZSide = true;
    m.ApplyUseBillet(c, true);
    EXPECT_EQ(c.params->StartX, 25);
    EXPECT_EQ(c.params->StartZ, 0);
    c.cycle->ZSide = false;
    m.ApplyUseBillet(c, true);
    EXPECT_EQ(c.params->StartZ, -100);

    // Units change with conversion.
    c.params->SetControl(ParamField::DepthCutZ, 2.54);
    prompt.answers = {Answer::Yes};
    m.SetUnits(Units::Inch, UnitsQuestion::Ask);
    EXPECT_DOUBLE_EQ(c.params->Control(ParamField::DepthCutZ), 0.1);

    EXPECT_EQ(RoundTo(10, 0.25), 0.2);
    EXPECT_EQ(RoundTo(10, 0.35), 0.4);
}

TEST_F(ProjectModelTest, PointsListCommands) {
    const std::string dxf =
        write_dxf(line(0, 1, 1, 1) + line(1, 1, 2, 1) + line(2, 1, 3, 1) + line(3, 1, 4, 1));
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(dxf));
    m.SetDatumFromPoint({0, 0, 0});
    CycleNode& c = m.AddCycle(CycleKind::Finishing);
    auto el = [&](int i) { return (*m.selection)[0]->at(static_cast<std::size_t>(i)); };
    PointsCursor at;
    m.AddToProfile(c, el(1), true, &at);
    EXPECT_EQ(at.focused, 0) << "an append focuses the new row";
    // The first item is focused: the before/after question puts the new one at the top.
    prompt.choices = {0};
    m.AddToProfile(c, el(0), true, &at);
    EXPECT_EQ(c.points.items[0].element, el(0));
    EXPECT_EQ(c.points.items[0].text.rfind("Line (X 0.0, Y 1.0) - (X 1.0, Y 1.0)", 0), 0u);

    // Inclusive: the chain from the focused item to the picked element.
    at.focused = 1;
    EXPECT_TRUE(m.AddAtCursor(c, at, el(3), AddType::Inclusive));
    ASSERT_EQ(c.points.count(), 4);
    EXPECT_EQ(c.points.items[3].element, el(3));

    // Copy two, paste them replacing the list.
    at.select(c.points.items[1].id);
    at.select(c.points.items[2].id);
    PointsClipboard clip;
    m.CopyPoints(c, at, clip);
    ASSERT_EQ(clip.size(), 2u);
    prompt.choices = {2};
    m.PastePoints(c, at, clip);
    EXPECT_EQ(at.selected_count(c.points), 0) << "pasted rows come unselected";
    ASSERT_EQ(c.points.count(), 2);
    EXPECT_EQ(c.points.items[0].element, el(1));

    // A drilling cycle takes only the first clipboard entry.
    CycleNode& d = m.AddCycle(CycleKind::Drilling);
    PointsCursor drill;
    m.PastePoints(d, drill, clip);
    EXPECT_EQ(d.points.count(), 1);
    EXPECT_TRUE(m.SingleElementFull(d));

    // Reversal keeps texts with their elements and skips the next preparation
    // once; a selected row stays selected where it went.
    const auto first = c.points.items[0];
    at.select(first.id);
    m.ReverseProfile(c);
    EXPECT_EQ(c.points.items[1].element, first.element);
    EXPECT_EQ(c.points.items[1].text, first.text);
    EXPECT_TRUE(m.skip_next_prepare);
    EXPECT_TRUE(at.is_selected(c.points.items[1].id));
    EXPECT_FALSE(at.is_selected(c.points.items[0].id));

    // Deleting the last item moves the focus onto the new last item.
    at.focused = 1;
    m.DeleteSelectedPoints(c, at);
    EXPECT_EQ(c.points.count(), 1);
    EXPECT_EQ(at.focused, 0);
    EXPECT_TRUE(at.selected.empty()) << "a deleted row's mark goes with it";
}

} // namespace
} // namespace zeran

namespace zeran {
namespace {

TEST(CurvedOutline, LightweightPolylineChainsAndMachinesLikeLinesAndArcs) {
    // Face, a fillet of radius 2 (a quarter: bulge tan 22.5°), the diameter
    // and the back face, drawn as one lightweight polyline.
    const fs::path p =
        fs::temp_directory_path() / ("zeran_outline_" + std::to_string(::getpid()) + ".dxf");
    std::ofstream(p, std::ios::binary)
        << "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\nPART\n90\n5\n70\n0\n"
           "10\n0\n20\n0\n10\n0\n20\n8\n42\n0.41421356237309503\n10\n-2\n20\n10\n"
           "10\n-30\n20\n10\n10\n-30\n20\n0\n0\nENDSEC\n0\nEOF\n";
    ScriptedPrompt prompt;
    ProjectModel m(prompt);
    ASSERT_TRUE(m.LoadDrawing(p.string(), CurveReading::Arcs));
    fs::remove(p);
    m.SetDatumFromPoint({0, 0, 0});

    DXF_Entity* face = nullptr;
    DXF_Entity* back = nullptr;
    for (int i = 0; i < m.selection->count(); ++i)
        for (DXF_Entity* e : *(*m.selection)[std::size_t(i)]) {
            const auto [a, b] = EntityEnds(*e);
            if (a == Point3D{0, 0, 0} && b == Point3D{0, 8, 0}) face = e;
            if (a == Point3D{-30, 10, 0} && b == Point3D{-30, 0, 0}) back = e;
        }
    ASSERT_NE(face, nullptr);
    ASSERT_NE(back, nullptr);
    // Picking a chain from the face to the back face runs through the fillet.
    const std::vector<DXF_Entity*> chain = ChainBetween(face, back, *m.selection, 0.01);
    ASSERT_EQ(chain.size(), 4u);
    EXPECT_EQ(chain[1]->class_name(), "Arc_");

    CycleNode& c = m.AddCycle(CycleKind::Finishing);
    for (DXF_Entity* e : chain) ASSERT_TRUE(m.AddToProfile(c, e, false));
    c.params->StartX = 15;
    c.params->StartZ = 5;
    c.params->SetControl(ParamField::Feed, 0.2);
    c.params->SetControl(ParamField::Speed, 1000);
    const TCanCycle& cycle = m.PrepareCycle(c, true);
    // The fillet reaches the profile as an arc about X 8, Z -2.
    int arcs = 0;
    for (const TCNC_Groups* r : cycle.ProfileMoves)
        if (r->IsArc()) {
            ++arcs;
            EXPECT_NEAR(r->Radius(), 2, 1e-9);
            EXPECT_NEAR(r->CentreX(), 8, 1e-9);
            EXPECT_NEAR(r->CentreZ(), -2, 1e-9);
        }
    EXPECT_EQ(arcs, 1) << cycle.FailReason;
}

TEST_F(ProjectModelTest, UseBilletStartsKeepTheirSideWhenTheBilletChanges) {
    // The bushing's bore roughing and its outside finishing both follow the
    // billet. A new billet once put every such start on the outside front
    // corner, which turned the bore cycle into an outside one.
    ProjectModel m(prompt);
    ASSERT_TRUE(ReadProjectFile(m, std::string(ZERAN_SOURCE_DIR) + "/examples/bushing.tcf"));
    CycleNode& bore = *m.cycles[2];
    CycleNode& outside = *m.cycles[4];
    ASSERT_FALSE(bore.cycle->XSide);
    ASSERT_TRUE(outside.cycle->XSide);
    m.ApplyUseBillet(bore, true);
    m.ApplyUseBillet(outside, true);
    settle_cycles(m);
    EXPECT_EQ(bore.params->StartX, 0.0);
    EXPECT_EQ(outside.params->StartX, m.billet_edit_r);

    m.SetBillet(60, 24);
    EXPECT_EQ(bore.params->StartX, 0.0);
    EXPECT_EQ(bore.params->StartZ, 0.0);
    EXPECT_EQ(outside.params->StartX, 24.0);
    EXPECT_EQ(outside.params->StartZ, 0.0);
    settle_cycles(m);
    EXPECT_FALSE(bore.cycle->XSide) << "the bore is still cut from inside";
    EXPECT_FALSE(bore.cycle->Moves.empty()) << bore.cycle->FailReason;

    // A cycle that never generated has no side yet: the outside front corner.
    CycleNode& fresh = m.AddCycle(CycleKind::Finishing);
    fresh.params->UseBillet = true;
    m.SetDatumFromEdits(m.datum_edit_x, m.datum_edit_y);
    EXPECT_EQ(fresh.params->StartX, 24.0);
    EXPECT_EQ(fresh.params->StartZ, 0.0);
}

} // namespace
} // namespace zeran
