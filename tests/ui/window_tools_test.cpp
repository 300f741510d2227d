// The tool list on the Tool panel comes from the simulator's magazine: named
// slots in a combo, the entry's size and nose taken into the cycle, the
// Update button reading the magazine again and keeping the chosen slot;
// without a simulator the plain tool number stays. The nose fields edit the
// tool in undoable steps.
#include "app/main_window.h"
#include "cycles/tool_control.h"
#include "dialogs/real_edit.h"
#include "dialogs/rspin_edit.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace zeran;

namespace {

void write(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

struct Home {
    QTemporaryDir dir;
    QString config;
    Home() {
        qputenv("HOME", dir.path().toUtf8());
        config = dir.path() + "/config";
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        QDir().mkpath(config + "/Kelvard");
        for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            QFile::copy(QString(ZERAN_SOURCE_DIR) + "/examples/" + f, dir.path() + "/" + f);
    }
    void install_simulator(const QByteArray& tools) {
        write(dir.path() + "/simvoturn", "");
        write(config + "/Kelvard/SimvoTurning5.ini",
              "[Simulator]\nApplication=" + dir.path().toUtf8() +
                  "/simvoturn\nVersion=5.0.0.0\n[Offsets]\nTool Offset File=tools.ini\n");
        write(config + "/Kelvard/tools.ini", tools);
    }
    AppPaths paths() const {
        return find_app_paths(QCoreApplication::applicationFilePath().toStdString());
    }
};

} // namespace

class WindowToolsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void tools_come_from_the_simulators_magazine() {
        Home home;
        home.install_simulator("[TURN_TOOLS]\n1_Description=Rougher\n1_TipSize=0.8\n1_Length=40\n"
                               "1_NoseRadius=0.8\n1_Orientation=2\n"
                               "2_Description=Groover\n2_ToolType=3\n2_TipSize=1\n"
                               "2_Diameter=3\n2_Length=35\n");
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.dir.path() + "/shaft.tcf"));
        auto* combo = w.findChild<QComboBox*>("ToolCombo");
        auto* update = w.findChild<QPushButton*>("ToolUpdateBtn");
        QVERIFY(combo && update);
        QCOMPARE(combo->count(), 32);
        QCOMPARE(combo->itemText(0), QString("1 - Rougher"));
        QCOMPARE(combo->itemText(2), QString("3 - (Empty)"));

        QTreeWidgetItem* first = w.cycle_list()->topLevelItem(1);
        w.cycle_list()->setCurrentItem(first->child(1));
        QVERIFY(combo->isVisible());
        QVERIFY(update->isVisible());
        combo->setCurrentIndex(1);
        const TToolControl& tool = *w.model().cycles.front()->tool;
        QCOMPARE(tool.ToolNumber, 2);
        QCOMPARE(tool.ToolWidth, 3.0); // a type 3 tool gives its diameter
        QCOMPARE(tool.ToolLength, 35.0);
        // The panel names the library and shows the entry's size in its edits.
        QCOMPARE(w.findChild<QLabel*>("ToolNumberLabel")->text(),
                 QString("Tool Number (Simvo Turning)"));
        QVERIFY(!w.findChild<TRSpinEdit*>("ToolNumbEdit")->isVisible());
        QCOMPARE(w.findChild<TRealEdit*>("EditToolWidth")->stored_value(), 3.0);
        QCOMPARE(w.findChild<TRealEdit*>("EditToolLength")->stored_value(), 35.0);
        QCOMPARE(tool.NoseRadius, 0.0); // the groover's entry gives no nose
        combo->setCurrentIndex(0);
        QCOMPARE(w.model().cycles.front()->tool->NoseRadius, 0.8);
        QCOMPARE(w.model().cycles.front()->tool->NoseOrientation, 2);
        QCOMPARE(w.findChild<QComboBox*>("NoseOrientation")->currentIndex(), 2);
        combo->setCurrentIndex(1);

        // The magazine changes in the simulator; Update reads it and keeps slot 2.
        write(home.config + "/Kelvard/tools.ini",
              "[TURN_TOOLS]\n2_Description=Groover 4\n2_ToolType=3\n2_Diameter=4\n2_Length=35\n");
        update->click();
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(combo->itemText(1), QString("2 - Groover 4"));
        QCOMPARE(w.model().cycles.front()->tool->ToolWidth, 4.0);
        QVERIFY(w.close());
    }

    void without_a_simulator_the_tool_number_stays_and_the_nose_is_typed() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.dir.path() + "/shaft.tcf"));
        w.cycle_list()->setCurrentItem(w.cycle_list()->topLevelItem(1)->child(1));
        QVERIFY(!w.findChild<QComboBox*>("ToolCombo")->isVisible());
        QVERIFY(!w.findChild<QPushButton*>("ToolUpdateBtn")->isVisible());
        QVERIFY(w.model().settings.tool_library.empty());
        QVERIFY(w.findChild<TRSpinEdit*>("ToolNumbEdit")->isVisible());
        QCOMPARE(w.findChild<QLabel*>("ToolNumberLabel")->text(), QString("Tool Number"));

        // The nose is typed in; each field is one step that undo takes back.
        auto* radius = w.findChild<TRSpinEdit*>("NoseRadius");
        auto* orientation = w.findChild<QComboBox*>("NoseOrientation");
        QVERIFY(radius && orientation);
        QCOMPARE(w.findChild<QLabel*>("NoseRadiusUnit")->text(), QString("mm"));
        QCOMPARE(orientation->count(), 10);
        const auto tool = [&w]() -> const TToolControl& { return *w.model().cycles.front()->tool; };
        QCOMPARE(tool().NoseRadius, 0.0);

        radius->setText("0.8");
        QCOMPARE(tool().NoseRadius, 0.8);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Set Nose Radius"));
        orientation->setCurrentIndex(6);
        QCOMPARE(tool().NoseOrientation, 6);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Set Tip Orientation"));

        w.action("MenuUndo")->trigger();
        QCOMPARE(tool().NoseOrientation, 0);
        QCOMPARE(tool().NoseRadius, 0.8);
        QCOMPARE(orientation->currentIndex(), 0);
        w.action("MenuUndo")->trigger();
        QCOMPARE(tool().NoseRadius, 0.0);
        QCOMPARE(radius->Value(), 0.0);
        w.action("MenuRedo")->trigger();
        QCOMPARE(tool().NoseRadius, 0.8);

        // No insert has a nose of 50 mm: the edit holds the largest.
        radius->setText("50");
        QCOMPARE(tool().NoseRadius, 10.0);
        QVERIFY(w.close());
    }
};

QTEST_MAIN(WindowToolsTest)
#include "window_tools_test.moc"
