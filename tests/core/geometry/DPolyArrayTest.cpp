#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A shape with a field of its own, copied only by its own Copy.
class TaggedPoly : public CDPoly {
 public:
  explicit TaggedPoly(int tag) : tag_(tag) {}
  int Tag() const { return tag_; }
  std::unique_ptr<CDPoly> Copy() const override {
    auto copy = std::make_unique<TaggedPoly>(tag_);
    copy->SetName(GetName());
    copy->CopyPoints(this);
    return copy;
  }

 private:
  int tag_;
};

// Records how the array asks it to draw.
struct DrawCall {
  const CDPoly* shape;
  int bold;
  int from;
  int to;
  friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

class SpyPoly : public CDPoly {
 public:
  SpyPoly(std::vector<DrawCall>& draws, std::vector<const CDPoly*>& names)
      : draws_(draws), names_(names) {}
  void Draw(CViewInfo*, int bold, int from, int to) const override {
    draws_.push_back({this, bold, from, to});
  }
  void DrawName(CViewInfo*) const override { names_.push_back(this); }

 private:
  std::vector<DrawCall>& draws_;
  std::vector<const CDPoly*>& names_;
};

std::unique_ptr<CDPoly> Named(const std::string& name, std::unique_ptr<CDPoly> shape) {
  shape->SetName(name);
  return shape;
}

// The closed square [x0, x1] x [y0, y1], counter-clockwise.
std::unique_ptr<CDPoly> Square(double x0, double y0, double x1, double y1) {
  return MakePoly({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}});
}

void ExpectPoint(const CDPoint& p, double x, double y, double tol = 1e-9) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

// ---- The list ----

TEST(PolyArrayListTest, AddInsertReleaseAndRemoveKeepTheOrder) {
  CDPolyArray array;
  EXPECT_TRUE(array.IsEmpty());
  EXPECT_EQ(array.Add(Named("a", MakePoly({}))), 0);
  EXPECT_EQ(array.Add(Named("c", MakePoly({}))), 1);
  array.InsertAt(1, Named("b", MakePoly({})));
  array.InsertAt(3, Named("d", MakePoly({})));
  ASSERT_EQ(array.GetSize(), 4);
  EXPECT_EQ(array.GetAt(1)->GetName(), "b");
  EXPECT_EQ(array.GetAt(3)->GetName(), "d");

  const std::unique_ptr<CDPoly> released = array.Release(0);
  EXPECT_EQ(released->GetName(), "a");
  array.RemoveAt(1);
  ASSERT_EQ(array.GetSize(), 2);
  EXPECT_EQ(array.GetAt(0)->GetName(), "b");
  EXPECT_EQ(array.GetAt(1)->GetName(), "d");

  array.DeleteAll();
  EXPECT_TRUE(array.IsEmpty());
}

TEST(PolyArrayListTest, BadIndexOrNullShapeThrowsOutOfRange) {
  CDPolyArray array;
  array.Add(MakePoly({}));
  const CDPolyArray& constArray = array;
  EXPECT_THROW(array.GetAt(1), std::out_of_range);
  EXPECT_THROW(array.GetAt(-1), std::out_of_range);
  EXPECT_THROW(constArray.GetAt(1), std::out_of_range);
  EXPECT_THROW(array.InsertAt(2, MakePoly({})), std::out_of_range);
  EXPECT_THROW(array.Release(1), std::out_of_range);
  EXPECT_THROW(array.RemoveAt(-1), std::out_of_range);
  EXPECT_THROW(array.Add(nullptr), std::out_of_range);
  EXPECT_THROW(array.InsertAt(0, nullptr), std::out_of_range);
  EXPECT_EQ(array.GetSize(), 1);
}

// ---- Copy ----

TEST(PolyArrayCopyTest, CopyUsesEveryShapesOwnCopy) {
  CDPolyArray source;
  auto tagged = std::make_unique<TaggedPoly>(7);
  tagged->SetName("t");
  tagged->Add(1, 2);
  source.Add(std::move(tagged));
  source.Add(Named("p", MakePoly({{3, 4, 1}})));

  CDPolyArray target;
  target.Add(MakePoly({{9, 9}}));
  target.Copy(&source);
  const std::unique_ptr<CDPolyArray> made = source.Copy();

  for (const CDPolyArray* copy : {&target, made.get()}) {
    ASSERT_EQ(copy->GetSize(), 2);
    const auto* taggedCopy = dynamic_cast<const TaggedPoly*>(copy->GetAt(0));
    ASSERT_NE(taggedCopy, nullptr);
    EXPECT_EQ(taggedCopy->Tag(), 7);
    EXPECT_EQ(taggedCopy->GetName(), "t");
    ExpectPoints(*taggedCopy, {{1, 2}});
    EXPECT_EQ(copy->GetAt(1)->GetName(), "p");
    ExpectPoints(*copy->GetAt(1), {{3, 4, 1}});
    EXPECT_NE(copy->GetAt(0), source.GetAt(0));
    EXPECT_NE(copy->GetAt(1)->GetAt(0), source.GetAt(1)->GetAt(0)) << "points are copied";
  }
}

