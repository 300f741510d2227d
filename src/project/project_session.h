#pragma once
// The open project as the window edits it: the model, the history of its
// document and the one change notification. Every edit is a named command
// applied here; undo and redo put an earlier or later document back.
#include "project/cycle_nodes.h"
#include "project/points_clipboard.h"
#include "project/points_cursor.h"
#include "project/project_history.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zeran {

class ProjectModel;

// What an edit or an undo changed; listeners refresh what shows it.
enum class Change {
    Document, // replaced as a whole: open, new, import, undo, redo
    Drawing,  // the drawing's element choices (tree check states)
    CycleList,
    Cycle,
    DatumBillet,
    Header,
};

struct ChangeNote {
    Change what = Change::Document;
    // The cycle a Cycle change concerns, counted from 0; -1 for none.
    int cycle = -1;
    // Typed into an edit: one step for the whole typing, not one per key.
    bool typing = false;
};

class ProjectSession {
public:
    explicit ProjectSession(ProjectModel& model);

    ProjectModel& model() { return model_; }
    const History& history() const { return history_; }

    // Open, new and import: the model holds a new project; the history starts
    // over from it, saved unless the model says it changed while loading.
    void start_fresh();

    // Applies `edit` to the model as one undoable step named `label`. Any
    // turning round of a profile its generation asks for happens here, as
    // part of the step. A step that leaves the document as it was is not
    // recorded. True when the document changed.
    bool apply(const std::string& label, ChangeNote note,
               const std::function<void(ProjectModel&)>& edit);
    // Records what was done to the model already (the end of a mouse drag).
    bool commit(const std::string& label, ChangeNote note);
    // Puts back the last recorded document (a drag cancelled).
    void revert();

    bool undo();
    bool redo();

    // The model's own change flag follows the history: set by a recorded
    // step, and after undo or redo set exactly when the document differs
    // from the saved one.
    // After a save: the current document is the saved one.
    void mark_saved();
    bool modified() const { return history_.modified(); }

    // The node of the cycle list the window has selected: no part of the
    // project. It follows its cycle through moves, and undo and redo keep
    // its place in the list; a cycle that went leaves the header selected.
    CycleSelection selected{CyclePart::Header, nullptr};
    // Where the window's points list of `node` stands. A list first shown is
    // focused on its last row, where new picks go.
    PointsCursor& cursor(const CycleNode& node);
    // What the points lists cut or copied; a new drawing empties it.
    PointsClipboard clipboard;

    using Listener = std::function<void(const ChangeNote&)>;
    void listen(Listener listener) { listeners_.push_back(std::move(listener)); }

private:
    // Generates every cycle whose inputs changed, turning profiles round where
    // their generation asks for it, so that drawing later changes nothing.
    void settle();
    bool restore(const ProjectDocument& document);
    // The selection after an edit or a replaced document: a gone cycle leaves
    // the header. Cursors of gone cycles go; the others forget gone rows.
    void keep_selection_valid(const ChangeNote& note);
    void notify(const ChangeNote& note);

    ProjectModel& model_;
    History history_;
    std::vector<Listener> listeners_;
    std::map<const CycleNode*, PointsCursor> cursors_;
};

// Generates the cycles of `model` that need it, the way reading a project
// does: a profile its generation turns round is generated once more. Posting
// is allowed afterwards when every enabled cycle has its path.
void settle_cycles(ProjectModel& model);

} // namespace zeran
