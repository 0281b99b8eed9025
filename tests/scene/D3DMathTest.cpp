#include "scene/D3DMath.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
using test::ExpectNear;

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

// The matrices below are worked out by hand from the D3DX documentation: rows are the images of
// the x, y and z axes, the fourth row the translation.
TEST(D3DMath, RotationsAboutTheAxesMatchTheDocumentedMatrices) {
    const float aboutY[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};
    const float aboutX[4][4] = {{1, 0, 0, 0}, {0, 0, 1, 0}, {0, -1, 0, 0}, {0, 0, 0, 1}};
    const float aboutZ[4][4] = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    ExpectMatrixNear(MatrixRotationAxis({0, 1, 0}, kQuarterTurn), aboutY);
    ExpectMatrixNear(MatrixRotationAxis({1, 0, 0}, kQuarterTurn), aboutX);
    ExpectMatrixNear(MatrixRotationAxis({0, 0, 1}, kQuarterTurn), aboutZ);
    // The axis is normalised: a long axis turns by the same angle.
    ExpectMatrixNear(MatrixRotationAxis({0, 5, 0}, kQuarterTurn), aboutY);
}

TEST(D3DMath, PointsAreRowVectorsTurningClockwiseSeenFromTheAxisTip) {
    // Looking down from +y in the left-handed space (x right, z away), x turns towards -z.
    ExpectNear(Vec3TransformCoord({1, 0, 0}, MatrixRotationAxis({0, 1, 0}, kQuarterTurn)),
               {0, 0, -1});
    ExpectNear(Vec3TransformCoord({0, 1, 0}, MatrixRotationAxis({1, 0, 0}, kQuarterTurn)),
               {0, 0, 1});
    ExpectNear(Vec3TransformCoord({1, 0, 0}, MatrixRotationAxis({0, 0, 1}, kQuarterTurn)),
               {0, 1, 0});
}

TEST(D3DMath, AProductAppliesItsLeftFactorFirst) {
    const Matrix translateThenTurn =
        MatrixTranslation(1, 2, 3) * MatrixRotationAxis({0, 1, 0}, kQuarterTurn);
    const float expected[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {3, 2, -1, 1}};
    ExpectMatrixNear(translateThenTurn, expected);
    ExpectNear(Vec3TransformCoord({0, 0, 0}, translateThenTurn), {3, 2, -1});

    const Matrix turnThenTranslate =
        MatrixRotationAxis({0, 1, 0}, kQuarterTurn) * MatrixTranslation(1, 2, 3);
    ExpectNear(Vec3TransformCoord({0, 0, 0}, turnThenTranslate), {1, 2, 3});
    ExpectNear(Vec3TransformCoord({1, 0, 0}, turnThenTranslate), {1, 2, 2});
}

TEST(D3DMath, TranslationSitsInTheFourthRowWhichIsWhatOpenGLReadsAsItsFourthColumn) {
    const Matrix m = MatrixTranslation(4, 5, 6);
    EXPECT_EQ(m(3, 0), 4.0f);
    EXPECT_EQ(m(3, 1), 5.0f);
    EXPECT_EQ(m(3, 2), 6.0f);
    EXPECT_EQ(m.data()[12], 4.0f);
    EXPECT_EQ(m.data()[13], 5.0f);
    EXPECT_EQ(m.data()[14], 6.0f);
    const float scaling[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}};
    ExpectMatrixNear(MatrixScaling(2, 3, 4), scaling);
}

TEST(D3DMath, QuaternionsGiveTheSameRotationsAsAxisMatrices) {
    const Quaternion q = QuaternionRotationAxis({0, 1, 0}, kQuarterTurn);
    const float half = std::sqrt(0.5f);
    EXPECT_NEAR(q.x, 0.0f, test::kTolerance);
    EXPECT_NEAR(q.y, half, test::kTolerance);
    EXPECT_NEAR(q.z, 0.0f, test::kTolerance);
    EXPECT_NEAR(q.w, half, test::kTolerance);
    ExpectMatrixNear(MatrixRotationQuaternion(q), MatrixRotationAxis({0, 1, 0}, kQuarterTurn));

    const Quaternion tilted = QuaternionRotationAxis({1, 2, 3}, 0.7f);
    ExpectMatrixNear(MatrixRotationQuaternion(tilted), MatrixRotationAxis({1, 2, 3}, 0.7f));
    const Quaternion back = QuaternionRotationMatrix(MatrixRotationAxis({1, 2, 3}, 0.7f));
    ExpectMatrixNear(MatrixRotationQuaternion(back), MatrixRotationAxis({1, 2, 3}, 0.7f));
}

