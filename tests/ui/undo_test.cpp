// Undo and redo in the window: each edit is one named step, undo puts the
// project back as it was and redo forward again; undoing back to the saved
// state needs no save question.
#include "app/main_window.h"
#include "cycles/cycle_kinds.h"
#include "cycles/param_controls.h"
#include "project/element_lists.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"
#include "support/window_home.h"
#include "view/view_mouse.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace zeran;

namespace {

using Home = test::WindowHome;

ViewMouse at(TMainForm& w, double x, double y, MouseButton button) {
    ViewMouse m;
    m.at = w.view()->WorldToScreen({x, y, 0});
    m.shift.left = button == MouseButton::Left;
    m.button = button;
    return m;
}

std::vector<std::string> captions(ProjectModel& m) {
    std::vector<std::string> out;
    for (const auto& node : m.cycles) out.push_back(node->caption);
    return out;
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void cycle_edits_undo_and_redo() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        QAction* undo = w.action("MenuUndo");
        QAction* redo = w.action("MenuRedo");
        QVERIFY(!undo->isEnabled());
        QVERIFY(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
        QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
        QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
        ProjectModel& m = w.model();
        const std::vector<std::string> start = captions(m);
        const std::string start_text = ProjectText(m);
        QVERIFY(start.size() >= 2);

        // Add a cycle.
        w.SetProgramTab(true);
        w.MenuAddCycleClick(CycleKind::Finishing);
        QCOMPARE(m.cycles.size(), start.size() + 1);
        QVERIFY(undo->isEnabled());
        QVERIFY2(undo->text().startsWith("&Undo Add "), qPrintable(undo->text()));
        QCOMPARE(w.cycle_list()->topLevelItemCount(), int(start.size()) + 3);
        undo->trigger();
        QCOMPARE(captions(m), start);
        QCOMPARE(w.cycle_list()->topLevelItemCount(), int(start.size()) + 2);
        QVERIFY(redo->isEnabled());
        redo->trigger();
        QCOMPARE(m.cycles.size(), start.size() + 1);
        undo->trigger();

        // Delete the first cycle.
        w.SelectCycleRow(1);
        QCOMPARE(w.session().selected.node, m.cycles.front().get());
        w.DeleteCycleClick();
        QCOMPARE(m.cycles.size(), start.size() - 1);
        QCOMPARE(undo->text(), QString("&Undo Delete Cycle"));
        undo->trigger();
        QCOMPARE(captions(m), start);
        QCOMPARE(ProjectText(m), start_text);

        // Move the second cycle up: undo and redo name the step.
        w.SelectCycleRow(2);
        w.MoveCycleClick(-1);
        QCOMPARE(m.cycles.front()->caption, start[1]);
        QCOMPARE(undo->text(), QString("&Undo Move Cycle Up"));
        undo->trigger();
        QCOMPARE(captions(m), start);
        QCOMPARE(redo->text(), QString("&Redo Move Cycle Up"));
        redo->trigger();
        QCOMPARE(m.cycles.front()->caption, start[1]);
        QCOMPARE(w.cycle_list()->topLevelItem(1)->text(0), QString::fromStdString(start[1]));
        undo->trigger();
        QCOMPARE(ProjectText(m), start_text);
    }

    void datum_drag_and_tree_check_box_undo() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        ProjectModel& m = w.model();
        w.SetProgramTab(false);
        const double x0 = m.datum_x, y0 = m.datum_y;

        // A drag is one step; Escape during a drag puts the datum back.
        w.findChild<QToolButton*>("DatumCursPaint")->click();
        w.view()->OnMouseDown(at(w, x0 - 10, y0 + 5, MouseButton::Left));
        w.view()->OnMouseMove(at(w, x0 - 20, y0 + 5, MouseButton::Left));
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(m.datum_x, x0);
        QCOMPARE(m.datum_y, y0);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        w.view()->OnMouseDown(at(w, x0 - 10, y0 + 5, MouseButton::Left));
        w.view()->OnMouseMove(at(w, x0 - 20, y0 + 5, MouseButton::Left));
        w.view()->OnMouseUp(at(w, x0 - 20, y0 + 5, MouseButton::Left));
        const double x1 = m.datum_x;
        QVERIFY(std::abs(x1 - (x0 - 20)) < 0.5);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Move Datum"));
        w.action("MenuUndo")->trigger();
        QCOMPARE(m.datum_x, x0);
        QCOMPARE(m.datum_y, y0);
        w.action("MenuRedo")->trigger();
        QCOMPARE(m.datum_x, x1);
        w.action("MenuUndo")->trigger();

        // A check box of the drawing tree.
        QTreeWidgetItem* item = nullptr;
        for (QTreeWidgetItemIterator it(w.files_tree()); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() > 0 && (*it)->checkState(0) == Qt::Checked &&
                (*it)->childCount() == 0) {
                item = *it;
                break;
            }
        QVERIFY(item);
        const int index = item->data(0, Qt::UserRole).toInt();
        const auto state = [&] { return tree_nodes(m.tree)[std::size_t(index)]->state_index; };
        QCOMPARE(state(), kStateChecked);
        item->setCheckState(0, Qt::Unchecked);
        QCOMPARE(state(), kStateUnchecked);
        w.action("MenuUndo")->trigger();
        QCOMPARE(state(), kStateChecked);
        bool shown_checked = false;
        for (QTreeWidgetItemIterator it(w.files_tree()); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toInt() == index)
                shown_checked = (*it)->checkState(0) == Qt::Checked;
        QVERIFY(shown_checked);
        w.action("MenuRedo")->trigger();
        QCOMPARE(state(), kStateUnchecked);
    }

