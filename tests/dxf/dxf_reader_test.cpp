#include "dxf/dxf_reader.h"

#include "dxf_test_support.h"
#include "geometry/block_entities.h"
#include "geometry/point_entities.h"
#include "geometry/polyline.h"
#include "geometry/text_entities.h"

#include <gtest/gtest.h>

#include <numbers>

namespace zeran {
namespace {

using test::dxf_text;
using test::entities_section;
using test::read_dxf;
using test::RecordingProgress;

constexpr std::string_view kLineAt =
    "Error occured at or near line number "; // what every located message carries

TEST(DxfReader, EntityKindsAndTheirGroups) {
    ScriptedPrompt prompt;
    const std::string text = entities_section(R"(0 POINT
8 A
10 1
20 2
0 LINE
8 A
10 0
20 0
11 10
21 5
230 -1
0 CIRCLE
8 A
10 3
20 4
40 2
230 -1
0 ARC
8 A
10 0
20 0
40 10
50 0
51 90
0 TEXT
8 A
10 1
20 1
11 5
21 5
40 2.5
1 Shaft  Ø20
72 1
0 3DFACE
8 A
10 0
20 0
11 1
21 0
12 1
22 1
13 1
23 1
0 SOLID
8 A
10 0
20 0
11 1
21 0
12 1
22 1
13 0
23 1
39 2
0 ATTDEF
8 A
1 default
2 TAG
3 Enter it
70 1)");
    const auto d = read_dxf(text, prompt);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(d.stop_message.empty());
    const DXF_Layer* a = d.layer("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->list_names(), (std::vector<std::string>{"Point_", "Line_", "Circle_", "Arc_",
                                                         "Text_", "Face3D_", "Solid_", "Attdef_"}));
    const auto* line = dynamic_cast<const Line_*>(d.first("A", "Line_"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->end, (Point3D{10, 5, 0}));
    EXPECT_EQ(line->ocs(), nullptr); // a line ignores the extrusion
    const auto* circle = dynamic_cast<const Circle_*>(d.first("A", "Circle_"));
    EXPECT_NE(circle->ocs(), nullptr);
    EXPECT_EQ(circle->extrusion(), (Point3D{0, 0, -1}));
    const auto* arc = dynamic_cast<const Arc_*>(d.first("A", "Arc_"));
    EXPECT_DOUBLE_EQ(arc->end_angle, std::numbers::pi / 2);
    EXPECT_EQ(arc->start_point(), (Point3D{10, 0, 0}));
    const auto* label = dynamic_cast<const Text_*>(d.first("A", "Text_"));
    EXPECT_EQ(label->text, "Shaft  Ø20");
    EXPECT_EQ(label->justification, 1);
    EXPECT_EQ(label->align_point, (Point3D{5, 5, 0}));
    const auto* face = dynamic_cast<const Polyline_*>(d.first("A", "Face3D_"));
    EXPECT_EQ(face->vertex_count(), 3); // third and fourth corner equal
    const auto* solid = dynamic_cast<const Solid_*>(d.first("A", "Solid_"));
    EXPECT_EQ(solid->vertex_count(), 4);
    EXPECT_EQ(solid->thickness, 2.0);
    const auto* def = dynamic_cast<const Attdef_*>(d.first("A", "Attdef_"));
    EXPECT_EQ(def->prompt, "Enter it");
    EXPECT_FALSE(def->visible);
}

TEST(DxfReader, LayersFromTheTableAndFromFirstUse) {
    ScriptedPrompt prompt;
    // The second entry has its handle before the name, as newer files write it.
    const std::string text = dxf_text(R"(0 SECTION
2 TABLES
0 TABLE
2 LAYER
0 LAYER
2 CUT
62 3
0 LAYER
5 1A
100 AcDbLayerTableRecord
2 GUIDE
62 -5
0 LAYER
2 CUT
62 4
0 ENDTAB
0 ENDSEC
)") + entities_section("0 LINE\n8 CUT\n62 256\n0 LINE\n8 NEW\n0 LINE\n8 GUIDE\n62 2\n0 LINE");
    const auto d = read_dxf(text, prompt);
    ASSERT_EQ(d.layers.size(), 5u);
    EXPECT_EQ(d.layers[0]->name, "CUT");
    EXPECT_EQ(d.layers[1]->colour, -5);
    EXPECT_EQ(d.layers[2]->name, "CUT"); // every entry makes a layer
    EXPECT_EQ(d.layers[3]->name, "NEW");
    EXPECT_EQ(d.layers[3]->colour, 0);
    EXPECT_EQ(d.layers[4]->name, "");          // a LINE without group 8
    EXPECT_EQ(d.layers[0]->entity_count(), 1); // the first of a name takes the entity
    EXPECT_EQ(d.layers[2]->entity_count(), 0);
    EXPECT_EQ(d.first("CUT", "Line_")->colour_index(), 3); // by layer
    EXPECT_EQ(d.first("GUIDE", "Line_")->colour_index(), 2);
}

std::string polyline(int flags, const std::vector<std::string>& vertices,
                     std::string_view head = "") {
    std::string s = "0 POLYLINE\n8 P\n66 1\n70 " + std::to_string(flags) + "\n" + std::string(head);
    for (const std::string& v : vertices) s += "0 VERTEX\n8 P\n" + v + "\n";
    return s + "0 SEQEND\n";
}

TEST(DxfReader, ThePolylineForms) {
    ScriptedPrompt prompt;
    const std::vector<std::string> square = {"10 0\n20 0", "10 1\n20 0\n42 1", "10 1\n20 1",
                                             "10 0\n20 1"};
    std::vector<std::string> repeated = square;
    repeated.push_back("10 0\n20 0");
    const std::string text = entities_section(
        polyline(1, square) + polyline(0, repeated) + polyline(0, {"10 0\n20 0", "10 5\n20 0"}) +
        polyline(16, {"70 64\n10 0", "10 1", "10 2", "10 3", "10 4", "10 5"}, "71 2\n72 3\n") +
        polyline(16, {"70 64\n10 0", "10 1"}, "71 2\n72 3\n") + // 2 of 2x3: no entity
        polyline(64, {"70 192\n10 0", "10 1", "20 1", "70 128\n71 1\n72 -2\n73 3"},
                 "71 3\n72 1\n"));
    // The old reading, where bulges are not applied (their arcs: curve_reading_test.cpp).
    const auto d = read_dxf(text, prompt, nullptr, CurveReading::Chords);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(prompt.told.empty());
    const Entity_List* lines = d.layer("P")->find_list("Polyline_");
    ASSERT_EQ(lines->count(), 3);
    const auto* closed = dynamic_cast<const Polyline_*>((*lines)[0]);
    EXPECT_TRUE(closed->closed);
    EXPECT_EQ(closed->vertex_count(), 4);
    const auto* rule = dynamic_cast<const Polyline_*>((*lines)[1]);
    EXPECT_TRUE(rule->closed);
    EXPECT_EQ(rule->vertex_count(), 4); // the repeated first vertex is dropped
    EXPECT_FALSE(dynamic_cast<const Polyline_*>((*lines)[2])->closed);
    EXPECT_EQ(d.count("P", "Polygon_mesh_"), 1);
    const auto* mesh = dynamic_cast<const Polygon_mesh_*>(d.first("P", "Polygon_mesh_"));
    EXPECT_EQ(mesh->m, 2);
    EXPECT_EQ(mesh->n, 3);
    const auto* faces = dynamic_cast<const Polyface_mesh_*>(d.first("P", "Polyface_mesh_"));
    ASSERT_NE(faces, nullptr);
    EXPECT_EQ(faces->vertex_count(), 3); // the mesh collector keeps flags 192 between vertices
    ASSERT_EQ(faces->face_count(), 1);
    EXPECT_EQ(faces->faces[0], (PolyfaceFace{0, 1, 2, -1}));
}

TEST(DxfReader, BrokenPolylinesEndWithTheirMessage) {
    std::vector<std::string> many(kMaxPolylineVertices, "10 1");
    {
        ScriptedPrompt prompt;
        const auto d = read_dxf(entities_section(polyline(0, many)), prompt);
        EXPECT_EQ(d.count("P", "Polyline_"), 1);
        many.push_back("10 2");
        const auto e = read_dxf(entities_section(polyline(0, many)), prompt);
        ASSERT_EQ(prompt.asked.size(), 1u);
        EXPECT_EQ(prompt.asked[0].rfind("Polyline contained more than 8192 vertices\r\n", 0), 0u);
        EXPECT_EQ(e.count("P", "Polyline_"), 0);
    }
    {
        // The file ends inside the polyline: an error, not an endless loop.
        ScriptedPrompt prompt;
        const auto d = read_dxf(
            dxf_text("0 SECTION\n2 ENTITIES\n0 LINE\n8 L\n0 POLYLINE\n8 P\n0 VERTEX\n10 1\n"),
            prompt);
        ASSERT_EQ(prompt.asked.size(), 1u);
        EXPECT_EQ(prompt.asked[0].rfind("Error reading POLYLINE entity\r\n", 0), 0u);
        EXPECT_EQ(d.stop_message, DXF_Reader::kNoEntities);
        EXPECT_EQ(d.count("L", "Line_"), 1);
    }
    {
        // A mesh vertex without flag 64, a face corner outside the mesh, a
        // polyline without vertices and, last, one without SEQEND before ENDSEC.
        ScriptedPrompt prompt;
        const auto d =
            read_dxf(entities_section(polyline(16, {"70 0"}, "71 1\n72 1\n") +
                                      polyline(64, {"70 192", "70 128\n71 5"}) + polyline(0, {}) +
                                      "0 LINE\n8 L\n0 POLYLINE\n8 P\n0 VERTEX\n10 1"),
                     prompt);
        EXPECT_EQ(prompt.asked.size(), 3u);
        ASSERT_EQ(prompt.told.size(), 1u);   // no vertices: the general path
        EXPECT_TRUE(d.stop_message.empty()); // ENDSEC still ends the section
        EXPECT_EQ(d.count("P", "Polyline_"), 0);
        EXPECT_EQ(d.count("L", "Line_"), 1);
    }
}

TEST(DxfReader, EntityErrorsAskOkOrCancel) {
    const std::string text = entities_section(
        "0 LINE\n8 L\n10 1,5\n0 CIRCLE\n8 L\n40 1\n210 0\n220 0\n230 0\n0 LINE\n8 L\n0 LINE\n8 L\n"
        "62 x\n0 LINE\n8 L");
    ScriptedPrompt prompt;
    RecordingProgress progress;
    const auto d = read_dxf(text, prompt, &progress);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0],
              "Invalid Floating point conversion\r\n" + std::string(kLineAt) + "10");
    EXPECT_EQ(prompt.asked[1], "Invalid Integer conversion\r\n" + std::string(kLineAt) + "32");
    EXPECT_EQ(prompt.told.size(), 1u); // the zero extrusion: a plain message, entity skipped
    EXPECT_EQ(d.count("L", "Line_"), 2);
    EXPECT_EQ(d.count("L", "Circle_"), 0);
    EXPECT_EQ(progress.events, (std::vector<std::string>{"hide", "show Reading DXF file...", "hide",
                                                         "show Reading DXF file..."}));

    ScriptedPrompt cancel;
    cancel.answers = {Answer::Cancel};
    const auto c = read_dxf(text, cancel);
    ASSERT_EQ(cancel.told.size(), 1u);
    EXPECT_EQ(cancel.told[0], "User aborted");
    EXPECT_EQ(c.stop_message, "User aborted");
    EXPECT_EQ(c.count("L", "Line_"), 0);
}

