#pragma once
// One standard bar of the rock bolts: material name, nominal size, remark and six
// numbers. The standard-bar table holds a list of them; the reinforcement conditions of a case
// hold the one chosen for it.

#include <string>

#include "core/base/Utility.h"

class Archive;

class CReinfStdBar {
 public:
  CReinfStdBar() = default;

  // Texts empty, numbers unset.
  void Init() { *this = CReinfStdBar(); }
  void Copy(const CReinfStdBar& other) { *this = other; }
  // The three texts and the six numbers equal.
  bool IsSame(const CReinfStdBar& other) const;
  // The six numbers equal.
  bool IsSameUseCale(const CReinfStdBar& other) const;
  // Material name and nominal size given, and w, d, As and D set; the stresses are not needed.
  bool IsValid() const;

  // Record: material name, nominal size (from version 7), remark, then the six numbers.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; an older record leaves the nominal size
  // empty.
  void Load(Archive& ar, int version);

  std::string name;  // material, e.g. "ネジ節棒鋼"
  std::string kei;   // nominal size, e.g. "D22"
  std::string remark;
  double w = kNoValue;         // unit mass, kg/m
  double d = kNoValue;         // bar diameter, mm
  double as = kNoValue;        // section area, cm2
  double drillD = kNoValue;    // drilling diameter, mm
  double sigmaSaN = kNoValue;  // allowable tensile stress, normal case, N/mm2
  double sigmaSaQ = kNoValue;  // allowable tensile stress, seismic case, N/mm2
};
