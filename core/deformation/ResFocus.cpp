// CResFocus: the rope-net local-failure check, its judgements and its record.

#include "core/deformation/ResFocus.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "core/base/Constants.h"
#include "core/deformation/Reinforce.h"
#include "core/deformation/ResShear.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "platform/Archive.h"

namespace {

// The unit word is in the record from this document version on.
constexpr int kUnitWordVersion = 7;
// Older records tell ropes from nets by these counts.
constexpr int kNetCount = 8;
constexpr int kRopeCount = 4;

bool AllSet(std::initializer_list<double> values) {
  return std::ranges::none_of(values, [](double v) { return v == kNoValue; });
}

// Either the judged value passes against its limit or it fails; nothing to judge while either is
// unset.
CResFocus::Judge JudgeSet(double value, double limit, bool passes) {
  if (!AllSet({value, limit})) return CResFocus::Judge::kNone;
  return passes ? CResFocus::Judge::kOk : CResFocus::Judge::kOut;
}

}  // namespace

void CResFocus::ClearRes() {
  reserved = trb = sag = trn = tau1 = tau2 = la = tpa = tsa = fsRN = kNoValue;
}

void CResFocus::CalcAll(const CPrmShear& shear, const CResShear& result, const CPrmReinf& reinf,
                        const CReinforce& bar) {
  CalcTRN(shear, result);
  CalcT(shear, reinf, bar);
  CalcFsRN();
}

void CResFocus::CalcTRN(const CPrmShear& shear, const CResShear& result) {
  trb = sag = trn = kNoValue;
  const double b = shear.blockDepth;
  // Unset values are negative and fail these tests too.
  if (count <= 0 || b <= 0.0) return;

  sag = 0.1 * b;
  const double w = result.weight;
  const double k = result.yieldK;
  const double h = shear.h;
  if (!AllSet({w, k, h, shear.theta})) return;
  const double theta = DegToRad(shear.theta);
  const double sinT = std::sin(theta);
  const double cosT = std::cos(theta);
  trb = RoundOff(w / 2.0 * (sinT * h / b + sinT * k - cosT + cosT * k * h / b), 0.1);

  const double l = shear.boltSpacing;
  if (l == kNoValue) return;
  if (trb <= 0.0) {
    // The block stays put on its own: the net carries nothing.
    trn = 0.0;
    return;
  }
  const double span = l / (4.0 * sag);
  trn = RoundOff(std::sqrt(span * span + 1.0) * trb * l / 4.0 / count, 0.01);
}

void CResFocus::CalcT(const CPrmShear& shear, const CPrmReinf& reinf, const CReinforce& bar) {
  tau1 = tau2 = la = tpa = tsa = kNoValue;
  const CReinfStdBar& stdBar = reinf.stdBar;

  if (AllSet({bar.length, shear.h})) {
    const double extra = bar.extraLength == kNoValue ? 0.0 : bar.extraLength;
    la = bar.length - extra - shear.h;
  }
  // The ground-grout resistance and the pull-out force rest on the safety factor; a factor that
  // is not positive gives neither.
  if (AllSet({reinf.tauP2, stdBar.drillD, reinf.fsaQ}) && reinf.fsaQ > 0.0) {
    tau1 = RoundOff(reinf.tauP2 * std::numbers::pi * stdBar.drillD / reinf.fsaQ, 0.01);
  }
  if (AllSet({reinf.tauCQ, stdBar.d})) {
    tau2 = RoundOff(reinf.tauCQ * std::numbers::pi * stdBar.d, 0.01);
  }
  // The pull-out force rests on the smaller of the resistances that are known: leaving it out
  // when one is unknown would let the tensile force alone judge the bolt, on the unsafe side.
  if (AllSet({la, GetTa()})) tpa = RoundOff(la * GetTa(), 0.01);
  if (AllSet({stdBar.as, stdBar.sigmaSaQ})) {
    tsa = RoundOff(stdBar.as * 1e-4 * stdBar.sigmaSaQ * 1000.0, 0.01);
  }
}

void CResFocus::CalcFsRN() {
  fsRN = kNoValue;
  if (IsValidFS_RN() && trn > 0.0) fsRN = RoundOff(capacity / trn, 0.001);
}

double CResFocus::SmallerSet(double a, double b) {
  if (a == kNoValue) return b;
  if (b == kNoValue) return a;
  return std::min(a, b);
}

CResFocus::Judge CResFocus::JudgeT() const {
  if (IsNoLoad()) return Judge::kNoLoad;
  const double t = GetT();
  return JudgeSet(trb, t, trb <= t);
}

CResFocus::Judge CResFocus::JudgeFsRN() const {
  if (IsNoLoad()) return Judge::kNoLoad;
  return JudgeSet(fsRN, requiredFsRN, fsRN >= requiredFsRN);
}

bool CResFocus::IsResult() const { return AllSet({trb, GetT(), requiredFsRN, fsRN}); }

std::string CResFocus::GetStrNetUnit() const {
  if (count == kNoValueInt) return {};
  return IntToStr(count) + unitWord;
}

std::string CResFocus::GetStrNetUnitName() const {
  return std::string("土塊ブロック内の") + (unitWord == kUnitRope ? "横ロープ本数" : "ネット枚数");
}

void CResFocus::Store(Archive& ar, int version) const {
  ar << count;
  if (version >= kUnitWordVersion) ar.WriteString(unitWord);
  ar << requiredFsRN << capacity << reserved << trb << sag << trn << tau1 << tau2 << la << tpa
     << tsa << fsRN;
}

void CResFocus::Load(Archive& ar, int version) {
  CResFocus read;
  ar >> read.count;
  if (version >= kUnitWordVersion) {
    read.unitWord = ar.ReadString();
  } else if (read.count == kNetCount) {
    read.unitWord = kUnitNet;
  } else if (read.count == kRopeCount) {
    read.unitWord = kUnitRope;
  } else {
    read.unitWord = unitWord;
  }
  ar >> read.requiredFsRN >> read.capacity >> read.reserved >> read.trb >> read.sag >> read.trn >>
      read.tau1 >> read.tau2 >> read.la >> read.tpa >> read.tsa >> read.fsRN;
  *this = std::move(read);
}