TEST(PolyArrayCopyTest, CopyOfNullEmptiesAndCopyOfItselfKeepsTheShapes) {
  CDPolyArray array;
  array.Add(Named("a", MakePoly({{1, 1}})));
  array.Copy(&array);
  ASSERT_EQ(array.GetSize(), 1);
  EXPECT_EQ(array.GetAt(0)->GetName(), "a");

  array.Copy(nullptr);
  EXPECT_TRUE(array.IsEmpty());
}

// ---- Shape list record ----

TEST(PolyArrayRecordTest, RecordIsTheCountThenKindAndRecordOfEachShape) {
  CDPolyArray stored;
  auto stratum =
      std::make_unique<KindPoly>(kKindStratumLine, std::vector<CDPoint>{{1.5, -2.0}, {3.0, 4.25}});
  stratum->SetName("地層1");
  stored.Add(std::move(stratum));
  stored.Add(Named("", MakePoly({})));
  stored.Add(Named("ground line", MakePoly({{0, 0, 1}, {10, 2.5, 1}, {20, -3}})));
  stored.Add(Named("x", MakePoly({{1e-9, 9999.999}})));

  RecordBytes expected;
  expected.Int(4);
  expected.Int(kKindStratumLine).Text(u"地層1").Int(2).Double(1.5).Double(-2.0).Double(3.0);
  expected.Double(4.25);
  expected.Int(kKindPoly).Text(u"").Int(0);
  expected.Int(kKindPoly).Text(u"ground line").Int(3).Double(0).Double(0).Double(10).Double(2.5);
  expected.Double(20).Double(-3);
  expected.Int(kKindPoly).Text(u"x").Int(1).Double(1e-9).Double(9999.999);
  const auto loaded =
      ExpectRecordContract<CDPolyArray>({.stored = stored, .version = 5, .bytes = expected.Get()});

  // Each shape comes back as the class of its kind, with its flags cleared.
  ASSERT_EQ(loaded->GetSize(), 4);
  EXPECT_EQ(loaded->GetAt(0)->WhatKind(), kKindStratumLine);
  for (int i = 1; i < loaded->GetSize(); ++i) {
    const CDPoly& shape = *loaded->GetAt(i);
    EXPECT_EQ(typeid(shape), typeid(CDPoly)) << "shape " << i;
  }
  for (int i = 0; i < loaded->GetSize(); ++i) {
    for (const auto& p : loaded->GetAt(i)->Points()) EXPECT_EQ(p->flag, 0) << "shape " << i;
  }
}

TEST(PolyArrayRecordTest, LoadAppendsToTheShapesAlreadyThere) {
  const std::vector<std::uint8_t> record =
      RecordBytes().Int(1).Int(-1).Text(u"new").Int(1).Double(5).Double(6).Get();
  CDPolyArray array;
  array.Add(Named("old", MakePoly({})));
  Archive ar(record);
  array.Load(ar, 0);
  ASSERT_EQ(array.GetSize(), 2);
  EXPECT_EQ(array.GetAt(0)->GetName(), "old");
  EXPECT_EQ(array.GetAt(1)->GetName(), "new");
  ExpectPoints(*array.GetAt(1), {{5, 6}});
}

struct BadRecordCase {
  const char* what;
  std::vector<std::uint8_t> bytes;
  ArchiveException::Cause cause;
  const char* messagePart;  // null when any message will do
};

