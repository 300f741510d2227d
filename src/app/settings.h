#pragma once
// The program's settings file (ZERAN.ini) held in memory while the window
// runs: the six drawing colours, the remembered folders, the border, the
// panel width, the reopen list and how imports read curves. Read at start, written on exit.
#include "base/ini_document.h"
#include "view/palette.h"

#include <string>
#include <vector>

namespace zeran {

// Where the program keeps its files.
struct AppPaths {
    std::string program;        // the running program's full path
    std::string data_folder;    // documents + /Kelvard/Spindra Turning
    std::string settings_file;  // <config>/Kelvard/ZERAN.ini
    std::string placement_file; // <config>/Kelvard/ZERAN.FPS
    std::string gnc_file;       // data folder + /ZERAN.gnc
    // False when the Kelvard configuration folder could not be made.
    bool config_folder_ok = false;
};

// Finds (and creates where missing) the folders from the user's documents
// and configuration places, falling back on the program's own folder.
AppPaths find_app_paths(const std::string& program);

// The settings file with ".tmf" when that file exists (a copy of the shipped
// materials is put there for a new user), else the program's.
std::string default_material_file(const AppPaths& paths);

// Existing project paths, most recent first, at most six once full.
class ReopenList {
public:
    static constexpr int kLimit = 6;
    const std::vector<std::string>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    // Appends when the file exists and is not listed (reading the settings).
    void append_existing(const std::string& path);
    // The command's rule: a listed file moves to the top; a new one goes to the
    // top in place of the sixth once six are held, else to the end.
    void add(const std::string& path);
    void remove(const std::string& path);

private:
    std::vector<std::string> entries_;
};

// The border the view leaves round a fitted drawing.
inline constexpr int kDefaultBorder = 20;
// The splitter's minimum width; the panel starts 5 wider.
inline constexpr int kSplitterMinimum = 185;

class AppSettings {
public:
    explicit AppSettings(AppPaths paths);

    // Reads the file; a missing or unreadable one leaves every default.
    void load();
    // Puts the fields back into the document and writes it; false when the
    // file cannot be written (not reported to the user).
    bool save();
    // Writes the document as it stands (the post step flushes it before
    // handing it to the post-processor).
    bool flush();

    const AppPaths& paths() const { return paths_; }
    IniDocument& ini() { return ini_; }
    const IniDocument& ini() const { return ini_; }

    ColourSet colours = default_colours();
    std::string tdx_folder;
    std::string tcf_folder;
    std::string simulator_folder;
    int border = kDefaultBorder;
    // Imports read polyline arcs and the curves of newer drawings as arcs.
    bool read_curves = true;
    int splitter_width = kSplitterMinimum + 5;
    ReopenList reopen;

private:
    void store_fields();

    AppPaths paths_;
    IniDocument ini_;
};

// A folder as stored: without a trailing separator.
std::string without_trailing_slash(std::string folder);

} // namespace zeran
