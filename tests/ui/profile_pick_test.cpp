// Picking profiles in the window on the shaft example with the mouse on the
// view: the cursors, single and inclusive adds, removing by a click, the
// groove's refusal and the chain's failure in words, a full threading list;
// the points list's selection, flashing, hint and popup commands with their
// keys, each change one step that undoes and redoes.
#include "app/main_window.h"
#include "geometry/entity.h"
#include "project/project_model.h"
#include "support/test_doubles.h"
#include "support/window_home.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace zeran;

namespace {

const std::string kChainFailure =
    "Inclusive item selection, failed.\r\rCheck that all DXF file intersection points meet.";
const std::string kGrooveArcs = "Arcs cannot be added to a Grooving Cycle profile.";
const std::string kDeleteQuestion =
    "By selecting this command you will delete all selected items in the list. Do you wish to "
    "continue?";
const std::string kClearQuestion =
    "By selecting this command you will delete all items in the list. Do you wish to continue?";

struct Window {
    test::WindowHome home;
    ScriptedPrompt prompt;
    TMainForm w{home.paths(), &prompt};
    QListWidget* list = nullptr;
    QWidget* box = nullptr;

    Window() {
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        list = w.findChild<QListWidget*>("PointsList");
        box = w.view()->findChild<QWidget*>("PaintBox");
        QVERIFY(list && box);
    }
    ProjectModel& model() { return w.model(); }
    // The shaft's outline as the view picks from it: lines 0 to 10, one arc.
    const DXF_Entity* line(std::size_t i) { return (*model().selection)[0]->at(i); }
    const DXF_Entity* arc() { return (*model().selection)[1]->at(0); }
    CycleNode& cycle(int i) { return *model().cycles[std::size_t(i)]; }
    // Adds a cycle and selects its Profile node.
    void add_cycle(CycleKind kind) {
        w.MenuAddCycleClick(kind);
        w.SelectCycleRow(static_cast<int>(model().cycles.size()), 0);
    }
    QPoint pixel_of(const DXF_Entity* e) {
        const Point3D a = e->start_point(), b = e->end_point();
        const DevicePoint p = w.view()->WorldToScreen({(a.x + b.x) / 2, (a.y + b.y) / 2, 0});
        return {p.x, p.y};
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton,
               Qt::MouseButtons held = Qt::NoButton) {
        QMouseEvent e(type, QPointF(at), box->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }
    void hover(const DXF_Entity* e) { mouse(QEvent::MouseMove, pixel_of(e)); }
    void click(const DXF_Entity* e, Qt::MouseButton button = Qt::LeftButton) {
        hover(e);
        mouse(QEvent::MouseButtonPress, pixel_of(e), button, button);
        mouse(QEvent::MouseButtonRelease, pixel_of(e), button, Qt::NoButton);
    }
    bool cursor_is(CursorKind kind) { return box->cursor() == w.cursor_of(kind); }
    Qt::CursorShape shape() { return box->cursor().shape(); }
    QStringList rows() {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    QString text_of(const DXF_Entity* e) {
        return QString::fromStdString(model().DescribeElement(*e));
    }
    QAction* command(const char* name) { return list->findChild<QAction*>(name); }
    void select_rows(std::initializer_list<int> rows_wanted) {
        list->clearSelection();
        for (int r : rows_wanted) list->item(r)->setSelected(true);
    }
    void keys(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key(key), mods);
    }
    QString undo_label() { return QString::fromStdString(w.session().history().undo_label()); }
    std::size_t steps() { return w.session().history().size(); }
};

// Acts on the modal dialog of type T once it shows.
template <class T> void on_modal(std::function<void(T*)> act) {
    QTimer::singleShot(0, [act] {
        T* form = nullptr;
        QTRY_VERIFY((form = qobject_cast<T*>(QApplication::activeModalWidget())) != nullptr);
        act(form);
    });
}

} // namespace

class ProfilePickTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void picks_singly_and_inclusively_with_the_mouse() {
        Window t;
        auto* single = t.w.findChild<QRadioButton*>("AddSingle");
        auto* inclusive = t.w.findChild<QRadioButton*>("AddInclusive");
        auto* add_type = t.w.findChild<QGroupBox*>("PointAddType");
        QVERIFY(single && inclusive && add_type);

