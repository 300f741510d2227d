// The main window against the real core: start-up with and without a
// settings file, opening, saving and the save prompt, the command line and
// dropped files, importing a drawing with scripted answers, draw styles.
#include "app/main_window.h"
#include "base/ini_document.h"
#include "cycles/picking_geometry.h"
#include "dialogs/about_form.h"
#include "dialogs/border_form.h"
#include "dialogs/colour_form.h"
#include "dialogs/header_form.h"
#include "dialogs/rspin_edit.h"
#include "geometry/drawing_tree.h"
#include "geometry/dxf_layer.h"
#include "geometry/dxf_object.h"
#include "ncout/gnc_writer.h"
#include "ncout/material_db.h"
#include "project/project_model.h"
#include "support/test_doubles.h"
#include "view/help_link.h"
#include "view/qt_canvas.h"
#include "view/view_mouse.h"
#include "view/zoom_panel.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace zeran;

namespace {

QString examples() {
    return QString(ZERAN_SOURCE_DIR) + "/examples/";
}

// A home of its own per test: settings, data folder and projects.
struct Home {
    QTemporaryDir dir;
    QString projects;
    Home() {
        qputenv("HOME", dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir.path() + "/config").toUtf8());
        projects = dir.path() + "/my projects";
        QDir().mkpath(projects);
        for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            QFile::copy(examples() + f, projects + "/" + f);
    }
    QString shaft() const { return projects + "/shaft.tcf"; }
    AppPaths paths() const {
        return find_app_paths(QCoreApplication::applicationFilePath().toStdString());
    }
};

// Pixels of the drawing bitmap in any of the five move colours.
int path_pixels(TMainForm& w) {
    const QImage& img = w.view()->Graphic();
    QSet<QRgb> wanted;
    for (int i = 0; i < 5; ++i)
        wanted.insert(to_qcolor(w.settings().colours[std::size_t(i)]).rgb());
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (wanted.contains(img.pixel(x, y) | 0xFF000000u)) ++n;
    return n;
}

int count_kept(TMainForm& w) {
    int n = 0;
    for (const auto& list : *w.model().selection) n += list->count();
    return n;
}

