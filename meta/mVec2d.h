#pragma once
// mVec2dC: plain 2D point or vector of two doubles, copied by value, no virtual functions.
// Every operation returns a new value unless it says "in place".

struct mVec2dC {
    double x = 0.0;
    double y = 0.0;

    mVec2dC() = default;
    mVec2dC(double ax, double ay) : x(ax), y(ay) {}

    // Address of the components, x first (two consecutive doubles).
    double* components() { return &x; }
    const double* components() const { return &x; }

    void set(double ax, double ay) { x = ax; y = ay; }
    void assign(const mVec2dC& o) { x = o.x; y = o.y; }
    void assign(const double* values) { x = values[0]; y = values[1]; }  // copies two

    mVec2dC plus(const mVec2dC& o) const { return {x + o.x, y + o.y}; }
    mVec2dC minus(const mVec2dC& o) const { return {x - o.x, y - o.y}; }
    mVec2dC times(double f) const { return {x * f, y * f}; }
    mVec2dC divided(double f) const { return {x / f, y / f}; }
    double dot(const mVec2dC& o) const { return x * o.x + y * o.y; }
    double length() const;
    // Turned by +90 degrees: (-y, x).
    mVec2dC perpendicular() const { return {-y, x}; }
    // In place, to unit length. The zero vector is left as it is (no division by zero).
    void normalize();
    // Copy of unit length; the zero vector for the zero vector.
    mVec2dC unit() const { mVec2dC v = *this; v.normalize(); return v; }
    // 1 when both coordinates differ by at most the tolerance, else 0.
    int equalsWithin(const mVec2dC& o, double tolerance) const;
    // In place: a coordinate whose magnitude is below the threshold becomes 0.0.
    void snapToZero(double threshold);
};

// Sets component c (0 x, 1 y) of entry i of a plain array of 2D vectors held as doubles.
inline void setVec2dComponent(double* array, int i, int c, double value) { array[2 * i + c] = value; }
