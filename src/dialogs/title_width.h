#pragma once
// Dialogs made no wider than their controls can cut their own title: the
// title bar's buttons take the room first.
class QWidget;

namespace zeran {

// Makes the window at least as wide as its title needs beside the title
// bar's buttons. Call after setting the title.
void keep_title_whole(QWidget* window);

// The width `keep_title_whole` asks for.
int title_width_needed(const QWidget* window);

} // namespace zeran
