#include "project/project_history.h"

#include "project/project_file.h"
#include "project/project_model.h"

namespace zeran {

ProjectDocument capture_document(const ProjectModel& model) {
    return {ProjectText(model), model.material_file, model.material_name, model.material};
}

void History::reset(ProjectDocument start, bool saved) {
    steps_.clear();
    steps_.push_back({std::string(), std::move(start), std::string()});
    at_ = 0;
    has_saved_ = saved;
    if (saved) saved_ = steps_.front().document;
}

void History::push(std::string label, ProjectDocument document) {
    if (steps_.empty()) {
        reset(std::move(document), false);
        return;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(at_) + 1, steps_.end());
    steps_.push_back({std::move(label), std::move(document), std::string()});
    if (steps_.size() > kDepth) steps_.erase(steps_.begin());
    at_ = steps_.size() - 1;
}

void History::push_merged(std::string label, const std::string& key, ProjectDocument document) {
    if (at_ > 0 && at_ + 1 == steps_.size() && !key.empty() && steps_[at_].merge_key == key) {
        steps_[at_].document = std::move(document);
        return;
    }
    push(std::move(label), std::move(document));
    steps_[at_].merge_key = key;
}

const std::string& History::undo_label() const {
    static const std::string none;
    return can_undo() ? steps_[at_].label : none;
}

const std::string& History::redo_label() const {
    static const std::string none;
    return can_redo() ? steps_[at_ + 1].label : none;
}

const ProjectDocument& History::undo() {
    if (can_undo()) --at_;
    return current();
}

const ProjectDocument& History::redo() {
    if (can_redo()) ++at_;
    return current();
}

void History::mark_saved() {
    has_saved_ = true;
    saved_ = current();
}

bool History::modified() const {
    return !has_saved_ || !(saved_ == current());
}

} // namespace zeran
