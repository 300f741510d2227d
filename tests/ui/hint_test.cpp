// The parameter hint's lines and colours, its timing, and the busy box.
#include "cycles/param_controls.h"
#include "view/busy_box.h"
#include "view/param_hint.h"

#include <QLabel>
#include <QProgressBar>
#include <QtTest>

using namespace zeran;

namespace {

std::vector<std::string> texts(const ParamHintText& h) {
    std::vector<std::string> out;
    for (const HintLine& l : h.lines) out.push_back(l.text);
    return out;
}

const HintLine* line_starting(const ParamHintText& h, const std::string& start) {
    for (const HintLine& l : h.lines)
        if (l.text.rfind(start, 0) == 0) return &l;
    return nullptr;
}

// A cycle of the kind with feed and speed set and its flags as given.
TParamControls cycle(CycleKind kind, bool valid, bool profile_checked) {
    TParamControls c(kind);
    c.SetControl(ParamField::Feed, 120);
    c.SetControl(ParamField::Speed, 800);
    c.Valid = valid;
    c.ProfileChecked = profile_checked;
    return c;
}

} // namespace

class HintTest : public QObject {
    Q_OBJECT
private slots:
    void threading_lines_mark_what_is_missing() {
        TParamControls t = cycle(CycleKind::Threading, true, true);
        t.SetControl(ParamField::DepthThread, 1.2);
        t.SetControl(ParamField::DepthFirst, 0.3);
        t.SetControl(ParamField::MinCut, 0.05);
        const ParamHintText h = build_param_hint(t, '.');
        QVERIFY(h.ready);
        const std::vector<std::string> l = texts(h);
        QCOMPARE(l[0], std::string(" Status: "));
        QCOMPARE(l[1], std::string(" Ready"));
        QCOMPARE(l[2], std::string(" Start Position: Correct"));
        QCOMPARE(l[3], std::string(" Units: Metric"));
        QCOMPARE(l[4], std::string(" Feed rate: 120 mm/min."));
        QCOMPARE(l[5], std::string(" Spindle Speed: 800 rev/min."));
        QCOMPARE(l[6], std::string(" "));
        QCOMPARE(l.size(), std::size_t{7 + 8});
        QVERIFY(!line_starting(h, " Thread pitch: 0 mm")->ok); // pitch 0: red
        QVERIFY(line_starting(h, " Depth of thread: 1.2 mm")->ok);
        QVERIFY(line_starting(h, " Thread chamfer: ")->ok); // never required
        // The status word is painted beside the first line, not in the text.
        QVERIFY(h.text.rfind(" Status:  \n Start Position: Correct \n", 0) == 0);
        QVERIFY(h.text.find("Ready") == std::string::npos);
        QVERIFY(h.text.find("800 rev/min. \n \n Finishing allowance in X") != std::string::npos);
        QVERIFY(h.text.back() != '\n'); // the last line has no line end
    }

    void finishing_ends_with_the_spindle_and_status_follows_the_flags() {
        const ParamHintText f = build_param_hint(
            *std::make_unique<TParamControls>(cycle(CycleKind::Finishing, false, true)), '.');
        QCOMPARE(f.lines.size(), std::size_t{6});
        QVERIFY(!f.ready);
        QCOMPARE(f.lines[1].text, std::string(" Not Ready"));
        QVERIFY(!f.lines[1].ok);
        QVERIFY(f.text.size() > 3 && f.text.substr(f.text.size() - 3) == "in.");

        TParamControls wrong_start = cycle(CycleKind::Linear, true, false);
        const ParamHintText w = build_param_hint(wrong_start, ',');
        QVERIFY(!w.ready);
        QCOMPARE(w.lines[2].text, std::string(" Start Position: Incorrect"));
        QVERIFY(!w.lines[2].ok);
    }

    void repeats_and_zero_feed() {
        TParamControls p = cycle(CycleKind::PatternRepeat, true, true);
        p.SetControl(ParamField::Repeats, 3);
        p.SetControl(ParamField::Feed, 0);
        ParamHintText h = build_param_hint(p, '.');
        const HintLine* r = line_starting(h, " Number of repeats: ");
        QCOMPARE(r->text, std::string(" Number of repeats: 3 "));
        QVERIFY(r->ok);
        QVERIFY(!line_starting(h, " Feed rate: ")->ok);
        p.SetControl(ParamField::Repeats, 0);
        h = build_param_hint(p, '.');
        QVERIFY(!line_starting(h, " Number of repeats: ")->ok);

        TParamControls inch = cycle(CycleKind::Drilling, true, true);
        TCycleParams rec = inch.ReadRecord();
        rec.Units = 1;
        inch.LoadRecord(rec);
        inch.SetControl(ParamField::DepthCutZ, 0.25);
        h = build_param_hint(inch, ',');
        QVERIFY(line_starting(h, " Units: Inch"));
        QVERIFY(line_starting(h, " Depth of cut in Z: 0,25 inch"));
    }

