#include "view/zoom_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zeran {

namespace {

// The far-off pixel a point that cannot be mapped is drawn at.
constexpr int kFarPixel = 1 << 20;

char decimal_separator() {
    const QString s = QLocale::system().decimalPoint();
    return s.size() == 1 && s[0].unicode() < 128 ? static_cast<char>(s[0].unicode()) : '.';
}

ShiftState shift_state(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    ShiftState s;
    s.shift = mods & Qt::ShiftModifier;
    s.ctrl = mods & Qt::ControlModifier;
    s.alt = mods & Qt::AltModifier;
    s.left = buttons & Qt::LeftButton;
    s.right = buttons & Qt::RightButton;
    s.middle = buttons & Qt::MiddleButton;
    return s;
}

enum class Glyph { Minus, Plus, Last, Reset };

// The button faces: a magnifier with a sign, a back arrow, a framed "1:1".
QIcon zoom_glyph(Glyph g) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1.5));
    switch (g) {
    case Glyph::Minus:
    case Glyph::Plus:
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
        if (g == Glyph::Plus) p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
        break;
    case Glyph::Last: {
        QPainterPath path;
        path.moveTo(13, 12);
        path.cubicTo(13, 4, 8, 4, 4, 6);
        p.drawPath(path);
        p.drawLine(QPointF(4, 6), QPointF(7.5, 2.5));
        p.drawLine(QPointF(4, 6), QPointF(8, 8.5));
        break;
    }
    case Glyph::Reset: {
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        QFont f = p.font();
        f.setPixelSize(7);
        p.setFont(f);
        p.drawText(QRectF(1.5, 3.5, 13, 9), Qt::AlignCenter, QStringLiteral("1:1"));
        break;
    }
    }
    return QIcon(pm);
}

} // namespace

