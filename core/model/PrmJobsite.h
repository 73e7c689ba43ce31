#pragma once
// The site data of a case: the site, line and case names, ten comments and the slope direction.
// Only the direction enters a calculation.

#include <array>
#include <string>

class Archive;

class CPrmJobsite {
 public:
  static constexpr int kNameCount = 3;
  static constexpr int kCommentCount = 10;
  // Slope directions.
  static constexpr int kDirectionAuto = 0;
  static constexpr int kDirectionRightUpper = 1;

  CPrmJobsite() = default;

  void Init() { *this = CPrmJobsite(); }
  void Copy(const CPrmJobsite& other) { *this = other; }
  // Record: the three names and the ten comments as framework strings, then the direction as an
  // int32. No version gate.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar, int version);
  // Names, comments and direction equal.
  bool IsSame(const CPrmJobsite& other) const;
  // The direction equal: the only site datum a calculation uses.
  bool IsSameUseCale(const CPrmJobsite& other) const { return direction == other.direction; }

  // Site, line and case name (SITE_NAME, LINE_NAME and CASE_NAME of the common terrain data).
  std::array<std::string, kNameCount> names;
  std::array<std::string, kCommentCount> comments;
  int direction = kDirectionAuto;
};
