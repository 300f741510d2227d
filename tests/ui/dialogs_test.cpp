// The numeric edits' key filter, conversions and limits; the colour and
// border dialogs' rules; help addresses.
#include "dialogs/border_form.h"
#include "dialogs/colour_form.h"
#include "dialogs/real_edit.h"
#include "dialogs/rspin_edit.h"
#include "view/help_link.h"
#include "view/qt_canvas.h"

#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace zeran;

namespace {

// Types each character as a key press and release.
void type(QWidget* w, const QString& s) {
    for (QChar c : s) QTest::keyClick(w, c.toLatin1());
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void real_edit_filters_keys() {
        TRealEdit e;
        e.show();
        e.setFocus();
        e.setText(QString());
        type(&e, "12.5.3x-");
        // Second separator, letter and a minus after the digits are refused
        // (taken, it would turn the text into no number, and so into 0).
        QCOMPARE(e.text(), QString("12.53"));
        e.setCursorPosition(0);
        type(&e, "-");
        QCOMPARE(e.text(), QString("-12.53"));
        QVERIFY(std::fabs(e.ValueR() + 12.53) < 1e-12);
        // Deleting the separator lets a new one in at once.
        e.setText("1.5");
        e.setCursorPosition(2);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QString("15"));
        type(&e, ".");
        QCOMPARE(e.text(), QString("1.5"));

        TRealEdit pos;
        pos.setPosOnly(true);
        pos.setText(QString());
        type(&pos, "-3");
        QCOMPARE(pos.text(), QString("3"));
        pos.setText("-4");
        pos.setPosOnly(true);
        QCOMPARE(pos.text(), QString("4")); // switching on drops the minus

        TRealEdit whole;
        whole.setText("2.5");
        whole.setEditType(TEditType::etInt);
        QCOMPARE(whole.text(), QString("25"));
        type(&whole, ".7");
        QCOMPARE(whole.text(), QString("257"));
        QCOMPARE(whole.ValueI(), 257);

        // Enter goes on to the dialog, not into the text.
        TRealEdit enter;
        QTest::keyClick(&enter, Qt::Key_Return);
        QCOMPARE(enter.text(), QString("0"));
    }

    void real_edit_units_and_limits() {
        TRealEdit inch;
        inch.setMetric(false);
        QCOMPARE(inch.maxLength(), 10);
        inch.setText(QString());
        int changes = 0;
        connect(&inch, &TRealEdit::Change, this, [&] { ++changes; });
        type(&inch, "2");
        QCOMPARE(inch.text(), QString("2"));
        QVERIFY(std::fabs(inch.stored_value() - 50.8) < 1e-9);
        QCOMPARE(changes, 1);
        inch.setImperialFeet(true);
        inch.setText("1");
        QVERIFY(std::fabs(inch.ValueR() - 304.8) < 1e-9);

        TRealEdit metre;
        metre.setMetricMeter(true);
        metre.setValueR(1234.6);
        QCOMPARE(metre.text(), QString("1.235")); // 4 significant digits
        QCOMPARE(metre.ValueR(), 1235.0);

        // Switching units shows the held value in the new unit, so that the
        // next key does not read the old text in the wrong one.
        TRealEdit length;
        length.setValueR(50.8);
        length.setMetric(false);
        QCOMPARE(length.text(), QString("2"));
        QVERIFY(std::fabs(length.ValueR() - 50.8) < 1e-9);
        length.setMetric(true);
        QCOMPARE(length.maxLength(), 8);

        TRealEdit limited;
        limited.setMax(80);
        limited.setText(QString());
        type(&limited, "95");
        QCOMPARE(limited.text(), QString("80"));
        QCOMPARE(limited.stored_value(), 80.0);
        // Min above Max is not taken; Max below Min neither.
        limited.setMin(90);
        QCOMPARE(limited.Min(), 0.0);
        limited.setMin(10);
        limited.setMax(5);
        QCOMPARE(limited.Max(), 80.0);
        limited.setValueR(3);
        QCOMPARE(limited.stored_value(), 10.0);
        QCOMPARE(limited.text(), QString("10"));

        TRealEdit range;
        range.setValueR(5);
        range.SetRange(0, 0);
        QCOMPARE(range.stored_value(), 0.0);
        QCOMPARE(range.text(), QString("0"));
        range.setValueR(5); // a Max of 0 is no limit
        QCOMPARE(range.stored_value(), 5.0);
        range.SetRange(7, 2); // not taken, but the value is held in the old range
        QCOMPARE(range.Max(), 0.0);

        // Text that is no number reads as 0; a lone sign is left for typing on.
        TRealEdit junk;
        junk.setText("1e5e");
        QCOMPARE(junk.ValueR(), 0.0);
        QCOMPARE(junk.text(), QString("0"));
        junk.setText("nan");
        QCOMPARE(junk.ValueR(), 0.0);
        junk.setText("-");
        QCOMPARE(junk.ValueR(), 0.0);
        QCOMPARE(junk.text(), QString("-"));
    }

