#include "gcode_reader.h"

#include "block_words.h"
#include "thread_passes.h"

#include <cmath>
#include <optional>
#include <sstream>

namespace simvo {

namespace {

std::string g_name(double value) {
    std::ostringstream s;
    s << 'G' << value;
    return s.str();
}

// The value of a G or M code in tenths, so that G90.1 and G90 differ.
int code_of(double value) {
    return static_cast<int>(std::lround(value * 10));
}

class Reader {
public:
    Reader(const ReaderOptions& options) : opt_(options), pos_(options.home) {
        program_.dialect = options.dialect;
        // LinuxCNC starts in radius mode; the other controls read X as a diameter.
        diameter_ = options.dialect != Dialect::LinuxCnc;
    }

    Program run(std::string_view text) {
        std::size_t start = 0;
        int line = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view raw = text.substr(start, end - start);
            if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
            ++line;
            program_.lines.emplace_back(raw);
            if (!ended_) block(split_block(raw, line));
            if (end == text.size()) break;
            start = end + 1;
        }
        if (pending_fanuc_thread_)
            throw ProgramError(pending_line_, "first G76 block without its second block");
        return std::move(program_);
    }

private:
    bool fanuc_like() const { return opt_.dialect != Dialect::LinuxCnc; }

    Point home_position() const {
        return program_.inch ? Point{opt_.home.x / 25.4, opt_.home.z / 25.4} : opt_.home;
    }

    Motion model(int line) const {
        Motion m;
        m.feed_mode = feed_mode_;
        m.feed = feed_;
        m.spindle = spindle_;
        m.tool = tool_;
        m.line = line;
        m.compensation = compensation_;
        return m;
    }

    void add_move(MotionKind kind, Point to, int line) {
        if (to.x == pos_.x && to.z == pos_.z) return;
        Motion m = model(line);
        m.kind = kind;
        m.from = pos_;
        m.to = to;
        program_.motions.push_back(m);
        pos_ = to;
    }

    void block(const Block& b) {
        BlockWords w(b);
        std::optional<int> motion;
        bool dwell = false, home = false, thread76 = false, set_clamp = false;
        for (double g : w.take_all('G')) {
            const int c = code_of(g);
            // LinuxCNC's path blending tolerances belong to G64.
            if (c == 640 && opt_.dialect == Dialect::LinuxCnc) {
                w.take('P');
                w.take('Q');
            }
            if (!g_code(c, b.line, motion, dwell, home, thread76, set_clamp))
                throw ProgramError(b.line, "unknown G code " + g_name(g));
        }
        // The tool word first, so that M6 in the same block changes to it.
        if (auto t = w.take('T')) tool_call(*t, b.line);
        for (double m : w.take_all('M')) m_code(code_of(m), b.line);
        if (ended_) {
            w.check_all_taken();
            return;
        }
        if (auto s = w.take('S')) {
            if (set_clamp)
                spindle_.max_rpm = *s;
            else
                spindle_.speed = *s;
        }
        if (opt_.dialect == Dialect::LinuxCnc && css_word_pending_) {
            if (auto d = w.take('D')) spindle_.max_rpm = *d;
        }
        css_word_pending_ = false;
        if (dwell) {
            take_dwell(w, b.line);
        }
        if (thread76) {
            thread_cycle(w, b.line);
            w.check_all_taken();
            return;
        }
        if (motion) motion_ = *motion;
        const bool thread_move = motion_ == 32;
        if (!thread_move && !home) {
            if (auto f = w.take('F')) feed_ = *f;
        }
        if (opt_.dialect == Dialect::LinuxCnc) w.take('H'); // tool length offset number (G43)
        if (comp_started_) start_compensation(w, b.line);
        if (home) {
            go_home(w, b.line);
        } else {
            std::optional<Point> target = axis_target(w, b.line);
            move(w, target, b.line);
        }
        w.check_all_taken();
    }

    // The controls start compensation only on a straight move (or the next
    // one) and never inside a thread; LinuxCNC's D names the tool table row.
    void start_compensation(BlockWords& w, int line) {
        comp_started_ = false;
        if (opt_.dialect == Dialect::LinuxCnc) w.take('D');
        if (motion_ == 2 || motion_ == 3 || motion_ == 32)
            throw ProgramError(line, "tool nose radius compensation must start on a straight "
                                     "move (G0 or G1)");
    }

