#pragma once
// Help: each help context is an anchor on one of the HTML pages in docs/help,
// shown in the program's own help window.
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace zeran {

// The page (file name) holding a help context; "index.html" for unknown ones.
QString help_page(int context);
// The page's address with the context's anchor ("#ctx3"); empty when the help
// folder cannot be found.
QUrl help_url(int context);
// The folder of the help pages: $ZERAN_HELP_DIR, then share/zeran/help beside
// the program, then the source tree's docs/help.
QString help_folder();

// Opens the help at a context. Returns false when there is no page to open;
// the help window then says where the pages were looked for.
bool show_help(int context);
// Replaces the help window (tests record the address instead).
void set_help_opener(std::function<bool(const QUrl&)> opener);

// F1 anywhere in the widget opens the help at the context.
void install_help_key(QWidget* w, int context);

} // namespace zeran
