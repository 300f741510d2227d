#pragma once
// Profile elements cut or copied from a points list, kept by their lasting
// ids, which neither a datum move nor an undo changes, and found again among
// the current copies when pasted. No part of the project: the session keeps
// it, and a new drawing empties it.
#include "project/element_lists.h"

#include <cstddef>
#include <vector>

namespace zeran {

struct PointsClipboard {
    std::vector<ElementId> elements;

    bool empty() const { return elements.empty(); }
    std::size_t size() const { return elements.size(); }
};

} // namespace zeran