    // Known G codes set what they mean and return true; unknown ones false.
    bool g_code(int c, int line, std::optional<int>& motion, bool& dwell, bool& home, bool& thread,
                bool& clamp) {
        const bool fanuc = fanuc_like();
        switch (c) {
        case 0:
            motion = 0;
            return true;
        case 10:
            motion = 1;
            return true;
        case 20:
            motion = 2;
            return true;
        case 30:
            motion = 3;
            return true;
        case 40:
            dwell = true;
            return true;
        case 180:
            return true;
        case 170:
        case 190:
            throw ProgramError(line, "only the lathe's XZ plane (G18) is supported");
        case 200:
            program_.inch = true;
            if (program_.motions.empty()) pos_ = home_position();
            return true;
        case 210:
            program_.inch = false;
            return true;
        case 280:
            home = true;
            return true;
        case 400:
            compensation_ = Compensation::Off;
            return true;
        case 800:
            return true;
        case 410:
            compensation_ = Compensation::Left;
            comp_started_ = true;
            return true;
        case 420:
            compensation_ = Compensation::Right;
            comp_started_ = true;
            return true;
        case 540:
        case 550:
        case 560:
        case 570:
        case 580:
        case 590:
            return true;
        case 760:
            thread = true;
            return true;
        case 960:
            spindle_.css = true;
            css_word_pending_ = true;
            return true;
        case 970:
            spindle_.css = false;
            return true;
        case 700:
        case 710:
        case 720:
        case 730:
        case 740:
        case 750:
            throw ProgramError(line, "canned cycle " + g_name(c / 10.0) + " is not supported");
        default:
            break;
        }
        if (fanuc) {
            switch (c) {
            case 320:
                motion = 32;
                return true;
            case 500:
                clamp = true;
                return true;
            case 980:
                feed_mode_ = FeedMode::PerMinute;
                return true;
            case 990:
                feed_mode_ = FeedMode::PerRevolution;
                return true;
            case 900:
            case 920:
            case 940:
                throw ProgramError(line, "canned cycle " + g_name(c / 10.0) + " is not supported");
            default:
                return false;
            }
        }
        switch (c) {
        case 70:
            diameter_ = true;
            return true;
        case 80:
            diameter_ = false;
            return true;
        case 330:
            motion = 32;
            return true;
        case 430:
        case 490:
        case 610:
        case 640:
        case 980:
        case 990:
        case 911:
            return true;
        case 900:
            absolute_ = true;
            return true;
        case 910:
            absolute_ = false;
            return true;
        case 901:
            throw ProgramError(line, "absolute arc centres (G90.1) are not supported");
        case 940:
            feed_mode_ = FeedMode::PerMinute;
            return true;
        case 950:
            feed_mode_ = FeedMode::PerRevolution;
            return true;
        default:
            return false;
        }
    }

    void m_code(int c, int line) {
        switch (c) {
        case 30:
        case 40:
            spindle_.on = true;
            return;
        case 50:
            spindle_.on = false;
            return;
        case 60:
            tool_change(line);
            return;
        case 0:
        case 10:
        case 70:
        case 80:
        case 90:
            return;
        case 20:
        case 300:
            ended_ = true;
            spindle_.on = false;
            return;
        default:
            break;
        }
        std::ostringstream s;
        s << "unknown M code M" << c / 10.0;
        throw ProgramError(line, s.str());
    }

    void tool_call(double t, int line) {
        if (t < 0 || t != std::floor(t))
            throw ProgramError(line, "tool word T must be a whole number");
        const int value = static_cast<int>(t);
        if (fanuc_like()) {
            // T0101: tool 1 with offset 1; T101 likewise. The call changes the tool.
            selected_tool_ = value >= 100 ? value / 100 : value;
            tool_change(line);
        } else {
            selected_tool_ = value; // changed by M6
        }
    }

    void tool_change(int line) {
        if (tool_ == selected_tool_ && program_.tool_changes > 0) return;
        tool_ = selected_tool_;
        ++program_.tool_changes;
        program_.pauses.push_back({-1, line});
    }

    void take_dwell(BlockWords& w, int line) {
        double seconds = 0;
        if (auto p = w.take('P'))
            seconds = fanuc_like() ? *p / 1000.0 : *p;
        else if (fanuc_like() && w.has('X'))
            seconds = *w.take('X');
        else if (fanuc_like() && w.has('U'))
            seconds = *w.take('U');
        else
            throw ProgramError(line, "dwell G4 without its time");
        if (seconds < 0) throw ProgramError(line, "dwell with a negative time");
        program_.pauses.push_back({seconds, line});
    }

    double x_value(double v) const { return diameter_ ? v / 2 : v; }

