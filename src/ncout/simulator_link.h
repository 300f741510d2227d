#pragma once
// What the simulator hand-over needs without a window: its captions, the
// command line that starts it, the message when it cannot take a file, and the
// layout of the working-folder label of the start dialog.
#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace zeran {

// Captions of a running simulator's window, in the order they are tried.
inline constexpr std::array<std::string_view, 6> kSimulatorCaptions = {
    "Simvo Turning",           "SimvoTurn",       "Simvo Turn", "SimvoTurning",
    "Simvo Turning Version 5", "Simvo Turning V5"};

inline constexpr std::string_view kSimulatorNotInstalled =
    "\"Simvo Turning\" is not installed or is a older version that does not support this "
    "operation, unable to export CNC File";

// The executable and the CNC file, each in double quotes; the executable
// alone when there is no file.
std::string SimulatorCommandLine(const std::string& executable, const std::string& cnc_file);

// The working folder as the label shows it: whole when it fits `width`,
// else broken after folder separators so each line fits where it can; every
// line ends with a line break. `text_width` measures a text in the label's font.
std::string LayoutPathLabel(const std::string& path, int width,
                            const std::function<int(const std::string&)>& text_width);

} // namespace zeran
