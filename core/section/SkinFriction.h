#pragma once
// Two small soil-strength records: the skin-friction setting that a stratum's soil properties
// carry, and a cohesion / friction-angle record with a remark.

#include <array>
#include <string>

#include "core/base/Utility.h"

class Archive;

// Where the unit skin friction of a stratum comes from: kind 0 = not derived, kind 1 = derived
// from the value. Other kinds have no meaning and read back as 0.
class CSkinFriction {
 public:
  CSkinFriction() = default;

  void Init();
  // Record: int32 kind, double value. The version is not consulted.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar, int version);
  void Copy(const CSkinFriction& other);
  bool IsSame(const CSkinFriction& other) const;

  // The unit skin friction derived from the value: for kind 1 with a value,
  // (value * 10 + 12) / 1000 rounded half up to 0.001; otherwise kNoValue. The argument is not
  // consulted.
  double GetData(int) const;

  int GetKind() const { return kind_; }
  void SetKind(int kind) { kind_ = kind; }
  double GetValue() const { return value_; }
  void SetValue(double value) { value_ = value; }

 private:
  int kind_ = 0;
  double value_ = kNoValue;
};

// Cohesion c, friction angle phi, four further strength values and a remark.
class CCFai {
 public:
  CCFai() = default;
  virtual ~CCFai() = default;
  CCFai(const CCFai&) = default;
  CCFai& operator=(const CCFai&) = default;

  void Copy(const CCFai& other) { *this = other; }

  // Record: the six doubles, then the remark as a framework string.
  void Store(Archive& ar) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar);

  double GetC() const { return values_[kC]; }
  void SetC(double c) { values_[kC] = c; }
  double GetFai() const { return values_[kFai]; }
  void SetFai(double fai) { values_[kFai] = fai; }
  const std::string& GetBikou() const { return bikou_; }
  void SetBikou(const std::string& bikou) { bikou_ = bikou; }

 private:
  static constexpr std::size_t kC = 0;
  static constexpr std::size_t kFai = 1;

  std::array<double, 6> values_{kNoValue, kNoValue, kNoValue, kNoValue, kNoValue, kNoValue};
  std::string bikou_;
};
