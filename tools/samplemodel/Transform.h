#pragma once
// The little rigid-body algebra the sample figure is posed with: rotations as unit
// quaternions, a transform as a rotation followed by a translation, no scale.

#include <cmath>

namespace samplemodel {

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec3 normalized(Vec3 a) {
    return a * (1.0 / std::sqrt(dot(a, a)));
}

struct Quat {
    double w = 1;
    double x = 0;
    double y = 0;
    double z = 0;
};

// The Hamilton product: (a * b) rotates by b first, then by a.
inline Quat operator*(Quat a, Quat b) {
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
            a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

inline Quat axisAngle(Vec3 unitAxis, double degrees) {
    const double half = degrees * M_PI / 360.0;
    const Vec3 v = unitAxis * std::sin(half);
    return {std::cos(half), v.x, v.y, v.z};
}

// Positive angles turn counter-clockwise when looking down the axis towards the origin.
inline Quat aboutX(double degrees) {
    return axisAngle({1, 0, 0}, degrees);
}
inline Quat aboutY(double degrees) {
    return axisAngle({0, 1, 0}, degrees);
}
inline Quat aboutZ(double degrees) {
    return axisAngle({0, 0, 1}, degrees);
}

inline Vec3 rotate(Quat q, Vec3 v) {
    const Vec3 u{q.x, q.y, q.z};
    const Vec3 t = cross(u, v) * 2.0;
    return v + t * q.w + cross(u, t);
}

struct Transform {
    Vec3 position;
    Quat rotation;
};

inline Vec3 apply(const Transform& t, Vec3 point) {
    return t.position + rotate(t.rotation, point);
}

// `local` is expressed in the frame that `parent` places.
inline Transform compose(const Transform& parent, const Transform& local) {
    return {apply(parent, local.position), parent.rotation * local.rotation};
}

} // namespace samplemodel