TEST(PolyArrayRecordTest, FailedLoadThrowsAndLeavesTheArrayAsItWas) {
  const RecordBytes good = RecordBytes().Int(-1).Text(u"a").Int(1).Double(1).Double(2);
  auto twoShapesThen = [&good](const RecordBytes& second) {
    return RecordBytes().Int(2).Raw(good.Get()).Raw(second.Get()).Get();
  };
  std::vector<std::uint8_t> truncated = twoShapesThen(good);
  truncated.resize(truncated.size() - 3);

  const BadRecordCase cases[] = {
      {"unknown kind after a good shape", twoShapesThen(RecordBytes().Int(99).Text(u"b").Int(0)),
       ArchiveException::Cause::BadFormat, "99"},
      {"unknown negative kind", RecordBytes().Int(1).Int(-2).Text(u"b").Int(0).Get(),
       ArchiveException::Cause::BadFormat, "-2"},
      {"record cut in the second shape's points", truncated, ArchiveException::Cause::EndOfFile,
       nullptr},
      {"count cut short", {0x01, 0x00}, ArchiveException::Cause::EndOfFile, nullptr},
      {"negative count", RecordBytes().Int(-1).Get(), ArchiveException::Cause::BadFormat, nullptr},
      {"count larger than the data", RecordBytes().Int(1000000).Int(-1).Get(),
       ArchiveException::Cause::EndOfFile, nullptr},
  };
  for (const BadRecordCase& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray array;
    array.Add(Named("kept", MakePoly({{7, 8}})));
    Archive ar(c.bytes);
    try {
      array.Load(ar, 0);
      ADD_FAILURE() << "no exception";
    } catch (const ArchiveException& e) {
      EXPECT_EQ(e.GetCause(), c.cause);
      if (c.messagePart != nullptr) {
        EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
      }
    }
    ASSERT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array.GetAt(0)->GetName(), "kept");
    ExpectPoints(*array.GetAt(0), {{7, 8}});
  }
}

// ---- Drawing ----

class PolyArrayDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    view.dc = &canvas;
    view.width = 400;  // with the margins of 50: 300 pixels for the 30 units of the area
    view.height = 400;
    for (int i = 0; i < 3; ++i) array.Add(std::make_unique<SpyPoly>(draws, names));
  }

  RecordingCanvas canvas;
  CViewInfo view;
  std::vector<DrawCall> draws;
  std::vector<const CDPoly*> names;
  CDPolyArray array;
};

struct HighlightCase {
  bool highlight;
  int selected;
  int boldShape;  // -1: none drawn bold
};

TEST_F(PolyArrayDrawTest, OnlyTheSelectedShapeIsHighlightedWithTheHandleRange) {
  const HighlightCase cases[] = {{true, 1, 1}, {false, 1, -1}, {true, -1, -1}, {true, 3, -1}};
  for (const HighlightCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "highlight " << c.highlight << " selected " << c.selected);
    draws.clear();
    array.SetActiveShapeID(c.selected);
    array.Draw(&view, c.highlight, 2, 4);
    ASSERT_EQ(draws.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      const DrawCall expected = i == c.boldShape ? DrawCall{array.GetAt(i), 1, 2, 4}
                                                 : DrawCall{array.GetAt(i), 0, -1, -1};
      EXPECT_EQ(draws[i], expected) << "shape " << i;
    }
  }
}

TEST_F(PolyArrayDrawTest, DrawAndDrawNameUpdateTheScaleOnlyWhenTheAreaIsSet) {
  array.Draw(&view, false, -1, -1);
  EXPECT_EQ(view.scale, 10.0);
  view.scale = 1.0;
  array.DrawName(&view);
  EXPECT_EQ(view.scale, 10.0);
  EXPECT_EQ(names, (std::vector<const CDPoly*>{array.GetAt(0), array.GetAt(1), array.GetAt(2)}));

  view.xmin = kAreaNotSet;
  view.scale = 3.0;
  array.Draw(&view, false, -1, -1);
  array.DrawName(&view);
  EXPECT_EQ(view.scale, 3.0);
}

// ---- Whole-list operations and selection ----

TEST(PolyArrayTest, SetPropertyReverseAndNames) {
  CDPolyArray array;
  array.Add(Named("A", MakePoly({{1, 1}})));
  array.Add(Named("B", MakePoly({{2, 2}})));
  EXPECT_TRUE(array.IsNameDuplication("A"));
  EXPECT_FALSE(array.IsNameDuplication("a"));
  EXPECT_FALSE(array.IsNameDuplication("A "));

  array.Reverse();
  EXPECT_EQ(array.GetAt(0)->GetName(), "B");
  EXPECT_EQ(array.GetAt(1)->GetName(), "A");

  const auto source = Named("S", MakePoly({}));
  array.SetProperty(source.get());
  EXPECT_EQ(array.GetAt(0)->GetName(), "S");
  EXPECT_EQ(array.GetAt(1)->GetName(), "S");
  ExpectPoints(*array.GetAt(0), {{2, 2}});
}

TEST(PolyArrayTest, ActiveShapeIsNullOutsideTheList) {
  CDPolyArray array;
  array.Add(MakePoly({}));
  array.Add(MakePoly({}));
  EXPECT_EQ(array.GetActiveShapeID(), -1);
  EXPECT_EQ(array.GetSelectSurfaceNo(), -1);
  const struct {
    int selected;
    const CDPoly* shape;
  } cases[] = {{-1, nullptr}, {0, array.GetAt(0)}, {1, array.GetAt(1)}, {2, nullptr}};
  for (const auto& c : cases) {
    array.SetActiveShapeID(c.selected);
    EXPECT_EQ(array.GetActiveShapeID(), c.selected);
    EXPECT_EQ(array.GetActiveShapePtr(), c.shape) << "selected " << c.selected;
  }
}

