#pragma once
// The soil properties of one stratum: name, fill colour, unit weights, strength constants and
// the source of the unit skin friction. Each stratum polygon carries one; the soil dialog edits
// it in place and the block method reads the unit weights and the strength constants.

#include <array>
#include <string>

#include "core/base/Utility.h"
#include "core/section/SkinFriction.h"
#include "platform/DevTypes.h"

class Archive;

// The soil-value block handed to the soil dialog and the report writer: the first four values
// are the strength values a stability calculation needs, tauP is derived.
struct tagSATURATE {
  double gammaT = kNoValue;    // moist unit weight
  double gammaSat = kNoValue;  // saturated unit weight
  double phi = kNoValue;       // internal friction angle (degrees)
  double c = kNoValue;         // cohesion
  double tauP = kNoValue;      // unit skin friction, see Calc_tauP
};

// The unit weight a layer of this soil takes by kind: 0 moist above water and saturated below
// (as `moist` says), 1 moist, 2 saturated; 0 for any other kind.
inline double UnitWeight(const tagSATURATE& soil, int kind, bool moist) {
  switch (kind) {
    case 0:
      return moist ? soil.gammaT : soil.gammaSat;
    case 1:
      return soil.gammaT;
    case 2:
      return soil.gammaSat;
    default:
      return 0;
  }
}

class CStratumProp {
 public:
  static constexpr int kSwitchCount = 3;

  CStratumProp() = default;

  void Copy(const CStratumProp& other) { *this = other; }
  // A stratum without a soil name has no properties yet.
  bool IsEmpty() const { return name_.empty(); }
  // Every stored field equal (doubles compared exactly).
  bool IsSame(const CStratumProp& other) const;
  // The fields that enter a calculation equal: the soil-value block, extra and the switches.
  bool IsSameUseCalc(const CStratumProp& other) const;

  // Derives tauP from the skin-friction setting: kind 0 keeps it, kind 1 derives it from the
  // value (no value gives kNoValue), any other kind clears it. The argument is not consulted.
  void Calc_tauP(int);
  // "試験値", "経験式", "一般値", "その他" for setting kinds 1 to 4; empty text otherwise.
  std::string GetSettingStr() const;

  // The version is handed to the skin-friction record. Load reads the whole record before it
  // changes anything.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  const std::string& GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  Color GetColor() const { return color_; }
  void SetColor(Color color) { color_ = color; }
  tagSATURATE& GetSaturate() { return saturate_; }
  const tagSATURATE& GetSaturate() const { return saturate_; }
  int GetExtra() const { return extra_; }
  void SetExtra(int extra) { extra_ = extra; }
  const std::string& GetRemark() const { return remark_; }
  void SetRemark(const std::string& remark) { remark_ = remark; }
  int GetSettingKind() const { return settingKind_; }
  void SetSettingKind(int kind) { settingKind_ = kind; }
  CSkinFriction& GetSkinFriction() { return friction_; }
  const CSkinFriction& GetSkinFriction() const { return friction_; }
  // Stratum switches 0 to 2; another number throws std::out_of_range.
  int GetSwitch(int n) const;
  void SetSwitch(int n, int value);

 private:
  std::string name_;
  Color color_ = Color::Rgb(255, 255, 255);
  tagSATURATE saturate_;
  int extra_ = 0;
  std::string remark_;
  int settingKind_ = 0;
  CSkinFriction friction_;
  std::array<int, kSwitchCount> switches_{};
};