        t.add_cycle(CycleKind::Finishing);
        QVERIFY(t.cursor_is(CursorKind::Plus));
        QVERIFY(!add_type->isEnabled());
        QVERIFY(single->isChecked());

        t.click(t.line(2));
        QCOMPARE(t.rows(), QStringList{t.text_of(t.line(2))});
        QCOMPARE(t.rows().front(), QString("Line (X -1.5, Y 10.0) - (X -20.0, Y 10.0) "));
        QCOMPARE(t.undo_label(), QString("Add to Profile"));
        QVERIFY2(t.cursor_is(CursorKind::Minus), "the pointer is over a listed element");
        QVERIFY(add_type->isEnabled());
        t.hover(t.line(4));
        QVERIFY(t.cursor_is(CursorKind::Plus));

        // Inclusive: from the focused item along the outline to the clicked line.
        inclusive->click();
        const std::size_t before = t.steps();
        t.click(t.line(6));
        QCOMPARE(t.rows().size(), 5);
        QCOMPARE(t.rows().back(), t.text_of(t.line(6)));
        QCOMPARE(t.steps(), before + 1);

        // A click on a listed element takes it out.
        t.hover(t.line(4));
        QVERIFY(t.cursor_is(CursorKind::Minus));
        t.click(t.line(4));
        QCOMPARE(t.rows().size(), 4);
        QVERIFY(!t.rows().contains(t.text_of(t.line(4))));
        QCOMPARE(t.undo_label(), QString("Remove from Profile"));
        // A right click or a double click adds nothing.
        t.click(t.line(9), Qt::RightButton);
        QCOMPARE(t.rows().size(), 4);

        t.w.action("MenuUndo")->trigger();
        QCOMPARE(t.rows().size(), 5);
        QVERIFY2(inclusive->isChecked(), "undo keeps the add type");
        t.w.action("MenuUndo")->trigger();
        QCOMPARE(t.rows().size(), 1);
        t.w.action("MenuRedo")->trigger();
        t.w.action("MenuRedo")->trigger();
        QCOMPARE(t.rows().size(), 4);

        // Another tab, another node: the view zooms again.
        t.w.SetProgramTab(false);
        QCOMPARE(t.shape(), Qt::CrossCursor);
        t.w.SetProgramTab(true);
        QVERIFY(t.cursor_is(CursorKind::Plus));
        t.w.SelectCycleRow(static_cast<int>(t.model().cycles.size()), 1);
        QCOMPARE(t.shape(), Qt::CrossCursor);
        t.click(t.line(9));
        QCOMPARE(t.model().cycles.back()->points.count(), 4);
        QVERIFY(t.prompt.told.empty());
    }

    void refusals_and_failures_are_told_in_words() {
        Window t;
        t.add_cycle(CycleKind::Grooving);
        t.hover(t.arc());
        QCOMPARE(t.shape(), Qt::ArrowCursor);
        const std::size_t steps = t.steps();
        t.click(t.arc(), Qt::RightButton);
        QCOMPARE(t.prompt.told.size(), std::size_t(1));
        QCOMPARE(t.prompt.told.back(), kGrooveArcs);
        t.click(t.arc());
        QCOMPARE(t.prompt.told.size(), std::size_t(2));
        QCOMPARE(t.list->count(), 0);
        QCOMPARE(t.steps(), steps);
        t.click(t.line(3));
        QCOMPARE(t.list->count(), 1);

        // Inclusive across a gap: line 5 left out of the drawing.
        t.w.findChild<QRadioButton*>("AddInclusive")->click();
        const DXF_Entity* original = t.line(5)->source;
        t.w.session().apply("Leave Out", {Change::Drawing},
                            [original](ProjectModel& m) { m.ToggleElement(original); });
        const std::size_t before = t.steps();
        t.click(t.line(7)); // the old line 8, past the gap
        QCOMPARE(t.prompt.told.back(), kChainFailure);
        QCOMPARE(t.list->count(), 1);
        QCOMPARE(t.steps(), before);

        // A threading cycle takes one element, then leaves pick mode.
        t.add_cycle(CycleKind::Threading);
        t.click(t.line(1));
        QCOMPARE(t.list->count(), 1);
        QVERIFY(!t.w.findChild<QGroupBox*>("PointAddType")->isEnabled());
        t.hover(t.line(6));
        QCOMPARE(t.shape(), Qt::CrossCursor);
        t.click(t.line(6));
        QCOMPARE(t.list->count(), 1);
        t.list->item(0)->setSelected(true);
        t.keys(Qt::Key_C);
        QVERIFY(t.w.PointsPopup());
        QVERIFY(!t.command("PUPointsListPaste")->isEnabled());
    }

