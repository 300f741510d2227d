// Picking profiles without a window, on the shaft example: what the pointer
// over an element offers, adds and removals by a click as undoable steps, a
// groove's refusal of arcs and a full single-element list. The window's test
// drives the same through the mouse, with inclusive picks and the list's commands.
#include "geometry/entity.h"
#include "project/profile_pick_tool.h"
#include "shaft_session.h"

namespace zeran {
namespace {

class ProfilePickToolTest : public test::ShaftSession {
protected:
    // The shaft's outline: lines 0 to 10 in drawing order, one arc.
    DXF_Entity* line(std::size_t i) { return (*model.selection)[0]->at(i); }
    DXF_Entity* arc() { return (*model.selection)[1]->at(0); }
    CycleNode& new_cycle(CycleKind kind) {
        CycleNode* node = nullptr;
        session.apply("Add", {Change::CycleList},
                      [&](ProjectModel& m) { node = &m.AddCycle(kind); });
        session.selected = {CyclePart::Profile, node};
        return *node;
    }
    std::vector<const DXF_Entity*> listed(const CycleNode& node) {
        std::vector<const DXF_Entity*> out;
        for (const ProfileItem& item : node.points.items) out.push_back(item.element);
        return out;
    }

    ProfilePickTool pick{session};
};

TEST_F(ProfilePickToolTest, SingleAddsRemoveByClickAndUndoEach) {
    CycleNode& node = new_cycle(CycleKind::Finishing);
    const std::size_t steps = session.history().size();
    session.selected.part = CyclePart::Cycle;
    EXPECT_FALSE(pick.engaged()) << "only a Profile node picks";
    EXPECT_EQ(pick.hover(line(2)), PickCursor::Off);
    EXPECT_FALSE(pick.press(line(2)));
    session.selected.part = CyclePart::Profile;

    EXPECT_EQ(pick.hover(line(2)), PickCursor::Plus);
    EXPECT_EQ(pick.hover(nullptr), PickCursor::Plus);
    EXPECT_TRUE(pick.press(line(2)));
    EXPECT_TRUE(pick.press(line(3)));
    EXPECT_EQ(listed(node), (std::vector<const DXF_Entity*>{line(2), line(3)}));
    EXPECT_EQ(session.history().size(), steps + 2);
    EXPECT_EQ(session.history().undo_label(), "Add to Profile");
    EXPECT_EQ(node.profile_node.state_index, kStateComplete);

    // With the first item focused a single add asks before or after.
    session.cursor(node).focused = 0;
    prompt.choices = {0};
    EXPECT_TRUE(pick.press(line(1)));
    EXPECT_EQ(prompt.asked.back(),
              "Do you wish to insert the selected point in the list before or after the first "
              "item.");
    EXPECT_EQ(listed(node), (std::vector<const DXF_Entity*>{line(1), line(2), line(3)}));

    // Over a listed element the click takes it out.
    EXPECT_EQ(pick.hover(line(2)), PickCursor::Minus);
    EXPECT_EQ(session.cursor(node).tag, 1);
    EXPECT_TRUE(pick.press(line(2)));
    EXPECT_EQ(session.history().undo_label(), "Remove from Profile");
    EXPECT_EQ(listed(node), (std::vector<const DXF_Entity*>{line(1), line(3)}));
    EXPECT_EQ(pick.hover(line(2)), PickCursor::Plus);

    ASSERT_TRUE(session.undo());
    ASSERT_EQ(session.selected.node, model.cycles.back().get())
        << "the Profile node stays selected";
    EXPECT_EQ(model.cycles.back()->points.count(), 3);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(model.cycles.back()->points.count(), 2);
    ASSERT_TRUE(session.redo());
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(model.cycles.back()->points.count(), 2);
    EXPECT_TRUE(prompt.told.empty());
}

TEST_F(ProfilePickToolTest, GroovingRefusesArcsAndSingleElementListsFill) {
    CycleNode& groove = new_cycle(CycleKind::Grooving);
    EXPECT_EQ(pick.hover(arc()), PickCursor::Refuse);
    const std::size_t steps = session.history().size();
    EXPECT_FALSE(pick.press(arc()));
    EXPECT_EQ(prompt.told.size(), 1u);
    EXPECT_TRUE(groove.points.empty());
    EXPECT_EQ(session.history().size(), steps);
    EXPECT_EQ(pick.hover(line(4)), PickCursor::Plus);

    CycleNode& thread = new_cycle(CycleKind::Threading);
    EXPECT_TRUE(pick.press(line(2)));
    EXPECT_TRUE(model.SingleElementFull(thread));
    EXPECT_FALSE(model.AddTypeAvailable(thread));
    EXPECT_EQ(pick.hover(line(6)), PickCursor::Off) << "a full list takes nothing more";
    EXPECT_FALSE(pick.press(line(6)));
    EXPECT_EQ(listed(thread), (std::vector<const DXF_Entity*>{line(2)}));
    // Its one element can still be taken out, and the list takes another.
    EXPECT_EQ(pick.hover(line(2)), PickCursor::Minus);
    EXPECT_TRUE(pick.press(line(2)));
    EXPECT_TRUE(thread.points.empty());
    EXPECT_EQ(thread.profile_node.state_index, kStateIncomplete);
    EXPECT_EQ(pick.hover(line(6)), PickCursor::Plus);
}

} // namespace
} // namespace zeran