TEST(PolyArrayTest, ShiftAndRotateMoveEveryShape) {
  CDPolyArray array;
  array.Add(MakePoly({{1, 0}, {2, 0}}));
  array.Add(MakePoly({{0, 3}}));
  array.ShiftShape(1, -1);
  ExpectPoints(*array.GetAt(0), {{2, -1}, {3, -1}});
  ExpectPoints(*array.GetAt(1), {{1, 2}});
  array.RotateShape(1, -1, kPi / 2);
  ExpectPoints(*array.GetAt(0), {{1, 0}, {1, 1}});
  ExpectPoints(*array.GetAt(1), {{-2, -1}});
}

// ---- Extremes ----

TEST(PolyArrayExtremeTest, ExtremesSkipEmptyShapesAndTheEarlierShapeWinsTies) {
  CDPolyArray array;
  array.Add(MakePoly({}));
  array.Add(MakePoly({{0, 5, 1}, {4, 9, 1}, {4, -2, 1}}));
  array.Add(MakePoly({{0, 7}, {4, 1}, {2, -2}, {3, 9}}));
  array.Add(MakePoly({}));

  const struct {
    const char* which;
    CDPoint result;
    CDPoint expected;
  } cases[] = {
      {"Left", array.Left(), {0, 5}},
      {"Right", array.Right(), {4, 9}},
      {"Bottom", array.Bottom(), {4, -2}},
      {"Top", array.Top(), {4, 9}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.which);
    EXPECT_EQ(c.result.x, c.expected.x);
    EXPECT_EQ(c.result.y, c.expected.y);
    EXPECT_EQ(c.result.flag, 0);
  }
}

TEST(PolyArrayExtremeTest, ExtremesOfAnArrayWithoutPointsAreTheStartValues) {
  CDPolyArray array;
  array.Add(MakePoly({}));
  const struct {
    const char* which;
    CDPoint result;
    double x;
    double y;
  } cases[] = {
      {"Left", array.Left(), kAreaNotSet, kNoValue},
      {"Right", array.Right(), kNoValue, kNoValue},
      {"Bottom", array.Bottom(), kNoValue, kAreaNotSet},
      {"Top", array.Top(), kNoValue, kNoValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.which);
    EXPECT_EQ(c.result.x, c.x);
    EXPECT_EQ(c.result.y, c.y);
  }
}

// ---- Nearest point, inside tests ----

TEST(PolyArrayTest, GetOnlineNearTakesTheStrictlyNearestShape) {
  CDPolyArray array;
  array.Add(MakePoly({{5, 5}}));  // too short to have a nearest point
  array.Add(MakePoly({{0, 2}, {10, 2}}));
  array.Add(MakePoly({{0, -1}, {10, -1}}));
  array.Add(MakePoly({{0, 3}, {10, 3}}));  // as near as the first line
  const CDPoint p(4, 0.4);
  double dist = 0;
  const CDPoint nearest = array.GetOnlineNear(&p, dist);
  ExpectPoint(nearest, 4, -1);
  EXPECT_DOUBLE_EQ(dist, 1.4);

  const CDPoint q(4, 2.5);
  ExpectPoint(array.GetOnlineNear(&q, dist), 4, 2);
  EXPECT_DOUBLE_EQ(dist, 0.5);
}

TEST(PolyArrayTest, GetOnlineNearOfNoShapesIsTheNoValuePoint) {
  const CDPolyArray array;
  const CDPoint p(1, 1);
  double dist = 0;
  const CDPoint nearest = array.GetOnlineNear(&p, dist);
  EXPECT_EQ(nearest.x, kNoValue);
  EXPECT_EQ(nearest.y, kNoValue);
  EXPECT_EQ(dist, kAreaNotSet);
}

TEST(PolyArrayFindTest, FindPolygonSearchesFromTheLastShape) {
  CDPolyArray array;
  array.Add(Square(0, 0, 10, 10));
  array.Add(Square(2, 2, 4, 4));  // inside the first
  array.Add(Square(20, 0, 30, 10));
  array.SetActiveShapeID(2);

  const struct {
    CDPoint p;
    int found;  // -1: none
    int selectedAfter;
  } cases[] = {
      {{3, 3}, 1, 1},
      {{8, 8}, 0, 0},
      {{50, 50}, -1, 0},  // the selection stays
      {{25, 5}, 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "point " << c.p.x << ", " << c.p.y);
    const CDPoly* found = array.FindPolygon(&c.p);
    const CDPoly* expected = c.found < 0 ? nullptr : array.GetAt(c.found);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(array.IsPolyInside(&c.p), c.found >= 0);
    EXPECT_EQ(array.GetActiveShapeID(), c.selectedAfter);
    EXPECT_EQ(array.GetFoundShape(), array.GetAt(c.selectedAfter));
  }
}