    void the_points_list_commands_and_their_keys() {
        Window t;
        t.w.SelectCycleRow(1, 0);
        const QStringList outline = t.rows();
        QCOMPARE(outline.size(), 8);
        QMenu* popup = t.w.PointsPopup();
        QVERIFY(popup);
        QVERIFY(t.command("PUPointsListClear")->isEnabled());
        for (const char* name :
             {"PUPointsListDelete", "PUPointsListCut", "PUPointsListCopy", "PUPointsListPaste"})
            QVERIFY2(!t.command(name)->isEnabled(), name);
        QVERIFY(t.command("PUPointsListSelectAll")->isEnabled());

        // The list's selection is the model's.
        t.select_rows({1, 2});
        QCOMPARE(t.w.session().cursor(t.cycle(0)).selected_count(t.cycle(0).points), 2);
        QVERIFY(t.command("PUPointsListCut")->isEnabled());

        // Copy changes no document.
        const std::size_t steps = t.steps();
        t.keys(Qt::Key_C);
        QCOMPARE(t.w.session().clipboard.size(), std::size_t(2));
        QCOMPARE(t.steps(), steps);
        QVERIFY(t.command("PUPointsListPaste")->isEnabled());

        // Cut, one step that undoes and redoes.
        t.keys(Qt::Key_X);
        QCOMPARE(t.rows(), QStringList(outline.mid(0, 1) + outline.mid(3)));
        QCOMPARE(t.undo_label(), QString("Cut Points"));
        t.w.action("MenuUndo")->trigger();
        QCOMPARE(t.rows(), outline);
        t.w.action("MenuRedo")->trigger();
        QCOMPARE(t.rows().size(), 6);
        const QStringList cut = outline.mid(1, 2);

        // Paste: insert after the focused item, replace, cancel, append.
        t.list->setCurrentRow(0);
        t.prompt.choices = {1};
        t.keys(Qt::Key_V);
        QVERIFY(t.prompt.asked.back().starts_with("Paste operation, do you wish to append"));
        QCOMPARE(t.rows(), outline);
        QCOMPARE(t.undo_label(), QString("Paste Points"));
        t.prompt.choices = {2};
        t.keys(Qt::Key_V);
        QCOMPARE(t.rows(), cut);
        const std::size_t pasted = t.steps();
        t.prompt.choices = {3};
        t.keys(Qt::Key_V);
        QCOMPARE(t.rows(), cut);
        QCOMPARE(t.steps(), pasted);
        t.prompt.choices = {0};
        t.keys(Qt::Key_V);
        QCOMPARE(t.rows(), cut + cut);
        t.w.action("MenuUndo")->trigger();
        QCOMPARE(t.rows(), cut);

        // Select All, then Del asks before it deletes more than one.
        t.keys(Qt::Key_A);
        QCOMPARE(t.w.session().cursor(t.cycle(0)).selected_count(t.cycle(0).points), 2);
        QVERIFY(!t.command("PUPointsListSelectAll")->isEnabled());
        t.prompt.answers = {Answer::No};
        t.keys(Qt::Key_Delete, Qt::NoModifier);
        QCOMPARE(t.prompt.asked.back(), kDeleteQuestion);
        QCOMPARE(t.rows(), cut);
        t.select_rows({1});
        const std::size_t asked = t.prompt.asked.size();
        t.keys(Qt::Key_Delete, Qt::NoModifier);
        QCOMPARE(t.prompt.asked.size(), asked); // one item goes without a question
        QCOMPARE(t.rows(), cut.mid(0, 1));
        QVERIFY2(!t.command("PUPointsListClear")->isEnabled(), "one item: nothing to clear");
        t.w.action("MenuUndo")->trigger();
        QCOMPARE(t.rows(), cut);

        // Clear List, asked in its own box.
        t.w.PointsPopup();
        t.prompt.answers = {Answer::Yes};
        t.command("PUPointsListClear")->trigger();
        QCOMPARE(t.prompt.asked.back(), kClearQuestion);
        QCOMPARE(t.list->count(), 0);
        QCOMPARE(t.cycle(0).profile_node.state_index, kStateIncomplete);
        t.w.action("MenuUndo")->trigger();
        QCOMPARE(t.rows(), cut);
    }

