#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/SampleSection.h"

namespace fuzz {

namespace {

// Built once: every use reads it and changes at most the selection of its strata.
SampleSection& Sample() {
  static SampleSection sample = MakeSampleSection();
  return sample;
}

CDPolyArray& SampleStrata() { return *Sample().ground->GetPolyArray(); }

// A view of the sample section on a recording canvas, 400 pixels square.
struct RecordingView {
  RecordingCanvas canvas;
  CViewInfo view;

  RecordingView() {
    view.dc = &canvas;
    view.SetArea(0, 20, 30, -10);
    view.width = 400;
    view.height = 400;
    view.CalcScale();
  }
};

std::unique_ptr<CSpLoad> SoundLoad() {
  auto load = std::make_unique<CSpLoad>();
  load->SetX1(25);
  load->SetX2(29);
  load->SetQ1(10);
  load->SetQ2(12);
  load->CreateDrawPoly(Sample().ground.get(), 0);
  return load;
}

std::unique_ptr<CSpCrack> SoundCrack() {
  auto crack = std::make_unique<CSpCrack>();
  crack->SetTop(CDPoint(22, 15));
  crack->SetAngle(90);
  crack->SetDepth(2);
  crack->SetGamma(18);
  crack->SetCohesion(10);
  crack->SetPhi(25);
  crack->SetActive(1);
  crack->CalcBottomPos(0);
  return crack;
}

// The points the questions are asked at: the ends, the middle and points just beside the shape.
std::vector<CDPoint> ProbePoints(const CDPoly& shape) {
  std::vector<CDPoint> probes = {CDPoint(0, 0), CDPoint(15, 5), CDPoint(-1e4, 1e4)};
  if (shape.GetSize() == 0) return probes;
  const CDPoint& first = *shape.GetFirstPt();
  const CDPoint& last = *shape.GetLastPt();
  probes.push_back(first);
  probes.push_back(last);
  probes.push_back((first + last) / 2);
  probes.push_back(CDPoint(first.x + 0.5, first.y - 0.5));
  return probes;
}

void AskQuestions(const CDPoly& shape) {
  shape.Left();
  shape.Right();
  shape.Top();
  shape.Bottom();
  shape.GetLength();
  shape.GetArea();
  shape.GetAverageY();
  shape.IsRightUpper();
  shape.IsLeftToRight();
  shape.IsOverHung();
  shape.IsEmptyShape();
  double xmin = 0, xmax = 0, ymax = 0, ymin = 0;
  shape.RangeRect(xmin, xmax, ymax, ymin);
  for (const CDPoint& p : ProbePoints(shape)) {
    shape.GetY(p.x);
    double y = 0;
    int segment = 0;
    shape.GetYMax(p.x, &segment, y);
    shape.GetYMin(p.x, &segment, y);
    shape.GetX(p.y);
    shape.PolyRgn(&p);
    shape.IsOnline(&p);
    double dist = 0;
    shape.GetOnlineNear(&p, dist, segment);
    shape.FindNearPoint(&p, dist, segment);
    shape.GetR_Angle(&p, 0);
    shape.Get_Angle(&p, 0, true);
    shape.GetMoveOnlinePt(&p, 1.0, false);
    shape.GetKukanShapeDist(true, p, 1.0, 2.0, 1e-4);
    const CDPoint below(p.x, p.y - 100);
    std::vector<double> xs;
    shape.GetCrossX(&p, &below, xs, nullptr, nullptr);
    CDPoint cross;
    shape.GetCrossPoint(&p, &below, &cross, 1e-6);
    shape.GetCrossPoint(&p, -1.0, &cross, 1e-6);
    CDPoly crossings;
    shape.GetCrossPointArray(&p, &below, &crossings, 1e-6);
    std::vector<tagDEVY> records;
    shape.GetDEVYArray(records, p.x - 1, p.x + 1, -1e4);
  }
  const std::vector<CDPoint> probes = ProbePoints(shape);
  shape.GetKukanShape(&probes.front(), &probes.back());
  shape.GetDistanceShape(1.0, nullptr);
  shape.GetDistanceShape(-1.0, Sample().ground.get());
  Sample().ground->GetDistanceShape(1.0, &shape);
  shape.IsPolyOverY(Sample().ground.get());
  shape.GetPolyApproximationDist(Sample().ground.get());
  shape.CreateDeffSection(Sample().ground.get());
}

void Draw(const CDPoly& shape) {
  RecordingView out;
  for (const int highlight : {0, 1}) {
    CDPoly::SetShowHilight(highlight);
    shape.Draw(&out.view, 0, -1, -1);
    shape.Draw(&out.view, 1, 0, 1);
    shape.DrawName(&out.view);
    shape.DrawLine(&out.view, 1);
    shape.DrawSimpleShape(&out.view);
  }
  CDPoly::SetShowHilight(0);
}

// Edits on copies: the shape itself stays as loaded.
void Edit(const CDPoly& shape) {
  auto copy = shape.Copy();
  copy->ChangeValid();
  copy->Reverse();
  copy->LeftToRight();
  copy->CalcInnerPoint();
  copy->DelSamePoint(1e-4);
  copy->DelSpacePoint();
  copy->ShiftShape(1, 1);
  copy->RotateShape(15, 5, 0.1);
  shape.IsSame(copy.get());
  shape.CompareCoord(copy.get());
}

// The strata assembled from the sample ground with the line as the only stratum line, and from
// the line as the ground with the sample's stratum lines.
void AssembleStrata(const CDPoly& line) {
  CDPolyArray withLine;
  withLine.Add(Sample().ground->Copy());
  withLine.Add(line.Copy());
  withLine.CreatePolygon(SampleSection::kBaseLevel);
  withLine.CreatePolygon_RoundEdge();

  CDPolyArray asGround;
  asGround.Add(line.Copy());
  for (int i = 0; i < Sample().strata->GetSize(); ++i)
    asGround.Add(Sample().strata->GetAt(i)->Copy());
  asGround.CreatePolygon(SampleSection::kBaseLevel);
}

// The sample's strata re-cut under the line as a new ground, and cut by it as a line.
void CutStrata(const CDPoly& line) {
  SampleStrata().Copy()->CreatePlanPolygon(&line);
  Sample().ground->GroundPolyMarge(&line);
  Sample().ground->CreateLevelLine(&line, 5.0);
  for (const int keepAbove : {0, 1}) {
    SampleStrata().CutPolyWithLine(Sample().ground.get(), &line, keepAbove);
  }
}

// The ground operations that build on strata.
void UseStrata(const CDPolyArray& strata, const CSpGround& ground) {
  RecordingView out;
  strata.Draw(&out.view, true, -1, -1);
  strata.DrawName(&out.view);
  strata.CreateTopoFromStratum();
  strata.IsValidStratumFs();
  strata.IsValidTaup();
  strata.Copy()->CreatePlanPolygon(Sample().ground.get());
  CSpGround withStrata;
  withStrata.CopyPoints(Sample().ground.get());
  withStrata.SetPolyArray(strata.Copy());
  withStrata.GroundPolyMarge(Sample().water.get());
  withStrata.CreateLevelLine(Sample().water.get(), 5.0);
  withStrata.GetStrGuttukaSou(0);
  auto copied = strata.Copy();
  copied->CopyStratumProp(&SampleStrata());
  ground.GroundPolyMarge(Sample().water.get());
  ground.CreateLevelLine(Sample().water.get(), 5.0);
}

// The slide mass of the sample section displaced along the surface: turned as a searched circle
// and shifted as a specified surface.
void DrawSlideMass(const CSpSlideWork& surface) {
  RecordingView out;
  auto work = surface.Copy();
  for (const int specified : {0, 1}) {
    tagCALCCONDITION cond;
    cond.specified = specified;
    CDanmenStab stab;
    stab.SendInfo(Sample().section);
    stab.SetCalcCond(cond);
    stab.SetSlideMove(1.0);
    stab.SetSlideWork(static_cast<CSpSlideWork*>(work.get()));
    stab.SetSlideWorkRepeat(static_cast<CSpSlideWork*>(work.get()));
    stab.DrawPolygonMove(&out.view);
    stab.DrawSlide(&out.view);
  }
}

void UseSlideWork(const CSpSlideWork& work) {
  work.TransSpSlide(-1);
  work.TransSpSlide(2);
  DrawSlideMass(work);
  CDPolyArray pieces;
  work.CorrectSlideObj(Sample().ground.get(), &pieces, true);
  work.CorrectSlideObj(Sample().ground.get(), &pieces, false);
  work.InsCrossPoint(&SampleStrata(), true);
  SampleStrata().CutPolyWithSlide(Sample().ground.get(), &work, 0);
  double xmin = 0, xmax = 0, ymax = 0, ymin = 0;
  work.RangeRect(xmin, xmax, ymax, ymin);
  const double middle = (xmin + xmax) / 2;
  CDPolyArray halves;
  work.CutAtX(middle, &halves);
  double y1 = 0, y2 = 0;
  work.GetSlideBottom(xmin, middle, y1, y2);
  work.GetArc(middle);
  work.GetPointIndex(middle);
  work.GetBottomAngle(middle);
  work.GetStrengthOfPosition(middle, work.GetY(middle), Sample().slide.get());
  work.GetStartAngle();
  work.GetEndAngle();
  if (work.GetFirstArc() != nullptr) work.GetDepth(&SampleStrata(), true);
  CDPoly crossings;
  work.GetCrossPointArray(SampleStrata().GetAt(0), &crossings, false, 1e-6);
  CSpSlideWork cracked;
  cracked.CopySlideWork(&work);
  cracked.MixCrackline(CDPoint(middle, ymax + 5), CDPoint(middle, ymin - 5), 2);
  CSpSlideWork stretched;
  stretched.CopySlideWork(&work);
  stretched.Strech(Sample().ground.get(), 1, 1, 0.5, 0.5, -1, -1);
  CSpSlideWork disposed;
  disposed.CopySlideWork(&work);
  disposed.DisposeOverArc(&SampleStrata());
}

void UseSlide(const CSpSlide& slide) {
  const std::unique_ptr<CSpSlideWork> work = slide.CreateDrawObj();
  UseSlideWork(*work);
  RecordingView out;
  CSpSlide::SetTopograph(Sample().ground.get());
  slide.Draw(&out.view, 1, 0, 1);
  CSpSlide::SetTopograph(nullptr);
  slide.GetCrossCountTiso(SampleStrata().GetAt(0));
  slide.GetY_linear(15);
  slide.GetArc(15);
  int type = 0;
  slide.Get3PStrength(15, type);
  slide.IsValidSpecif();
  slide.IsCalcRevRelation();
  CSpSlide reversed;
  reversed.Copy(&slide);
  reversed.ReverseSuberi();
}

void UseGround(const CSpGround& ground) {
  if (ground.GetPolyArray() != nullptr) UseStrata(*ground.GetPolyArray(), ground);
  Sample().water->IsPoolGround(&ground);
  CSpWater fitted;
  fitted.CreateFitWater(&ground, Sample().water.get());
  SoundLoad()->CreateDrawPoly(&ground, 0.5);
}

void UseLoad(const CSpLoad& load) {
  auto outlined = load.Copy();
  auto& copy = static_cast<CSpLoad&>(*outlined);
  copy.Normalize();
  copy.CreateDrawPoly(Sample().ground.get(), 0.5);
  Draw(copy);
  tagLOAD action;
  copy.CalcQ(true, 20, 26, 1.0, 0.3, action);
  copy.CalcQ(false, 24, 30, 2.0, -0.3, action);
  copy.IsInRange(20, 26);
  copy.GetFlatAngle();
  copy.GetConcentAngle();
}

void UseCrack(const CSpCrack& crack) {
  auto copy = crack.Copy();
  auto& moved = static_cast<CSpCrack&>(*copy);
  moved.CalcBottomPos(0);
  moved.CalcBottomPos(1);
  moved.Calc_h();
  auto work = Sample().slide->CreateDrawObj();
  work->MixCrackline(moved.GetTop(), moved.GetBottom(), 2);
}

}  // namespace

std::unique_ptr<CDPoly> SoundShape(int kind) {
  SampleSection& sample = Sample();
  switch (kind) {
    case kKindGround:
      return sample.ground->Copy();
    case kKindStratumLine:
      return sample.strata->GetAt(0)->Copy();
    case kKindSlide:
      return sample.slide->Copy();
    case kKindWater:
      return sample.water->Copy();
    case kKindLoad:
      return SoundLoad();
    case kKindCrack:
      return SoundCrack();
    case kKindStratumBlock:
      return SampleStrata().GetAt(0)->Copy();
    case kKindSlideWork:
      return sample.slide->CreateDrawObj()->InsCrossPoint(&SampleStrata(), true);
    default:
      return sample.ground->PlainCopy();
  }
}

std::unique_ptr<CDPolyArray> SoundShapeList() {
  auto shapes = std::make_unique<CDPolyArray>();
  shapes->Add(Sample().ground->Copy());
  for (int i = 0; i < Sample().strata->GetSize(); ++i)
    shapes->Add(Sample().strata->GetAt(i)->Copy());
  return shapes;
}

void Finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

void UseShape(const CDPoly& shape, int version) {
  const std::unique_ptr<CDPoly> fresh = CDPoly::CreateNewElement(shape.WhatKind());
  ExpectRoundTrip(shape, *fresh, version);
  AskQuestions(shape);
  Draw(shape);
  Edit(shape);
  AssembleStrata(shape);
  CutStrata(shape);
  if (const auto* ground = dynamic_cast<const CSpGround*>(&shape)) UseGround(*ground);
  if (const auto* slide = dynamic_cast<const CSpSlide*>(&shape)) UseSlide(*slide);
  if (const auto* work = dynamic_cast<const CSpSlideWork*>(&shape)) UseSlideWork(*work);
  if (const auto* load = dynamic_cast<const CSpLoad*>(&shape)) UseLoad(*load);
  if (const auto* crack = dynamic_cast<const CSpCrack*>(&shape)) UseCrack(*crack);
  if (const auto* block = dynamic_cast<const CSpStratumBlock*>(&shape)) {
    block->CutPolyWithLine2(Sample().slide->CreateDrawObj().get());
  }
}

void UseShapeList(const CDPolyArray& shapes, int version) {
  CDPolyArray fresh;
  ExpectRoundTrip(shapes, fresh, version);
  RecordingView out;
  shapes.Draw(&out.view, true, 0, 1);
  shapes.DrawName(&out.view);
  shapes.Left();
  shapes.Right();
  shapes.Top();
  shapes.Bottom();
  double dist = 0;
  const CDPoint probe(15, 5);
  shapes.GetOnlineNear(&probe, dist);
  shapes.IsPolyInside(&probe);
  // A case's stratum lines with its ground in front: the strata recognition.
  CDPolyArray lines;
  lines.Add(Sample().ground->Copy());
  for (int i = 0; i < shapes.GetSize(); ++i) lines.Add(shapes.GetAt(i)->Copy());
  lines.CreatePolygon(SampleSection::kBaseLevel);
  // The list itself as strata, and as the pieces of an assembly.
  UseStrata(shapes, *Sample().ground);
  shapes.Copy()->CreatePolygon(SampleSection::kBaseLevel);
  shapes.JointEasy();
  for (int i = 0; i < shapes.GetSize() && i < 4; ++i) UseShape(*shapes.GetAt(i), version);
}

}  // namespace fuzz
