// A new user's whole road in the window, by mouse and keyboard: import a
// drawing, place datum and billet, add the eight kinds of cycle, pick their
// profiles, set tools and parameters, reorder, delete, undo and redo, save,
// reopen and post. The G-code must equal the batch post of the same program
// written into a project file by hand, for every shipped machine.
#include "app/batch.h"
#include "app/cycle_list_drag.h"
#include "app/main_window.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "cycles/param_controls.h"
#include "dialogs/param_form.h"
#include "dialogs/post_form.h"
#include "dialogs/real_edit.h"
#include "geometry/entity.h"
#include "ncout/material_db.h"
#include "project/project_model.h"
#include "support/window_home.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <functional>
#include <sstream>

using namespace zeran;

namespace {

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_all(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

// Answers modal dialogs as they come: each handler in turn gets the next
// dialog; message boxes are noted and answered with their default button.
class ModalScript : public QObject {
public:
    std::deque<std::function<void(QWidget*)>> handlers;
    QStringList messages;

    ModalScript() {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(15);
    }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        // Dialogs on the stack come back at the same address: one that closed
        // is forgotten.
        if (!modal || !modal->isVisible()) {
            last_ = nullptr;
            return;
        }
        if (modal == last_) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            last_ = modal;
            messages << box->text();
            if (QAbstractButton* b = box->defaultButton())
                b->click();
            else
                box->accept();
            return;
        }
        last_ = modal;
        if (handlers.empty()) {
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
            return;
        }
        auto handler = std::move(handlers.front());
        handlers.pop_front();
        handler(modal);
    }
    QTimer timer_;
    QWidget* last_ = nullptr;
};

// With ZERAN_HELP_SHOTS set, the steps the new-user help page shows are
// grabbed into that folder (scripts/help_screenshots.sh runs this under Xvfb).
void shot(QWidget* w, const char* name) {
    const QString folder = qEnvironmentVariable("ZERAN_HELP_SHOTS");
    if (folder.isEmpty()) return;
    QCoreApplication::processEvents();
    QDir().mkpath(folder);
    w->grab().save(folder + "/" + name + ".png");
}

// Types `text` over an edit's contents; Return ends the typing on a panel,
// Tab in a dialog (where Return would press OK).
void type_into(QLineEdit* edit, const QString& text, Qt::Key done = Qt::Key_Tab) {
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, done);
}

// The view's paint area: the widget that follows the pointer.
QWidget* paint_area(TMainForm& w) {
    for (QWidget* child : w.view()->findChildren<QWidget*>())
        if (child->hasMouseTracking()) return child;
    return nullptr;
}

QPoint screen(TMainForm& w, double x, double y) {
    const DevicePoint p = w.view()->WorldToScreen({x, y, 0});
    return {p.x, p.y};
}

// A click in the view on the drawing point (x, y), the pointer moved there first
// so that the element under it lights up.
void click_at(TMainForm& w, double x, double y, Qt::KeyboardModifiers mods = {}) {
    QWidget* area = paint_area(w);
    QVERIFY(area);
    QTest::mouseMove(area, screen(w, x, y));
    QTest::mouseClick(area, Qt::LeftButton, mods, screen(w, x, y));
    QCoreApplication::processEvents();
}

void drag(TMainForm& w, QPointF from, QPointF to, Qt::KeyboardModifiers mods = {}) {
    QWidget* area = paint_area(w);
    QVERIFY(area);
    const QPoint a = screen(w, from.x(), from.y());
    const QPoint b = screen(w, to.x(), to.y());
    QTest::mouseMove(area, a);
    QTest::mousePress(area, Qt::LeftButton, mods, a);
    for (int i = 1; i <= 8; ++i) {
        const QPoint p = a + (b - a) * i / 8;
        QMouseEvent move(QEvent::MouseMove, p, area->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         mods);
        QApplication::sendEvent(area, &move);
    }
    QTest::mouseRelease(area, Qt::LeftButton, mods, b);
    QCoreApplication::processEvents();
}

