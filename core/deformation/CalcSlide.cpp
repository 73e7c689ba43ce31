// CCalcSlide: the march over the seismic coefficients and the row of one coefficient.

#include "core/deformation/CalcSlide.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/deformation/ResSlide.h"
#include "core/model/Danmen.h"
#include "core/model/PrmSlide.h"
#include "core/section/SpGround.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/ProgressFeedback.h"

namespace {

// Rounding codes of the results.
constexpr int kCodeFs = 163;
constexpr int kCodeS = 241;
constexpr int kCodeT = 301;
// The safety factor the multi-plane run starts from without a chosen point.
constexpr double kStartFs = 1.5;
constexpr double kLastKh = 1.0;
// A coefficient this close to the last one is the last one.
constexpr double kKhTolerance = 1e-5;

bool IsSet(double v) { return v != kNoValue; }

// The coefficient of row i: i * pitch. A pitch of whole thousandths (every pitch that can be
// entered) is counted in thousandths, so that row 3 of the pitch 0.05 is the 0.15 typed as a
// design coefficient, not 0.15000000000000002.
double RowKh(int i, double pitch) {
  const double thousandths = std::round(pitch * 1000);
  if (thousandths / 1000 == pitch) return i * thousandths / 1000;
  return i * pitch;
}

// The coefficients of the march: 0, pitch, 2 * pitch, ... and 1 as the last, shortening the last
// step. Each comes from its row index, so that sums of the pitch never drift past a value. A
// pitch below the smallest one (or not a finite number) gives none.
std::vector<double> MarchCoefficients(double pitch) {
  std::vector<double> khs;
  if (!std::isfinite(pitch) || pitch < CPrmSlide::kMinKhPitch) return khs;
  for (int i = 0;; ++i) {
    const double kh = RowKh(i, pitch);
    if (kh >= kLastKh || std::abs(kh - kLastKh) < kKhTolerance) {
      khs.push_back(kLastKh);
      return khs;
    }
    khs.push_back(kh);
  }
}

// The blocks start..end of the case's list. A chain of one block is that block alone, which
// slides on its end face.
std::unique_ptr<CBlockList> Chain(const CBlockList& blocks, int start, int end) {
  if (start != end) return blocks.CreateBlockList(start, end);
  const CBlock* block = blocks.GetBlockPtr(start);
  if (block == nullptr) return nullptr;
  auto chain = std::make_unique<CBlockList>();
  chain->SetRightUpper(blocks.IsRightUpper());
  chain->CopyBlock({*block});
  return chain;
}

std::string PairLine(int i, int j) {
  char text[64];
  std::snprintf(text, sizeof text, "ブロック %d - %d を計算中...", i + 1, j + 1);
  return text;
}

// The effective dc of the conditions, without writing the derived one back.
double EffectiveDeltaC(const CPrmSlide& conditions) {
  CPrmSlide copy = conditions;
  return copy.GetDeltaC();
}

}  // namespace

CCalcSlide::CCalcSlide(const Inputs& inputs)
    : in_(inputs), deltaC_(EffectiveDeltaC(*inputs.conditions)) {}

void CCalcSlide::CalcStart() {
  ProgressFeedback feedback;
  if (std::optional<SlideMarch> march = Process(feedback)) Post(*std::move(march));
}

std::optional<SlideMarch> CCalcSlide::Process(ProgressFeedback& feedback) const {
  SlideMarch march;
  const std::vector<double> khs = MarchCoefficients(in_.conditions->khPitch);
  if (khs.empty()) return march;
  // The design row first, then the march.
  const auto total = static_cast<double>(khs.size() + 1);
  const auto report = [&feedback, total](std::size_t done) {
    feedback.SetProgress(100.0 * static_cast<double>(done) / total);
  };
  if (feedback.IsCancelled()) return std::nullopt;
  march.designRow = CalcSpecifEngine(kNoValue);
  report(1);
  march.rows.reserve(khs.size());
  for (const double kh : khs) {
    if (feedback.IsCancelled()) return std::nullopt;
    march.rows.push_back(CalcSpecifEngine(kh));
    report(march.rows.size() + 1);
  }
  const double h = in_.conditions->h;
  const double allowableStrain = CResSlide::GetKyoyouHizumi();
  march.allowableDs = IsSet(h) && IsSet(allowableStrain) ? h * allowableStrain * 1000 : kNoValue;
  return march;
}

void CCalcSlide::Post(SlideMarch march) {
  CResSlide& result = *in_.result;
  // The derived dc the rows took goes back into the conditions, where the dialog shows it.
  if (in_.conditions->deltaCMode == CPrmSlide::kDeltaCDerived) in_.conditions->CalcDeltaC();
  result.DeleteResultAll();
  in_.section->SetSlideMove(0);
  CMltKey& key = result.GetKey();
  key.normalOn = in_.section->IsNormal() ? 1 : 0;
  key.quakeOn = in_.section->IsQuake() ? 1 : 0;
  if (key.quakeOn == 0) key.contourCase = 0;
  result.designRow = march.designRow;
  result.rows = std::move(march.rows);
  result.allowableDs = march.allowableDs;

  // The count is that of a default key; the list then shows what the result's own key admits.
  const CMltKey fresh;
  std::vector<CMltPoint*> all;
  result.serialCount = result.SerialResult(all, &fresh);
  result.blockCount = in_.blocks ? in_.blocks->GetBlockSize() : 0;
  result.SerialResult();
  result.SortSerial({result.sortItem, result.sortOrder});
}

