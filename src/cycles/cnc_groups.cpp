#include "cycles/cnc_groups.h"

namespace zeran {

void TPersistent::Assign(const TPersistent& source) {
    source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& target) const {
    throw AssignError("Cannot assign a " + ClassName() + " to a " + target.ClassName());
}

void TCNC_Groups::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TCNC_Groups*>(&source)) {
        *this = *other;
        return;
    }
    TPersistent::Assign(source);
}

void TCNC_Groups::AssignTo(TPersistent& target) const {
    if (auto* other = dynamic_cast<TCNC_Groups*>(&target)) {
        *other = *this;
        return;
    }
    throw AssignError("Cannot assign a TCNC_Groups to a " + target.ClassName());
}

} // namespace zeran
