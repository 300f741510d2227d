#pragma once
// The small pictures of the trees and the toolbar, painted once: state
// images (unchecked, checked, incomplete, complete), one image per cycle
// kind, the header, footer, profile, tool and parameter images, and the
// toolbar's command glyphs.
#include <QIcon>
#include <QString>

namespace zeran {

// State image 1..4; any other index gives an empty icon.
QIcon state_icon(int state_index);
// The image index of a node (cycle kinds 0..7, 12 header, 13 footer,
// 19 parameters, 20 tool, 21 profile).
QIcon node_icon(int image);
// The state image beside the node image, as the Profile, Tool and Parameters
// nodes show them.
QIcon node_icon(int image, int state_index);
// A square glyph with a short text, for toolbar commands.
QIcon glyph_icon(const QString& text, unsigned rgb);

} // namespace zeran
