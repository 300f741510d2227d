#include "view/help_link.h"

#include "view/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace zeran {

namespace {

std::function<bool(const QUrl&)>& opener() {
    static std::function<bool(const QUrl&)> f = [](const QUrl& u) {
        help_window()->Open(u);
        return true;
    };
    return f;
}

// Where the help pages may be, in the order they are looked for.
QStringList help_candidates() {
    QStringList candidates;
    const QString env = qEnvironmentVariable("ZERAN_HELP_DIR");
    if (!env.isEmpty()) candidates << env;
    if (QCoreApplication::instance()) {
        const QString bin = QCoreApplication::applicationDirPath();
        candidates << QDir::cleanPath(bin + QStringLiteral("/../share/zeran/help"))
                   << QDir::cleanPath(bin + QStringLiteral("/help"));
    }
#ifdef ZERAN_SOURCE_HELP_DIR
    candidates << QStringLiteral(ZERAN_SOURCE_HELP_DIR);
#endif
    return candidates;
}

} // namespace

QString help_page(int context) {
    switch (context) {
    case 1:
        return QStringLiteral("open.html");
    case 3:
        return QStringLiteral("colours.html");
    case 5:
        return QStringLiteral("post.html");
    case 6:
        return QStringLiteral("simulator.html");
    case 7:
        return QStringLiteral("materials.html");
    case 31:
    case 37:
        return QStringLiteral("view.html");
    case 38:
    case 41:
        return QStringLiteral("drawing.html");
    case 10:
    case 16:
    case 44:
    case 50:
    case 52:
    case 54:
    case 55:
    case 56:
        return QStringLiteral("cycles.html");
    case 65:
        return QStringLiteral("border.html");
    default:
        break;
    }
    if (context >= 57 && context <= 64) return QStringLiteral("cycles.html");
    return QStringLiteral("index.html");
}

QString help_folder() {
    for (const QString& c : help_candidates())
        if (QFileInfo::exists(c + QStringLiteral("/index.html"))) return QDir(c).absolutePath();
    return {};
}

QUrl help_url(int context) {
    const QString folder = help_folder();
    if (folder.isEmpty()) return {};
    QUrl u = QUrl::fromLocalFile(folder + QLatin1Char('/') + help_page(context));
    u.setFragment(QStringLiteral("ctx%1").arg(context));
    return u;
}

bool show_help(int context) {
    const QUrl u = help_url(context);
    if (u.isEmpty()) {
        // Said in the help window rather than nothing at all.
        help_window()->ShowMissing(help_candidates());
        return false;
    }
    return opener()(u);
}

void set_help_opener(std::function<bool(const QUrl&)> f) {
    // An empty opener would leave F1 calling nothing: the help window stays.
    if (f) opener() = std::move(f);
}

void install_help_key(QWidget* w, int context) {
    auto* s = new QShortcut(QKeySequence(Qt::Key_F1), w);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(s, &QShortcut::activated, w, [context] { show_help(context); });
}

} // namespace zeran