    void billet_and_start_point_tools() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        ProjectModel& m = w.model();
        w.SetProgramTab(true);
        const double x0 = m.datum_edit_x, y0 = m.datum_edit_y;
        auto* datum = w.findChild<QToolButton*>("DatumCursPaint");
        auto* billet = w.findChild<QToolButton*>("BilletCursPaint");
        auto* start = w.findChild<QToolButton*>("StartPosPaint");
        QVERIFY(datum && billet && start);

        // Pressing one tool releases the others.
        w.SelectCycleRow(0);
        datum->setChecked(true);
        billet->click();
        QVERIFY(billet->isChecked());
        QVERIFY(!datum->isChecked());

        // Escape during a billet drag leaves the project as it was.
        const std::string before = ProjectText(m);
        w.view()->OnMouseDown(at(w, x0 - 10, y0 + 5, MouseButton::Left));
        w.view()->OnMouseMove(at(w, x0 - 20, y0 + 8, MouseButton::Left));
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(ProjectText(m), before);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        w.view()->OnMouseDown(at(w, x0 - 10, y0 + 5, MouseButton::Left));
        w.view()->OnMouseUp(at(w, x0 - 60, y0 + 25, MouseButton::Left));
        QVERIFY(std::abs(m.billet_edit_l - 60) < 0.5);
        QVERIFY(std::abs(m.billet_edit_r - 25) < 0.5);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Move Billet"));

        // Another node releases the billet tool; the start point lands on the
        // selected Parameters node.
        w.SelectCycleRow(1, 2);
        QVERIFY(!billet->isChecked());
        start->click();
        w.view()->OnMouseDown(at(w, x0 + 30, y0 + 25, MouseButton::Left));
        QVERIFY(std::abs(m.cycles.front()->params->StartX - 25) < 0.5);
        QVERIFY(std::abs(m.cycles.front()->params->StartZ - 30) < 0.5);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Place Start Point"));

        // A start point that follows the billet sits on its corner and cannot
        // be placed by hand; undo gives the hand back.
        auto* use_billet = w.findChild<QCheckBox*>("UseBilletStartPoint");
        QVERIFY(use_billet);
        use_billet->click();
        const TParamControls& p = *m.cycles.front()->params;
        QVERIFY(p.UseBillet);
        QVERIFY(p.StartX == m.billet_edit_r || p.StartX == 0);
        QVERIFY(p.StartZ == -m.billet_edit_l || p.StartZ == 0);
        QVERIFY(!start->isEnabled());
        QVERIFY(!start->isChecked());
        w.action("MenuUndo")->trigger();
        QVERIFY(!m.cycles.front()->params->UseBillet);
        QVERIFY(w.findChild<QToolButton*>("StartPosPaint")->isEnabled());
        w.action("MenuUndo")->trigger();
        w.action("MenuUndo")->trigger();
        QCOMPARE(ProjectText(m), before);
    }

    void undo_to_the_saved_state_asks_nothing() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        QVERIFY(!w.session().modified());
        w.MenuAddCycleClick(CycleKind::Finishing);
        QVERIFY(w.SaveProject());
        QVERIFY(!w.session().modified());
        w.MenuAddCycleClick(CycleKind::Grooving);
        QVERIFY(w.session().modified());
        w.action("MenuUndo")->trigger();
        const std::size_t asked = prompt.asked.size();
        QVERIFY(w.QuerySaveChanges());
        QCOMPARE(prompt.asked.size(), asked);

        // One step further back differs from the saved file again.
        w.action("MenuUndo")->trigger();
        QVERIFY(w.session().modified());
        prompt.answers = {Answer::No};
        QVERIFY(w.QuerySaveChanges());
        QCOMPARE(prompt.asked.size(), asked + 1);
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
