// The design case: which results it holds, the checks before each calculation and the starts of
// the calculations.

#include "core/base/AppIdentity.h"
#include "core/case/Case.h"
#include "core/deformation/CalcShear.h"
#include "core/deformation/CalcSlide.h"
#include "core/stability/CalcStabMlt.h"
#include "platform/UiRegistry.h"

namespace {

constexpr const char* kNoStratum = "\n・地層がありません。";
constexpr const char* kNoSoil = "\n・土質定数が入力されていません。";
constexpr const char* kNoPlannedFs = "\n・計画安全率、設計水平震度が入力されていません。";
constexpr const char* kNoAssumedFs = "\n・仮定安全率が入力されていません。";
constexpr const char* kNoDivision = "\n・ブロック分割がされていません。";
constexpr const char* kNoSlideCond = "\n・すべり変形解析の計算条件が入力されていません。";
constexpr const char* kNoReinf = "\n・対策工諸元が入力されていません。";
constexpr const char* kNoShearCond = "\n・せん断変形解析の計算条件が入力されていません。";
constexpr const char* kNoQuakeResult = "\n・地震時の結果が登録されていません。";
constexpr const char* kZeroExtraLength =
    "余長が 0.00m のロックボルトが設定されています。\nこのまま計算を開始してもよろしいですか？";

void ShowOk(const std::string& text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::None);
}

}  // namespace

// ---- Results ----

bool CCase::IsResStab() const {
  if (prmStab_.leadMode != 0) return false;
  if (prmStab_.normalOn != 0) return resStab2_.GetSelectRepPt(0) != nullptr;
  return prmStab_.quakeOn != 0 && resStab2_.GetSelectRepPt(1) != nullptr;
}

bool CCase::IsResStabGyaku() const { return resGyaku_.GetSelectRepPt(0) != nullptr; }

bool CCase::IsResSlide() const {
  return prmStab_.leadMode == 0 && prmStab_.quakeOn != 0 && resSlide_.IsResult();
}

bool CCase::IsResShear() const {
  return prmStab_.leadMode == 0 && prmStab_.quakeOn != 0 && resShear_.IsResult() &&
         resFocus_.IsResult();
}

// ---- Pre-checks ----

const CDPolyArray* CCase::TisoBlocks(const CDanmen& section) { return section.GetTisoBlockArray(); }

std::string CCase::StratumReasons(const CDanmen& section) const {
  const CDPolyArray* polygons = TisoBlocks(section);
  std::string reasons;
  if (polygons == nullptr) reasons += kNoStratum;
  if (polygons == nullptr || !polygons->IsValidStratumFs()) reasons += kNoSoil;
  return reasons;
}

std::string CCase::BlockReason() const {
  return blockList_.GetBlockSize() == 0 || !blockList_.IsConfirmed() ? kNoDivision : "";
}

bool CCase::Report(const std::string& reasons, bool show) {
  if (reasons.empty()) return true;
  if (show) ShowOk(kCannotCalc + reasons);
  return false;
}

bool CCase::IsCalcStab(bool show) const {
  std::string reasons = StratumReasons(danmenNormal_);
  const bool normalMissing = prmStab_.normalOn != 0 && prmStab_.planFsNormal == kNoValue;
  const bool quakeMissing = prmStab_.quakeOn != 0 && prmStab_.kh == kNoValue;
  if (prmStab_.leadMode == 0 && (normalMissing || quakeMissing)) reasons += kNoPlannedFs;
  reasons += BlockReason();
  return Report(reasons, show);
}

bool CCase::IsCalcStabGyaku(bool show) const {
  std::string reasons = StratumReasons(danmenNormal_);
  if (!prmStab_.IsValidGyaku()) reasons += kNoAssumedFs;
  reasons += BlockReason();
  return Report(reasons, show);
}

