// ZERAN's end of the simulator link: the start dialog's working folder and
// path label, the export to a running simulator through its socket, and the
// message when none answers.
#include "dialogs/run_simvo_turn.h"
#include "simulator/link/instance_link.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace zeran;

namespace {

// Closes the next message box, which must say the simulator is not there.
void close_next_message() {
    QTimer::singleShot(100, [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top)) {
                QVERIFY(box->text().startsWith("\"Simvo Turning\" is not installed"));
                box->accept();
            }
    });
}

} // namespace

class SimulatorLinkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qputenv("SIMVOTURN_SOCKET", QByteArray("simvoturn-linktest-") +
                                        QByteArray::number(QCoreApplication::applicationPid()));
    }

    void missing_working_folder_falls_back_to_the_simulators_folder() {
        QTemporaryDir dir;
        const QString exe = dir.filePath("simvoturn");
        TRunSimvoTurn dialog(exe);
        dialog.working_folder = dir.filePath("gone");
        dialog.show();
        QCOMPARE(dialog.working_folder, dir.path());
        QVERIFY(dialog.BtnYes()->isEnabled());
        // Neither exists: Yes stays disabled.
        TRunSimvoTurn nowhere(dir.filePath("none/simvoturn"));
        nowhere.working_folder = dir.filePath("gone");
        nowhere.show();
        QVERIFY(!nowhere.BtnYes()->isEnabled());
        // A program that cannot start is reported as not started.
        nowhere.working_folder = dir.path();
        QVERIFY(!nowhere.start_simulator(300));
    }

    void long_working_folder_is_broken_after_separators() {
        QTemporaryDir dir;
        QString deep = dir.path();
        for (const char* part : {"machine shop", "turning programs", "customer orders", "2026"})
            deep += QString("/") + part;
        QVERIFY(QDir().mkpath(deep));
        TRunSimvoTurn dialog(dir.filePath("simvoturn"));
        dialog.working_folder = deep;
        dialog.show();
        const QString text = dialog.LabelPath()->text();
        QVERIFY2(text.count('\n') + text.count('\r') >= 2, qPrintable(text));
        QCOMPARE(QString(text).remove('\r').remove('\n'), deep);
    }

    void export_without_a_running_simulator_says_so() {
        QTemporaryDir dir;
        const QString nc = dir.filePath("job.ngc");
        QFile(nc).open(QIODevice::WriteOnly);
        QVERIFY(!simvo::simulator_answers(100));
        close_next_message();
        QVERIFY(!ExportCNCFile(nullptr, nc));
    }

    void export_hands_the_file_to_the_running_simulator() {
        QTemporaryDir dir;
        const QString nc = dir.filePath("job.ngc");
        QFile(nc).open(QIODevice::WriteOnly);
        // The simulator's end runs in a thread of its own, as another program would.
        QThread thread;
        thread.start();
        QObject context;
        context.moveToThread(&thread);
        simvo::InstanceServer* server = nullptr;
        bool listening = false;
        QString handed;
        QMutex lock;
        QMetaObject::invokeMethod(
            &context,
            [&] {
                server = new simvo::InstanceServer;
                listening = server->listen();
                QObject::connect(server, &simvo::InstanceServer::fileHanded, [&](const QString& p) {
                    QMutexLocker hold(&lock);
                    handed = p;
                });
            },
            Qt::BlockingQueuedConnection);
        QVERIFY(listening);
        QVERIFY(ExportCNCFile(nullptr, nc));
        QTRY_COMPARE(
            [&] {
                QMutexLocker hold(&lock);
                return handed;
            }(),
            QFileInfo(nc).absoluteFilePath());
        // A file that is gone is not handed over.
        close_next_message();
        QVERIFY(!ExportCNCFile(nullptr, dir.filePath("missing.ngc")));
        QMetaObject::invokeMethod(
            &context, [&] { delete server; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }
};

QTEST_MAIN(SimulatorLinkTest)
#include "simulator_link_test.moc"
