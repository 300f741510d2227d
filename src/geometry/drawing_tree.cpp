#include "geometry/drawing_tree.h"

namespace zeran {

void DrawingTree::clear() {
    root = DrawingNode{};
    selected_path.clear();
    filled = false;
}

DrawingNode* DrawingTree::selected() {
    DrawingNode* node = &root;
    for (std::size_t i : selected_path) {
        if (i >= node->children.size()) return nullptr;
        node = &node->children[i];
    }
    return node;
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
