// The open dialog's preview: which file is previewed, the picture's size,
// where it goes in the box, and the dialog's states.
#include "dialogs/drawing_preview.h"
#include "dialogs/open_dxf_dialog.h"
#include "dialogs/preview_form.h"
#include "support/test_doubles.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace zeran;

namespace {

QString line_entity(double x1, double y1, double x2, double y2, const char* layer = "0") {
    return QStringLiteral(
               "  0\nLINE\n  8\n%1\n 10\n%2\n 20\n%3\n 30\n0\n 11\n%4\n 21\n%5\n 31\n0\n")
        .arg(QString::fromLatin1(layer))
        .arg(x1, 0, 'g', 17)
        .arg(y1, 0, 'g', 17)
        .arg(x2, 0, 'g', 17)
        .arg(y2, 0, 'g', 17);
}

void write(const QString& path, const QString& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

QString drawing(const QString& entities) {
    return QStringLiteral("  0\nSECTION\n  2\nENTITIES\n") + entities +
           QStringLiteral("  0\nENDSEC\n  0\nEOF\n");
}

// Some pixel within r of (x, y) is dark (line ends are not drawn).
bool dark(const QImage& img, int x, int y, int r = 1) {
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (img.rect().contains(x + dx, y + dy) && qGray(img.pixel(x + dx, y + dy)) < 128)
                return true;
    return false;
}

// The columns and rows holding a dark pixel.
QRect dark_extent(const QImage& img) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

class OpenDxfTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void which_file_is_previewed() {
        write(path("part.dxf"), drawing(line_entity(0, 0, 10, 10)));
        QCOMPARE(*previewable_drawing(path("part.dxf")), path("part.dxf"));
        QVERIFY(!previewable_drawing(path("gone.dxf")));
        QVERIFY(!previewable_drawing(dir_.path()));
        QVERIFY(!previewable_drawing(QString()));

        // A project naming a drawing that is not there: the .tdx beside it.
        write(path("job.tcf"), "[DXF]\r\nTDXFileName=/nowhere/job.tdx\r\n");
        write(path("job.tdx"), drawing(line_entity(0, 0, 1, 1)));
        QCOMPARE(*previewable_drawing(path("job.tcf")), path("job.tdx"));
        // A name relative to the project, and its key in any case.
        write(path("other.tcf"), "[DXF]\r\ntdxfilename=part.dxf\r\n");
        QCOMPARE(*previewable_drawing(path("other.tcf")), path("part.dxf"));
        // Without a .tdx the .dxf of the same name; without either, nothing.
        write(path("plain.tcf"), "[Project]\r\n");
        write(path("plain.dxf"), drawing(line_entity(0, 0, 1, 1)));
        QCOMPARE(*previewable_drawing(path("plain.tcf")), path("plain.dxf"));
        write(path("lone.TCF"), "");
        QVERIFY(!previewable_drawing(path("lone.TCF")));
    }

    void pictures_are_one_pixel_per_unit() {
        ScriptedPrompt prompt;
        write(path("wide.dxf"), drawing(line_entity(0, 0, 200, 100)));
        const QImage pic = make_preview_picture(path("wide.dxf"), prompt);
        QCOMPARE(pic.size(), QSize(210, 110));
        // y up: the line runs from the bottom left to the top right.
        QVERIFY(dark(pic, 0, 100) && dark(pic, 200, 0) && dark(pic, 100, 50));
        QVERIFY(!dark(pic, 100, 100, 2) && !dark(pic, 205, 105, 2));

        write(path("tiny.dxf"), drawing(line_entity(-0.25, -0.1, 0.25, 0.1)));
        const QImage tiny = make_preview_picture(path("tiny.dxf"), prompt);
        QVERIFY(tiny.width() >= 10 && tiny.width() <= 11);
        QCOMPARE(preview_target(tiny.size(), {153, 141}),
                 QRect((153 - tiny.width()) / 2, (141 - tiny.height()) / 2, tiny.width(),
                       tiny.height()));

        // A huge drawing is drawn smaller instead of at a pixel a unit.
        write(path("huge.dxf"), drawing(line_entity(0, 0, 1e7, 5e6)));
        const QImage huge = make_preview_picture(path("huge.dxf"), prompt);
        QCOMPARE(huge.width(), kMaxPreviewSide);
        QVERIFY(huge.height() > 2000 && huge.height() < 2100);

        QVERIFY(make_preview_picture(path("gone.dxf"), prompt).isNull());
        write(path("junk.dxf"), "this is\nnot a drawing\n\x01\x02");
        make_preview_picture(path("junk.dxf"), prompt); // any answer, but no crash
    }

    void box_shows_small_and_large_drawings_whole() {
        ScriptedPrompt prompt;
        const QSize box(153, 141);
        // Half a unit wide: spread over the box, not a speck in its middle.
        write(path("tiny.dxf"), drawing(line_entity(-0.25, -0.1, 0.25, 0.1)));
        const QImage tiny =
            make_fitted_picture(read_preview_drawing(path("tiny.dxf"), prompt), box);
        QCOMPARE(tiny.size(), box);
        QVERIFY(dark_extent(tiny).width() > 120);
        QVERIFY(std::abs(dark_extent(tiny).center().x() - 76) <= 2);

        // Far larger than the box, and tall: both ends inside it.
        write(path("tall.dxf"),
              drawing(line_entity(0, 0, 300, 5000) + line_entity(0, 0, 300, 0, "rim")));
        const QImage tall =
            make_fitted_picture(read_preview_drawing(path("tall.dxf"), prompt), box);
        QCOMPARE(tall.size(), box);
        const QRect drawn = dark_extent(tall);
        QVERIFY(drawn.top() >= 3 && drawn.top() <= 8);
        QVERIFY(drawn.bottom() >= 132 && drawn.bottom() <= 137);
        QVERIFY(dark(tall, drawn.left(), drawn.bottom()) && dark(tall, drawn.right(), drawn.top()));

        // A straight line along an axis has no height to scale by.
        write(path("flat.dxf"), drawing(line_entity(0, 5, 40, 5)));
        const QImage flat =
            make_fitted_picture(read_preview_drawing(path("flat.dxf"), prompt), box);
        QVERIFY(dark_extent(flat).width() > 130);
        QVERIFY(make_fitted_picture(read_preview_drawing(path("gone.dxf"), prompt), box).isNull());

        // The dialog's box shows the fitted picture at the box's size.
        TOpenDXFDialog dlg(nullptr, &prompt);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.UpdatePreview(path("tiny.dxf"));
        QCOMPARE(dlg.Thumbnail().size(), dlg.paint_box()->size());
        QVERIFY(dark_extent(dlg.Thumbnail()).width() > dlg.paint_box()->width() / 2);
    }

    void large_pictures_are_scaled_into_the_box() {
        const QSize box(153, 141);
        QCOMPARE(preview_target({2010, 110}, box), QRect(0, 0, 153, 8));
        QCOMPARE(preview_target({100, 1000}, box), QRect(0, 0, 14, 141));
        // Wider than high, yet the height would overflow when fitted by width.
        const QRect r = preview_target({300, 290}, box);
        QVERIFY(r.width() <= 153 && r.height() <= 141);
        QCOMPARE(r.topLeft(), QPoint(0, 0));
        QVERIFY(std::abs(r.width() * 290.0 / 300.0 - r.height()) <= 1.0);
        QCOMPARE(preview_target({153, 141}, box), QRect(0, 0, 153, 141));
        QVERIFY(preview_target({0, 10}, box).isNull());
    }

    void dialog_states() {
        ScriptedPrompt prompt;
        TOpenDXFDialog dlg(nullptr, &prompt);
        QCOMPARE(dlg.label_text(), QString("Picture:"));
        QVERIFY(!dlg.preview_enabled());
        write(path("wide.dxf"), drawing(line_entity(0, 0, 200, 100)));
        dlg.UpdatePreview(path("wide.dxf"));
        QCOMPARE(dlg.label_text(), QString(" (210x110)"));
        QVERIFY(dlg.preview_enabled());
        QCOMPARE(dlg.picture().size(), QSize(210, 110));

        dlg.UpdatePreview(dir_.path());
        QCOMPARE(dlg.label_text(), QString("Picture:"));
        QVERIFY(!dlg.preview_enabled());
        QVERIFY(dlg.picture().isNull());
        dlg.UpdatePreview(path("vanished.dxf"));
        QCOMPARE(dlg.label_text(), QString("Picture:"));

        // The preview window is the picture plus its frame and 10 pixels.
        QImage pic(200, 100, QImage::Format_RGB32);
        pic.fill(Qt::white);
        TPreviewForm form(pic);
        QCOMPARE(form.objectName(), QString("PreviewForm"));
        QCOMPARE(form.windowTitle(), QString("Preview"));
        QVERIFY(form.width() >= 200 + 10 && form.width() <= 200 + 40);
        QVERIFY(form.image_label()->hasScaledContents());
    }
};

QTEST_MAIN(OpenDxfTest)
#include "open_dxf_test.moc"
