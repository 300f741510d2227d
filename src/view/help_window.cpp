#include "view/help_window.h"

#include "view/help_link.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace zeran {

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Spindra Turning Help"));
    // The program ends with its main window, whether help is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto tool = [this, bar](const QString& text, QStyle::StandardPixmap icon, const char* name) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    back_ = tool(tr("Back"), QStyle::SP_ArrowBack, "HelpBack");
    forward_ = tool(tr("Forward"), QStyle::SP_ArrowForward, "HelpForward");
    contents_ = tool(tr("Contents"), QStyle::SP_DirHomeIcon, "HelpContents");
    bar->addStretch(1);
    column->addLayout(bar);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    // Links to other pages stay here; only outside addresses leave.
    browser_->setOpenExternalLinks(true);
    column->addWidget(browser_, 1);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents_, &QToolButton::clicked, this, [this] {
        const QUrl u = help_url(1000);
        if (!u.isEmpty()) Open(u);
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Spindra Turning Help") : title);
    });
    resize(680, 560);
}

void THelpWindow::Open(const QUrl& url) {
    QUrl page = url;
    page.setFragment(QString());
    if (browser_->source() != page) browser_->setSource(page);
    if (!url.fragment().isEmpty()) browser_->scrollToAnchor(url.fragment());
}

void THelpWindow::ShowMissing(const QStringList& searched) {
    QString text = QStringLiteral("<h2>") + tr("The help pages are not installed.") +
                   QStringLiteral("</h2><p>") + tr("They were looked for in:") +
                   QStringLiteral("</p><ul>");
    for (const QString& folder : searched)
        text += QStringLiteral("<li>") + folder.toHtmlEscaped() + QStringLiteral("</li>");
    text += QStringLiteral("</ul>");
    browser_->setHtml(text);
}

THelpWindow* help_window() {
    static QPointer<THelpWindow> window;
    QWidget* owner = QApplication::activeModalWidget();
    if (window && window->parentWidget() != owner) {
        const QRect where = window->geometry();
        window->setParent(owner, Qt::Window);
        window->setGeometry(where);
    }
    if (!window) window = new THelpWindow(owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace zeran
