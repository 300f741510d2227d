// The selected cycle's parameter dialog and the cycle list's popup: OK is one
// undoable step that makes the project ask to be saved, Cancel changes
// nothing, and the popup's entries follow the cycle's place in the list.
#include "app/main_window.h"
#include "cycles/param_controls.h"
#include "dialogs/param_form.h"
#include "dialogs/real_edit.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "project/project_session.h"
#include "support/test_doubles.h"
#include "support/window_home.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

using namespace zeran;

namespace {

using Home = test::WindowHome;

// Runs `act` on the parameter dialog once its modal loop has started.
void on_dialog(std::function<void(TParamForm&)> act) {
    QTimer::singleShot(0, [act] {
        TParamForm* form = nullptr;
        QTRY_VERIFY((form = qobject_cast<TParamForm*>(QApplication::activeModalWidget())));
        act(*form);
    });
}

void type_into(TRealEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    for (QChar c : text) QTest::keyClick(e, c.toLatin1());
}

} // namespace

class CycleParamsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(zeran);
        QLocale::setDefault(QLocale::c());
    }

    void dialog_ok_is_one_step_and_cancel_changes_nothing() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        ProjectModel& m = w.model();
        QVERIFY(!m.cycles.empty());
        const std::string start_text = ProjectText(m);
        const double feed = m.cycles.front()->params->Control(ParamField::Feed);

        // Cancel after typing leaves the project alone.
        w.SelectCycleRow(1, 2);
        QCOMPARE(w.session().selected.part, CyclePart::Parameters);
        on_dialog([](TParamForm& f) {
            type_into(f.Edit(ParamField::Feed), "0.37");
            f.reject();
        });
        w.action("MenuCycleParams")->trigger();
        QCOMPARE(ProjectText(m), start_text);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        // OK from a double click on the Parameters node.
        on_dialog([](TParamForm& f) {
            type_into(f.Edit(ParamField::Feed), "0.37");
            f.OkButton()->click();
        });
        QTreeWidgetItem* params = w.cycle_list()->topLevelItem(1)->child(2);
        emit w.cycle_list()->itemDoubleClicked(params, 0);
        QCOMPARE(m.cycles.front()->params->Control(ParamField::Feed), 0.37);
        QVERIFY(ProjectText(m) != start_text);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Change Parameters"));
        QVERIFY(w.session().modified());
        const std::size_t asked = prompt.asked.size();
        prompt.answers = {Answer::No};
        QVERIFY(w.QuerySaveChanges());
        QCOMPARE(prompt.asked.size(), asked + 1);

        // Undo brings back the old value and the saved state: no question.
        w.action("MenuUndo")->trigger();
        QCOMPARE(m.cycles.front()->params->Control(ParamField::Feed), feed);
        QCOMPARE(ProjectText(m), start_text);
        QVERIFY(w.QuerySaveChanges());
        QCOMPARE(prompt.asked.size(), asked + 1);
        w.action("MenuRedo")->trigger();
        QCOMPARE(m.cycles.front()->params->Control(ParamField::Feed), 0.37);
    }

    void popup_entries_follow_the_cycle_place() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        ProjectModel& m = w.model();
        const int count = static_cast<int>(m.cycles.size());
        QVERIFY(count >= 2);
        QTreeWidget* list = w.cycle_list();
        auto enabled = [](QMenu* menu) {
            QStringList on;
            for (QAction* a : menu->actions())
                if (a->isEnabled()) on << a->text();
            return on.join('|');
        };

        QVERIFY(!w.CyclePopupFor(list->topLevelItem(0)));
        QVERIFY(!w.CyclePopupFor(list->topLevelItem(count + 1)));
        QMenu* first = w.CyclePopupFor(list->topLevelItem(1));
        QVERIFY(first);
        QCOMPARE(w.session().selected.node, m.cycles.front().get());
        QCOMPARE(enabled(first), QString("&Delete|Move &down|&Parameters..."));
        QMenu* last = w.CyclePopupFor(list->topLevelItem(count)->child(0));
        QCOMPARE(w.session().selected.node, m.cycles.back().get());
        QCOMPARE(enabled(last), QString("&Delete|Move &up|&Parameters..."));

        // The entries run the window's commands on the row the popup selected.
        const std::string last_caption = m.cycles.back()->caption;
        last->actions()[1]->trigger();
        QCOMPARE(m.cycles[std::size_t(count - 2)]->caption, last_caption);
        QMenu* again = w.CyclePopupFor(list->topLevelItem(count - 1));
        again->actions()[0]->trigger();
        QCOMPARE(int(m.cycles.size()), count - 1);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Delete Cycle"));
    }
};

QTEST_MAIN(CycleParamsTest)
#include "cycle_params_test.moc"
