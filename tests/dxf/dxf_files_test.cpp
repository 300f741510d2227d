// Drawings as other programs write them: R12 with POLYLINE/VERTEX/SEQEND,
// a newer file with handles and subclass markers, and a bare ENTITIES file.
#include "dxf/dxf_object_reader.h"

#include "base/progress.h"
#include "geometry/block_entities.h"
#include "geometry/polyline.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <map>
#include <system_error>

namespace zeran {
namespace {

using Counts = std::vector<std::pair<std::string, int>>;

// Layer name to its lists and their entity counts, in drawing order.
std::vector<std::pair<std::string, Counts>> census(const DXF_Object& d) {
    std::vector<std::pair<std::string, Counts>> out;
    for (const auto& layer : d.layers()) {
        Counts c;
        for (const auto& list : layer->entity_lists()) c.emplace_back(list->name(), list->count());
        out.emplace_back(layer->name, c);
    }
    return out;
}

struct Read {
    std::unique_ptr<DXF_Object> drawing;
    std::vector<std::string> skipped;
    ScriptedPrompt prompt;
    std::string stopped;
};

std::unique_ptr<Read> read_data(const std::string& name, CurveReading curves = CurveReading::Arcs) {
    auto r = std::make_unique<Read>();
    NullProgress progress;
    DxfReadReport report;
    r->drawing = read_dxf_object(std::string(ZERAN_TEST_DATA) + "/" + name, curves, &r->skipped,
                                 r->prompt, progress, report);
    r->stopped = report.stop_message;
    return r;
}

TEST(DxfFiles, R12DrawingWithPolylinesBlocksAndAttributes) {
    const auto r = read_data("r12_shaft.dxf");
    EXPECT_TRUE(r->prompt.asked.empty());
    EXPECT_TRUE(r->prompt.told.empty());
    EXPECT_TRUE(r->stopped.empty());
    EXPECT_EQ(r->drawing->name, "r12_shaft.dxf");
    EXPECT_EQ(census(*r->drawing),
              (std::vector<std::pair<std::string, Counts>>{
                  {"0", {{"Block_", 1}, {"Point_", 1}, {"Text_", 1}, {"Insert_", 1}}},
                  {"PROFILE", {{"Line_", 3}, {"Arc_", 1}, {"Polyline_", 2}}},
                  {"CENTRE_LINE", {{"Line_", 1}, {"Circle_", 1}}}}));
    EXPECT_EQ(r->skipped, (std::vector<std::string>{"LTYPE", "STYLE"}));
    EXPECT_EQ(r->drawing->layers()[1]->colour, 1);
    EXPECT_EQ(r->drawing->min_extent(), (Point3D{-5, -2.5, 0}));
    EXPECT_EQ(r->drawing->max_extent(), (Point3D{120, 40, 0}));
    const Entity_List& polylines = *r->drawing->layers()[1]->find_list("Polyline_");
    EXPECT_FALSE(dynamic_cast<const Polyline_*>(polylines[0])->closed);
    EXPECT_EQ(dynamic_cast<const Polyline_*>(polylines[0])->vertex_count(), 3);
    EXPECT_TRUE(dynamic_cast<const Polyline_*>(polylines[1])->closed);
    const auto* insert =
        dynamic_cast<const Insert_*>(r->drawing->layers()[0]->find_list("Insert_")->at(0));
    EXPECT_EQ(insert->attribute_count(), 1);
    EXPECT_EQ(insert->block().entities.size(), 3u);
}

TEST(DxfFiles, NewerDrawingWithHandlesAndSubclassMarkers) {
    // Read the old way: the lightweight polyline and the spline passed over.
    const auto r = read_data("ac1015_shaft.dxf", CurveReading::Chords);
    EXPECT_TRUE(r->prompt.asked.empty());
    EXPECT_TRUE(r->prompt.told.empty());
    EXPECT_EQ(census(*r->drawing), (std::vector<std::pair<std::string, Counts>>{
                                       {"0", {{"Block_", 3}, {"Text_", 1}}},
                                       {"Contour", {{"Line_", 2}, {"Arc_", 1}, {"Polyline_", 1}}},
                                       {"Holes", {{"Circle_", 1}, {"Insert_", 1}}}}));
    EXPECT_EQ(r->drawing->layers()[1]->colour, 3);
    EXPECT_EQ(r->skipped, (std::vector<std::string>{"CLASS", "ENDSEC", "LTYPE", "BLOCK_RECORD",
                                                    "LWPOLYLINE", "MTEXT", "SPLINE"}));
    // Zero extents in the header: grown from the entities, origin included.
    EXPECT_EQ(r->drawing->min_extent(), (Point3D{0, -5, 0}));
    EXPECT_EQ(r->drawing->max_extent(), (Point3D{60, 20, 0}));

    // Read with its curves: the polyline joins the contour, the spline (no
    // knots given: clamped) comes as arcs from its first to its last control point.
    const auto c = read_data("ac1015_shaft.dxf");
    EXPECT_TRUE(c->prompt.asked.empty());
    EXPECT_EQ(c->skipped,
              (std::vector<std::string>{"CLASS", "ENDSEC", "LTYPE", "BLOCK_RECORD", "MTEXT"}));
    const DXF_Layer& contour = *c->drawing->layers()[1];
    ASSERT_NE(contour.find_list("Polyline_"), nullptr);
    EXPECT_EQ(contour.find_list("Polyline_")->count(), 2);
    const DXF_Layer& zero = *c->drawing->layers()[0];
    const Entity_List* arcs = zero.find_list("Arc_");
    ASSERT_NE(arcs, nullptr);
    bool starts = false, ends = false;
    for (const DXF_Entity* e : *arcs) {
        for (const Point3D& p : {e->start_point(), e->end_point()}) {
            starts = starts || distance_xy(p, {0, 30, 0}) < 1e-9;
            ends = ends || distance_xy(p, {30, 35, 0}) < 1e-9;
        }
    }
    EXPECT_TRUE(starts);
    EXPECT_TRUE(ends);
}

TEST(DxfFiles, EntitiesOnlyAndMissingFiles) {
    const auto r = read_data("entities_only.dxf");
    EXPECT_TRUE(r->prompt.told.empty());
    EXPECT_TRUE(r->skipped.empty());
    EXPECT_EQ(census(*r->drawing),
              (std::vector<std::pair<std::string, Counts>>{{"CUT", {{"Line_", 1}, {"Arc_", 1}}},
                                                           {"GUIDE", {{"Line_", 1}}}}));
    EXPECT_EQ(r->drawing->layers()[0]->colour, 0);
    EXPECT_EQ(r->drawing->min_extent(), (Point3D{-10, -20, 0}));
    EXPECT_EQ(r->drawing->max_extent(), (Point3D{15, 15, 0}));
    EXPECT_THROW(read_data("no_such_drawing.dxf"), std::system_error);
    EXPECT_THROW(read_data(""), std::system_error); // the folder itself
}

} // namespace
} // namespace zeran
