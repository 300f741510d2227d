#include "project/cycle_nodes.h"

#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "geometry/entity.h"
#include "ncout/gnc_writer.h"

namespace zeran {

CycleNode::CycleNode() = default;
CycleNode::~CycleNode() = default;

CycleKind CycleNode::kind() const {
    return cycle ? cycle->Kind : CycleKind::AlongX;
}

HeaderNode::HeaderNode() = default;
HeaderNode::~HeaderNode() = default;
HeaderNode::HeaderNode(HeaderNode&&) noexcept = default;
HeaderNode& HeaderNode::operator=(HeaderNode&&) noexcept = default;

FooterNode::FooterNode() = default;
FooterNode::~FooterNode() = default;
FooterNode::FooterNode(FooterNode&&) noexcept = default;
FooterNode& FooterNode::operator=(FooterNode&&) noexcept = default;

} // namespace zeran
