#pragma once
// A lathe program as the simulator sees it: tool-tip motions in the X/Z plane
// (X a radius, in program units) with the modal state each one runs under.
#include <stdexcept>
#include <string>
#include <vector>

namespace simvo {

// The control whose G-code conventions a program follows.
enum class Dialect { Fanuc, Haas, LinuxCnc };

enum class MotionKind { Rapid, Feed, ArcCW, ArcCCW, Thread };
enum class FeedMode { PerMinute, PerRevolution };
// Tool nose radius compensation in force (G40, G41, G42): the side of the
// programmed path, looking along it with Z to the right and X up, that the
// control keeps the insert's round on.
enum class Compensation { Off, Left, Right };

struct Point {
    double x = 0; // radius
    double z = 0;
};

struct Spindle {
    bool on = false;
    bool css = false;   // S is a surface speed (m/min, or ft/min in inch programs)
    double speed = 0;   // rev/min, or the surface speed under css
    double max_rpm = 0; // clamp under css; 0 means the machine's limit
};

struct Motion {
    MotionKind kind = MotionKind::Rapid;
    Point from;
    Point to;
    Point centre;                // arcs only: the centre as the start point and I/K give it
    double end_radius_error = 0; // arcs: |end radius - start radius|
    FeedMode feed_mode = FeedMode::PerMinute;
    double feed = 0; // per minute or per revolution; threads: the lead
    Spindle spindle;
    int tool = 0;
    int line = 0;        // 1-based line of the block that caused it
    bool homing = false; // a return to the reference position (G28)
    // In force during the motion; the block that turns it on is the lead-in.
    Compensation compensation = Compensation::Off;
};

// Work that takes time without moving the tool.
struct Pause {
    double seconds = 0;
    int line = 0;
};

struct Program {
    Dialect dialect = Dialect::Fanuc;
    bool inch = false;
    std::vector<Motion> motions;
    std::vector<Pause> pauses; // dwells and tool changes
    std::vector<std::string> lines;
    int tool_changes = 0;
};

// A program the reader cannot follow: the line (1-based) and why.
class ProgramError : public std::runtime_error {
public:
    ProgramError(int line, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

} // namespace simvo
