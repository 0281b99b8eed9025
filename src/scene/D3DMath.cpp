#include "D3DMath.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lobex {
namespace {

// A Direct3D matrix and the GLM matrix of the same transformation share their memory layout:
// Direct3D's rows are GLM's columns, and the column-vector matrix is the transpose of the
// row-vector one. Products swap their order: first * second becomes second * first.
glm::mat4 ToGlm(const Matrix& matrix) {
    return glm::make_mat4(matrix.data());
}

Matrix FromGlm(const glm::mat4& matrix) {
    Matrix result;
    std::memcpy(&result.m[0][0], glm::value_ptr(matrix), sizeof(result.m));
    return result;
}

glm::vec3 ToGlm(Vector3 v) {
    return {v.x, v.y, v.z};
}

Vector3 FromGlm(const glm::vec3& v) {
    return {v.x, v.y, v.z};
}

// glm::quat's constructor takes w first.
glm::quat ToGlm(Quaternion q) {
    return glm::quat(q.w, q.x, q.y, q.z);
}

Quaternion FromGlm(const glm::quat& q) {
    return {q.x, q.y, q.z, q.w};
}

} // namespace

Matrix operator*(const Matrix& first, const Matrix& second) {
    return MatrixMultiply(first, second);
}

Matrix MatrixIdentity() {
    return FromGlm(glm::mat4(1.0f));
}

Matrix MatrixMultiply(const Matrix& first, const Matrix& second) {
    return FromGlm(ToGlm(second) * ToGlm(first));
}

Matrix MatrixTranslation(float x, float y, float z) {
    return FromGlm(glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)));
}

Matrix MatrixScaling(float x, float y, float z) {
    return FromGlm(glm::scale(glm::mat4(1.0f), glm::vec3(x, y, z)));
}

Matrix MatrixRotationAxis(Vector3 axis, float angle) {
    const glm::vec3 direction = ToGlm(axis);
    if (glm::length(direction) == 0.0f) {
        return MatrixIdentity();
    }
    // The right-handed column-vector rotation has the same numbers as Direct3D's left-handed
    // row-vector one: mirroring the handedness and transposing cancel out.
    return FromGlm(glm::rotate(glm::mat4(1.0f), angle, glm::normalize(direction)));
}

Matrix MatrixRotationQuaternion(Quaternion rotation) {
    return FromGlm(glm::mat4_cast(ToGlm(rotation)));
}

Matrix MatrixAffineTransformation(float scaling, Vector3 rotationCenter, Quaternion rotation,
                                  Vector3 translation) {
    const glm::vec3 center = ToGlm(rotationCenter);
    const glm::mat4 identity(1.0f);
    const glm::mat4 result = glm::translate(identity, ToGlm(translation)) *
                             glm::translate(identity, center) * glm::mat4_cast(ToGlm(rotation)) *
                             glm::translate(identity, -center) *
                             glm::scale(identity, glm::vec3(scaling));
    return FromGlm(result);
}

bool MatrixInverse(const Matrix& matrix, Matrix& inverse) {
    const glm::mat4 m = ToGlm(matrix);
    const float determinant = glm::determinant(m);
    if (determinant == 0.0f || !std::isfinite(determinant)) {
        return false;
    }
    inverse = FromGlm(glm::inverse(m));
    return true;
}

Matrix MatrixPerspectiveFovLH(float fieldOfViewY, float aspect, float zNear, float zFar) {
    return FromGlm(glm::perspectiveLH_ZO(fieldOfViewY, aspect, zNear, zFar));
}

Matrix MatrixTranspose(const Matrix& matrix) {
    return FromGlm(glm::transpose(ToGlm(matrix)));
}

Quaternion QuaternionIdentity() {
    return {};
}

Quaternion QuaternionRotationAxis(Vector3 axis, float angle) {
    const glm::vec3 direction = ToGlm(axis);
    if (glm::length(direction) == 0.0f) {
        return QuaternionIdentity();
    }
    return FromGlm(glm::angleAxis(angle, glm::normalize(direction)));
}

Quaternion QuaternionRotationYawPitchRoll(float yaw, float pitch, float roll) {
    const glm::quat yawTurn = glm::angleAxis(yaw, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::quat pitchTurn = glm::angleAxis(pitch, glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::quat rollTurn = glm::angleAxis(roll, glm::vec3(0.0f, 0.0f, 1.0f));
    return FromGlm(yawTurn * pitchTurn * rollTurn);
}

Quaternion QuaternionNormalize(Quaternion q) {
    const glm::quat value = ToGlm(q);
    if (glm::length(value) == 0.0f) {
        return q;
    }
    return FromGlm(glm::normalize(value));
}

Quaternion QuaternionSlerp(Quaternion from, Quaternion to, float t) {
    return FromGlm(glm::slerp(ToGlm(from), ToGlm(to), t));
}

Quaternion QuaternionRotationMatrix(const Matrix& matrix) {
    glm::mat3 rotation(ToGlm(matrix));
    for (int column = 0; column < 3; ++column) {
        const float length = glm::length(rotation[column]);
        if (length != 0.0f) {
            rotation[column] /= length;
        }
    }
    return FromGlm(glm::normalize(glm::quat_cast(rotation)));
}

Vector3 Vec3Lerp(Vector3 from, Vector3 to, float t) {
    return from + (to - from) * t;
}

Vector3 Vec3Minimize(Vector3 a, Vector3 b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
}

Vector3 Vec3Maximize(Vector3 a, Vector3 b) {
    return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
}

Vector3 Vec3TransformCoord(Vector3 point, const Matrix& matrix) {
    const glm::vec4 result = ToGlm(matrix) * glm::vec4(ToGlm(point), 1.0f);
    if (result.w == 0.0f) {
        return FromGlm(glm::vec3(result));
    }
    return FromGlm(glm::vec3(result) / result.w);
}

Vector3 Vec3TransformNormal(Vector3 normal, const Matrix& matrix) {
    return FromGlm(glm::vec3(ToGlm(matrix) * glm::vec4(ToGlm(normal), 0.0f)));
}

float PlaneDotCoord(const Plane& plane, Vector3 point) {
    return plane.a * point.x + plane.b * point.y + plane.c * point.z + plane.d;
}

} // namespace lobex
