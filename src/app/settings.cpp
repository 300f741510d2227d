#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace zeran {

namespace {

std::string make_folder(const QString& path) {
    if (path.isEmpty() || !QDir().mkpath(path)) return {};
    return QDir::cleanPath(path).toStdString();
}

bool exists(const std::string& path) {
    return !path.empty() && QFileInfo::exists(QString::fromStdString(path));
}

std::string with_extension(const std::string& path, const char* extension) {
    const QFileInfo info(QString::fromStdString(path));
    return (info.dir().filePath(info.completeBaseName()) + extension).toStdString();
}

} // namespace

std::string without_trailing_slash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

AppPaths find_app_paths(const std::string& program) {
    AppPaths p;
    p.program = program;
    const QString own = QFileInfo(QString::fromStdString(program)).absolutePath();

    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    p.data_folder = docs.isEmpty() ? std::string() : make_folder(docs + "/Kelvard/Spindra Turning");
    if (p.data_folder.empty()) p.data_folder = own.toStdString();

    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const std::string kelvard = config.isEmpty() ? std::string() : make_folder(config + "/Kelvard");
    p.config_folder_ok = !kelvard.empty();
    if (p.config_folder_ok) {
        p.settings_file = kelvard + "/ZERAN.ini";
        p.placement_file = kelvard + "/ZERAN.FPS";
    } else {
        p.settings_file = with_extension(program, ".ini");
        p.placement_file = with_extension(program, ".INI");
    }
    p.gnc_file = p.data_folder + "/ZERAN.gnc";
    return p;
}

std::string default_material_file(const AppPaths& paths) {
    const std::string beside_settings = with_extension(paths.settings_file, ".tmf");
    if (exists(beside_settings)) return beside_settings;
    // A new user gets an own copy of the shipped materials to edit.
    const QString own = QFileInfo(QString::fromStdString(paths.program)).absolutePath();
    for (const QString& shipped : {own + "/../share/zeran/ZERAN.tmf",
                                   QString(ZERAN_SOURCE_HELP_DIR) + "/../../examples/ZERAN.tmf"}) {
        if (!QFileInfo::exists(shipped) || !paths.config_folder_ok) continue;
        if (QFile::copy(shipped, QString::fromStdString(beside_settings))) return beside_settings;
    }
    const std::string beside_program = with_extension(paths.program, ".tmf");
    if (exists(beside_program)) return beside_program;
    // An installed program finds the shipped materials under share/zeran.
    const QString shipped = QFileInfo(QString::fromStdString(paths.program)).absolutePath() +
                            "/../share/zeran/ZERAN.tmf";
    if (QFileInfo::exists(shipped)) return QDir::cleanPath(shipped).toStdString();
    return beside_program;
}

void ReopenList::append_existing(const std::string& path) {
    if (!exists(path)) return;
    if (std::find(entries_.begin(), entries_.end(), path) != entries_.end()) return;
    entries_.push_back(path);
}

void ReopenList::add(const std::string& path) {
    if (!exists(path)) return;
    auto at = std::find(entries_.begin(), entries_.end(), path);
    if (at != entries_.end()) {
        entries_.erase(at);
        entries_.insert(entries_.begin(), path);
    } else if (static_cast<int>(entries_.size()) >= kLimit) {
        entries_.erase(entries_.begin() + (kLimit - 1));
        entries_.insert(entries_.begin(), path);
    } else {
        entries_.push_back(path);
    }
}

void ReopenList::remove(const std::string& path) {
    auto at = std::find(entries_.begin(), entries_.end(), path);
    if (at != entries_.end()) entries_.erase(at);
}

AppSettings::AppSettings(AppPaths paths) : paths_(std::move(paths)) {
    tdx_folder = paths_.data_folder;
    tcf_folder = paths_.data_folder;
}

void AppSettings::load() {
    if (auto doc = IniDocument::load(paths_.settings_file)) ini_ = std::move(*doc);
    for (int i = 0; i < 6; ++i) {
        const long long fallback = colours[std::size_t(i)];
        colours[std::size_t(i)] =
            static_cast<Colour>(ini_.read_int("Colours", std::to_string(i), fallback)) & 0xFFFFFF;
    }
    auto folder = [this](const char* key, const std::string& fallback) {
        const std::string value = ini_.read_string("Directory", key);
        return value.empty() ? fallback : without_trailing_slash(value);
    };
    tdx_folder = folder("TDX", paths_.data_folder);
    tcf_folder = folder("TCF", paths_.data_folder);
    simulator_folder = folder("Simvo Turn", std::string());
    border = static_cast<int>(ini_.read_int("Drawing", "Border", kDefaultBorder));
    read_curves = ini_.read_int("Drawing", "ReadArcsAndCurves", 1) != 0;
    splitter_width =
        static_cast<int>(ini_.read_int("MainForm", "SplitterWidth", kSplitterMinimum + 5));
    if (splitter_width < kSplitterMinimum) splitter_width = kSplitterMinimum;
    for (int i = 1;; ++i) {
        const auto path = ini_.get("Reopen", std::to_string(i));
        if (!path) break;
        reopen.append_existing(*path);
    }
}

void AppSettings::store_fields() {
    if (!tdx_folder.empty()) ini_.write("Directory", "TDX", without_trailing_slash(tdx_folder));
    if (!tcf_folder.empty()) ini_.write("Directory", "TCF", without_trailing_slash(tcf_folder));
    ini_.write_int("Drawing", "Border", border);
    ini_.write_int("Drawing", "ReadArcsAndCurves", read_curves ? 1 : 0);
    ini_.write_int("MainForm", "SplitterWidth", splitter_width);
    ini_.write("Directory", "Simvo Turn", without_trailing_slash(simulator_folder));
    ini_.erase_section("Reopen");
    int n = 0;
    for (const std::string& path : reopen.entries())
        ini_.write("Reopen", std::to_string(++n), path);
    for (int i = 0; i < 6; ++i)
        ini_.write_int("Colours", std::to_string(i), colours[std::size_t(i)]);
}

bool AppSettings::save() {
    store_fields();
    return flush();
}

bool AppSettings::flush() {
    return ini_.save(paths_.settings_file);
}

} // namespace zeran
