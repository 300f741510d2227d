// The zoom view: its arithmetic, its buttons and readouts, the rubber band,
// resizing, composing and a picture to look at.
#include "view/zoom_panel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>

using namespace zeran;

namespace {

bool near(double a, double b, double tol = 1e-9) {
    return std::fabs(a - b) <= tol;
}

// A panel on screen whose paint area is `w` by `h`.
struct ShownPanel {
    Zoom_panel panel;
    ShownPanel(int w, int h) {
        panel.resize(w, h);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const PixelSize c = panel.client_size();
        panel.resize(w + (w - c.width), h + (h - c.height));
        QTest::qWait(150); // let the resize settle
    }
    QWidget* box() { return panel.findChild<QWidget*>(QStringLiteral("PaintBox")); }
};

// Mouse and wheel input straight to the paint area, with the buttons held.
void send_mouse(QWidget* box, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                QPoint at) {
    QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &e);
}

void send_wheel(QWidget* box, QPoint at, int delta) {
    QWheelEvent e(QPointF(at), box->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &e);
}

bool same_world(Point2D a, Point2D b, double scale) {
    return near(a.x, b.x, 1.0 / scale) && near(a.y, b.y, 1.0 / scale);
}

} // namespace

class ZoomTest : public QObject {
    Q_OBJECT
private slots:
    void fit_takes_the_smaller_scale_and_centres() {
        const TZoomView v = fit_view({1000, 600}, 20, 100, 0, 200, 0);
        QVERIFY(near(v.ScaleX, 2.6) && near(v.ScaleY, 2.6));
        QVERIFY(near(v.CentreX, 100) && near(v.CentreY, 50));
        QVERIFY(near(v.XMin, 100 - 500 / 2.6) && near(v.YMax, 50 + 300 / 2.6));

        // A zero extent counts as scale 1 before the two are equalised.
        const TZoomView flat = fit_view({1000, 600}, 20, 5, 5, 400, 0);
        QVERIFY(near(flat.ScaleX, 1.0));
        const TZoomView dot = fit_view({1000, 600}, 20, 5, 5, 3, 3);
        QVERIFY(near(dot.ScaleX, 1.0) && near(dot.CentreX, 3));
        // A client smaller than its border does not give a negative scale.
        QVERIFY(fit_view({50, 50}, 20, 10, 0, 10, 0).ScaleX > 0);
    }

    void steps_ratios_and_mappings() {
        const TZoomView fit = fit_view({1000, 600}, 20, 100, 0, 200, 0);
        const TZoomView in = zoom_step(fit, 1 / 1.25);
        QVERIFY(near(in.ScaleX, 2.6 * 1.25));
        QVERIFY(near((in.XMin + in.XMax) / 2, 100) && near((in.YMin + in.YMax) / 2, 50));
        QVERIFY(near((in.XMax - in.XMin) * in.ScaleX, 1000, 1e-6));
        QCOMPARE(zoom_ratio_text(fit, fit, '.'), std::string("1 : 1"));
        QCOMPARE(zoom_ratio_text(in, fit, '.'), std::string("1.25 : 1"));
        QCOMPARE(zoom_ratio_text(zoom_step(fit, 1.25), fit, ','), std::string("1 : 1,25"));

        const ViewPlacement p = centred_placement({1000, 600});
        QCOMPARE(p.offX, 250);
        QCOMPARE(p.offY, 150);
        const auto b = world_to_bitmap(fit, p, 100, 50);
        const auto s = world_to_screen(fit, p, 100, 50);
        QVERIFY(b && s);
        QCOMPARE(b->x, 750); // centre of the 1500-wide bitmap
        QCOMPARE(s->x, 500);
        QCOMPARE(s->y, 300);
        ViewPlacement scrolled = p;
        scrolled.hPos += 40;
        scrolled.vPos -= 30;
        for (double x : {-7.3, 0.0, 123.4})
            for (double y : {-55.5, 20.0}) {
                const auto px = world_to_screen(fit, scrolled, x, y);
                const WorldXY w = screen_to_world(fit, scrolled, *px);
                QVERIFY(near(w.x, x, 0.5 / fit.ScaleX) && near(w.y, y, 0.5 / fit.ScaleY));
            }
        QVERIFY(!world_to_bitmap(fit, p, 1e300, 0));
        QVERIFY(!world_to_screen(fit, p, 0, std::nan("")));
    }

