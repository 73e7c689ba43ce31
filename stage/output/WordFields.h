#pragma once
// What the Word report bodies share to fill their fields: the rounding codes of the quantities
// they show, numbers as field text and the full-width digits of numbered keys.

#include <string>

#include "platform/DevTypes.h"
#include "stage/output/ReportNumberText.h"

namespace word_fields {

// Rounding codes of the quantities the reports show.
inline constexpr int kCodeArea = 111;
inline constexpr int kCodeAngle = 112;
inline constexpr int kCodeCohesion = 131;
inline constexpr int kCodeWidth = 141;
inline constexpr int kCodePhi = 161;
inline constexpr int kCodeTanPhi = 162;
inline constexpr int kCodeFs = 163;
inline constexpr int kCodePlanFs = 164;
inline constexpr int kCodeGammaSat = 171;
inline constexpr int kCodeGammaT = 172;
inline constexpr int kCodeGammaW = 173;
inline constexpr int kCodeHeight = 181;
inline constexpr int kCodeKh = 211;
inline constexpr int kCodeLength = 221;
inline constexpr int kCodeSkinFriction = 302;
inline constexpr int kCodeU = 311;
inline constexpr int kCodeWeight = 331;
inline constexpr int kCodeX = 341;
inline constexpr int kCodeY = 351;
inline constexpr int kCodeValue0 = 990;
inline constexpr int kCodeDistance = 991;
inline constexpr int kCodeMw = 992;
inline constexpr int kCodeValue3 = 993;
inline constexpr int kCodeStrain = 994;
inline constexpr int kCodeValue5 = 995;
inline constexpr int kCodeValue7 = 997;

inline constexpr DevRect kSectionFigure{0, 0, 960, 600};
inline constexpr DevRect kGraphFigure{0, 0, 548, 340};

inline std::string Dbl(double value, int code) { return SetWordDbl(value, code); }
inline std::string Int(int value) { return SetWordInt(value); }
inline std::string Judge(bool ok) { return ok ? "OK" : "OUT"; }

// Full-width digits of the field and block keys that are numbered.
inline std::string FullWidthDigit(int digit) {
  static constexpr const char* kDigits[] = {"０", "１", "２", "３", "４",
                                            "５", "６", "７", "８", "９"};
  return kDigits[digit];
}

}  // namespace word_fields
