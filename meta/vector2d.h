#pragma once
// vector2dC: the small 2D vector of the curve-to-polyline code, two doubles, copied by value.

struct vector2dC {
    double x = 0.0;
    double y = 0.0;

    vector2dC() = default;
    vector2dC(double ax, double ay) : x(ax), y(ay) {}

    void setZero() { x = 0.0; y = 0.0; }
    void set(double ax, double ay) { x = ax; y = ay; }
    void assign(const vector2dC& o) { x = o.x; y = o.y; }
    double length() const;
    // The copy divided by its length; the zero vector stays zero.
    vector2dC normalized() const;
    double dot(const vector2dC& o) const { return x * o.x + y * o.y; }
    vector2dC minus(const vector2dC& o) const { return {x - o.x, y - o.y}; }
    vector2dC divided(double f) const { return {x / f, y / f}; }
};
