#include "ncout/post_processor.h"

#include "base/number_text.h"
#include "ncout/nc_limits.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>

namespace zeran {

namespace {

std::string strip_zeros(std::string s, bool keep_point) {
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.' && !keep_point) s.pop_back();
    }
    if (s == "-0" || s == "-0.") s.erase(0, 1);
    return s;
}

// Sized to the value, so that no digit is ever cut off.
std::string fixed(double v, int decimals) {
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, v);
    std::string s(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(s.data(), s.size(), "%.*f", decimals, v);
    s.pop_back();
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

// Characters a control reads as comment ends, block ends or tape marks.
std::string clean_text(const std::string& text, bool upper) {
    std::string out;
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '%' || c == ';' || u < 32 || u == 127) continue;
        out += upper ? static_cast<char>(std::toupper(u)) : c;
    }
    return out;
}

GncValue number_value(double v) {
    GncValue g;
    g.kind = GncValue::Kind::Number;
    g.number = v;
    return g;
}

class Engine {
public:
    explicit Engine(const PostLibrary& library) : lib_(library) {
        seq_ = lib_.settings().sequence_start;
        for (const auto& [name, text] : lib_.variables()) {
            GncValue v;
            if (auto n = parse_real(text)) {
                v = number_value(*n);
            } else {
                v.kind = GncValue::Kind::Text;
                v.text = text;
            }
            vars_[name] = v;
        }
    }

    void feed(const GncItem& item) {
        last_line_ = item.line;
        if (epilogue_) throw PostError(item.line, "record after EPILOGUE");
        switch (item.kind) {
        case GncItem::Kind::Declaration:
        case GncItem::Kind::Assignment:
            if (item.value.kind == GncValue::Kind::None) {
                vars_.erase(item.name);
            } else {
                vars_[item.name] = item.value;
            }
            break;
        case GncItem::Kind::Word:
            keyword(item.name, item.line);
            break;
        }
    }

    std::string finish() {
        if (!prologue_) throw PostError(last_line_, "the GNC program has no PROLOGUE");
        if (!epilogue_)
            throw PostError(last_line_, "the GNC program ends without EPILOGUE (incomplete file?)");
        std::string text;
        for (const auto& l : out_) text += l + lib_.settings().line_end;
        return text;
    }

private:
    const PostLibrary& lib_;
    std::map<std::string, GncValue> vars_;
    std::map<std::string, std::string> modal_;
    std::vector<std::string> out_, held_;
    bool prologue_ = false, epilogue_ = false;
    bool have_position_ = false;
    double x_ = 0, z_ = 0; // position as written: diameter and Z
    long long seq_ = 0;
    int last_line_ = 0;

    double round_pos(double v) const {
        double f = std::pow(10.0, decimals());
        return std::round(v * f) / f;
    }

    bool metric() const {
        auto m = vars_.find("metric");
        return m == vars_.end() || m->second.truthy();
    }
    int decimals() const {
        return metric() ? lib_.settings().decimals : lib_.settings().inch_decimals;
    }

    double number(const char* name, const std::string& keyword, int line) const {
        auto it = vars_.find(name);
        if (it == vars_.end() || it->second.kind != GncValue::Kind::Number)
            throw PostError(line, keyword + " without a number for " + name);
        check(name, it->second.number, kMaxNcCoordinate, line);
        return it->second.number;
    }

    // A value no machine should get stops the run rather than reach the program.
    static void check(const std::string& name, double value, double limit, int line) {
        if (std::string problem = nc_value_problem(name, value, limit); !problem.empty())
            throw PostError(line, problem);
    }
    // Feed and speed are checked when given; a library need not use them.
    void check_present(const char* name, double limit, int line) const {
        auto it = vars_.find(name);
        if (it != vars_.end() && it->second.kind == GncValue::Kind::Number)
            check(name, it->second.number, limit, line);
    }

    void set(const char* name, double v) { vars_[name] = number_value(v); }

