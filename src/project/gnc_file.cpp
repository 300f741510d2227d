#include "cycles/can_cycle.h"
#include "cycles/cycle_kinds.h"
#include "geometry/file_io.h"
#include "geometry/number_text.h"
#include "project/gnc_types.h"

#include <cmath>
#include <cstdio>
#include <exception>

namespace zeran {

#ifdef ZERAN_HAS_GNC_WRITER

bool write_gnc_file(TGNCOutput& writer, const std::string& path, char separator,
                    std::string* error) {
    try {
        writer.WriteFile(path, separator);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

#else

namespace {

std::string short_date(double date) {
    // Days since 30 December 1899 to a civil date.
    long long days = static_cast<long long>(std::floor(date)) - 25569 + 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02lld/%02lld/%04lld", d, m, y);
    return buf;
}

} // namespace

bool write_gnc_file(TGNCOutput& writer, const std::string& path, char sep, std::string* error) {
    std::string t;
    auto line = [&](const std::string& s) { t += s + "\r\n"; };
    auto real = [&](double v) { return general_text(v, sep); };
    const THeader& h = *writer.Header;
    line("string machine_type(4) = \"TURN\"");
    line("repeat");
    line(std::string("metric = ") + (h.Units == 0 ? "true" : "false"));
    line("real x_datum = 0");
    line("real z_datum = 0");
    if (h.BilletRadius != 0 && h.BilletLength != 0) {
        line("real x_dimension = " + real(2 * h.BilletRadius));
        line("real z_dimension = " + real(h.BilletLength));
    } else {
        line("real x_dimension");
        line("real z_dimension");
    }
    line("PROJECT = \"Spindra Turning - " + h.ProjectName + "\"");
    line("DATE = \"" + short_date(h.Date) + "\"");
    line("PROGID = 99");
    if (!h.Author.empty()) {
        line("comment_text = \"Author - " + h.Author + "\"");
        line("COMMENT");
    }
    line("PROLOGUE");
    line("no_of_tools = " + std::to_string(writer.cycles.size()));
    for (const TCanCycle* c : writer.cycles) {
        line("tool = " + std::to_string(c->ToolNumber));
        line("tool_offset_id = " + std::to_string(c->ToolNumber));
        line("DEFINE_TOOL");
    }
    line("tools_defined");
    int current_tool = 0;
    for (const TCanCycle* c : writer.cycles) {
        if (!c->Comment.empty()) {
            line("comment_text = \"" + std::string(cycle_short_name(c->Kind)) + " - (" +
                 c->Comment + ")\"");
            line("COMMENT");
        }
        if (c->ToolNumber != current_tool) {
            line("tool = " + std::to_string(c->ToolNumber));
            line("tool_offset_id = " + std::to_string(c->ToolNumber));
            line("CHANGE_TOOL");
            current_tool = c->ToolNumber;
        }
        line(std::string("FPR_On = ") + (c->Params.UseFPR ? "1" : "0"));
        line("feed = " + real(c->Params.Feed));
        line("CHANGE_FEED");
        line(std::string("CSS_On = ") + (c->Params.UseCSS ? "1" : "0"));
        line("spindle = " + real(c->Params.Speed));
        line("CHANGE_SPINDLE");
        const auto& moves = c->Moves;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const TCNC_Groups& m = *moves[i];
            const int motion = m.Groups[1];
            if (motion == 0 || motion == 1) {
                line("x = " + real(2 * m.Words[1]));
                line("z = " + real(m.Words[3]));
                line("feed = " + real(m.Words[13]));
                line(motion == 0 ? "FAST_TRAV" : "LINEAR_TRAV");
            } else if (motion == 2 || motion == 3) {
                line("cx = " + real(2 * m.Words[10]));
                line("cz = " + real(m.Words[12]));
                line("angle = " + real(motion == 2 ? m.Words[16] : -m.Words[16]));
                line("feed = " + real(m.Words[13]));
                line("CIRC_TRAV");
            } else if (motion == 32 && i + 1 < moves.size()) {
                const TCNC_Groups& e = *moves[++i];
                line("x = " + real(2 * e.Words[1] - e.Words[7]));
                line("z = " + real(e.Words[3]));
                line("PITCH = " + real(e.Words[13]));
                line("X_INC = " + real(e.Words[8]));
                line("MIN_CUT_DEPTH = " + real(m.Words[8]));
                line("FINISH_PASSES = " + real(m.Words[7]));
                line("THREAD_CHAMFER = " + real(m.Words[18]));
                line("THREAD_ANGLE = " + real(m.Words[16]));
                line("THREAD_DEPTH = " + real(e.Words[7]));
                line("FINISH_ALLOWANCE = " + real(m.Words[9]));
                line("THREAD_CYCLE");
            }
        }
    }
    line("EPILOGUE");
    return write_file_atomically(path, t, error);
}

#endif

} // namespace zeran
