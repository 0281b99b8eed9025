#pragma once

#include <array>
#include <cmath>

// Direct3D's maths conventions, kept in one place: a left-handed space, row vectors (a point
// is transformed as v' = v M), matrices stored row by row with the translation in the fourth
// row, and M1 * M2 meaning "M1 first, then M2". The functions give the results of the
// same-named D3DX calls. The 16 floats of a Matrix, read in memory order, are also the
// column-major matrix OpenGL expects for column vectors, so a renderer can upload them as they
// are.
namespace lobex {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend bool operator==(const Vector3&, const Vector3&) = default;
};

inline Vector3 operator+(Vector3 a, Vector3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(Vector3 a, Vector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator*(Vector3 v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}
inline Vector3 operator/(Vector3 v, float s) {
    return {v.x / s, v.y / s, v.z / s};
}

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

// A plane a x + b y + c z + d = 0.
struct Plane {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;
};

struct Matrix {
    // m[row][column]; m[0][0] is _11, m[3][2] is _43.
    std::array<std::array<float, 4>, 4> m{};

    float operator()(int row, int column) const { return m[row][column]; }
    float& operator()(int row, int column) { return m[row][column]; }
    const float* data() const { return &m[0][0]; }

    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// first * second: the transformation that applies first, then second.
Matrix operator*(const Matrix& first, const Matrix& second);

Matrix MatrixIdentity();
Matrix MatrixMultiply(const Matrix& first, const Matrix& second);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float x, float y, float z);
// Rotation by angle radians about an axis through the origin (normalised here), turning
// clockwise when looking from the axis' tip towards the origin in the left-handed space.
Matrix MatrixRotationAxis(Vector3 axis, float angle);
Matrix MatrixRotationQuaternion(Quaternion rotation);
// Scaling about the origin, then rotation about rotationCenter, then translation.
Matrix MatrixAffineTransformation(float scaling, Vector3 rotationCenter, Quaternion rotation,
                                  Vector3 translation);
// False, leaving inverse alone, when the matrix cannot be inverted.
bool MatrixInverse(const Matrix& matrix, Matrix& inverse);
// Left-handed perspective projection with depth mapped to 0..1.
Matrix MatrixPerspectiveFovLH(float fieldOfViewY, float aspect, float zNear, float zFar);
Matrix MatrixTranspose(const Matrix& matrix);

Quaternion QuaternionIdentity();
Quaternion QuaternionRotationAxis(Vector3 axis, float angle);
// Roll about z first, then pitch about x, then yaw about y.
Quaternion QuaternionRotationYawPitchRoll(float yaw, float pitch, float roll);
Quaternion QuaternionNormalize(Quaternion q);
// Spherical interpolation along the shorter arc; t = 0 gives from, t = 1 gives to.
Quaternion QuaternionSlerp(Quaternion from, Quaternion to, float t);
// The rotation part of a matrix without scaling or shear.
Quaternion QuaternionRotationMatrix(const Matrix& matrix);

// The small vector operations are written out here: the pattern mesh runs them a million
// times per build.
inline float Vec3Dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
// The usual component formula (first operand x second operand).
inline Vector3 Vec3Cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Vec3Length(Vector3 v) {
    return std::sqrt(Vec3Dot(v, v));
}
// A zero vector stays zero.
inline Vector3 Vec3Normalize(Vector3 v) {
    const float length = Vec3Length(v);
    return length == 0.0f ? Vector3{} : v / length;
}
Vector3 Vec3Lerp(Vector3 from, Vector3 to, float t);
Vector3 Vec3Minimize(Vector3 a, Vector3 b);
Vector3 Vec3Maximize(Vector3 a, Vector3 b);
// The point (x, y, z, 1) through the matrix, divided by the resulting w.
Vector3 Vec3TransformCoord(Vector3 point, const Matrix& matrix);
// The direction (x, y, z, 0) through the matrix: no translation.
Vector3 Vec3TransformNormal(Vector3 normal, const Matrix& matrix);

float PlaneDotCoord(const Plane& plane, Vector3 point);

} // namespace lobex