    void hint_window_timing() {
        TParamHint hint;
        TParamControls a = cycle(CycleKind::AlongX, false, true),
                       b = cycle(CycleKind::AlongZ, true, true);
        int node_a = 0, node_b = 0;
        hint.ShowParamHint(100, 200, &node_a, a, 120);
        QVERIFY(hint.timer_running());
        QVERIFY(!hint.HintShowing());
        QCOMPARE(hint.hint_rect().top(), 200);
        QCOMPARE(hint.hint_rect().left(), 100 + 60 - hint.hint_rect().width() / 2);
        QTRY_VERIFY(hint.HintShowing());
        // The same node again neither rebuilds nor restarts the delay.
        hint.ShowParamHint(300, 300, &node_a, a, 120);
        QVERIFY(!hint.timer_running());
        QCOMPARE(hint.hint_rect().top(), 200);
        // Another node waits its 500 ms before it shows.
        hint.ShowParamHint(100, 220, &node_b, b, 120);
        QVERIFY(hint.timer_running());
        QCOMPARE(hint.current_node(), static_cast<const void*>(&node_b));
        const QImage shot = hint.grab().toImage();
        QVERIFY(!shot.isNull());
        // Not wanted: gone at once, the node forgotten.
        hint.SetHintWanted(false);
        QVERIFY(!hint.HintShowing());
        QVERIFY(!hint.timer_running());
        QCOMPARE(hint.current_node(), nullptr);
        QVERIFY(hint.hint().text.empty());
    }

    void hint_paints_status_and_frame_colours() {
        TParamHint hint;
        TParamControls bad = cycle(CycleKind::AlongX, false, true);
        int node = 0;
        hint.ShowParamHint(0, 0, &node, bad, 50);
        hint.SetHintWanted(true);
        QVERIFY(hint.HintShowing());
        const QImage img = hint.grab().toImage();
        // The frame runs along the top edge in red.
        QCOMPARE(QColor(img.pixel(img.width() / 2, 0)), QColor(255, 0, 0));
        bool red_text = false;
        for (int y = 2; y < img.height() - 2 && !red_text; ++y)
            for (int x = 2; x < img.width() - 2; ++x)
                if (QColor(img.pixel(x, y)) == QColor(255, 0, 0)) {
                    red_text = true;
                    break;
                }
        QVERIFY(red_text); // "Not Ready" and the missing depth of cut
    }

    void busy_box() {
        TThinking_box box;
        box.ShowBusy(nullptr, "Reading DXF file...");
        QVERIFY(!box.shown() && !box.isVisible()); // no control: stays hidden
        QWidget owner;
        owner.setGeometry(100, 100, 600, 400);
        owner.show();
        box.ShowBusy(&owner, "Working...");
        QVERIFY(box.shown() && box.isVisible());
        QCOMPARE(box.message()->text(), QString("Working..."));
        QCOMPARE(box.width(), 10 * box.cell().width() + 12);
        QVERIFY(std::abs(box.geometry().center().x() -
                         owner.mapToGlobal(owner.rect().center()).x()) <= 1);
        box.HideBusy();
        QVERIFY(!box.shown() && !box.isVisible());

        // The reader's progress counts on the bar even with the box hidden.
        BusyProgress quiet(box, nullptr);
        quiet.show_busy("Reading DXF file...");
        QVERIFY(!box.isVisible());
        quiet.progress(40, 10);
        QCOMPARE(box.bar()->maximum(), 40);
        QCOMPARE(box.bar()->value(), 10);
        quiet.progress(-1, 30);
        QCOMPARE(box.bar()->maximum(), 40);
        QCOMPARE(box.bar()->value(), 30);
        quiet.progress(10'000'000'000LL, 5'000'000'000LL); // beyond int: scaled
        QVERIFY(box.bar()->value() * 2 == box.bar()->maximum() ||
                box.bar()->value() * 2 + 1 == box.bar()->maximum());
    }
};

QTEST_MAIN(HintTest)
#include "hint_test.moc"
