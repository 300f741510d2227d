#include "project/project_session.h"

#include "cycles/can_cycle.h"
#include "project/project_file.h"
#include "project/project_model.h"

namespace zeran {

void settle_cycles(ProjectModel& model) {
    bool any_enabled = false;
    bool all_generate = true;
    for (auto& node : model.cycles) {
        if (!node->cycle->NeedsGenerate) continue;
        model.skip_next_prepare = false;
        model.PrepareCycle(*node, true);
        if (model.skip_next_prepare) {
            model.skip_next_prepare = false;
            model.PrepareCycle(*node, true);
            model.skip_next_prepare = false;
        }
    }
    // Posting needs every enabled cycle generated, whichever was prepared last.
    for (const auto& node : model.cycles) {
        if (!node->checked()) continue;
        any_enabled = true;
        all_generate = all_generate && !node->cycle->NeedsGenerate && !node->cycle->Moves.empty();
    }
    model.post_allowed = any_enabled && all_generate;
}

ProjectSession::ProjectSession(ProjectModel& model) : model_(model) {
    history_.reset(capture_document(model_), true);
}

void ProjectSession::start_fresh() {
    // The drawing may be another: what was cut or copied named the old one.
    clipboard = {};
    settle();
    keep_selection_valid({Change::Document, -1});
    history_.reset(capture_document(model_), !model_.IsModified());
    notify({Change::Document, -1});
}

void ProjectSession::settle() {
    settle_cycles(model_);
}

bool ProjectSession::apply(const std::string& label, ChangeNote note,
                           const std::function<void(ProjectModel&)>& edit) {
    edit(model_);
    return commit(label, note);
}

bool ProjectSession::commit(const std::string& label, ChangeNote note) {
    settle();
    keep_selection_valid(note);
    ProjectDocument now = capture_document(model_);
    const bool changed = !(now == history_.current());
    if (changed) {
        if (note.typing)
            history_.push_merged(label, label + "#" + std::to_string(note.cycle), std::move(now));
        else
            history_.push(label, std::move(now));
        model_.SetModified(true);
    }
    notify(note);
    return changed;
}

void ProjectSession::revert() {
    restore(history_.current());
    notify({Change::Document, -1});
}

bool ProjectSession::restore(const ProjectDocument& document) {
    // The selection is no part of the document; it keeps its place where the
    // restored document still has it. The clipboard names drawing elements,
    // which the exchange keeps.
    const int index = model_.cycle_index(selected.node);
    const CyclePart part = selected.part;

    std::string error;
    if (!RestoreProjectText(model_, document.text, &error)) return false;
    model_.material_file = document.material_file;
    model_.material_name = document.material_name;
    model_.material = document.material;
    settle();

    if (index >= 0 && index < static_cast<int>(model_.cycles.size()))
        selected = {part, model_.cycles[static_cast<std::size_t>(index)].get()};
    else
        selected = {part == CyclePart::Footer ? CyclePart::Footer : CyclePart::Header, nullptr};
    // The cycles are new objects: their lists start over.
    cursors_.clear();
    model_.ClearChangeFlags();
    model_.SetModified(history_.modified());
    return true;
}

bool ProjectSession::undo() {
    if (!history_.can_undo()) return false;
    // A document that no longer fits the drawing stays where it was.
    if (!restore(history_.undo())) history_.redo();
    notify({Change::Document, -1});
    return true;
}

bool ProjectSession::redo() {
    if (!history_.can_redo()) return false;
    if (!restore(history_.redo())) history_.undo();
    notify({Change::Document, -1});
    return true;
}

void ProjectSession::keep_selection_valid(const ChangeNote& note) {
    if (selected.node && model_.cycle_index(selected.node) < 0)
        selected = {CyclePart::Header, nullptr};
    if (selected.part == CyclePart::None) selected.part = CyclePart::Header;
    if (note.what == Change::Document) {
        cursors_.clear();
        return;
    }
    for (auto it = cursors_.begin(); it != cursors_.end();) {
        if (model_.cycle_index(it->first) < 0) {
            it = cursors_.erase(it);
            continue;
        }
        it->second.fit(it->first->points);
        ++it;
    }
}

PointsCursor& ProjectSession::cursor(const CycleNode& node) {
    auto [it, made] = cursors_.try_emplace(&node);
    if (made) it->second.focused = it->second.tag = node.points.count() - 1;
    return it->second;
}

void ProjectSession::mark_saved() {
    history_.mark_saved();
}

void ProjectSession::notify(const ChangeNote& note) {
    for (const Listener& listener : listeners_) listener(note);
}

} // namespace zeran
