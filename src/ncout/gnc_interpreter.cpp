#include "ncout/gnc_interpreter.h"

#include "base/number_text.h"
#include "ncout/nc_limits.h"

#include <cmath>
#include <numbers>

namespace zeran {

namespace {

// Without a control's rounding an arc still needs a radius to turn about.
constexpr double kExactResolution = 1e-9;

GncValue number_value(double v) {
    GncValue g;
    g.kind = GncValue::Kind::Number;
    g.number = v;
    return g;
}

// A value no machine should get stops the run rather than reach a program.
void check(const std::string& name, double value, double limit, int line) {
    if (std::string problem = nc_value_problem(name, value, limit); !problem.empty())
        throw GncMeaningError(line, problem);
}

bool is_move(const std::string& word) {
    return word == "FAST_TRAV" || word == "LINEAR_TRAV" || word == "CIRC_TRAV" ||
           word == "THREAD_CYCLE" || word == "COMP_START" || word == "COMP_END";
}

} // namespace

GncMeaningError::GncMeaningError(int line, const std::string& reason)
    : std::runtime_error(line > 0 ? "GNC line " + std::to_string(line) + ": " + reason : reason),
      line_(line), reason_(reason) {}

double GncMotion::radius() const {
    return std::hypot(centre_offset.X, centre_offset.Z);
}

bool GncMotion::moves_nowhere() const {
    if (is_arc()) return sweep == 0;
    if (kind == GncMotionKind::Thread) return false;
    return from_known && from == to;
}

GncInterpreter::GncInterpreter(std::optional<GncResolution> resolution) : resolution_(resolution) {}

void GncInterpreter::preset(const std::string& name, const GncValue& value) {
    values_[name] = value;
    if (name == "metric") modal_.metric = value.truthy();
}

std::optional<GncMotion> GncInterpreter::take(const GncItem& item) {
    last_line_ = item.line;
    if (epilogue_) throw GncMeaningError(item.line, "record after EPILOGUE");
    if (item.kind != GncItem::Kind::Word) {
        if (item.value.kind == GncValue::Kind::None) {
            values_.erase(item.name);
        } else {
            values_[item.name] = item.value;
        }
        if (item.name == "metric") modal_.metric = item.value.truthy();
        return std::nullopt;
    }
    const std::string& word = item.name;
    if (word == "FAST_TRAV" || word == "LINEAR_TRAV" || word == "CIRC_TRAV" ||
        word == "CHANGE_FEED" || word == "COMP_START" || word == "COMP_END")
        check_present("feed", kMaxNcFeed, item.line);
    if (word == "CHANGE_SPINDLE") check_present("spindle", kMaxNcSpeed, item.line);
    if (!is_move(word)) {
        keyword(word, item.line);
        return std::nullopt;
    }
    if (auto feed = present("feed")) modal_.feed = *feed;
    if (word == "FAST_TRAV") return line_move(GncMotionKind::Rapid, word, item.line);
    if (word == "LINEAR_TRAV") return line_move(GncMotionKind::Feed, word, item.line);
    if (word == "CIRC_TRAV") return arc(item.line);
    if (word == "COMP_START" || word == "COMP_END")
        return compensation_move(word == "COMP_START", word, item.line);
    return thread(item.line);
}

void GncInterpreter::finish() const {
    if (!prologue_) throw GncMeaningError(last_line_, "the GNC program has no PROLOGUE");
    if (!epilogue_)
        throw GncMeaningError(last_line_,
                              "the GNC program ends without EPILOGUE (incomplete file?)");
}

// The lead-in is a straight move that a control takes only with a known
// start and a length beyond the nose radius; compensation left on through a
// tool change, a thread or the program's end would offset what follows.
GncMotion GncInterpreter::compensation_move(bool start, const std::string& word, int line) {
    const bool on = modal_.compensation != GncCompensation::Off;
    if (!start) {
        if (!on) throw GncMeaningError(line, "COMP_END without COMP_START");
        GncMotion m = line_move(GncMotionKind::Feed, word, line);
        modal_.compensation = GncCompensation::Off;
        m.modal.compensation = GncCompensation::Off;
        return m;
    }
    if (on) throw GncMeaningError(line, "COMP_START while cutter compensation is already on");
    auto side = values_.find("comp_side");
    const std::string text = side == values_.end() ? std::string() : side->second.text;
    if (text != "LEFT" && text != "RIGHT")
        throw GncMeaningError(line, "COMP_START without comp_side \"LEFT\" or \"RIGHT\"");
    if (!have_position_)
        throw GncMeaningError(line, "cutter compensation lead-in with no start point");
    const double radius = present("nose_radius").value_or(0);
    modal_.compensation = text == "LEFT" ? GncCompensation::Left : GncCompensation::Right;
    GncMotion m = line_move(GncMotionKind::Feed, word, line);
    const double length = std::hypot(m.to.X - m.from.X, m.to.Z - m.from.Z);
    if (!(radius >= 0) || length <= radius)
        throw GncMeaningError(line, "the cutter compensation lead-in (" +
                                        general_text(length, '.', 6) +
                                        ") is not longer than the nose radius (" +
                                        general_text(radius, '.', 6) + ")");
    return m;
}

void GncInterpreter::keyword(const std::string& word, int line) {
    if (modal_.compensation != GncCompensation::Off &&
        (word == "CHANGE_TOOL" || word == "EPILOGUE"))
        throw GncMeaningError(line, word + " while cutter compensation is on (no COMP_END)");
    if (word == "PROLOGUE") {
        if (prologue_) throw GncMeaningError(line, "second PROLOGUE");
        prologue_ = true;
    } else if (word == "EPILOGUE") {
        epilogue_ = true;
    } else if (word == "CHANGE_TOOL") {
        // Tool changes go by the machine's home, so no position is known after one.
        have_position_ = false;
        modal_.tool = static_cast<int>(std::lround(present("tool").value_or(0)));
        modal_.tool_offset = static_cast<int>(std::lround(present("tool_offset_id").value_or(0)));
    } else if (word == "CHANGE_FEED") {
        auto fpr = values_.find("FPR_On");
        modal_.feed_per_rev = fpr != values_.end() && fpr->second.truthy();
        if (auto feed = present("feed")) modal_.feed = *feed;
    } else if (word == "CHANGE_SPINDLE") {
        auto css = values_.find("CSS_On");
        modal_.css = css != values_.end() && css->second.truthy();
        if (auto speed = present("spindle")) modal_.spindle = *speed;
    }
}

GncMotion GncInterpreter::started_motion(GncMotionKind kind, int line) const {
    GncMotion m;
    m.kind = kind;
    m.line = line;
    m.from_known = have_position_;
    m.from = position_;
    m.modal = modal_;
    return m;
}

GncMotion GncInterpreter::line_move(GncMotionKind kind, const std::string& word, int line) {
    const double x = snap(number("x", word, line)), z = snap(number("z", word, line));
    GncMotion m = started_motion(kind, line);
    m.to = {x / 2, z};
    position_ = m.to;
    have_position_ = true;
    return m;
}

GncMotion GncInterpreter::arc(int line) {
    const std::string kw = "CIRC_TRAV";
    const double cx = number("cx", kw, line), cz = number("cz", kw, line);
    double angle = number("angle", kw, line);
    if (!have_position_) throw GncMeaningError(line, "arc with no start point");
    GncMotion m = started_motion(GncMotionKind::ArcClockwise, line);
    m.to = m.from;
    if (angle == 0) return m; // a closed arc of no sweep moves nowhere
    if (std::fabs(angle) > 360) {
        const double a = std::fmod(angle, 360.0);
        angle = a == 0 ? std::copysign(360.0, angle) : a;
    }
    m.kind = angle > 0 ? GncMotionKind::ArcClockwise : GncMotionKind::ArcCounterClockwise;
    m.sweep = angle;
    // The offsets come from the start as held, so that a control's centre and
    // the end point below agree to the last digit.
    const double sx = position_.X, sz = position_.Z;
    const double i = snap(cx / 2 - sx), k = snap(cz - sz);
    if (std::hypot(i, k) < resolution()) throw GncMeaningError(line, "arc of no radius");
    m.centre_offset = {i, k};
    const double cr = sx + i, czz = sz + k;
    m.centre = {cr, czz};
    const double a = angle * std::numbers::pi / 180.0;
    const double vz = sz - czz, vr = sx - cr;
    // A positive sweep turns clockwise with Z to the right and X up.
    const double ez = czz + vz * std::cos(a) + vr * std::sin(a);
    const double er = cr - vz * std::sin(a) + vr * std::cos(a);
    const double ex = snap(2 * er);
    m.to = {ex / 2, snap(ez)};
    position_ = m.to;
    values_["x"] = number_value(ex);
    values_["z"] = number_value(m.to.Z);
    return m;
}

GncMotion GncInterpreter::thread(int line) {
    const std::string kw = "THREAD_CYCLE";
    const double x = number("x", kw, line), z = number("z", kw, line);
    GncThread t;
    t.pitch = number("PITCH", kw, line);
    t.depth = number("THREAD_DEPTH", kw, line);
    t.first_cut = number("X_INC", kw, line);
    t.tip_angle = number("THREAD_ANGLE", kw, line);
    t.chamfer = number("THREAD_CHAMFER", kw, line);
    t.finish_allowance = number("FINISH_ALLOWANCE", kw, line);
    t.min_cut = number("MIN_CUT_DEPTH", kw, line);
    t.finish_passes = number("FINISH_PASSES", kw, line);
    if (!have_position_) throw GncMeaningError(line, "thread cycle with no start point");
    if (modal_.compensation != GncCompensation::Off)
        throw GncMeaningError(line, "THREAD_CYCLE while cutter compensation is on (no COMP_END)");
    if (t.pitch <= 0) throw GncMeaningError(line, "thread cycle without a pitch");
    if (t.depth <= 0) throw GncMeaningError(line, "thread cycle without a thread depth");
    if (t.first_cut <= 0) throw GncMeaningError(line, "thread cycle without a first cut depth");
    if (snap(z) == position_.Z) throw GncMeaningError(line, "thread of no length");
    // x is the surface's diameter less the depth, so the surface lies at
    // x + depth; a start below it is a thread inside a bore.
    const double surface = x + t.depth;
    t.surface_x = surface / 2;
    t.internal = 2 * position_.X < surface;
    GncMotion m = started_motion(GncMotionKind::Thread, line);
    m.to = {(t.internal ? surface + 2 * t.depth : surface - 2 * t.depth) / 2, z};
    m.thread = t;
    return m;
}

double GncInterpreter::number(const char* name, const std::string& keyword, int line) const {
    auto it = values_.find(name);
    if (it == values_.end() || it->second.kind != GncValue::Kind::Number)
        throw GncMeaningError(line, keyword + " without a number for " + name);
    check(name, it->second.number, kMaxNcCoordinate, line);
    return it->second.number;
}

std::optional<double> GncInterpreter::present(const char* name) const {
    auto it = values_.find(name);
    if (it == values_.end() || it->second.kind != GncValue::Kind::Number) return std::nullopt;
    return it->second.number;
}

// Feed and speed are checked when given; a program need not set them.
void GncInterpreter::check_present(const char* name, double limit, int line) const {
    if (auto v = present(name)) check(name, *v, limit, line);
}

double GncInterpreter::snap(double v) const {
    if (!resolution_) return v;
    const double f =
        std::pow(10.0, modal_.metric ? resolution_->decimals : resolution_->inch_decimals);
    return std::round(v * f) / f;
}

double GncInterpreter::resolution() const {
    if (!resolution_) return kExactResolution;
    return std::pow(10.0, -(modal_.metric ? resolution_->decimals : resolution_->inch_decimals));
}

std::vector<GncMotion> interpret_gnc(std::string_view text,
                                     std::optional<GncResolution> resolution) {
    GncInterpreter interpreter(resolution);
    std::vector<GncMotion> motions;
    read_gnc(text, [&](const GncItem& item) {
        if (auto m = interpreter.take(item)) motions.push_back(*m);
    });
    interpreter.finish();
    return motions;
}

} // namespace zeran