// The paint area: hands its input and paint requests to the panel.
class ZoomPaintBox : public QWidget {
public:
    explicit ZoomPaintBox(Zoom_panel* panel) : QWidget(panel), panel_(panel) {
        setCursor(Qt::CrossCursor);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::ClickFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (panel_->screen_.isNull()) {
            p.fillRect(rect(), to_qcolor(panel_->colour_));
        } else {
            p.drawImage(0, 0, panel_->screen_);
        }
        p.end();
        panel_->box_paint();
    }
    void mousePressEvent(QMouseEvent* e) override { panel_->box_press(Zoom_panel::translate(*e)); }
    void mouseMoveEvent(QMouseEvent* e) override { panel_->box_move(Zoom_panel::translate(*e)); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        panel_->box_release(Zoom_panel::translate(*e));
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        panel_->box_double_click(Zoom_panel::translate(*e));
    }
    void wheelEvent(QWheelEvent* e) override {
        const QPoint p = e->position().toPoint();
        panel_->box_wheel(e->angleDelta().y(), {p.x(), p.y()});
        e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override { panel_->keyPressEvent(e); }
    void keyReleaseEvent(QKeyEvent* e) override { panel_->keyReleaseEvent(e); }
    // A Space released elsewhere must not leave the view panning.
    void focusOutEvent(QFocusEvent* e) override {
        panel_->set_space_held(false);
        QWidget::focusOutEvent(e);
    }

private:
    Zoom_panel* panel_;
};

TZoomHints::TZoomHints()
    : texts_{QObject::tr("Zoom in"), QObject::tr("Zoom out"), QObject::tr("Zoom to last"),
             QObject::tr("Zoom reset")} {}

void TZoomHints::set(int i, const QString& s) {
    texts_[static_cast<std::size_t>(i)] = s;
    if (changed) changed();
}

ViewMouse Zoom_panel::translate(const QMouseEvent& e) {
    ViewMouse m;
    switch (e.button()) {
    case Qt::LeftButton:
        m.button = MouseButton::Left;
        break;
    case Qt::RightButton:
        m.button = MouseButton::Right;
        break;
    case Qt::MiddleButton:
        m.button = MouseButton::Middle;
        break;
    default:
        m.button = MouseButton::None;
        break;
    }
    m.shift = shift_state(e.modifiers(), e.buttons());
    m.shift.double_click = e.type() == QEvent::MouseButtonDblClick;
    const QPoint p = e.position().toPoint();
    m.at = {p.x(), p.y()};
    return m;
}

Zoom_panel::Zoom_panel(QWidget* parent) : QWidget(parent) {
    box_ = new ZoomPaintBox(this);
    box_->setObjectName(QStringLiteral("PaintBox"));
    vbar_ = new QScrollBar(Qt::Vertical, this);
    strip_ = new QWidget(this);
    hbar_ = new QScrollBar(Qt::Horizontal, strip_);
    auto make_button = [this](Glyph g) {
        auto* b = new QToolButton(strip_);
        b->setAutoRaise(true);
        b->setIcon(zoom_glyph(g));
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    btn_out_ = make_button(Glyph::Minus);
    btn_in_ = make_button(Glyph::Plus);
    btn_last_ = make_button(Glyph::Last);
    btn_reset_ = make_button(Glyph::Reset);
    btn_out_->setObjectName(QStringLiteral("ZoomOut"));
    btn_in_->setObjectName(QStringLiteral("ZoomIn"));
    btn_last_->setObjectName(QStringLiteral("ZoomLast"));
    btn_reset_->setObjectName(QStringLiteral("ZoomReset"));
    QPalette navy = palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    for (QLabel*& l : status_) {
        l = new QLabel(strip_);
        l->setPalette(navy);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setIndent(3);
    }
    status_[0]->setText(QStringLiteral("X= 0.000  Y= 0.000"));
    status_[1]->setText(QStringLiteral("1 : 1"));
    status_[2]->setText(tr("Metric"));

    hints_.changed = [this] {
        btn_in_->setToolTip(hints_.zhZoomIn());
        btn_out_->setToolTip(hints_.zhZoomOut());
        btn_last_->setToolTip(hints_.zhZoomLast());
        btn_reset_->setToolTip(hints_.zhZoomReset());
    };
    hints_.changed();

    connect(btn_in_, &QToolButton::pressed, this, [this] { start_repeat(+1); });
    connect(btn_out_, &QToolButton::pressed, this, [this] { start_repeat(-1); });
    connect(btn_in_, &QToolButton::released, this, [this] { stop_repeat(); });
    connect(btn_out_, &QToolButton::released, this, [this] { stop_repeat(); });
    connect(btn_last_, &QToolButton::clicked, this, [this] { ZoomLast(); });
    connect(btn_reset_, &QToolButton::clicked, this, [this] { ZoomReset(); });
    connect(&repeat_timer_, &QTimer::timeout, this, [this] { repeat_tick(); });
    settle_timer_.setSingleShot(true);
    settle_timer_.setInterval(100);
    connect(&settle_timer_, &QTimer::timeout, this, [this] { settle_resize(); });
    connect(hbar_, &QScrollBar::valueChanged, this, [this] { scrolled(); });
    connect(vbar_, &QScrollBar::valueChanged, this, [this] { scrolled(); });

    update_buttons();
    layout_children();
}

Zoom_panel::~Zoom_panel() {
    finish_canvases();
}

void Zoom_panel::finish_canvases() {
    draw_canvas_.finish();
    mark_canvas_.finish();
    screen_canvas_.finish();
}

PixelSize Zoom_panel::client_size() const {
    const int sw = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {std::max(1, width() - sw), std::max(1, height() - 2 * sw)};
}

ViewPlacement Zoom_panel::placement() const {
    ViewPlacement p;
    p.offX = (drawing_.width() - view_client_.width) / 2;
    p.offY = (drawing_.height() - view_client_.height) / 2;
    p.hMax = hbar_->maximum();
    p.vMax = vbar_->maximum();
    p.hPos = hbar_->value();
    p.vPos = vbar_->value();
    return p;
}

void Zoom_panel::layout_children() {
    const int sw = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const PixelSize c = client_size();
    box_->setGeometry(0, 0, c.width, c.height);
    vbar_->setGeometry(c.width, 0, sw, c.height);
    const int strip_h = 2 * sw;
    strip_->setGeometry(0, height() - strip_h, width(), strip_h);
    const int half = strip_h / 2;
    const int button_w = 2 * sw;
    const int bar_w = std::max(0, width() - 4 * button_w);
    hbar_->setGeometry(0, 0, bar_w, half);
    QToolButton* buttons[] = {btn_out_, btn_in_, btn_last_, btn_reset_};
    for (int i = 0; i < 4; ++i) buttons[i]->setGeometry(bar_w + i * button_w, 0, button_w, half);
    const int panel_w = width() / 3;
    for (int i = 0; i < 3; ++i)
        status_[static_cast<std::size_t>(i)]->setGeometry(i * panel_w, half, panel_w,
                                                          strip_h - half);
}

void Zoom_panel::resizeEvent(QResizeEvent*) {
    layout_children();
    settle_timer_.start();
    Compose();
}

void Zoom_panel::settle_resize() {
    const PixelSize now = client_size();
    if (active_ && view_client_.width > 0 && !(now == view_client_)) {
        last_ = current_;
        current_ = resized(current_, view_client_, now);
        fit_ = resized(fit_, view_client_, now);
        view_client_ = now;
        size_bitmaps();
        reset_scroll_bars();
        refresh_ratio();
        update_buttons();
        Repaint();
    } else if (!active_) {
        view_client_ = now;
        Compose();
    }
}

void Zoom_panel::size_bitmaps() {
    finish_canvases();
    const PixelSize b = bitmap_size_for(view_client_);
    if (drawing_.width() != b.width || drawing_.height() != b.height) {
        drawing_ = QImage(b.width, b.height, QImage::Format_RGB32);
        mark_ = QImage(b.width, b.height, QImage::Format_RGB32);
        drawing_.fill(to_qcolor(colour_));
        mark_.fill(Qt::white);
        composite_ = drawing_;
    }
}

void Zoom_panel::reset_scroll_bars() {
    const ViewPlacement p = centred_placement(view_client_);
    for (auto [bar, off] : {std::pair{hbar_, p.offX}, std::pair{vbar_, p.offY}}) {
        const QSignalBlocker block(bar);
        bar->setRange(0, 2 * off);
        bar->setValue(off);
        bar->setSingleStep(std::max(1, static_cast<int>(std::lround(off / 5.0))));
        bar->setPageStep(std::max(1, off));
    }
}

void Zoom_panel::setZoomEnabled(bool on) {
    zoom_enabled_ = on;
    update_buttons();
}

bool Zoom_panel::zoom_reset_enabled() const {
    return zoom_enabled_ && current_.ScaleX != fit_.ScaleX;
}
bool Zoom_panel::zoom_last_enabled() const {
    return zoom_enabled_ && current_.ScaleX != last_.ScaleX && last_.ScaleX != 0 &&
           last_.ScaleX != fit_.ScaleX;
}
bool Zoom_panel::zoom_in_enabled() const {
    return zoom_enabled_ && current_.ScaleX < kMaxZoomScale;
}
bool Zoom_panel::zoom_out_enabled() const {
    return zoom_enabled_ && current_.ScaleX > kMinZoomScale;
}

void Zoom_panel::update_buttons() {
    btn_in_->setEnabled(zoom_in_enabled());
    btn_out_->setEnabled(zoom_out_enabled());
    btn_last_->setEnabled(zoom_last_enabled());
    btn_reset_->setEnabled(zoom_reset_enabled());
    const bool any =
        zoom_in_enabled() || zoom_out_enabled() || zoom_last_enabled() || zoom_reset_enabled();
    hbar_->setVisible(any);
    vbar_->setVisible(any);
    if (!btn_in_->isEnabled() && repeat_direction_ > 0) stop_repeat();
    if (!btn_out_->isEnabled() && repeat_direction_ < 0) stop_repeat();
}

void Zoom_panel::setUnits(Units u) {
    units_ = u;
    refresh_readout();
    status_[2]->setText(u == Units::Inch ? tr("Inch") : tr("Metric"));
}

void Zoom_panel::setColour(Colour c) {
    colour_ = c;
    if (!active_) Compose();
}

QString Zoom_panel::status_text(int panel) const {
    return status_.at(static_cast<std::size_t>(panel))->text();
}

void Zoom_panel::refresh_ratio() {
    status_[1]->setText(
        QString::fromStdString(zoom_ratio_text(current_, fit_, decimal_separator())));
}

void Zoom_panel::refresh_readout() {
    if (!active_) return;
    // Until the pointer has been over this picture there is no position to
    // show: zeros, in the readout's current form.
    const bool at_datum = lathe_readout_ && !is_not_set(Datum.x) && !is_not_set(Datum.y);
    const Point2D w = pointer_seen_ ? ScreenToWorld(pointer_)
                      : at_datum    ? Point2D{Datum.x, Datum.y}
                                    : Point2D{0, 0};
    status_[0]->setText(QString::fromStdString(pointer_readout(
        {w.x, w.y}, lathe_readout_, {Datum.x, Datum.y}, units_, decimal_separator())));
}

void Zoom_panel::FitExtents(int border, double y_max, double y_min, double x_max, double x_min) {
    view_client_ = client_size();
    fit_ = zeran::fit_view(view_client_, border, y_max, y_min, x_max, x_min);
    current_ = last_ = fit_;
    size_bitmaps();
    reset_scroll_bars();
    active_ = true;
    pointer_seen_ = false;
    setZoomEnabled(false);
    refresh_ratio();
    refresh_readout();
}

void Zoom_panel::SetActive(bool on) {
    active_ = on;
    if (!on) {
        status_[0]->setText(QStringLiteral("X= 0.000  Y= 0.000"));
        status_[1]->setText(QStringLiteral("1 : 1"));
        status_[2]->setText(tr("Metric"));
        Compose();
    }
}

void Zoom_panel::SetLatheReadout(bool on) {
    lathe_readout_ = on;
    refresh_readout();
}

DevicePoint Zoom_panel::WorldToBitmap(const Point3D& p, const Matrix4* m) {
    const Point3D q = transform_point(m, p);
    if (auto d = world_to_bitmap(current_, placement(), q.x, q.y)) return *d;
    mapping_failed_ = true;
    return {kFarPixel, kFarPixel};
}

DevicePoint Zoom_panel::WorldToScreen(const Point3D& p, const Matrix4* m) {
    const Point3D q = transform_point(m, p);
    if (auto d = world_to_screen(current_, placement(), q.x, q.y)) return *d;
    mapping_failed_ = true;
    return {kFarPixel, kFarPixel};
}

DevicePoint BitmapMapper::operator()(const Point3D& p, const Matrix4* m) const {
    return view->WorldToBitmap(p, m);
}

DevicePoint ScreenMapper::operator()(const Point3D& p, const Matrix4* m) const {
    return view->WorldToScreen(p, m);
}

Point2D Zoom_panel::ScreenToWorld(DevicePoint px) const {
    if (current_.ScaleX == 0 || current_.ScaleY == 0) return {};
    const WorldXY w = screen_to_world(current_, placement(), px);
    return {w.x, w.y};
}

void Zoom_panel::restore_last_if_failed() {
    if (!mapping_failed_) return;
    mapping_failed_ = false;
    current_ = last_;
    refresh_ratio();
    update_buttons();
    reset_scroll_bars();
}

void Zoom_panel::Repaint() {
    if (active_ && OnNeedReDraw && !drawing_scene_) {
        drawing_scene_ = true;
        mapping_failed_ = false;
        OnNeedReDraw();
        if (mapping_failed_) {
            // Draw once more in the view that worked; a second failure there
            // leaves the picture as it came out.
            restore_last_if_failed();
            OnNeedReDraw();
            mapping_failed_ = false;
        }
        drawing_scene_ = false;
    }
    Compose();
}

void Zoom_panel::fill_inactive() {
    const PixelSize c = client_size();
    if (screen_.width() != c.width || screen_.height() != c.height) {
        screen_canvas_.finish();
        screen_ = QImage(c.width, c.height, QImage::Format_RGB32);
    }
    screen_.fill(to_qcolor(colour_));
    box_->update();
}

void Zoom_panel::Compose() {
    finish_canvases();
    if (!active_ || drawing_.isNull()) {
        fill_inactive();
        return;
    }
    composite_ = QImage(mark_.size(), QImage::Format_RGB32);
    {
        QPainter p(&composite_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, drawing_);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(0, 0, mark_);
    }
    scrolled();
}

void Zoom_panel::scrolled() {
    if (!active_ || composite_.isNull()) return;
    screen_canvas_.finish();
    const PixelSize c = client_size();
    // Until a resize settles the client may be larger than the bitmaps; the
    // rest shows the view's colour rather than black.
    screen_ = QImage(c.width, c.height, QImage::Format_RGB32);
    screen_.fill(to_qcolor(colour_));
    {
        QPainter p(&screen_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, composite_, hbar_->value(), vbar_->value(), c.width, c.height);
    }
    band_shown_ = false;
    box_->update();
}

void Zoom_panel::ShowDrawing() {
    if (!active_ || drawing_.isNull()) return;
    screen_canvas_.finish();
    const PixelSize c = client_size();
    screen_ = drawing_.copy(hbar_->value(), vbar_->value(), c.width, c.height);
    box_->update();
}

void Zoom_panel::zoom_by(double f) {
    if (!active_) return;
    last_ = current_;
    current_ = zoom_step(current_, f);
    refresh_ratio();
}

void Zoom_panel::after_button() {
    reset_scroll_bars();
    update_buttons();
    Repaint();
}

void Zoom_panel::ZoomIn() {
    if (!active_ || !zoom_in_enabled()) return;
    zoom_by(1.0 / zoom_factor_);
    after_button();
}

void Zoom_panel::ZoomOut() {
    if (!active_ || !zoom_out_enabled()) return;
    zoom_by(zoom_factor_);
    after_button();
}

void Zoom_panel::ZoomLast() {
    if (!active_ || !zoom_last_enabled()) return;
    current_ = last_;
    refresh_ratio();
    after_button();
}

void Zoom_panel::ZoomReset() {
    if (!active_ || !zoom_reset_enabled()) return;
    const TZoomView saved = current_;
    current_ = fit_;
    zoom_by(1.0);
    last_ = saved;
    after_button();
}

void Zoom_panel::start_repeat(int direction) {
    repeat_direction_ = direction;
    if (direction > 0)
        ZoomIn();
    else
        ZoomOut();
    repeat_timer_.start(500);
}

void Zoom_panel::stop_repeat() {
    repeat_timer_.stop();
    repeat_direction_ = 0;
}

void Zoom_panel::repeat_tick() {
    repeat_timer_.setInterval(25);
    const bool enabled = repeat_direction_ > 0 ? zoom_in_enabled() : zoom_out_enabled();
    if (repeat_direction_ == 0 || !enabled) {
        stop_repeat();
        return;
    }
    if (repeat_direction_ > 0)
        ZoomIn();
    else
        ZoomOut();
}

void Zoom_panel::ZoomToPixels(DevicePoint a, DevicePoint b) {
    if (!active_) return;
    const Point2D w1 = ScreenToWorld(a), w2 = ScreenToWorld(b);
    const TZoomView previous = current_;
    const TZoomView next = zoom_window(client_size(), w1.x, w1.y, w2.x, w2.y);
    const bool refused = (previous.ScaleX < next.ScaleX && !zoom_in_enabled()) ||
                         (previous.ScaleX > next.ScaleX && !zoom_out_enabled());
    if (!refused) {
        last_ = previous;
        current_ = next;
    }
    refresh_ratio();
    update_buttons();
    reset_scroll_bars();
}

void Zoom_panel::CentreOn(DevicePoint px) {
    if (!active_) return;
    const Point2D w = ScreenToWorld(px);
    last_ = current_;
    current_ = recentred(current_, w.x, w.y);
    update_buttons();
    Repaint();
}

void Zoom_panel::xor_band(DevicePoint a, DevicePoint b) {
    Canvas& c = screen_canvas_;
    const Colour pen = c.pen_colour();
    const PenStyle style = c.pen_style();
    const PenMode mode = c.pen_mode();
    const int width = c.pen_width();
    const BrushStyle brush = c.brush_style();
    const Colour brush_colour = c.brush_colour();
    c.set_pen_colour(0x0000FF);
    c.set_pen_style(PenStyle::DashDotDot);
    c.set_pen_width(1);
    c.set_pen_mode(PenMode::Xor);
    c.set_brush(BrushStyle::Clear, brush_colour);
    c.polygon({a, {b.x, a.y}, b, {a.x, b.y}});
    c.set_pen_colour(pen);
    c.set_pen_style(style);
    c.set_pen_mode(mode);
    c.set_pen_width(width);
    c.set_brush(brush, brush_colour);
    screen_canvas_.finish();
    box_->update();
}

bool Zoom_panel::starts_pan(const ViewMouse& m) const {
    return active_ &&
           (m.button == MouseButton::Middle || (m.button == MouseButton::Left && space_held_));
}

void Zoom_panel::box_press(const ViewMouse& m) {
    pointer_ = m.at;
    pointer_seen_ = true;
    // Panning belongs to the view; the owner's tools never see it.
    if (starts_pan(m) && !dragging_) {
        panning_ = true;
        pan_last_ = m.at;
        refresh_hand();
        return;
    }
    if (m.button == MouseButton::Left && draw_rect_ != TDrawRect::drNone) {
        dragging_ = true;
        anchor_ = corner_ = m.at;
        band_shown_ = false;
    }
    if (OnMouseDown) OnMouseDown(m);
}

void Zoom_panel::box_move(const ViewMouse& m) {
    if (!active_) return;
    if (panning_) {
        PanBy(m.at.x - pan_last_.x, m.at.y - pan_last_.y);
        pan_last_ = pointer_ = m.at;
        refresh_readout();
        return;
    }
    if (dragging_) {
        if (band_shown_) xor_band(anchor_, corner_);
        xor_band(anchor_, m.at);
        band_shown_ = true;
    }
    corner_ = pointer_ = m.at;
    pointer_seen_ = true;
    refresh_readout();
    if (OnMouseMove) OnMouseMove(m);
}

void Zoom_panel::box_release(const ViewMouse& m) {
    if (panning_) {
        if (m.button == MouseButton::Middle || m.button == MouseButton::Left) {
            panning_ = false;
            refresh_hand();
        }
        return;
    }
    bool clicked = true;
    if (dragging_) {
        dragging_ = false;
        if (band_shown_) xor_band(anchor_, corner_);
        band_shown_ = false;
        corner_ = m.at;
        const int w = std::abs(corner_.x - anchor_.x), h = std::abs(corner_.y - anchor_.y);
        if (w > 2 && h > 2 && active_) {
            clicked = false;
            if (draw_rect_ == TDrawRect::drZoom) {
                ZoomToPixels(anchor_, corner_);
            } else if (draw_rect_ == TDrawRect::drSelect) {
                const Point2D a = ScreenToWorld(anchor_), b = ScreenToWorld(corner_);
                selection_ = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                              std::max(a.y, b.y)};
            }
            Repaint();
        }
    }
    if (OnMouseUp) OnMouseUp(m);
    if (clicked && m.button == MouseButton::Left && OnClick) OnClick();
}

void Zoom_panel::box_double_click(const ViewMouse& m) {
    pointer_ = m.at;
    if (draw_rect_ == TDrawRect::drZoom && active_) CentreOn(m.at);
    if (OnDblClick) OnDblClick();
}

void Zoom_panel::box_wheel(int angle_delta, DevicePoint at) {
    // One notch of a mouse wheel is 120.
    wheel_rest_ += angle_delta;
    const int steps = wheel_rest_ / 120;
    wheel_rest_ -= steps * 120;
    pointer_ = at;
    pointer_seen_ = true;
    ZoomAt(at, steps);
}

void Zoom_panel::ZoomAt(DevicePoint px, int steps) {
    if (!active_ || steps == 0) return;
    const TZoomView before = current_;
    const Point2D w = ScreenToWorld(px);
    const double f = steps > 0 ? 1.0 / zoom_factor_ : zoom_factor_;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (steps > 0 ? !zoom_in_enabled() : !zoom_out_enabled()) break;
        current_ = zoom_about(current_, view_client_, f, {w.x, w.y}, px);
    }
    if (current_ == before) return;
    last_ = before;
    refresh_ratio();
    after_button();
    refresh_readout();
}