const std::string kBlocks = dxf_text(R"(0 SECTION
2 BLOCKS
0 BLOCK
8 B
2 BOLT
10 10
20 0
0 LINE
8 B
10 10
11 20
0 ENDBLK
0 ENDSEC
)");

TEST(DxfReader, BlocksAndInsertions) {
    std::string attribs;
    for (int i = 0; i < 17; ++i) attribs += "0 ATTRIB\n8 I\n2 T" + std::to_string(i) + "\n1 v\n";
    const std::string text =
        kBlocks +
        entities_section("0 INSERT\n8 I\n2 BOLT\n10 100\n20 50\n50 90\n41 0\n66 1\n" +
                         attribs.substr(0, attribs.find("0 ATTRIB", 40)) +
                         "0 SEQEND\n0 INSERT\n8 I\n2 NUT\n"
                         "0 INSERT\n8 I\n2 BOLT\n66 1\n" +
                         attribs + "0 SEQEND\n0 INSERT\n8 I\n2 BOLT\n66 1\n0 LINE\n8 L\n");
    ScriptedPrompt prompt;
    const auto d = read_dxf(text, prompt);
    EXPECT_EQ(d.count("0", "Block_"), 1); // blocks live on layer 0 whatever their own layer
    EXPECT_NE(d.layer("B"), nullptr);
    const auto* block = dynamic_cast<const Block_*>(d.first("0", "Block_"));
    EXPECT_EQ(block->entities.size(), 1u);
    ASSERT_EQ(d.count("I", "Insert_"), 1);
    const auto* insert = dynamic_cast<const Insert_*>(d.first("I", "Insert_"));
    EXPECT_EQ(insert->attribute_count(), 2);
    EXPECT_EQ(insert->scale, (Point3D{1, 1, 1}));
    EXPECT_EQ(&insert->block(), block);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].rfind(std::string(DXF_Reader::kUndefinedBlock) + "\r\n", 0), 0u);
    EXPECT_EQ(prompt.asked[1].rfind("Error reading INSERT entity", 0), 0u);
    ASSERT_EQ(prompt.told.size(), 1u);
    EXPECT_EQ(prompt.told[0], "This version only handles 16 ATTRIBs");
    EXPECT_EQ(d.count("L", "Line_"), 1); // what cut the attributes short is read on its own
}