// FindPolygon over outlines taken from the array finds, for every point, the shape the plain
// search over a copy of the array finds, and leaves the same selection.
void ExpectOutlinesFindAsThePlainSearch(CDPolyArray& array, const std::vector<CDPoint>& points) {
  CDPolyArray::Outlines outlines;
  outlines.Take(array);
  CDPolyArray plain;
  for (int i = 0; i < array.GetSize(); ++i) plain.Add(array.GetAt(i)->Copy());
  for (const CDPoint& p : points) {
    SCOPED_TRACE(testing::Message() << std::setprecision(17) << "point " << p.x << ", " << p.y);
    const CDPoly* expected = plain.FindPolygon(&p);
    const CDPoly* found = array.FindPolygon(&p, outlines);
    EXPECT_EQ(found != nullptr, expected != nullptr);
    EXPECT_EQ(array.GetActiveShapeID(), plain.GetActiveShapeID());
    if (found != nullptr) {
      EXPECT_EQ(found, array.GetAt(plain.GetActiveShapeID()));
    }
  }
}

// The search over outlines taken once finds what the plain search finds and moves the selection
// alike: inside, outside, on edges and vertices, within the inside test's margin of a shape's
// greatest x and y and beyond it, with a shape that is not closed by a repeated point, one with
// a coordinate that is not a number, an empty one, a concave one with slanted edges (the outlines
// visit its edges from the right), and with outlines of another array.
TEST(PolyArrayFindTest, FindPolygonOverOutlinesAgreesWithThePlainSearch) {
  CDPolyArray array;
  array.Add(Square(0, 0, 10, 10));
  array.Add(Square(2, 2, 4, 4));
  array.Add(MakePoly({{20, 0}, {30, 0}, {30, 10}, {20, 10}}));  // closed by its last edge
  array.Add(MakePoly({{40, 0}, {50, std::nan("")}, {50, 10}, {40, 0}}));
  array.Add(std::make_unique<CDPoly>());
  const std::vector<CDPoint> concave = {{60, 0}, {70, 3}, {66, 5}, {72, 9}, {61, 8}, {63, 4}};
  array.Add(MakePoly(concave));

  std::vector<CDPoint> points;
  for (const double x : {-1.0, 0.0, 3.0, 4.0, 8.0, 10.0, 10.0 + 5e-7, 10.0 + 2e-6, 25.0, 30.0,
                         30.0 + 2e-6, 45.0, 50.0, 60.0}) {
    for (const double y : {-1.0, 0.0, 3.0, 5.0, 10.0, 10.0 + 5e-7, 10.0 + 2e-6, 20.0}) {
      points.emplace_back(x, y);
    }
  }
  for (std::size_t i = 0; i < concave.size(); ++i) {
    const CDPoint& a = concave[i];
    const CDPoint& b = concave[(i + 1) % concave.size()];
    for (const double t : {0.0, 0.25, 0.5})
      points.emplace_back(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y));
    points.emplace_back(a.x - 0.5, a.y);
    points.emplace_back(a.x + 0.5, a.y + 0.1);
  }
  for (double x = 59.5; x < 73; x += 0.5) {
    for (double y = -0.5; y < 10; y += 0.5) points.emplace_back(x, y);
  }
  ExpectOutlinesFindAsThePlainSearch(array, points);

  CDPolyArray other;
  other.Add(Square(0, 0, 1, 1));
  CDPolyArray::Outlines otherOutlines;
  otherOutlines.Take(other);
  const CDPoint p(3, 3);
  EXPECT_EQ(array.FindPolygon(&p, otherOutlines), array.GetAt(1));

  // Outlines never taken stand for an empty array, and for an emptied one when taken again.
  CDPolyArray empty;
  const CDPolyArray::Outlines untaken;
  EXPECT_EQ(empty.FindPolygon(&p, untaken), nullptr);
  otherOutlines.Take(empty);
  EXPECT_EQ(empty.FindPolygon(&p, otherOutlines), nullptr);
}

