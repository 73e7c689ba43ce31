#pragma once
// The local-failure check of the rope net at the coefficient of local failure: the force one
// bolt must hold, the sag and tension of the net, the allowable force of the bolt (the smaller of
// its pull-out resistance over the anchorage length and its tensile capacity) and the safety
// factor of the net against its breaking strength, with both judgements. The case holds one and
// the document stores it.
//
// Every result is unset unless all the values it is computed from are set; the bolt values use
// the seismic safety factor, bond stress and tensile stress, as the check is made in an
// earthquake.

#include <cstdint>
#include <string>

#include "core/base/Utility.h"

class Archive;
class CPrmReinf;
class CPrmShear;
class CReinforce;
class CResShear;

class CResFocus {
 public:
  // A judgement as shown: none while a value it needs is unset; no load while the design force
  // is not positive (the block stays put without the net).
  enum class Judge : std::uint8_t { kNone, kNoLoad, kOk, kOut };

  CResFocus() = default;

  void Init() { *this = CResFocus(); }
  // The results unset; the count, the unit word, the required FsRN and the capacity stay.
  void ClearRes();
  void Copy(const CResFocus& other) { *this = other; }
  friend bool operator==(const CResFocus&, const CResFocus&) = default;

  // CalcTRN, CalcT, then CalcFsRN.
  void CalcAll(const CPrmShear& shear, const CResShear& result, const CPrmReinf& reinf,
               const CReinforce& bar);
  // Design force, sag and tension at the block weight and the coefficient of local failure of
  // the shear-deformation result; all unset while the count is unset or not positive.
  void CalcTRN(const CPrmShear& shear, const CResShear& result);
  // Resistances, anchorage length, pull-out and tensile force of the bar.
  void CalcT(const CPrmShear& shear, const CPrmReinf& reinf, const CReinforce& bar);
  // capacity / TRN while the required FsRN and the capacity are set and TRN is positive, else
  // unset.
  void CalcFsRN();

  // The smaller of the set resistances tau1 and tau2; unset when neither is.
  double GetTa() const { return SmallerSet(tau1, tau2); }
  // The allowable force T: the smaller of the set values Tpa and Tsa; unset when neither is.
  double GetT() const { return SmallerSet(tpa, tsa); }
  // The design force against T, passing on equality.
  Judge JudgeT() const;
  // FsRN against the required FsRN, passing on equality.
  Judge JudgeFsRN() const;
  // The check passes (or has nothing to hold): OK or no load.
  bool IsJudgeT() const { return Passes(JudgeT()); }
  bool IsJudgeFsRN() const { return Passes(JudgeFsRN()); }
  // The design force is set and not positive.
  bool IsNoLoad() const { return trb != kNoValue && trb <= 0.0; }
  // Design force, T, required FsRN and FsRN all set.
  bool IsResult() const;
  bool IsValidTRN() const { return count != kNoValueInt; }
  bool IsValidFS_RN() const { return requiredFsRN != kNoValue && capacity != kNoValue; }
  // The count followed by the unit word, e.g. "4本"; empty while the count is unset.
  std::string GetStrNetUnit() const;
  // What the count counts: "土塊ブロック内の" and "横ロープ本数" for "本", else "ネット枚数".
  std::string GetStrNetUnitName() const;

  // Record: the count (int32), from document version 7 the unit word, then the twelve doubles
  // from the required FsRN to FsRN. An older record derives the unit word from the count (8 nets,
  // 4 ropes; any other count keeps the word). Load reads the whole record before it changes
  // anything.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  static constexpr const char* kUnitRope = "本";
  static constexpr const char* kUnitNet = "枚";

  std::int32_t count = kNoValueInt;  // n: nets, or horizontal ropes, inside one soil block
  std::string unitWord;              // "本" when n counts ropes, "枚" when it counts nets
  double requiredFsRN = 2.0;         // planned safety factor of the net
  double capacity = kNoValue;        // TRNa: breaking strength of the net, kN
  double reserved = kNoValue;        // stored and cleared, never computed
  double trb = kNoValue;             // design force on the bolt at local failure, kN
  double sag = kNoValue;             // f, m
  double trn = kNoValue;             // tension of the net with the block weight, kN
  double tau1 = kNoValue;            // allowable ground-grout resistance per metre of bolt, kN/m
  double tau2 = kNoValue;            // allowable bar-grout bond per metre of bolt, kN/m
  double la = kNoValue;              // anchorage length, m
  double tpa = kNoValue;             // allowable pull-out force, kN
  double tsa = kNoValue;             // allowable tensile force of the bar, kN
  double fsRN = kNoValue;            // safety factor of the net

 private:
  static double SmallerSet(double a, double b);
  static bool Passes(Judge judge) { return judge == Judge::kOk || judge == Judge::kNoLoad; }
};
