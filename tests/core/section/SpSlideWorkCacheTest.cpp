// The slide line keeps its working surface between questions. Whatever changes the line, and
// however, it answers to the last bit as a working surface built anew from it does.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr int kArcStart = 1;
constexpr int kStraight = 0;
constexpr int kTangentHere = 3;
constexpr int kStratumStrength = 2;
constexpr int kSpecifiedStrength = 4;

// The sample section's circular slip with a straight run out beyond the toe.
std::unique_ptr<CSpSlide> MakeSlide() {
  auto slide = std::make_unique<CSpSlide>();
  slide->AddNewPoint(CDPoint(21, 12.5), kArcStart, kStratumStrength);
  slide->AddNewPoint(CDPoint(14, 3), kStraight, kStratumStrength);
  slide->AddNewPoint(CDPoint(6, 0), kStraight, kStratumStrength);
  slide->AddNewPoint(CDPoint(2, 0.5), kStraight, kStratumStrength);
  return slide;
}

// What the slide line (or a working surface) answers: heights, inclinations, arcs, crossings
// with slanted lines and rays, and the pieces fitted into the strata with their strength
// types; as bit patterns, so that equal means equal to the last bit.
template <class Surface>
std::vector<std::uint64_t> Answers(const Surface& surface, const CSpGround& ground) {
  std::vector<double> values;
  for (double x = -2.0; x <= 32.0; x += 0.75) {
    values.push_back(surface.GetY(x));
    values.push_back(surface.GetBottomAngle(x));
    const auto arc = surface.GetArc(x);
    values.push_back(arc != nullptr ? arc->R : kNoValue);
    const CDPoint low(x, -20);
    const CDPoint high(x + 4, 30);
    std::vector<double> xs;
    values.push_back(surface.GetCrossX(&low, &high, xs, nullptr, nullptr));
    values.insert(values.end(), xs.begin(), xs.end());
    const CDPoint above(x, 30);
    CDPoint hit;
    values.push_back(surface.GetCrossPoint(&above, -std::numbers::pi / 2, &hit, 1e-6) ? hit.y
                                                                                      : kNoValue);
  }
  CDPolyArray pieces;
  values.push_back(surface.CorrectSlideObj(&ground, &pieces, true));
  for (int i = 0; i < pieces.GetSize(); ++i) {
    const auto& piece = dynamic_cast<const CSpSlideWork&>(*pieces.GetAt(i));
    for (const auto& p : piece.Points()) values.insert(values.end(), {p->x, p->y});
    for (int k = 0; k < piece.GetStrengthSize(); ++k) values.push_back(piece.GetStrengthType(k));
  }
  std::vector<std::uint64_t> bits;
  for (const double v : values) bits.push_back(std::bit_cast<std::uint64_t>(v));
  return bits;
}

// The answers of a working surface built anew from the line now.
std::vector<std::uint64_t> NewBuildAnswers(const CSpSlide& slide, const CSpGround& ground) {
  return Answers(*slide.CreateDrawObj(), ground);
}

// A slide line other than MakeSlide's: a deeper slip.
std::unique_ptr<CSpSlide> MakeOtherSlide() {
  auto other = std::make_unique<CSpSlide>();
  other->AddNewPoint(CDPoint(24, 15), kArcStart, kSpecifiedStrength);
  other->AddNewPoint(CDPoint(14, 1), kStraight, kSpecifiedStrength);
  other->AddNewPoint(CDPoint(4, 0), kStraight, kSpecifiedStrength);
  return other;
}

// Each change shows in the answers, so that a surface kept past it would fail.
struct Change {
  const char* what;
  void (*apply)(CSpSlide& slide);
};

const Change kChanges[] = {
    {"a vertex moved through GetAt", [](CSpSlide& s) { s.GetAt(1)->y -= 1.0; }},
    {"a vertex shared with another shape that moves",
     [](CSpSlide& s) {
       CDPoly other;
       other.Add(s.GetShared(1));
       other.ShiftShape(0.5, -0.5);
     }},
    {"ShiftShape", [](CSpSlide& s) { s.ShiftShape(0.5, -0.25); }},
    {"RotateShape", [](CSpSlide& s) { s.RotateShape(14, 3, 0.05); }},
    {"MoveAtSamePoint", [](CSpSlide& s) { s.MoveAtSamePoint(CDPoint(14, 3), CDPoint(14, 2)); }},
    {"SetAt", [](CSpSlide& s) { s.SetAt(1, std::make_shared<CDPoint>(14, 2)); }},
    {"InsertAt", [](CSpSlide& s) { s.InsertAt(3, std::make_shared<CDPoint>(4, -0.5)); }},
    {"RemoveAt", [](CSpSlide& s) { s.RemoveAt(2); }},
    {"Add", [](CSpSlide& s) { s.Add(0, 1); }},
    {"DeleteAll", [](CSpSlide& s) { s.DeleteAll(); }},
    {"AddNewPoint", [](CSpSlide& s) { s.AddNewPoint(CDPoint(0, 1), kStraight, 0); }},
    {"InsertPoint",
     [](CSpSlide& s) { s.InsertPoint(1, CDPoint(18, 6), kStraight, kStratumStrength, 0); }},
    {"DeletePoint", [](CSpSlide& s) { s.DeletePoint(1); }},
    {"SetStyle to straight", [](CSpSlide& s) { s.SetStyle(0, kStraight); }},
    {"SetStyle to an arc", [](CSpSlide& s) { s.SetStyle(2, kTangentHere); }},
    {"SetStrengthType", [](CSpSlide& s) { s.SetStrengthType(0, kSpecifiedStrength); }},
    {"Reverse (the styles stay where they are)", [](CSpSlide& s) { s.Reverse(); }},
    {"ReverseSuberi", [](CSpSlide& s) { s.ReverseSuberi(); }},
    {"Copy", [](CSpSlide& s) { s.Copy(MakeOtherSlide().get()); }},
    {"Load",
     [](CSpSlide& s) {
       Archive out;
       MakeOtherSlide()->Store(out, 0);
       Archive in(out.Bytes());
       s.Load(in, 0);
     }},
};

TEST(SlideWorkCacheTest, AnswersAsANewBuildAfterEveryKindOfChange) {
  const SampleSection sample = MakeSampleSection();
  for (const Change& change : kChanges) {
    SCOPED_TRACE(change.what);
    const auto slide = MakeSlide();
    const auto before = Answers(*slide, *sample.ground);  // keeps the surface
    ASSERT_EQ(before, NewBuildAnswers(*slide, *sample.ground));
    change.apply(*slide);
    const auto after = Answers(*slide, *sample.ground);
    EXPECT_EQ(after, NewBuildAnswers(*slide, *sample.ground));
    EXPECT_NE(after, before);
  }
}

// The mouse editor holds the dragged vertex and moves it between questions, also back to
// where it was.
TEST(SlideWorkCacheTest, SeesEveryStepOfADraggedVertex) {
  const SampleSection sample = MakeSampleSection();
  const auto slide = MakeSlide();
  const std::shared_ptr<CDPoint> dragged = slide->GetShared(1);
  for (const double y : {3.0, 2.5, 2.5, 1.0, 3.0}) {
    SCOPED_TRACE(y);
    dragged->y = y;
    EXPECT_EQ(Answers(*slide, *sample.ground), NewBuildAnswers(*slide, *sample.ground));
  }
}

}  // namespace
