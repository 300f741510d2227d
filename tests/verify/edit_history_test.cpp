// Random edits of real projects through the session: undoing them all gives
// the starting document back, redoing them all the end one; the end document
// saves and reads back as itself; drawing the scene and posting change nothing.
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "geometry/test_mapper.h"
#include "ncout/gnc_writer.h"
#include "project/element_lists.h"
#include "project/post_job.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/project_session.h"
#include "project/scene.h"
#include "project_files.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>

namespace zeran::verify {
namespace {

namespace fs = std::filesystem;

constexpr int kSequences = 1000;
constexpr int kSteps = 50;

int pick(std::mt19937& gen, int count) {
    return std::uniform_int_distribution<>(0, count - 1)(gen);
}

// A random selectable element of the model's clipped lists, or null.
DXF_Entity* random_element(const ProjectModel& m, std::mt19937& gen) {
    if (!m.selection || m.selection->count() == 0) return nullptr;
    const int group = pick(gen, m.selection->count());
    for (int position = 0; position < 1000; ++position)
        if (!element_at(m.selection.get(), group, position + 1)) {
            if (position == 0) return nullptr;
            return element_at(m.selection.get(), group, pick(gen, position));
        }
    return nullptr;
}

CycleNode* random_cycle(ProjectModel& m, std::mt19937& gen) {
    if (m.cycles.empty()) return nullptr;
    return m.cycles[static_cast<std::size_t>(pick(gen, static_cast<int>(m.cycles.size())))].get();
}

// One random edit as the window would make it, applied through the session.
void random_edit(ProjectSession& session, std::mt19937& gen) {
    ProjectModel& m = session.model();
    CycleNode* node = random_cycle(m, gen);
    const double r = std::uniform_real_distribution<>(-20, 20)(gen);
    switch (pick(gen, 14)) {
    case 0:
        session.apply("Add Cycle", {Change::CycleList}, [&](ProjectModel& p) {
            session.selected = {CyclePart::Cycle,
                                &p.AddCycle(static_cast<CycleKind>(pick(gen, kCycleKindCount)))};
        });
        return;
    case 1:
        if (node)
            session.apply("Delete Cycle", {Change::CycleList}, [&](ProjectModel& p) {
                p.DeleteCycle(*node);
                session.selected = {CyclePart::Header, nullptr};
            });
        return;
    case 2:
        if (node && m.CanMoveUp(*node))
            session.apply("Move Cycle Up", {Change::CycleList},
                          [&](ProjectModel& p) { p.MoveUp(*node); });
        return;
    case 3:
        if (node && m.CanMoveDown(*node))
            session.apply("Move Cycle Down", {Change::CycleList},
                          [&](ProjectModel& p) { p.MoveDown(*node); });
        return;
    case 4:
        if (node)
            session.apply("Enable Cycle", {Change::Cycle}, [&](ProjectModel& p) {
                node->state_index =
                    node->state_index == kStateChecked ? kStateUnchecked : kStateChecked;
                p.MarkCycleChanged(node);
            });
        return;
    case 5:
        if (node)
            session.apply("Add Element", {Change::Cycle}, [&](ProjectModel& p) {
                p.AddToProfile(*node, random_element(p, gen), false);
            });
        return;
    case 6:
        if (node && !node->points.empty())
            session.apply("Delete Points", {Change::Cycle}, [&](ProjectModel& p) {
                PointsCursor& at = session.cursor(*node);
                const int row = pick(gen, node->points.count());
                at.select(node->points.items[static_cast<std::size_t>(row)].id);
                at.focused = row;
                p.DeleteSelectedPoints(*node, at);
            });
        return;
    case 7:
        if (node)
            session.apply("Reverse Profile", {Change::Cycle},
                          [&](ProjectModel& p) { p.ReverseProfile(*node); });
        return;
    case 8:
        if (node)
            session.apply("Set Tool", {Change::Cycle},
                          [&](ProjectModel& p) { p.SetToolNumber(*node, 1 + pick(gen, 12)); });
        return;
    case 9:
        if (node)
            session.apply("Set Comment", {Change::Cycle}, [&](ProjectModel& p) {
                p.SetComment(*node, "c" + std::to_string(pick(gen, 100)));
            });
        return;
    case 10:
        if (node)
            session.apply("Set Start Point", {Change::Cycle}, [&](ProjectModel& p) {
                p.SetStartPoint(*node, node->params->StartX + r, node->params->StartZ - r);
            });
        return;
    case 11:
        session.apply("Set Datum", {Change::DatumBillet}, [&](ProjectModel& p) {
            p.SetDatumFromEdits(p.datum_edit_x + r / 10, p.datum_edit_y);
        });
        return;
    case 12:
        session.apply("Set Billet", {Change::DatumBillet},
                      [&](ProjectModel& p) { p.SetBillet(std::abs(r) * 5 + 1, std::abs(r) + 1); });
        return;
    case 13: {
        const int nodes = static_cast<int>(tree_nodes(m.tree).size());
        if (nodes > 1)
            session.apply("Check Tree Node", {Change::Drawing},
                          [&](ProjectModel& p) { p.ToggleTreeNode(1 + pick(gen, nodes - 1)); });
        return;
    }
    }
}

// Paints the whole scene the way the view does, and posts; the cycles that
// could not be posted.
std::vector<CycleFailure> draw_and_post(ProjectModel& m, CycleNode* current) {
    RecordingCanvas canvas;
    const SceneMapping mapping{TestMapper{}, 800, 600, 1.0};
    const CycleSource prepared = [](CycleNode& node) -> TCanCycle* {
        TCanCycle& cycle = *node.cycle;
        return !cycle.NeedsGenerate && cycle.CanGenerate() ? &cycle : nullptr;
    };
    SceneOptions options;
    options.show_direction = true;
    if (current && m.cycle_index(current) >= 0) options.current = current;
    draw_scene(m, {canvas, canvas, nullptr}, mapping, options, prepared);
    TGNCOutput writer;
    return fill_gnc_writer(m, writer);
}

std::vector<PlannedCycle> simple_plan(const Part& part) {
    TCycleParams p;
    p.Units = part.units;
    p.Feed = 0.2 * part.scale;
    p.Speed = 1000;
    p.DepthCutX = p.DepthCutZ = 1 * part.scale;
    p.RetractX = p.RetractZ = 0.5 * part.scale;
    p.AllowanceX = p.AllowanceZ = 0.1 * part.scale;
    p.Repeats = 2;
    const CycleKind rough = part.kind == PartKind::Face ? CycleKind::AlongZ : CycleKind::AlongX;
    TCycleParams fin = p;
    fin.AllowanceX = fin.AllowanceZ = 0;
    return {{rough, part.profile, part.start, p, 1, 0.8 * part.scale},
            {CycleKind::Finishing, part.profile, part.start, fin, 2, 0.8 * part.scale}};
}

// The project files the sequences start from: the examples and generated parts.
std::vector<std::string> starting_projects(const fs::path& dir) {
    std::vector<std::string> files;
    for (const char* name : {"shaft.tcf", "bushing.tcf"}) {
        fs::copy_file(fs::path(ZERAN_SOURCE_DIR) / "examples" / name, dir / name);
        const std::string dxf = fs::path(name).replace_extension(".dxf").string();
        fs::copy_file(fs::path(ZERAN_SOURCE_DIR) / "examples" / dxf, dir / dxf);
        files.push_back((dir / name).string());
    }
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        const Part part = make_part(static_cast<PartKind>(seed % 3), seed);
        const std::string name = "part" + std::to_string(seed);
        write_project(dir.string(), name, part, {3.25, -1.5}, simple_plan(part));
        files.push_back((dir / (name + ".tcf")).string());
    }
    return files;
}

std::string check_sequence(const std::string& file, std::uint32_t seed, const fs::path& dir,
                           std::size_t& recorded) {
    ScriptedPrompt prompt;
    ProjectModel model(prompt);
    ProjectReadOptions options;
    options.tell_prompt = false;
    options.write_missing_tdx = false;
    if (!ReadProjectFile(model, file, options)) return "does not read";
    ProjectSession session(model);
    session.start_fresh();
    const ProjectDocument start = session.history().current();
    if (!(capture_document(model) == start)) return "opening is not settled";

    std::mt19937 gen(seed);
    std::ostringstream out;
    for (int step = 0; step < kSteps; ++step) {
        random_edit(session, gen);
        if (!(capture_document(model) == session.history().current()))
            out << "step " << step << " left the model unlike its recorded document\n";
    }
    const ProjectDocument end = session.history().current();
    recorded += session.history().size() - 1;

    const bool allowed = model.post_allowed;
    bool any_enabled = false;
    for (const auto& node : model.cycles) any_enabled = any_enabled || node->checked();
    const std::vector<CycleFailure> failures = draw_and_post(model, session.selected.node);
    if (!(capture_document(model) == end)) out << "drawing or posting changed the document\n";
    if (allowed != (any_enabled && failures.empty()))
        out << "posting is " << (allowed ? "" : "not ") << "allowed, but " << failures.size()
            << " enabled cycles fail\n";

    const std::string saved = (dir / ("saved" + std::to_string(seed) + ".tcf")).string();
    WriteProjectFile(model, saved);
    ProjectModel back(prompt);
    back.copy_settings_from(model);
    if (!ReadProjectFile(back, saved, options))
        out << "the saved project does not read\n";
    else if (ProjectText(back) != end.text)
        out << "the saved project reads back otherwise\n";

    while (session.undo()) {
    }
    if (!(capture_document(model) == start)) out << "undoing all does not give the start\n";
    while (session.redo()) {
    }
    if (!(capture_document(model) == end)) out << "redoing all does not give the end\n";
    const std::string found = out.str();
    return found.empty() ? found
                         : fs::path(file).filename().string() + " seed " + std::to_string(seed) +
                               ":\n" + found;
}

TEST(EditHistory, RandomEditsUndoRedoSaveAndDrawingAreFaithful) {
    const fs::path dir =
        fs::temp_directory_path() / ("zeran_edit_history_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::vector<std::string> files = starting_projects(dir);
    int failures = 0;
    std::size_t recorded = 0;
    for (int i = 0; i < kSequences && failures < 5; ++i) {
        const std::string found = check_sequence(files[static_cast<std::size_t>(i) % files.size()],
                                                 static_cast<std::uint32_t>(i + 1), dir, recorded);
        if (!found.empty()) {
            ADD_FAILURE() << found;
            ++failures;
        }
    }
    // Most random edits change the document; a sequence that records none tests nothing.
    EXPECT_GT(recorded, static_cast<std::size_t>(kSequences * kSteps / 2));
    std::cout << recorded << " steps recorded\n";
    fs::remove_all(dir);
}

TEST(EditHistory, UnchangedStepsAreNotRecordedAndTheSavedStateIsNotModified) {
    History history;
    ProjectDocument a{"a", "", "", {}};
    ProjectDocument b{"b", "", "", {}};
    history.reset(a, true);
    EXPECT_FALSE(history.modified());
    history.push("Edit", b);
    EXPECT_TRUE(history.modified());
    EXPECT_EQ(history.undo_label(), "Edit");
    history.undo();
    EXPECT_FALSE(history.modified()) << "back at the saved state";
    EXPECT_EQ(history.redo_label(), "Edit");
    history.redo();
    history.mark_saved();
    EXPECT_FALSE(history.modified());
    history.undo();
    EXPECT_TRUE(history.modified());
    // A new step drops the redo states.
    history.push("Other", b);
    EXPECT_FALSE(history.can_redo());
    for (int i = 0; i < 600; ++i) history.push("Step", {std::to_string(i), "", "", {}});
    EXPECT_EQ(history.size(), History::kDepth);
    int undos = 0;
    while (history.can_undo()) {
        history.undo();
        ++undos;
    }
    EXPECT_GE(undos, 200);
}

TEST(EditHistory, TypingIntoOneEditIsOneStep) {
    History history;
    history.reset({"0", "", "", {}}, true);
    for (const char* typed : {"1", "1.", "1.5"})
        history.push_merged("Set Comment", "Set Comment#2", {typed, "", "", {}});
    EXPECT_EQ(history.size(), 2u);
    EXPECT_EQ(history.current().text, "1.5");
    // Another cycle's edit is a step of its own.
    history.push_merged("Set Comment", "Set Comment#3", {"x", "", "", {}});
    EXPECT_EQ(history.size(), 3u);
    // After an undo the typing starts a new step instead of rewriting an old one.
    history.undo();
    history.push_merged("Set Comment", "Set Comment#2", {"2", "", "", {}});
    EXPECT_EQ(history.size(), 3u);
    history.undo();
    EXPECT_EQ(history.current().text, "1.5");
}

} // namespace
} // namespace zeran::verify
