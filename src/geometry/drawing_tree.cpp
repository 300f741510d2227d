#include "geometry/drawing_tree.h"

namespace zeran {

void DrawingTree::clear() {
    root = DrawingNode{};
    filled = false;
}

namespace {

template <class Node, class Out> void collect(Node& node, Out& out) {
    out.push_back(&node);
    for (auto& child : node.children) collect(child, out);
}

} // namespace

std::vector<DrawingNode*> DrawingTree::nodes_in_order() {
    std::vector<DrawingNode*> out;
    if (filled) collect(root, out);
    return out;
}

std::vector<const DrawingNode*> DrawingTree::nodes_in_order() const {
    std::vector<const DrawingNode*> out;
    if (filled) collect(root, out);
    return out;
}

} // namespace zeran