    void spin_edit_steps_limits_and_filters() {
        TRSpinEdit s;
        s.show();
        QCOMPARE(s.text(), QString("0"));
        s.setIncrement(0.5);
        QTest::keyClick(&s, Qt::Key_Up);
        QTest::keyClick(&s, Qt::Key_Up);
        QCOMPARE(s.Value(), 1.0);
        s.findChild<QToolButton*>("SpinDown")->click();
        QCOMPARE(s.text(), QString("0.5"));
        // Min = Max = 0: any value is taken.
        s.setValue(-1234.125);
        QCOMPARE(s.Value(), -1234.125);
        s.setText("abc");
        s.setMinValue(-3);
        s.setMaxValue(9);
        QCOMPARE(s.Value(), -3.0);
        s.setValue(50);
        QCOMPARE(s.text(), QString("9"));
        s.setText("12"); // typed beyond the limit: held back on leaving
        s.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        s.setFocus();
        QTRY_VERIFY(s.hasFocus());
        s.clearFocus();
        QCOMPARE(s.text(), QString("9"));

        QVERIFY(s.accepts('7') && s.accepts('+') && s.accepts('-') && s.accepts('.'));
        QVERIFY(s.accepts('\b') && !s.accepts('\r') && !s.accepts('a'));
        s.setEditorEnabled(false);
        QVERIFY(!s.accepts('7') && !s.accepts('\b') && s.accepts(QChar(3)));
        s.setText("4");
        type(&s, "5");
        QCOMPARE(s.text(), QString("4"));
        QTest::keyClick(&s, Qt::Key_Up); // the buttons still step
        QCOMPARE(s.text(), QString("4.5"));
        s.setReadOnly(true);
        QTest::keyClick(&s, Qt::Key_Up);
        QCOMPARE(s.text(), QString("4.5"));
    }

    void colour_swatches_and_defaults() {
        // White and magenta swatches never take the transparent ground.
        const QImage white = swatch_bitmap(0xFFFFFF);
        QCOMPARE(QColor(white.pixel(0, 0)), QColor(255, 0, 255));
        QCOMPARE(QColor(white.pixel(20, 20)), QColor(255, 255, 255));
        const QImage magenta = swatch_bitmap(0xFF00FF);
        QCOMPARE(QColor(magenta.pixel(0, 0)), QColor(255, 255, 255));
        QCOMPARE(QColor(magenta.pixel(20, 20)), QColor(255, 0, 255));
        const QImage red = swatch_bitmap(0x0000FF);
        QCOMPARE(QColor(red.pixel(20, 20)), QColor(255, 0, 0));
        QCOMPARE(QColor(red.pixel(3, 20)), QColor(0, 0, 0)); // black outline

        const ColourSet d = default_colours();
        QCOMPARE(d[0], Colour{0xFFFF00});
        QCOMPARE(d[1], Colour{0x808000});
        QCOMPARE(d[2], Colour{0x800000});
        QCOMPARE(d[3], Colour{0x800080});
        QCOMPARE(d[4], Colour{0x008000});

        TColourForm form;
        QCOMPARE(form.Colours(), d);
        std::optional<QColor> answer = QColor(255, 255, 255);
        form.pick_colour = [&](const QColor&) { return answer; };
        form.BtnClick(kColourRapid);
        QCOMPARE(form.Colours()[kColourRapid], Colour{0xFFFFFF});
        QCOMPARE(QColor(form.swatch_glyph(0).pixel(0, 0)), QColor(255, 0, 255));
        answer.reset(); // the chooser cancelled: the swatch stays
        form.BtnClick(kColourThread);
        QCOMPARE(form.Colours()[kColourThread], d[kColourThread]);
        QCOMPARE(form.swatch_button(3)->property("tag").toInt(), 3);

        // "Use Defaults" then Cancel: the caller keeps its own colours.
        ColourSet mine = d;
        mine[kColourBackground] = 0x000000;
        form.SetColours(mine);
        QCOMPARE(QColor(form.preview().pixel(5, 5)), QColor(0, 0, 0));
        QTimer::singleShot(0, &form, [&] {
            form.DefaultBtnClick();
            form.reject();
        });
        if (form.Execute()) mine = form.Colours();
        QCOMPARE(mine[kColourBackground], Colour{0x000000});
        QCOMPARE(form.Colours(), d); // the dialog itself holds the defaults
    }