void show(TMainForm& w) {
    w.resize(1100, 750);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void start_without_settings_file() {
        Home home;
        ScriptedPrompt prompt;
        const AppPaths paths = home.paths();
        QVERIFY(!QFile::exists(QString::fromStdString(paths.settings_file)));
        {
            TMainForm w(paths, &prompt);
            show(w);
            QCOMPARE(w.windowTitle(), QString("Spindra Turning - Untitled.tcf"));
            QVERIFY(!w.tabs()->isTabVisible(1));
            QVERIFY(!w.action("MenuSave")->isEnabled());
            QVERIFY(!w.action("MenuSaveAs")->isEnabled());
            QVERIFY(!w.action("MenuPrint")->isEnabled());
            QVERIFY(!w.reopen_menu()->isEnabled());
            QVERIFY(w.action("MenuDrawSelected")->isChecked());
            QVERIFY(!w.cursor_of(CursorKind::Datum).pixmap().isNull());
            QVERIFY(!w.windowIcon().isNull());
            QVERIFY(w.close());
        }
        // Closing wrote every key with its default.
        const auto doc = IniDocument::load(paths.settings_file);
        QVERIFY(doc.has_value());
        QCOMPARE(doc->read_int("Drawing", "Border", 0), 20LL);
        QCOMPARE(doc->read_int("Colours", "1", -1), static_cast<long long>(default_colours()[1]));
        QVERIFY(doc->has_key("MainForm", "SplitterWidth"));
        QVERIFY(QFile::exists(QString::fromStdString(paths.placement_file)));
        QVERIFY(QDir(QString::fromStdString(paths.data_folder)).exists());
        QVERIFY(QString::fromStdString(paths.settings_file).endsWith("/config/Kelvard/ZERAN.ini"));
    }

    void start_with_settings_file() {
        Home home;
        const AppPaths paths = home.paths();
        IniDocument doc;
        doc.write("Colours", "5", std::to_string(0x123456));
        doc.write("Drawing", "Border", "33");
        doc.write("Reopen", "1", home.shaft().toStdString());
        doc.write("Reopen", "2", (home.projects + "/gone.tcf").toStdString());
        QVERIFY(doc.save(paths.settings_file));
        ScriptedPrompt prompt;
        TMainForm w(paths, &prompt);
        QCOMPARE(w.settings().border, 33);
        QCOMPARE(w.view()->colour(), Colour(0x123456));
        QVERIFY(w.reopen_menu()->isEnabled());
        QCOMPARE(w.reopen_menu()->actions().size(), 1);
        QCOMPARE(w.reopen_menu()->actions().front()->text(), "&1 " + home.shaft());
        // Reopen goes through the save prompt and opens the entry.
        w.reopen_menu()->actions().front()->trigger();
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - shaft.tcf"));
    }

    void open_save_and_refuse_a_damaged_project() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.shaft()));
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - shaft.tcf"));
        QVERIFY(w.tabs()->isTabVisible(1));
        QVERIFY(w.program_tab_active());
        QVERIFY(w.action("MenuSave")->isEnabled());
        // Header, four cycles, footer; each cycle with its three children.
        QCOMPARE(w.cycle_list()->topLevelItemCount(), 6);
        QCOMPARE(w.cycle_list()->topLevelItem(0)->text(0), QString("Header"));
        QCOMPARE(w.cycle_list()->topLevelItem(5)->text(0), QString("Footer"));
        QTreeWidgetItem* first = w.cycle_list()->topLevelItem(1);
        QCOMPARE(first->childCount(), 3);
        QCOMPARE(first->child(0)->text(0), QString("Profile"));
        QVERIFY(first->child(1)->text(0).startsWith("Tool"));
        QCOMPARE(first->child(2)->text(0), QString("Parameters"));
        QVERIFY(w.files_tree()->topLevelItemCount() == 1);
        QCOMPARE(w.settings().reopen.entries().front(), home.shaft().toStdString());

        // Save As writes the project and takes its name.
        const QString copy = home.projects + "/copy.tcf";
        w.choose_file = [&](const FileRequest& r) {
            return r.mode == FileRequest::Mode::Save ? copy : QString();
        };
        QVERIFY(w.SaveProjectAs());
        QVERIFY(QFile::exists(copy));
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - copy.tcf"));
        QCOMPARE(w.model().header.header->ProjectName, std::string("copy.tcf"));
        // With fewer than six entries a new one goes to the end.
        QCOMPARE(w.settings().reopen.entries().back(), copy.toStdString());

        // A damaged project is refused with a message; nothing changes.
        const QString broken = home.projects + "/broken.tcf";
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[DXF]\nTDXFilename=nowhere.tdx\n[Cycle1]\nCycleType=99\n");
        f.close();
        const std::size_t told = prompt.told.size();
        QVERIFY(!w.OpenProject(broken));
        QVERIFY(prompt.told.size() > told);
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - copy.tcf"));
        QCOMPARE(w.model().cycles.size(), std::size_t(4));
        QCOMPARE(w.cycle_list()->topLevelItemCount(), 6);
    }

    void save_prompt_guards_new() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        QVERIFY(w.OpenProject(home.shaft()));
        w.model().SetModified(true);
        prompt.answers = {Answer::Cancel};
        w.MenuNewClick();
        QCOMPARE(prompt.asked.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(prompt.asked[0])
                    .startsWith("The file " + home.shaft() + ", has changed."));
        QCOMPARE(w.model().cycles.size(), std::size_t(4));
        // Cancel also keeps the window open.
        prompt.answers = {Answer::Cancel};
        QVERIFY(!w.close());

        prompt.answers = {Answer::No};
        w.MenuNewClick();
        QVERIFY(w.model().cycles.empty());
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - Untitled"));
        QVERIFY(!w.tabs()->isTabVisible(1));
        // Nothing loaded: no question at all.
        const std::size_t asked = prompt.asked.size();
        w.MenuNewClick();
        QCOMPARE(prompt.asked.size(), asked);
    }

    void command_line_and_dropped_files() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        w.run_material_dialog = [](TMaterialDatabase&) { return true; };
        // A path with a space, split by the shell, opens as one path.
        w.OpenCommandLine(home.shaft().split(' '));
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - shaft.tcf"));

        w.MenuNewClick();
        QFile txt(home.projects + "/notes.txt");
        QVERIFY(txt.open(QIODevice::WriteOnly));
        txt.close();
        w.DropFiles({txt.fileName()});
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - Untitled"));
        // Only the first of several files counts.
        w.DropFiles({home.shaft(), home.projects + "/shaft.dxf"});
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - shaft.tcf"));
        QCOMPARE(w.model().cycles.size(), std::size_t(4));
        // A dropped drawing is imported after one save question.
        w.model().SetModified(true);
        const std::size_t asked = prompt.asked.size();
        prompt.answers = {Answer::No, Answer::No, Answer::No};
        w.DropFiles({home.projects + "/shaft.dxf"});
        QCOMPARE(prompt.asked.size() - asked, std::size_t(1));
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - Untitled"));
        QVERIFY(w.model().drawing_loaded);
        QVERIFY(w.model().cycles.empty());
    }

    void import_tells_what_it_skipped_and_follows_the_curve_setting() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        const QString drawing = home.projects + "/newer.dxf";
        QVERIFY(QFile::copy(QString(ZERAN_TEST_DATA) + "/ac1015_shaft.dxf", drawing));
        w.run_material_dialog = [](TMaterialDatabase&) { return true; };
        QVERIFY(w.action("MenuReadCurves")->isChecked());
        prompt.answers = {Answer::No, Answer::No, Answer::No};
        QVERIFY(w.ImportDxf(drawing));
        QCOMPARE(prompt.told.back(), std::string("Skipped: 1 MTEXT"));
        QCOMPARE(w.model().drawing_curves, CurveReading::Arcs);

        // Unticked, imports read the old way and say what that left out.
        w.action("MenuReadCurves")->trigger();
        QVERIFY(!w.settings().read_curves);
        prompt.answers = {Answer::No, Answer::No, Answer::No};
        QVERIFY(w.ImportDxf(drawing));
        QCOMPARE(prompt.told.back(), std::string("Skipped: 1 LWPOLYLINE, 1 MTEXT, 1 SPLINE"));
        QCOMPARE(w.model().drawing_curves, CurveReading::Chords);
    }

    void import_drawing_with_scripted_answers() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        const QString drawing = home.projects + "/r12 shaft.dxf";
        QVERIFY(QFile::copy(QString(ZERAN_TEST_DATA) + "/r12_shaft.dxf", drawing));
        w.choose_file = [&](const FileRequest& r) {
            return r.title == "Import DXF" && r.help_context == 1 ? drawing : QString();
        };
        // The material list opens on the first metric material.
        std::string offered;
        w.run_material_dialog = [&](TMaterialDatabase& db) {
            offered = db.SelectedEntry() ? db.SelectedEntry()->name : "";
            return true;
        };
        prompt.answers = {Answer::No, Answer::No, Answer::No};
        w.MenuImportClick();
        QVERIFY(w.model().drawing_loaded);
        QVERIFY(offered.find("Metric") != std::string::npos);
        QCOMPARE(w.model().material_name, offered);
        QCOMPARE(w.model().units, Units::Metric);
        QCOMPARE(w.windowTitle(), QString("Spindra Turning - Untitled"));
        QCOMPARE(w.files_tree()->topLevelItem(0)->text(0), QString("r12 shaft.dxf"));
        QVERIFY(w.files_tree()->topLevelItem(0)->childCount() > 0);
        QVERIFY(w.action("MenuSave")->isEnabled());
        QVERIFY(w.view()->ZoomEnabled());
        QCOMPARE(w.settings().tdx_folder, home.projects.toStdString());
        // The datum typed in opens the program tab.
        QVERIFY(!w.tabs()->isTabVisible(1));
        w.datum_edit_x()->setValue(1);
        QVERIFY(w.model().datum_set);
        QVERIFY(w.tabs()->isTabVisible(1));

        // Unchecking a layer in the tree drops its elements from the kept lists.
        QTreeWidgetItem* layer = w.files_tree()->topLevelItem(0)->child(0);
        int kept = 0;
        for (const auto& list : *w.model().selection) kept += list->count();
        QVERIFY(kept > 0);
        layer->setCheckState(0, Qt::Unchecked);
        int after = 0;
        for (const auto& list : *w.model().selection) after += list->count();
        QVERIFY(after < kept);

        // On the input tab a press on the element under the pointer leaves it out.
        layer->setCheckState(0, Qt::Checked);
        QCOMPARE(count_kept(w), kept);
        // An element above the spindle axis (those on or below it are never kept).
        const DXF_Entity* first = nullptr;
        for (const DrawingNode* n : w.model().tree.nodes_in_order())
            if (!first && n->entity && n->state_index == kStateChecked) first = n->entity;
        QVERIFY(first);
        const auto [a, b] = EntityEnds(*first);
        ViewMouse m;
        m.at = w.view()->WorldToScreen({(a.x + b.x) / 2, (a.y + b.y) / 2, 0});
        w.view()->OnMouseMove(m);
        QCOMPARE(w.highlighted(), first);
        // The tree follows the hovered element.
        QVERIFY(w.files_tree()->currentItem());
        const int hovered_index = w.files_tree()->currentItem()->data(0, Qt::UserRole).toInt();
        QCOMPARE(w.model().tree.nodes_in_order().at(std::size_t(hovered_index))->entity, first);
        m.button = MouseButton::Left;
        w.view()->OnMouseDown(m);
        QCOMPARE(w.model().tree.nodes_in_order().at(std::size_t(hovered_index))->state_index,
                 kStateUnchecked);
        QVERIFY(count_kept(w) <= kept);
        QVERIFY(w.model().IsModified());
        // And a second press takes it back in.
        w.view()->OnMouseMove(m);
        w.view()->OnMouseDown(m);
        QCOMPARE(w.model().tree.nodes_in_order().at(std::size_t(hovered_index))->state_index,
                 kStateChecked);
        QCOMPARE(count_kept(w), kept);

        // Pressing a layer node flashes every element of the layer until the
        // release; the flashing leaves each element's colour as it was.
        int in_layer = 0;
        for (const auto& list : w.model().drawing->layers().front()->entity_lists())
            in_layer += list->count();
        const Colour colour_before = first->colour();
        const int index_before = first->colour_index();
        emit w.files_tree()->itemPressed(layer, 0);
        QCOMPARE(static_cast<int>(w.flash_list().size()), in_layer);
        QVERIFY(w.flashing());
        QTest::qWait(700);
        QVERIFY(w.flashing());
        QCOMPARE(first->colour(), colour_before);
        QCOMPARE(first->colour_index(), index_before);
        QTest::mouseRelease(w.files_tree()->viewport(), Qt::LeftButton);
        QVERIFY(!w.flashing());
        QVERIFY(w.flash_list().empty());

        // Save on the untitled project goes to Save As; cancelling writes nothing.
        w.choose_file = [](const FileRequest&) { return QString(); };
        QVERIFY(!w.SaveProject());
        QVERIFY(QDir(home.projects).entryList({"*.tcf"}).size() == 1);

        // A file that is no drawing is refused and leaves no drawing behind.
        const QString junk = home.projects + "/junk.dxf";
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a drawing\n");
        f.close();
        w.model().SetModified(false);
        prompt.answers = {Answer::Ok, Answer::Ok};
        QVERIFY(!w.ImportDxf(junk));
        QVERIFY(!w.model().drawing_loaded);
        QVERIFY(!w.ImportDxf(home.projects + "/absent.dxf"));
        QVERIFY(!w.model().drawing_loaded);
    }

    void draw_styles_choose_the_paths() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.shaft()));
        QVERIFY(w.program_tab_active());
        w.SelectCycleRow(1);
        QCOMPARE(w.session().selected.node, w.model().cycles[0].get());

        w.MenuDrawClick(DrawStyle::None);
        QCOMPARE(path_pixels(w), 0);
        w.MenuDrawClick(DrawStyle::Selected);
        const int selected = path_pixels(w);
        QVERIFY(selected > 0);
        // A Tool node draws its own cycle.
        w.SelectCycleRow(1, 1);
        QCOMPARE(path_pixels(w), selected);
        w.MenuDrawClick(DrawStyle::All);
        const int all = path_pixels(w);
        QVERIFY(all > selected);
        // An unchecked cycle is left out under "enabled" only.
        w.cycle_list()->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(w.model().cycles[1]->state_index, kStateUnchecked);
        w.MenuDrawClick(DrawStyle::Enabled);
        const int enabled = path_pixels(w);
        QVERIFY(enabled < all);
        QVERIFY(enabled > 0);
        // No paths on the input tab.
        w.SetProgramTab(false);
        QCOMPARE(path_pixels(w), 0);

        // The button steps through the four styles and wraps round.
        w.MenuDrawClick(DrawStyle::Selected);
        for (int i = 0; i < 4; ++i) w.DrawStyleBtnClick();
        QCOMPARE(w.draw_style(), DrawStyle::Selected);
        QVERIFY(w.action("MenuDrawSelected")->isChecked());
    }

    void commands_follow_tab_and_datum() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(!w.action("MenuAlongX")->isEnabled());
        QVERIFY(w.OpenProject(home.shaft()));
        // Cycle commands and Post Process need the program tab.
        QVERIFY(w.action("MenuAlongX")->isEnabled());
        QVERIFY(w.action("MenuPost")->isEnabled());
        w.SetProgramTab(false);
        QVERIFY(!w.action("MenuAlongX")->isEnabled());
        QVERIFY(!w.action("MenuPost")->isEnabled());
        QVERIFY(w.action("MenuShowDirection")->isEnabled());
        w.SetProgramTab(true);
        // A new cycle goes before the footer and is selected.
        w.action("MenuFinishing")->trigger();
        QCOMPARE(w.model().cycles.size(), std::size_t(5));
        QCOMPARE(w.cycle_list()->topLevelItemCount(), 7);
        QCOMPARE(w.cycle_list()->currentItem(), w.cycle_list()->topLevelItem(5));
        QCOMPARE(w.cycle_list()->topLevelItem(6)->text(0), QString("Footer"));

        // The pointer over an element lights it up; away from it, nothing.
        w.SelectCycleRow(1);
        const DXF_Entity* element = w.model().cycles[0]->points.items.front().element;
        const auto [a, b] = EntityEnds(*element);
        const DevicePoint at = w.view()->WorldToScreen({(a.x + b.x) / 2, (a.y + b.y) / 2, 0});
        ViewMouse m;
        m.at = at;
        w.view()->OnMouseMove(m);
        QCOMPARE(w.highlighted(), element);

        // Direction arrows come with the menu item on a profile's cycle.
        w.MenuDrawClick(DrawStyle::None);
        const QImage without = w.view()->Graphic().copy();
        w.action("MenuShowDirection")->trigger();
        QVERIFY(w.show_direction());
        QVERIFY(w.view()->Graphic() != without);
    }

    void border_colours_header_and_about() {
        Home home;
        ScriptedPrompt prompt;
        TMainForm w(home.paths(), &prompt);
        show(w);
        QVERIFY(w.OpenProject(home.shaft()));
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<TBorderForm*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->border_edit()->setValue(40);
            d->accept();
        });
        w.MenuSetBorderClick();
        QCOMPARE(w.settings().border, 40);

        ColourSet chosen = default_colours();
        chosen[kColourBackground] = 0x204060;
        QTimer::singleShot(0, [chosen] {
            auto* d = qobject_cast<TColourForm*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->SetColours(chosen);
            d->accept();
        });
        w.MenuColoursClick();
        QVERIFY(w.settings().colours == chosen);
        QCOMPARE(w.view()->colour(), Colour(0x204060));
        QCOMPARE(w.view()->Graphic().pixel(0, 0) | 0xFF000000u, to_qcolor(0x204060).rgb());

        // The header dialog: an empty author shows the account's name.
        QVERIFY(!default_author().isEmpty());
        TFormHeader header;
        header.SetAuthor(QString());
        QCOMPARE(header.Author(), default_author());
        w.run_header_form = [](TFormHeader& form) {
            form.author_edit()->setText("A. Turner");
            form.SetUnits(Units::Metric);
            return true;
        };
        w.model().SetModified(false);
        w.HeaderDialogClick();
        QCOMPARE(w.model().header.header->Author, std::string("A. Turner"));
        QVERIFY(w.model().IsModified());

        // F1 opens the help of the control with the focus; the cycle list's
        // follows its selected node.
        QUrl opened;
        set_help_opener([&](const QUrl& url) {
            opened = url;
            return true;
        });
        w.SelectCycleRow(1, 1);
        QCOMPARE(w.help_context_at(w.cycle_list()), 55);
        QCOMPARE(w.help_context_at(w.files_tree()), 38);
        QCOMPARE(w.help_context_at(w.view()), 37);
        w.action("MenuContents")->trigger();
        QCOMPARE(opened, help_url(1000));
        set_help_opener([](const QUrl&) { return false; });

        TFormAbout about;
        about.SetVersionText("Version " ZERAN_VERSION);
        QCOMPARE(about.VersionText(), QString("Version " ZERAN_VERSION));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
