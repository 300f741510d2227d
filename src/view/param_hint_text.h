#pragma once
// What the parameter hint says about a cycle: one entry per line with an
// "ok" flag (lines not ok are painted red) and the text the hint shows.
#include <string>
#include <vector>

namespace zeran {

class TParamControls;

struct HintLine {
    std::string text; // with its leading space
    bool ok = true;
};

struct ParamHintText {
    // Entry 0 is "Status: ", entry 1 the status word painted beside it; from
    // entry 2 on, entry i is shown on line i - 1.
    std::vector<HintLine> lines;
    std::string text; // the shown lines, each ended by " " and a line break
    bool ready = false;
};

// Reads the parameter record from the node's object (as its dialog holds it).
ParamHintText build_param_hint(TParamControls& node, char separator);
// Adds, in red, why the cycle made no tool path; the status turns "Not Ready".
void add_hint_trouble(ParamHintText& hint, const std::string& reason);

} // namespace zeran
