#include "view/qt_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>
#include <numbers>

namespace zeran {

QColor to_qcolor(Colour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Colour from_qcolor(const QColor& c) {
    return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8) |
           (static_cast<Colour>(c.blue()) << 16);
}

namespace {

Qt::PenStyle qt_style(PenStyle s) {
    switch (s) {
    case PenStyle::Solid:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Clear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QPainter::CompositionMode qt_mode(PenMode m) {
    switch (m) {
    case PenMode::Copy:
        return QPainter::CompositionMode_SourceOver;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case PenMode::Not:
        return QPainter::RasterOp_NotDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

QPoint qp(DevicePoint p) {
    return QPoint(p.x, p.y);
}

// The outline of a shape in the box from a to b (b exclusive) lies on the
// box's pixels, as the classic primitives draw it.
QRectF outline_box(DevicePoint a, DevicePoint b) {
    const int l = std::min(a.x, b.x), r = std::max(a.x, b.x);
    const int t = std::min(a.y, b.y), d = std::max(a.y, b.y);
    return QRectF(l, t, std::max(0, r - l - 1), std::max(0, d - t - 1));
}

double degrees(double rad) {
    return rad * 180.0 / std::numbers::pi;
}

} // namespace

ArcAngles arc_angles(DevicePoint top_left, DevicePoint bottom_right, DevicePoint start,
                     DevicePoint end) {
    const QRectF box = outline_box(top_left, bottom_right);
    const QPointF c = box.center();
    const double rx = box.width() > 0 ? box.width() / 2 : 1;
    const double ry = box.height() > 0 ? box.height() / 2 : 1;
    // Screen y grows downwards; the angles grow counter-clockwise as seen.
    auto angle = [&](DevicePoint p) {
        const double dx = (p.x - c.x()) / rx, dy = (c.y() - p.y) / ry;
        if (dx == 0 && dy == 0) return 0.0;
        return degrees(std::atan2(dy, dx));
    };
    ArcAngles a;
    a.start_deg = angle(start);
    double sweep = angle(end) - a.start_deg;
    while (sweep <= 0) sweep += 360;
    while (sweep > 360) sweep -= 360;
    a.sweep_deg = sweep;
    return a;
}

QtCanvas::QtCanvas(QImage* image) : image_(image) {}

QtCanvas::QtCanvas(QPainter& painter) : borrowed_(&painter) {}

QtCanvas::~QtCanvas() {
    finish();
}

void QtCanvas::set_image(QImage* image) {
    finish();
    image_ = image;
}

void QtCanvas::finish() {
    if (painter_) painter_->end();
    painter_.reset();
}

QPainter* QtCanvas::painter() {
    if (borrowed_) return borrowed_;
    if (!image_ || image_->isNull()) return nullptr;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
    }
    return painter_.get();
}

void QtCanvas::apply_pen(QPainter& p, bool with_brush) const {
    QPen pen(to_qcolor(pen_colour_));
    pen.setStyle(qt_style(pen_style_));
    if (borrowed_) {
        pen.setWidthF(pen_width_);
    } else {
        pen.setWidth(pen_width_ <= 1 ? 0 : pen_width_);
    }
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    if (with_brush && brush_style_ == BrushStyle::Solid) {
        p.setBrush(to_qcolor(brush_colour_));
    } else {
        p.setBrush(Qt::NoBrush);
    }
    p.setCompositionMode(qt_mode(pen_mode_));
}

void QtCanvas::line(DevicePoint a, DevicePoint b) {
    QPainter* p = painter();
    if (!p) return;
    apply_pen(*p, false);
    p->drawLine(qp(a), qp(b));
}

void QtCanvas::polyline(const std::vector<DevicePoint>& points) {
    QPainter* p = painter();
    if (!p || points.empty()) return;
    apply_pen(*p, false);
    QPolygon poly;
    for (const DevicePoint& d : points) poly << qp(d);
    // Drawn as one path, so exclusive-or does not cancel the shared vertices.
    p->drawPolyline(poly);
}

void QtCanvas::polygon(const std::vector<DevicePoint>& points) {
    QPainter* p = painter();
    if (!p || points.empty()) return;
    apply_pen(*p, true);
    QPolygon poly;
    for (const DevicePoint& d : points) poly << qp(d);
    p->drawPolygon(poly);
}

void QtCanvas::ellipse(DevicePoint top_left, DevicePoint bottom_right) {
    QPainter* p = painter();
    if (!p) return;
    apply_pen(*p, true);
    p->drawEllipse(outline_box(top_left, bottom_right));
}

void QtCanvas::arc(DevicePoint top_left, DevicePoint bottom_right, DevicePoint start,
                   DevicePoint end) {
    QPainter* p = painter();
    if (!p) return;
    apply_pen(*p, false);
    const QRectF box = outline_box(top_left, bottom_right);
    const ArcAngles a = arc_angles(top_left, bottom_right, start, end);
    QPainterPath path;
    path.arcMoveTo(box, a.start_deg);
    path.arcTo(box, a.start_deg, a.sweep_deg);
    p->drawPath(path);
}

void QtCanvas::pixel(DevicePoint p, Colour c) {
    if (borrowed_) {
        borrowed_->fillRect(QRect(p.x, p.y, 1, 1), to_qcolor(c));
        return;
    }
    if (!image_ || image_->isNull() || !image_->rect().contains(p.x, p.y)) return;
    // A pixel is written through the painter too, so that it lands in order
    // with the calls before it.
    QPainter* pt = painter();
    pt->setCompositionMode(QPainter::CompositionMode_Source);
    pt->setPen(QPen(to_qcolor(c), 0));
    pt->drawPoint(p.x, p.y);
}

void QtCanvas::fill_rect(DevicePoint top_left, DevicePoint bottom_right, Colour c) {
    QPainter* p = painter();
    if (!p) return;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    const int l = std::min(top_left.x, bottom_right.x), r = std::max(top_left.x, bottom_right.x);
    const int t = std::min(top_left.y, bottom_right.y), d = std::max(top_left.y, bottom_right.y);
    p->fillRect(QRect(l, t, r - l, d - t), to_qcolor(c));
}

void QtCanvas::text(DevicePoint at, const std::string& s) {
    QPainter* p = painter();
    if (!p || s.empty()) return;
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(std::max(1, font_height_));
    p->setFont(font);
    p->setPen(to_qcolor(font_colour_));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QString t = QString::fromStdString(s);
    const int w = QFontMetrics(font).horizontalAdvance(t);
    int x = at.x;
    switch (align_) {
    case TextAlign::Left:
        break;
    case TextAlign::Centre:
        x -= w / 2;
        break;
    case TextAlign::Right:
        x -= w;
        break;
    }
    p->drawText(QPoint(x, at.y), t);
}

} // namespace zeran
