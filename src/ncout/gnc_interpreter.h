#pragma once
// What the records of a GNC program mean as motion: each move record becomes
// a line, an arc with its end point, or a thread cycle, with the modal feed,
// spindle and tool state it runs under. The post-processor writes its G-code
// from these motions and the read-back check compares the program with them,
// so a record means the same to both.
#include "cycles/max_min.h"
#include "ncout/gnc_reader.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zeran {

// A program that cannot mean a sound motion: an arc or thread with no start
// point, a value missing or beyond any machine, records out of order.
class GncMeaningError : public std::runtime_error {
public:
    GncMeaningError(int line, const std::string& reason);
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

private:
    int line_;
    std::string reason_;
};

enum class GncMotionKind { Rapid, Feed, ArcClockwise, ArcCounterClockwise, Thread };

// Which side of the programmed path the control keeps the insert's nose,
// looking along the path with Z to the right and X up.
enum class GncCompensation { Off, Left, Right };

// The modes a move runs under.
struct GncModalState {
    bool metric = true;        // the program's `metric`; inches when false
    int tool = 0;              // of the last CHANGE_TOOL; 0 before any
    int tool_offset = 0;       // its tool_offset_id
    bool feed_per_rev = false; // FPR_On of the last CHANGE_FEED
    double feed = 0;           // the feed in force at the move
    bool css = false;          // CSS_On of the last CHANGE_SPINDLE
    double spindle = 0;        // rev/min, or the surface speed under css
    // Set by COMP_START for its own move and those after it, Off again from
    // the COMP_END move.
    GncCompensation compensation = GncCompensation::Off;
    friend bool operator==(const GncModalState&, const GncModalState&) = default;
};

// A THREAD_CYCLE's data as its record gives them, in program units.
struct GncThread {
    double surface_x = 0;  // radius of the surface threaded: the crest outside, the bore inside
    bool internal = false; // started inside the surface
    double pitch = 0;
    double depth = 0;     // radial depth from the surface to the root
    double first_cut = 0; // depth of the first pass
    double min_cut = 0;
    double finish_passes = 0;
    double chamfer = 0; // tenths of the pitch
    double tip_angle = 0;
    double finish_allowance = 0; // signed as the record gives it

    double chamfer_length() const { return chamfer * pitch / 10; }
};

struct GncMotion {
    GncMotionKind kind = GncMotionKind::Rapid;
    int line = 0;             // GNC line of the record's keyword
    bool from_known = true;   // false for the first line after a tool change (the tool went home)
    CyclePoint from;          // X a radius, as everywhere below
    CyclePoint to;            // a thread: the end of its deepest pass
    CyclePoint centre;        // arcs
    CyclePoint centre_offset; // arcs: the centre from the start (a control's I and K)
    double sweep = 0;         // arcs: degrees, positive clockwise with Z to the right and X up
    GncThread thread;
    GncModalState modal;

    bool is_arc() const {
        return kind == GncMotionKind::ArcClockwise || kind == GncMotionKind::ArcCounterClockwise;
    }
    double radius() const; // arcs
    // A line to where the tool is, or an arc of no sweep.
    bool moves_nowhere() const;
    // Where the tool is afterwards: a thread cycle returns to its start.
    CyclePoint end_position() const { return kind == GncMotionKind::Thread ? from : to; }
};

// Positions as a control holds them: diameters and arc offsets rounded to
// `decimals` (to `inch_decimals` when the program is not metric).
struct GncResolution {
    int decimals = 3;
    int inch_decimals = 4;
};

// Reads the items of one program in order and tells what each move record
// does. Every assignment is a value that keeps its last setting; an arc also
// sets x and z to its end point.
class GncInterpreter {
public:
    // Without a resolution positions are exact.
    explicit GncInterpreter(std::optional<GncResolution> resolution = std::nullopt);

    // A value in force until the program sets its own.
    void preset(const std::string& name, const GncValue& value);
    // The motion of a move record, nothing for any other item. Throws
    // GncMeaningError.
    std::optional<GncMotion> take(const GncItem& item);
    // Throws GncMeaningError when the program lacks its PROLOGUE or EPILOGUE.
    void finish() const;

    const GncModalState& modal() const { return modal_; }
    bool started() const { return prologue_; }
    bool position_known() const { return have_position_; }
    CyclePoint position() const { return position_; }

private:
    std::optional<GncResolution> resolution_;
    std::map<std::string, GncValue, std::less<>> values_;
    GncModalState modal_;
    bool prologue_ = false, epilogue_ = false;
    bool have_position_ = false;
    CyclePoint position_;
    int last_line_ = 0;

    void keyword(const std::string& word, int line);
    GncMotion line_move(GncMotionKind kind, const std::string& word, int line);
    GncMotion compensation_move(bool start, const std::string& word, int line);
    GncMotion arc(int line);
    GncMotion thread(int line);
    GncMotion started_motion(GncMotionKind kind, int line) const;

    double number(const char* name, const std::string& keyword, int line) const;
    std::optional<double> present(const char* name) const;
    void check_present(const char* name, double limit, int line) const;
    double snap(double v) const;
    double resolution() const;
};

// Every motion of a program text, arcs of no sweep and lines to where the
// tool is included. Throws GncReadError or GncMeaningError.
std::vector<GncMotion> interpret_gnc(std::string_view text,
                                     std::optional<GncResolution> resolution = std::nullopt);

} // namespace zeran
