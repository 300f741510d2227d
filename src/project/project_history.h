#pragma once
// The project document as a value and the list of its past values. Undo and
// redo move along the list; nothing derived from the document (clipped
// element lists, tool paths) is kept in it.
#include "cycles/cycle_params.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zeran {

class ProjectModel;

// Everything the project file holds, in the project file's own form (its
// elements named by group and position), plus the material record the file
// names only by name. The drawing itself is not part of it: it does not
// change while a history lasts.
struct ProjectDocument {
    std::string text;
    std::string material_file;
    std::string material_name;
    TCycleParams material;

    // The material record follows from its name; two documents that name the
    // same material hold the same one.
    bool operator==(const ProjectDocument& o) const {
        return text == o.text && material_file == o.material_file &&
               material_name == o.material_name;
    }
};

ProjectDocument capture_document(const ProjectModel& model);

class History {
public:
    static constexpr std::size_t kDepth = 500;

    // A fresh history whose one state is `start`, taken as saved or not.
    void reset(ProjectDocument start, bool saved);
    // A new state after the current one; any redo states are dropped.
    void push(std::string label, ProjectDocument document);
    // Like push, but a step right after another of the same `key` (typing
    // into one edit) replaces that step's state instead of adding one.
    void push_merged(std::string label, const std::string& key, ProjectDocument document);

    const ProjectDocument& current() const { return steps_[at_].document; }
    bool can_undo() const { return at_ > 0; }
    bool can_redo() const { return at_ + 1 < steps_.size(); }
    // The step an undo or redo would take back or again; "" when there is none.
    const std::string& undo_label() const;
    const std::string& redo_label() const;
    const ProjectDocument& undo();
    const ProjectDocument& redo();

    void mark_saved();
    // Differs from what was last saved or opened.
    bool modified() const;
    std::size_t size() const { return steps_.size(); }

private:
    struct Step {
        std::string label; // the edit that led to this state
        ProjectDocument document;
        std::string merge_key; // empty: never merged into
    };
    std::vector<Step> steps_;
    std::size_t at_ = 0;
    bool has_saved_ = false;
    ProjectDocument saved_;
};

} // namespace zeran