    void keyword(const std::string& word, int line) {
        if (word == "PROLOGUE") {
            if (prologue_) throw PostError(line, "second PROLOGUE");
            // Records before the prologue (the author comment) wait for its
            // "!held" line, or follow it.
            prologue_ = true;
            emit_template(word, line);
            flush_held();
            return;
        }
        if (word == "FAST_TRAV" || word == "LINEAR_TRAV" || word == "CIRC_TRAV" ||
            word == "CHANGE_FEED")
            check_present("feed", kMaxNcFeed, line);
        if (word == "CHANGE_SPINDLE") check_present("spindle", kMaxNcSpeed, line);
        if (word == "FAST_TRAV" || word == "LINEAR_TRAV") {
            double x = round_pos(number("x", word, line)), z = round_pos(number("z", word, line));
            // A move to where the tool already is does nothing on the machine.
            if (have_position_ && x == x_ && z == z_) return;
            emit_template(word, line);
            x_ = x;
            z_ = z;
            have_position_ = true;
            return;
        }
        if (word == "CIRC_TRAV") return arc(line);
        if (word == "THREAD_CYCLE") return thread(line);
        if (word == "EPILOGUE") epilogue_ = true;
        // Tool changes go by the machine's home, so no position is known after one.
        if (word == "CHANGE_TOOL") have_position_ = false;
        emit_template(word, line);
    }

    void arc(int line) {
        const std::string kw = "CIRC_TRAV";
        double cx = number("cx", kw, line), cz = number("cz", kw, line);
        double angle = number("angle", kw, line);
        if (!have_position_) throw PostError(line, "arc with no start point");
        if (angle == 0) return; // a closed arc of no sweep moves nowhere
        if (std::fabs(angle) > 360) {
            double a = std::fmod(angle, 360.0);
            angle = a == 0 ? std::copysign(360.0, angle) : a;
        }
        // Work in radius; I and K come from the start as written, so that the
        // control's centre and the end point below agree to the last digit.
        double sr = x_ / 2, sz = z_;
        double i = round_pos(cx / 2 - sr), k = round_pos(cz - sz);
        double resolution = std::pow(10.0, -decimals());
        if (std::hypot(i, k) < resolution) throw PostError(line, "arc of no radius");
        double cr = sr + i, czz = sz + k;
        double a = angle * std::numbers::pi / 180.0;
        double vz = sz - czz, vr = sr - cr;
        // A positive sweep turns clockwise with Z to the right and X up.
        double ez = czz + vz * std::cos(a) + vr * std::sin(a);
        double er = cr - vz * std::sin(a) + vr * std::cos(a);
        double ex = round_pos(2 * er);
        ez = round_pos(ez);
        set("start_x", x_);
        set("start_z", z_);
        set("x", ex);
        set("z", ez);
        set("i", i);
        set("k", k);
        set("radius", std::hypot(i, k));
        set("cw", angle > 0 ? 1 : 0);
        emit_template(kw, line);
        x_ = ex;
        z_ = ez;
    }

    void thread(int line) {
        const std::string kw = "THREAD_CYCLE";
        double x = number("x", kw, line), z = number("z", kw, line);
        double pitch = number("PITCH", kw, line), depth = number("THREAD_DEPTH", kw, line);
        double first = number("X_INC", kw, line);
        double angle = number("THREAD_ANGLE", kw, line);
        double chamfer = number("THREAD_CHAMFER", kw, line);
        double allowance = number("FINISH_ALLOWANCE", kw, line);
        number("MIN_CUT_DEPTH", kw, line);
        number("FINISH_PASSES", kw, line);
        if (!have_position_) throw PostError(line, "thread cycle with no start point");
        if (pitch <= 0) throw PostError(line, "thread cycle without a pitch");
        if (depth <= 0) throw PostError(line, "thread cycle without a thread depth");
        if (first <= 0) throw PostError(line, "thread cycle without a first cut depth");
        if (round_pos(z) == z_) throw PostError(line, "thread of no length");
        // x is the profile diameter less the depth; the profile diameter is
        // therefore x + depth. A start below it means an internal thread.
        double profile = x + depth;
        bool internal = x_ < profile;
        set("thread_x", internal ? profile + 2 * depth : profile - 2 * depth);
        set("thread_z", z);
        set("internal", internal ? 1 : 0);
        set("drive_x", x_);
        set("peak_offset", (profile - x_) / 2);
        set("chamfer_length", chamfer * pitch / 10);
        set("compound_angle", angle > 1 ? angle / 2 - 0.5 : 0);
        set("finish_allowance", std::fabs(allowance));
        emit_template(kw, line);
    }

    void emit(std::string text) {
        if (!prologue_) {
            held_.push_back(std::move(text));
            return;
        }
        const auto& s = lib_.settings();
        if (s.sequence_step > 0 && s.sequence_skip.find(text[0]) == std::string::npos) {
            text = "N" + std::to_string(seq_) + " " + text;
            seq_ += s.sequence_step;
        }
        out_.push_back(std::move(text));
    }

