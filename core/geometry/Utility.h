#pragma once
// The no-value sentinels and the numeric and text helpers that the whole core shares.

#include <climits>
#include <string>

// Nothing entered or computed; compared exactly, never with a tolerance. Shown as empty text.
inline constexpr double kNoValue = -9e32;
inline constexpr int kNoValueInt = INT_MIN;
// A view area that is not set yet; also the start value of minimum searches.
inline constexpr double kAreaNotSet = 9e32;

double RoundUp(double x, double pitch);
double RoundDown(double x, double pitch);
double RoundOff(double x, double pitch);
// v lies between a and b (either order), both ends included with a slack of 1e-13.
bool IsBetween(double a, double b, double v);

std::string DoubleToStr(double value, int decimals);
std::string DoubleToExpStr(double value);
std::string IntToStr(int value);
// digitsCode -1 keeps the parsed value; 1..7 round to that many decimals; anything else to 1.0.
double StrToDouble(const std::string& text, int digitsCode);
int StrToInt(const std::string& text, int defaultValue);

// The part of a path before its last separator; the whole path when it has none.
std::string GetFileDir(const std::string& path);
// The program's folder, ending in a separator.
std::string GetModuleDir();
// Handles every waiting user-interface event and returns without waiting.
void PumpMessages();
