// The simulator's window: stepping and running a program, the listing
// following the block run, the findings list, a malformed program refused,
// the hand-over of a file through the local socket, and the tool editor.
#include "simulator/link/instance_link.h"
#include "simulator/window/sim_window.h"
#include "simulator/window/tool_editor.h"

#include <QListWidget>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace simvo;

namespace {

const char* kProgram = "%\n"
                       "G21\n"
                       "G18 G40 G80 G97 G99\n"
                       "T0101\n"
                       "G97 S800 M03\n"
                       "G00 X44. Z2.\n"
                       "X36.\n"
                       "G01 Z-30. F0.2\n"
                       "X44.\n"
                       "G00 X30. Z-40.\n"
                       "M30\n"
                       "%\n";

QString write(const QTemporaryDir& dir, const QString& name, const char* text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

} // namespace

class SimulatorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void steps_runs_and_lists_findings() {
        QTemporaryDir dir;
        SimWindow w(StockSize{50, 20});
        w.set_machine("Fanuc Lathe");
        QVERIFY(w.open_file(write(dir, "job.FNL", kProgram)));
        QCOMPARE(w.listing()->count(), 12);
        // The last rapid plunges into the billet: one finding, on line 10.
        QCOMPARE(w.findings()->count(), 1);
        QVERIFY(w.findings()->item(0)->text().startsWith("line 10: rapid move"));
        w.step();
        QCOMPARE(w.listing()->currentRow(), 5);
        w.run_to_line(8);
        QCOMPARE(w.listing()->currentRow(), 7);
        QVERIFY(w.simulation()->stock().area() < 1000 - 59);
        // Running backwards starts again from the top.
        w.run_to_line(6);
        QCOMPARE(w.listing()->currentRow(), 5);
        QCOMPARE(w.simulation()->stock().area(), 1000.0);
        w.run_to_end();
        QVERIFY(w.simulation()->done());
    }

    void malformed_program_is_refused_and_the_old_one_kept() {
        QTemporaryDir dir;
        SimWindow w(StockSize{50, 20});
        w.set_machine("Fanuc Lathe");
        QVERIFY(w.open_file(write(dir, "good.FNL", kProgram)));
        QTimer::singleShot(200, [] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(top)) box->accept();
        });
        QVERIFY(!w.open_file(write(dir, "bad.FNL", "G21\nG0 X10 Y5\n")));
        QVERIFY(w.simulation() != nullptr);
        QCOMPARE(w.listing()->currentRow(), 1); // the bad line is shown
    }

    void a_second_start_hands_its_file_to_the_running_one() {
        QTemporaryDir dir;
        qputenv("SIMVOTURN_SOCKET", QByteArray("simvoturn-test-") +
                                        QByteArray::number(QCoreApplication::applicationPid()));
        QVERIFY(!simulator_answers(100));
        QVERIFY(!hand_file_to_simulator("/nowhere", 100));
        SimWindow w(StockSize{50, 20});
        InstanceServer server;
        if (!server.listen()) QSKIP("another simulator holds the socket");
        connect(&server, &InstanceServer::fileHanded, &w, &SimWindow::open_handed);
        QVERIFY(simulator_answers());
        const QString path = write(dir, "handed.ngc",
                                   "G21\nG7\nG95\nT1 M6\nG97 S500 M3\n"
                                   "G0 X44 Z2\nG1 Z-10 F0.1\nM2\n");
        // The second start blocks on its answer, as a separate process would,
        // while this event loop serves the window's end.
        std::atomic<bool> handed = false;
        std::thread second([&] { handed = hand_file_to_simulator(path, 5000); });
        QTRY_VERIFY(w.simulation() != nullptr);
        QTRY_VERIFY(handed);
        second.join();
        QCOMPARE(w.listing()->count(), 8);
        QVERIFY(w.windowTitle().endsWith("handed.ngc"));
    }

    void tool_editor_refuses_bad_numbers_and_saves_the_rest() {
        QTemporaryDir dir;
        const std::string file = dir.filePath("tools.ini").toStdString();
        ToolEditor editor(file, 4);
        QCOMPARE(editor.table()->rowCount(), 4);
        editor.table()->item(0, 0)->setText("Rougher 80");
        editor.table()->item(0, 2)->setText("12.7");
        editor.table()->item(1, 1)->setText("three");
        std::vector<ToolEntry> rows;
        QString error;
        QVERIFY(!editor.read_rows(rows, error));
        QVERIFY(error.contains("Slot 2"));
        editor.table()->item(1, 1)->setText("3");
        editor.table()->item(1, 3)->setText("18");
        QVERIFY(editor.read_rows(rows, error));
        QVERIFY(save_tool_table(file, rows));
        std::vector<ToolEntry> back;
        QVERIFY(load_tool_table(file, 4, back));
        QCOMPARE(QString::fromStdString(back[0].description), QString("Rougher 80"));
        QCOMPARE(back[0].tip_size, 12.7);
        QCOMPARE(back[1].type, 3);
        QCOMPARE(back[1].diameter, 18.0);
    }
};

QTEST_MAIN(SimulatorWindowTest)
#include "simulator_window_test.moc"
