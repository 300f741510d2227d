#include "ncout/gnc_writer.h"

#include "base/file_io.h"
#include "base/number_text.h"
#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "ncout/nc_limits.h"

#include <cmath>
#include <cstdio>

namespace zeran {

std::string default_short_date(double date) {
    if (!std::isfinite(date) || std::fabs(date) > 3e6) date = 0;
    // Days since 30 December 1899 to a civil date (days-from-civil inverted).
    long long days = static_cast<long long>(std::floor(date)) - 25569 + 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long year = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    if (month <= 2) ++year;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02lld/%02lld/%04lld", day, month, year);
    return buf;
}

void TGNCOutput::Clear() {
    cycles_.clear();
    current_tool_ = 0;
}

void TGNCOutput::AppendCycle(TCanCycle* cycle) {
    cycles_.push_back(cycle);
}

namespace {

class GncText {
public:
    explicit GncText(char separator) : separator_(separator) {}
    void line(const std::string& s) { text_ += s + "\r\n"; }
    void assign(const char* name, const std::string& value) {
        line(std::string(name) + " = " + value);
    }
    void real(const char* name, double v, double limit = kMaxNcCoordinate) {
        if (std::string problem = nc_value_problem(name, v, limit); !problem.empty())
            throw GncValueError(where_ + problem);
        assign(name, general_text(v, separator_));
    }
    // Names the cycle in the messages of the values that follow.
    void in_cycle(std::string where) { where_ = std::move(where); }
    const std::string& where() const { return where_; }
    void integer(const char* name, long long v) { assign(name, int_text(v)); }
    // A line break inside a text would end the record early and leave the
    // rest of it as a line no reader understands.
    void quoted(const char* name, std::string v) {
        for (char& c : v)
            if (c == '\r' || c == '\n') c = ' ';
        assign(name, "\"" + v + "\"");
    }
    std::string& text() { return text_; }
    std::string number(double v) const { return general_text(v, separator_); }

private:
    char separator_;
    std::string text_;
    std::string where_;
};

std::string file_name_part(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void write_prologue(GncText& out, const THeader& h, const ShortDateFormat& date) {
    out.line("string machine_type(4) = \"TURN\"");
    out.line("repeat");
    out.line(std::string("metric = ") + (h.Units == 0 ? "true" : "false"));
    out.line("real x_datum = 0");
    out.line("real z_datum = 0");
    if (h.BilletRadius != 0 && h.BilletLength != 0) {
        if (std::string p = nc_value_problem("x_dimension", 2 * h.BilletRadius, kMaxNcCoordinate) +
                            nc_value_problem("z_dimension", h.BilletLength, kMaxNcCoordinate);
            !p.empty())
            throw GncValueError("billet: " + p);
        out.line("real x_dimension = " + out.number(2 * h.BilletRadius));
        out.line("real z_dimension = " + out.number(h.BilletLength));
    } else {
        out.line("real x_dimension");
        out.line("real z_dimension");
    }
    out.quoted("PROJECT", "Spindra Turning - " + file_name_part(h.ProjectName));
    out.quoted("DATE", date(h.Date));
    out.line("PROGID = 99");
    if (!h.Author.empty()) {
        out.quoted("comment_text", "Author - " + h.Author);
        out.line("COMMENT");
    }
    out.line("PROLOGUE");
}

void write_thread(GncText& out, const TCNC_Groups& s, const TCNC_Groups& e) {
    out.real("x", 2 * e.Words[kWordX] - e.Words[kWordThread7]);
    out.real("z", e.Words[kWordZ]);
    out.real("PITCH", e.Words[kWordFeed]);
    out.real("X_INC", e.Words[kWordThread8]);
    out.real("MIN_CUT_DEPTH", s.Words[kWordThread8]);
    out.real("FINISH_PASSES", s.Words[kWordThread7]);
    out.real("THREAD_CHAMFER", s.Words[kWordThread18]);
    out.real("THREAD_ANGLE", s.Words[kWordSweep]);
    out.real("THREAD_DEPTH", e.Words[kWordThread7]);
    out.real("FINISH_ALLOWANCE", s.Words[kWordRadius]);
    out.line("THREAD_CYCLE");
}

// A straight feed move that turns cutter compensation on or off. Only the
// cycles that use it carry the marks, so every other file stays as it was.
void write_compensated_move(GncText& out, const TCNC_Groups& m) {
    const int comp = m.Groups[kGroupCutterComp];
    if (m.Motion() != kMotionLinear ||
        (comp != kCompOff && comp != kCompLeft && comp != kCompRight))
        throw GncValueError(out.where() + "cutter compensation must start and end on a straight "
                                          "feed move");
    out.real("x", 2 * m.Words[kWordX]);
    out.real("z", m.Words[kWordZ]);
    out.real("feed", m.Words[kWordFeed], kMaxNcFeed);
    if (comp == kCompOff) {
        out.line("COMP_END");
        return;
    }
    out.quoted("comp_side", comp == kCompLeft ? "LEFT" : "RIGHT");
    out.real("nose_radius", m.Words[kWordNoseRadius]);
    out.integer("tool_orientation", std::lround(m.Words[kWordNoseOrientation]));
    out.line("COMP_START");
}

} // namespace

std::string TGNCOutput::Text(char separator, const ShortDateFormat& date) {
    GncText out(separator);
    write_prologue(out, Header ? *Header : blank_, date);

    // The tool count is known once the definitions are made.
    out.line("no_of_tools = 0");
    std::size_t count_at = out.text().size() - 3;
    for (const TCanCycle* c : cycles_) {
        out.integer("tool", c->ToolNumber);
        out.integer("tool_offset_id", c->ToolNumber);
        out.line("DEFINE_TOOL");
    }
    out.text().replace(count_at, 1, int_text(static_cast<long long>(cycles_.size())));
    out.line("tools_defined");

    current_tool_ = 0;
    long long total = 0;
    for (const TCanCycle* c : cycles_) total += static_cast<long long>(c->Moves.size());
    if (OnProgress) OnProgress->progress(total, 0);
    long long handled = 0;
    auto handled_one = [&] {
        ++handled;
        if (OnProgress) OnProgress->progress(-1, handled);
    };

    int number = 0;
    for (const TCanCycle* c : cycles_) {
        const std::string kind(cycle_short_name(c->Kind));
        out.in_cycle("cycle " + std::to_string(++number) + " (" + kind + "): ");
        if (!c->Comment.empty()) {
            out.quoted("comment_text", kind + " - (" + c->Comment + ")");
            out.line("COMMENT");
        }
        if (c->ToolNumber != current_tool_) {
            out.integer("tool", c->ToolNumber);
            out.integer("tool_offset_id", c->ToolNumber);
            out.line("CHANGE_TOOL");
            current_tool_ = c->ToolNumber;
        }
        out.integer("FPR_On", c->Params.UseFPR ? 1 : 0);
        out.real("feed", c->Params.Feed, kMaxNcFeed);
        out.line("CHANGE_FEED");
        out.integer("CSS_On", c->Params.UseCSS ? 1 : 0);
        out.real("spindle", c->Params.Speed, kMaxNcSpeed);
        out.line("CHANGE_SPINDLE");

        const auto& moves = c->Moves;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const TCNC_Groups& m = *moves[i];
            switch (m.Motion()) {
            case kMotionRapid:
            case kMotionLinear:
                if (m.GroupSet[kGroupCutterComp]) {
                    write_compensated_move(out, m);
                    break;
                }
                out.real("x", 2 * m.Words[kWordX]);
                out.real("z", m.Words[kWordZ]);
                out.real("feed", m.Words[kWordFeed], kMaxNcFeed);
                out.line(m.Motion() == kMotionRapid ? "FAST_TRAV" : "LINEAR_TRAV");
                break;
            case kMotionClockwise:
            case kMotionCounterClockwise: {
                double sweep = m.Words[kWordSweep];
                out.real("cx", 2 * m.Words[kWordCentreX]);
                out.real("cz", m.Words[kWordCentreZ]);
                out.real("angle", m.Motion() == kMotionClockwise ? sweep : -sweep);
                out.real("feed", m.Words[kWordFeed], kMaxNcFeed);
                out.line("CIRC_TRAV");
                break;
            }
            case kMotionThread:
                // The pair's end record is consumed with it; a start with no
                // end after it writes nothing.
                if (i + 1 < moves.size()) {
                    write_thread(out, m, *moves[i + 1]);
                    handled_one();
                    ++i;
                }
                break;
            default:
                break;
            }
            handled_one();
        }
    }
    out.line("EPILOGUE");
    return std::move(out.text());
}

void TGNCOutput::WriteFile(const std::string& path, char separator, const ShortDateFormat& date) {
    FileName = path;
    std::string text = Text(separator, date);
    std::string error;
    if (!write_file_atomically(path, text, &error)) throw FileCreateError(error);
}

} // namespace zeran
