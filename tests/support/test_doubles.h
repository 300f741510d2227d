#pragma once
// A canvas that records its calls and a prompt that answers from a script,
// for tests of anything that draws or asks.
#include "base/prompt.h"
#include "geometry/canvas.h"

#include <deque>
#include <string>
#include <vector>

namespace zeran {

class RecordingCanvas : public Canvas {
public:
    struct Call {
        std::string op; // "line", "arc", "polyline", ...
        std::vector<DevicePoint> points;
        Colour colour = 0; // pen colour when the call was made
        PenMode mode = PenMode::Copy;
        std::string text;
    };
    std::vector<Call> calls;

    void set_pen_colour(Colour c) override {
        pen_colour_ = c;
        ++colour_changes;
    }
    Colour pen_colour() const override { return pen_colour_; }
    void set_pen_style(PenStyle s) override { pen_style_ = s; }
    PenStyle pen_style() const override { return pen_style_; }
    void set_pen_width(int w) override { pen_width_ = w; }
    int pen_width() const override { return pen_width_; }
    void set_pen_mode(PenMode m) override { pen_mode_ = m; }
    PenMode pen_mode() const override { return pen_mode_; }
    void set_brush(BrushStyle s, Colour c) override {
        brush_style_ = s;
        brush_colour_ = c;
    }
    BrushStyle brush_style() const override { return brush_style_; }
    Colour brush_colour() const override { return brush_colour_; }

    void line(DevicePoint a, DevicePoint b) override { record("line", {a, b}); }
    void polyline(const std::vector<DevicePoint>& p) override { record("polyline", p); }
    void polygon(const std::vector<DevicePoint>& p) override { record("polygon", p); }
    void ellipse(DevicePoint a, DevicePoint b) override { record("ellipse", {a, b}); }
    void arc(DevicePoint a, DevicePoint b, DevicePoint s, DevicePoint e) override {
        record("arc", {a, b, s, e});
    }
    void pixel(DevicePoint p, Colour c) override {
        record("pixel", {p});
        calls.back().colour = c;
    }
    void fill_rect(DevicePoint a, DevicePoint b, Colour c) override {
        record("fill_rect", {a, b});
        calls.back().colour = c;
    }
    void set_font_height(int h) override { font_height = h; }
    void set_font_colour(Colour c) override { font_colour = c; }
    void set_text_align(TextAlign a) override { align = a; }
    void text(DevicePoint at, const std::string& s) override {
        record("text", {at});
        calls.back().text = s;
    }

    int colour_changes = 0;
    int font_height = 0;
    Colour font_colour = 0;
    TextAlign align = TextAlign::Left;

private:
    void record(const char* op, std::vector<DevicePoint> pts) {
        calls.push_back({op, std::move(pts), pen_colour_, pen_mode_, {}});
    }
    Colour pen_colour_ = 0;
    PenStyle pen_style_ = PenStyle::Solid;
    int pen_width_ = 1;
    PenMode pen_mode_ = PenMode::Copy;
    BrushStyle brush_style_ = BrushStyle::Solid;
    Colour brush_colour_ = 0xFFFFFF;
};

// Answers from a queue; an empty queue answers the first button offered.
// Every question is kept in `asked` for the test to check.
class ScriptedPrompt : public Prompt {
public:
    std::deque<Answer> answers;
    std::deque<int> choices;
    std::vector<std::string> asked;
    std::vector<std::string> told;

    Answer ask(MessageKind, const std::string& text, const std::vector<Answer>& buttons) override {
        asked.push_back(text);
        if (answers.empty()) return buttons.empty() ? Answer::Ok : buttons.front();
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void tell(MessageKind, const std::string& text) override { told.push_back(text); }
    int choose(const std::string& title, const std::vector<std::string>&,
               int preselected) override {
        asked.push_back(title);
        if (choices.empty()) return preselected;
        int c = choices.front();
        choices.pop_front();
        return c;
    }
};

} // namespace zeran
