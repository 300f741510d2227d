#include "app/tree_images.h"

#include "project/cycle_nodes.h"

#include <QPainter>
#include <QPixmap>

namespace zeran {

namespace {

QPixmap blank(int size = 16) {
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

} // namespace

QIcon state_icon(int state_index) {
    QPixmap p = blank();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    switch (state_index) {
    case kStateUnchecked:
    case kStateChecked:
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(Qt::white);
        g.drawRect(2, 2, 11, 11);
        if (state_index == kStateChecked) {
            g.setPen(QPen(QColor(0, 110, 0), 2));
            g.drawLine(4, 8, 7, 11);
            g.drawLine(7, 11, 12, 4);
        }
        break;
    case kStateIncomplete:
        g.setPen(QPen(QColor(200, 0, 0), 2));
        g.drawLine(4, 4, 12, 12);
        g.drawLine(12, 4, 4, 12);
        break;
    case kStateComplete:
        g.setPen(QPen(QColor(0, 140, 0), 2));
        g.drawLine(3, 8, 7, 12);
        g.drawLine(7, 12, 13, 3);
        break;
    default:
        return {};
    }
    return QIcon(p);
}

QIcon glyph_icon(const QString& text, unsigned rgb) {
    QPixmap p = blank(24);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QColor(rgb).darker(150));
    g.setBrush(QColor(rgb));
    g.drawRoundedRect(1, 1, 22, 22, 4, 4);
    QFont f = g.font();
    f.setBold(true);
    f.setPixelSize(text.size() > 2 ? 8 : 11);
    g.setFont(f);
    g.setPen(Qt::white);
    g.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
    return QIcon(p);
}

QIcon node_icon(int image) {
    static const char* const kinds[] = {"X", "Z", "PR", "F", "G", "T", "D", "L"};
    if (image >= 0 && image < 8) return glyph_icon(kinds[image], 0x2a6fb0);
    switch (image) {
    case kHeaderImage:
        return glyph_icon("H", 0x6b4fa0);
    case kFooterImage:
        return glyph_icon("E", 0x6b4fa0);
    case kProfileImage:
        return glyph_icon("P", 0x3c8c3c);
    case kToolImage:
        return glyph_icon("T", 0xa06020);
    case kParametersImage:
        return glyph_icon("#", 0x707070);
    default:
        return {};
    }
}

QIcon node_icon(int image, int state_index) {
    QPixmap p(34, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.drawPixmap(0, 0, state_icon(state_index).pixmap(16, 16));
    g.drawPixmap(18, 0, node_icon(image).pixmap(16, 16));
    return QIcon(p);
}

} // namespace zeran
