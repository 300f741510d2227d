#pragma once
// A cycle generated apart from the project from one node's profile, tool and
// parameters, for drawing that must leave the project as it is (the job
// sheet). A profile that runs towards its start point is turned round in the
// copy only, as preparing the project's own cycle would turn the profile.
#include "cycles/can_cycle.h"
#include "geometry/entity.h"

#include <memory>
#include <vector>

namespace zeran {

class ProjectModel;
struct CycleNode;

struct DetachedCycle {
    std::vector<std::unique_ptr<DXF_Entity>> elements; // the cycle's own element copies
    std::unique_ptr<TCanCycle> cycle;
    bool generated = false;
};

DetachedCycle generate_detached(const ProjectModel& model, const CycleNode& node);

} // namespace zeran
