// The window as the program ships it: its own prompt and its own dialogs,
// none replaced. Modal dialogs are answered from a timer, as a user at the
// screen would answer them.
#include "app/main_window.h"
#include "dialogs/post_form.h"
#include "geometry/dxf_object.h"
#include "geometry/entity.h"
#include "geometry/selection_lists.h"
#include "project/project_model.h"
#include "support/window_home.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace zeran;

namespace {

using Home = test::WindowHome;

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Answers every modal dialog while it lives: the post dialog with a machine
// and a destination, message boxes with their default button, any other
// dialog with OK.
class ModalAnswers : public QObject {
public:
    QString machine;
    QString destination;
    QStringList messages;
    int post_forms = 0;

    ModalAnswers() {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(20);
    }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        if (auto* form = qobject_cast<TPostForm*>(modal)) {
            ++post_forms;
            const auto found = form->machine_list()->findItems(machine, Qt::MatchExactly);
            if (!found.isEmpty()) form->machine_list()->setCurrentItem(found.front());
            form->dest_edit()->setText(destination);
            if (form->ok_button()->isEnabled())
                QTest::mouseClick(form->ok_button(), Qt::LeftButton);
            else
                form->reject();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages << box->text();
            if (QAbstractButton* b = box->defaultButton())
                b->click();
            else
                box->accept();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->accept();
        }
    }
    QTimer timer_;
};

// The pointer moved over the view, through the view's own paint area.
void move_pointer(TMainForm& w, const Point3D& at) {
    QWidget* area = nullptr;
    for (QWidget* child : w.view()->findChildren<QWidget*>())
        if (child->hasMouseTracking()) area = child;
    QVERIFY(area);
    const DevicePoint p = w.view()->WorldToScreen(at);
    QTest::mouseMove(area, QPoint(p.x, p.y));
    QCoreApplication::processEvents();
}

bool in_drawing(const ProjectModel& model, const DXF_Entity* e) {
    for (const selection_lists* lists : {model.all_elements.get(), model.selection.get()}) {
        if (!lists) continue;
        for (const auto& list : *lists)
            for (const DXF_Entity* x : *list)
                if (x == e) return true;
    }
    return false;
}

// Sweeps the pointer across the drawing until an element lights up.
const DXF_Entity* hover_something(TMainForm& w) {
    const ProjectModel& m = w.model();
    for (int i = 1; i < 20; ++i) {
        for (int j = 1; j < 20; ++j) {
            const double x = m.extents_min.x + (m.extents_max.x - m.extents_min.x) * i / 20;
            const double y = m.extents_min.y + (m.extents_max.y - m.extents_min.y) * j / 20;
            move_pointer(w, {x, y, 0});
            if (w.highlighted()) return w.highlighted();
        }
    }
    return nullptr;
}

} // namespace

class WindowShippedTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void post_process_runs_the_real_post_dialog() {
        Home home;
        TMainForm w(home.paths());
        w.post_timeout_ms = 60000;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        ModalAnswers answers;
        answers.machine = "LinuxCNC Lathe";
        answers.destination = home.projects + "/shaft.ngc";
        // The toolbar's and the menu's command, as the user starts it.
        w.action("MenuPost")->trigger();
        QCOMPARE(answers.post_forms, 1);
        QVERIFY2(w.last_post_error().isEmpty(), qPrintable(w.last_post_error()));
        QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join('\n')));
        const QByteArray program = read_all(answers.destination);
        QVERIFY(program.contains("G7"));
        QVERIFY(program.contains("M2"));
        QCOMPARE(w.model().last_nc_file, answers.destination.toStdString());
        // Nothing was edited, so closing asks nothing.
        QVERIFY(!w.model().IsModified());
        QVERIFY(w.close());
        QVERIFY(answers.messages.isEmpty());
    }

    void changing_tab_releases_the_datum_tool() {
        Home home;
        TMainForm w(home.paths());
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswers answers;
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.tabs()->setCurrentIndex(0);
        auto* tool = w.findChild<QToolButton*>("DatumCursPaint");
        QVERIFY(tool);
        QTest::mouseClick(tool, Qt::LeftButton);
        QVERIFY(tool->isChecked());
        w.tabs()->setCurrentIndex(1);
        QVERIFY(!tool->isChecked());
        // A click in the program's view leaves the datum where it was.
        const double x = w.model().datum_edit_x, y = w.model().datum_edit_y;
        QWidget* area = nullptr;
        for (QWidget* child : w.view()->findChildren<QWidget*>())
            if (child->hasMouseTracking()) area = child;
        QVERIFY(area);
        QTest::mouseClick(area, Qt::LeftButton, {}, area->rect().center() + QPoint(37, 23));
        QCOMPARE(w.model().datum_edit_x, x);
        QCOMPARE(w.model().datum_edit_y, y);
        QVERIFY(!w.model().IsModified());
        QVERIFY(answers.messages.isEmpty());
    }

    void pointer_after_the_drawing_is_replaced() {
        Home home;
        QFile::copy(home.projects + "/shaft.tcf", home.projects + "/again.tcf");
        QFile::copy(home.projects + "/shaft.dxf", home.projects + "/again.dxf");
        TMainForm w(home.paths());
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswers answers;

        // Another project: nothing may still point into the old drawing.
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        w.tabs()->setCurrentIndex(0);
        QVERIFY(hover_something(w));
        QVERIFY2(w.OpenProject(home.projects + "/again.tcf"),
                 qPrintable(answers.messages.join('\n')));
        QVERIFY(w.highlighted() == nullptr);
        QVERIFY(w.flash_list().empty());
        w.tabs()->setCurrentIndex(0);
        const DXF_Entity* lit = hover_something(w);
        QVERIFY(lit);
        QVERIFY(in_drawing(w.model(), lit));

        // A drawing imported over it, with the import's questions answered.
        QVERIFY(w.ImportDxf(home.projects + "/shaft.dxf"));
        QVERIFY(w.highlighted() == nullptr);
        lit = hover_something(w);
        QVERIFY(lit);
        QVERIFY(in_drawing(w.model(), lit));

        // A new project leaves no drawing to point into.
        w.NewProject();
        QVERIFY(w.highlighted() == nullptr);
        move_pointer(w, {0, 0, 0});
        QVERIFY(w.highlighted() == nullptr);
    }
};

QTEST_MAIN(WindowShippedTest)
#include "window_shipped_test.moc"
