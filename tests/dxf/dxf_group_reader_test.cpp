#include "dxf/dxf_group_reader.h"

#include "dxf/dxf_read_exception.h"
#include "dxf_test_support.h"

#include <gtest/gtest.h>

namespace zeran {
namespace {

using test::RecordingProgress;

// The text must outlive the reader: literals or named strings only.
DXF_GroupReader groups_of(std::string_view text, Progress* progress = nullptr) {
    return DXF_GroupReader(std::make_unique<MemoryByteSource>(text), progress);
}

std::vector<std::pair<int, std::string>> all_groups(DXF_GroupReader& g) {
    std::vector<std::pair<int, std::string>> out;
    for (int code = g.next(); code >= 0; code = g.next()) out.emplace_back(code, g.value());
    return out;
}

TEST(DxfGroupReader, LineEndsBlankCodeLinesAndLineCount) {
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "LINE"}, {8, "A B"}, {10, "1.5"}};
    for (const std::string text :
         {"0\nLINE\n8\nA B\n10\n1.5\n", "  0\r\nLINE\r\n8\r\nA B\r\n10\r\n1.5\r\n",
          "\n0\nLINE\n\n8\nA\r B\n\n\n10\n1.5\n"}) {
        auto g = groups_of(text);
        EXPECT_EQ(all_groups(g), expected) << text;
    }
    // Empty lines in the code position are counted, and so is the failed read at the end.
    auto g = groups_of("0\nLINE\n\n8\nA\n");
    g.next();
    EXPECT_EQ(g.line_number(), 2);
    g.next();
    EXPECT_EQ(g.line_number(), 5);
    EXPECT_EQ(g.next(), DXF_GroupReader::kBadGroup);
    EXPECT_EQ(g.line_number(), 6);
}

TEST(DxfGroupReader, BadGroupsEndReading) {
    auto no_code = groups_of("0\nLINE\nabc\nX\n0\nARC\n");
    EXPECT_EQ(no_code.next(), 0);
    EXPECT_EQ(no_code.next(), DXF_GroupReader::kBadGroup);
    // A value line without its line end cannot be read.
    auto cut = groups_of("0\nLINE\n0\nEOF");
    EXPECT_EQ(cut.next(), 0);
    EXPECT_EQ(cut.next(), DXF_GroupReader::kBadGroup);
    auto empty = groups_of("");
    EXPECT_LT(empty.next(), 0);
}

TEST(DxfGroupReader, LongLinesAndLinesAcrossBlocks) {
    // A CR LF split over the block boundary, and a 300-character value.
    const std::string text = "999\n" + std::string(DXF_GroupReader::kBlockSize - 5, 'x') +
                             "\r\n1\n" + std::string(300, 'y') + "\r\n0\nEOF\n";
    ASSERT_EQ(text[DXF_GroupReader::kBlockSize - 1], '\r');
    auto g = groups_of(text);
    EXPECT_EQ(g.next(), 999);
    EXPECT_EQ(g.value(), std::string(255, 'x'));
    EXPECT_EQ(g.next(), 1);
    EXPECT_EQ(g.value(), std::string(255, 'y'));
    EXPECT_EQ(g.next(), 0);
    EXPECT_EQ(g.value(), "EOF");
}

TEST(DxfGroupReader, PushBackAndGoingBackToAMark) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "10\n" + std::to_string(i) + "\n";
    RecordingProgress progress;
    auto g = groups_of(text, &progress);
    EXPECT_EQ(progress.max, static_cast<long long>(text.size() / 4096));
    g.next();
    g.push_back();
    EXPECT_EQ(g.next(), 10);
    EXPECT_EQ(g.value(), "0");
    g.next();
    g.push_back();
    const auto mark = g.mark();
    const long long line = g.line_number();
    for (int i = 0; i < 1500; ++i) g.next();
    EXPECT_EQ(g.value(), "1500");
    EXPECT_GE(progress.position, 2);
    g.go_back(mark);
    // The pushed-back group is delivered again, then reading goes on from the
    // mark, counting lines from there.
    EXPECT_EQ(g.next(), 10);
    EXPECT_EQ(g.value(), "1");
    g.next();
    EXPECT_EQ(g.value(), "2");
    EXPECT_EQ(g.line_number(), line + 2);
}

TEST(DxfGroupReader, NumberSpellings) {
    double r = 0;
    for (const char* good : {"12.5", "  12.5", "-.5", "1e3", "+2", "1.", "-0", "1E-05"})
        EXPECT_TRUE(parse_dxf_real(good, r)) << good;
    for (const char* bad : {"", " ", "1,5", "12.5 ", "inf", "nan", "-inf", "1e999", "0x10", "1.2.3",
                            "--1", "+-1", "e5"})
        EXPECT_FALSE(parse_dxf_real(bad, r)) << bad;
    int i = 0;
    EXPECT_TRUE(parse_dxf_int("   -7", i));
    EXPECT_EQ(i, -7);
    EXPECT_TRUE(parse_dxf_int("+256", i));
    EXPECT_EQ(i, 256);
    for (const char* bad : {"", "4.0", "1 ", "2147483648", "abc", "0x1"})
        EXPECT_FALSE(parse_dxf_int(bad, i)) << bad;

    auto g = groups_of("10\n1,5\n70\n2.0\n");
    g.next();
    try {
        (void)g.real();
        FAIL();
    } catch (const DXF_read_exception& e) {
        EXPECT_STREQ(e.what(),
                     "Invalid Floating point conversion\r\nError occured at or near line number 2");
    }
    g.next();
    EXPECT_THROW((void)g.integer(), DXF_read_exception);
}

} // namespace
} // namespace zeran
