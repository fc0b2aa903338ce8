#pragma once

#include <cmath>

// A Cartesian vector; units and frame are stated by whoever holds it (usually au or au/day,
// heliocentric ecliptic and equinox J2000).
struct Vector3 {
  double x = 0.0, y = 0.0, z = 0.0;

  constexpr Vector3& operator+=(const Vector3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  constexpr Vector3& operator-=(const Vector3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
  }
  constexpr Vector3& operator*=(double k) {
    x *= k;
    y *= k;
    z *= k;
    return *this;
  }
  double Length() const { return std::sqrt(x * x + y * y + z * z); }
};

constexpr Vector3 operator+(Vector3 a, const Vector3& b) { return a += b; }
constexpr Vector3 operator-(Vector3 a, const Vector3& b) { return a -= b; }
constexpr Vector3 operator-(const Vector3& a) { return Vector3{-a.x, -a.y, -a.z}; }
constexpr Vector3 operator*(Vector3 a, double k) { return a *= k; }
constexpr Vector3 operator*(double k, Vector3 a) { return a *= k; }
constexpr Vector3 operator/(const Vector3& a, double k) {
  return Vector3{a.x / k, a.y / k, a.z / k};
}
constexpr double Dot(const Vector3& a, const Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
constexpr Vector3 Cross(const Vector3& a, const Vector3& b) {
  return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
