// simvoturn: the lathe simulator. With --check it runs without a window;
// otherwise it opens its window, or hands its file to the one already open.
#include "simulator/core/check_command.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef SIMVO_HAS_WINDOW
#include "simulator/core/simulation.h"
#include "simulator/core/tool_table.h"
#include "simulator/link/instance_link.h"
#include "simulator/window/sim_window.h"

#include "base/ini_document.h"
#include <QFileInfo>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <charconv>
#include <optional>

namespace {

// The settings file tells ZERAN where the simulator and its tool file are.
void register_simulator() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const std::string path = simvo::simulator_settings_file(config.toStdString());
    QDir().mkpath(QString::fromStdString(path).section('/', 0, -2));
    zeran::IniDocument ini;
    if (QFileInfo::exists(QString::fromStdString(path))) {
        auto old = zeran::IniDocument::load(path);
        if (!old) return; // unreadable: leave the user's file alone
        ini = std::move(*old);
    }
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    if (ini.read_string("Simulator", "Application") == self &&
        ini.read_string("Simulator", "Version") == simvo::kSettingsLayoutVersion &&
        ini.has_key("Offsets", "Tool Offset File"))
        return;
    ini.write("Simulator", "Application", self);
    ini.write("Simulator", "Version", simvo::kSettingsLayoutVersion);
    if (!ini.has_key("Offsets", "Tool Offset File"))
        ini.write("Offsets", "Tool Offset File", "SimvoTools.ini");
    ini.save(path);
}

std::optional<simvo::StockSize> window_arguments(const std::vector<std::string>& args,
                                                 std::string& file, std::string& machine,
                                                 bool& run_to_end) {
    std::optional<simvo::StockSize> stock;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--end") {
            run_to_end = true;
        } else if (args[i] == "--machine" && i + 1 < args.size()) {
            machine = args[++i];
        } else if (args[i] == "--stock" && i + 1 < args.size()) {
            const std::string& s = args[++i];
            const std::size_t comma = s.find(',');
            simvo::StockSize size;
            if (comma != std::string::npos) {
                std::from_chars(s.data(), s.data() + comma, size.length);
                std::from_chars(s.data() + comma + 1, s.data() + s.size(), size.radius);
            }
            if (size.length > 0 && size.radius > 0) stock = size;
        } else {
            file = args[i];
        }
    }
    return stock;
}

int run_window(int argc, char** argv, const std::vector<std::string>& args) {
    QApplication app(argc, argv);
    std::string file, machine;
    bool run_to_end = false;
    const std::optional<simvo::StockSize> stock = window_arguments(args, file, machine, run_to_end);
    // One simulator per user: a second start hands its file over and leaves.
    if (simvo::simulator_answers()) {
        if (file.empty() || simvo::hand_file_to_simulator(QString::fromStdString(file))) return 0;
    }
    register_simulator();
    simvo::SimWindow window(stock);
    if (!machine.empty()) window.set_machine(QString::fromStdString(machine));
    simvo::InstanceServer server;
    QObject::connect(&server, &simvo::InstanceServer::fileHanded, &window,
                     &simvo::SimWindow::open_handed);
    server.listen();
    window.show();
    if (!file.empty() && window.open_file(QString::fromStdString(file)) && run_to_end)
        QTimer::singleShot(0, &window, [&window] { window.run_to_end(); });
    return app.exec();
}

} // namespace
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout
            << "usage: " << simvo::check_usage()
            << "\n       simvoturn [PROGRAM] [--machine NAME] [--stock LENGTH,RADIUS] [--end]\n";
        return 0;
    }
    const bool batch = !args.empty() && (args[0] == "--check" || args[0] == "--json");
#ifdef SIMVO_HAS_WINDOW
    if (!batch) return run_window(argc, argv, args);
#endif
    return simvo::run_check(args, std::cout, std::cerr);
}
