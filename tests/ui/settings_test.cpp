// The settings file with its defaults, the reopen list's rules and the
// window-placement store.
#include "app/settings.h"
#include "app/window_placement.h"
#include "base/ini_document.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zeran;

namespace {

std::string touch(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    return path.toStdString();
}

AppPaths paths_in(const QTemporaryDir& dir) {
    AppPaths p;
    p.program = dir.filePath("bin/zeran").toStdString();
    p.data_folder = dir.filePath("data").toStdString();
    p.settings_file = dir.filePath("ZERAN.ini").toStdString();
    p.placement_file = dir.filePath("ZERAN.FPS").toStdString();
    p.gnc_file = p.data_folder + "/ZERAN.gnc";
    return p;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void missing_file_gives_defaults_and_writes_them_back() {
        QTemporaryDir dir;
        AppSettings s(paths_in(dir));
        s.load();
        QCOMPARE(s.border, 20);
        QVERIFY(s.read_curves);
        QCOMPARE(s.splitter_width, 190);
        QCOMPARE(s.tcf_folder, s.paths().data_folder);
        QCOMPARE(s.tdx_folder, s.paths().data_folder);
        QVERIFY(s.colours == default_colours());
        QVERIFY(s.reopen.empty());
        QVERIFY(s.save());
        const auto doc = IniDocument::load(s.paths().settings_file);
        QVERIFY(doc.has_value());
        for (int i = 0; i < 6; ++i)
            QCOMPARE(doc->read_int("Colours", std::to_string(i), -1),
                     static_cast<long long>(default_colours()[std::size_t(i)]));
        QCOMPARE(doc->read_int("Drawing", "Border", 0), 20LL);
        QCOMPARE(doc->read_int("Drawing", "ReadArcsAndCurves", 0), 1LL);
        QCOMPARE(doc->read_int("MainForm", "SplitterWidth", 0), 190LL);
        // Folders are stored without a trailing separator.
        QVERIFY(!doc->read_string("Directory", "TCF").ends_with('/'));
    }

    void stored_values_are_read_over_defaults() {
        QTemporaryDir dir;
        const std::string a = touch(dir, "a.tcf");
        const std::string b = touch(dir, "b.tcf");
        IniDocument doc;
        doc.write("Colours", "1", "255");
        doc.write("Drawing", "Border", "35");
        doc.write("Drawing", "ReadArcsAndCurves", "0");
        doc.write("MainForm", "SplitterWidth", "300");
        doc.write("Directory", "TCF", "/somewhere/projects/");
        doc.write("Reopen", "1", a);
        doc.write("Reopen", "2", dir.filePath("gone.tcf").toStdString());
        doc.write("Reopen", "3", a);
        doc.write("Reopen", "4", b);
        // A gap ends the list.
        doc.write("Reopen", "6", touch(dir, "c.tcf"));
        const AppPaths paths = paths_in(dir);
        QVERIFY(doc.save(paths.settings_file));

        AppSettings s(paths);
        s.load();
        QCOMPARE(s.colours[1], Colour(255));
        QCOMPARE(s.colours[0], default_colours()[0]);
        QCOMPARE(s.border, 35);
        QVERIFY(!s.read_curves);
        QCOMPARE(s.splitter_width, 300);
        QCOMPARE(s.tcf_folder, std::string("/somewhere/projects"));
        // The vanished file and the repeat are dropped.
        QCOMPARE(s.reopen.entries(), (std::vector<std::string>{a, b}));
    }

    void reopen_list_rules() {
        QTemporaryDir dir;
        std::vector<std::string> files;
        for (int i = 1; i <= 8; ++i) files.push_back(touch(dir, QString("p%1.tcf").arg(i)));

        ReopenList three;
        for (int i = 0; i < 3; ++i) three.add(files[std::size_t(i)]);
        three.add(files[3]);
        QCOMPARE(three.entries().back(), files[3]); // fewer than six: appended
        three.add(files[2]);
        QCOMPARE(three.entries().front(), files[2]); // listed: moved to the top
        QCOMPARE(three.entries().size(), std::size_t(4));

        ReopenList six;
        for (int i = 0; i < 6; ++i) six.add(files[std::size_t(i)]);
        six.add(files[6]);
        QCOMPARE(six.entries().size(), std::size_t(6));
        QCOMPARE(six.entries().front(), files[6]);
        QVERIFY(std::find(six.entries().begin(), six.entries().end(), files[5]) ==
                six.entries().end());

        six.add(dir.filePath("missing.tcf").toStdString()); // not there: nothing happens
        QCOMPARE(six.entries().size(), std::size_t(6));
        six.remove(files[6]);
        QCOMPARE(six.entries().front(), files[0]);
    }

    void window_placement_round_trip() {
        QTemporaryDir dir;
        const TFormPosSize store(dir.filePath("ZERAN.FPS"), "MainForm");
        const QRect current(10, 20, 800, 600);
        // Nothing stored yet: the current bounds stay.
        QCOMPARE(store.read(current, QSize(1400, 900)).normal, current);

        QVERIFY(store.write({QRect(100, 50, 640, 480), 2}));
        Placement p = store.read(current, QSize(1400, 900));
        QCOMPARE(p.normal, QRect(100, 50, 640, 480));
        QCOMPARE(p.state, 2);

        // Beyond a smaller screen the position falls back to 0; minimised
        // comes back normal.
        QVERIFY(store.write({QRect(2000, 1200, 640, 480), 1}));
        p = store.read(current, QSize(1024, 768));
        QCOMPARE(p.normal.topLeft(), QPoint(0, 0));
        QCOMPARE(p.state, 0);

        const TFormPosSize nowhere(QString(), "MainForm");
        QVERIFY(!nowhere.write({current, 0}));
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
