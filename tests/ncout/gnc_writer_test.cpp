// The GNC writer: the worked example line for line, every move kind, tool
// changes, progress, number and locale forms, and files that cannot be made.
#include "base/file_io.h"
#include "cycles/can_cycle.h"
#include "ncout/gnc_reader.h"
#include "ncout/gnc_writer.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zeran {
namespace {

namespace fs = std::filesystem;

// 14 March 2005 as days since 30 December 1899.
constexpr double kMarch14th2005 = 38425;

std::unique_ptr<TCanCycle> cycle(CycleKind kind, int tool, double feed, double speed, bool fpr,
                                 bool css, std::string comment = {}) {
    auto c = std::make_unique<TCanCycle>();
    c->Kind = kind;
    c->ToolNumber = tool;
    c->Params.Feed = feed;
    c->Params.Speed = speed;
    c->Params.UseFPR = fpr;
    c->Params.UseCSS = css;
    c->Comment = std::move(comment);
    return c;
}

void move(TCanCycle& c, int motion, double x, double z, double feed) {
    auto* r = c.NewRecord();
    r->SetGroup(kGroupMotion, motion);
    r->SetWord(kWordX, x);
    r->SetWord(kWordZ, z);
    r->SetWord(kWordFeed, feed);
    c.Moves.push_back(r);
}

void arc(TCanCycle& c, int motion, double x, double z, double cx, double cz, double sweep,
         double feed) {
    move(c, motion, x, z, feed);
    auto* r = c.Moves.back();
    r->SetWord(kWordCentreX, cx);
    r->SetWord(kWordCentreZ, cz);
    r->SetWord(kWordSweep, sweep);
}

// The thread pair as the threading cycle makes it: no presence flags.
void thread(TCanCycle& c, double x0, double z0, double x1, double z1) {
    auto* s = c.NewRecord();
    s->Groups[kGroupMotion] = kMotionThread;
    s->Words[kWordX] = x0;
    s->Words[kWordZ] = z0;
    s->Words[kWordThread7] = 1;    // finishing passes
    s->Words[kWordThread8] = 0.05; // minimum cut
    s->Words[kWordRadius] = 0.1;   // X allowance
    s->Words[kWordSweep] = 60;     // tip angle
    s->Words[kWordThread18] = 10;  // chamfer
    auto* e = c.NewRecord();
    e->Groups[kGroupMotion] = kMotionThread;
    e->Words[kWordX] = x1;
    e->Words[kWordZ] = z1;
    e->Words[kWordThread7] = 0.92; // depth
    e->Words[kWordThread8] = 0.3;  // first cut
    e->Words[kWordFeed] = 1.5;     // pitch
    c.Moves.push_back(s);
    c.Moves.push_back(e);
}

struct RecordingProgress : Progress {
    std::vector<std::pair<long long, long long>> calls;
    void progress(long long max, long long position) override { calls.emplace_back(max, position); }
    void show_busy(const std::string&) override {}
    void hide_busy() override {}
};

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) break;
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

TEST(GncWriter, ReproducesTheWorkedShaftExampleLineForLine) {
    THeader header;
    header.BilletRadius = 25;
    header.BilletLength = 100;
    header.ProjectName = "/home/ann/jobs/shaft.tcf";
    header.Date = kMarch14th2005 + 0.61; // the time of day does not show
    auto c = cycle(CycleKind::Finishing, 1, 0.2, 1200, true, false);
    move(*c, kMotionRapid, 12.5, 2, 0.2);
    move(*c, kMotionLinear, 12.5, -40, 0.2);
    TGNCOutput w;
    w.Header = &header;
    w.AppendCycle(c.get());

    fs::path path = test::scratch_dir("zeran_gnc") += ".gnc";
    w.WriteFile(path.string());
    EXPECT_EQ(w.FileName, path.string());
    auto golden = read_file(std::string(ZERAN_TEST_DATA) + "/ncout/shaft_example.gnc");
    ASSERT_TRUE(golden);
    EXPECT_EQ(*read_file(path.string()), *golden);
    fs::remove(path);
}

