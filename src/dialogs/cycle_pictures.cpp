#include "dialogs/cycle_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace zeran {

namespace {

// The part in every picture: a shaft with a shoulder, spindle axis at the
// bottom, the chuck on the right.
const QPolygonF& part_outline() {
    static const QPolygonF outline{{8, 72}, {8, 48}, {36, 48}, {44, 34}, {72, 34}, {72, 72}};
    return outline;
}

void draw_stock_and_part(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(215, 215, 215));
    p.drawRect(QRectF(4, 20, 68, 52));
    p.setBrush(QColor(120, 150, 190));
    p.drawPolygon(part_outline());
    p.setPen(QPen(Qt::black, 1, Qt::DashDotLine));
    p.drawLine(QPointF(0, 72), QPointF(80, 72)); // the spindle axis
}

void draw_passes(QPainter& p, CycleKind kind) {
    p.setPen(QPen(QColor(200, 0, 0), 1.5));
    switch (kind) {
    case CycleKind::AlongX: // cuts along X, stepping in Z
        for (double z = 10; z < 70; z += 8)
            p.drawLine(QPointF(z, 20), QPointF(z, z < 40 ? 46 : 32));
        break;
    case CycleKind::AlongZ: // cuts along Z, stepping in X
        for (double x = 24; x < 48; x += 6) p.drawLine(QPointF(6, x), QPointF(x < 34 ? 70 : 34, x));
        break;
    case CycleKind::PatternRepeat: // the profile repeated, closer each time
        for (double d = 12; d >= 3; d -= 4.5) p.drawPolyline(part_outline().translated(-d, -d));
        break;
    case CycleKind::Finishing: // one pass along the profile
    case CycleKind::Linear:
        p.drawPolyline(QPolygonF(part_outline().mid(0, kind == CycleKind::Finishing ? 5 : 3))
                           .translated(0, -2));
        break;
    case CycleKind::Grooving: // plunges into a groove
        p.setBrush(QColor(215, 215, 215));
        p.drawRect(QRectF(52, 34, 10, 12));
        for (double z = 54; z < 62; z += 3) p.drawLine(QPointF(z, 22), QPointF(z, 46));
        break;
    case CycleKind::Threading: { // a thread's teeth along the larger diameter
        QPainterPath teeth(QPointF(44, 34));
        for (double z = 44; z < 70; z += 6) {
            teeth.lineTo(z + 3, 40);
            teeth.lineTo(z + 6, 34);
        }
        p.drawPath(teeth);
        break;
    }
    case CycleKind::Drilling: // a hole on the axis
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(8, 64, 36, 8));
        p.drawLine(QPointF(0, 68), QPointF(44, 68));
        break;
    }
}

} // namespace

QImage cycle_picture(CycleKind kind) {
    QImage image(kCyclePictureSize, kCyclePictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (static_cast<int>(kind) >= kCycleKindCount) return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw_stock_and_part(p);
    draw_passes(p, kind);
    return image;
}

} // namespace zeran
