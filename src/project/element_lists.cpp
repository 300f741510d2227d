#include "project/element_lists.h"

#include "geometry/drawing_tree.h"
#include "geometry/entity.h"
#include "geometry/selection_lists.h"

#include <string>

namespace zeran {

std::pair<int, int> locate_element(const selection_lists* lists, const DXF_Entity* element) {
    if (!lists || !element) return {-1, -1};
    for (int g = 0; g < lists->count(); ++g) {
        const int i = (*lists)[static_cast<std::size_t>(g)]->index_of(element);
        if (i >= 0) return {g, i};
    }
    return {-1, -1};
}

DXF_Entity* element_at(const selection_lists* lists, int group, int position) {
    if (!lists || group < 0 || group >= lists->count()) return nullptr;
    const Entity_List* list = (*lists)[static_cast<std::size_t>(group)];
    if (position < 0 || position >= list->count()) return nullptr;
    return (*list)[static_cast<std::size_t>(position)];
}

DXF_Entity* copy_of(const selection_lists* lists, const DXF_Entity* source) {
    if (!lists || !source) return nullptr;
    for (int g = 0; g < lists->count(); ++g)
        for (DXF_Entity* e : *(*lists)[static_cast<std::size_t>(g)])
            if (e->source == source) return e;
    return nullptr;
}

std::vector<DrawingNode*> tree_nodes(DrawingTree& tree) {
    if (!tree.filled) return {};
    return tree.nodes_in_order();
}

int subtree_end(const std::vector<DrawingNode*>& nodes, int index) {
    const int level = nodes[static_cast<std::size_t>(index)]->level;
    int end = index + 1;
    while (end < static_cast<int>(nodes.size()) &&
           nodes[static_cast<std::size_t>(end)]->level > level)
        ++end;
    return end;
}

std::vector<std::string> tree_keys(const std::vector<DrawingNode*>& nodes) {
    std::vector<std::string> keys;
    keys.reserve(nodes.size());
    std::string layer;
    for (const DrawingNode* node : nodes) {
        if (node->layer) {
            layer = node->caption;
            keys.push_back(layer);
        } else {
            keys.push_back(layer + "_" + node->caption);
        }
    }
    return keys;
}

} // namespace zeran
