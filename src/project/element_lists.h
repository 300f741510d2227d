#pragma once
// Lookups in the selection lists by position, as the project file refers to
// elements: the group's place in the lists and the element's place in it.
#include <string>
#include <utility>
#include <vector>

namespace zeran {

class DXF_Entity;
class selection_lists;
struct DrawingTree;
struct DrawingNode;

// A drawing element's lasting name: its group's place among all the groups
// of the drawing and its own place in the group. Neither check boxes nor the
// datum move it, unlike the places among the checked elements that the
// project file writes.
struct ElementId {
    int group = -1;
    int position = -1;
    bool valid() const { return group >= 0 && position >= 0; }
    friend bool operator==(const ElementId&, const ElementId&) = default;
};

// Group and position of an element, or {-1, -1}.
std::pair<int, int> locate_element(const selection_lists* lists, const DXF_Entity* element);
// The element at a group and position, or null.
DXF_Entity* element_at(const selection_lists* lists, int group, int position);
// The lists' current copy of a drawing element, or null when it is left out.
DXF_Entity* copy_of(const selection_lists* lists, const DXF_Entity* source);

// The drawing tree's nodes in display order: a node's place here is the
// absolute index the project file stores.
std::vector<DrawingNode*> tree_nodes(DrawingTree& tree);
// One past the last descendant of the node at `index`.
int subtree_end(const std::vector<DrawingNode*>& nodes, int index);
// The key the project file stores for each node: the caption at a layer,
// else the current layer's caption, "_" and the node's caption.
std::vector<std::string> tree_keys(const std::vector<DrawingNode*>& nodes);

} // namespace zeran
