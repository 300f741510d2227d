// Scene helpers: clearing, the marker, drawing a drawing through the view.
#include "geometry/dxf_object.h"
#include "geometry/point_entities.h"
#include "project/scene.h"
#include "support/test_doubles.h"
#include "view/canvas_clearing.h"
#include "view/qt_canvas.h"
#include "view/zoom_panel.h"

#include <QtTest>

using namespace zeran;

class SceneTest : public QObject {
    Q_OBJECT
private slots:
    void marker_size_and_shape() {
        // A drawing 0 to 200 wide at scale 2: radius 8, crosses of 16 each way.
        QCOMPARE(marker_radius({200, 50, 0}, {0, -50, 0}, 2.0), 8);
        // Reaching further left than right still gives a circle, not a
        // negative radius.
        QCOMPARE(marker_radius({100, 0, 0}, {-300, 0, 0}, 1.0), 4);
        // Symmetric about X = 0, nearly so, or beyond any sensible size: the
        // marker still shows.
        QVERIFY(marker_radius({50, 10, 0}, {-50, -10, 0}, 3.0) >= 3);
        QVERIFY(marker_radius({100.5, 0, 0}, {-100, 0, 0}, 1.0) >= 3);
        QVERIFY(marker_radius({1e300, 0, 0}, {0, 0, 0}, 1e10) >= 3);
        QVERIFY(marker_radius({1e300, 0, 0}, {0, 0, 0}, 1e10) < 100);
        QVERIFY(marker_radius({10, 0, 0}, {0, 0, 0}, std::nan("")) >= 3);
        RecordingCanvas c;
        c.set_brush(BrushStyle::Solid, 0x123456);
        DrawMarker(c, {100, 60}, 8, 0xFF0000);
        QCOMPARE(c.calls.size(), std::size_t{3});
        QCOMPARE(c.calls[0].op, std::string("ellipse"));
        QCOMPARE(c.calls[0].points[0], (DevicePoint{92, 52}));
        QCOMPARE(c.calls[0].points[1], (DevicePoint{108, 68}));
        QCOMPARE(c.calls[1].points[0], (DevicePoint{84, 60}));
        QCOMPARE(c.calls[1].points[1], (DevicePoint{116, 60}));
        QCOMPARE(c.calls[2].points[0], (DevicePoint{100, 44}));
        QCOMPARE(c.calls[2].colour, Colour{0xFF0000});
        QCOMPARE(c.brush_style(), BrushStyle::Solid); // left as it was
    }

    void clear_canvas_fills_and_resets_the_pen() {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::black);
        QtCanvas c(&img);
        c.set_pen_colour(0x00FF00);
        c.set_pen_mode(PenMode::Xor);
        c.set_pen_width(3);
        ClearCanvas(c, 0xE1FFFF);
        c.finish();
        QCOMPARE(QColor(img.pixel(0, 0)), QColor(255, 255, 225));
        QCOMPARE(QColor(img.pixel(39, 29)), QColor(255, 255, 225));
        QCOMPARE(c.pen_colour(), Colour{0});
        QCOMPARE(c.pen_mode(), PenMode::Copy);
        QCOMPARE(c.pen_width(), 1);
        QCOMPARE(c.brush_style(), BrushStyle::Clear);
    }

    void drawings_draw_last_layer_first_through_the_view() {
        LayerList layers;
        auto first = std::make_unique<DXF_Layer>("first");
        first->add_entity(std::make_unique<Line_>(Point3D{0, 0, 0}, 1, Point3D{10, 0, 0}));
        first->add_entity(std::make_unique<Line_>(Point3D{0, 5, 0}, 1, Point3D{10, 5, 0}));
        auto second = std::make_unique<DXF_Layer>("second");
        second->add_entity(std::make_unique<Line_>(Point3D{0, 9, 0}, 3, Point3D{10, 9, 0}));
        layers.push_back(std::move(first));
        layers.push_back(std::move(second));
        DXF_Object drawing("d", std::move(layers), {10, 9, 0}, {0, 0, 0});

        RecordingCanvas rec;
        auto map = [](const Point3D& p, const Matrix4*) {
            return DevicePoint{static_cast<int>(p.x), static_cast<int>(-p.y)};
        };
        draw_drawing(rec, drawing, map);
        std::vector<int> ys;
        for (const auto& call : rec.calls)
            if (call.op == "line") ys.push_back(call.points[0].y);
        QCOMPARE(ys, (std::vector<int>{-9, 0, -5}));

        // Through the view's bitmap mapping, onto its drawing bitmap.
        Zoom_panel view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.FitExtents(20, 9, 0, 10, 0);
        view.OnNeedReDraw = [&] {
            ClearCanvas(view.DrawCanvas(), 0xFFFFFF);
            ClearCanvas(view.MarkCanvas(), 0xFFFFFF);
            BitmapMapper m{&view};
            draw_drawing(view.DrawCanvas(), drawing, m);
        };
        view.Repaint();
        const DevicePoint mid = view.WorldToBitmap({5, 9, 0});
        QCOMPARE(QColor(view.Graphic().pixel(mid.x, mid.y)), QColor(0, 255, 0)); // colour 3
        const DevicePoint low = view.WorldToBitmap({5, 0, 0});
        QCOMPARE(QColor(view.composite().pixel(low.x, low.y)), QColor(255, 0, 0)); // colour 1
    }
};

QTEST_MAIN(SceneTest)
#include "scene_test.moc"
