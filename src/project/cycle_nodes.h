#pragma once
// The cycle list as the project holds it: the header node, one node per cycle
// with its Profile, Tool and Parameters children, and the footer node. The
// window's tree mirrors these nodes; it owns none of their data.
#include "cycles/cycle_kinds.h"
#include "project/element_lists.h"

#include <memory>
#include <string>
#include <vector>

namespace zeran {

class DXF_Entity;
class TCanCycle;
class TParamControls;
class TToolControl;
struct THeader;
struct TFooter;

// A node's state, as the tree's state image shows it.
inline constexpr int kStateUnchecked = 1;
inline constexpr int kStateChecked = 2;
inline constexpr int kStateIncomplete = 3;
inline constexpr int kStateComplete = 4;

// One entry of a points list: its display text, the drawing element it
// names, and that element's current copy (owned by the selection lists),
// which every rebuild of the lists finds again by the name.
struct ProfileItem {
    std::string text;
    ElementId id;
    DXF_Entity* element = nullptr;
};

// A cycle's profile in pick order. Where the window's list of it stands
// (focus, selection) is no part of it: see PointsCursor.
struct PointsList {
    std::vector<ProfileItem> items;

    bool empty() const { return items.empty(); }
    int count() const { return static_cast<int>(items.size()); }
    int index_of(const DXF_Entity* element) const;
};

struct ChildNode {
    std::string caption;
    int state_index = kStateIncomplete;
};

struct CycleNode {
    CycleNode();
    ~CycleNode();
    CycleNode(const CycleNode&) = delete;
    CycleNode& operator=(const CycleNode&) = delete;

    std::string caption;
    int state_index = kStateChecked;
    std::unique_ptr<TCanCycle> cycle;
    ChildNode profile_node;
    ChildNode tool_node;
    ChildNode params_node;
    PointsList points;
    std::unique_ptr<TToolControl> tool;
    std::unique_ptr<TParamControls> params;
    // The cycle's own copies of the profile elements for the last generation:
    // a cycle may turn its elements round, which must not touch the copies
    // that other cycles and the selection lists share.
    std::vector<std::unique_ptr<DXF_Entity>> generation_elements;

    CycleKind kind() const;
    bool checked() const { return state_index == kStateChecked; }
};

struct HeaderNode {
    HeaderNode();
    ~HeaderNode();
    HeaderNode(HeaderNode&&) noexcept;
    HeaderNode& operator=(HeaderNode&&) noexcept;
    std::string caption = "Header";
    int state_index = kStateChecked;
    std::unique_ptr<THeader> header;
};

struct FooterNode {
    FooterNode();
    ~FooterNode();
    FooterNode(FooterNode&&) noexcept;
    FooterNode& operator=(FooterNode&&) noexcept;
    std::string caption = "Footer";
    int state_index = kStateChecked;
    std::unique_ptr<TFooter> footer;
};

// Which node of the cycle list is selected.
enum class CyclePart { None, Header, Cycle, Profile, Tool, Parameters, Footer };

struct CycleSelection {
    CyclePart part = CyclePart::None;
    CycleNode* node = nullptr; // for Cycle, Profile, Tool and Parameters
};

} // namespace zeran
