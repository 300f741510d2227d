#pragma once
// The help pages shown inside the program, so that help works on a machine
// without a web browser: one window with the page, Back, Forward and
// Contents, opened at a help context's anchor.
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace zeran {

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the page and scrolls to the address's anchor.
    void Open(const QUrl& url);
    // Says where the help pages were looked for when none were found.
    void ShowMissing(const QStringList& searched);

    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* contents_ = nullptr;
};

// The one help window, made on first use and brought to the front. While a
// modal dialog runs, the window belongs to that dialog so that it still
// takes the mouse and keyboard.
THelpWindow* help_window();

} // namespace zeran
