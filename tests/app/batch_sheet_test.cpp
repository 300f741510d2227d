// zeran --sheet as a user runs it without a display: exit status, messages,
// and a PDF whose text can be searched.
#include <gtest/gtest.h>

#include <algorithm>
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

// Blanks and line ends run together, as a search in a viewer sees the text.
std::string simplified(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f';
        if (blank) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

class BatchSheet : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zeran_batch_sheet_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        for (const char* f : {"shaft.tcf", "shaft.dxf", "bushing.tcf", "bushing.dxf", "ZERAN.tmf"})
            fs::copy_file(fs::path(ZERAN_SOURCE_DIR) / "examples" / f, dir / f,
                          fs::copy_options::overwrite_existing);
        // A build without the window library has no sheet to paint.
        run("--sheet");
        if (err.find("built with its window") != std::string::npos)
            GTEST_SKIP() << "zeran was built without its window";
    }
    void TearDown() override { fs::remove_all(dir); }

    // Without any display; HOME points at the scratch folder.
    int run(const std::string& args) {
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=" + dir.string() +
            " XDG_CONFIG_HOME=" + (dir / "config").string() + " " + std::string(ZERAN_BINARY_DIR) +
            "/src/app/zeran " + args + " >" + (dir / "out").string() + " 2>" +
            (dir / "err").string();
        const int rc = std::system(command.c_str());
        out = slurp(dir / "out");
        err = slurp(dir / "err");
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    // The PDF's text, or empty when pdftotext is not installed.
    std::string pdf_text(const fs::path& pdf) {
        if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) return {};
        const fs::path txt = dir / "text.txt";
        const std::string command = "pdftotext " + pdf.string() + " " + txt.string();
        if (std::system(command.c_str()) != 0) return {};
        return simplified(slurp(txt));
    }
    std::string p(const char* name) const { return (dir / name).string(); }

    fs::path dir;
    std::string out, err;
};

TEST_F(BatchSheet, WritesSearchablePdfsOfTheExamples) {
    for (const char* project : {"shaft.tcf", "bushing.tcf"}) {
        const fs::path pdf = dir / (std::string(project) + ".pdf");
        ASSERT_EQ(run("--sheet " + p(project) + " --output " + pdf.string()), 0) << err;
        const std::string bytes = slurp(pdf);
        ASSERT_EQ(bytes.rfind("%PDF-", 0), 0u) << project;
        const std::string text = pdf_text(pdf);
        if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
        EXPECT_NE(text.find(std::string("Spindra Turning - ") + project), std::string::npos)
            << text;
        EXPECT_NE(text.find("1 - "), std::string::npos) << text;
        EXPECT_NE(text.find("Tool "), std::string::npos) << text;
        EXPECT_NE(text.find("Billet - Radius="), std::string::npos) << text;
        EXPECT_NE(text.find("Author - ZERAN examples"), std::string::npos) << text;
    }
    // The project files are only read.
    EXPECT_EQ(slurp(dir / "shaft.tcf"),
              slurp(fs::path(ZERAN_SOURCE_DIR) / "examples" / "shaft.tcf"));
}

TEST_F(BatchSheet, ExitCodesAndMessages) {
    EXPECT_EQ(run("--sheet"), 2);
    EXPECT_NE(err.find("usage: --sheet PROJECT.tcf --output SHEET.pdf"), std::string::npos);
    EXPECT_EQ(run("--sheet " + p("shaft.tcf")), 2);
    EXPECT_EQ(run("--sheet " + p("shaft.tcf") + " --output"), 2);
    EXPECT_EQ(run("--sheet " + p("shaft.tcf") + " --machine X --output " + p("a.pdf")), 2);
    EXPECT_FALSE(fs::exists(dir / "a.pdf"));

    // A project that is not there, or not a project: bad input, one line, no file.
    EXPECT_EQ(run("--sheet " + p("none.tcf") + " --output " + p("b.pdf")), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_FALSE(fs::exists(dir / "b.pdf"));
    std::ofstream(dir / "junk.tcf") << "not a project\n";
    EXPECT_EQ(run("--sheet " + p("junk.tcf") + " --output " + p("c.pdf")), 1);
    EXPECT_FALSE(fs::exists(dir / "c.pdf"));

    // An output that cannot be written: bad input, and an old file is kept whole.
    EXPECT_EQ(run("--sheet " + p("shaft.tcf") + " --output " + p("no/such/d.pdf")), 1);
    EXPECT_NE(err.find("d.pdf"), std::string::npos) << err;
    fs::create_directories(dir / "ro");
    std::ofstream(dir / "ro" / "e.pdf") << "old";
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_EQ(run("--sheet " + p("shaft.tcf") + " --output " + p("ro/e.pdf")), 1);
        EXPECT_EQ(slurp(dir / "ro" / "e.pdf"), "old");
    }
    fs::permissions(dir / "ro", fs::perms::owner_all);

    // The sheet never replaces the project or its drawing.
    const std::string project = slurp(dir / "shaft.tcf");
    EXPECT_EQ(run("--sheet " + p("shaft.tcf") + " --output " + p("shaft.tcf")), 2);
    EXPECT_EQ(run("--sheet " + p("shaft.tcf") + " --output " + p("shaft.dxf")), 2);
    EXPECT_EQ(slurp(dir / "shaft.tcf"), project);
    EXPECT_NE(err.find("choose another output"), std::string::npos) << err;

    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(out.find("--sheet PROJECT.tcf --output SHEET.pdf"), std::string::npos);
}

} // namespace
