#include "view/palette.h"

#include "view/qt_canvas.h"

#include <QApplication>
#include <QPalette>

namespace zeran {

ColourSet default_colours() {
    const QColor tip = QApplication::palette().color(QPalette::ToolTipBase);
    return {0xFFFF00, 0x808000, 0x800000, 0x800080, 0x008000, from_qcolor(tip)};
}

} // namespace zeran
