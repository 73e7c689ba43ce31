// The sample cross-section shared by the tests.

#include "tests/support/SampleSection.h"

#include <string>

#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "platform/DevTypes.h"
#include "tests/support/PolyTestUtil.h"

namespace {

// The soil of one stratum and a point that lies inside it.
struct SampleSoil {
  CDPoint inside;
  const char* name;
  Color colour;
  double gammaT;
  double gammaSat;
  double phi;
  double c;
};

const SampleSoil kSoils[] = {
    {CDPoint(27.0, 14.0), "表土", Color::Rgb(230, 200, 150), 18.0, 19.0, 25.0, 10.0},
    {CDPoint(27.0, 11.5), "風化岩", Color::Rgb(200, 170, 120), 19.0, 20.0, 30.0, 20.0},
    {CDPoint(27.0, 0.0), "基盤岩", Color::Rgb(160, 140, 110), 21.0, 22.0, 35.0, 50.0},
};

// Toe at the left, crest at the right.
std::unique_ptr<CSpGround> MakeGround() {
  return MakePoly<CSpGround>({{0, 0}, {6, 0}, {12, 5}, {18, 10}, {24, 15}, {30, 15}});
}

// Two boundaries, 2 m and 5 m below the ground.
std::unique_ptr<CDPolyArray> MakeStratumLines() {
  auto lines = std::make_unique<CDPolyArray>();
  lines->Add(MakePoly<CSpStratumLine>({{0, -2}, {6, -2}, {12, 3}, {18, 8}, {24, 13}, {30, 13}}));
  lines->Add(MakePoly<CSpStratumLine>({{0, -5}, {6, -5}, {12, 0}, {18, 5}, {24, 10}, {30, 10}}));
  return lines;
}

// The strata closed from the ground and the boundary lines, with the soil of each stratum.
std::unique_ptr<CDPolyArray> RecogniseStrata(const CSpGround& ground, const CDPolyArray& lines) {
  CDPolyArray input;
  input.Add(ground.Copy());
  for (int i = 0; i < lines.GetSize(); ++i) input.Add(lines.GetAt(i)->Copy());
  std::unique_ptr<CDPolyArray> blocks = input.CreatePolygon(SampleSection::kBaseLevel);
  if (blocks == nullptr) return nullptr;
  for (int i = 0; i < blocks->GetSize(); ++i) {
    auto* block = dynamic_cast<CSpStratumBlock*>(blocks->GetAt(i));
    if (block == nullptr) continue;
    for (const SampleSoil& soil : kSoils) {
      if (!block->PolyRgn(&soil.inside)) continue;
      CStratumProp& prop = *block->GetPropPtr();
      prop.SetName(soil.name);
      prop.SetColor(soil.colour);
      tagSATURATE& values = prop.GetSaturate();
      values.gammaT = soil.gammaT;
      values.gammaSat = soil.gammaSat;
      values.phi = soil.phi;
      values.c = soil.c;
    }
  }
  return blocks;
}

// From 1 to 4 m below the ground.
std::unique_ptr<CSpWater> MakeWater() {
  return MakePoly<CSpWater>({{0, -1}, {6, -1}, {12, 2}, {18, 6}, {24, 10}, {30, 11}});
}

// A circular slip from the upper slope (on the ground at x = 21) through (14, 3) to the toe,
// entered from the top down as one three-point arc; its pieces take the strata's c and phi.
std::unique_ptr<CSpSlide> MakeSlide() {
  constexpr int kArcStart = 1;
  constexpr int kStraight = 0;
  constexpr int kStratumStrength = 2;
  auto slide = std::make_unique<CSpSlide>();
  slide->AddNewPoint(CDPoint(21, 12.5), kArcStart, kStratumStrength);
  slide->AddNewPoint(CDPoint(14, 3), kStraight, kStratumStrength);
  slide->AddNewPoint(CDPoint(6, 0), kStraight, kStratumStrength);
  return slide;
}

}  // namespace

SampleSection MakeSampleSection() {
  SampleSection sample;
  sample.ground = MakeGround();
  sample.strata = MakeStratumLines();
  sample.ground->SetPolyArray(RecogniseStrata(*sample.ground, *sample.strata));
  sample.water = MakeWater();
  sample.slide = MakeSlide();
  sample.loads = std::make_unique<CDPolyArray>();
  sample.crack = std::make_unique<CSpCrack>();

  CDanmen& section = sample.section;
  section.SetGround(sample.ground.get());
  section.SetStratumLine(sample.strata.get());
  section.SetWater(sample.water.get());
  section.SetSlide1(sample.slide.get());
  section.SetAryLoad(sample.loads.get());
  section.SetCrack(sample.crack.get());
  return sample;
}

void TurnSeismicOn(CDanmenStab& normal, CDanmenStab& quake, const SampleSection& sample,
                   double kh) {
  tagCALCCONDITION cond = normal.GetCalcCond();
  cond.quakeOn = 1;
  cond.kh = kh;
  normal.SetCalcCond(cond);
  quake.SendInfo(sample.section);
  quake.SetCalcCond(cond);
  quake.SetCalcMode(CDanmenStab::kCalcQuake);
}
