// The mouse tools without a window: a datum drag is one undoable step and
// Escape puts everything back, and so does a billet drag; a start point is
// placed by one click, rounded like the edits; the hover tool names the element under the
// pointer and never touches the document.
#include "cycles/param_controls.h"
#include "cycles/picking_geometry.h"
#include "geometry/entity.h"
#include "project/billet_start_tools.h"
#include "project/datum_drag_tool.h"
#include "project/element_lists.h"
#include "project/hover_tool.h"
#include "shaft_session.h"

namespace zeran {
namespace {

class ViewToolsTest : public test::ShaftSession {
protected:
    void SetUp() override {
        ShaftSession::SetUp();
        session.listen([this](const ChangeNote& note) { notes.push_back(note.what); });
    }
    std::vector<Change> notes;
};

TEST_F(ViewToolsTest, DatumDragIsOneStepAndEscapePutsItBack) {
    const double x0 = model.datum_x, y0 = model.datum_y;
    const std::string start = ProjectText(model);
    DatumDragTool drag(session);
    EXPECT_FALSE(drag.commit({0, 0, 0}, DatumSnap::Off)) << "no drag begun";

    drag.begin({x0 - 5, y0 + 2, 0}, nullptr);
    EXPECT_TRUE(drag.active());
    drag.move({x0 - 7, y0 + 2, 0}, nullptr);
    EXPECT_NE(model.datum_edit_x, x0) << "the datum follows the pointer";
    drag.cancel();
    EXPECT_FALSE(drag.active());
    EXPECT_EQ(model.datum_x, x0);
    EXPECT_EQ(model.datum_y, y0);
    EXPECT_EQ(ProjectText(model), start);
    EXPECT_FALSE(session.history().can_undo()) << "a cancelled drag records nothing";

    drag.begin({x0 - 5, y0 + 2, 0}, nullptr);
    drag.move({x0 - 6, y0 + 2, 0}, nullptr);
    drag.move({x0 - 8, y0 + 3, 0}, nullptr);
    notes.clear();
    EXPECT_TRUE(drag.commit({x0 - 8, y0 + 3, 0}, DatumSnap::Off));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front(), Change::DatumBillet);
    EXPECT_NEAR(model.datum_x, x0 - 8, 0.05);
    EXPECT_EQ(session.history().size(), 2u) << "three pointer positions, one step";
    EXPECT_EQ(session.history().undo_label(), "Move Datum");
    EXPECT_TRUE(model.IsModified());

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(model.datum_x, x0);
    EXPECT_EQ(ProjectText(model), start);
    EXPECT_FALSE(model.IsModified()) << "back at the opened state";
    ASSERT_TRUE(session.redo());
    EXPECT_NEAR(model.datum_x, x0 - 8, 0.05);
}

TEST_F(ViewToolsTest, HoverNamesTheNearestElementAndChangesNothing) {
    const std::string start = ProjectText(model);
    ASSERT_TRUE(model.selection);
    const DXF_Entity* some = (*model.selection)[0]->at(0);
    const Point3D on = some->start_point();
    HoverTool hover;
    EXPECT_TRUE(hover.move(on, model.selection.get()));
    EXPECT_EQ(hover.current(), NearestEntity(on, *model.selection));
    EXPECT_FALSE(hover.move(on, model.selection.get())) << "same element, no change";
    EXPECT_TRUE(hover.move(on, nullptr)) << "no lists, nothing under the pointer";
    EXPECT_EQ(hover.current(), nullptr);
    hover.move(on, model.selection.get());
    hover.forget();
    EXPECT_EQ(hover.current(), nullptr);
    EXPECT_EQ(ProjectText(model), start);
    EXPECT_TRUE(notes.empty());
}

TEST_F(ViewToolsTest, UndoKeepsTheSelectedCycleAndTheClipboard) {
    ASSERT_GE(model.cycles.size(), 2u);
    CycleNode& second = *model.cycles[1];
    ASSERT_FALSE(second.points.empty());
    session.selected = {CyclePart::Profile, &second};
    PointsCursor& at = session.cursor(second);
    at.select_all(second.points);
    model.CopyPoints(second, at, session.clipboard);
    const std::size_t copied = session.clipboard.size();
    ASSERT_GT(copied, 0u);
    session.apply("Set Comment", {Change::Cycle, 1},
                  [&](ProjectModel& m) { m.SetComment(second, "changed"); });
    ASSERT_TRUE(session.undo());
    // The cycle objects are new after an undo; the selection follows by place.
    ASSERT_EQ(session.selected.node, model.cycles[1].get());
    EXPECT_EQ(session.selected.part, CyclePart::Profile);
    ASSERT_EQ(session.clipboard.size(), copied);
    for (const ElementId id : session.clipboard.elements)
        EXPECT_TRUE(model.CopyOf(id)) << "the clipboard's elements are found among the live copies";
    // A datum move renews every copy; a paste finds them still.
    session.apply("Move Datum", {Change::DatumBillet}, [&](ProjectModel& m) {
        m.SetDatumFromEdits(m.datum_edit_x + 1, m.datum_edit_y);
    });
    CycleNode& first = *model.cycles[0];
    const int before = first.points.count();
    PointsCursor& to = session.cursor(first);
    prompt.choices = {0};
    session.apply("Paste Points", {Change::Cycle, 0},
                  [&](ProjectModel& m) { m.PastePoints(first, to, session.clipboard); });
    EXPECT_GT(first.points.count(), before);
    for (const ProfileItem& item : first.points.items)
        EXPECT_FALSE(MakeEntityRef(model, item.element).empty());
}

TEST_F(ViewToolsTest, BilletDragIsOneRoundedStepAndEscapePutsItBack) {
    ASSERT_TRUE(model.datum_set);
    const double x0 = model.datum_edit_x, y0 = model.datum_edit_y;
    const std::string start = ProjectText(model);
    BilletDragTool drag(session);
    EXPECT_FALSE(drag.commit({x0 - 60, y0 + 25, 0})) << "no drag begun";

    drag.begin({x0 - 10, y0 + 5, 0});
    drag.move({x0 - 30, y0 + 9, 0});
    EXPECT_DOUBLE_EQ(model.billet_edit_l, 30);
    drag.cancel();
    EXPECT_EQ(ProjectText(model), start);
    EXPECT_FALSE(session.history().can_undo());

    // A bare mouse position is rounded to the metric edits' tenth.
    drag.begin({x0 - 10, y0 + 5, 0});
    EXPECT_TRUE(drag.commit({x0 - 60.04, y0 + 25.06, 0}));
    EXPECT_FALSE(drag.active());
    EXPECT_NEAR(model.billet_edit_l, 60.0, 1e-9);
    EXPECT_NEAR(model.billet_edit_r, 25.1, 1e-9);
    EXPECT_TRUE(model.billet_defined);
    EXPECT_EQ(session.history().undo_label(), "Move Billet");
    const std::string placed = ProjectText(model);
    EXPECT_NE(placed, start) << "the header holds the billet";
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(ProjectText(model), start);
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(ProjectText(model), placed);
}

TEST_F(ViewToolsTest, StartPointIsPlacedRelativeToTheDatumInOneStep) {
    ASSERT_FALSE(model.cycles.empty());
    CycleNode& node = *model.cycles.front();
    const double x0 = model.datum_edit_x, y0 = model.datum_edit_y;
    StartPointTool tool(session);
    EXPECT_TRUE(tool.place(node, {x0 + 30.04, y0 + 25.06, 0}));
    EXPECT_NEAR(node.params->StartX, 25.1, 1e-9) << "X is the radius above the datum";
    EXPECT_NEAR(node.params->StartZ, 30.0, 1e-9);
    EXPECT_EQ(session.history().undo_label(), "Place Start Point");
    ASSERT_TRUE(session.undo());
    EXPECT_FALSE(session.history().can_undo());

    // A node no longer in the list is refused rather than written into.
    CycleNode stray;
    EXPECT_FALSE(tool.place(stray, {x0, y0, 0}));
    EXPECT_FALSE(session.history().can_undo());
}

} // namespace
} // namespace zeran