TEST(D3DMath, YawPitchRollTurnsRollFirstThenPitchThenYaw) {
    // Pitch takes y to z, then yaw takes z to x.
    const Quaternion q = QuaternionRotationYawPitchRoll(kQuarterTurn, kQuarterTurn, 0.0f);
    ExpectNear(Vec3TransformCoord({0, 1, 0}, MatrixRotationQuaternion(q)), {1, 0, 0});
    // Roll alone takes x to y.
    const Quaternion roll = QuaternionRotationYawPitchRoll(0.0f, 0.0f, kQuarterTurn);
    ExpectNear(Vec3TransformCoord({1, 0, 0}, MatrixRotationQuaternion(roll)), {0, 1, 0});

    // The documented closed form, with half angles.
    const float yaw = 0.3f;
    const float pitch = 0.5f;
    const float rollAngle = 0.7f;
    const float cy = std::cos(yaw / 2), sy = std::sin(yaw / 2);
    const float cp = std::cos(pitch / 2), sp = std::sin(pitch / 2);
    const float cr = std::cos(rollAngle / 2), sr = std::sin(rollAngle / 2);
    const Quaternion all = QuaternionRotationYawPitchRoll(yaw, pitch, rollAngle);
    EXPECT_NEAR(all.x, cy * sp * cr + sy * cp * sr, test::kTolerance);
    EXPECT_NEAR(all.y, sy * cp * cr - cy * sp * sr, test::kTolerance);
    EXPECT_NEAR(all.z, cy * cp * sr - sy * sp * cr, test::kTolerance);
    EXPECT_NEAR(all.w, cy * cp * cr + sy * sp * sr, test::kTolerance);
}

TEST(D3DMath, AffineTransformationScalesTurnsAboutItsCentreAndMoves) {
    const Matrix m = MatrixAffineTransformation(
        2.0f, {1, 0, 0}, QuaternionRotationAxis({0, 1, 0}, kQuarterTurn), {0, 0, 5});
    // Rows: twice the turned axes; translation (-c) R + c + t = (0, 0, 1) + (1, 0, 0) + (0, 0, 5).
    const float expected[4][4] = {{0, 0, -2, 0}, {0, 2, 0, 0}, {2, 0, 0, 0}, {1, 0, 6, 1}};
    ExpectMatrixNear(m, expected);
    // (2, 0, 0) scaled to (4, 0, 0), turned about (1, 0, 0) to (1, 0, -3), moved to (1, 0, 2).
    ExpectNear(Vec3TransformCoord({2, 0, 0}, m), {1, 0, 2});
}

TEST(D3DMath, InverseUndoesATransformationAndRefusesASingularOne) {
    const Matrix m = MatrixAffineTransformation(
        2.0f, {1, 0, 0}, QuaternionRotationAxis({1, 1, 0}, 0.4f), {3, -1, 5});
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(m, inverse));
    ExpectMatrixNear(m * inverse, MatrixIdentity());
    ExpectNear(Vec3TransformCoord(Vec3TransformCoord({7, 8, 9}, m), inverse), {7, 8, 9}, 1e-4f);

    Matrix untouched = MatrixTranslation(1, 1, 1);
    EXPECT_FALSE(MatrixInverse(MatrixScaling(1, 0, 1), untouched));
    EXPECT_EQ(untouched, MatrixTranslation(1, 1, 1));
}

TEST(D3DMath, PerspectiveMapsTheNearPlaneToZeroAndTheFarPlaneToOne) {
    const Matrix m = MatrixPerspectiveFovLH(kQuarterTurn, 1.0f, 1.0f, 11.0f);
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.1f, 1}, {0, 0, -1.1f, 0}};
    ExpectMatrixNear(m, expected);
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 1}, m).z, 0.0f, test::kTolerance);
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 11}, m).z, 1.0f, test::kTolerance);
    // Wider than high: x shrinks by the aspect.
    EXPECT_NEAR(MatrixPerspectiveFovLH(kQuarterTurn, 2.0f, 1.0f, 11.0f)(0, 0), 0.5f, 1e-6f);
}

TEST(D3DMath, NormalsIgnoreTheTranslation) {
    const Matrix m = MatrixRotationAxis({0, 1, 0}, kQuarterTurn) * MatrixTranslation(9, 9, 9);
    ExpectNear(Vec3TransformNormal({1, 0, 0}, m), {0, 0, -1});
}

TEST(D3DMath, SlerpTakesTheShorterArc) {
    const Quaternion from = QuaternionIdentity();
    const Quaternion to = QuaternionRotationAxis({0, 1, 0}, kQuarterTurn);
    ExpectMatrixNear(MatrixRotationQuaternion(QuaternionSlerp(from, to, 0.5f)),
                     MatrixRotationAxis({0, 1, 0}, kQuarterTurn / 2));
    // The same rotation written with all signs flipped still interpolates the short way.
    const Quaternion flipped{-to.x, -to.y, -to.z, -to.w};
    ExpectMatrixNear(MatrixRotationQuaternion(QuaternionSlerp(from, flipped, 0.5f)),
                     MatrixRotationAxis({0, 1, 0}, kQuarterTurn / 2));
}

} // namespace
} // namespace lobex
