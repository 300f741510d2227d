// The cycle list as a user works it: reordering by drag and drop, the
// header's and the material's questions, the Tool panel's edits, the
// parameter hint under the pointer, the drawing tree's right press, and the
// figures a datum drag draws.
#include "app/cycle_list_drag.h"
#include "app/main_window.h"
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "dialogs/header_form.h"
#include "dialogs/real_edit.h"
#include "dialogs/rspin_edit.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"
#include "support/window_home.h"
#include "view/busy_box.h"
#include "view/param_hint.h"
#include "view/view_mouse.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace zeran;

namespace {

using Home = test::WindowHome;

void show(TMainForm& w) {
    w.resize(1100, 750);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

std::vector<std::string> captions(ProjectModel& m) {
    std::vector<std::string> out;
    for (const auto& node : m.cycles) out.push_back(node->caption);
    return out;
}

QPoint row_centre(QTreeWidget* tree, QTreeWidgetItem* item) {
    return tree->visualItemRect(item).center();
}

// A drag of top-level row `from` over `at`; true when the list takes it.
bool drag_over(QTreeWidget* tree, int from, QPoint at, QEvent::Type type) {
    QMimeData data;
    data.setData(CycleListDrag::kMimeType, QByteArray::number(from));
    // Qt sends moves and the drop to the widget that took the drag's entry.
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    if (type == QEvent::Drop) {
        QDropEvent e(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &e);
        return e.isAccepted();
    }
    QDragMoveEvent e(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &e);
    return e.isAccepted();
}

double depth_x(ProjectModel& m, std::size_t cycle) {
    return m.cycles[cycle]->params->ReadRecord().DepthCutX;
}

} // namespace

class CycleListTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void drag_and_drop_reorders_as_one_step() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        ProjectModel& m = w.model();
        QTreeWidget* tree = w.cycle_list();
        const std::vector<std::string> start = captions(m);
        const std::string start_text = ProjectText(m);
        QCOMPARE(start.size(), std::size_t(4));
        const int footer = tree->topLevelItemCount() - 1;
        w.SelectCycleRow(1);

