#include "geometry/matrix4.h"
#include "geometry/point3d.h"
#include "geometry/vector3f.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace zeran {
namespace {

void expect_near(const Point3D& a, const Point3D& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(PointOperations, ExactEqualityDistancesAndExtents) {
    EXPECT_TRUE(points_equal({1, 2, 3}, {1, 2, 3}));
    EXPECT_FALSE(points_equal({1, 2, 3}, {1, 2, 3 + 1e-12}));

    EXPECT_DOUBLE_EQ(distance_xy(ORIGIN, {3, 4, 100}), 5.0);
    EXPECT_DOUBLE_EQ(squared_distance_xy(ORIGIN, {3, 4, 100}), 25.0);

    EXPECT_EQ(cross_product({1, 0, 0}, {0, 1, 0}), Z_AXIS);
    EXPECT_EQ(cross_product(Z_AXIS, {1, 0, 0}), Y_AXIS);
    expect_near(normalise({3, 0, 4}), {0.6, 0, 0.8});
    EXPECT_EQ(point_subtract({5, 5, 5}, {1, 2, 3}), (Point3D{4, 3, 2}));

    Point3D max{1, 1, 1}, min{1, 1, 1};
    grow_max(max, {2, 1, 0});
    grow_min(min, {2, 1, 0});
    EXPECT_EQ(max, (Point3D{2, 1, 1}));
    EXPECT_EQ(min, (Point3D{1, 1, 0}));

    // Equal values give the first argument, which matters for -0.0.
    EXPECT_TRUE(std::signbit(min_of(-0.0, 0.0)));
    EXPECT_EQ(min_of(3, 2), 2);
}

TEST(PointOperations, TextForms) {
    EXPECT_EQ(point_text(ORIGIN), "(0.00, 0.00, 0.00)");
    EXPECT_EQ(point_text({10, 5.5, 0}), "(10.00, 5.50, 0.00)");
    EXPECT_EQ(point_text({-1.006, 1234.567, 0.126}), "(-1.01, 1234.57, 0.13)");
    EXPECT_EQ(bool_text(true), "TRUE");
    EXPECT_EQ(bool_text(false), "FALSE");
}

TEST(Matrices, BuildersMultiplyInRowVectorOrder) {
    const double c = std::cos(std::numbers::pi / 2), s = std::sin(std::numbers::pi / 2);
    expect_near(transform_point(rotation_matrix_z(c, s), {1, 0, 0}), {0, 1, 0});
    EXPECT_EQ(transform_point(scale_matrix({2, 3, 4}), {1, 1, 1}), (Point3D{2, 3, 4}));
    EXPECT_EQ(transform_point(translation_matrix({1, 2, 3}), {1, 1, 1}), (Point3D{2, 3, 4}));
    EXPECT_EQ(transform_point(IDENTITY, {7, 8, 9}), (Point3D{7, 8, 9}));

    // p·(a·b) applies a first: translate then scale differs from the reverse.
    const Matrix4 t = translation_matrix({1, 0, 0});
    const Matrix4 k = scale_matrix({2, 2, 2});
    EXPECT_EQ(transform_point(matrix_multiply(t, k), {1, 0, 0}), (Point3D{4, 0, 0}));
    EXPECT_EQ(transform_point(matrix_multiply(k, t), {1, 0, 0}), (Point3D{3, 0, 0}));

    const Matrix4 axes = axes_matrix({0, 1, 0}, {-1, 0, 0}, Z_AXIS);
    EXPECT_EQ(transform_point(axes, {1, 2, 3}), (Point3D{-2, 1, 3}));
    EXPECT_EQ(axes[3][3], 1.0);
}

TEST(Matrices, ComposeFormsProductOnlyWhenBothExist) {
    Matrix4 storage;
    const Matrix4 own = translation_matrix({1, 0, 0});
    const Matrix4 parent = scale_matrix({2, 2, 2});
    EXPECT_EQ(compose_matrices(nullptr, nullptr, storage), nullptr);
    EXPECT_EQ(compose_matrices(&own, nullptr, storage), &own);
    EXPECT_EQ(compose_matrices(nullptr, &parent, storage), &parent);
    const Matrix4* both = compose_matrices(&own, &parent, storage);
    ASSERT_EQ(both, &storage);
    // Own first, then parent.
    EXPECT_EQ(transform_point(both, {1, 0, 0}), (Point3D{4, 0, 0}));
    EXPECT_EQ(transform_point(static_cast<const Matrix4*>(nullptr), {1, 2, 3}), (Point3D{1, 2, 3}));
}

TEST(Matrices, ArbitraryAxisRule) {
    EXPECT_FALSE(ocs_matrix(Z_AXIS).has_value());

    // Near the Z axis, X comes from Y × N: for N = -Z the X axis flips.
    auto flipped = ocs_matrix({0, 0, -1});
    ASSERT_TRUE(flipped.has_value());
    expect_near(transform_point(*flipped, {1, 2, 3}), {-1, 2, -3});

    // Away from it, X comes from Z × N.
    const Point3D n{1, 0, 0};
    OcsAxes a = arbitrary_axes(n);
    expect_near(a.ax, {0, 1, 0});
    expect_near(a.ay, {0, 0, 1});
    // Just inside and just outside the 1/64 threshold pick different rules.
    OcsAxes inside = arbitrary_axes(normalise({0.015, 0, 1}));
    OcsAxes outside = arbitrary_axes(normalise({0.016, 0, 1}));
    EXPECT_NEAR(inside.ax.x, 1.0, 1e-3);
    EXPECT_NEAR(outside.ax.y, 1.0, 1e-3);
}

TEST(Matrices, InsertionRotatesBeforeScaling) {
    const Matrix4 m = insertion_matrix(std::numbers::pi / 2, {2, 1, 1}, {100, 50, 0}, Z_AXIS);
    // (1, 0) rotates to (0, 1), then is scaled along x only: unchanged.
    expect_near(transform_point(m, {1, 0, 0}), {100, 51, 0});
    // (0, 1) rotates to (-1, 0), then is stretched to (-2, 0).
    expect_near(transform_point(m, {0, 1, 0}), {98, 50, 0});
}

TEST(SinglePrecision, VectorsAnglesAndRounding) {
    Vector3f v = make_vector3f(3, 0, 4);
    EXPECT_DOUBLE_EQ(static_cast<double>(vector3f_length(v)), 5.0);
    Vector3f out;
    normalised_vector3f(v, out);
    EXPECT_EQ(v, make_vector3f(3, 0, 4));
    EXPECT_FLOAT_EQ(out.x, 0.6f);
    EXPECT_FLOAT_EQ(out.z, 0.8f);
    normalise_vector3f(v);
    EXPECT_EQ(v, out);
    // Squares beyond the float range still give a length.
    EXPECT_NEAR(static_cast<double>(vector3f_length(make_vector3f(3e30f, 4e30f, 0))), 5e30, 1e24);

    EXPECT_DOUBLE_EQ(arc_sin(1), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(arc_sin(-0.5), -std::numbers::pi / 6);
    EXPECT_DOUBLE_EQ(arc_tan2(-0.0, -1), std::numbers::pi);
    EXPECT_DOUBLE_EQ(arc_tan2(-1, 0), -std::numbers::pi / 2);

    EXPECT_EQ(nearest_int(2.5), 2);
    EXPECT_EQ(nearest_int(3.5), 4);
    EXPECT_EQ(nearest_int(-2.5), -2);
    EXPECT_EQ(nearest_int(-3.5), -4);
    EXPECT_EQ(nearest_int(2.4999), 2);
    EXPECT_EQ(nearest_int(-0.6), -1);
}

} // namespace
} // namespace zeran