    std::optional<Point> axis_target(BlockWords& w, int line) {
        Point p = pos_;
        bool any = false;
        auto x = w.take('X');
        auto z = w.take('Z');
        if (fanuc_like()) {
            auto u = w.take('U');
            auto wz = w.take('W');
            if (x && u) throw ProgramError(line, "X and U in one block");
            if (z && wz) throw ProgramError(line, "Z and W in one block");
            if (u) {
                p.x += x_value(*u);
                any = true;
            }
            if (wz) {
                p.z += *wz;
                any = true;
            }
        }
        if (x) {
            p.x = absolute_ ? x_value(*x) : p.x + x_value(*x);
            any = true;
        }
        if (z) {
            p.z = absolute_ ? *z : p.z + *z;
            any = true;
        }
        if (!any) return std::nullopt;
        return p;
    }

    void move(BlockWords& w, std::optional<Point> target, int line) {
        const bool arc = motion_ == 2 || motion_ == 3;
        auto i = arc ? w.take('I') : std::nullopt;
        auto k = arc ? w.take('K') : std::nullopt;
        auto r = arc ? w.take('R') : std::nullopt;
        if (motion_ == 32) {
            auto lead = opt_.dialect == Dialect::LinuxCnc ? w.take('K') : w.take('F');
            if (lead) lead_ = *lead;
        }
        if (!target && !(arc && (i || k))) return;
        if (motion_ < 0) throw ProgramError(line, "move without a motion mode (G0, G1, G2 or G3)");
        const Point to = target.value_or(pos_);
        switch (motion_) {
        case 0:
            add_move(MotionKind::Rapid, to, line);
            return;
        case 1:
            if (feed_ <= 0) throw ProgramError(line, "feed move without a feed rate (F)");
            add_move(MotionKind::Feed, to, line);
            return;
        case 32: {
            if (lead_ <= 0) throw ProgramError(line, "threading move without a lead");
            Motion m = model(line);
            m.kind = MotionKind::Thread;
            m.feed_mode = FeedMode::PerRevolution;
            m.feed = lead_;
            m.from = pos_;
            m.to = to;
            program_.motions.push_back(m);
            pos_ = to;
            return;
        }
        default:
            break;
        }
        if (feed_ <= 0) throw ProgramError(line, "arc without a feed rate (F)");
        arc_move(to, i, k, r, line);
    }

    void arc_move(Point to, std::optional<double> i, std::optional<double> k,
                  std::optional<double> r, int line) {
        const bool cw = motion_ == 2;
        Point centre;
        if (r) {
            if (i || k) throw ProgramError(line, "arc with both R and I/K");
            const double dz = to.z - pos_.z, dx = to.x - pos_.x;
            const double chord = std::hypot(dz, dx);
            if (chord == 0) throw ProgramError(line, "R arc that ends where it starts");
            const double radius = std::fabs(*r);
            if (chord > 2 * radius + 1e-9)
                throw ProgramError(line, "arc radius R is smaller than half the distance it spans");
            const double h = std::sqrt(std::max(0.0, radius * radius - chord * chord / 4));
            // The centre lies left of the chord for a counter-clockwise arc of at most
            // half a turn; a negative R asks for the longer arc.
            double side = cw ? -1 : 1;
            if (*r < 0) side = -side;
            const double mz = (pos_.z + to.z) / 2, mx = (pos_.x + to.x) / 2;
            centre = {mx + side * h * dz / chord, mz - side * h * dx / chord};
        } else {
            if (!i && !k) throw ProgramError(line, "arc without its centre (I/K or R)");
            centre = {pos_.x + i.value_or(0), pos_.z + k.value_or(0)};
        }
        Motion m = model(line);
        m.kind = cw ? MotionKind::ArcCW : MotionKind::ArcCCW;
        m.from = pos_;
        m.to = to;
        m.centre = centre;
        m.end_radius_error = std::fabs(std::hypot(to.x - centre.x, to.z - centre.z) -
                                       std::hypot(pos_.x - centre.x, pos_.z - centre.z));
        program_.motions.push_back(m);
        pos_ = to;
    }

    void go_home(BlockWords& w, int line) {
        const bool had_x = w.has('X') || w.has('U');
        const bool had_z = w.has('Z') || w.has('W');
        std::optional<Point> via = axis_target(w, line);
        const std::size_t first = program_.motions.size();
        if (via) add_move(MotionKind::Rapid, *via, line);
        Point to = pos_;
        const bool both = !had_x && !had_z;
        if (had_x || both) to.x = home_position().x;
        if (had_z || both) to.z = home_position().z;
        add_move(MotionKind::Rapid, to, line);
        for (std::size_t i = first; i < program_.motions.size(); ++i)
            program_.motions[i].homing = true;
    }

