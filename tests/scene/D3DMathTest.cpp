#include "scene/D3DMath.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::ExpectMatrixNear;

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

} // namespace
} // namespace lobex
