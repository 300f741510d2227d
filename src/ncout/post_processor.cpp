#include "ncout/post_processor.h"

#include "base/number_text.h"
#include "ncout/gnc_interpreter.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>

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

// Fanuc and Haas number tip positions looking at the lathe with X up; the
// GNC file carries LinuxCNC's numbers, which see it from the front tool post
// with X mirrored.
int standard_tip(double linuxcnc) {
    constexpr int kMirrored[10] = {0, 4, 3, 2, 1, 5, 8, 7, 6, 9};
    const long n = std::lround(linuxcnc);
    return n >= 0 && n <= 9 ? kMirrored[n] : 0;
}

GncValue number_value(double v) {
    GncValue g;
    g.kind = GncValue::Kind::Number;
    g.number = v;
    return g;
}

class Engine {
public:
    Engine(const PostLibrary& library, const PostMachine& machine)
        : lib_(library), machine_(machine),
          motion_(GncResolution{library.settings().decimals, library.settings().inch_decimals}) {
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
            motion_.preset(name, v);
        }
    }

    void feed(const GncItem& item) {
        if (item.kind == GncItem::Kind::Word && item.name == "COMP_START")
            check_compensation(item.line);
        std::optional<GncMotion> motion;
        try {
            motion = motion_.take(item);
        } catch (const GncMeaningError& e) {
            throw PostError(e.line(), e.reason());
        }
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
            if (motion) {
                move(item.name, *motion);
            } else {
                keyword(item.name, item.line);
            }
            break;
        }
    }

    std::string finish() {
        try {
            motion_.finish();
        } catch (const GncMeaningError& e) {
            throw PostError(e.line(), e.reason());
        }
        std::string text;
        for (const auto& l : out_) text += l + lib_.settings().line_end;
        return text;
    }

private:
    const PostLibrary& lib_;
    const PostMachine& machine_;
    // What the records mean; the engine only writes it out.
    GncInterpreter motion_;
    std::map<std::string, GncValue> vars_;
    std::map<std::string, std::string> modal_;
    std::vector<std::string> out_, held_;
    long long seq_ = 0;

    bool metric() const { return motion_.modal().metric; }

    void set(const char* name, double v) { vars_[name] = number_value(v); }

    // Without G41/G42 on the machine, or a template to write them, the
    // profile would be cut by the tip as if the nose had no radius.
    void check_compensation(int line) const {
        const std::string machine =
            machine_.name.empty() ? "this machine" : "machine \"" + machine_.name + "\"";
        if (!machine_.cutter_compensation)
            throw PostError(line, "a cycle uses compensation \"In control\" (G41/G42), but " +
                                      machine +
                                      " does not allow it (CutterCompensation in its "
                                      "machine data); choose \"In program\" or \"None\"");
        for (const char* word : {"COMP_START", "COMP_END"})
            if (!lib_.section(word))
                throw PostError(line, std::string("the post library of ") + machine + " has no [" +
                                          word + "] template for cutter compensation");
    }

    void keyword(const std::string& word, int line) {
        emit_template(word, line);
        // Records before the prologue (the author comment) wait for its
        // "!held" line, or follow it.
        if (word == "PROLOGUE") flush_held();
    }

    void move(const std::string& word, const GncMotion& m) {
        if (m.moves_nowhere()) {
            // Left out, it would take its G41/G42 or G40 with it.
            if (word == "COMP_START" || word == "COMP_END")
                throw PostError(m.line, word + " moves nowhere once rounded: the control needs a "
                                               "straight move to turn compensation on or off");
            return; // nothing happens on the machine
        }
        switch (m.kind) {
        case GncMotionKind::Rapid:
            break;
        case GncMotionKind::Feed:
            set("comp_left", m.modal.compensation == GncCompensation::Left ? 1 : 0);
            if (word == "COMP_START") {
                auto o = vars_.find("tool_orientation");
                set("tip_number", o == vars_.end() || o->second.kind != GncValue::Kind::Number
                                      ? 0
                                      : standard_tip(o->second.number));
            }
            break;
        case GncMotionKind::ArcClockwise:
        case GncMotionKind::ArcCounterClockwise:
            set("start_x", 2 * m.from.X);
            set("start_z", m.from.Z);
            set("x", 2 * m.to.X);
            set("z", m.to.Z);
            set("i", m.centre_offset.X);
            set("k", m.centre_offset.Z);
            set("radius", m.radius());
            set("cw", m.kind == GncMotionKind::ArcClockwise ? 1 : 0);
            break;
        case GncMotionKind::Thread: {
            const GncThread& t = m.thread;
            set("thread_x", 2 * m.to.X);
            set("thread_z", m.to.Z);
            set("internal", t.internal ? 1 : 0);
            set("drive_x", 2 * m.from.X);
            set("peak_offset", (2 * t.surface_x - 2 * m.from.X) / 2); // start to crest, radius
            set("chamfer_length", t.chamfer_length());
            set("compound_angle", t.tip_angle > 1 ? t.tip_angle / 2 - 0.5 : 0);
            set("finish_allowance", std::fabs(t.finish_allowance));
            break;
        }
        }
        emit_template(word, m.line);
    }

    void emit(std::string text) {
        if (!motion_.started()) {
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

std::string post_process(const std::vector<GncItem>& gnc, const PostLibrary& library,
                         const PostMachine& machine) {
    Engine engine(library, machine);
    for (const auto& item : gnc) engine.feed(item);
    return engine.finish();
}

std::string post_process_text(std::string_view gnc, const PostLibrary& library,
                              const PostMachine& machine) {
    Engine engine(library, machine);
    read_gnc(gnc, [&](const GncItem& item) { engine.feed(item); });
    return engine.finish();
}

} // namespace zeran