    // G76 as each control spells it.
    void thread_cycle(BlockWords& w, int line) {
        if (compensation_ != Compensation::Off)
            throw ProgramError(line, "G76 with tool nose radius compensation on (no G40)");
        switch (opt_.dialect) {
        case Dialect::Fanuc:
        case Dialect::Haas:
            // Both controls read either form: the one-block cycle with K and
            // D, or the two blocks of P Q R and then X Z P Q F.
            if (w.has('K') && w.has('D'))
                haas_thread(w, line);
            else
                fanuc_thread(w, line);
            return;
        case Dialect::LinuxCnc:
            linuxcnc_thread(w, line);
            return;
        }
    }

    // Fanuc's micron words (or 0.0001 inch) for depths without a decimal point.
    double micro(double v) const { return v / (program_.inch ? 10000.0 : 1000.0); }

    void fanuc_thread(BlockWords& w, int line) {
        const bool second = w.has('X') || w.has('Z') || w.has('U') || w.has('W');
        if (!second) {
            // G76 P(passes)(chamfer)(angle) Q(min cut) R(finish allowance)
            const double p = w.take('P').value_or(10060);
            fanuc_spring_ = static_cast<int>(p / 10000) - 1;
            fanuc_min_ = micro(w.take('Q').value_or(0));
            fanuc_allowance_ = w.take('R').value_or(0);
            pending_fanuc_thread_ = true;
            pending_line_ = line;
            return;
        }
        pending_fanuc_thread_ = false;
        std::optional<Point> target = axis_target(w, line);
        auto depth = w.take('P');
        auto first = w.take('Q');
        auto lead = w.take('F');
        if (w.has('R')) w.take('R'); // taper: the reader cuts straight threads
        if (!target || !depth || !first || !lead)
            throw ProgramError(line, "G76 needs X, Z, P, Q and F");
        ThreadCycle c;
        c.start = pos_;
        c.root = target->x;
        c.end_z = target->z;
        const double d = micro(*depth);
        c.crest = c.root < c.start.x ? c.root + d : c.root - d;
        c.first_depth = micro(*first);
        c.min_depth = fanuc_min_;
        c.finish_allowance = fanuc_allowance_;
        c.spring_passes = fanuc_spring_;
        c.lead = *lead;
        append_thread_passes(c, model(line), program_.motions);
    }

    void haas_thread(BlockWords& w, int line) {
        std::optional<Point> target = axis_target(w, line);
        auto depth = w.take('K');
        auto first = w.take('D');
        auto lead = w.take('F');
        w.take('A'); // tip angle
        w.take('P'); // infeed pattern
        w.take('I'); // taper
        if (!target || !depth || !first || !lead)
            throw ProgramError(line, "G76 needs X, Z, K, D and F");
        ThreadCycle c;
        c.start = pos_;
        c.root = target->x;
        c.end_z = target->z;
        c.crest = c.root < c.start.x ? c.root + *depth : c.root - *depth;
        c.first_depth = *first;
        c.lead = *lead;
        append_thread_passes(c, model(line), program_.motions);
    }

    void linuxcnc_thread(BlockWords& w, int line) {
        auto pitch = w.take('P');
        auto z = w.take('Z');
        auto i = w.take('I');
        auto j = w.take('J');
        auto k = w.take('K');
        if (!pitch || !z || !i || !j || !k) throw ProgramError(line, "G76 needs P, Z, I, J and K");
        const double h = w.take('H').value_or(0);
        for (char c : {'R', 'Q', 'E', 'L'}) w.take(c);
        ThreadCycle c;
        c.start = pos_;
        c.crest = pos_.x + x_value(*i);
        const double depth = x_value(*k);
        c.root = *i < 0 ? c.crest - depth : c.crest + depth;
        c.end_z = absolute_ ? *z : pos_.z + *z;
        c.first_depth = x_value(*j);
        c.lead = *pitch;
        c.spring_passes = static_cast<int>(h);
        append_thread_passes(c, model(line), program_.motions);
    }

    const ReaderOptions& opt_;
    Program program_;
    Point pos_;
    int motion_ = -1;
    FeedMode feed_mode_ = FeedMode::PerMinute;
    double feed_ = 0;
    double lead_ = 0;
    Spindle spindle_;
    int tool_ = 0;
    int selected_tool_ = 0;
    bool diameter_ = true;
    bool absolute_ = true;
    bool ended_ = false;
    bool css_word_pending_ = false;
    Compensation compensation_ = Compensation::Off;
    bool comp_started_ = false;
    bool pending_fanuc_thread_ = false;
    int pending_line_ = 0;
    int fanuc_spring_ = 0;
    double fanuc_min_ = 0;
    double fanuc_allowance_ = 0;
};

} // namespace

Program read_program(std::string_view text, const ReaderOptions& options) {
    return Reader(options).run(text);
}

} // namespace simvo