bool CCase::IsCalcSlide(bool show) const {
  std::string reasons = StratumReasons(danmenSlide_);
  reasons += BlockReason();
  const double deltaC = prmSlide_.deltaCMode == CPrmSlide::kDeltaCEntered ? prmSlide_.deltaCEntered
                                                                          : prmSlide_.deltaCDerived;
  if (prmSlide_.khPitch == kNoValue || deltaC == kNoValue || prmSlide_.h == kNoValue) {
    reasons += kNoSlideCond;
  }
  if (GetQuakeSelectPoint() == nullptr) reasons += kNoQuakeResult;
  return Report(reasons, show);
}

bool CCase::IsCalcShear(bool show) const {
  std::string reasons = StratumReasons(danmenShear_);
  reasons += BlockReason();
  if (!prmReinf_.IsValidShear()) reasons += kNoReinf;
  if (!prmShear_.IsValid()) reasons += kNoShearCond;
  if (GetQuakeSelectPoint() == nullptr) reasons += kNoQuakeResult;
  return Report(reasons, show);
}

bool CCase::PrepareStabSections(bool show) {
  if (TisoBlocks(danmenNormal_) == nullptr) {
    if (show) ShowOk("地層がありません。");
    return false;
  }
  prmStab_.SetCond();
  SendCalcCond({&danmenNormal_, &danmenQuake_});
  return true;
}

bool CCase::PreCalcStab(bool show) { return IsCalcStab(show) && PrepareStabSections(show); }

bool CCase::PreCalcStabGyaku(bool show) {
  return IsCalcStabGyaku(show) && PrepareStabSections(show);
}

bool CCase::PreCalcDeformation(bool check, CDanmenStab& section, bool show) {
  if (!check) return false;
  if (TisoBlocks(section) == nullptr) {
    if (show) ShowOk("地層がありません。");
    return false;
  }
  if (GetQuakeSelectPoint() == nullptr) {
    if (show) ShowOk("地震時の結果が登録されていません。");
    return false;
  }
  if (show && arrange_.IsYotyoZero() &&
      Ui().MessageBox(kZeroExtraLength, GetAppTitle(), MsgButtons::YesNo, MsgIcon::Question) !=
          MsgResult::Yes) {
    return false;
  }
  prmStab_.SetCond();
  SendCalcCond({&section});
  return true;
}

bool CCase::PreCalcSlide(bool show) {
  return PreCalcDeformation(IsCalcSlide(show), danmenSlide_, show);
}

bool CCase::PreCalcShear(bool show) {
  return PreCalcDeformation(IsCalcShear(show), danmenShear_, show);
}

// ---- Calculation starts ----

CCalcStabMlt CCase::StabJob() {
  danmenNormal_.SetSlideWork(nullptr);
  danmenQuake_.SetSlideWork(nullptr);
  return CCalcStabMlt({.normal = &danmenNormal_,
                       .seismic = &danmenQuake_,
                       .prm = &prmStab_,
                       .result = &resStab2_,
                       .gyaku = prmStab_.gyakuOn != 0 ? &resGyaku_ : nullptr,
                       .blocks = &blockList_});
}

CCalcStabMlt CCase::StabGyakuJob() {
  danmenNormal_.SetSlideWork(nullptr);
  danmenQuake_.SetSlideWork(nullptr);
  return CCalcStabMlt({.normal = &danmenNormal_,
                       .seismic = &danmenQuake_,
                       .prm = &prmStab_,
                       .result = &resGyaku_,
                       .gyaku = nullptr,
                       .blocks = &blockList_});
}

CCalcSlide CCase::SlideJob() {
  danmenSlide_.SetSlideWork(nullptr);
  return CCalcSlide({.section = &danmenSlide_,
                     .conditions = &prmSlide_,
                     .result = &resSlide_,
                     .point = GetQuakeSelectPoint(),
                     .gyaku = &resGyaku_,
                     .blocks = &blockList_});
}

CCalcShear CCase::ShearJob() {
  double gammaT = kNoValue;
  double gammaSat = kNoValue;
  double c = kNoValue;
  double phi = kNoValue;
  GetBlockGanmaCFai(gammaT, gammaSat, c, phi);
  return CCalcShear(prmShear_, prmReinf_, prmStab_, gammaT, phi, resShear_);
}