        // The header and a cycle's children take no drop; cycles and the footer do.
        QVERIFY(!drag_over(tree, 1, row_centre(tree, tree->topLevelItem(0)), QEvent::DragMove));
        QVERIFY(!drag_over(tree, 1, row_centre(tree, tree->topLevelItem(2)->child(1)),
                           QEvent::DragMove));
        QVERIFY(drag_over(tree, 1, row_centre(tree, tree->topLevelItem(3)), QEvent::DragMove));
        QVERIFY(drag_over(tree, 1, row_centre(tree, tree->topLevelItem(footer)), QEvent::DragMove));
        QVERIFY(!drag_over(tree, 1, row_centre(tree, tree->topLevelItem(0)), QEvent::Drop));
        QCOMPARE(captions(m), start);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        // Onto the footer: the first cycle goes last, in one step, and stays selected.
        QVERIFY(drag_over(tree, 1, row_centre(tree, tree->topLevelItem(footer)), QEvent::Drop));
        QCOMPARE(captions(m), (std::vector<std::string>{start[1], start[2], start[3], start[0]}));
        QCOMPARE(tree->topLevelItem(4)->text(0), QString::fromStdString(start[0]));
        QCOMPARE(w.session().selected.node, m.cycles.back().get());
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Move Cycle"));
        w.action("MenuUndo")->trigger();
        QCOMPARE(ProjectText(m), start_text);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        // Onto a cycle: before it. Onto itself or the row after it: nothing moves.
        QVERIFY(drag_over(tree, 1, row_centre(tree, tree->topLevelItem(3)), QEvent::Drop));
        QCOMPARE(captions(m), (std::vector<std::string>{start[1], start[0], start[2], start[3]}));
        w.action("MenuUndo")->trigger();
        drag_over(tree, 1, row_centre(tree, tree->topLevelItem(1)), QEvent::Drop);
        drag_over(tree, 1, row_centre(tree, tree->topLevelItem(2)), QEvent::Drop);
        QCOMPARE(captions(m), start);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        // Over the bottom row the list scrolls down a row, over the top row back up.
        tree->setFixedHeight(90);
        QApplication::processEvents();
        QScrollBar* bar = tree->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        QTreeWidgetItem* bottom = tree->itemAt(QPoint(5, tree->viewport()->height() - 2));
        QVERIFY(bottom);
        drag_over(tree, 1, QPoint(5, tree->viewport()->height() - 2), QEvent::DragMove);
        QVERIFY(bar->value() > 0);
        const int scrolled = bar->value();
        drag_over(tree, 1, QPoint(5, 1), QEvent::DragMove);
        QVERIFY(bar->value() < scrolled);
    }

    void header_units_and_material_questions() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        ProjectModel& m = w.model();
        const double depth = depth_x(m, 0);
        QVERIFY(depth > 0);
        // "&Roughing" holds the three roughing kinds and follows their state.
        auto* roughing = w.findChild<QMenu*>("MenuRoughing");
        QVERIFY(roughing);
        QCOMPARE(roughing->actions().size(), 3);
        QCOMPARE(roughing->actions().front()->text(), QString("Along &X Axis"));
        auto* cycles = qobject_cast<QMenu*>(roughing->parentWidget());
        QVERIFY(cycles);
        emit cycles->aboutToShow();
        QVERIFY(roughing->menuAction()->isEnabled());
        w.SetProgramTab(false);
        emit cycles->aboutToShow();
        QVERIFY(!roughing->menuAction()->isEnabled());
        w.SetProgramTab(true);

        w.SelectCycleRow(0);
        auto* button = w.findChild<QPushButton*>("BtnHeaderParam");
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->text(), QString("Parameters..."));

        // Inch, converting: the cycles' lengths follow; the unit labels too.
        w.run_header_form = [](TFormHeader& form) {
            form.SetUnits(Units::Inch);
            return true;
        };
        prompt.answers = {Answer::Yes};
        button->click();
        QCOMPARE(prompt.asked.back(),
                 std::string("Convert existing cycle parameters values to new measurement units?"));
        QCOMPARE(m.units, Units::Inch);
        QVERIFY2(std::abs(depth_x(m, 0) - depth / 25.4) < 1e-4,
                 qPrintable(QString("%1 from %2").arg(depth_x(m, 0)).arg(depth)));
        QCOMPARE(w.findChild<QLabel*>("EditToolWidthUnit")->text(), QString("inch"));
        QCOMPARE(w.findChild<QLabel*>("BilletEditLUnit")->text(), QString("inch"));
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Edit Header"));
        w.action("MenuUndo")->trigger();
        QCOMPARE(m.units, Units::Metric);
        QCOMPARE(depth_x(m, 0), depth);
        QCOMPARE(w.findChild<QLabel*>("EditToolWidthUnit")->text(), QString("mm"));

        // Answered No: the units change, the values stay.
        prompt.answers = {Answer::No};
        button->click();
        QCOMPARE(m.units, Units::Inch);
        QCOMPARE(depth_x(m, 0), depth);
        w.action("MenuUndo")->trigger();

        // Select Material asks before it touches the cycles.
        w.run_material_dialog = [](TMaterialDatabase&) { return true; };
        m.cycles[0]->params->LoadRecord([&] {
            TCycleParams r = m.cycles[0]->params->ReadRecord();
            r.DepthCutX = 7.5;
            return r;
        }());
        prompt.answers = {Answer::No};
        w.MenuSelectMaterialClick();
        QCOMPARE(prompt.asked.back(),
                 std::string("Update existing cycle parameters with new material parameters?"));
        QCOMPARE(depth_x(m, 0), 7.5);
        prompt.answers = {Answer::Yes};
        w.MenuSelectMaterialClick();
        QCOMPARE(depth_x(m, 0), m.material.DepthCutX);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Select Material"));
    }

    void tool_panel_edits() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        ProjectModel& m = w.model();
        TToolControl& tool = *m.cycles[0]->tool;
        const double width = tool.ToolWidth;
        w.SelectCycleRow(1, 1);
        auto* number = w.findChild<TRSpinEdit*>("ToolNumbEdit");
        auto* edit_width = w.findChild<TRealEdit*>("EditToolWidth");
        auto* edit_length = w.findChild<TRealEdit*>("EditToolLength");
        QVERIFY(number && edit_width && edit_length);
        QVERIFY(number->isVisible());
        QVERIFY(!w.findChild<QComboBox*>("ToolCombo")->isVisible());
        QVERIFY(!w.findChild<QPushButton*>("ToolUpdateBtn")->isVisible());
        QCOMPARE(w.findChild<QLabel*>("ToolNumberLabel")->text(), QString("Tool Number"));
        QCOMPARE(w.findChild<QLabel*>("EditToolLengthUnit")->text(), QString("mm"));
        QCOMPARE(edit_width->stored_value(), width);

        // Typing a width is one step, however many keys it takes.
        edit_width->selectAll();
        QTest::keyClicks(edit_width, "1.25");
        QCOMPARE(tool.ToolWidth, 1.25);
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Set Tool Size"));
        w.action("MenuUndo")->trigger();
        QCOMPARE(m.cycles[0]->tool->ToolWidth, width);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        // A tool number beyond the magazine is its last place.
        w.SelectCycleRow(1, 1);
        number->selectAll();
        QTest::keyClicks(number, "40");
        QCOMPARE(m.cycles[0]->tool->ToolNumber, 32);
        QCOMPARE(w.cycle_list()->topLevelItem(1)->child(1)->text(0), QString("Tool (#32)"));
    }

    void hint_tells_why_a_cycle_has_no_path() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        ProjectModel& m = w.model();
        w.MenuAddCycleClick(CycleKind::Finishing);
        const int row = static_cast<int>(m.cycles.size());
        QTreeWidget* tree = w.cycle_list();
        // Without a profile the new cycle shows as not ready at once.
        QCOMPARE(m.cycles.back()->params_node.state_index, kStateIncomplete);

        TParamHint* hint = w.param_hint();
        QTreeWidgetItem* params = tree->topLevelItem(row)->child(2);
        tree->scrollToItem(params);
        const QPoint at = row_centre(tree, params);
        QTest::mouseMove(tree->viewport(), at);
        QCOMPARE(hint->current_node(), static_cast<const void*>(&m.cycles.back()->params_node));
        QTRY_VERIFY(hint->HintShowing());
        const std::string& text = hint->hint().text;
        QVERIFY2(text.find("No tool path: its profile holds no elements") != std::string::npos,
                 text.c_str());
        QVERIFY(!hint->hint().ready);
        // A ready cycle says nothing of the kind.
        QTreeWidgetItem* ready = tree->topLevelItem(1)->child(2);
        tree->scrollToItem(ready);
        QTest::mouseMove(tree->viewport(), row_centre(tree, ready));
        QTRY_VERIFY(hint->HintShowing());
        QVERIFY(hint->hint().ready);
        QVERIFY(hint->hint().text.find("No tool path") == std::string::npos);
        // A ready cycle whose depth of cut is taken away turns red at once, and says why.
        TParamControls values = *m.cycles[0]->params;
        TCycleParams record = values.ReadRecord();
        record.DepthCutX = 0;
        values.LoadRecord(record);
        w.session().apply("Change Parameters", {Change::Cycle, 0}, [&](ProjectModel& model) {
            model.SetParameters(*model.cycles[0], values);
        });
        QCOMPARE(m.cycles[0]->params_node.state_index, kStateIncomplete);
        QCOMPARE(tree->topLevelItem(1)->child(2)->data(0, Qt::UserRole).toInt(), kStateIncomplete);
        QTest::mouseMove(tree->viewport(), row_centre(tree, tree->topLevelItem(1)));
        QTest::mouseMove(tree->viewport(), row_centre(tree, ready));
        QTRY_VERIFY(hint->HintShowing());
        QVERIFY2(hint->hint().text.find("No tool path: its parameters are not complete") !=
                     std::string::npos,
                 hint->hint().text.c_str());
        w.action("MenuUndo")->trigger();
        QCOMPARE(m.cycles[0]->params_node.state_index, kStateComplete);
        ready = tree->topLevelItem(1)->child(2); // the list was rebuilt

        // Over a cycle's own row, or on the edge of the list, it goes.
        QTest::mouseMove(tree->viewport(), row_centre(tree, tree->topLevelItem(1)));
        QVERIFY(!hint->HintShowing());
        QTest::mouseMove(tree->viewport(), row_centre(tree, ready));
        QVERIFY(hint->timer_running());
        QTest::mouseMove(tree->viewport(), QPoint(2, row_centre(tree, ready).y()));
        QVERIFY(!hint->HintShowing() && !hint->timer_running());
    }

    void drawing_tree_right_press_and_fixed_expansion() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(false);
        QTreeWidget* tree = w.files_tree();
        QTreeWidgetItem* layer = tree->topLevelItem(0)->child(0);
        QVERIFY(layer);
        QTreeWidgetItem* group = layer->child(0);
        group->setExpanded(true);
        QTreeWidgetItem* element = group->child(0);
        element->setCheckState(0, Qt::Unchecked);
        auto all_checked = [&] {
            for (QTreeWidgetItemIterator it(tree); *it; ++it)
                if ((*it)->parent() && (*it)->checkState(0) != Qt::Checked) return false;
            return true;
        };
        QVERIFY(!all_checked());
        // A right press on an element does nothing; on the checked layer it checks all.
        tree->scrollToItem(element);
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, row_centre(tree, element));
        QVERIFY(!all_checked());
        layer = tree->topLevelItem(0)->child(0);
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, row_centre(tree, layer));
        QVERIFY(all_checked());
        QCOMPARE(w.action("MenuUndo")->text(), QString("&Undo Reset Layer"));
        w.action("MenuUndo")->trigger();
        QVERIFY(!all_checked());

        // Nodes open but never close; the root is not selectable.
        layer = tree->topLevelItem(0)->child(0);
        QVERIFY(layer->isExpanded());
        tree->collapseItem(layer);
        QVERIFY(layer->isExpanded());
        QVERIFY(!(tree->topLevelItem(0)->flags() & Qt::ItemIsSelectable));
        QVERIFY(!w.cycle_list()->itemsExpandable());
        QVERIFY(!w.cycle_list()->rootIsDecorated());
    }

    void datum_drag_draws_its_cross_and_questions_stand_clear_of_the_busy_box() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        ProjectModel& m = w.model();
        w.SetProgramTab(false);
        w.findChild<QToolButton*>("DatumCursPaint")->click();
        auto press = [&](double x, double y) {
            ViewMouse v;
            v.at = w.view()->WorldToScreen({x, y, 0});
            v.shift.left = true;
            v.button = MouseButton::Left;
            return v;
        };
        w.view()->OnMouseDown(press(m.datum_x - 10, m.datum_y + 5));
        w.view()->OnMouseMove(press(m.datum_x - 20, m.datum_y + 7));
        // The cross runs through the datum across the whole view, in red.
        const DevicePoint d = w.view()->WorldToScreen({m.datum_edit_x, m.datum_edit_y, 0});
        const QImage& screen = w.view()->screen_image();
        int red = 0;
        for (int x = 0; x < screen.width(); ++x)
            if (screen.pixelColor(x, d.y) == QColor(255, 0, 0)) ++red;
        QVERIFY2(red > screen.width() / 3, qPrintable(QString::number(red)));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.action("MenuUndo")->isEnabled());

        // A question asked while the box is up is not asked behind it.
        struct Watch : Prompt {
            TThinking_box* box = nullptr;
            int asked = 0;
            int behind_box = 0;
            Answer ask(MessageKind, const std::string&, const std::vector<Answer>&) override {
                ++asked;
                if (box && box->isVisible()) ++behind_box;
                return Answer::No;
            }
            void tell(MessageKind, const std::string&) override {}
            int choose(const std::string&, const std::vector<std::string>&, int p) override {
                return p;
            }
        };
        Watch watch;
        TMainForm v(home.paths(), &watch);
        watch.box = v.busy_box();
        show(v);
        v.run_material_dialog = [](TMaterialDatabase&) { return true; };
        QVERIFY(v.ImportDxf(home.projects + "/shaft.dxf"));
        QCOMPARE(watch.behind_box, 0);
        QVERIFY(!v.busy_box()->isVisible());
        v.busy_box()->ShowBusy(v.view(), "Reading DXF file...");
        v.model().prompt().ask(MessageKind::Confirmation, "?", {Answer::Yes, Answer::No});
        QCOMPARE(watch.behind_box, 0);
        // Back once the question is answered.
        QVERIFY(v.busy_box()->isVisible());
        v.busy_box()->HideBusy();
    }
};

QTEST_MAIN(CycleListTest)
#include "cycle_list_test.moc"
