// The post dialog's rules and the Post Process command, which must write
// the same G-code as the batch post for every shipped machine.
#include "app/main_window.h"
#include "base/ini_document.h"
#include "dialogs/post_form.h"
#include "ncout/machine_data.h"
#include "project/post_job.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace zeran;

namespace {

void write_text(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QByteArray read_all(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Home {
    QTemporaryDir dir;
    QString projects;
    Home() {
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        projects = dir.path() + "/projects";
        for (const QString& sub : {QString("/window"), QString("/batch")}) {
            QDir().mkpath(projects + sub);
            for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
                QFile::copy(QString(ZERAN_SOURCE_DIR) + "/examples/" + f, projects + sub + "/" + f);
        }
    }
    AppPaths paths() const {
        return find_app_paths(QCoreApplication::applicationFilePath().toStdString());
    }
};

// Picks the machine, points the destination at `out` and presses OK.
std::function<bool(TPostForm&)> confirm(const QString& machine, const QString& out) {
    return [machine, out](TPostForm& form) {
        const auto found = form.machine_list()->findItems(machine, Qt::MatchExactly);
        if (found.isEmpty()) return false;
        form.machine_list()->setCurrentItem(found.front());
        form.dest_edit()->setText(out);
        form.BtnOKClick();
        return form.Accepted();
    };
}

} // namespace

class WindowPostTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void dialog_lists_and_checks_its_fields() {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/tools";
        ScriptedPrompt prompt;
        IniDocument settings;
        {
            TPostForm form(prompt);
            QVERIFY(!form.LoadMachines(folder.toStdString(), settings));
            QCOMPARE(prompt.told.size(), std::size_t(1));
            QCOMPARE(prompt.told[0],
                     "Unable to read any machines defined in the \"Turning\" section of " +
                         folder.toStdString() + "/MachData.ini.");
        }
        write_text(folder + "/MachData.ini", "[Turning]\nb=b.ini\nA=a.ini\n");
        write_text(folder + "/a.ini", "[A]\nLibrary=Libs/a.slb\nExtension=NCA\n");
        write_text(folder + "/Libs/a.slb", "x");
        write_text(folder + "/Libs/Fanucl.slb", "x");
        QDir().mkpath(dir.path() + "/out");

        TPostForm form(prompt);
        QVERIFY(form.LoadMachines(folder.toStdString(), settings));
        QCOMPARE(form.machine_list()->count(), 2);
        QCOMPARE(form.machine_list()->item(0)->text(), QString("A"));
        QCOMPARE(form.machine_list()->item(1)->text(), QString("b"));
        form.SelectMachine("gone"); // no longer listed: the first stays
        QCOMPARE(form.MachineName(), std::string("A"));
        form.SetDestination((dir.path() + "/out/part.tcf").toStdString());
        QCOMPARE(form.dest_edit()->text(), dir.path() + "/out/part.NCA");
        QVERIFY(form.ok_button()->isEnabled());

        // The other machine has no file: the defaults, at once.
        form.machine_list()->setCurrentRow(1);
        QCOMPARE(form.Library(), folder.toStdString() + "/Libs/Fanucl.slb");
        QCOMPARE(form.dest_edit()->text(), dir.path() + "/out/part.FNL");
        QVERIFY(form.ok_button()->isEnabled());

        // No folder part, a missing folder or a missing library: no OK.
        form.dest_edit()->setText("Untitled.FNL");
        QVERIFY(!form.ok_button()->isEnabled());
        form.dest_edit()->setText(dir.path() + "/nowhere/part.FNL");
        QVERIFY(!form.ok_button()->isEnabled());
        form.dest_edit()->setText(dir.path() + "/out/part.FNL");
        QFile::remove(folder + "/Libs/Fanucl.slb");
        form.RefreshMachine();
        QVERIFY(!form.ok_button()->isEnabled());
        form.machine_list()->setCurrentRow(0);
        QVERIFY(form.ok_button()->isEnabled());

        // Browse offers the machine's extension and takes the chosen path.
        QString filter;
        form.choose_file = [&](const QString&, const QString&, const QString&, const QString& f,
                               const QString&) {
            filter = f;
            return dir.path() + "/out/other.NCA";
        };
        form.BrowseDestClick();
        QVERIFY(filter.contains("*.nca"));
        QCOMPARE(form.dest_edit()->text(), dir.path() + "/out/other.NCA");

        // "No" to overwriting keeps the dialog and the file as they were.
        write_text(dir.path() + "/out/other.NCA", "old");
        prompt.answers = {Answer::No};
        form.BtnOKClick();
        QVERIFY(!form.Accepted());
        QCOMPARE(read_all(dir.path() + "/out/other.NCA"), QByteArray("old"));
        QVERIFY(prompt.asked.back().find("already exists") != std::string::npos);
        prompt.answers = {Answer::Yes};
        form.BtnOKClick();
        QVERIFY(form.Accepted());
        QCOMPARE(read_all(dir.path() + "/out/other.NCA"), QByteArray());
    }

    void post_process_matches_the_batch_post() {
        Home home;
        const std::string postvex = find_postvex();
        QVERIFY2(!postvex.empty(), "postvex is built beside the tests");
        const std::vector<MachineEntry> machines = read_machine_list(postvex_data_folder(postvex));
        QVERIFY(machines.size() >= 3);
        const QString zeran = QCoreApplication::applicationDirPath() + "/../../src/app/zeran";
        QVERIFY(QFileInfo(zeran).isExecutable());

        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.post_timeout_ms = 60000;
        QVERIFY(w.OpenProject(home.projects + "/window/shaft.tcf"));
        for (const MachineEntry& m : machines) {
            const QString machine = QString::fromStdString(m.name);
            const QString batch_out = home.projects + "/batch/" + machine + ".nc";
            QProcess batch;
            batch.start(zeran, {"--post", home.projects + "/batch/shaft.tcf", "--machine", machine,
                                "--output", batch_out});
            QVERIFY(batch.waitForFinished(60000));
            QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());

            const QString window_out = home.projects + "/window/" + machine + ".nc";
            w.run_post_form = confirm(machine, window_out);
            QVERIFY2(w.PostProcess(), qPrintable(w.last_post_error()));
            QCOMPARE(w.model().machine_name, m.name);
            QCOMPARE(w.model().last_nc_file, window_out.toStdString());
            const QByteArray expected = read_all(batch_out);
            QVERIFY(!expected.isEmpty());
            QCOMPARE(read_all(window_out), expected);
        }
        // The post step left its keys in the settings file.
        const auto settings = IniDocument::load(w.settings().paths().settings_file);
        QVERIFY(settings.has_value());
        QCOMPARE(settings->read_string("Postvex", "Machine"), machines.back().name);
        QVERIFY(QFile::exists(QString::fromStdString(w.settings().paths().gnc_file)));
        // Without a simulator beside the program there is nothing to export to.
        QVERIFY(!w.action("MenuExportCNC")->isVisible());

        // Cancelled: no post-processor run and no last CNC file.
        w.run_post_form = [](TPostForm&) { return false; };
        QVERIFY(!w.PostProcess());
        QVERIFY(w.model().last_nc_file.empty());
    }

