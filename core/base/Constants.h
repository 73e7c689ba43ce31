#pragma once
// The constants that the whole core shares: the same-point tolerance, the input range of
// coordinates, the quantity codes of the shapes' rounding, the colours of more than one drawing,
// and the one conversion between degrees and radians.

#include <numbers>

#include "platform/DevTypes.h"

// Two points closer than this are the same point.
inline constexpr double kSamePoint = 1e-4;
// Entered coordinates lie within ±kCoordinateLimit; a value outside becomes no value.
inline constexpr double kCoordinateLimit = 9999.999;

// Quantity codes of the rounding rules (CUnitFilter) that the shapes use.
inline constexpr int kRoundCodeX = 341;          // x coordinates
inline constexpr int kRoundCodeY = 351;          // y coordinates
inline constexpr int kRoundCode1Decimal = 991;   // load angles
inline constexpr int kRoundCode2Decimals = 992;  // load intensities and their components
inline constexpr int kRoundCode3Decimals = 993;  // slide circle radius

inline constexpr Color kBlack = Color::Rgb(0, 0, 0);
inline constexpr Color kRed = Color::Rgb(255, 0, 0);
inline constexpr Color kBlue = Color::Rgb(0, 0, 255);

// Angles are converted between degrees and radians by one multiplication with the rounded factor
// (0.017453292519943295 and 57.29577951308232), never as angle * pi / 180: the two orders differ in
// the last bit for about a quarter of all tenth-degree angles, and every formula converts alike.
inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

constexpr double DegToRad(double degrees) { return degrees * kRadiansPerDegree; }
constexpr double RadToDeg(double radians) { return radians * kDegreesPerRadian; }
