// QtCanvas drawing into an image, checked pixel by pixel.
#include "view/qt_canvas.h"

#include <QtTest>

using namespace zeran;

namespace {

QImage white_image(int w = 100, int h = 100) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// True when some pixel within `r` of (x, y) is not white.
bool inked_near(const QImage& img, int x, int y, int r = 2) {
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int px = x + dx, py = y + dy;
            if (img.rect().contains(px, py) && img.pixel(px, py) != qRgb(255, 255, 255))
                return true;
        }
    return false;
}

int inked_count(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) ++n;
    return n;
}

} // namespace

class CanvasTest : public QObject {
    Q_OBJECT
private slots:
    void colours_keep_red_in_the_low_byte() {
        QCOMPARE(to_qcolor(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(to_qcolor(0x800000), QColor(0, 0, 128));
        QCOMPARE(from_qcolor(QColor(0, 128, 128)), Colour{0x808000});
        QCOMPARE(from_qcolor(to_qcolor(0x123456)), Colour{0x123456});
    }

    // Box centred on (50, 50), radius 40. From the east radial to the north
    // one (north is up on screen) the arc covers only the upper right quarter.
    void arcs_run_counter_clockwise_on_screen() {
        QImage img = white_image();
        {
            QtCanvas c(&img);
            c.set_pen_colour(0);
            c.arc({10, 10}, {91, 91}, {95, 50}, {50, 2});
        }
        QVERIFY(inked_near(img, 78, 22));  // upper right
        QVERIFY(!inked_near(img, 22, 22)); // upper left
        QVERIFY(!inked_near(img, 22, 78)); // lower left
        QVERIFY(!inked_near(img, 78, 78)); // lower right
        QVERIFY(inked_near(img, 90, 50) && inked_near(img, 50, 10));

        // The other way round sweeps the three other quarters.
        QImage other = white_image();
        {
            QtCanvas c(&other);
            c.arc({10, 10}, {91, 91}, {50, 2}, {95, 50});
        }
        QVERIFY(!inked_near(other, 78, 22));
        QVERIFY(inked_near(other, 22, 22) && inked_near(other, 22, 78) &&
                inked_near(other, 78, 78));

        // Radials through points well outside the box only give directions.
        const ArcAngles a = arc_angles({10, 10}, {91, 91}, {500, 50}, {50, -400});
        QVERIFY(std::abs(a.start_deg) < 1.0);
        QVERIFY(std::abs(a.sweep_deg - 90) < 1.0);
        // The same radial twice is a whole ellipse.
        QCOMPARE(arc_angles({0, 0}, {10, 10}, {20, 5}, {20, 5}).sweep_deg, 360.0);
    }

    void arc_on_an_ellipse_follows_the_radial() {
        // A flat ellipse 160 wide, 40 high, centred on (80, 20). The radial
        // through (100, -60) meets it at (85, 0); taken as a plain angle
        // (76 degrees) the arc would stop at (99, 1) instead.
        const ArcAngles a = arc_angles({0, 0}, {161, 41}, {180, 20}, {100, -60});
        QVERIFY(std::abs(a.start_deg) < 1.0);
        QVERIFY(a.sweep_deg > 85 && a.sweep_deg < 88);
        QImage img = white_image(170, 50);
        {
            QtCanvas c(&img);
            c.arc({0, 0}, {161, 41}, {180, 20}, {100, -60});
        }
        QVERIFY(inked_near(img, 86, 0, 1));
        QVERIFY(!inked_near(img, 75, 0, 1));
    }

    void exclusive_or_drawn_twice_leaves_no_trace() {
        QImage img = white_image();
        QtCanvas c(&img);
        c.set_pen_colour(0x0000FF);
        c.set_pen_mode(PenMode::Xor);
        c.set_pen_style(PenStyle::DashDotDot);
        for (int i = 0; i < 2; ++i) {
            c.polygon({{10, 10}, {80, 10}, {80, 60}, {10, 60}});
            c.line({5, 90}, {95, 20});
        }
        c.finish();
        QCOMPARE(inked_count(img), 0);

        c.set_pen_mode(PenMode::Not);
        c.line({0, 50}, {99, 50});
        c.finish();
        QCOMPARE(img.pixel(30, 50), qRgb(0, 0, 0));
    }

    void shapes_pixels_and_fills_land_where_asked() {
        QImage img = white_image();
        QtCanvas c(&img);
        c.fill_rect({0, 0}, {10, 10}, 0x00FF00);
        c.pixel({50, 50}, 0xFF0000);
        c.pixel({500, 500}, 0); // off the image: ignored
        c.set_brush(BrushStyle::Solid, 0x0000FF);
        c.ellipse({60, 60}, {90, 90});
        c.finish();
        QCOMPARE(img.pixel(9, 9), qRgb(0, 255, 0));
        QCOMPARE(img.pixel(10, 10), qRgb(255, 255, 255)); // bottom right is exclusive
        QCOMPARE(img.pixel(50, 50), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(75, 75), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(61, 61), qRgb(255, 255, 255)); // outside the ellipse

        // Texts align on their point.
        QImage t = white_image(200, 40);
        QtCanvas tc(&t);
        tc.set_font_height(20);
        tc.set_text_align(TextAlign::Right);
        tc.text({100, 30}, "WWW");
        tc.finish();
        int right_most = -1;
        for (int y = 0; y < t.height(); ++y)
            for (int x = 0; x < t.width(); ++x)
                if (t.pixel(x, y) != qRgb(255, 255, 255)) right_most = std::max(right_most, x);
        QVERIFY(right_most >= 90 && right_most <= 101);
    }

    void a_canvas_without_image_ignores_drawing() {
        QtCanvas c;
        c.line({0, 0}, {10, 10});
        c.arc({0, 0}, {10, 10}, {0, 0}, {10, 10});
        c.pixel({1, 1}, 0);
        QImage img = white_image();
        c.set_image(&img);
        c.line({0, 0}, {99, 0});
        c.set_image(nullptr); // finishes the painter on img first
        QVERIFY(inked_count(img) > 90);
    }
};

QTEST_MAIN(CanvasTest)
#include "canvas_test.moc"
