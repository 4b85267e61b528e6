#pragma once
// mVec4dC: plain homogeneous 3D vector of four doubles (x, y, z, w), copied by value.

struct mVec4dC {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0;

    mVec4dC() = default;
    mVec4dC(double ax, double ay, double az, double aw) : x(ax), y(ay), z(az), w(aw) {}

    double* components() { return &x; }
    const double* components() const { return &x; }

    void set(double ax, double ay, double az, double aw) { x = ax; y = ay; z = az; w = aw; }
    void assign(const mVec4dC& o) { *this = o; }
    void assign(const double* values) { x = values[0]; y = values[1]; z = values[2]; w = values[3]; }
};
