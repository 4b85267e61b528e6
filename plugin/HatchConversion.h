#pragma once
// The pattern of the hatches that the metafile conversion makes: a user-defined pattern of
// parallel lines, turned by 45 degrees from the hatch's "ANGLE", with the hatch's "DISTANCE" as
// spacing (5.0 when it is 0 or absent). The HATCH maker itself is a CommandContext member
// (HatchConversion.cpp); this record owns nothing.

// The spacing of a hatch whose "DISTANCE" is 0 or absent, in millimetres like the metafile.
constexpr double kDefaultHatchSpacing = 5.0;

struct HatchPattern {
  double angle = 0.0;    // radians: groups 52 and 53
  double spacing = 0.0;  // group 41
  double offsetX = 0.0;  // group 45: the offset between two lines, perpendicular to them
  double offsetY = 0.0;  // group 46
};

// The pattern of a hatch with the given "ANGLE" (degrees) and "DISTANCE".
HatchPattern hatchPattern(double angleDegrees, double distance);
