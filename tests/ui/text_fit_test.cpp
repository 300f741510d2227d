// Texts the window must show whole: numbers in the spin edits, new cycles'
// captions and the material line.
#include "app/main_window.h"
#include "cycles/kind_description.h"
#include "dialogs/rspin_edit.h"
#include "project/project_model.h"
#include "support/test_doubles.h"

#include <QFile>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace zeran;

namespace {

// Room for the text beside the edit's buttons and frame.
bool shows_whole(const TRSpinEdit* e) {
    const QMargins m = e->textMargins();
    return e->width() - m.left() - m.right() - 8 >= e->fontMetrics().horizontalAdvance(e->text());
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void window_shows_numbers_and_captions_whole() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        for (const char* f : {"shaft.tcf", "shaft.dxf", "ZERAN.tmf"})
            QFile::copy(QString(ZERAN_SOURCE_DIR) + "/examples/" + f, home.path() + "/" + f);
        ScriptedPrompt prompt;
        // The window at its default size, with no settings file yet.
        TMainForm w(find_app_paths(QCoreApplication::applicationFilePath().toStdString()), &prompt);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.OpenProject(home.path() + "/shaft.tcf"));
        w.tabs()->setCurrentIndex(0);
        for (const char* value : {"-99.2", "-1234.567", "12345.678"}) {
            w.datum_edit_x()->setText(value);
            w.datum_edit_y()->setText(value);
            QCoreApplication::processEvents();
            QVERIFY2(shows_whole(w.datum_edit_x()), value);
            QVERIFY2(shows_whole(w.datum_edit_y()), value);
        }

        // New cycles of every roughing kind: their captions fit the list.
        w.tabs()->setCurrentIndex(1);
        for (const CycleKindDescription& d : cycle_kind_descriptions())
            if (d.roughing) w.MenuAddCycleClick(d.kind);
        QCoreApplication::processEvents();
        QTreeWidget* list = w.cycle_list();
        const int check = list->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
        int roughing = 0;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = list->topLevelItem(i);
            if (!item->text(0).startsWith("Roughing ")) continue;
            ++roughing;
            list->scrollToItem(item);
            const QRect r = list->visualItemRect(item);
            const int text = list->fontMetrics().horizontalAdvance(item->text(0));
            QVERIFY2(r.left() + check + list->iconSize().width() + text <=
                         list->viewport()->width(),
                     qPrintable(item->text(0)));
        }
        QCOMPARE(roughing, 3);
        auto* material = w.findChild<QLabel*>("MaterialLabel");
        QVERIFY(material);
        QVERIFY(material->wordWrap() ||
                material->fontMetrics().horizontalAdvance(material->text()) <= material->width());
    }
};

QTEST_MAIN(TextFitTest)
#include "text_fit_test.moc"
