#include "dialogs/title_width.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace zeran {

int title_width_needed(const QWidget* window) {
    // Window managers draw titles in a font of their own, often bold and
    // larger than the application's; room for three buttons and the icon.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    const QFontMetrics fm(font);
    return fm.horizontalAdvance(window->windowTitle()) + 4 * fm.height() + 48;
}

void keep_title_whole(QWidget* window) {
    window->setMinimumWidth(std::max(window->minimumWidth(), title_width_needed(window)));
}

} // namespace zeran