TEST(GncWriter, EveryMoveKindToolChangesAndComments) {
    THeader header;
    header.Author = "Ann"; // a line break in a text cannot split its line
    header.ProjectName = "two\r\nlines.tcf";
    header.Units = 1;
    header.BilletRadius = 1.25; // no length: both dimension lines stay empty
    header.Date = kMarch14th2005;
    auto rough = cycle(CycleKind::AlongX, 2, 0.01, 400, true, true, "OD");
    move(*rough, kMotionRapid, 2.5e-5, 0.1, 0.01);
    move(*rough, kMotionLinear, 0.5, -1.25, 0.01);
    arc(*rough, kMotionClockwise, 0.6, -1.35, 0.6, -1.25, 90, 0.01);
    arc(*rough, kMotionCounterClockwise, 0.7, -1.45, 0.7, -1.35, 90, 0.01);
    move(*rough, 5, 1, 1, 1); // no motion the writer knows
    auto same_tool = cycle(CycleKind::Finishing, 2, 0.005, 500, false, false);
    move(*same_tool, kMotionRapid, 1, 0.1, 0.005);
    auto threading = cycle(CycleKind::Threading, 4, 1.5, 300, true, false);
    move(*threading, kMotionRapid, 0.6, 0.2, 1.5);
    thread(*threading, 0.5, 0, 0.5, -1);
    auto dangling = cycle(CycleKind::Threading, 0, 1, 1, false, false);
    thread(*dangling, 0.5, 0, 0.5, -1);
    dangling->Moves.pop_back(); // a start record with nothing after it

    TGNCOutput w;
    w.Header = &header;
    RecordingProgress progress;
    w.OnProgress = &progress;
    for (auto* c : {rough.get(), same_tool.get(), threading.get(), dangling.get()})
        w.AppendCycle(c);
    std::string text = w.Text(',');
    auto all = lines_of(text);
    std::vector<std::string> head(all.begin(), all.begin() + 28);
    EXPECT_EQ(head, (std::vector<std::string>{"string machine_type(4) = \"TURN\"",
                                              "repeat",
                                              "metric = false",
                                              "real x_datum = 0",
                                              "real z_datum = 0",
                                              "real x_dimension",
                                              "real z_dimension",
                                              "PROJECT = \"Spindra Turning - two  lines.tcf\"",
                                              "DATE = \"14/03/2005\"",
                                              "PROGID = 99",
                                              "comment_text = \"Author - Ann\"",
                                              "COMMENT",
                                              "PROLOGUE",
                                              "no_of_tools = 4",
                                              "tool = 2",
                                              "tool_offset_id = 2",
                                              "DEFINE_TOOL",
                                              "tool = 2",
                                              "tool_offset_id = 2",
                                              "DEFINE_TOOL",
                                              "tool = 4",
                                              "tool_offset_id = 4",
                                              "DEFINE_TOOL",
                                              "tool = 0",
                                              "tool_offset_id = 0",
                                              "DEFINE_TOOL",
                                              "tools_defined",
                                              "comment_text = \"Along X - (OD)\""}));
    auto rest = std::vector<std::string>(all.begin() + 28, all.end());
    EXPECT_EQ(
        rest,
        (std::vector<std::string>{
            "COMMENT", "tool = 2", "tool_offset_id = 2", "CHANGE_TOOL", "FPR_On = 1", "feed = 0,01",
            "CHANGE_FEED", "CSS_On = 1", "spindle = 400", "CHANGE_SPINDLE", "x = 5E-5", "z = 0,1",
            "feed = 0,01", "FAST_TRAV", "x = 1", "z = -1,25", "feed = 0,01", "LINEAR_TRAV",
            "cx = 1,2", "cz = -1,25", "angle = 90", "feed = 0,01", "CIRC_TRAV", "cx = 1,4",
            "cz = -1,35", "angle = -90", "feed = 0,01", "CIRC_TRAV",
            // same tool: no change, but feed and spindle again
            "FPR_On = 0", "feed = 0,005", "CHANGE_FEED", "CSS_On = 0", "spindle = 500",
            "CHANGE_SPINDLE", "x = 2", "z = 0,1", "feed = 0,005", "FAST_TRAV", "tool = 4",
            "tool_offset_id = 4", "CHANGE_TOOL", "FPR_On = 1", "feed = 1,5", "CHANGE_FEED",
            "CSS_On = 0", "spindle = 300", "CHANGE_SPINDLE", "x = 1,2", "z = 0,2", "feed = 1,5",
            "FAST_TRAV", "x = 0,08", "z = -1", "PITCH = 1,5", "X_INC = 0,3", "MIN_CUT_DEPTH = 0,05",
            "FINISH_PASSES = 1", "THREAD_CHAMFER = 10", "THREAD_ANGLE = 60", "THREAD_DEPTH = 0,92",
            "FINISH_ALLOWANCE = 0,1", "THREAD_CYCLE",
            // tool 0 after tool 4 is a change; the lone start writes nothing
            "tool = 0", "tool_offset_id = 0", "CHANGE_TOOL", "FPR_On = 0", "feed = 1",
            "CHANGE_FEED", "CSS_On = 0", "spindle = 1", "CHANGE_SPINDLE", "EPILOGUE"}));

    // Progress: the total first, then one call per record, every record counted.
    ASSERT_EQ(progress.calls.size(), 11u);
    EXPECT_EQ(progress.calls.front(), (std::pair<long long, long long>{10, 0}));
    for (std::size_t i = 1; i < progress.calls.size(); ++i)
        EXPECT_EQ(progress.calls[i], (std::pair<long long, long long>{-1, (long long)i}));
    EXPECT_EQ(w.CurrentTool(), 0);
}

