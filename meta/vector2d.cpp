#include "meta/vector2d.h"

#include <cmath>

double vector2dC::length() const { return std::sqrt(x * x + y * y); }

vector2dC vector2dC::normalized() const {
    const double len = length();
    if (len == 0.0) return {};
    return divided(len);
}
