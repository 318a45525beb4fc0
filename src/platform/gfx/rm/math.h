// Vectors and rigid transforms of the scene. Points are row vectors: a point p of a frame is
// p * rotation + position in its parent. Co-ordinates are left-handed: x right, y up, z away
// from the viewer.
#pragma once

#include <cmath>

namespace gfx::rm {

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    bool operator==(const Vec3&) const = default;
};

inline float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const Vec3& v) {
    return std::sqrt(Dot(v, v));
}
// The unit vector of v; false (and v unchanged) for a vector too short to have a direction.
inline bool Normalize(Vec3& v) {
    const float length = Length(v);
    if (!(length > 1e-12f) || !std::isfinite(length)) {
        return false;
    }
    v = v * (1.0f / length);
    return true;
}

// Rows are the images of the x, y and z axes.
struct Mat3 {
    Vec3 row[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Vec3 operator*(const Vec3& v, const Mat3& m) {
    return m.row[0] * v.x + m.row[1] * v.y + m.row[2] * v.z;
}
inline Mat3 operator*(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; ++i) {
        r.row[i] = a.row[i] * b;
    }
    return r;
}
inline Mat3 Transpose(const Mat3& m) {
    Mat3 r;
    r.row[0] = {m.row[0].x, m.row[1].x, m.row[2].x};
    r.row[1] = {m.row[0].y, m.row[1].y, m.row[2].y};
    r.row[2] = {m.row[0].z, m.row[1].z, m.row[2].z};
    return r;
}

// Rotation by angle radians about a unit axis, left-handed: seen from the axis' tip towards
// the origin a positive angle turns clockwise; about +y, (1, 0, 0) goes to (cos, 0, -sin).
inline Mat3 AxisRotation(const Vec3& axis, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1 - c;
    const float x = axis.x;
    const float y = axis.y;
    const float z = axis.z;
    Mat3 m;
    m.row[0] = {t * x * x + c, t * x * y + s * z, t * x * z - s * y};
    m.row[1] = {t * x * y - s * z, t * y * y + c, t * y * z + s * x};
    m.row[2] = {t * x * z + s * y, t * y * z - s * x, t * z * z + c};
    return m;
}

// Makes the rows orthonormal again after many small rotations, keeping the z and y axes'
// directions as far as possible.
inline void Orthonormalize(Mat3& m) {
    Vec3 z = m.row[2];
    Vec3 y = m.row[1];
    if (!Normalize(z)) {
        m = Mat3{};
        return;
    }
    Vec3 x = Cross(y, z);
    if (!Normalize(x)) {
        m = Mat3{};
        return;
    }
    y = Cross(z, x);
    m.row[0] = x;
    m.row[1] = y;
    m.row[2] = z;
}

// A rotation followed by a move.
struct Transform {
    Mat3 rotation;
    Vec3 position;
};

inline Vec3 TransformPoint(const Transform& t, const Vec3& p) {
    return p * t.rotation + t.position;
}
// First inner, then outer.
inline Transform Compose(const Transform& inner, const Transform& outer) {
    return {inner.rotation * outer.rotation, TransformPoint(outer, inner.position)};
}
// The inverse of a rigid transform.
inline Transform Inverse(const Transform& t) {
    const Mat3 back = Transpose(t.rotation);
    return {back, (t.position * -1.0f) * back};
}

}  // namespace gfx::rm