// Edges that the ray crosses far from their ends count, and edges whose line the ray's line
// crosses far behind the point or beyond the ray's end do not, without their crossing computed;
// where the ray runs almost along an edge, or passes near an end, the crossing decides. Both agree
// with the plain search: thin wedges along the ray's direction (slopes apart by 1e-7 to 1e-2), a
// vertical and a steep edge, far coordinates, and points near and on the wedges' edges, before
// and behind them.
TEST(PolyArrayFindTest, FindPolygonOverOutlinesAgreesAlongTheRaysDirection) {
  const double rise = std::tan(0.33);
  for (const double origin : {0.0, -9000.0, 9000.0}) {
    for (const double apart : {1e-7, 1e-5, 1e-3, 1e-2}) {
      SCOPED_TRACE(testing::Message() << "origin " << origin << ", apart " << apart);
      CDPolyArray array;
      const double x0 = origin;
      const double y0 = origin / 2;
      array.Add(
          MakePoly({{x0, y0}, {x0 + 400, y0 + 400 * rise}, {x0 + 400, y0 + 400 * (rise + apart)}}));
      array.Add(MakePoly({{x0 + 1, y0 - 5}, {x0 + 1 + 1e-10, y0 + 50}, {x0 + 30, y0 + 20}}));
      std::vector<CDPoint> points;
      for (const double along : {-1.0, 0.0, 1e-4, 0.5, 10.0, 200.0, 399.9}) {
        for (const double off : {-1.0, -1e-4, 0.0, 1e-9, 1e-4, 0.01, 0.5, 3.0}) {
          points.emplace_back(x0 + along, y0 + along * rise + off);
        }
      }
      ExpectOutlinesFindAsThePlainSearch(array, points);
    }
  }
}

// Points where a table of the outlines could go wrong, around every vertex of the shapes: the
// vertex, points along each edge and one ulp above and below them, one ulp either side of the
// vertex's x at its own height and on the edges, points across the rays' direction near where an
// edge leaves a slab of the table (1e-4 from its ends, and a hair either side), and random points
// over the shapes' box.
std::vector<CDPoint> PointsAroundTheShapes(const CDPolyArray& array, int randomCount) {
  std::vector<CDPoint> points;
  const double across[] = {std::sin(0.33), -std::cos(0.33)};
  double left = 1e300, right = -1e300, bottom = 1e300, top = -1e300;
  for (int s = 0; s < array.GetSize(); ++s) {
    const CDPoly& shape = *array.GetAt(s);
    for (int i = 0; i < shape.GetSize(); ++i) {
      const CDPoint& a = *shape.GetAt(i);
      const CDPoint& b = *shape.GetAt((i + 1) % shape.GetSize());
      left = std::min(left, a.x);
      right = std::max(right, a.x);
      bottom = std::min(bottom, a.y);
      top = std::max(top, a.y);
      points.push_back(a);
      for (const double x : {std::nextafter(a.x, -1e300), std::nextafter(a.x, 1e300)}) {
        points.emplace_back(x, a.y);
        // On the edge's line at that x, where it has one.
        if (b.x != a.x) points.emplace_back(x, a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x));
      }
      for (int k = 1; k < 64; ++k) {
        const double t = k / 64.0;
        const CDPoint on(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y));
        points.push_back(on);
        points.emplace_back(on.x, std::nextafter(on.y, 1e300));
        points.emplace_back(on.x, std::nextafter(on.y, -1e300));
      }
      points.emplace_back(a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3);
      for (const double off : {1e-4 - 1e-9, 1e-4, 1e-4 + 1e-9, 2e-6, 5e-7}) {
        for (const double side : {-off, off}) {
          points.emplace_back(a.x + side * across[0], a.y + side * across[1]);
        }
      }
    }
  }
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> xs(left - 1, right + 1);
  std::uniform_real_distribution<double> ys(bottom - 1, top + 1);
  for (int i = 0; i < randomCount; ++i) {
    const double x = xs(random);
    points.emplace_back(x, ys(random));
  }
  return points;
}

// The strata of the sample section: three bands with shared boundaries, slanted and flat edges.
TEST(PolyArrayFindTest, FindPolygonOverOutlinesAgreesOnTheSampleStrata) {
  const SampleSection sample = MakeSampleSection();
  CDPolyArray& strata = *sample.ground->GetPolyArray();
  ExpectOutlinesFindAsThePlainSearch(strata, PointsAroundTheShapes(strata, 20000));
}

// Shapes that touch along vertical edges, at a single vertex and along a slanted edge, one inside
// another, and vertical edges at the x of the other shapes' vertices.
void AddTouchingShapesWithVerticalEdges(CDPolyArray& array) {
  array.Add(Square(0, 0, 10, 10));
  array.Add(Square(10, 0, 20, 10));                     // shares the vertical edge x = 10
  array.Add(MakePoly({{20, 10}, {30, 20}, {20, 20}}));  // touches the last at its corner
  array.Add(MakePoly({{0, 10}, {10, 10}, {5, 13.5}}));  // on top of the first
  array.Add(Square(4, 4, 6, 6));                        // inside the first
  array.Add(MakePoly({{10, 10}, {20, 10}, {20, 10 + 20 * std::tan(0.33)}}));  // along the ray
}