    void preview_paints_each_move_kind() {
        ColourSet c = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
        QImage img(180, 190, QImage::Format_RGB32);
        draw_colour_preview(img, c);
        auto at = [&](int x, int y) { return from_qcolor(QColor(img.pixel(x, y))); };
        QCOMPARE(at(100, 20), c[0]); // rapid along the top
        QCOMPARE(at(10, 40), c[1]);  // linear down the left
        QCOMPARE(at(146, 160), c[4]);
        QCOMPARE(at(100, 100), c[5]);
        // The clockwise move is the upper right quarter of its circle.
        bool cw_upper_right = false, cw_elsewhere = false;
        for (int y = 55; y < 145; ++y)
            for (int x = 5; x < 95; ++x)
                if (at(x, y) == c[2]) {
                    if (y < 97 && x > 53) cw_upper_right = true;
                    if (y > 103 || x < 47) cw_elsewhere = true;
                }
        QVERIFY(cw_upper_right && !cw_elsewhere);
    }

    void border_limits() {
        TBorderForm f;
        QCOMPARE(f.GetBorder(), 20);
        f.SetBorder(3);
        QCOMPARE(f.GetBorder(), 5);
        f.SetBorder(250);
        QCOMPARE(f.GetBorder(), 100);
        f.SetBorder(42);
        QTimer::singleShot(0, &f, [&] {
            f.border_edit()->setValue(60);
            f.reject();
        });
        int border = 42;
        if (f.Execute()) border = f.GetBorder();
        QCOMPARE(border, 42); // Cancel keeps the previous border
        QTimer::singleShot(0, &f, [&] {
            f.border_edit()->setValue(60);
            f.accept();
        });
        if (f.Execute()) border = f.GetBorder();
        QCOMPARE(border, 60);
    }

    void help_opens_the_page_of_the_context() {
        QList<QUrl> opened;
        set_help_opener([&](const QUrl& u) {
            opened << u;
            return true;
        });
        TBorderForm f;
        f.findChild<QPushButton*>("HelpBtn")->click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].fileName(), QString("border.html"));
        QCOMPARE(opened[0].fragment(), QString("ctx65"));
        QVERIFY(QFileInfo::exists(opened[0].toLocalFile()));
        // Every context the program uses has its anchor on its page.
        for (int ctx : {1,  3,  5,  6,  7,  10, 16, 20, 31, 37, 38,  41,
                        44, 50, 52, 54, 55, 56, 57, 60, 64, 65, 1000}) {
            const QUrl u = help_url(ctx);
            QFile page(u.toLocalFile());
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(u.toString()));
            QVERIFY2(page.readAll().contains(QStringLiteral("id=\"ctx%1\"").arg(ctx).toUtf8()),
                     qPrintable(u.toString()));
        }
        QCOMPARE(help_page(999), QString("index.html"));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
