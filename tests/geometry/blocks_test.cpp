#include "geometry/block_entities.h"
#include "geometry/entity_list.h"
#include "support/test_doubles.h"
#include "test_mapper.h"

#include <gtest/gtest.h>

namespace zeran {
namespace {

std::vector<std::unique_ptr<Attrib_>> attributes(int n) {
    std::vector<std::unique_ptr<Attrib_>> v;
    for (int i = 0; i < n; ++i)
        v.push_back(std::make_unique<Attrib_>(Z_AXIS, 7, 1, 0, 0, "v", "T", ORIGIN, ORIGIN));
    return v;
}

TEST(Blocks, LookupTakesFirstExactNameAndReportsMissing) {
    Entity_List blocks("Block_", nullptr);
    auto first = std::make_unique<Block_>("A", ORIGIN);
    const Block_* first_raw = first.get();
    blocks.add(std::move(first));
    blocks.add(std::make_unique<Block_>("A", Point3D{1, 0, 0}));
    blocks.add(std::make_unique<Block_>("b", ORIGIN));

    Insert_ insert(Z_AXIS, "A", {}, 7, 0, {1, 1, 1}, ORIGIN);
    insert.resolve_blocks(&blocks);
    EXPECT_EQ(&insert.block(), first_raw);

    Insert_ wrong_case(Z_AXIS, "B", {}, 7, 0, {1, 1, 1}, ORIGIN);
    try {
        wrong_case.resolve_blocks(&blocks);
        FAIL() << "a missing block must be reported";
    } catch (const BlockNotFoundError& e) {
        EXPECT_STREQ(e.what(), "Block reference B not found");
    }
    // Without a block list nothing can be found; drawing and describing such
    // an insertion must still not throw, they run inside window repaints.
    Insert_ unresolved(Z_AXIS, "A", {}, 7, 0, {1, 1, 1}, ORIGIN);
    EXPECT_THROW(unresolved.block(), BlockNotFoundError);
    RecordingCanvas canvas;
    EXPECT_NO_THROW(unresolved.draw(canvas, nullptr, TestMapper{}));
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_TRUE(unresolved.describe().ends_with("Block reference A not found\r\n---ENDBLOCK---"));
    // An insertion without a block name resolves quietly.
    Insert_ unnamed(Z_AXIS, "", {}, 7, 0, {1, 1, 1}, ORIGIN);
    EXPECT_NO_THROW(unnamed.resolve_blocks(&blocks));
}

TEST(Blocks, AttributeLimitAndOwnership) {
    EXPECT_NO_THROW(Insert_(Z_AXIS, "A", attributes(16), 7, 0, {1, 1, 1}, ORIGIN));
    try {
        Insert_(Z_AXIS, "A", attributes(17), 7, 0, {1, 1, 1}, ORIGIN);
        FAIL() << "17 attributes must be refused";
    } catch (const TooManyAttribsError& e) {
        EXPECT_STREQ(e.what(), "This version only handles 16 ATTRIBs");
    }
    Insert_ insert(Z_AXIS, "A", attributes(2), 7, 0, {1, 1, 1}, ORIGIN);
    auto copy = insert.clone();
    auto& copied = dynamic_cast<Insert_&>(*copy);
    ASSERT_EQ(copied.attribute_count(), 2);
    EXPECT_NE(copied.attributes()[0].get(), insert.attributes()[0].get());
}

TEST(Blocks, InsertionMatrixAndTranslation) {
    Insert_ insert(Z_AXIS, "A", {}, 7, 0, {1, 1, 1}, {100, 50, 0});
    ASSERT_NE(insert.ocs(), nullptr);
    EXPECT_EQ(transform_point(*insert.ocs(), {1, 2, 0}), (Point3D{101, 52, 0}));
    // Moving the insertion point does not rebuild the matrix.
    insert.translate({10, 0, 0});
    EXPECT_EQ(insert.point, (Point3D{110, 50, 0}));
    EXPECT_EQ(transform_point(*insert.ocs(), ORIGIN), (Point3D{100, 50, 0}));
    // Setting the extrusion again does.
    insert.set_extrusion(Z_AXIS);
    EXPECT_EQ(transform_point(*insert.ocs(), ORIGIN), (Point3D{110, 50, 0}));

    Block_ at_origin("A", ORIGIN);
    EXPECT_EQ(at_origin.ocs(), nullptr);
    Block_ shifted("A", {10, 5, 0});
    ASSERT_NE(shifted.ocs(), nullptr);
    EXPECT_EQ(transform_point(*shifted.ocs(), {10, 5, 0}), ORIGIN);
    EXPECT_EQ(shifted.squared_distance(ORIGIN), 1e9);
    Point3D v;
    shifted.nearest_vertex(ORIGIN, v);
    EXPECT_EQ(v, (Point3D{1e9, 1e9, 1e9}));
}

TEST(Blocks, Descriptions) {
    Entity_List blocks("Block_", nullptr);
    auto block = std::make_unique<Block_>("A", Point3D{1, 0, 0});
    block->add(std::make_unique<Point_>(Z_AXIS, 7, Point3D{2, 0, 0}));
    blocks.add(std::move(block));
    Insert_ insert(Z_AXIS, "A", attributes(1), 7, 90, {2, 1, 1}, {5, 5, 0});
    insert.resolve_blocks(&blocks);
    EXPECT_EQ(insert.describe(), "Insert_\r\nOCS Axis (0.00, 0.00, 1.00)\r\n(5.00, 5.00, 0.00)\r\n"
                                 "Block \tA\r\nScaling\t(2.00, 1.00, 1.00)\r\n"
                                 "Rotation\t90.000\r\nAttribs \t1\r\n"
                                 "\r\n1 : Attrib_\r\nWCS\r\n(0.00, 0.00, 0.00)\r\nText \tv\r\n"
                                 "TextHeight = 1.000\r\nTag \tT\r\nVisible\r\n"
                                 "\r\n----BLOCK-----\r\n"
                                 "Name :\tA\r\nBase :\t(1.00, 0.00, 0.00)\r\n"
                                 "\r\nPoint_\r\nWCS\r\n(2.00, 0.00, 0.00)\r\n"
                                 "---ENDBLOCK---");
}

} // namespace
} // namespace zeran
