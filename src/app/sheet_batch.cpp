#include "app/sheet_batch.h"

#include "app/batch_prompt.h"
#include "app/job_sheet_print.h"
#include "base/ini_document.h"
#include "base/locale_separator.h"
#include "project/post_job.h"
#include "project/project_model.h"
#include "view/palette.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

namespace zeran {

namespace {

// The colours and border of the user's settings file, when there is one.
SheetSettings user_sheet_settings() {
    SheetSettings s;
    const ColourSet defaults = default_colours();
    for (std::size_t i = 0; i < s.colours.size(); ++i) s.colours[i] = defaults[i];
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    if (config.empty()) return s;
    const auto ini = IniDocument::load(config + "/Kelvard/ZERAN.ini");
    if (!ini) return s;
    for (std::size_t i = 0; i < s.colours.size(); ++i)
        s.colours[i] =
            static_cast<Colour>(ini->read_int("Colours", std::to_string(i), s.colours[i])) &
            0xFFFFFF;
    s.border = static_cast<int>(ini->read_int("Drawing", "Border", s.border));
    return s;
}

// Qt's own notes (a missing runtime folder, font lookups) are not the
// user's business in a batch run; only real errors reach standard error.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zeran: %s\n", qPrintable(text));
}

} // namespace

int batch_sheet_pdf(const std::vector<std::string>& args, BatchIo& io) {
    BatchArguments a;
    if (!split_arguments(args, {"--output"}, a, io)) return static_cast<int>(ExitCode::BadUsage);
    if (a.plain.size() != 1 || a.value("--output").empty()) {
        report_error(io, "usage: --sheet PROJECT.tcf --output SHEET.pdf");
        return static_cast<int>(ExitCode::BadUsage);
    }
    // The sheet is painted off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet_qt_messages);
    std::unique_ptr<QGuiApplication> app;
    static int argc = 1;
    static char name[] = "zeran";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

    if (sheet_replaces_project(a.plain.front(), a.value("--output"))) {
        report_error(io,
                     a.value("--output") + " is the project or its drawing; choose another output");
        return static_cast<int>(ExitCode::BadUsage);
    }
    BatchPrompt prompt(io.err);
    ProjectModel model(prompt);
    if (!read_batch_project(model, a.plain.front(), {}, locale_decimal_separator(), io.err))
        return static_cast<int>(ExitCode::BadInput);
    if (!model.drawing_loaded) {
        report_error(io, a.plain.front() + ": the project has no drawing");
        return static_cast<int>(ExitCode::BadInput);
    }
    QString error;
    if (!write_job_sheet_pdf(model, user_sheet_settings(),
                             QString::fromStdString(a.value("--output")), &error)) {
        report_error(io, error.toStdString());
        return static_cast<int>(ExitCode::BadInput);
    }
    return static_cast<int>(ExitCode::Success);
}

} // namespace zeran
