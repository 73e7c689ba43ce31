#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/geometry/DPoly.h"
#include "platform/Archive.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The shape record built by hand: the name, the int32 count, then x and y of every point.
Bytes ShapeRecord(std::u16string_view name, const std::vector<CDPoint>& points) {
  RecordBytes bytes;
  bytes.Text(name).Int(static_cast<std::int32_t>(points.size()));
  for (const CDPoint& p : points) bytes.Double(p.x).Double(p.y);
  return bytes.Get();
}

// ---- Record ----

TEST(DPolyRecordTest, RecordIsTheNameThenThePointsWithoutFlags) {
  const struct {
    std::string name;
    std::u16string units;  // the same name for the record builder
    std::vector<CDPoint> points;
  } cases[] = {
      {"Ab", u"Ab", {{1.5, -2.25, 1}, {3, 4}, {kNoValue, 7}}},
      {"地層線", u"地層線", {{0, 0}}},
      {"W", u"W", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto poly = MakePoly(c.points);
    poly->SetName(c.name);
    const auto loaded = ExpectRecordContract<CDPoly>(
        {.stored = *poly, .version = 0, .bytes = ShapeRecord(c.units, c.points)});
    // Flags are not stored: every point reads back with flag 0.
    std::vector<CDPoint> withoutFlags;
    for (const CDPoint& p : c.points) withoutFlags.emplace_back(p.x, p.y);
    ExpectPoints(*loaded, withoutFlags);
  }
}

TEST(DPolyRecordTest, LoadAppendsToThePointsHeld) {
  auto poly = MakePoly({{9, 9, 1}});
  Archive in(ShapeRecord(u"N", {{1, 2}}));
  poly->Load(in, 0);
  ExpectPoints(*poly, {{9, 9, 1}, {1, 2}});
  EXPECT_EQ(poly->GetName(), "N");
}

TEST(DPolyRecordTest, NegativeOrOversizedCountIsRejectedBeforeReading) {
  for (const std::int32_t count : {-1, 1000000}) {
    SCOPED_TRACE(count);
    Archive in(RecordBytes().Text(u"").Int(count).Get());
    CDPoly loaded;
    EXPECT_THROW(loaded.Load(in, 0), ArchiveException);
    EXPECT_EQ(loaded.GetSize(), 0);
  }
}

TEST(DPolyRecordTest, WrongArchiveDirectionThrowsWithItsCause) {
  auto poly = MakePoly({{1, 2}});
  Archive loading(ShapeRecord(u"", {}));
  try {
    poly->Store(loading, 0);
    FAIL() << "Store on a loading archive";
  } catch (const ArchiveException& e) {
    EXPECT_EQ(e.GetCause(), ArchiveException::Cause::ReadOnly);
  }
  Archive storing;
  try {
    poly->Load(storing, 0);
    FAIL() << "Load on a storing archive";
  } catch (const ArchiveException& e) {
    EXPECT_EQ(e.GetCause(), ArchiveException::Cause::WriteOnly);
  }
  ExpectPoints(*poly, {{1, 2}});
}

// ---- Factory, copies ----

TEST(DPolyFactoryTest, PlainKindGivesAPolylineAndUnknownCodesGiveNull) {
  auto poly = CDPoly::CreateNewElement(kKindPoly);
  ASSERT_NE(poly, nullptr);
  EXPECT_EQ(poly->WhatKind(), kKindPoly);
  EXPECT_EQ(poly->GetSize(), 0);
  for (const int code : {-2, 8, 100, kNoValueInt}) {
    EXPECT_EQ(CDPoly::CreateNewElement(code), nullptr) << code;
  }
}

TEST(DPolyCopyTest, CopyHasNameAndIndependentPointsWithFlags) {
  auto poly = MakePoly({{0, 0, 1}, {1, 2}});
  poly->SetName("line");
  poly->SetUseCount(2);
  auto copy = poly->Copy();
  EXPECT_EQ(copy->WhatKind(), kKindPoly);
  EXPECT_EQ(copy->GetName(), "line");
  ExpectPoints(*copy, {{0, 0, 1}, {1, 2}});
  copy->GetAt(0)->x = 5;
  EXPECT_EQ(poly->GetAt(0)->x, 0);
}

TEST(DPolyCopyTest, RevCopyReversesWithoutTheName) {
  auto poly = MakePoly({{0, 0, 1}, {1, 2}, {3, 4}});
  poly->SetName("line");
  auto rev = poly->RevCopy();
  EXPECT_EQ(rev->GetName(), "");
  ExpectPoints(*rev, {{3, 4}, {1, 2}, {0, 0, 1}});
  EXPECT_NE(rev->GetAt(2), poly->GetAt(0));
}

TEST(DPolyCopyTest, CopyPointsReplacesOnlyThePoints) {
  auto poly = MakePoly({{7, 7}});
  poly->SetName("keep");
  auto other = MakePoly({{1, 1, 1}, {2, 2}});
  poly->CopyPoints(other.get());
  ExpectPoints(*poly, {{1, 1, 1}, {2, 2}});
  EXPECT_EQ(poly->GetName(), "keep");
  EXPECT_NE(poly->GetAt(0), other->GetAt(0));
  poly->CopyPoints(poly.get());
  ExpectPoints(*poly, {{1, 1, 1}, {2, 2}});
}

// Assigning points keeps the point objects the shape alone holds, replaces the ones it shares
// with another shape (which keeps its values), grows and shrinks to the other's count, and leaves
// a shape assigned to itself as it is.
TEST(DPolyCopyTest, AssignPointsReusesOnlyThePointsNoOtherShapeHolds) {
  auto poly = MakePoly({{7, 7}, {8, 8}});
  CDPoly sharing;
  sharing.Add(poly->Points()[1]);
  const CDPoint* own = poly->GetAt(0);
  auto other = MakePoly({{1, 1, 1}, {2, 2}, {3, 3}});
  poly->AssignPoints(*other);
  ExpectPoints(*poly, {{1, 1, 1}, {2, 2}, {3, 3}});
  EXPECT_EQ(poly->GetAt(0), own);
  EXPECT_NE(poly->GetAt(1), sharing.GetAt(0));
  ExpectPoints(sharing, {{8, 8}});
  EXPECT_NE(poly->GetAt(2), other->GetAt(2));
  poly->AssignPoints(*MakePoly({{4, 4}}));
  ExpectPoints(*poly, {{4, 4}});
  EXPECT_EQ(poly->GetAt(0), own);
  poly->AssignPoints(*poly);
  ExpectPoints(*poly, {{4, 4}});
}

TEST(DPolyCopyTest, SetPropertyCopiesTheName) {
  auto poly = MakePoly({{1, 1}});
  auto other = MakePoly({});
  other->SetName("other");
  poly->SetProperty(other.get());
  EXPECT_EQ(poly->GetName(), "other");
  ExpectPoints(*poly, {{1, 1}});
}

// ---- Point list ----

TEST(DPolyListTest, IndexErrorsThrowOutOfRange) {
  auto poly = MakePoly({{0, 0}, {1, 1}});
  EXPECT_THROW(poly->GetAt(-1), std::out_of_range);
  EXPECT_THROW(poly->GetAt(2), std::out_of_range);
  EXPECT_THROW(poly->GetShared(2), std::out_of_range);
  EXPECT_THROW(poly->SetAt(2, std::make_shared<CDPoint>(0, 0)), std::out_of_range);
  EXPECT_THROW(poly->InsertAt(3, std::make_shared<CDPoint>(0, 0)), std::out_of_range);
  EXPECT_THROW(poly->InsertAt(-1, std::make_shared<CDPoint>(0, 0)), std::out_of_range);
  EXPECT_THROW(poly->Add(std::shared_ptr<CDPoint>()), std::out_of_range);
  EXPECT_THROW(poly->SetAt(0, nullptr), std::out_of_range);
  poly->RemoveAt(2);  // at or past the end: nothing
  EXPECT_EQ(poly->GetSize(), 2);
}

TEST(DPolyListTest, VerticesKeepTheirIdentityWhileTheListChanges) {
  auto poly = MakePoly({{0, 0}, {2, 0}});
  const std::shared_ptr<CDPoint> held = poly->GetShared(1);
  poly->InsertAt(1, std::make_shared<CDPoint>(1, 0));
  poly->Add(3, 0);
  EXPECT_EQ(poly->GetAt(2), held.get());
  poly->RemoveAt(2);
  // The remover's copy stays valid for whoever still holds it.
  EXPECT_EQ(held->x, 2);
  ExpectPoints(*poly, {{0, 0}, {1, 0}, {3, 0}});
}

TEST(DPolyListTest, AddingReturnsIndexAndShares) {
  CDPoly poly;
  EXPECT_EQ(poly.GetFirstPt(), nullptr);
  EXPECT_EQ(poly.GetLastPt(), nullptr);
  EXPECT_EQ(poly.Add(CDPoint(1, 2, 1)), 0);  // by value: a new point with flag 0
  EXPECT_EQ(poly.Add(3, 4), 1);
  auto shared = std::make_shared<CDPoint>(5, 6, 1);
  EXPECT_EQ(poly.Add(shared), 2);
  EXPECT_EQ(poly.GetAt(2), shared.get());
  EXPECT_EQ(poly.GetFirstPt(), poly.GetAt(0));
  EXPECT_EQ(poly.GetLastPt(), shared.get());
  ExpectPoints(poly, {{1, 2}, {3, 4}, {5, 6, 1}});
  poly.InitPointFlag(1);
  ExpectPoints(poly, {{1, 2, 1}, {3, 4, 1}, {5, 6, 1}});
  poly.DeleteAll();
  EXPECT_EQ(poly.GetSize(), 0);
}

TEST(DPolyListTest, DelSpacePointRemovesPointsWithoutValue) {
  auto poly = MakePoly({{kNoValue, 1}, {0, 0}, {1, kNoValue}, {2, 2}, {kNoValue, kNoValue}});
  poly->DelSpacePoint();
  ExpectPoints(*poly, {{0, 0}, {2, 2}});
}

TEST(DPolyListTest, ReverseExchangesContentsAndKeepsObjects) {
  auto poly = MakePoly({{0, 0, 1}, {1, 1}, {2, 2}});
  CDPoint* first = poly->GetAt(0);
  poly->Reverse();
  EXPECT_EQ(poly->GetAt(0), first);
  ExpectPoints(*poly, {{2, 2}, {1, 1}, {0, 0, 1}});
}

TEST(DPolyListTest, LeftToRightReversesUnlessTheLastXIsGreater) {
  struct Case {
    std::vector<CDPoint> points;
    bool reversed;
  };
  const Case cases[] = {
      {{{0, 0}, {1, 5}}, false},
      {{{1, 0}, {0, 5}}, true},
      {{{1, 0}, {1, 5}}, true},  // equal x: not greater
      {{{1, 0}}, false},
  };
  for (const Case& c : cases) {
    const auto poly = MakePoly(c.points);
    EXPECT_EQ(poly->IsLeftToRight(), !c.reversed || c.points.size() < 2);
    poly->LeftToRight();
    std::vector<CDPoint> expected = c.points;
    if (c.reversed) std::reverse(expected.begin(), expected.end());
    ExpectPoints(*poly, expected);
  }
}

// ---- Simple queries ----

TEST(DPolyQueryTest, ExtremePointsAndTheirTies) {
  struct Case {
    const char* what;
    std::vector<CDPoint> points;
    CDPoint left, right, bottom, top;
  };
  const Case cases[] = {
      {"equal x: larger y wins", {{0, 0}, {0, 5}, {3, 1}}, {0, 5}, {3, 1}, {0, 0}, {0, 5}},
      {"equal y: first wins", {{0, 1}, {2, 1}}, {0, 1}, {2, 1}, {0, 1}, {0, 1}},
      {"right tie", {{4, 1}, {4, 3}, {0, 0}}, {0, 0}, {4, 3}, {0, 0}, {4, 3}},
      {"empty",
       {},
       {kAreaNotSet, kNoValue},
       {kNoValue, kNoValue},
       {kNoValue, kAreaNotSet},
       {kNoValue, kNoValue}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPoly poly;
    for (const CDPoint& p : c.points) poly.Add(std::make_shared<CDPoint>(p.x, p.y, 1));
    const std::pair<CDPoint, CDPoint> results[] = {{poly.Left(), c.left},
                                                   {poly.Right(), c.right},
                                                   {poly.Bottom(), c.bottom},
                                                   {poly.Top(), c.top}};
    for (const auto& [got, want] : results) {
      EXPECT_EQ(got.x, want.x);
      EXPECT_EQ(got.y, want.y);
      EXPECT_EQ(got.flag, 0);
    }
  }
}

TEST(DPolyQueryTest, RangesSkipUnsetValuesAndKeepTheirArgumentOrder) {
  auto poly = MakePoly({{2, 7}, {kNoValue, 9}, {-1, kNoValue}, {5, -3}});
  double a = 0;
  double b = 0;
  poly->RangeX(a, b);
  EXPECT_EQ(a, -1);  // minimum first
  EXPECT_EQ(b, 5);
  poly->RangeY(a, b);
  EXPECT_EQ(a, 9);  // maximum first
  EXPECT_EQ(b, -3);
  double xmin = 0, xmax = 0, ymax = 0, ymin = 0;
  EXPECT_TRUE(poly->RangeRect(xmin, xmax, ymax, ymin));
  EXPECT_EQ(xmin, -1);
  EXPECT_EQ(xmax, 5);
  EXPECT_EQ(ymax, 9);
  EXPECT_EQ(ymin, -3);

  auto noY = MakePoly({{1, kNoValue}});
  EXPECT_FALSE(noY->RangeRect(xmin, xmax, ymax, ymin));
  EXPECT_EQ(xmin, 1);
  EXPECT_EQ(ymax, kNoValue);
  EXPECT_EQ(ymin, kNoValue);
  CDPoly empty;
  empty.RangeX(a, b);
  EXPECT_EQ(a, kNoValue);
  EXPECT_EQ(b, kNoValue);
}

TEST(DPolyQueryTest, AreaLeavesOutTheClosingSegment) {
  struct Case {
    const char* what;
    std::vector<CDPoint> points;
    double area;
  };
  const Case cases[] = {
      {"closed square, counter-clockwise", {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, 1},
      {"closed square, clockwise", {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}, -1},
      // Without the repeated first point the closing segment's share is missing.
      {"open square", {{2, 1}, {2, 2}, {1, 2}, {1, 1}}, 2},
      {"one point", {{3, 3}}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(MakePoly(c.points)->GetArea(), c.area) << c.what;
  }
}

TEST(DPolyQueryTest, LengthAndAverageY) {
  auto poly = MakePoly({{0, 0}, {3, 4}, {3, 8}});
  EXPECT_DOUBLE_EQ(poly->GetLength(), 9);
  EXPECT_DOUBLE_EQ(poly->GetAverageY(), 4);
  EXPECT_EQ(MakePoly({})->GetAverageY(), 0);
  EXPECT_EQ(MakePoly({{0, 2}, {1, -2}})->GetAverageY(), 0);
  EXPECT_EQ(MakePoly({{0, 0}})->GetLength(), 0);
}

TEST(DPolyQueryTest, IsRightUpperLooksPastVerticalRunsAtTheEnds) {
  struct Case {
    const char* what;
    std::vector<CDPoint> points;
    bool rightUpper;
  };
  const Case cases[] = {
      {"vertical run at the start", {{0, 0}, {0, 2}, {5, 3}}, true},
      {"rising", {{0, 0}, {5, 3}}, true},
      {"falling", {{0, 3}, {5, 0}}, false},
      {"rising, drawn right to left", {{5, 3}, {0, 0}}, true},
      {"vertical run at the end", {{0, 0}, {1, 1}, {5, 3}, {5, -1}}, true},
      {"end run not below the third point", {{0, 0}, {5, 3}, {5, -1}}, false},
      {"one point", {{0, 0}}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakePoly(c.points)->IsRightUpper(), c.rightUpper) << c.what;
  }
}

TEST(DPolyQueryTest, CompareCoordIsExactAndIsSameAllowsTheSamePointTolerance) {
  struct Case {
    const char* what;
    std::vector<CDPoint> other;
    bool compareCoord;
    bool isSame;
  };
  const Case cases[] = {
      {"identical", {{0, 0}, {1, 1}}, true, true},
      {"5e-5 apart", {{0, 0}, {1.00005, 1}}, false, true},
      {"2e-4 apart", {{0, 0}, {1.0002, 1}}, false, false},
      {"other count", {{0, 0}}, false, false},
  };
  auto poly = MakePoly({{0, 0, 1}, {1, 1}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto other = MakePoly(c.other);
    EXPECT_EQ(poly->CompareCoord(other.get()), c.compareCoord);
    EXPECT_EQ(poly->IsSame(other.get()), c.isSame);
  }
  EXPECT_FALSE(poly->CompareCoord(nullptr));
  EXPECT_FALSE(poly->IsSame(nullptr));
}

TEST(DPolyQueryTest, FindJustPointUsesDistanceAndTheStrVariantThreeDecimals) {
  auto poly = MakePoly({{5, 5}, {1, 2}, {1, 2}});
  const CDPoint near(1.0004, 2);
  EXPECT_EQ(poly->FindJustPoint(&near), -1);  // 4e-4 is not below 1e-4
  EXPECT_EQ(poly->FindJustPointStr(&near), 1);
  const CDPoint close(1.00005, 2);
  EXPECT_EQ(poly->FindJustPoint(&close), 1);
  EXPECT_EQ(poly->PointToIndex(&close), 1);
  const CDPoint rounded(1.0006, 2);  // formats to 1.001
  EXPECT_EQ(poly->FindJustPointStr(&rounded), -1);
}

TEST(DPolyQueryTest, MoveAtSamePointMovesEveryEqualPoint) {
  auto poly = MakePoly({{1, 1}, {2, 2}, {1.00005, 1}});
  EXPECT_EQ(poly->MoveAtSamePoint(CDPoint(1, 1), CDPoint(9, 8, 1)), 2);
  ExpectPoints(*poly, {{9, 8, 1}, {2, 2}, {9, 8, 1}});
  EXPECT_EQ(poly->MoveAtSamePoint(CDPoint(4, 4), CDPoint(0, 0)), 0);
}

TEST(DPolyQueryTest, ShiftAndRotateMoveEveryPoint) {
  auto poly = MakePoly({{1, 1, 1}, {2, 1}});
  poly->ShiftShape(1, -1);
  ExpectPoints(*poly, {{2, 0, 1}, {3, 0}});
  poly->RotateShape(2, 0, std::numbers::pi / 2);
  ExpectPoints(*poly, {{2, 0, 1}, {2, 1}}, 1e-12);
}

// ---- Range check and rounding ----

TEST(DPolyChangeValidTest, OutOfRangeValuesLoseTheirValue) {
  CCoreConfig::SetEnableRound(0);
  auto poly = MakePoly({{10000, 9999.999, 1}, {kNoValue, -10000}, {-9999.999, 1.23456}});
  poly->ChangeValid();
  ExpectPoints(*poly, {{kNoValue, 9999.999, 1}, {kNoValue, kNoValue}, {-9999.999, 1.23456}}, 0);
}

TEST(DPolyChangeValidTest, RoundsXAndYWithTheirCodesWhileTheSwitchIsOn) {
  CCoreConfig::SetEnableRound(1);
  auto poly = MakePoly({{1.23456, 2.34549}, {kNoValue, -0.0006}});
  poly->ChangeValid();
  // Both codes round half up to three decimals.
  ExpectPoints(*poly, {{1.235, 2.345}, {kNoValue, -0.001}}, 1e-12);
}

}  // namespace