TEST(DxfReader, BlocksCannotPlaceThemselves) {
    // Drawing or exploding such a block would never end.
    const std::string text = dxf_text(R"(0 SECTION
2 BLOCKS
0 BLOCK
2 A
0 LINE
0 ENDBLK
0 BLOCK
2 LOOP
0 INSERT
2 A
0 INSERT
2 LOOP
0 ENDBLK
0 ENDSEC
)") + entities_section("0 INSERT\n8 I\n2 LOOP\n0 LINE\n8 L");
    ScriptedPrompt prompt;
    const auto d = read_dxf(text, prompt);
    ASSERT_EQ(prompt.told.size(), 1u);
    EXPECT_EQ(prompt.told[0].rfind(DXF_Reader::kUndefinedBlock, 0), 0u);
    EXPECT_EQ(d.count("L", "Line_"), 0); // an error in BLOCKS ends the reading
    const auto* loop = dynamic_cast<const Block_*>((*d.layer("0")->find_list("Block_"))[1]);
    EXPECT_EQ(loop->entities.size(), 1u);
}

TEST(DxfReader, SectionsSkippedNamesAndFallBacks) {
    ScriptedPrompt prompt;
    const std::string tables = dxf_text(R"(0 SECTION
2 TABLES
0 TABLE
2 VPORT
0 VPORT
2 *Active
0 VPORT
2 SIDE
0 ENDTAB
0 TABLE
2 LTYPE
0 LTYPE
2 DASHED
0 ENDTAB
0 TABLE
2 LAYER
0 LAYER
2 KEEP
62 4
0 ENDTAB
0 ENDSEC
)");
    const auto none = read_dxf(tables + dxf_text("0 EOF\n"), prompt);
    EXPECT_EQ(prompt.told, std::vector<std::string>{std::string(DXF_Reader::kNoEntities)});
    ASSERT_EQ(none.layers.size(), 1u);
    EXPECT_EQ(none.layers[0]->colour, 4);

    // No HEADER: the searches that fail report nothing, so names come once.
    ScriptedPrompt p2;
    const auto d = read_dxf(tables + entities_section(R"(0 LWPOLYLINE
8 K
90 2
0 LINE
8 K
0 SPLINE
0 LWPOLYLINE
0 LINE
8 K)"),
                            p2, nullptr, CurveReading::Chords);
    EXPECT_TRUE(p2.told.empty());
    EXPECT_EQ(d.skipped,
              (std::vector<std::string>{"SIDE", "LTYPE", "LWPOLYLINE", "SPLINE", "LWPOLYLINE"}));
    EXPECT_EQ(d.count("K", "Line_"), 2);

    // A code line that is not a number ends the section like the end of the file.
    ScriptedPrompt p3;
    // The entity it cuts short fails; those before it stay.
    const auto cut = read_dxf(entities_section("0 LINE\n8 K\n0 LINE\n8 K\nabc 1\n0 LINE\n8 K"), p3);
    EXPECT_EQ(cut.count("K", "Line_"), 1);
    EXPECT_EQ(p3.asked.size(), 1u);
    EXPECT_EQ(cut.stop_message, DXF_Reader::kNoEntities);

    // Line numbers stay true after the searches have gone back.
    ScriptedPrompt p4;
    read_dxf(entities_section("0 LINE\n8 K\n10 x"), p4);
    ASSERT_EQ(p4.asked.size(), 1u);
    EXPECT_EQ(p4.asked[0], "Invalid Floating point conversion\r\n" + std::string(kLineAt) + "10");
}

TEST(DxfReader, ExtentsFromTheHeaderOrFromTheEntities) {
    const std::string header = dxf_text(R"(0 SECTION
2 HEADER
9 $EXTMIN
10 -1
20 -2
30 -3
9 $EXTMAX
10 7
20 8
0 ENDSEC
)");
    const std::string body = entities_section("0 LINE\n8 K\n10 10\n20 10\n11 20\n21 15");
    ScriptedPrompt prompt;
    const auto kept = read_dxf(header + body, prompt);
    EXPECT_EQ(kept.min, (Point3D{-1, -2, 0}));
    EXPECT_EQ(kept.max, (Point3D{7, 8, 0}));
    const auto grown = read_dxf(body, prompt);
    EXPECT_EQ(grown.min, ORIGIN); // the origin stays inside
    EXPECT_EQ(grown.max, (Point3D{20, 15, 0}));
}

} // namespace
} // namespace zeran
