// zeran --info and --convert as a user runs them: output, messages and exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class BatchDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zeran_batch_drawing_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Exit status; standard output and error land in `out` and `err`.
    int run(const std::string& args) {
        const std::string command = std::string(ZERAN_BINARY_DIR) + "/src/app/zeran " + args +
                                    " >" + (dir / "out").string() + " 2>" + (dir / "err").string();
        const int rc = std::system(command.c_str());
        out = slurp(dir / "out");
        err = slurp(dir / "err");
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    fs::path write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    }
    static std::string data(const std::string& name) {
        return std::string(ZERAN_SOURCE_DIR) + "/tests/data/" + name;
    }
    static int lines(const std::string& s) {
        return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
    }

    fs::path dir;
    std::string out, err;
};

TEST_F(BatchDrawing, InfoPrintsTheDrawingAsJson) {
    ASSERT_EQ(run("--info " + data("r12_shaft.dxf")), 0) << err;
    EXPECT_EQ(
        out,
        R"({"file": "r12_shaft.dxf", "layers": [)"
        R"({"name": "0", "colour": 7, "entities": {"Block_": 1, "Point_": 1, "Text_": 1, "Insert_": 1}}, )"
        R"({"name": "PROFILE", "colour": 1, "entities": {"Line_": 3, "Arc_": 1, "Polyline_": 2}}, )"
        R"({"name": "CENTRE_LINE", "colour": 5, "entities": {"Line_": 1, "Circle_": 1}}], )"
        R"("extmin": [-5, -2.5, 0], "extmax": [120, 40, 0], "skipped": {}, )"
        R"("skipped_other": {"LTYPE": 1, "STYLE": 1}})"
        "\n");
    EXPECT_EQ(err, "");

    // Names are escaped; bytes of a single-byte code page become their Latin-1 characters.
    const fs::path odd = write("odd.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nA\"B\\C\tD\xe9 Ø\n"
                                          "0\nHATCH\n0\nHATCH\n0\nENDSEC\n0\nEOF\n");
    ASSERT_EQ(run("--info " + odd.string()), 0) << err;
    EXPECT_NE(out.find(R"("name": "A\"B\\C\tD\u00e9 Ø")"), std::string::npos) << out;
    EXPECT_NE(out.find(R"("skipped": {"HATCH": 2}, "skipped_other": {}})"), std::string::npos)
        << out;
}

TEST_F(BatchDrawing, WarningsGoToStandardErrorAndAreAnsweredOk) {
    const fs::path f = write("warn.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nL\n10\n1,5\n"
                                         "0\nLINE\n8\nL\n0\nENDSEC\n0\nEOF\n");
    ASSERT_EQ(run("--info " + f.string()), 0);
    EXPECT_EQ(err, "zeran: warning: Invalid Floating point conversion - Error occured at or near "
                   "line number 10 [OK]\n");
    EXPECT_NE(out.find(R"("entities": {"Line_": 1})"), std::string::npos);
}

TEST_F(BatchDrawing, UnusableInputAndBadUsage) {
    EXPECT_EQ(run("--info " + (dir / "missing.dxf").string()), 1);
    EXPECT_EQ(lines(err), 1);
    EXPECT_NE(err.find("missing.dxf"), std::string::npos);
    EXPECT_EQ(out, "");

    EXPECT_EQ(run("--info " + write("notes.txt", "just some notes\n").string()), 1);
    EXPECT_EQ(err, "zeran: error: No Entities or invalid Entities section in DXF file\n");
    EXPECT_EQ(out, "");

    EXPECT_EQ(run("--info"), 2);
    EXPECT_EQ(run("--info a.dxf b.dxf"), 2);
    EXPECT_EQ(run("--frobnicate"), 2);
    EXPECT_EQ(lines(err), 1);
    EXPECT_EQ(run("--convert " + data("r12_shaft.dxf")), 2);
    EXPECT_EQ(run("--convert " + data("r12_shaft.dxf") + " --output"), 2);
    EXPECT_FALSE(fs::exists(dir / "x.tdx"));
    EXPECT_EQ(run("--convert " + (dir / "missing.dxf").string() + " --output " +
                  (dir / "x.tdx").string()),
              1);
    EXPECT_FALSE(fs::exists(dir / "x.tdx"));

    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(out.rfind("zeran ", 0), 0u);
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(out.find("--convert DRAWING.dxf --output FILE.tdx"), std::string::npos);
}

TEST_F(BatchDrawing, ConvertIsRepeatableAndReadsBackTheSame) {
    for (const std::string name : {"r12_shaft.dxf", "ac1015_shaft.dxf", "entities_only.dxf"}) {
        const fs::path a = dir / "a.tdx", b = dir / "b.tdx", c = dir / "c.tdx";
        ASSERT_EQ(run("--convert " + data(name) + " --output " + a.string()), 0) << err;
        ASSERT_EQ(run("--convert " + data(name) + " --output " + b.string()), 0) << err;
        const std::string first = slurp(a);
        EXPECT_EQ(first, slurp(b)) << name;
        EXPECT_NE(first.find("\r\n"), std::string::npos);
        // The converted drawing converts to itself. Arcs of curves are rebuilt
        // from their ends and bulge, so the extents in the header may differ in
        // the last bits; everything after the header is the same.
        ASSERT_EQ(run("--convert " + a.string() + " --output " + c.string()), 0) << err;
        const std::string second = slurp(c);
        if (name == std::string("ac1015_shaft.dxf"))
            EXPECT_EQ(first.substr(first.find("TABLES")), second.substr(second.find("TABLES")));
        else
            EXPECT_EQ(first, second) << name;

        ASSERT_EQ(run("--info " + data(name)), 0);
        const std::string original = out.substr(out.find("\"layers\""));
        ASSERT_EQ(run("--info " + a.string()), 0);
        const std::string converted = out.substr(out.find("\"layers\""));
        // Same layers and counts; the writer leaves out the names the reader skipped.
        EXPECT_EQ(original.substr(0, original.find("\"extmin\"")),
                  converted.substr(0, converted.find("\"extmin\"")))
            << name;
    }
}

} // namespace