tagSLIDERES CCalcSlide::CalcSpecifEngine(double kh) const {
  tagSLIDERES row;
  row.kh = kh;
  if (in_.point == nullptr || in_.blocks == nullptr) return row;
  const std::unique_ptr<CBlockList> chain =
      Chain(*in_.blocks, in_.point->startBlock, in_.point->endBlock);
  if (!chain) return row;
  const std::optional<Strength> strength = ChainStrength(*chain);
  if (!strength) return row;

  // The row's coefficient goes into a copy of the section: the driver reads kh from it.
  CDanmenStab section = *in_.section;
  if (IsSet(kh)) section.SetKh(kh);
  double fsN = in_.point->fsN;
  double fsQ = in_.point->fsQ;
  double tN = kNoValue;
  double sN = kNoValue;
  double tQ = kNoValue;
  double sQ = kNoValue;
  SeismicDriver(section).KeisanFs(fsN, fsQ, chain.get(), tN, sN, tQ, sQ, strength->c,
                                  strength->tanPhi);

  row.fsr = CCoreConfig::GetRound(fsQ, kCodeFs);
  row.gammaS = SlideStrain(fsQ);
  row.ds = SlideDisplacement(in_.conditions->h, row.gammaS);
  return row;
}

std::unique_ptr<CMltBlocks> CCalcSlide::CalcMultiEngine(int kind,
                                                        ProgressFeedback& feedback) const {
  auto points = std::make_unique<CMltBlocks>();
  points->SetMltType(kind);
  points->SetInterrupt(false);
  points->SetTypicalPoint(&in_.result->GetKey());
  const int n = in_.blocks ? in_.blocks->GetBlockSize() : 0;
  const int total = n < 2 ? 0 : n * (n - 1) / 2;
  const CCalcDriverMlt driver = SeismicDriver(*in_.section);
  const double startN = in_.point ? in_.point->fsN : kStartFs;
  const double startQ = in_.point ? in_.point->fsQ : kStartFs;
  int counter = 0;
  for (int i = 0; i + 1 < n && !points->IsInterrupt(); ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (feedback.IsCancelled()) {
        points->SetInterrupt(true);
        feedback.SetLines("計算を中止しました。結果出力準備中...", "");
        break;
      }
      ++counter;
      feedback.SetProgress(100.0 * counter / total);
      feedback.SetLines("多平面安定解析", PairLine(i, j));
      auto point = std::make_unique<CMltPoint>();
      point->id = counter - 1;
      point->startBlock = i;
      point->endBlock = j;
      const std::unique_ptr<CBlockList> run = in_.blocks->CreateBlockList(i, j);
      if (const std::optional<Strength> strength = ChainStrength(*run)) {
        double fsN = startN;
        double fsQ = startQ;
        double tN = kNoValue;
        double sN = kNoValue;
        double tQ = kNoValue;
        double sQ = kNoValue;
        driver.KeisanFs(fsN, fsQ, run.get(), tN, sN, tQ, sQ, strength->c, strength->tanPhi);
        point->fsN = CCoreConfig::GetRound(fsN, kCodeFs);
        point->fsQ = CCoreConfig::GetRound(fsQ, kCodeFs);
        point->tN = CCoreConfig::GetRound(tN, kCodeT);
        point->tQ = CCoreConfig::GetRound(tQ, kCodeT);
        point->sN = CCoreConfig::GetRound(sN, kCodeS);
        point->sQ = CCoreConfig::GetRound(sQ, kCodeS);
      }
      points->Add(std::move(point));
    }
  }
  return points;
}

std::optional<CCalcSlide::Strength> CCalcSlide::ChainStrength(const CBlockList& chain) const {
  // Without the bolts' cohesion there is nothing to calculate: the driver would otherwise take
  // the unset marker for a strength.
  if (!IsSet(deltaC_)) return std::nullopt;
  Strength strength;
  if (in_.gyaku != nullptr && in_.gyaku->IsResultCFai()) {
    strength.c = in_.gyaku->adopted[0] + deltaC_;
    strength.tanPhi = in_.gyaku->adopted[2];
  } else if (chain.GetBlockSize() > 0) {
    double c = kNoValue;
    double phi = kNoValue;
    chain.GetCF(0, c, phi);
    if (IsSet(c)) strength.c = c + deltaC_;
    if (IsSet(phi)) strength.tanPhi = std::tan(DegToRad(phi));
  }
  return strength;
}

CCalcDriverMlt CCalcSlide::SeismicDriver(const CDanmenStab& section) const {
  CCalcDriverMlt driver;
  const CSpGround* ground = section.GetGround();
  driver.SetRightUpper(ground != nullptr ? ground->IsRightUpper() : in_.blocks->IsRightUpper());
  driver.SetDanmenStab(&section);
  driver.SetCalcNormal(false);
  driver.SetCalcQuake(true);
  return driver;
}

double CCalcSlide::SlideStrain(double fs) {
  // The power law needs a positive Fs; an unconverged case has none.
  if (!IsSet(fs) || !(fs > 0)) return kNoValue;
  const double gammaS = CResSlide::GetKeiA() * std::pow(fs, CResSlide::GetKeiB());
  return std::isfinite(gammaS) ? gammaS : kNoValue;
}

double CCalcSlide::SlideDisplacement(double h, double gammaS) {
  return IsSet(h) && IsSet(gammaS) ? h * gammaS * 1000 : kNoValue;
}