void Zoom_panel::PanBy(int dx, int dy) {
    if (!active_ || (dx == 0 && dy == 0)) return;
    const int h = hbar_->value() - dx, v = vbar_->value() - dy;
    if (h >= 0 && h <= hbar_->maximum() && v >= 0 && v <= vbar_->maximum()) {
        // Within the bitmap's margin: only the shown part moves.
        const QSignalBlocker block_h(hbar_), block_v(vbar_);
        hbar_->setValue(h);
        vbar_->setValue(v);
        scrolled();
        return;
    }
    // Beyond it the window moves by what the scroll bars would have, and
    // the picture is drawn again around the new centre.
    current_ = panned(current_, hbar_->maximum() / 2 - h, vbar_->maximum() / 2 - v);
    reset_scroll_bars();
    update_buttons();
    Repaint();
}

void Zoom_panel::set_space_held(bool on) {
    space_held_ = on;
    refresh_hand();
}

void Zoom_panel::refresh_hand() {
    const bool hand = panning_ || space_held_;
    if (hand && !hand_shown_) {
        saved_cursor_ = box_->cursor();
        hand_shown_ = true;
    }
    if (hand) {
        box_->setCursor(panning_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    } else if (hand_shown_) {
        box_->setCursor(saved_cursor_);
        hand_shown_ = false;
    }
}

void Zoom_panel::ShowScreen() {
    screen_canvas_.finish();
    box_->update();
}

void Zoom_panel::setPictureCursor(const QCursor& c) {
    if (hand_shown_)
        saved_cursor_ = c;
    else
        box_->setCursor(c);
}

QCursor Zoom_panel::PictureCursor() const {
    return hand_shown_ ? saved_cursor_ : box_->cursor();
}

void Zoom_panel::box_paint() {
    if (OnPaint) OnPaint();
}

void Zoom_panel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        if (!e->isAutoRepeat()) set_space_held(true);
        return;
    }
    if (OnKeyDown) OnKeyDown(e->key(), shift_state(e->modifiers(), QApplication::mouseButtons()));
    QWidget::keyPressEvent(e);
}

void Zoom_panel::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        if (!e->isAutoRepeat()) set_space_held(false);
        return;
    }
    if (OnKeyUp) OnKeyUp(e->key(), shift_state(e->modifiers(), QApplication::mouseButtons()));
    QWidget::keyReleaseEvent(e);
}

} // namespace zeran
