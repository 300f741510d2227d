// Sources that are no DXF text (endless devices, binary files) end the
// reading with a message instead of running forever, and entities the reader
// could not read are counted as losses.
#include "dxf/dxf_reader.h"

#include "dxf_test_support.h"
#include "geometry/polyline.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zeran {
namespace {

using test::dxf_text;
using test::entities_section;

// Like /dev/zero: bytes without end and without a line end, size unknown.
class EndlessZeros final : public ByteSource {
public:
    long long read(char* buf, std::size_t n) override {
        std::memset(buf, 0, n);
        served += n;
        return static_cast<long long>(n);
    }
    bool seek(std::uint64_t) override { return true; }
    std::uint64_t size() const override { return 0; }
    std::uint64_t served = 0;
};

TEST(DxfBounds, AnEndlessSourceWithoutLineEndsStopsWithAMessage) {
    ScriptedPrompt prompt;
    NullProgress progress;
    auto source = std::make_unique<EndlessZeros>();
    const EndlessZeros* zeros = source.get();
    DXF_Reader reader(std::move(source), prompt, progress);
    reader.read_file();
    EXPECT_EQ(reader.stop_message(), "Line 1 has no line end within 65536 bytes; this is not a "
                                     "DXF text file");
    // Read once, not once per section search.
    EXPECT_LT(zeros->served, 2u * DXF_GroupReader::kMaxLineBytes);
    ASSERT_EQ(prompt.told.size(), 1u);
}

TEST(DxfBounds, OverlongLinesEndTheReadingButLongOnesAreCut) {
    const auto with_layer = [](std::size_t length) {
        return dxf_text("0 SECTION\n2 ENTITIES\n0 LINE\n") + "8\n" + std::string(length, 'x') +
               "\n" + dxf_text("10 0\n20 0\n11 1\n21 1\n0 ENDSEC\n0 EOF\n");
    };
    ScriptedPrompt prompt;
    const auto cut = test::read_dxf(with_layer(1000), prompt);
    EXPECT_EQ(cut.stop_message, "");
    EXPECT_EQ(cut.count(std::string(255, 'x'), "Line_"), 1);
    const auto refused = test::read_dxf(with_layer(100000), prompt);
    EXPECT_EQ(refused.stop_message,
              "Line 8 has no line end within 65536 bytes; this is not a DXF text file");
}

TEST(DxfBounds, EntitiesTheReaderCouldNotReadAreLosses) {
    std::string many = "0 POLYLINE\n8 P\n66 1\n70 0\n";
    for (int i = 0; i <= kMaxPolylineVertices; ++i) many += "0 VERTEX\n8 P\n10 1\n";
    many += "0 SEQEND\n";
    const std::string text = entities_section("0 LINE\n8 L\n10 0\n20 0\n11 1\n21 1\n"
                                              "0 LINE\n8 L\n10 1e999\n20 0\n11 1\n21 1\n"
                                              "0 CIRCLE\n8 L\n10 nan\n20 0\n40 1\n" +
                                              many + "0 SPLINE\n8 L\n0 HATCH\n8 L\n");
    ScriptedPrompt prompt;
    NullProgress progress;
    DXF_Reader reader(std::make_unique<MemoryByteSource>(text), prompt, progress);
    std::vector<std::string> lost, skipped;
    reader.set_lost_list(&lost);
    reader.set_skipped_list(&skipped);
    reader.read_file();
    EXPECT_EQ(reader.stop_message(), "");
    // A spline without control or fit points is a curve that could not be read.
    EXPECT_EQ(lost, (std::vector<std::string>{"LINE", "CIRCLE", "POLYLINE", "SPLINE"}));
    // Kinds the reader does not read at all stay skipped, not lost.
    EXPECT_NE(std::find(skipped.begin(), skipped.end(), "HATCH"), skipped.end());
}

} // namespace
} // namespace zeran
