#include "core/stability/CalcStabMlt.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/model/Danmen.h"
#include "core/model/PrmStab.h"
#include "core/model/ProgressInfo.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"
#include "core/stability/ResStab2.h"
#include "platform/FrameMessages.h"
#include "platform/UiRegistry.h"

namespace {

// Rounding codes of the filed values.
constexpr int kCodeS = 241;
constexpr int kCodeT = 301;
constexpr int kCodeFs = 163;
constexpr int kCodeC = 131;

void Redraw() { Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0); }

// A pair without a value gives the next pair nothing to start from: it starts afresh.
double NextStart(double fs) { return fs == kNoValue ? CCalcStabMlt::kStartFs : fs; }

std::string PairLine(int i, int j, int k, int total) {
  char text[128];
  std::snprintf(text, sizeof text, "ブロック %d - %d を計算中...(%d/%d)", i + 1, j + 1, k + 1,
                total);
  return text;
}

// The forward result of a run from the start values fsN and fsQ, which become the start values
// of the next pair. The filed values are rounded by their codes.
std::unique_ptr<CMltPoint> ForwardPoint(const CCalcDriverMlt& driver, const CBlockList& run,
                                        double c, double tanPhi, double& fsN, double& fsQ) {
  auto p = std::make_unique<CMltPoint>();
  double tN = kNoValue;
  double sN = kNoValue;
  double tQ = kNoValue;
  double sQ = kNoValue;
  driver.KeisanFs(fsN, fsQ, &run, tN, sN, tQ, sQ, c, tanPhi);
  p->fsN = CCoreConfig::GetRound(fsN, kCodeFs);
  p->fsQ = CCoreConfig::GetRound(fsQ, kCodeFs);
  p->sN = CCoreConfig::GetRound(sN, kCodeS);
  p->sQ = CCoreConfig::GetRound(sQ, kCodeS);
  p->tN = CCoreConfig::GetRound(tN, kCodeT);
  p->tQ = CCoreConfig::GetRound(tQ, kCodeT);
  fsN = NextStart(fsN);
  fsQ = NextStart(fsQ);
  return p;
}

// The back-analysed strength of a run at the planned Fs, with c for the chosen stratum's phi;
// null when no strength closes the run.
std::unique_ptr<CMltPoint> GyakuPoint(const CCalcDriverMlt& driver, const CBlockList& run,
                                      double plannedFs, double stratumPhi) {
  double c0 = kNoValue;
  double tanPhi0 = kNoValue;
  if (!driver.KeisanReverse(&run, c0, tanPhi0, plannedFs)) return nullptr;
  auto p = std::make_unique<CMltPointGyaku>();
  p->c0 = c0;
  p->tanPhi0 = tanPhi0;
  p->phi0 = tanPhi0 == kNoValue ? kNoValue : RadToDeg(std::atan(tanPhi0));
  // Without the chosen stratum there is no friction, and no cohesion to go with it.
  p->phi = stratumPhi;
  if (p->phi != kNoValue) {
    p->tanPhi = std::tan(DegToRad(p->phi));
    p->c = CCoreConfig::GetRound(driver.KeisanRevC(&run, p->tanPhi, plannedFs), kCodeC);
  }
  return p;
}

}  // namespace

void CCalcStabMlt::CalcStart() {
  CalcProcess();
  CResStab2& result = *in_.result;
  std::vector<CMltPoint*> all;
  const CMltKey defaultKey;
  result.resultCount = result.SerialResult(all, &defaultKey);
  result.blockCount = in_.blocks->GetBlockSize();
  result.SerialResult();
  result.SortSerial();
  result.SetGraphFsMaxMin(-1);
  result.MakeGraphColors();
}

void CCalcStabMlt::CalcProcess() {
  CResStab2& result = *in_.result;
  result.DeleteResultAll();
  result.SetCurrentResult(nullptr);
  CMltKey& key = result.GetKey();
  in_.normal->SetSlideMove(0);
  key.normalOn = in_.normal->IsNormal() ? 1 : 0;
  if (in_.seismic) {
    in_.seismic->SetSlideMove(0);
    key.quakeOn = in_.seismic->IsQuake() ? 1 : 0;
  } else {
    key.quakeOn = 0;
  }
  if (key.quakeOn == 0) key.contourCase = 0;
  result.SetResult(CalcMultiEngine(result.GetMltType()));
}

std::unique_ptr<CMltBlocks> CCalcStabMlt::CalcMultiEngine(int kind) {
  CResStab2& result = *in_.result;
  const CMltKey& key = result.GetKey();
  std::unique_ptr<CProgressInfoDlg> dialog = OpenPreparingProgress();
  CProgressInfo& info = *dialog->GetInfo();
  const int n = in_.blocks->GetBlockSize();
  const int total = n < 1 ? 0 : n * (n - 1) / 2;
  info.SetMaximum(total);

  auto points = std::make_unique<CMltBlocks>();
  points->SetMltType(kind);
  points->SetTypicalPoint(&key);
  points->SetInterrupt(false);

  // Both the driver and the block list take the list's direction, so that their signs agree.
  CCalcDriverMlt driver;
  driver.SetRightUpper(in_.blocks->IsRightUpper());
  driver.SetDanmenStab(in_.normal);
  driver.SetCalcNormal(kind == CMltPoint::kKindForward && key.normalOn == 1);
  driver.SetCalcQuake(kind == CMltPoint::kKindForward && key.quakeOn == 1);
  const double c = in_.gyaku ? in_.gyaku->adopted[0] : kNoValue;
  const double tanPhi = in_.gyaku ? in_.gyaku->adopted[2] : kNoValue;
  const double plannedFs = in_.prm ? in_.prm->assumedFs : kNoValue;
  const double stratumPhi = in_.blocks->GetSouFai();

  double rowStartN = kStartFs;
  double rowStartQ = kStartFs;
  int k = 0;
  int counter = 0;
  bool cancelled = false;
  for (int i = 0; i + 1 < n && !cancelled; ++i) {
    double fsN = rowStartN;
    double fsQ = rowStartQ;
    for (int j = i + 1; j < n; ++j) {
      if (info.IsCancelled()) {
        points->SetInterrupt(true);
        info.SetText("", "計算を中止しました。結果出力準備中...");
        info.UpdateProgress();
        cancelled = true;
        break;
      }
      info.SetPosition(++counter);
      info.SetText("多平面安定解析", PairLine(i, j, k, total));
      const std::unique_ptr<CBlockList> run = in_.blocks->CreateBlockList(i, j);
      std::unique_ptr<CMltPoint> point;
      if (kind == CMltPoint::kKindForward) {
        point = ForwardPoint(driver, *run, c, tanPhi, fsN, fsQ);
        if (j == i + 1) {
          rowStartN = fsN;
          rowStartQ = fsQ;
        }
      } else {
        point = GyakuPoint(driver, *run, plannedFs, stratumPhi);
        if (!point) continue;  // no strength closes this run: nothing is filed for it
      }
      point->id = k;
      point->startBlock = i;
      point->endBlock = j;
      result.SetCurrentResult(point.get());
      points->Add(std::move(point));
      ++k;
      info.UpdateProgress();
      Redraw();
    }
    result.SetCurrentResult(nullptr);
    Redraw();
  }
  dialog.reset();  // hidden and gone before the view shows the results
  Redraw();
  return points;
}
