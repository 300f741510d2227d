#pragma once
// Profile elements cut or copied from a points list. They are kept as the
// drawing's own elements, which neither a datum move nor an undo replaces,
// and are found again among the current copies when pasted. No part of the
// project: the session keeps it, and a new drawing empties it.
#include <cstddef>
#include <vector>

namespace zeran {

class DXF_Entity;

struct PointsClipboard {
    std::vector<const DXF_Entity*> sources;

    bool empty() const { return sources.empty(); }
    std::size_t size() const { return sources.size(); }
};

} // namespace zeran