    void readouts() {
        const WorldXY w{12.5, -3.25};
        QCOMPARE(pointer_readout(w, false, {0, 0}, Units::Metric, '.'),
                 std::string("X= 12.500   Y= -3.250"));
        QCOMPARE(pointer_readout(w, true, {10, 1}, Units::Metric, '.'),
                 std::string("X= -4.250   Z= 2.500"));
        // Without a datum the lathe readout falls back to plain X and Y.
        QCOMPARE(pointer_readout(w, true, {kNotSet, kNotSet}, Units::Metric, '.'),
                 std::string("X= 12.500   Y= -3.250"));
        QCOMPARE(pointer_readout({1, 2}, false, {}, Units::Inch, ','),
                 std::string("X= 1,0000   Y= 2,0000"));
    }

    void buttons_last_and_reset() {
        ShownPanel s(1000, 600);
        Zoom_panel& z = s.panel;
        QCOMPARE(z.status_text(1), QString("1 : 1"));
        QVERIFY(!z.zoom_in_enabled()); // nothing shown yet
        z.FitExtents(20, 100, 0, 200, 0);
        QVERIFY(z.active());
        QVERIFY(near(z.OrgScale(), 2.6));
        QCOMPARE(z.BmpWidth(), 1500);
        QCOMPARE(z.BmpHeight(), 900);
        QVERIFY(!z.zoom_in_enabled()); // the owner enables zooming
        z.setZoomEnabled(true);
        QVERIFY(z.zoom_in_enabled() && z.zoom_out_enabled());
        QVERIFY(!z.zoom_reset_enabled() && !z.zoom_last_enabled());

        int redraws = 0;
        z.OnNeedReDraw = [&] { ++redraws; };
        z.ZoomIn();
        QCOMPARE(z.status_text(1), QString("1.25 : 1"));
        QCOMPARE(redraws, 1);
        QVERIFY(z.zoom_reset_enabled());
        z.ZoomIn();
        z.ZoomIn();
        const TZoomView before_reset = z.current_view();
        z.ZoomReset();
        QVERIFY(near(z.current_scale(), z.OrgScale()));
        QCOMPARE(z.status_text(1), QString("1 : 1"));
        QVERIFY(z.zoom_last_enabled());
        z.ZoomLast();
        QVERIFY(z.current_view() == before_reset);

        z.ZoomReset();
        z.ZoomOut();
        QCOMPARE(z.status_text(1), QString("1 : 1.25"));

        // Zoom in stops at 100 pixels a unit, zoom out at 0.1.
        for (int i = 0; i < 100 && z.zoom_in_enabled(); ++i) z.ZoomIn();
        QVERIFY(z.current_scale() >= 100 && z.current_scale() < 125);
        const double top = z.current_scale();
        z.ZoomIn();
        QCOMPARE(z.current_scale(), top);
        for (int i = 0; i < 200 && z.zoom_out_enabled(); ++i) z.ZoomOut();
        QVERIFY(z.current_scale() <= 0.1 && z.current_scale() > 0.08);

        // Inactive: the panels go back to their first texts.
        z.SetActive(false);
        QCOMPARE(z.status_text(0), QString("X= 0.000  Y= 0.000"));
        QCOMPARE(z.status_text(1), QString("1 : 1"));
        z.ZoomIn(); // ignored while inactive
        QVERIFY(z.current_scale() <= 0.1);
    }

