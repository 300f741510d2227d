// The parameter dialog: its panels per kind, unit labels, conversion into
// the project's units, the completeness line, OK, Cancel and Help.
#include "dialogs/param_form.h"
#include "dialogs/param_panels.h"
#include "dialogs/real_edit.h"
#include "view/help_link.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>

using namespace zeran;

namespace {

// Types the text into the edit as key presses and releases.
void type_into(TRealEdit* e, const QString& text) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    for (QChar c : text) QTest::keyClick(e, c.toLatin1());
}

// Runs `act` on the dialog once its modal loop has started.
void when_shown(TParamForm& f, std::function<void()> act) {
    QTimer::singleShot(0, &f, [&f, act] {
        QTRY_VERIFY(f.isVisible());
        act();
    });
}

TParamControls controls_with(CycleKind kind, double feed, double speed) {
    TParamControls c(kind);
    c.SetControl(ParamField::Feed, feed);
    c.SetControl(ParamField::Speed, speed);
    return c;
}

} // namespace

class ParamFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void each_kind_has_its_panel_picture_and_title() {
        const char* first_edit[] = {"XDepthXEdit", "ZDepthZEdit", "PDepthXEdit", nullptr,
                                    "GDepthZEdit", "TDepthTEdit", "DDepthZEdit", nullptr};
        const int edits[] = {4, 4, 5, 0, 4, 8, 2, 0};
        QImage previous;
        for (int k = 0; k < kCycleKindCount; ++k) {
            const auto kind = static_cast<CycleKind>(k);
            TParamForm f(TParamControls(kind), Units::Metric);
            QCOMPARE(f.windowTitle(), QString::fromStdString(TParamControls(kind).Title()));
            QVERIFY(f.findChild<QWidget*>("FeedEdit") && f.findChild<QWidget*>("SpeedEdit"));
            const char* panel = param_panel_name(kind);
            QCOMPARE(f.findChild<QGroupBox*>(panel) != nullptr, *panel != '\0');
            // The kind's edits and nothing else besides feed and speed.
            QCOMPARE(f.findChildren<TRealEdit*>().size(), qsizetype(edits[k] + 2));
            if (first_edit[k]) QVERIFY(f.findChild<TRealEdit*>(first_edit[k]));
            QCOMPARE(f.Picture().size(), QSize(80, 80));
            QVERIFY(f.Picture() != previous);
            previous = f.Picture();
        }
        // The thread's counts are integer edits; its angle is in degrees.
        TParamForm t(TParamControls(CycleKind::Threading), Units::Inch);
        QCOMPARE(t.Edit(ParamField::FinishPass)->EditType(), TEditType::etInt);
        QCOMPARE(t.Edit(ParamField::Pitch)->EditType(), TEditType::etReal);
        QCOMPARE(t.UnitLabelOf(ParamField::TipAngle)->text(), QString("Degrees"));
        QCOMPARE(t.UnitLabelOf(ParamField::Pitch)->text(), QString("inch"));
        QCOMPARE(t.UnitLabelOf(ParamField::Chamfer)->text(), QString());
        QVERIFY(t.Edit(ParamField::Pitch)->PosOnly());
    }

    void values_show_in_the_projects_units() {
        TParamControls mm = controls_with(CycleKind::AlongX, 150, 800);
        mm.SetControl(ParamField::DepthCutX, 25.4);
        mm.SetControl(ParamField::RetractX, 1.27);
        TParamForm inch(mm, Units::Inch);
        QCOMPARE(inch.Edit(ParamField::DepthCutX)->text(), QString("1"));
        QCOMPARE(inch.Edit(ParamField::RetractX)->text(), QString("0.05"));
        QCOMPARE(inch.Edit(ParamField::Feed)->text(), QString("150")); // not a length
        QCOMPARE(inch.Values().DialogUnits(), Units::Inch);
        QCOMPARE(inch.UnitLabelOf(ParamField::DepthCutX)->text(), QString("inch"));
        QCOMPARE(inch.UnitLabelOf(ParamField::Feed)->text(), QString("inch/min."));
        // The same units: nothing converted.
        TParamForm same(mm, Units::Metric);
        QCOMPARE(same.Edit(ParamField::DepthCutX)->text(), QString("25.4"));
        QCOMPARE(same.UnitLabelOf(ParamField::RetractX)->text(), QString("mm"));
        // The feed and speed labels follow their modes.
        same.FeedPerRev()->click();
        same.SpeedConstant()->click();
        QCOMPARE(same.UnitLabelOf(ParamField::Feed)->text(), QString("mm/rev."));
        QCOMPARE(same.UnitLabelOf(ParamField::Speed)->text(), QString("m/min."));
        QCOMPARE(same.Values().Control(ParamField::UseFPR), 1.0);
        QCOMPARE(same.Values().Control(ParamField::UseCSS), 1.0);
    }

    void completeness_is_shown_before_ok() {
        QCOMPARE(
            required_param_fields(CycleKind::PatternRepeat),
            (std::vector<ParamField>{ParamField::Feed, ParamField::Speed, ParamField::DepthCutX,
                                     ParamField::DepthCutZ, ParamField::Repeats}));
        QCOMPARE(required_param_fields(CycleKind::Finishing),
                 (std::vector<ParamField>{ParamField::Feed, ParamField::Speed}));
        QCOMPARE(required_param_fields(CycleKind::Threading).size(), std::size_t{6});

        TParamForm f(TParamControls(CycleKind::AlongX), Units::Metric);
        f.show();
        QVERIFY(!f.ValuesValid());
        QVERIFY(f.Status()->text().contains("Feed Rate"));
        QVERIFY(f.Status()->text().contains("Depth of Cut in X"));
        QVERIFY(f.Status()->text().contains("Retract Amount"));
        QVERIFY(!f.Status()->text().contains("Finishing Allowance"));
        QVERIFY(f.CaptionOf(ParamField::RetractX)->styleSheet().contains("#c00000"));
        QVERIFY(f.CaptionOf(ParamField::AllowanceX)->styleSheet().isEmpty());

        type_into(f.Edit(ParamField::Feed), "0.2");
        type_into(f.Edit(ParamField::Speed), "1200");
        type_into(f.Edit(ParamField::DepthCutX), "2.5");
        QVERIFY(!f.ValuesValid());
        QCOMPARE(f.MissingFields(), std::vector<ParamField>{ParamField::RetractX});
        QVERIFY(!f.Status()->text().contains("Depth of Cut in X"));
        type_into(f.Edit(ParamField::RetractX), "0.5");
        QVERIFY(f.ValuesValid());
        QCOMPARE(f.Status()->text(), QString("The parameters are complete."));
        QVERIFY(f.CaptionOf(ParamField::RetractX)->styleSheet().isEmpty());
        // Cleared again, the line says so at once.
        type_into(f.Edit(ParamField::RetractX), "0");
        QVERIFY(!f.ValuesValid());
        QVERIFY(f.Status()->text().contains("Retract Amount"));
    }

    void ok_hands_back_the_edits_and_cancel_the_values_given() {
        TParamControls given = controls_with(CycleKind::PatternRepeat, 100, 500);
        given.SetControl(ParamField::Repeats, 3);
        {
            TParamForm f(given, Units::Metric);
            when_shown(f, [&f] {
                type_into(f.Edit(ParamField::DepthCutX), "1.5");
                type_into(f.Edit(ParamField::DepthCutZ), "0.75");
                type_into(f.Edit(ParamField::Repeats), "4");
                f.OkButton()->click();
            });
            QVERIFY(f.Execute());
            TParamControls out = f.Values();
            QVERIFY(out.DialogChanged());
            const TCycleParams r = out.ReadRecord();
            QCOMPARE(r.DepthCutX, 1.5);
            QCOMPARE(r.DepthCutZ, 0.75);
            QCOMPARE(r.Repeats, 4);
            QCOMPARE(r.Feed, 100.0);
            QVERIFY(out.DialogValid());
        }
        {
            TParamForm f(given, Units::Metric);
            when_shown(f, [&f] {
                type_into(f.Edit(ParamField::DepthCutX), "9");
                f.reject();
            });
            QVERIFY(!f.Execute());
            QVERIFY(f.Values().Controls() == given.Controls());
        }
        // Escape is Cancel too.
        TParamForm f(given, Units::Metric);
        when_shown(f, [&f] {
            type_into(f.Edit(ParamField::Repeats), "7");
            QTest::keyClick(&f, Qt::Key_Escape);
        });
        QVERIFY(!f.Execute());
        QCOMPARE(f.Values().Control(ParamField::Repeats), 3.0);
    }

    void contour_kinds_offer_the_nose_compensation_choice() {
        for (CycleKind kind : {CycleKind::Grooving, CycleKind::Threading, CycleKind::Drilling}) {
            TParamForm f(controls_with(kind, 100, 500), Units::Metric);
            QVERIFY(!f.CompensationChoice(NoseCompensation::None));
            QVERIFY(!f.findChild<QGroupBox*>("CompensationGroup"));
        }
        TParamControls given = controls_with(CycleKind::Finishing, 100, 500);
        given.SetControl(ParamField::Compensation, 1);
        TParamForm f(given, Units::Metric);
        QVERIFY(f.findChild<QGroupBox*>("CompensationGroup"));
        QVERIFY(f.CompensationChoice(NoseCompensation::InProgram)->isChecked());
        when_shown(f, [&f] {
            f.CompensationChoice(NoseCompensation::InControl)->click();
            f.OkButton()->click();
        });
        QVERIFY(f.Execute());
        TParamControls out = f.Values();
        QVERIFY(out.DialogChanged());
        QCOMPARE(out.ReadRecord().Compensation, 2);
        // Cancel gives back the choice the dialog was given.
        TParamForm g(given, Units::Metric);
        when_shown(g, [&g] {
            g.CompensationChoice(NoseCompensation::None)->click();
            g.reject();
        });
        QVERIFY(!g.Execute());
        QCOMPARE(g.Values().Control(ParamField::Compensation), 1.0);
    }

    void a_value_out_of_range_is_refused_with_a_reason() {
        TParamControls given = controls_with(CycleKind::Threading, 1, 300);
        given.SetControl(ParamField::Pitch, 1.5);
        TParamForm f(given, Units::Metric);
        f.show();
        type_into(f.Edit(ParamField::Pitch), "5000");
        QVERIFY(f.Status()->text().contains("Param_Pitch"));
        // Typed key by key, the last value that could be held stays.
        QCOMPARE(f.Values().Control(ParamField::Pitch), 500.0);
        QCOMPARE(f.Edit(ParamField::Pitch)->text(), QString("500"));
        // The next good entry clears the reason.
        type_into(f.Edit(ParamField::Pitch), "2");
        QVERIFY(!f.Status()->text().contains("Param_Pitch"));
        QCOMPARE(f.Values().Control(ParamField::Pitch), 2.0);
    }

    void help_opens_the_kinds_context() {
        QList<QUrl> opened;
        set_help_opener([&](const QUrl& u) {
            opened << u;
            return true;
        });
        TParamForm f(TParamControls(CycleKind::Drilling), Units::Metric);
        f.HelpButton()->click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].fragment(), QString("ctx63"));
        QCOMPARE(opened[0].fileName(), QString("cycles.html"));
    }
};

QTEST_MAIN(ParamFormTest)
#include "param_form_test.moc"
