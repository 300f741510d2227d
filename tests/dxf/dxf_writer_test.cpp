#include "base/file_io.h"
#include "dxf/dxf_writer.h"
#include "geometry/block_entities.h"
#include "geometry/drawing_tree.h"
#include "geometry/dxf_output.h"
#include "geometry/polyline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numbers>

namespace zeran {
namespace {

using Group = std::pair<std::string, std::string>;

// Splits DXF text into (code, value) pairs; every line must end in CR LF.
std::vector<Group> groups(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line without CR LF at " << at;
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(lines.size() % 2, 0u);
    std::vector<Group> out;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) out.emplace_back(lines[i], lines[i + 1]);
    return out;
}

// The groups an entity writes for itself on layer "L".
std::vector<Group> entity_groups(const DXF_Entity& e) {
    std::string s;
    DxfOutput out(s);
    e.write_to_dxf(out, "L");
    return groups(s);
}

// Position of `part` as a contiguous run inside `all`, or -1.
long find_run(const std::vector<Group>& all, const std::vector<Group>& part) {
    auto it = std::search(all.begin(), all.end(), part.begin(), part.end());
    return it == all.end() ? -1 : static_cast<long>(it - all.begin());
}

std::unique_ptr<DXF_Layer> layer_with_line(const std::string& name, int colour) {
    auto layer = std::make_unique<DXF_Layer>(name, colour);
    layer->add_entity(std::make_unique<Line_>(Point3D{0, 0, 0}, 7, Point3D{10, 5, 0}));
    return layer;
}

TEST(DxfWriter, ReproducesTheOneLineDrawingByteForByte) {
    LayerList layers;
    layers.push_back(layer_with_line("0", 7));
    DXF_Object drawing("one_line.dxf", std::move(layers), {}, {});
    const auto golden = read_file(ZERAN_TEST_DATA "/one_line.tdx");
    ASSERT_TRUE(golden.has_value());
    EXPECT_EQ(dxf_text(drawing), *golden);
}

TEST(DxfWriter, EmptyDrawingAndLayerTable) {
    LayerList layers;
    layers.push_back(std::make_unique<DXF_Layer>("0", 7));
    layers.push_back(std::make_unique<DXF_Layer>("CUT", -3));
    DXF_Writer writer(layers);
    const auto g = groups(writer.text());
    EXPECT_GE(find_run(g, {{"9", "$EXTMIN"},
                           {"10", "10000000000"},
                           {"20", "10000000000"},
                           {"30", "10000000000"},
                           {"9", "$EXTMAX"},
                           {"10", "-10000000000"}}),
              0);
    EXPECT_GE(find_run(g, {{"2", "LAYER"},
                           {"0", "LAYER"},
                           {"2", "0"},
                           {"62", "7"},
                           {"0", "LAYER"},
                           {"2", "CUT"},
                           {"62", "-3"},
                           {"0", "ENDTAB"}}),
              0);
    EXPECT_GE(find_run(g, {{"2", "BLOCKS"}, {"0", "ENDSEC"}}), 0);
    EXPECT_GE(find_run(g, {{"2", "ENTITIES"}, {"0", "ENDSEC"}, {"0", "EOF"}}), 0);
    EXPECT_EQ(g.back(), (Group{"0", "EOF"}));
}

TEST(DxfWriter, HeaderExtentsUseTheShortForm) {
    LayerList layers;
    auto layer = std::make_unique<DXF_Layer>("A", 1);
    layer->add_entity(std::make_unique<Point_>(Z_AXIS, 7, Point3D{12.5, -0.00005, -1e16}));
    layers.push_back(std::move(layer));
    DXF_Writer writer(layers);
    const auto g = groups(writer.text());
    EXPECT_GE(find_run(g, {{"9", "$EXTMIN"}, {"10", "12.5"}, {"20", "-5E-5"}, {"30", "-1E16"}}), 0);
    // Extents start at 1e10 either way, so a far point moves only one side.
    EXPECT_EQ(writer.max_extent(), (Point3D{12.5, -0.00005, -1e10}));
}

TEST(DxfWriter, BlocksComeOnlyFromTheLastLayerZero) {
    auto make_layer = [](const std::string& name, const std::string& block) {
        auto layer = std::make_unique<DXF_Layer>(name, 7);
        auto b = std::make_unique<Block_>(block, Point3D{1, 2, 0});
        b->add(std::make_unique<Point_>(Z_AXIS, 7, Point3D{3, 3, 0}));
        layer->add_entity(std::move(b));
        layer->add_entity(std::make_unique<Insert_>(Z_AXIS, block,
                                                    std::vector<std::unique_ptr<Attrib_>>{}, 7, 0,
                                                    Point3D{1, 1, 1}, Point3D{0, 0, 0}));
        return layer;
    };
    LayerList layers;
    layers.push_back(make_layer("0", "FIRST"));
    layers.push_back(make_layer("X", "OTHER"));
    layers.push_back(make_layer("0", "LAST"));
    DXF_Object drawing("d", std::move(layers), {}, {});
    const auto g = groups(dxf_text(drawing));
    const long blocks = find_run(g, {{"2", "BLOCKS"}});
    const long entities = find_run(g, {{"2", "ENTITIES"}});
    const long last = find_run(g, {{"0", "BLOCK"}, {"8", "0"}, {"2", "LAST"}});
    EXPECT_GT(last, blocks);
    EXPECT_LT(last, entities);
    EXPECT_EQ(find_run(g, {{"2", "FIRST"}, {"10", "1.000"}}), -1);
    EXPECT_EQ(find_run(g, {{"2", "OTHER"}, {"10", "1.000"}}), -1);
    EXPECT_GE(find_run(g, {{"10", "3.000"}, {"20", "3.000"}, {"30", "0.000"}, {"0", "ENDBLK"}}),
              last);
    // The insertions are entities of their own layers.
    EXPECT_GT(find_run(g, {{"0", "INSERT"}, {"8", "X"}}), entities);

    // Once layer "0" is renamed for the tree, its blocks are no longer written.
    DrawingTree tree;
    drawing.fill_tree(tree);
    EXPECT_EQ(find_run(groups(dxf_text(drawing)), {{"0", "BLOCK"}}), -1);
}

TEST(DxfWriter, PointFamilyGroups) {
    Arc_ arc({0, 0, -1}, -5, 0, 0, 2, {12345.6789, -0.0001, 0});
    arc.start_angle = std::numbers::pi / 2;
    arc.end_angle = std::numbers::pi;
    EXPECT_EQ(entity_groups(arc), (std::vector<Group>{{"0", "ARC"},
                                                      {"8", "L"},
                                                      {"62", "-5"},
                                                      {"210", "0.000"},
                                                      {"220", "0.000"},
                                                      {"230", "-1.000"},
                                                      {"10", "12345.680"},
                                                      {"20", "0.000"},
                                                      {"30", "0.000"},
                                                      {"40", "2.000"},
                                                      {"50", "90.000"},
                                                      {"51", "180.000"}}));
    Circle_ circle(Z_AXIS, 256, 1.5, ORIGIN);
    const auto c = entity_groups(circle);
    EXPECT_EQ(c[2], (Group{"62", "256"}));
    EXPECT_EQ(c[3], (Group{"10", "0.000"}));
    EXPECT_EQ(c.back(), (Group{"40", "1.500"}));
}

TEST(DxfWriter, TextAndAttributeGroups) {
    Text_ left(Z_AXIS, 0, 7, 2.5, "Part 7", {4, 4, 0}, {1, 1, 0});
    EXPECT_EQ(entity_groups(left), (std::vector<Group>{{"0", "TEXT"},
                                                       {"8", "L"},
                                                       {"62", "7"},
                                                       {"10", "1.000"},
                                                       {"20", "1.000"},
                                                       {"30", "0.000"},
                                                       {"40", "2.500"},
                                                       {"1", "Part 7"}}));
    Attdef_ def(Z_AXIS, 7, 1, 2, 1, "Number?", "12", "NO", {4, 4, 0}, {1, 1, 0});
    const auto d = entity_groups(def);
    EXPECT_GE(find_run(d, {{"1", "12"},
                           {"11", "4.000"},
                           {"21", "4.000"},
                           {"31", "0.000"},
                           {"72", "2"},
                           {"2", "NO"},
                           {"70", "1"},
                           {"3", "Number?"}}),
              0);
    EXPECT_EQ(d[0], (Group{"0", "ATTDEF"}));
}

TEST(DxfWriter, InsertGroups) {
    Insert_ plain(Z_AXIS, "A", {}, 7, 0, {1, 1, 1}, {5, 6, 0});
    EXPECT_EQ(entity_groups(plain), (std::vector<Group>{{"0", "INSERT"},
                                                        {"8", "L"},
                                                        {"62", "7"},
                                                        {"210", "0.000"},
                                                        {"220", "0.000"},
                                                        {"230", "1.000"},
                                                        {"10", "5.000"},
                                                        {"20", "6.000"},
                                                        {"30", "0.000"},
                                                        {"2", "A"},
                                                        {"66", "0"}}));
    std::vector<std::unique_ptr<Attrib_>> attribs;
    attribs.push_back(std::make_unique<Attrib_>(Z_AXIS, 7, 1, 0, 0, "v", "T", ORIGIN, ORIGIN));
    Insert_ full(Z_AXIS, "", std::move(attribs), 7, 45, {2, 1, 1}, {5, 6, 0});
    const auto g = entity_groups(full);
    EXPECT_EQ(find_run(g, {{"2", ""}}), -1);
    EXPECT_GE(find_run(g, {{"30", "0.000"},
                           {"41", "2.000"},
                           {"42", "1.000"},
                           {"43", "1.000"},
                           {"50", "45.000"},
                           {"66", "1"},
                           {"0", "ATTRIB"},
                           {"8", "L"}}),
              0);
    EXPECT_EQ(g.back(), (Group{"0", "SEQEND"}));
}

TEST(DxfWriter, PolylineFamilyGroups) {
    Polyline_ open(Z_AXIS, Closed::No, 7, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(entity_groups(open), (std::vector<Group>{{"0", "POLYLINE"},
                                                       {"8", "L"},
                                                       {"62", "7"},
                                                       {"70", "8"},
                                                       {"0", "VERTEX"},
                                                       {"70", "32"},
                                                       {"10", "0.000"},
                                                       {"20", "0.000"},
                                                       {"30", "0.000"},
                                                       {"0", "VERTEX"},
                                                       {"70", "32"},
                                                       {"10", "1.000"},
                                                       {"20", "0.000"},
                                                       {"30", "0.000"},
                                                       {"0", "SEQEND"}}));
    Polyline_ closed(Z_AXIS, Closed::Yes, 7, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(entity_groups(closed)[3], (Group{"70", "9"}));

    Face3D_ face(7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    const auto f = entity_groups(face);
    EXPECT_EQ(f[0], (Group{"0", "3DFACE"}));
    EXPECT_EQ(f.size(), 3u + 12u);
    EXPECT_GE(find_run(f, {{"13", "1.000"}, {"23", "1.000"}, {"33", "0.000"}}), 0);

    Solid_ solid(Z_AXIS, 2.5, 7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    const auto s = entity_groups(solid);
    EXPECT_EQ(s[0], (Group{"0", "SOLID"}));
    ASSERT_EQ(s.back().first, "39");
    EXPECT_EQ(std::stod(s.back().second), 2.5);
    EXPECT_NE(s.back().second.find('E'), std::string::npos);
    // A solid's corners are in its own system, so its extrusion goes along.
    Solid_ tilted({0, 0, -1}, 0, 7, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    EXPECT_EQ(entity_groups(tilted)[3], (Group{"210", "0.000"}));

    Polygon_mesh_ mesh(7, 33, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, 2, 2);
    const auto m = entity_groups(mesh);
    EXPECT_GE(find_run(m, {{"62", "7"},
                           {"66", "1"},
                           {"70", "49"},
                           {"71", "2"},
                           {"72", "2"},
                           {"0", "VERTEX"},
                           {"70", "64"}}),
              0);

    Polyface_mesh_ faces(7, {{0, 1, 2, -1}}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    const auto p = entity_groups(faces);
    EXPECT_GE(find_run(p, {{"66", "1"}, {"70", "64"}, {"71", "3"}, {"72", "1"}}), 0);
    EXPECT_GE(find_run(p, {{"0", "VERTEX"}, {"70", "192"}}), 0);
    EXPECT_GE(find_run(p, {{"0", "VERTEX"},
                           {"70", "128"},
                           {"71", "1"},
                           {"72", "2"},
                           {"73", "3"},
                           {"74", "0"},
                           {"0", "SEQEND"}}),
              0);
}

TEST(DxfWriter, SavingReplacesTheFileOnlyWhenComplete) {
    const auto dir = std::filesystem::path(ZERAN_BINARY_DIR) / "dxf_writer_test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "part.tdx").string();
    LayerList layers;
    layers.push_back(layer_with_line("0", 7));
    DXF_Object drawing("part.dxf", std::move(layers), {}, {});
    write_dxf_file(drawing, path);
    EXPECT_EQ(read_file(path), dxf_text(drawing));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));

    const std::string missing = (dir / "no_such_folder" / "part.tdx").string();
    EXPECT_THROW(write_dxf_file(drawing, missing), DxfWriteError);
}

} // namespace
} // namespace zeran
