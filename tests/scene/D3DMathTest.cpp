#include "scene/D3DMath.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
using test::ExpectNear;
using test::Rows;

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

// The matrices below are worked out by hand from the D3DX documentation: rows are the images of
// the x, y and z axes, the fourth row the translation.
TEST(D3DMath, QuarterTurnsAboutTheAxesMatchTheLeftHandedMatrices) {
    // Clockwise seen from the axis tip in the left-handed space: about y, x turns towards -z.
    const struct {
        Vector3 axis;
        float rows[4][4];
    } cases[] = {
        {{0, 1, 0}, {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}},
        {{1, 0, 0}, {{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}}},
        {{0, 0, 1}, {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}},
        // The axis is normalised: a long axis turns by the same angle.
        {{0, 5, 0}, {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}},
    };
    for (const auto& [axis, rows] : cases) {
        const Matrix turn = MatrixRotationAxis(axis, kQuarterTurn);
        ExpectMatrixNear(turn, Rows(rows));
        ExpectMatrixNear(MatrixRotationQuaternion(QuaternionRotationAxis(axis, kQuarterTurn)),
                         turn);
    }
}

TEST(D3DMath, AProductAppliesItsLeftFactorFirstAndKeepsTheTranslationInTheFourthRow) {
    const Matrix translateThenTurn =
        MatrixTranslation(1, 2, 3) * MatrixRotationAxis({0, 1, 0}, kQuarterTurn);
    ExpectMatrixNear(translateThenTurn,
                     Rows({{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {3, 2, -1, 1}}));
    const Matrix turnThenTranslate =
        MatrixRotationAxis({0, 1, 0}, kQuarterTurn) * MatrixTranslation(1, 2, 3);
    ExpectNear(Vec3TransformCoord({1, 0, 0}, turnThenTranslate), {1, 2, 2});
    // Normals ignore the translation.
    ExpectNear(Vec3TransformNormal({1, 0, 0}, turnThenTranslate), {0, 0, -1});
    // In memory the translation is elements 12 to 14: what OpenGL reads as its fourth column.
    const Matrix m = MatrixTranslation(4, 5, 6);
    EXPECT_EQ(std::vector<float>(m.data() + 12, m.data() + 15), (std::vector<float>{4, 5, 6}));
}

TEST(D3DMath, InverseUndoesATransformationAndRefusesASingularOne) {
    const Matrix m = MatrixAffineTransformation(
        2.0f, {1, 0, 0}, QuaternionRotationAxis({1, 1, 0}, 0.4f), {3, -1, 5});
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(m, inverse));
    ExpectMatrixNear(m * inverse, MatrixIdentity());
    Matrix untouched = MatrixTranslation(1, 1, 1);
    EXPECT_FALSE(MatrixInverse(MatrixScaling(1, 0, 1), untouched));
    EXPECT_EQ(untouched, MatrixTranslation(1, 1, 1));
}

TEST(D3DMath, PerspectiveMapsTheNearPlaneToZeroAndTheFarPlaneToOne) {
    const Matrix m = MatrixPerspectiveFovLH(kQuarterTurn, 1.0f, 1.0f, 11.0f);
    ExpectMatrixNear(m, Rows({{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.1f, 1}, {0, 0, -1.1f, 0}}));
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 11}, m).z, 1.0f, test::kTolerance);
    // Wider than high: x shrinks by the aspect.
    EXPECT_NEAR(MatrixPerspectiveFovLH(kQuarterTurn, 2.0f, 1.0f, 11.0f)(0, 0), 0.5f, 1e-6f);
}

} // namespace
} // namespace lobex