TEST(PolyArrayFindTest, FindPolygonOverOutlinesAgreesOnTouchingShapesWithVerticalEdges) {
  CDPolyArray array;
  AddTouchingShapesWithVerticalEdges(array);
  ExpectOutlinesFindAsThePlainSearch(array, PointsAroundTheShapes(array, 20000));
}

// The search over outlines looks for a point first in the slab of the point asked before it:
// whatever that point was, one in the same slab, in a neighbouring one across a bound a hair
// away, or far off, the search finds what the plain search finds. The points around the shapes
// come as made (neighbours mostly share a slab, and the points a hair either side of a slab's
// bound follow each other), reversed, shuffled, and as a walk across the rays' direction in small
// steps that passes every bound, both ways.
TEST(PolyArrayFindTest, FindPolygonOverOutlinesAgreesWhateverPointCameBefore) {
  const SampleSection sample = MakeSampleSection();
  CDPolyArray touching;
  AddTouchingShapesWithVerticalEdges(touching);
  const std::vector<CDPoint> walkAcross = [] {
    std::vector<CDPoint> walk;
    for (double t = -40; t <= 40; t += 1e-3) {
      walk.emplace_back(15 + t * std::sin(0.33), 8 - t * std::cos(0.33));
    }
    return walk;
  }();
  for (CDPolyArray* array : {sample.ground->GetPolyArray(), &touching}) {
    const std::vector<CDPoint> around = PointsAroundTheShapes(*array, 2000);
    std::vector<CDPoint> reversed(around.rbegin(), around.rend());
    std::vector<CDPoint> shuffled = around;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937_64(20261211));
    std::vector<CDPoint> walkBack(walkAcross.rbegin(), walkAcross.rend());
    const struct {
      const char* order;
      const std::vector<CDPoint>& points;
    } cases[] = {{"as made", around},
                 {"reversed", reversed},
                 {"shuffled", shuffled},
                 {"walk across", walkAcross},
                 {"walk back", walkBack}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.order);
      // As the plain search's fresh copy of the array: nothing selected.
      array->SetActiveShapeID(-1);
      ExpectOutlinesFindAsThePlainSearch(*array, c.points);
    }
  }
}

// Coordinates beyond the reach the table is made for: a point far out, and a shape with a vertex
// far out, which every point's slab holds.
TEST(PolyArrayFindTest, FindPolygonOverOutlinesAgreesFarOut) {
  CDPolyArray array;
  array.Add(Square(0, 0, 10, 10));
  array.Add(MakePoly({{-5, -5}, {3e6, 2}, {-5, 2}}));
  array.Add(Square(2e6, 2e6, 3e6, 3e6));
  std::vector<CDPoint> points = PointsAroundTheShapes(array, 2000);
  for (const double far : {9.9e5, 1e6, 1.1e6, 2.5e6, 1e9}) {
    for (const CDPoint& p : {CDPoint(far, 1), CDPoint(1, far), CDPoint(-far, 1), CDPoint(far, far),
                             CDPoint(5, 1.5 - far * 1e-7)}) {
      points.push_back(p);
    }
  }
  ExpectOutlinesFindAsThePlainSearch(array, points);
}

TEST(PolyArrayFindTest, FoundShapeIsForgottenWhenItLeavesTheList) {
  CDPolyArray array;
  array.Add(Square(0, 0, 10, 10));
  array.Add(Square(20, 0, 30, 10));
  const CDPoint p(5, 5);
  array.FindPolygon(&p);
  array.RemoveAt(1);
  EXPECT_NE(array.GetFoundShape(), nullptr);
  const std::unique_ptr<CDPoly> released = array.Release(0);
  EXPECT_EQ(array.GetFoundShape(), nullptr);

  array.Add(Square(0, 0, 10, 10));
  array.FindPolygon(&p);
  array.DeleteAll();
  EXPECT_EQ(array.GetFoundShape(), nullptr);
}

// ---- Crossings ----