    void the_list_flashes_and_hints_long_items() {
        Window t;
        t.w.SelectCycleRow(1, 0);
        QApplication::processEvents();
        const QImage composed = t.box->grab().toImage();
        QWidget* area = t.list->viewport();
        const QRect row1 = t.list->visualItemRect(t.list->item(1));
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, row1.center());
        QVERIFY(t.w.flashing());
        QCOMPARE(t.w.flash_list().size(), std::size_t(1));
        QCOMPARE(t.w.flash_list().front(), t.cycle(0).points.items[1].element);
        QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, row1.center());
        QVERIFY(!t.w.flashing());
        QVERIFY(t.w.flash_list().empty());
        QCOMPARE(t.box->grab().toImage(), composed); // markers and paths are back
        // Escape ends a flash whose release went elsewhere.
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, row1.center());
        QVERIFY(t.w.flashing());
        QTest::keyClick(t.list, Qt::Key_Escape);
        QVERIFY(!t.w.flashing());

        // An item wider than the list shows whole in the hint.
        t.list->setFixedWidth(120);
        QApplication::processEvents();
        const QRect row2 = t.list->visualItemRect(t.list->item(2));
        QMouseEvent move(QEvent::MouseMove, QPointF(row2.center()),
                         area->mapToGlobal(QPointF(row2.center())), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        auto* hint = t.list->findChild<QLabel*>("PointsHint");
        QVERIFY(hint && hint->isVisible());
        QCOMPARE(hint->text(), t.list->item(2)->text());
        const QPoint item = area->mapToGlobal(row2.topLeft() - QPoint(1, 3));
        QCOMPARE(hint->y(), item.y());
        QVERIFY(hint->x() <= item.x());
        // Moved left rather than cut by the screen's edge.
        QVERIFY(hint->x() + hint->width() <= t.list->screen()->availableGeometry().right() + 1);
        t.w.PointsPopup();
        QVERIFY(!hint->isVisible()); // the popup hides the hint
    }

    void real_boxes_ask_with_their_captions() {
        test::WindowHome home;
        TMainForm w(home.paths());
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.SetProgramTab(true);
        w.SelectCycleRow(1, 0);
        auto* list = w.findChild<QListWidget*>("PointsList");
        list->item(0)->setSelected(true);
        list->item(1)->setSelected(true);
        QString caption, text;
        on_modal<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        w.PointsListDeleteClick();
        QCOMPARE(caption, QString("Confirm Delete Selected"));
        QCOMPARE(text.toStdString(), kDeleteQuestion);
        QCOMPARE(list->count(), 6);
        on_modal<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            box->button(QMessageBox::No)->click();
        });
        w.PointsPopup();
        w.findChild<QAction*>("PUPointsListClear")->trigger();
        QCOMPARE(caption, QString("Confirm Clear List"));
        QCOMPARE(list->count(), 6);

        // The units question of the header's Parameters has its own caption too.
        on_modal<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            box->button(QMessageBox::No)->click();
        });
        w.model().SetUnits(Units::Inch, UnitsQuestion::Ask);
        QCOMPARE(caption, QString("Convert Parameters"));
    }
};

QTEST_MAIN(ProfilePickTest)
#include "profile_pick_test.moc"