TEST(GncWriter, EmptyListBlankHeaderAndARewrite) {
    TGNCOutput w;
    w.Header = w.BlankHeader();
    w.BlankHeader()->ProjectName = "Untitled.tcf";
    RecordingProgress progress;
    w.OnProgress = &progress;
    auto all = lines_of(w.Text());
    EXPECT_EQ(all[7], "PROJECT = \"Spindra Turning - Untitled.tcf\"");
    EXPECT_EQ(all[8], "DATE = \"30/12/1899\"");
    EXPECT_EQ(
        std::vector<std::string>(all.begin() + 10, all.end()),
        (std::vector<std::string>{"PROLOGUE", "no_of_tools = 0", "tools_defined", "EPILOGUE"}));
    EXPECT_EQ(progress.calls, (std::vector<std::pair<long long, long long>>{{0, 0}}));

    // Clear forgets the cycles and the tool; a second write starts from tool 0.
    auto c = cycle(CycleKind::Drilling, 3, 50, 900, false, false);
    w.AppendCycle(c.get());
    std::string first = w.Text();
    EXPECT_EQ(w.CurrentTool(), 3);
    EXPECT_EQ(w.Text(), first);
    w.Clear();
    EXPECT_TRUE(w.Cycles().empty());
    EXPECT_EQ(w.CurrentTool(), 0);
}

TEST(GncWriter, WhatItWritesPostsThroughEveryMachine) {
    THeader header;
    header.Date = kMarch14th2005;
    auto c = cycle(CycleKind::Finishing, 1, 0.1, 200, true, true, "Finish (OD)");
    move(*c, kMotionRapid, 10, 2, 0.1);
    move(*c, kMotionLinear, 10, -20, 0.1);
    arc(*c, kMotionClockwise, 15, -25, 15, -20, 90, 0.1);
    TGNCOutput w;
    w.Header = &header;
    w.AppendCycle(c.get());
    std::string data = std::string(ZERAN_SOURCE_DIR) + "/postvex/data/Libs/";
    for (const char* lib : {"Fanucl.slb", "Haasl.slb", "LinuxCNCl.slb"}) {
        SCOPED_TRACE(lib);
        // A decimal comma in the GNC file reads the same as a point.
        std::string program = post_process(read_gnc(w.Text(',')), PostLibrary::load(data + lib));
        EXPECT_EQ(program, post_process(read_gnc(w.Text('.')), PostLibrary::load(data + lib)));
        EXPECT_NE(program.find("X30"), std::string::npos) << program;
        // The comment's brackets cannot nest inside a G-code comment.
        std::string upper = program;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_NE(upper.find("(FINISHING - FINISH OD)"), std::string::npos) << program;
    }
}

TEST(GncWriter, AFileThatCannotBeCreatedIsReportedAndTheOldOneIsGone) {
    TGNCOutput w;
    w.Header = w.BlankHeader();
    fs::path dir = test::scratch_dir("zeran_gnc_missing");
    fs::remove_all(dir);
    std::string path = (dir / "ZERAN.gnc").string();
    try {
        w.WriteFile(path);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file " + path + ": No such file or directory");
    }
    EXPECT_EQ(w.FileName, path);
}

} // namespace
} // namespace zeran