    void failed_post_process_leaves_an_unedited_project_unmodified() {
        Home home;
        // The finishing cycle has lost its profile: it cannot generate.
        const QString path = home.projects + "/window/shaft.tcf";
        QByteArray text = read_all(path);
        const int second = text.indexOf("[Cycle2]");
        QVERIFY(second > 0);
        QByteArray kept;
        for (const QByteArray& line : text.mid(second).split('\n'))
            if (!line.startsWith("Entity_")) kept += line + '\n';
        write_text(path, text.left(second) + kept.chopped(1));

        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(path));
        QVERIFY(!w.model().IsModified());
        bool dialog_shown = false;
        w.run_post_form = [&](TPostForm&) { return dialog_shown = true; };
        QVERIFY(!w.PostProcess());
        QVERIFY(!dialog_shown);
        QCOMPARE(prompt.told.size(), std::size_t(1));
        QVERIFY(prompt.told[0].find("cannot generate") != std::string::npos);
        // Nothing was edited: no save question on closing.
        QVERIFY(!w.model().IsModified());
        QVERIFY(w.close());
        QVERIFY(prompt.asked.empty());
    }

    void failing_post_processor_is_reported() {
        Home home;
        QTemporaryDir tools;
        write_text(tools.path() + "/MachData.ini", "[Turning]\nBroken=broken.ini\n");
        write_text(tools.path() + "/Libs/Fanucl.slb", "x");
        const QString script = tools.path() + "/postvex";
        write_text(script, "#!/bin/sh\necho 'postvex: the library is damaged' >&2\nexit 3\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("ZERAN_POSTVEX", script.toUtf8());

        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.post_timeout_ms = 30000;
        QVERIFY(w.OpenProject(home.projects + "/window/shaft.tcf"));
        w.run_post_form = confirm("Broken", home.projects + "/window/out.FNL");
        QVERIFY(!w.PostProcess());
        qunsetenv("ZERAN_POSTVEX");
        QVERIFY(w.last_post_error().contains("exit code 3"));
        QVERIFY(w.last_post_error().contains("the library is damaged"));
        QVERIFY(!prompt.told.empty());
        QVERIFY(w.model().last_nc_file.empty());
    }
};

QTEST_MAIN(WindowPostTest)
#include "window_post_test.moc"
