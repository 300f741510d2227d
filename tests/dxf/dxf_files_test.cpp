// Drawings as other programs write them: R12 with POLYLINE/VERTEX/SEQEND,
// a newer file with handles and subclass markers, and a bare ENTITIES file.
#include "dxf/dxf_object_reader.h"

#include "geometry/block_entities.h"
#include "geometry/polyline.h"
#include "geometry/progress.h"
#include "geometry/test_doubles.h"

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

std::unique_ptr<Read> read_data(const std::string& name) {
    auto r = std::make_unique<Read>();
    NullProgress progress;
    r->drawing = read_dxf_object(std::string(ZERAN_TEST_DATA) + "/" + name, &r->skipped, r->prompt,
                                 progress, &r->stopped);
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
    const auto r = read_data("ac1015_shaft.dxf");
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
