#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/circle/CircleRecordVersion.h"
#include "core/circle/KeptSurfaces.h"
#include "core/circle/RepKey.h"
#include "core/circle/RepPoint.h"
#include "core/geometry/DArc.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"

namespace {

// An arc piece, a straight piece rising above the arc's centre (overhung), strength words with
// their indices, and a name.
std::unique_ptr<CSpSlideWork> Overhung() {
  auto work = std::make_unique<CSpSlideWork>();
  work->SetName("すべり面");
  work->AddNewPoint(CDPoint(0, 10), std::make_unique<CDArc>(5, 15, 7.0710678, 225, 315, true), 2);
  work->AddNewPoint(CDPoint(10, 10), nullptr, 3);
  work->AddNewPoint(CDPoint(12, 20), nullptr, 2);
  work->SetStrengthIndex(1, 4);
  return work;
}

// Two arc pieces and a straight one, reversed so that the vertices name the arcs out of their
// order.
std::unique_ptr<CSpSlideWork> ReversedArcs() {
  auto work = std::make_unique<CSpSlideWork>();
  work->AddNewPoint(CDPoint(0, 10), std::make_unique<CDArc>(5, 15, 7.0710678, 225, 270, true), 2);
  work->AddNewPoint(CDPoint(5, 7.9289322),
                    std::make_unique<CDArc>(5, 15, 7.0710678, 270, 315, true), 3);
  work->AddNewPoint(CDPoint(10, 10), nullptr, 2);
  work->AddNewPoint(CDPoint(11, 12), nullptr, 2);
  work->Reverse();
  return work;
}

std::unique_ptr<CSpSlideWork> Straight() {
  auto work = std::make_unique<CSpSlideWork>();
  work->AddNewPoint(CDPoint(1, 2), nullptr, 1);
  work->AddNewPoint(CDPoint(3, 1), nullptr, 1);
  return work;
}

// What drawing the point's slip surface puts on a canvas, in its own pen and in a colour.
struct Stroke {
  PrimitiveKind kind;
  std::vector<DevPoint> points;
  DevRect rect;
  Pen pen;
  bool operator==(const Stroke&) const = default;
};

std::vector<Stroke> Drawn(const CRepPoint& point) {
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10.0, 150, 150);
  point.Draw(&view, false, std::nullopt);
  point.Draw(&view, true, Color{0x0000FF});
  std::vector<Stroke> strokes;
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    strokes.push_back({p.kind, p.points, p.rect, p.state.pen});
  }
  return strokes;
}

std::vector<std::uint8_t> Record(const CRepPoint& point) {
  Archive out;
  point.Store(out, kCircleRecordVersion);
  return out.Bytes();
}

// A point with a surface of the store answers, stores, draws and copies as a point with the
// surface object kept: the content the store keeps and makes again is the surface's, bit for bit.
TEST(KeptSurfacesTest, AKeptSurfaceIsTheSurfaceItWas) {
  using Maker = std::unique_ptr<CSpSlideWork> (*)();
  const std::vector<Maker> makers{Overhung, ReversedArcs, Straight};
  auto store = std::make_shared<CKeptSurfaces>();
  std::vector<int> numbers;
  for (const Maker make : makers) numbers.push_back(store->Keep(*make()));
  CRepKey overhangOff;
  overhangOff.Data().overhangOff = 1;
  for (std::size_t k = 0; k < makers.size(); ++k) {
    SCOPED_TRACE(k);
    CRepPoint object;
    object.SetSlideWork(makers[k]());
    CRepPoint kept;
    kept.SetKeptSurface(store, numbers[k]);
    ASSERT_TRUE(kept.HasSlideWork());
    EXPECT_EQ(Record(kept), Record(object));
    const std::vector<Stroke> drawn = Drawn(kept);
    EXPECT_FALSE(drawn.empty());
    EXPECT_EQ(drawn, Drawn(object));
    EXPECT_EQ(kept.IsOverhung(), object.IsOverhung());
    EXPECT_EQ(kept.IsValid(overhangOff), object.IsValid(overhangOff));
    CRepPoint copy;
    copy.CopyData(kept);
    EXPECT_EQ(Record(copy), Record(object));
  }
  EXPECT_TRUE(IsOverhungSurface(*Overhung()));
  EXPECT_FALSE(IsOverhungSurface(*ReversedArcs()));
  EXPECT_THROW(store->Make(3), std::out_of_range);
}

}  // namespace