    void auto_repeat_zooms_while_held() {
        ShownPanel s(600, 400);
        Zoom_panel& z = s.panel;
        z.FitExtents(20, 100, 0, 100, 0);
        z.setZoomEnabled(true);
        auto* in = z.findChild<QToolButton*>(QStringLiteral("ZoomIn"));
        QVERIFY(in->isEnabled());
        const double fit = z.current_scale();
        QTest::mousePress(in, Qt::LeftButton);
        QVERIFY(near(z.current_scale(), fit * 1.25)); // once at the press
        QTest::qWait(700);                            // 500 ms, then every 25 ms
        QTest::mouseRelease(in, Qt::LeftButton);
        const double held = z.current_scale();
        QVERIFY(held > fit * 1.25 * 1.25);
        QTest::qWait(100);
        QCOMPARE(z.current_scale(), held); // stopped on release
    }

    void pointer_rubber_band_and_double_click() {
        ShownPanel s(400, 300);
        Zoom_panel& z = s.panel;
        z.FitExtents(0, 300, 0, 400, 0); // scale 300/400 ... then equalised
        z.setZoomEnabled(true);
        QWidget* box = s.box();
        QVERIFY(box);
        // Before the pointer has been over the picture there is no position.
        z.Datum = {100, 50};
        z.SetLatheReadout(true);
        QCOMPARE(z.status_text(0), QString("X= 0.000   Z= 0.000"));
        z.SetLatheReadout(false);
        QCOMPARE(z.status_text(0), QString("X= 0.000   Y= 0.000"));
        z.Datum = {kNotSet, kNotSet};
        QTest::mouseMove(box, QPoint(200, 150));
        QTRY_VERIFY(z.status_text(0).startsWith("X= 200.000"));
        z.Datum = {100, 50};
        z.SetLatheReadout(true);
        QVERIFY(z.status_text(0).startsWith("X= 100.000   Z= 100.000"));
        z.setUnits(Units::Inch);
        QCOMPARE(z.status_text(2), QString("Inch"));

        // Drag over the upper left quarter: the view zooms to it. (QTest takes
        // the point (0, 0) for the widget's centre, so the band starts at 1.)
        std::vector<ViewMouse> downs, ups;
        z.OnMouseDown = [&](const ViewMouse& m) { downs.push_back(m); };
        z.OnMouseUp = [&](const ViewMouse& m) { ups.push_back(m); };
        const TZoomView before = z.current_view();
        const Point2D c1 = z.ScreenToWorld({1, 1}), c2 = z.ScreenToWorld({200, 150});
        QTest::mousePress(box, Qt::LeftButton, Qt::ShiftModifier, QPoint(1, 1));
        QTest::mouseMove(box, QPoint(100, 75));
        QTest::mouseMove(box, QPoint(200, 150));
        QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
        QCOMPARE(downs.size(), std::size_t{1});
        QCOMPARE(downs[0].button, MouseButton::Left);
        QVERIFY(downs[0].shift.shift);
        QCOMPARE(ups.size(), std::size_t{1});
        // S is the smaller side of the client (300) over each extent, then the smaller.
        QVERIFY(near(z.current_scale(), before.ScaleX * 300 / 199, 1e-9));
        QVERIFY(near(z.current_view().CentreX, (c1.x + c2.x) / 2) &&
                near(z.current_view().CentreY, (c1.y + c2.y) / 2));
        QVERIFY(z.last_view() == before);
        // The XOR band has been wiped: the screen is the composed picture.
        QCOMPARE(z.screen_image().pixel(50, 0),
                 z.composite().pixel(50 + z.placement().offX, z.placement().offY));

        // A band of 2 pixels does nothing but forward the events.
        const TZoomView zoomed = z.current_view();
        QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseMove(box, QPoint(12, 40));
        QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(12, 40));
        QVERIFY(z.current_view() == zoomed);

