#pragma once
// The small pictures of the trees and the toolbar, painted once: state
// images (unchecked, checked, incomplete, complete), one image per cycle
// kind, the header, footer, profile, tool and parameter images, and the
// toolbar's command glyphs.
#include <QIcon>
#include <QString>

namespace zeran {

// Node images beyond the cycle kinds' 0..7.
inline constexpr int kHeaderImage = 12;
inline constexpr int kFooterImage = 13;
// The children take the last three images of the button image list, in reverse.
inline constexpr int kProfileImage = 21;
inline constexpr int kToolImage = 20;
inline constexpr int kParametersImage = 19;

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
