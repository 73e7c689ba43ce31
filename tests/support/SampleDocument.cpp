// The sample document shared by the case tests, the document benchmark, the document fuzz target
// and the example document generator.

#include "tests/support/SampleDocument.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/deformation/Reinforce.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "core/stability/MltPoint.h"
#include "tests/support/SampleSection.h"

namespace {

int TopSoil(const CSpGround& ground) {
  const CDPolyArray* polygons = ground.GetPolyArray();
  for (int i = 0; polygons != nullptr && i < polygons->GetSize(); ++i) {
    const auto* stratum = dynamic_cast<const CSpStratumBlock*>(polygons->GetAt(i));
    if (stratum != nullptr && stratum->GetPropPtr()->GetName() == "表土") return i;
  }
  return -1;
}

void FillSection(CCase& target, int variant) {
  const SampleSection sample = MakeSampleSection();
  CPrmJobsite& site = target.GetPrmJobsite();
  const std::string number = std::to_string(variant + 1);
  site.names = {"サンプル現場", "測線 No." + number, "ケース" + number};
  site.comments[0] = "共通の試験断面";
  target.GetGround().Copy(sample.ground.get());
  target.GetStratum().Copy(sample.strata.get());
  target.GetWater().CopyWater(sample.water.get());
  target.SetGridAutoRange();
}

void FillConditions(CCase& target, int variant) {
  CPrmStab& stab = target.GetPrmStab();
  stab.planFsNormal = 1.20;
  stab.planFsQuake = 1.00 + 0.05 * variant;
  stab.kh = 0.15 + 0.01 * variant;

  CPrmReinf& reinf = target.GetPrmReinf();
  CReinfStdBar& bar = reinf.stdBar;
  bar.name = "ネジ節棒鋼";
  bar.kei = "D22";
  bar.remark = "SD345";
  bar.w = 3.04;
  bar.d = 22.0;
  bar.as = 3.871;
  bar.drillD = 65.0;
  bar.sigmaSaN = 200.0;
  bar.sigmaSaQ = 300.0;
  reinf.tauC = 1.6;
  reinf.tauCQ = 2.4;
  reinf.fsa = 2.5;
  reinf.fsaQ = 1.5;
  reinf.tdFactor = 1.0;
  reinf.tauP1 = 0.10;
  reinf.tauP2 = 0.40;

  CPrmSlide& slide = target.GetPrmSlide();
  slide.deltaCEntered = 10.0;
  slide.h = 2.0;

  CPrmShear& shear = target.GetPrmShear();
  shear.fit.b = 11.0;
  shear.fit.c = 0.8;
  shear.h = 2.0;
  shear.theta = 35.0;
}

void FillBlocks(CCase& target, int variant) {
  CBlockList& blocks = target.GetBlockList();
  blocks.SetRightUpper(target.IsRightUpper());
  blocks.SetStratumIndex(TopSoil(target.GetGround()));
  const int count = 6 + 2 * variant;
  std::vector<double> xs;
  for (int k = 0; k <= count; ++k) xs.push_back(30.0 * k / count);
  blocks.CopyStX(xs);
  blocks.CreateBlock(nullptr, nullptr);
  blocks.SetConfirmed(true);
}

// Registers the run with the lowest Fs of each load case as that case's row.
void RegisterRows(CResStab2& results) {
  const std::vector<CMltPoint*>& serial = results.GetSerial();
  const auto lowest = [&serial](double CMltPoint::*fs) {
    CMltPoint* best = nullptr;
    for (CMltPoint* p : serial) {
      if (p->*fs != kNoValue && (best == nullptr || p->*fs < best->*fs)) best = p;
    }
    return best;
  };
  if (CMltPoint* normal = lowest(&CMltPoint::fsN)) normal->typicalN = 1;
  if (CMltPoint* quake = lowest(&CMltPoint::fsQ)) quake->typicalQ = 1;
}

void FillReinforcement(CCase& target) {
  CReinfArrange& arrange = target.GetReinfArrange();
  arrange.RemoveAll();
  const CDPoint heads[] = {CDPoint(13.2, 6.0), CDPoint(15.6, 8.0), CDPoint(18.0, 10.0)};
  for (const CDPoint& head : heads) {
    auto bolt = std::make_unique<CReinforce>();
    bolt->SetParam(CReinforce::kSidePlusX, 0, head, 2.0, 20.0, 5.0, 0.5);
    arrange.Add(std::move(bolt));
  }
  arrange.Numbering();
}

// The rope-net check of the first bolt on the shear result: four horizontal ropes per block and
// the net's breaking strength.
void CheckRopeNet(CCase& target) {
  CResFocus& focus = target.GetResFocus();
  focus.count = 4;
  focus.unitWord = CResFocus::kUnitRope;
  focus.capacity = 100.0;
  focus.CalcAll(target.GetPrmShear(), target.GetResShear(), target.GetPrmReinf(),
                *target.GetReinfArrange().GetAt(0));
}

}  // namespace

void FillSampleCase(CCase& target, int variant) {
  target.Init();
  target.SetInUse(1);
  FillSection(target, variant);
  FillConditions(target, variant);
  FillBlocks(target, variant);
  FillReinforcement(target);
  target.AfterLoadProcess();
  if (target.PreCalcStab(false)) target.CalcStartStab();
  RegisterRows(target.GetResStab2());
  target.AfterLoadProcess();
  if (target.PreCalcSlide(false)) target.CalcStartSlide();
  if (target.PreCalcShear(false)) target.CalcStartShear();
  CheckRopeNet(target);
}

void FillSampleDocument(CManageCore& core) {
  CCaseArray& cases = core.GetCaseArray();
  cases.CreateCase();
  int variant = 0;
  for (const int slot : kSampleDocumentSlots) FillSampleCase(*cases.GetCase(slot), variant++);
  cases.SetActiveID(4);
}