        // With drNone a drag only forwards.
        z.setShowDrawRect(TDrawRect::drNone);
        QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseMove(box, QPoint(150, 140));
        QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(150, 140));
        QVERIFY(z.current_view() == zoomed);
        QCOMPARE(ups.size(), std::size_t{3});

        // drSelect keeps the world rectangle instead of zooming.
        z.setShowDrawRect(TDrawRect::drSelect);
        QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        QTest::mouseMove(box, QPoint(200, 150));
        QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
        QVERIFY(z.current_view() == zoomed);
        const Point2D s1 = z.ScreenToWorld({1, 1}), s2 = z.ScreenToWorld({200, 150});
        QVERIFY(near(z.selection_rect().x1, s1.x) && near(z.selection_rect().x2, s2.x));
        QVERIFY(near(z.selection_rect().y1, s2.y) && near(z.selection_rect().y2, s1.y));

        // Double-click centres on the point, keeping the scale.
        z.setShowDrawRect(TDrawRect::drZoom);
        const Point2D target = z.ScreenToWorld({300, 50});
        QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(300, 50));
        QVERIFY(near(z.current_view().CentreX, target.x) &&
                near(z.current_view().CentreY, target.y));
        QVERIFY(near(z.current_scale(), zoomed.ScaleX));
    }

    void unmappable_points_return_to_the_last_view() {
        ShownPanel s(400, 300);
        Zoom_panel& z = s.panel;
        z.FitExtents(20, 10, 0, 10, 0);
        z.setZoomEnabled(true);
        z.ZoomIn();
        const TZoomView good = z.last_view();
        int calls = 0;
        z.OnNeedReDraw = [&] {
            ++calls;
            if (calls == 1) z.WorldToBitmap({1e300, 0, 0});
        };
        z.Repaint();
        QCOMPARE(calls, 2); // drawn again in the last view
        QVERIFY(z.current_view() == good);
    }

    void resizing_keeps_the_centre_and_rescales() {
        ShownPanel s(400, 300);
        Zoom_panel& z = s.panel;
        z.FitExtents(10, 50, -50, 80, -20);
        const TZoomView before = z.current_view();
        const PixelSize c = z.client_size();
        z.resize(z.width() + c.width, z.height() + c.height); // client doubles
        QVERIFY(near(z.current_scale(), before.ScaleX));      // not before the quiet time
        QTRY_VERIFY(near(z.current_scale(), before.ScaleX * 2));
        QVERIFY(near(z.current_view().CentreX, 30) && near(z.current_view().CentreY, 0));
        QVERIFY(near(z.OrgScale(), before.ScaleX * 2));
        QCOMPARE(z.BmpWidth(), 3 * z.client_size().width / 2);
    }

    void marks_are_anded_over_the_drawing_and_a_picture_is_kept() {
        ShownPanel s(500, 300);
        Zoom_panel& z = s.panel;
        z.FitExtents(20, 60, -60, 210, -10);
        z.setZoomEnabled(true);
        const Colour background = 0xE1FFFF;
        z.OnNeedReDraw = [&] {
            z.DrawCanvas().image()->fill(to_qcolor(background));
            z.MarkCanvas().image()->fill(Qt::white);
            Canvas& c = z.DrawCanvas();
            c.set_pen_colour(0x000000);
            // A stepped shaft profile over the axis, and its mirror dashed.
            const std::vector<std::pair<double, double>> profile = {
                {0, 0}, {0, 20}, {60, 20}, {60, 35}, {140, 35}, {150, 45}, {200, 45}, {200, 0}};
            std::vector<DevicePoint> pts, mirror;
            for (auto [x, y] : profile) {
                pts.push_back(z.WorldToBitmap({x, y, 0}));
                mirror.push_back(z.WorldToBitmap({x, -y, 0}));
            }
            c.polyline(pts);
            c.set_pen_style(PenStyle::Dash);
            c.polyline(mirror);
            c.set_pen_style(PenStyle::Solid);
            // A rounded corner as an arc, counter-clockwise from east to north.
            c.set_pen_colour(0x800080);
            const DevicePoint tl = z.WorldToBitmap({90, 55, 0}), br = z.WorldToBitmap({110, 35, 0});
            c.arc(tl, br, z.WorldToBitmap({120, 45, 0}), z.WorldToBitmap({100, 60, 0}));
            // The datum cross on the mark bitmap, in red.
            Canvas& m = z.MarkCanvas();
            m.set_pen_colour(0x0000FF);
            const DevicePoint o = z.WorldToBitmap({0, 0, 0});
            m.line({0, o.y}, {z.BmpWidth(), o.y});
            m.line({o.x, 0}, {o.x, z.BmpHeight()});
        };
        z.Repaint();
        const ViewPlacement p = z.placement();
        const DevicePoint o = z.WorldToBitmap({0, 0, 0});
        const DevicePoint far = z.WorldToBitmap({100, -50, 0});
        // Background AND white is the background; red over it keeps only red.
        QCOMPARE(QColor(z.composite().pixel(far.x, far.y)), to_qcolor(background));
        QCOMPARE(QColor(z.composite().pixel(o.x + 40, o.y)), QColor(255, 0, 0));
        // What is on screen is the composite at the scroll offset.
        QCOMPARE(z.screen_image().pixel(o.x - p.hPos + 40, o.y - p.vPos),
                 z.composite().pixel(o.x + 40, o.y));
        const DevicePoint scr = z.WorldToScreen({0, 0, 0});
        QCOMPARE(scr.x, o.x - p.offX);

        const QString file = QStringLiteral("/tmp/zeran_zoom_view.png");
        QVERIFY(z.grab().save(file));
    }

    void zoom_about_a_point_and_panning_keep_the_point_under_the_pointer() {
        const PixelSize client{1000, 600};
        const TZoomView fit = fit_view(client, 20, 100, 0, 200, 0);
        const ViewPlacement p = centred_placement(client);
        for (DevicePoint px : {DevicePoint{0, 0}, DevicePoint{123, 456}, DevicePoint{999, 599}})
            for (double f : {1 / 1.25, 1.25}) {
                const WorldXY w = screen_to_world(fit, p, px);
                const TZoomView n = zoom_about(fit, client, f, w, px);
                QVERIFY(near(n.ScaleX, fit.ScaleX / f) && near(n.ScaleY, n.ScaleX));
                const auto back = world_to_screen(n, p, w.x, w.y);
                QVERIFY(back && std::abs(back->x - px.x) <= 1 && std::abs(back->y - px.y) <= 1);
                // The window keeps the client's size in pixels.
                QVERIFY(near((n.XMax - n.XMin) * n.ScaleX, 1000, 1e-6));
            }
        // Panning moves the picture with the pointer: right and down.
        const TZoomView moved = panned(fit, 30, -20);
        const auto a = world_to_screen(fit, p, 50, 50), b = world_to_screen(moved, p, 50, 50);
        QCOMPARE(b->x - a->x, 30);
        QCOMPARE(b->y - a->y, -20);
        QVERIFY(near(moved.ScaleX, fit.ScaleX));
    }

    void wheel_zooms_about_the_pointer() {
        ShownPanel s(600, 400);
        Zoom_panel& z = s.panel;
        z.FitExtents(20, 100, 0, 200, 0);
        QWidget* box = s.box();
        const QPoint at(150, 100);
        const Point2D under = z.ScreenToWorld({at.x(), at.y()});
        const double fit = z.current_scale();
        send_wheel(box, at, 120);
        QCOMPARE(z.current_scale(), fit); // zooming is off until the owner enables it
        z.setZoomEnabled(true);
        int redraws = 0;
        z.OnNeedReDraw = [&] { ++redraws; };
        send_wheel(box, at, 120);
        QVERIFY(near(z.current_scale(), fit * 1.25));
        QCOMPARE(z.status_text(1), QString("1.25 : 1"));
        QCOMPARE(redraws, 1);
        QVERIFY(same_world(z.ScreenToWorld({at.x(), at.y()}), under, z.current_scale()));
        QVERIFY(z.zoom_reset_enabled());
        // Half notches (touchpads) add up to one step; two notches are two.
        send_wheel(box, at, 60);
        QVERIFY(near(z.current_scale(), fit * 1.25));
        send_wheel(box, at, 60);
        QVERIFY(near(z.current_scale(), fit * 1.25 * 1.25));
        send_wheel(box, at, -240);
        QVERIFY(near(z.current_scale(), fit));
        QVERIFY(same_world(z.ScreenToWorld({at.x(), at.y()}), under, z.current_scale()));
        // It stops where the zoom-in button does.
        for (int i = 0; i < 100; ++i) send_wheel(box, at, 120);
        QVERIFY(z.current_scale() >= 100 && z.current_scale() < 125);
        QVERIFY(!z.zoom_in_enabled());
    }

    void middle_button_and_space_drag_pan_without_reaching_the_owner() {
        ShownPanel s(600, 400);
        Zoom_panel& z = s.panel;
        z.FitExtents(20, 100, 0, 200, 0);
        z.setZoomEnabled(true);
        QWidget* box = s.box();
        int downs = 0, moves = 0, ups = 0, redraws = 0;
        z.OnMouseDown = [&](const ViewMouse&) { ++downs; };
        z.OnMouseMove = [&](const ViewMouse&) { ++moves; };
        z.OnMouseUp = [&](const ViewMouse&) { ++ups; };
        z.OnNeedReDraw = [&] { ++redraws; };

        // A short drag stays within the bitmap's margin: no new drawing.
        const Point2D grabbed = z.ScreenToWorld({300, 200});
        send_mouse(box, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {300, 200});
        QVERIFY(z.panning());
        send_mouse(box, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {320, 190});
        send_mouse(box, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {340, 180});
        QVERIFY(same_world(z.ScreenToWorld({340, 180}), grabbed, z.current_scale()));
        QCOMPARE(redraws, 0);
        // A long one goes beyond it: the view moves and draws again.
        send_mouse(box, QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {590, 20});
        QVERIFY(same_world(z.ScreenToWorld({590, 20}), grabbed, z.current_scale()));
        QVERIFY(redraws >= 1);
        send_mouse(box, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, {590, 20});
        QVERIFY(!z.panning());
        QCOMPARE(downs + moves + ups, 0);
        QVERIFY(same_world(z.ScreenToWorld({590, 20}), grabbed, z.current_scale()));

        // Space with the left button pans instead of starting a rubber band.
        const double scale = z.current_scale();
        box->setFocus();
        QTest::keyPress(box, Qt::Key_Space);
        QCOMPARE(box->cursor().shape(), Qt::OpenHandCursor);
        const Point2D held = z.ScreenToWorld({100, 100});
        send_mouse(box, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {100, 100});
        send_mouse(box, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {60, 140});
        send_mouse(box, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {60, 140});
        QVERIFY(same_world(z.ScreenToWorld({60, 140}), held, z.current_scale()));
        QCOMPARE(z.current_scale(), scale); // no zoom to a rubber band
        QCOMPARE(downs + ups, 0);
        QTest::keyRelease(box, Qt::Key_Space);
        QCOMPARE(box->cursor().shape(), Qt::CrossCursor);
        // Without Space the left button is the owner's again.
        send_mouse(box, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {100, 100});
        send_mouse(box, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {100, 100});
        QCOMPARE(downs, 1);
        QCOMPARE(ups, 1);
    }
};

QTEST_MAIN(ZoomTest)
#include "zoom_test.moc"
