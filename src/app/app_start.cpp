#include "app/app_start.h"

#include "app/main_window.h"
#include "app/settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <cstdio>

// Resources of a static library are linked in only when asked for.
static void init_resources() {
    Q_INIT_RESOURCE(zeran);
}

namespace zeran {

int run_window(int argc, char** argv) {
    // Without a display Qt would abort; say what can be done instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("zeran: no display to open the window on; see --help for the batch options\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    init_resources();
    // No display name: the platform would append it to every window title,
    // and the main window's title already starts with it.
    QApplication::setApplicationName("ZERAN");
    QApplication::setApplicationVersion(ZERAN_VERSION);
    QApplication::setWindowIcon(QIcon(":/zeran/MAINICON.png"));

    QStringList project;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (!a.startsWith("--")) project << a;
    }
    TMainForm window(find_app_paths(QApplication::applicationFilePath().toStdString()));
    window.show();
    // The view takes its final size once the window is on screen; the
    // project's drawing is fitted to that size.
    QElapsedTimer waited;
    waited.start();
    while (window.windowHandle() && !window.windowHandle()->isExposed() && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
    // Opened once the window has its size, so that the drawing fits the view.
    QTimer::singleShot(0, &window, [&window, project] { window.OpenCommandLine(project); });
    return QApplication::exec();
}

} // namespace zeran