QTreeWidgetItem* node(TMainForm& w, int row, int child = -1) {
    QTreeWidgetItem* top = w.cycle_list()->topLevelItem(row);
    return top && child >= 0 ? top->child(child) : top;
}

void click_node(TMainForm& w, int row, int child = -1) {
    QTreeWidgetItem* item = node(w, row, child);
    QVERIFY(item);
    QTreeWidget* list = w.cycle_list();
    if (item->parent()) item->parent()->setExpanded(true);
    QCoreApplication::processEvents();
    list->scrollToItem(item);
    QCoreApplication::processEvents();
    const QRect r = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QCoreApplication::processEvents();
}

void double_click_node(TMainForm& w, int row, int child) {
    QTreeWidgetItem* item = node(w, row, child);
    QVERIFY(item);
    QTreeWidget* list = w.cycle_list();
    list->scrollToItem(item);
    const QRect r = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QCoreApplication::processEvents();
}

// The middle of a drawing line or arc given by two of its points.
QPointF mid(double x1, double y1, double x2, double y2) {
    return {(x1 + x2) / 2, (y1 + y2) / 2};
}

struct Param {
    ParamField field;
    const char* text;
};

// Fills the parameter dialog: feed per revolution, plain speed, the fields.
std::function<void(QWidget*)> fill_params(std::vector<Param> values) {
    return [values](QWidget* modal) {
        auto* form = qobject_cast<TParamForm*>(modal);
        QVERIFY2(form, "the parameter dialog");
        form->FeedPerRev()->setChecked(true);
        if (auto* rpm = form->findChild<QRadioButton*>("SpeedRPM")) rpm->setChecked(true);
        for (const Param& p : values) type_into(form->Edit(p.field), p.text);
        if (values.size() > 4) shot(form, "parameters");
        QVERIFY2(form->OkButton()->isEnabled(), qPrintable(form->Status()->text()));
        QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
}

std::function<void(QWidget*)> post_to(const QString& machine, const QString& out) {
    return [machine, out](QWidget* modal) {
        auto* form = qobject_cast<TPostForm*>(modal);
        QVERIFY2(form, "the post dialog");
        const auto found = form->machine_list()->findItems(machine, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        form->machine_list()->setCurrentItem(found.front());
        form->dest_edit()->setText(out);
        shot(form, "post");
        QTest::mouseClick(form->ok_button(), Qt::LeftButton);
    };
}

void wait_until_answered(ModalScript& script) {
    QTRY_VERIFY_WITH_TIMEOUT(script.handlers.empty(), 20000);
    QCoreApplication::processEvents();
}

// A Ctrl shortcut typed into `target`, the window active again after a dialog.
void keys_to(TMainForm& w, QWidget* target, Qt::Key key) {
    QApplication::setActiveWindow(&w);
    target->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(target, key, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

QStringList points_of(TMainForm& w) {
    QStringList out;
    auto* list = w.findChild<QListWidget*>("PointsList");
    for (int i = 0; list && i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

} // namespace

class WholeRoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }
    void a_new_user_makes_a_program();
};

void WholeRoadTest::a_new_user_makes_a_program() {
    test::WindowHome home;
    const QString folder = home.projects;
    // The tool library the simulator keeps: a rougher and a finisher.
    const QString config = home.dir.path() + "/config/Kelvard";
    QDir().mkpath(config);
    write_all(home.dir.path() + "/simvoturn", "");
    write_all(config + "/SimvoTurning5.ini",
              "[Simulator]\nApplication=" + home.dir.path().toUtf8() +
                  "/simvoturn\nVersion=5.0.0.0\n[Offsets]\nTool Offset File=tools.ini\n");
    write_all(config + "/tools.ini", "[TURN_TOOLS]\n1_Description=Rougher\n1_TipSize=0.8\n"
                                     "1_Length=40\n2_Description=Finisher\n2_TipSize=0.4\n"
                                     "2_Length=40\n");

    ModalScript script;
    TMainForm w(home.paths());
    w.resize(1280, 860);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QString next_file;
    w.choose_file = [&](const FileRequest&) { return next_file; };
    // The material question: the entry the shaft is made of.
    w.run_material_dialog = [](TMaterialDatabase& db) {
        const int entry = db.Find("Mild Steel (Metric)");
        if (entry < 0) return false;
        db.Select(entry);
        return true;
    };
    ProjectModel& m = w.model();

    // Import.
    next_file = folder + "/shaft.dxf";
    w.action("MenuImport")->trigger();
    QVERIFY(m.drawing_loaded);
    QCOMPARE(QString::fromStdString(m.material_name), QString("Mild Steel (Metric)"));
    shot(&w, "imported");

    // The datum: a Ctrl drag onto the foot of the face, where it meets the axis.
    QToolButton* datum_tool = w.findChild<QToolButton*>("DatumCursPaint");
    QVERIFY(datum_tool);
    w.SetProgramTab(false);
    datum_tool->click();
    drag(w, {-8, 6}, {0.4, 1.2}, Qt::ControlModifier);
    QCOMPARE(m.datum_x, 0.0);
    QCOMPARE(m.datum_y, 0.0);
    shot(&w, "datum");
    datum_tool->click();

    // The program tab: billet by dragging its corner.
    w.SetProgramTab(true);
    click_node(w, 0);
    QToolButton* billet_tool = w.findChild<QToolButton*>("BilletCursPaint");
    QVERIFY(billet_tool);
    billet_tool->click();
    drag(w, {-20, 5}, {-102, 19});
    QVERIFY(std::abs(m.billet_edit_l - 102) < 0.6);
    QVERIFY(std::abs(m.billet_edit_r - 19) < 0.6);
    shot(&w, "billet");
    billet_tool->click();

    // Cycles from the menu and from the toolbar, in turn.
    auto toolbar_button = [&](const char* name) {
        auto* bar = w.findChild<QToolBar*>("ToolBarBtns");
        return qobject_cast<QToolButton*>(bar->widgetForAction(w.action(name)));
    };
    auto add_cycle = [&](const char* name, bool from_toolbar) {
        if (from_toolbar) {
            QToolButton* b = toolbar_button(name);
            QVERIFY(b && b->isEnabled());
            QTest::mouseClick(b, Qt::LeftButton);
        } else {
            w.action(name)->trigger();
        }
        QCoreApplication::processEvents();
    };

    // Each cycle's panels: comment, profile, tool, start point and parameters.
    auto comment = [&](int row, const char* text) {
        click_node(w, row);
        QCOMPARE(w.findChild<QLabel*>("PanelCycleName")->text(),
                 QString::fromStdString(
                     std::string(cycle_short_name(m.cycles[std::size_t(row - 1)]->kind()))));
        type_into(w.findChild<QLineEdit*>("EditComment"), text, Qt::Key_Return);
    };
    auto library_tool = [&](int row, int slot) {
        click_node(w, row, 1);
        auto* combo = w.findChild<QComboBox*>("ToolCombo");
        QVERIFY(combo && combo->isVisible());
        combo->setCurrentIndex(slot - 1);
    };
    auto hand_tool = [&](int row, int slot, const char* width, const char* length) {
        click_node(w, row, 1);
        auto* combo = w.findChild<QComboBox*>("ToolCombo");
        QVERIFY(combo && combo->isVisible());
        combo->setCurrentIndex(slot - 1);
        type_into(w.findChild<QLineEdit*>("EditToolWidth"), width, Qt::Key_Return);
        type_into(w.findChild<QLineEdit*>("EditToolLength"), length, Qt::Key_Return);
    };
    auto start_and_params = [&](int row, const char* x, const char* z, std::vector<Param> values) {
        click_node(w, row, 2);
        type_into(w.findChild<QLineEdit*>("EditSPX"), x, Qt::Key_Return);
        type_into(w.findChild<QLineEdit*>("EditSPZ"), z, Qt::Key_Return);
        // The status line follows the typing, as the tree does.
        const bool valid = m.cycles[std::size_t(row - 1)]->params->Valid;
        QCOMPARE(w.findChild<QLabel*>("ParamsStatus")->text(),
                 valid ? QString("Parameters complete")
                       : QString("Parameters or start point not complete"));
        script.handlers.push_back(fill_params(std::move(values)));
        double_click_node(w, row, 2);
        wait_until_answered(script);
    };
    auto inclusive = [&](bool on) {
        auto* radio = w.findChild<QRadioButton*>(on ? "AddInclusive" : "AddSingle");
        QVERIFY(radio && radio->isEnabled());
        QTest::mouseClick(radio, Qt::LeftButton);
    };
    using F = ParamField;

    // 1: rough outside, along X.
    add_cycle("MenuAlongX", false);
    QCOMPARE(m.cycles.size(), std::size_t(1));
    comment(1, "rough outside");
    click_node(w, 1, 0);
    const QPointF chamfer = mid(0, 8.5, -1.5, 10), neck = mid(-1.5, 10, -20, 10);
    const QPointF step = mid(-24, 8.5, -24, 12.5);
    const QPointF groove_wall = mid(-20, 10, -20, 8.5), collar = mid(-24, 12.5, -47, 12.5);
    const QPointF face = mid(0, 0, 0, 8.5);
    click_at(w, chamfer.x(), chamfer.y());
    click_at(w, neck.x(), neck.y());
    click_at(w, step.x(), step.y());
    inclusive(true);
    click_at(w, -75, 17.5);
    QCOMPARE(points_of(w).size(), 8);
    shot(&w, "profile");
    library_tool(1, 1);
    shot(&w, "tool");
    start_and_params(1, "20", "2",
                     {{F::Feed, "0.25"},
                      {F::Speed, "1200"},
                      {F::DepthCutX, "2"},
                      {F::RetractX, "0.5"},
                      {F::AllowanceX, "0.3"},
                      {F::AllowanceZ, "0.1"}});
    // 2: the face, along Z, from the toolbar.
    add_cycle("MenuAlongZ", true);
    comment(2, "face");
    click_node(w, 2, 0);
    click_at(w, face.x(), face.y());
    QCOMPARE(points_of(w).size(), 1);
    library_tool(2, 1);
    start_and_params(2, "20", "2",
                     {{F::Feed, "0.2"},
                      {F::Speed, "1200"},
                      {F::DepthCutZ, "1"},
                      {F::RetractZ, "0.5"},
                      {F::AllowanceX, "0.1"},
                      {F::AllowanceZ, "0.1"}});
    // 3: finishing; its profile is the roughing's, copied and pasted.
    add_cycle("MenuFinishing", false);
    comment(3, "finish outside");
    click_node(w, 1, 0);
    auto* points = w.findChild<QListWidget*>("PointsList");
    QVERIFY(points);
    keys_to(w, points, Qt::Key_A);
    keys_to(w, points, Qt::Key_C);
    const QStringList outside = points_of(w);
    const CycleSelection& sel = w.session().selected;
    QVERIFY(sel.part == CyclePart::Profile && sel.node == m.cycles[0].get());
    const std::size_t copied = w.session().clipboard.size();
    QVERIFY2(copied == 8, qPrintable(QString::number(copied)));
    click_node(w, 3, 0);
    keys_to(w, points, Qt::Key_V);
    wait_until_answered(script);
    QCOMPARE(points_of(w), outside);
    library_tool(3, 2);
    start_and_params(3, "20", "2", {{F::Feed, "0.1"}, {F::Speed, "1600"}});
    // 4: pattern repeat from the toolbar; pasted, its last element taken off
    // by a click and put back by another.
    add_cycle("MenuPattern", true);
    comment(4, "semi finish");
    click_node(w, 4, 0);
    keys_to(w, points, Qt::Key_V);
    wait_until_answered(script);
    QCOMPARE(points_of(w), outside);
    click_at(w, -75, 17.5); // the largest diameter: off the list
    QCOMPARE(points_of(w).size(), outside.size() - 1);
    click_at(w, -75, 17.5);
    QCOMPARE(points_of(w), outside);
    library_tool(4, 2);
    start_and_params(4, "20", "2",
                     {{F::Feed, "0.15"},
                      {F::Speed, "1400"},
                      {F::DepthCutX, "0.5"},
                      {F::DepthCutZ, "0.5"},
                      {F::AllowanceX, "0.1"},
                      {F::AllowanceZ, "0.05"},
                      {F::Repeats, "2"}});
    // 5: the thread undercut, picked inclusively.
    add_cycle("MenuGrooving", false);
    comment(5, "thread undercut");
    click_node(w, 5, 0);
    QVERIFY(!w.findChild<QRadioButton*>("AddInclusive")->isEnabled());
    click_at(w, groove_wall.x(), groove_wall.y());
    inclusive(true);
    click_at(w, step.x(), step.y());
    QCOMPARE(points_of(w).size(), 3);
    hand_tool(5, 3, "3", "40");
    start_and_params(5, "14", "-18",
                     {{F::Feed, "0.05"},
                      {F::Speed, "800"},
                      {F::DepthCutZ, "2"},
                      {F::PeckReturnX, "0.5"},
                      {F::DepthCutX, "1"},
                      {F::AllowanceX, "0"}});
    // 6: the thread, from the toolbar.
    add_cycle("MenuThreading", true);
    comment(6, "M20x1.5");
    click_node(w, 6, 0);
    click_at(w, neck.x(), neck.y());
    hand_tool(6, 4, "1", "40");
    start_and_params(6, "12", "5",
                     {{F::Feed, "1.5"},
                      {F::Speed, "600"},
                      {F::DepthThread, "0.92"},
                      {F::DepthFirst, "0.3"},
                      {F::AllowanceX, "0.05"},
                      {F::FinishPass, "1"},
                      {F::Chamfer, "1"},
                      {F::TipAngle, "60"},
                      {F::Pitch, "1.5"},
                      {F::MinCut, "0.05"}});
    // 7: the collar, linear.
    add_cycle("MenuLinear", false);
    comment(7, "collar");
    click_node(w, 7, 0);
    click_at(w, collar.x(), collar.y());
    library_tool(7, 2);
    start_and_params(7, "14", "-22", {{F::Feed, "0.1"}, {F::Speed, "1600"}});
    // 8: a centre spot on the face, drilling from the toolbar.
    add_cycle("MenuDrilling", true);
    comment(8, "centre");
    click_node(w, 8, 0);
    click_at(w, face.x(), face.y());
    hand_tool(8, 5, "3", "40");
    start_and_params(
        8, "0", "5",
        {{F::Feed, "0.05"}, {F::Speed, "1000"}, {F::DepthCutZ, "1"}, {F::PeckReturnZ, "0.5"}});
    // A ninth cycle, deleted by the popup; undo brings it back, redo takes it again.
    add_cycle("MenuFinishing", true);
    QCOMPARE(m.cycles.size(), std::size_t(9));
    QMenu* popup = w.CyclePopupFor(node(w, 9));
    QVERIFY(popup);
    popup->findChild<QAction*>("PopupMenuDeleteCycle")->trigger();
    QCOMPARE(m.cycles.size(), std::size_t(8));
    keys_to(w, w.cycle_list(), Qt::Key_Z);
    QCOMPARE(m.cycles.size(), std::size_t(9));
    keys_to(w, w.cycle_list(), Qt::Key_Y);
    QCOMPARE(m.cycles.size(), std::size_t(8));
    // Reordering: the face up by the popup, the pattern and the collar by drag.
    w.CyclePopupFor(node(w, 2))->findChild<QAction*>("PopupMenuMoveCycleUp")->trigger();
    QVERIFY2(m.cycles[0]->caption.find("face") != std::string::npos, m.cycles[0]->caption.c_str());
    // A drag from the selected row, its moves and the drop as the list gets
    // them from the platform's drag loop.
    auto drag_row = [&](int from, int before) {
        click_node(w, from);
        QTreeWidget* list = w.cycle_list();
        QMimeData data;
        data.setData(CycleListDrag::kMimeType, QByteArray::number(from));
        const QPoint a = list->visualItemRect(node(w, from)).center();
        const QPoint b = list->visualItemRect(node(w, before)).center();
        QDragEnterEvent enter(a, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        for (int i = 1; i <= 5; ++i) {
            QDragMoveEvent move(a + (b - a) * i / 5, Qt::MoveAction, &data, Qt::LeftButton,
                                Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &move);
        }
        QDropEvent drop(b, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCoreApplication::processEvents();
    };
    drag_row(4, 3);
    QVERIFY(m.cycles[2]->caption.find("semi finish") != std::string::npos);
    drag_row(7, 6);
    QVERIFY(m.cycles[5]->caption.find("collar") != std::string::npos);

    // Undo and redo the last reorder.
    w.action("MenuUndo")->trigger();
    QVERIFY(m.cycles[6]->caption.find("collar") != std::string::npos);
    w.action("MenuRedo")->trigger();
    QVERIFY(m.cycles[5]->caption.find("collar") != std::string::npos);
    // Save, then reopen from the recent list.
    const QString project = folder + "/shaft_program.tcf";
    next_file = project;
    w.action("MenuSaveAs")->trigger();
    QVERIFY(QFile::exists(project));
    w.action("MenuNew")->trigger();
    QVERIFY(m.cycles.empty());
    QVERIFY(!w.reopen_menu()->actions().isEmpty());
    w.reopen_menu()->actions().front()->trigger();
    QCOMPARE(m.cycles.size(), std::size_t(8));
    QVERIFY(m.post_allowed);
    click_node(w, 3);
    w.action("MenuDrawEnabled")->trigger(); // every enabled cycle's path
    shot(&w, "program");
    // The same program written by hand, with the saved header's date, author
    // and the billet the drag gave.
    const QByteArray saved = read_all(project);
    auto value = [&](const char* key) {
        const QRegularExpression re(QString("\\n%1=([^\\r\\n]*)").arg(key));
        return re.match(QString::fromUtf8(saved)).captured(1);
    };
    QByteArray by_hand = read_all(QString(ZERAN_TEST_DATA) + "/road/shaft_program.tcf");
    by_hand.replace("@DATE@", value("Date").toUtf8());
    by_hand.replace("@AUTHOR@", value("Author").toUtf8());
    by_hand.replace("@BILLETX@", value("BilletX").toUtf8());
    by_hand.replace("@BILLETZ@", value("BilletZ").toUtf8());
    const QString hand_folder = home.dir.path() + "/hand";
    QDir().mkpath(hand_folder);
    write_all(hand_folder + "/shaft_program.tcf", by_hand);
    QFile::copy(folder + "/shaft.dxf", hand_folder + "/shaft_program.dxf");
    QFile::copy(folder + "/ZERAN.tmf", hand_folder + "/ZERAN.tmf");

    for (const char* machine : {"LinuxCNC Lathe", "Fanuc Lathe", "Haas Lathe"}) {
        const QString tag = QString(machine).replace(' ', '_');
        const QString posted = home.dir.path() + "/" + tag + ".nc";
        script.handlers.push_back(post_to(machine, posted));
        w.action("MenuPost")->trigger();
        wait_until_answered(script);
        QVERIFY2(QFile::exists(posted), qPrintable(script.messages.join(" | ")));

        const QString expected = hand_folder + "/" + tag + ".nc";
        std::ostringstream out, err;
        const int rc =
            run_batch({"--post", (hand_folder + "/shaft_program.tcf").toStdString(), "--machine",
                       machine, "--strict", "--output", expected.toStdString()},
                      BatchIo{out, err});
        QVERIFY2(rc == 0, err.str().c_str());
        const QByteArray a = read_all(posted), b = read_all(expected);
        QVERIFY(!a.isEmpty());
        QVERIFY2(a == b,
                 qPrintable(QString("%1 differs from the hand-written program").arg(machine)));
    }
    QVERIFY(w.close());
}

QTEST_MAIN(WholeRoadTest)
#include "whole_road_test.moc"
