// The datum placed in the window by a Ctrl drag onto a drawing's key point
// off the 0.1 grid: the paths follow it exactly, the edits show it, and the
// window posts the same GNC as the batch run of the saved project. The path
// audit's verdict in the cycle tree and the parameter hint.
#include "app/main_window.h"
#include "cycles/can_cycle.h"
#include "cycles/param_controls.h"
#include "cycles/tool_control.h"
#include "dialogs/rspin_edit.h"
#include "project/project_file.h"
#include "project/project_model.h"
#include "support/test_doubles.h"
#include "view/param_hint_text.h"
#include "view/view_mouse.h"
#include "view/zoom_panel.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>

using namespace zeran;

namespace {

// The drawing's face and axis, off any 0.1 grid (and the face finer than
// the edits show).
constexpr double kFaceX = 103.18234;
constexpr double kAxisY = 0.94;

QByteArray line(double x1, double y1, double x2, double y2) {
    return "0\r\nLINE\r\n8\r\nPART\r\n10\r\n" + QByteArray::number(x1, 'g', 17) + "\r\n20\r\n" +
           QByteArray::number(y1, 'g', 17) + "\r\n11\r\n" + QByteArray::number(x2, 'g', 17) +
           "\r\n21\r\n" + QByteArray::number(y2, 'g', 17) + "\r\n";
}

void write_file(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QByteArray read_file(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A stepped shaft (diameters 20 and 30, 20 long each) and a project that
// holds it with the datum still at the drawing's origin.
struct Home {
    QTemporaryDir dir;
    QString projects;
    Home() {
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        projects = dir.path() + "/projects";
        QDir().mkpath(projects);
        const double f = kFaceX, a = kAxisY;
        write_file(projects + "/shaft.dxf",
                   "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + line(f, a, f, a + 10) +
                       line(f, a + 10, f - 20, a + 10) + line(f - 20, a + 10, f - 20, a + 15) +
                       line(f - 20, a + 15, f - 40, a + 15) + line(f - 40, a + 15, f - 40, a) +
                       "0\r\nENDSEC\r\n0\r\nEOF\r\n");
        write_file(projects + "/shaft.tcf",
                   "[DXF]\r\nDatun_x=0\r\nDatun_y=0\r\nPART=1\r\nPART_LINES=2\r\n"
                   "PART_LINE 1=3\r\nPART_LINE 2=4\r\nPART_LINE 3=5\r\nPART_LINE 4=6\r\n"
                   "PART_LINE 5=7\r\n\r\n[Header]\r\nDate=45000\r\nAuthor=T\r\nMetric=1\r\n"
                   "BilletX=45\r\nBilletZ=17\r\n\r\n");
    }
    AppPaths paths() const {
        return find_app_paths(QCoreApplication::applicationFilePath().toStdString());
    }
};

void show(TMainForm& w) {
    w.resize(1100, 750);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

ViewMouse at(TMainForm& w, double x, double y, bool ctrl, MouseButton button) {
    ViewMouse m;
    m.at = w.view()->WorldToScreen({x, y, 0});
    m.shift.ctrl = ctrl;
    m.shift.left = button == MouseButton::Left;
    m.button = button;
    return m;
}

} // namespace

class DatumDragTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void ctrl_drag_snaps_off_the_grid_and_paths_follow() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/shaft.tcf"));
        QCOMPARE(w.model().datum_x, 0.0);

        // Ctrl drag from near the face's foot: the face line lights up, the
        // datum snaps to its end and stays there on release.
        w.findChild<QToolButton*>("DatumCursPaint")->click();
        w.view()->OnMouseMove(at(w, kFaceX - 0.05, kAxisY + 1.5, true, MouseButton::None));
        QVERIFY(w.highlighted());
        w.view()->OnMouseDown(at(w, kFaceX - 0.05, kAxisY + 0.05, true, MouseButton::Left));
        w.view()->OnMouseMove(at(w, kFaceX - 0.3, kAxisY + 0.4, true, MouseButton::Left));
        w.view()->OnMouseUp(at(w, kFaceX - 0.3, kAxisY + 0.4, true, MouseButton::Left));
        QCOMPARE(w.model().datum_x, kFaceX);
        QCOMPARE(w.model().datum_y, kAxisY);
        QCOMPARE(w.datum_edit_x()->text(), QString("103.182"));
        QCOMPARE(w.datum_edit_y()->text(), QString("0.94"));

        // Typing into one edit keeps the other coordinate exactly.
        w.datum_edit_y()->setText("0.940");
        QCOMPARE(w.model().datum_y, kAxisY);
        QCOMPARE(w.model().datum_x, kFaceX);

        // A finishing cycle over the outline reaches every corner within 0.001.
        ProjectModel& m = w.model();
        CycleNode& finish = m.AddCycle(CycleKind::Finishing);
        for (std::size_t i = 0; i < 4; ++i) m.AddToProfile(finish, (*m.selection)[0]->at(i), false);
        finish.tool->ToolWidth = 0.4;
        finish.params->StartX = 18;
        finish.params->StartZ = 2;
        finish.params->SetControl(ParamField::Feed, 0.1);
        finish.params->SetControl(ParamField::Speed, 1500);
        m.MarkCycleChanged(&finish);
        TCanCycle& cycle = m.PrepareCycle(finish, true);
        QVERIFY2(!cycle.Moves.empty(), cycle.LastError().c_str());
        for (CyclePoint c : {CyclePoint{0, 0}, CyclePoint{10, 0}, CyclePoint{10, -20},
                             CyclePoint{15, -20}, CyclePoint{15, -40}}) {
            double nearest = 1e9;
            for (const TCNC_Groups* move : cycle.Moves)
                if (move->Motion() != kMotionRapid)
                    nearest = std::min(nearest, std::hypot(move->X() - c.X, move->Z() - c.Z));
            QVERIFY2(nearest <= 0.001, qPrintable(QString("corner %1, %2").arg(c.X).arg(c.Z)));
        }
        // Between the corners the audit finds nothing deeper than 0.001 in the part.
        QVERIFY(m.AuditPaths().empty());

        // Saved, the project posts the same GNC from the window and from the batch.
        CycleNode& rough = m.AddCycle(CycleKind::AlongX);
        for (std::size_t i = 0; i < 4; ++i) m.AddToProfile(rough, (*m.selection)[0]->at(i), false);
        rough.tool->ToolWidth = 0.8;
        rough.params->StartX = 18;
        rough.params->StartZ = 2;
        rough.params->SetControl(ParamField::Feed, 0.2);
        rough.params->SetControl(ParamField::Speed, 1000);
        rough.params->SetControl(ParamField::DepthCutX, 1.5);
        rough.params->SetControl(ParamField::RetractX, 0.5);
        rough.params->SetControl(ParamField::AllowanceX, 0.2);
        m.MarkCycleChanged(&rough);
        WriteProjectFile(m, (home.projects + "/offgrid.tcf").toStdString());
        QDir().mkpath(home.projects + "/batch");
        for (const char* ext : {".tcf", ".tdx"})
            QVERIFY(QFile::copy(home.projects + "/offgrid" + ext,
                                home.projects + "/batch/offgrid" + ext));

        TMainForm again(home.paths(), &prompt);
        QVERIFY(again.OpenProject(home.projects + "/offgrid.tcf"));
        QCOMPARE(again.model().datum_x, kFaceX);
        again.run_post_form = [](TPostForm&) { return false; };
        QVERIFY(!again.PostProcess()); // the GNC file is written before the post dialog
        const QByteArray window_gnc =
            read_file(QString::fromStdString(again.settings().paths().gnc_file));
        QVERIFY(!window_gnc.isEmpty());

        const QString zeran = QCoreApplication::applicationDirPath() + "/../../src/app/zeran";
        QVERIFY(QFileInfo(zeran).isExecutable());
        QProcess batch;
        batch.start(zeran, {"--gnc", home.projects + "/batch/offgrid.tcf", "--strict", "--output",
                            home.projects + "/batch/offgrid.gnc"});
        QVERIFY(batch.waitForFinished(60000));
        QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());
        QCOMPARE(read_file(home.projects + "/batch/offgrid.gnc"), window_gnc);
        // Diameter 20 is cut at 20, not at the 20.08 of a datum rounded to 0.1.
        QVERIFY(window_gnc.contains("x = 20\r\n"));
        QVERIFY(!window_gnc.contains("20.08"));
    }

