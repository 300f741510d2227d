#pragma once
// DrawingTree: the toolkit-free tree of drawing, layers, entity kinds and
// entities that the main window mirrors in its drawing tree view.
#include <cstddef>
#include <string>
#include <vector>

namespace zeran {

class DXF_Layer;
class Entity_List;
class DXF_Entity;

enum class DrawingNodeKind { Drawing, Layer, List, Entity };

struct DrawingNode {
    std::string caption;
    int level = 0;
    // 1 unchecked, 2 checked; 0 for none (the root).
    int state_index = 0;
    // Unchecked by the user or the project file, not merely clipped away by
    // the datum: a datum that brings the element back leaves it out still.
    bool user_unchecked = false;
    DrawingNodeKind kind = DrawingNodeKind::Drawing;
    // What the node carries; only the one of its kind is set.
    DXF_Layer* layer = nullptr;
    Entity_List* list = nullptr;
    DXF_Entity* entity = nullptr;
    std::vector<DrawingNode> children;
};

struct DrawingTree {
    DrawingNode root;
    // False when the tree was never filled.
    bool filled = false;

    void clear();
    // Every node in display order (root first, then depth first): the
    // absolute index of a node is its position here.
    std::vector<DrawingNode*> nodes_in_order();
    std::vector<const DrawingNode*> nodes_in_order() const;
};

} // namespace zeran
