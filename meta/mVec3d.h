#pragma once
// mVec3dC: plain 3D point or vector of three doubles, copied by value, no virtual functions.
// Every operation returns a new value unless it says "in place".

struct mVec3dC {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    mVec3dC() = default;
    mVec3dC(double ax, double ay, double az) : x(ax), y(ay), z(az) {}

    // Address of the components, x first (three consecutive doubles).
    double* components() { return &x; }
    const double* components() const { return &x; }

    void set(double ax, double ay, double az) { x = ax; y = ay; z = az; }
    void assign(const mVec3dC& o) { x = o.x; y = o.y; z = o.z; }
    void assign(const double* values) { x = values[0]; y = values[1]; z = values[2]; }  // copies three

    mVec3dC plus(const mVec3dC& o) const { return {x + o.x, y + o.y, z + o.z}; }
    mVec3dC minus(const mVec3dC& o) const { return {x - o.x, y - o.y, z - o.z}; }
    mVec3dC times(double f) const { return {x * f, y * f, z * f}; }
    mVec3dC divided(double f) const { return {x / f, y / f, z / f}; }
    double dot(const mVec3dC& o) const { return x * o.x + y * o.y + z * o.z; }
    // (y1 z2 - z1 y2, z1 x2 - x1 z2, x1 y2 - y1 x2)
    mVec3dC cross(const mVec3dC& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    double length() const;
    // In place, to unit length. The zero vector is left as it is (no division by zero).
    void normalize();
    mVec3dC unit() const { mVec3dC v = *this; v.normalize(); return v; }
    // 1 when every coordinate differs by at most the tolerance, else 0.
    int equalsWithin(const mVec3dC& o, double tolerance) const;
    // In place: a coordinate whose magnitude is below the threshold becomes 0.0.
    void snapToZero(double threshold);
};