    void flush_held() {
        auto lines = std::move(held_);
        held_.clear();
        for (auto& l : lines) emit(std::move(l));
    }

    std::string render(const TemplatePiece& p, int line) const {
        auto it = vars_.find(p.text);
        if (it == vars_.end()) throw PostError(line, "no value for {" + p.text + "}");
        const GncValue& v = it->second;
        using Code = ValueFormat::Code;
        ValueFormat f = p.has_inch_format && !metric() ? p.inch_format : p.format;
        if (!p.has_format) f.code = v.kind == GncValue::Kind::Number ? Code::Real : Code::Text;
        if (f.code == Code::Text || f.code == Code::UpperText) {
            std::string t = v.kind == GncValue::Kind::Number ? general_text(v.number) : v.text;
            return clean_text(t, f.code == Code::UpperText);
        }
        if (v.kind != GncValue::Kind::Number)
            throw PostError(line, "{" + p.text + "} is not a number: " + v.text);
        double n = v.number * f.scale;
        if (f.absolute) n = std::fabs(n);
        if (!std::isfinite(n) || std::fabs(n) > 1e15)
            throw PostError(line, "{" + p.text + "} = " + general_text(n) + " is out of range");
        switch (f.code) {
        case Code::Real:
            return strip_zeros(fixed(n, f.digits), false);
        case Code::PointReal:
            return strip_zeros(fixed(n, f.digits), true);
        case Code::Fixed:
            return fixed(n, f.digits);
        case Code::Increments:
            n *= metric() ? 1000 : 10000;
            break;
        case Code::Integer:
        case Code::Text:
        case Code::UpperText:
            break;
        }
        if (std::fabs(n) > 1e15) throw PostError(line, "{" + p.text + "} is out of range");
        long long whole = std::llround(n);
        std::string digits = std::to_string(whole < 0 ? -whole : whole);
        if (f.digits > 0) {
            if (static_cast<int>(digits.size()) > f.digits)
                throw PostError(line, "{" + p.text + "} = " + std::to_string(whole) +
                                          " does not fit " + std::to_string(f.digits) + " digits");
            digits.insert(0, static_cast<std::size_t>(f.digits) - digits.size(), '0');
        }
        return whole < 0 ? "-" + digits : digits;
    }

    void emit_template(const std::string& keyword, int line) {
        const auto* lines = lib_.section(keyword);
        if (!lines) return;
        for (const auto& t : *lines) {
            if (!t.condition.empty()) {
                auto it = vars_.find(t.condition);
                bool ok = it != vars_.end() && it->second.truthy();
                if (ok == t.negated) continue;
            }
            switch (t.kind) {
            case TemplateLine::Kind::Reset:
                if (t.groups.empty()) {
                    modal_.clear();
                } else {
                    for (const auto& g : t.groups) modal_.erase(g);
                }
                continue;
            case TemplateLine::Kind::Held:
                flush_held();
                continue;
            case TemplateLine::Kind::Words:
                break;
            }
            std::string text;
            bool valued = false, valued_written = false;
            std::vector<std::pair<std::string, std::string>> updates;
            for (const auto& w : t.words) {
                std::string word;
                for (const auto& p : w.pieces) word += p.is_value ? render(p, line) : p.text;
                if (w.has_value()) valued = true;
                if (w.modal) {
                    auto m = modal_.find(w.group);
                    if (m != modal_.end() && m->second == word) continue;
                    updates.emplace_back(w.group, word);
                }
                if (w.has_value()) valued_written = true;
                if (!text.empty()) text += ' ';
                text += word;
            }
            // A line whose every value is already in force says nothing.
            if (text.empty() || (valued && !valued_written)) continue;
            for (auto& [g, w] : updates) modal_[g] = w;
            emit(std::move(text));
        }
    }
};

} // namespace

PostError::PostError(int gnc_line, const std::string& message)
    : std::runtime_error(gnc_line > 0 ? "GNC line " + std::to_string(gnc_line) + ": " + message
                                      : message),
      line_(gnc_line) {}

std::string post_process(const std::vector<GncItem>& gnc, const PostLibrary& library) {
    Engine engine(library);
    for (const auto& item : gnc) engine.feed(item);
    return engine.finish();
}

std::string post_process_text(std::string_view gnc, const PostLibrary& library) {
    Engine engine(library);
    read_gnc(gnc, [&](const GncItem& item) { engine.feed(item); });
    return engine.finish();
}

} // namespace zeran