TEST(PolyArrayCrossTest, SegmentCrossingNearestOrFarthestFromTheStart) {
  CDPolyArray array;
  array.Add(MakePoly({{5, -1}, {5, 1}}));
  array.Add(MakePoly({{0, 5}, {1, 5}}));                    // not crossed
  array.Add(MakePoly({{2, -1}, {2, 1}, {8, 1}, {8, -1}}));  // nearest crossing (2, 0)
  array.Add(MakePoly({{7, -1}, {7, 1}}));
  const CDPoint p1(0, 0);
  const CDPoint p2(10, 0);

  const struct {
    bool farthest;
    double x;
  } cases[] = {{false, 2}, {true, 7}};
  for (const auto& c : cases) {
    CDPoint out(-1, -1);
    EXPECT_TRUE(array.GetCrossPoint(&p1, &p2, &out, c.farthest, 1e-6));
    ExpectPoint(out, c.x, 0);
  }

  const CDPoint q1(0, 3);
  const CDPoint q2(10, 3);
  CDPoint untouched(-1, -1);
  EXPECT_FALSE(array.GetCrossPoint(&q1, &q2, &untouched, false, 1e-6));
  ExpectPoint(untouched, -1, -1);
}

// Polygons for the arc: the lower half circle of radius 10 about the origin runs from (-10, 0)
// through (0, -10) to (10, 0).
class PolyArrayArcTest : public testing::Test {
 protected:
  const CDArc lowerHalf{0.0, 0.0, 10.0, kPi, 2 * kPi};
  const CDPoint cutAt0{0, -10};
  const CDPoint cutAt5{5, -std::sqrt(75.0)};
};

TEST_F(PolyArrayArcTest, WalkGoesThroughThePiecesInsidePolygons) {
  CDPolyArray array;
  array.Add(Square(-20, -20, 0, 5));
  array.Add(Square(0, -20, 5, 5));
  // Pieces: [pi, 3pi/2] in the first square, [3pi/2, 5pi/3] in the second, the rest outside.
  const struct {
    bool fromStart;
    CDPoint expected;
  } cases[] = {{true, cutAt5}, {false, {10, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fromStart ? "from start" : "from end");
    CDPoint out;
    EXPECT_TRUE(array.GetCrossPoint(&lowerHalf, &out, c.fromStart));
    ExpectPoint(out, c.expected.x, c.expected.y, 1e-9);
  }
}

TEST_F(PolyArrayArcTest, WalkNeverTakesThePieceAtTheFarEnd) {
  CDPolyArray array;
  array.Add(Square(-20, -20, 20, 5));
  array.Add(MakePoly({{0, -20}, {0, 5}}));  // cuts the arc at (0, -10), encloses nothing
  for (const bool fromStart : {true, false}) {
    SCOPED_TRACE(fromStart ? "from start" : "from end");
    CDPoint out;
    EXPECT_TRUE(array.GetCrossPoint(&lowerHalf, &out, fromStart));
    ExpectPoint(out, cutAt0.x, cutAt0.y);
  }
}

TEST_F(PolyArrayArcTest, PieceOutsideEveryPolygonGivesTheArcEnd) {
  CDPolyArray array;
  array.Add(Square(-2, -20, 2, 5));  // only the middle of the arc lies inside
  CDPoint out;
  EXPECT_TRUE(array.GetCrossPoint(&lowerHalf, &out, true));
  ExpectPoint(out, -10, 0);
  EXPECT_TRUE(array.GetCrossPoint(&lowerHalf, &out, false));
  ExpectPoint(out, 10, 0);
}

TEST_F(PolyArrayArcTest, ArcWithoutPiecesLeavesTheOutputAlone) {
  CDPolyArray array;
  array.Add(Square(-20, -20, 20, 5));
  const CDArc tiny(0.0, 0.0, 10.0, 1.0, 1.0 + 5e-7);
  CDPoint out(-1, -1);
  EXPECT_FALSE(array.GetCrossPoint(&tiny, &out, true));
  ExpectPoint(out, -1, -1);
}

TEST(PolyArrayInOutTest, FirstInOutPointFindsWhereTheSegmentEntersOrLeaves) {
  CDPolyArray array;
  array.Add(Square(2, -2, 6, 2));
  array.Add(Square(20, -2, 30, 2));

  const struct {
    const char* what;
    CDPoint p1;
    CDPoint p2;
    int result;
    CDPoint out;
  } cases[] = {
      {"enters and leaves", {0, 0}, {10, 0}, 1, {2, 0}},
      {"starts inside", {4, 0}, {10, 0}, 2, {6, 0}},
      {"runs backward through it", {10, 0}, {0, 0}, 1, {6, 0}},
      {"misses every polygon", {0, 5}, {10, 5}, 0, {-1, -1}},
      {"stays inside", {3, 0}, {5, 0}, 0, {-1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CDPoint out(-1, -1);
    EXPECT_EQ(array.FirstInOutPoint(&c.p1, &c.p2, &out), c.result);
    ExpectPoint(out, c.out.x, c.out.y);
  }
}

}  // namespace
