// Help inside the program: F1, Help > Contents and a dialog's Help button
// show the page of their context in the help window, with no web browser.
#include "app/main_window.h"
#include "dialogs/border_form.h"
#include "view/help_link.h"
#include "view/help_window.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace zeran;

namespace {

THelpWindow* open_help() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<THelpWindow*>(w); h && h->isVisible()) return h;
    return nullptr;
}

// The help window, wherever it is parented.
THelpWindow* any_help() {
    for (QWidget* w : QApplication::allWidgets())
        if (auto* h = qobject_cast<THelpWindow*>(w)) return h;
    return nullptr;
}

// The block at the top of the browser's visible area.
QString top_text(QTextBrowser* b) {
    return b->cursorForPosition(QPoint(4, 4)).block().text();
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Q_INIT_RESOURCE(zeran); }

    void pages_open_at_their_context() {
        QVERIFY(show_help(56));
        THelpWindow* help = open_help();
        QVERIFY(help);
        QCOMPARE(help->browser()->source().fileName(), QString("cycles.html"));
        QVERIFY(!help->browser()->toPlainText().isEmpty());
        // Scrolled to the context's heading, not left at the page's top.
        QVERIFY(help->browser()->verticalScrollBar()->value() > 0);
        const QString at_parameters = top_text(help->browser());
        QVERIFY(show_help(10));
        QVERIFY(top_text(help->browser()) != at_parameters);
        QCOMPARE(open_help(), help); // one window, reused
        help->close();
    }

    void the_window_and_its_dialogs_reach_the_help() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        TMainForm w(find_app_paths(QCoreApplication::applicationFilePath().toStdString()));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.action("MenuContents")->trigger();
        THelpWindow* help = open_help();
        QVERIFY(help);
        QCOMPARE(help->browser()->source().fileName(), QString("index.html"));
        help->close();

        // F1 on the drawing tree.
        w.activateWindow();
        w.files_tree()->setFocus();
        QTest::keyClick(w.files_tree(), Qt::Key_F1);
        QVERIFY(open_help());
        QCOMPARE(open_help()->browser()->source().fileName(), QString("drawing.html"));

        // A modal dialog's Help: the help window belongs to the dialog, so
        // the dialog's modality does not lock it.
        TBorderForm border(&w);
        QWidget* owner = nullptr;
        QString page;
        QTimer::singleShot(0, &border, [&] {
            border.findChild<QPushButton*>("HelpBtn")->click();
            if (THelpWindow* h = any_help()) {
                owner = h->parentWidget();
                page = h->browser()->source().fileName();
            }
            border.reject();
        });
        border.Execute();
        QCOMPARE(owner, static_cast<QWidget*>(&border));
        QCOMPARE(page, QString("border.html"));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