    void audit_marks_the_tree_and_the_hint() {
        Home home;
        for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            QVERIFY(QFile::copy(QString(ZERAN_SOURCE_DIR) + "/examples/" + f,
                                home.projects + "/example_" + f));
        QFile::rename(home.projects + "/example_shaft.dxf", home.projects + "/ex.dxf");
        QByteArray tcf = read_file(home.projects + "/example_shaft.tcf");
        // A linear cycle started behind the first shoulder feeds straight into the part.
        tcf += "[Cycle5]\r\nCycleType=7\r\nChecked=1\r\nComment=straight in\r\n"
               "Entity_0=0_0_1\r\nEntity_1=0_0_2\r\nEntity_2=0_0_5\r\nTool_Number=2\r\n"
               "Tool_Width=0.4\r\nParam_StartPosX=14\r\nParam_StartPosZ=-30\r\n"
               "Param_Feed=0.1\r\nParam_Speed=1600\r\nParam_UseFPR=1\r\nParam_UseCSS=0\r\n\r\n";
        write_file(home.projects + "/ex.tcf", tcf);
        QVERIFY(QFile::copy(home.projects + "/example_ZERAN.tmf", home.projects + "/ZERAN.tmf"));

        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.projects + "/ex.tcf"));
        QVERIFY(w.program_tab_active());
        w.MenuDrawClick(DrawStyle::All);
        const auto params_state = [&](int row) {
            return w.cycle_list()->topLevelItem(row)->child(2)->data(0, Qt::UserRole).toInt();
        };
        QCOMPARE(params_state(5), kStateIncomplete);
        for (int row = 1; row <= 4; ++row) QCOMPARE(params_state(row), kStateComplete);
        TParamControls& params = *w.model().cycles[4]->params;
        QVERIFY(params.PathReport.find("enter the part") != std::string::npos);
        const ParamHintText hint = build_param_hint(params, '.');
        QVERIFY(!hint.ready);
        QVERIFY(!hint.lines.back().ok);
        QVERIFY(hint.lines.back().text.find("Path: ") != std::string::npos);
        QVERIFY(hint.text.find(params.PathReport) != std::string::npos);

        // Left out of the output, the cycle is no longer audited.
        w.cycle_list()->topLevelItem(5)->setCheckState(0, Qt::Unchecked);
        w.MenuDrawClick(DrawStyle::All);
        QVERIFY(params.PathReport.empty());
        QCOMPARE(params_state(5), kStateComplete);
    }
};

QTEST_MAIN(DatumDragTest)
#include "datum_drag_test.moc"
