#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "core/geometry/DLine.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A point record: x and y as doubles, then the flag as int32.
void AppendPoint(RecordBytes& bytes, double x, double y, std::int32_t flag) {
  bytes.Double(x).Double(y).Int(flag);
}

void ExpectPoint(const CDPoint& p, double x, double y, int flag) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.flag, flag);
}

// A view whose world point (15, 15) falls on device (500, 400) at 10 pixels per unit.
CViewInfo MakeView(Canvas& canvas) {
  CViewInfo view;
  AttachTestView(view, canvas, 10.0, 500, 400);
  return view;
}

// ---- CDLine ----

TEST(DLineTest, NewLineIsUnsetAndValidOnlyWhenComplete) {
  CDLine line;
  ExpectPoint(line.start, kNoValue, kNoValue, 0);
  ExpectPoint(line.end, kNoValue, kNoValue, 0);
  EXPECT_FALSE(line.IsValid());

  line.SetLine(CDPoint(1.0, 2.0, 5), CDPoint(3.0, 4.0, 6));
  ExpectPoint(line.start, 1.0, 2.0, 5);
  ExpectPoint(line.end, 3.0, 4.0, 6);
  EXPECT_TRUE(line.IsValid());

  const CDPoint unsetCoordinates[] = {{kNoValue, 0.0}, {0.0, kNoValue}};
  for (const CDPoint& p : unsetCoordinates) {
    EXPECT_FALSE(CDLine(p, CDPoint(1.0, 1.0)).IsValid());
    EXPECT_FALSE(CDLine(CDPoint(1.0, 1.0), p).IsValid());
  }

  CDLine copy;
  copy.Copy(line);
  ExpectPoint(copy.start, 1.0, 2.0, 5);
  ExpectPoint(copy.end, 3.0, 4.0, 6);
  line.Init();
  EXPECT_FALSE(line.IsValid());
  ExpectPoint(line.start, kNoValue, kNoValue, 0);
}

TEST(DLineTest, IsSameComparesEndsInOrderWithinTolerance) {
  const CDLine line(CDPoint(0.0, 0.0), CDPoint(4.0, 2.0));
  struct Case {
    CDLine other;
    bool same;
  };
  const Case cases[] = {
      {{CDPoint(0.00009, 0.0, 3), CDPoint(4.0, 2.00009)}, true},
      {{CDPoint(0.0001, 0.0), CDPoint(4.0, 2.0)}, false},
      {{CDPoint(4.0, 2.0), CDPoint(0.0, 0.0)}, false},  // reversed
  };
  for (const Case& c : cases) EXPECT_EQ(line.IsSame(c.other), c.same);
}

TEST(DLineTest, GetMiddlePoint) {
  ExpectPoint(CDLine(CDPoint(1.0, 2.0, 4), CDPoint(3.0, -6.0, 4)).GetMiddlePoint(), 2.0, -2.0, 0);
  EXPECT_FALSE(CDLine(CDPoint(1.0, 2.0), CDPoint(kNoValue, 0.0)).GetMiddlePoint().IsValid());
}

TEST(DLineTest, GetXAndGetY) {
  struct Case {
    CDPoint start, end;
    bool askX;  // GetX(at) when set, else GetY(at)
    double at;
    double expected;
  };
  const Case cases[] = {
      {{0, 0}, {4, 2}, true, 1.0, 2.0},       {{0, 0}, {4, 2}, true, 2.0, 4.0},
      {{0, 0}, {4, 2}, true, 0.0, 0.0},       {{0, 0}, {4, 2}, true, 3.0, kNoValue},
      {{0, 0}, {4, 2}, true, -0.5, kNoValue}, {{4, 2}, {0, 0}, true, 1.0, 2.0},
      {{1, 0}, {1, 5}, true, 2.5, 1.0},  // vertical: the lower x
      {{0, 3}, {5, 3}, true, 3.0, 0.0},  // horizontal: the start counts as the lower end
      {{5, 3}, {0, 3}, true, 3.0, 5.0},       {{0, 3}, {5, 3}, true, 3.1, kNoValue},
      {{0, 0}, {4, 2}, false, 2.0, 1.0},      {{0, 0}, {4, 2}, false, 4.0, 2.0},
      {{4, 2}, {0, 0}, false, 0.0, 0.0},      {{0, 0}, {4, 2}, false, 4.5, kNoValue},
      {{2, 0}, {2, 5}, false, 2.0, 0.0},  // vertical: the start counts as the left end
      {{2, 5}, {2, 0}, false, 2.0, 5.0},      {{2, 0}, {2, 5}, false, 2.1, kNoValue},
  };
  for (const Case& c : cases) {
    const CDLine line(c.start, c.end);
    const double got = c.askX ? line.GetX(c.at) : line.GetY(c.at);
    EXPECT_EQ(got, c.expected) << (c.askX ? "GetX " : "GetY ") << c.at << " of (" << c.start.x
                               << "," << c.start.y << ")-(" << c.end.x << "," << c.end.y << ")";
  }
}

TEST(DLineTest, GetEquation) {
  double a = 0;
  double b = 0;
  CDLine(CDPoint(2.0, 1.0), CDPoint(6.0, 3.0)).GetEquation(a, b);
  EXPECT_EQ(a, 0.5);
  EXPECT_EQ(b, 0.0);
}

TEST(DLineTest, RecordIsTwoPointRecords) {
  RecordBytes expected;
  AppendPoint(expected, 1.5, -2.0, 3);
  AppendPoint(expected, 4.0, 5.25, -1);
  ASSERT_EQ(expected.Get().size(), 40u);
  ExpectRecordContract<CDLine>({
      .stored = CDLine(CDPoint(1.5, -2.0, 3), CDPoint(4.0, 5.25, -1)),
      .bytes = expected.Get(),
      .makeTarget =
          [] { return std::make_unique<CDLine>(CDPoint(1.0, 2.0, 1), CDPoint(3.0, 4.0)); },
  });
}

TEST(DLineTest, DrawSkipsIncompleteLines) {
  RecordingCanvas canvas;
  const Pen pen{PenStyle::Dash, 2, Color::Rgb(1, 2, 3)};
  canvas.SelectPen(pen);
  const CViewInfo view = MakeView(canvas);
  CDLine(CDPoint(15.0, 15.0), CDPoint(16.0, 17.0)).Draw(view);
  CDLine(CDPoint(15.0, 15.0), CDPoint(kNoValue, 17.0)).Draw(view);
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{500, 400}, {510, 380}}));
  EXPECT_EQ(lines[0].state.pen, pen);
}

// ---- Rubber band ----

class DLineRubberBandTest : public testing::Test {
 protected:
  RecordingCanvas canvas;
  CViewInfo view = MakeView(canvas);
  // (15, 15) -> (500, 400), (20, 15) -> (550, 400)
  CDLine line{CDPoint(15.0, 15.0), CDPoint(20.0, 15.0)};
};

TEST_F(DLineRubberBandTest, EachMoveErasesThePreviousBandAndDrawsTheNew) {
  line.OnMouseMove(view, 1, CDPoint(16.0, 16.0));  // the end moves: anchored at the start
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{500, 400}, {510, 390}}}));
  EXPECT_TRUE(CDLine::bMovCap);
  ExpectPoint(CDLine::ptCap, 16.0, 16.0, 0);

  canvas.Clear();
  line.OnMouseMove(view, 1, CDPoint(17.0, 14.0));
  EXPECT_EQ(
      DrawnPoints(canvas, PrimitiveKind::Line),
      (std::vector<std::vector<DevPoint>>{{{500, 400}, {510, 390}},  // the old band again: erased
                                          {{500, 400}, {520, 410}}}));  // the new band
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    EXPECT_EQ(p.state.rasterOp, RasterOp::NotXorPen);
  }
}

TEST_F(DLineRubberBandTest, MovingTheStartAnchorsAtTheEnd) {
  line.OnMouseMove(view, 0, CDPoint(16.0, 16.0));
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{550, 400}, {510, 390}}}));
  EXPECT_EQ(canvas.CurrentRasterOp(), RasterOp::NotXorPen);
}

TEST_F(DLineRubberBandTest, ResetStartsWithoutErasing) {
  line.OnMouseMove(view, 1, CDPoint(16.0, 16.0));
  CDLine::ResetMouseMove();
  EXPECT_FALSE(CDLine::bMovCap);
  ExpectPoint(CDLine::ptCap, kNoValue, kNoValue, 0);

  canvas.Clear();
  line.OnMouseMove(view, 1, CDPoint(17.0, 14.0));
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{500, 400}, {520, 410}}}));

  line.OnMouseMove(view, 1, CDPoint(17.0, 14.0));
  CDLine::OnLButtonDown();  // a new drag clears the band too
  EXPECT_FALSE(CDLine::bMovCap);
  ExpectPoint(CDLine::ptCap, kNoValue, kNoValue, 0);
}

TEST_F(DLineRubberBandTest, WithoutAnAnchorOnlyTheStateMoves) {
  struct Case {
    CDLine line;
    int which;
  };
  const Case cases[] = {
      {{CDPoint(), CDPoint(20.0, 15.0)}, 1},  // the anchor (the start) is not set
      {{CDPoint(15.0, 15.0), CDPoint(20.0, 15.0)}, 2},
      {{CDPoint(15.0, 15.0), CDPoint(20.0, 15.0)}, -1},
  };
  for (const Case& c : cases) {
    CDLine::ResetMouseMove();
    canvas.Clear();
    c.line.OnMouseMove(view, c.which, CDPoint(16.0, 16.0, 4));
    EXPECT_TRUE(canvas.Primitives().empty()) << c.which;
    EXPECT_TRUE(CDLine::bMovCap);
    ExpectPoint(CDLine::ptCap, 16.0, 16.0, 4);
  }
}

// ---- CDLineArray ----

CDLineArray MakeArray(const std::vector<CDLine>& lines) {
  CDLineArray array;
  for (const CDLine& l : lines) array.AddLine(l.start, l.end);
  return array;
}

TEST(DLineArrayTest, AddCopyAndDelete) {
  CDLineArray array;
  array.AddLine(1.0, 2.0, 3.0, 4.0);
  array.AddLine(CDPoint(5.0, 6.0, 7), CDPoint(8.0, 9.0, 10));
  ASSERT_EQ(array.GetSize(), 2);
  ExpectPoint(array.GetAt(0)->start, 1.0, 2.0, 0);
  ExpectPoint(array.GetAt(1)->end, 8.0, 9.0, 10);

  array.AddLine(array);  // appending a list to itself copies each line once
  ASSERT_EQ(array.GetSize(), 4);
  EXPECT_NE(array.GetAt(2), array.GetAt(0));
  EXPECT_TRUE(array.GetAt(3)->IsSame(*array.GetAt(1)));

  const CDLineArray copy(array);
  ASSERT_EQ(copy.GetSize(), 4);
  EXPECT_NE(copy.GetAt(0), array.GetAt(0));
  EXPECT_TRUE(copy.IsSame(array));

  CDLineArray other = MakeArray({{CDPoint(0.0, 0.0), CDPoint(1.0, 1.0)}});
  other.Copy(array);
  EXPECT_TRUE(other.IsSame(array));
  other.Copy(other);
  EXPECT_EQ(other.GetSize(), 4);

  array.DeleteAt(1);
  ASSERT_EQ(array.GetSize(), 3);
  ExpectPoint(array.GetAt(1)->start, 1.0, 2.0, 0);
  array.Init();
  EXPECT_EQ(array.GetSize(), 0);
}

TEST(DLineArrayTest, IndexOutOfRangeThrows) {
  CDLineArray array = MakeArray({{CDPoint(0.0, 0.0), CDPoint(1.0, 1.0)}});
  for (const int index : {-1, 1, 5}) {
    EXPECT_THROW(array.DeleteAt(index), std::out_of_range) << index;
    EXPECT_THROW(array.GetAt(index), std::out_of_range) << index;
  }
  EXPECT_EQ(array.GetSize(), 1);
}

TEST(DLineArrayTest, IsSameAndIsValid) {
  const CDLine a(CDPoint(0.0, 0.0), CDPoint(1.0, 1.0));
  const CDLine b(CDPoint(2.0, 2.0), CDPoint(3.0, 1.0));
  const CDLine incomplete(CDPoint(2.0, kNoValue), CDPoint(3.0, 1.0));
  const CDLineArray ab = MakeArray({a, b});
  EXPECT_TRUE(ab.IsSame(MakeArray({a, b})));
  EXPECT_FALSE(ab.IsSame(MakeArray({b, a})));  // the same lines in another order
  EXPECT_FALSE(ab.IsSame(MakeArray({a})));
  EXPECT_FALSE(ab.IsSame(MakeArray({a, b, a})));

  EXPECT_TRUE(CDLineArray().IsValid());
  EXPECT_TRUE(ab.IsValid());
  EXPECT_FALSE(MakeArray({a, incomplete}).IsValid());
}

TEST(DLineArrayTest, RecordIsCountAndLines) {
  RecordBytes twoLines;
  twoLines.Int(2);
  AppendPoint(twoLines, 1.0, 2.0, 1);
  AppendPoint(twoLines, 3.0, 4.0, 0);
  AppendPoint(twoLines, -1.0, -2.0, 0);
  AppendPoint(twoLines, 0.5, 0.25, 0);
  const struct {
    CDLineArray array;
    RecordBytes record;
  } cases[] = {
      {MakeArray({{CDPoint(1.0, 2.0, 1), CDPoint(3.0, 4.0, 0)},
                  {CDPoint(-1.0, -2.0), CDPoint(0.5, 0.25)}}),
       twoLines},
      {CDLineArray(), RecordBytes().Int(0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.array.GetSize());
    ExpectRecordContract<CDLineArray>({.stored = c.array, .bytes = c.record.Get()});
  }
}

TEST(DLineArrayTest, LoadAppendsBehindThePresentLines) {
  RecordBytes bytes;
  bytes.Int(1);
  AppendPoint(bytes, 7.0, 8.0, 2);
  AppendPoint(bytes, 9.0, 10.0, 3);

  CDLineArray array = MakeArray({{CDPoint(0.0, 0.0), CDPoint(1.0, 1.0)}});
  Archive in(bytes.Get());
  array.Load(in);
  ASSERT_EQ(array.GetSize(), 2);
  ExpectPoint(array.GetAt(0)->start, 0.0, 0.0, 0);
  ExpectPoint(array.GetAt(1)->start, 7.0, 8.0, 2);
  ExpectPoint(array.GetAt(1)->end, 9.0, 10.0, 3);
}

TEST(DLineArrayTest, DamagedRecordThrowsAndKeepsTheList) {
  RecordBytes truncated;
  truncated.Int(2);
  AppendPoint(truncated, 7.0, 8.0, 0);
  AppendPoint(truncated, 9.0, 10.0, 0);
  const Bytes negative = RecordBytes().Int(-1).Get();
  const Bytes huge = RecordBytes().Int(0x7FFFFFFF).Get();

  for (const Bytes& bytes : {truncated.Get(), negative, huge}) {
    CDLineArray array = MakeArray({{CDPoint(0.0, 0.0), CDPoint(1.0, 1.0)}});
    Archive in(bytes);
    EXPECT_THROW(array.Load(in), ArchiveException);
    EXPECT_EQ(array.GetSize(), 1);
  }
}

TEST(DLineArrayTest, DrawDrawsCompleteLinesOnly) {
  RecordingCanvas canvas;
  const CViewInfo view = MakeView(canvas);
  MakeArray({{CDPoint(15.0, 15.0), CDPoint(16.0, 15.0)},
             {CDPoint(kNoValue, 15.0), CDPoint(16.0, 15.0)},
             {CDPoint(15.0, 16.0), CDPoint(15.0, 14.0)}})
      .Draw(view);
  EXPECT_EQ(
      DrawnPoints(canvas, PrimitiveKind::Line),
      (std::vector<std::vector<DevPoint>>{{{500, 400}, {510, 400}}, {{500, 390}, {500, 410}}}));
}

// ---- CDLineVector ----

TEST(DLineVectorTest, ConstructionFromTwoPoints) {
  const CDLineVector fromValues(CDPoint(1.0, 2.0, 5), CDPoint(4.0, 6.0, 9));
  EXPECT_TRUE(fromValues.IsValid());
  ExpectPoint(fromValues.GetStartPoint(), 1.0, 2.0, 5);
  ExpectPoint(fromValues.GetEndPoint(), 4.0, 6.0, 0);

  const CDPoint a(1.0, 2.0, 5);
  const CDPoint b(4.0, 6.0, 9);
  const CDLineVector fromPointers(&a, &b);
  ExpectPoint(fromPointers.GetStartPoint(), 1.0, 2.0, 0);
  ExpectPoint(fromPointers.GetEndPoint(), 4.0, 6.0, 0);

  // A set start with an unset second point: the start is kept, the vector is not valid.
  const CDLineVector halfSet(CDPoint(1.0, 2.0, 5), CDPoint());
  EXPECT_FALSE(halfSet.IsValid());
  ExpectPoint(halfSet.GetStartPoint(), 1.0, 2.0, 5);
  EXPECT_FALSE(halfSet.GetEndPoint().IsValid());
  EXPECT_FALSE(CDLineVector(&a, nullptr).IsValid());
  EXPECT_FALSE(CDLineVector(nullptr, &b).GetStartPoint().IsValid());

  EXPECT_FALSE(CDLineVector(CDPoint(1.0, 2.0), CDPoint(1.0, 2.0 + 1e-10)).IsValid());
  EXPECT_TRUE(CDLineVector(CDPoint(1.0, 2.0), CDPoint(1.0, 2.0 + 1e-8)).IsValid());
}

TEST(DLineVectorTest, SetLinePointIgnoresUnsetPoints) {
  CDLineVector v(CDPoint(0.0, 0.0), CDPoint(1.0, 0.0));
  v.SetLinePoint(CDPoint(kNoValue, 3.0), CDPoint(5.0, 5.0));  // nothing changes
  ExpectPoint(v.GetStartPoint(), 0.0, 0.0, 0);
  ExpectPoint(v.GetEndPoint(), 1.0, 0.0, 0);
  v.SetLinePoint(CDPoint(2.0, 2.0, 1), CDPoint(0.0, kNoValue));  // only the start changes
  ExpectPoint(v.GetStartPoint(), 2.0, 2.0, 1);
  ExpectPoint(v.GetEndPoint(), 3.0, 2.0, 0);
  v.SetLinePoint(CDPoint(2.0, 2.0), CDPoint(2.0, 5.0));
  ExpectPoint(v.GetEndPoint(), 2.0, 5.0, 0);

  v.SetLineVector(CDPoint(1.0, 1.0, 3), CDPoint(0.0, 2.0, 4));
  ExpectPoint(v.GetStartPoint(), 1.0, 1.0, 3);
  ExpectPoint(v.GetEndPoint(), 1.0, 3.0, 0);
  v.Init();
  EXPECT_FALSE(v.IsValid());
  EXPECT_FALSE(v.GetStartPoint().IsValid());
}

TEST(DLineVectorTest, PointsAlongTheLine) {
  const CDLineVector v(CDPoint(1.0, 1.0, 7), CDPoint(4.0, 5.0));  // length 5
  EXPECT_EQ(v.GetLength(), 5.0);
  ExpectPoint(v.GetMiddlePoint(), 2.5, 3.0, 0);
  ExpectPoint(v.GetDistancePoint(10.0), 7.0, 9.0, 0);
  ExpectPoint(v.GetParameterPoint(-1.0), -2.0, -3.0, 0);

  const CDLineVector invalid(CDPoint(1.0, 1.0), CDPoint());
  EXPECT_EQ(invalid.GetLength(), 0.0);
  EXPECT_FALSE(invalid.GetMiddlePoint().IsValid());
  EXPECT_FALSE(invalid.GetDistancePoint(1.0).IsValid());
  EXPECT_FALSE(invalid.GetParameterPoint(1.0).IsValid());
  EXPECT_FALSE(invalid.GetNormalLines(CDPoint(0.0, 0.0)).IsValid());
}

TEST(DLineVectorTest, NormalTurnsCounterClockwise) {
  struct Case {
    CDPoint to;
    double nx, ny;
  };
  const Case cases[] = {{{5.0, 0.0}, 0.0, 1.0}, {{0.0, 2.0}, -1.0, 0.0}, {{-3.0, 0.0}, 0.0, -1.0}};
  for (const Case& c : cases) {
    const CDLineVector v(CDPoint(0.0, 0.0), c.to);
    const CDLineVector normal = v.GetNormalLines(CDPoint(2.0, 3.0, 6));
    ExpectPoint(normal.GetStartPoint(), 2.0, 3.0, 6);
    const CDPoint end = normal.GetEndPoint();
    EXPECT_NEAR(end.x, 2.0 + c.nx, 1e-15);
    EXPECT_NEAR(end.y, 3.0 + c.ny, 1e-15);
  }
}

TEST(DLineVectorTest, GetXAndGetY) {
  const CDLineVector sloped(CDPoint(1.0, 1.0), CDPoint(3.0, 5.0));
  EXPECT_EQ(sloped.GetX(3.0), 2.0);
  EXPECT_EQ(sloped.GetY(2.0), 3.0);
  EXPECT_EQ(sloped.GetX(9.0), 5.0);  // the whole line, beyond the segment
  EXPECT_EQ(sloped.GetX(kNoValue), kNoValue);
  EXPECT_EQ(sloped.GetY(kNoValue), kNoValue);

  const CDLineVector horizontal(CDPoint(0.0, 2.0), CDPoint(4.0, 2.0 + 1e-14));
  EXPECT_EQ(horizontal.GetX(2.0), kNoValue);
  EXPECT_NEAR(horizontal.GetY(3.0), 2.0, 1e-13);
  const CDLineVector vertical(CDPoint(1.0, 0.0), CDPoint(1.0, 4.0));
  EXPECT_EQ(vertical.GetY(1.0), kNoValue);
  EXPECT_EQ(vertical.GetX(3.0), 1.0);
}

TEST(DLineVectorTest, AngleAndAxes) {
  struct Case {
    CDPoint to;
    double angle;
    bool horizontal, vertical;
  };
  const double pi = std::numbers::pi;
  const Case cases[] = {
      {{1.0, 0.0}, 0.0, true, false},     {{-1.0, 0.0}, pi, true, false},
      {{0.0, 2.0}, pi / 2, false, true},  {{0.0, -2.0}, -pi / 2, false, true},
      {{1.0, 1.0}, pi / 4, false, false}, {{-1.0, -1.0}, -3 * pi / 4, false, false},
  };
  for (const Case& c : cases) {
    const CDLineVector v(CDPoint(0.0, 0.0), c.to);
    EXPECT_NEAR(v.GetAngle(), c.angle, 1e-15) << c.to.x << "," << c.to.y;
    EXPECT_EQ(v.IsHorizon(), c.horizontal);
    EXPECT_EQ(v.IsVertical(), c.vertical);
  }
  const CDLineVector invalid;
  EXPECT_EQ(invalid.GetAngle(), 0.0);
  EXPECT_FALSE(invalid.IsHorizon());
  EXPECT_FALSE(invalid.IsVertical());
}

TEST(DLineVectorTest, IsOnline) {
  struct Case {
    CDPoint from, to, p;
    double tol;
    bool online;
  };
  const Case cases[] = {
      // Sloped: tol 0 means 1e-9 on the parameters; the ends count, beyond them by more than
      // 1e-13 in parameter does not.
      {{0, 0}, {4, 2}, {0, 0}, 0.0, true},
      {{0, 0}, {4, 2}, {4, 2}, 0.0, true},
      {{0, 0}, {4, 2}, {2, 1}, 0.0, true},
      {{0, 0}, {4, 2}, {4 + 4e-12, 2 + 2e-12}, 0.0, false},
      {{0, 0}, {4, 2}, {-4e-12, -2e-12}, 0.0, false},
      {{0, 0}, {4, 2}, {2, 1.001}, 0.0, false},
      {{0, 0}, {4, 2}, {2, 1.001}, 0.001, true},  // |0.5 - 0.5005| <= 0.001
      // Horizontal: across within tol, along within the span widened by tol.
      {{0, 1}, {-4, 1}, {-2, 1}, 0.0, true},
      {{0, 1}, {-4, 1}, {0.05, 1.05}, 0.1, true},
      {{0, 1}, {-4, 1}, {0.2, 1}, 0.1, false},
      {{0, 1}, {-4, 1}, {-2, 1.2}, 0.1, false},
      // Vertical.
      {{1, 0}, {1, 3}, {1, 3}, 0.0, true},
      {{1, 0}, {1, 3}, {1, 3.01}, 0.0, false},
      {{1, 0}, {1, 3}, {1.01, 1}, 0.05, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CDLineVector(c.from, c.to).IsOnline(c.p, c.tol), c.online)
        << "(" << c.p.x << "," << c.p.y << ") on (" << c.from.x << "," << c.from.y << ")-("
        << c.to.x << "," << c.to.y << ") tol " << c.tol;
  }
  EXPECT_FALSE(CDLineVector().IsOnline(CDPoint(0.0, 0.0), 1.0));
}

TEST(DLineVectorTest, RecordIsStartAndDirection) {
  RecordBytes expected;
  AppendPoint(expected, 1.0, 2.0, 3);
  AppendPoint(expected, 3.0, -2.0, 0);
  ExpectRecordContract<CDLineVector>({
      .stored = CDLineVector(CDPoint(1.0, 2.0, 3), CDPoint(4.0, 0.0)),
      .bytes = expected.Get(),
      .makeTarget =
          [] { return std::make_unique<CDLineVector>(CDPoint(1.0, 2.0, 1), CDPoint(3.0, 4.0)); },
  });
}

TEST(DLineVectorTest, IsSameComparesStartAndDirectionWithinTolerance) {
  const CDLineVector v(CDPoint(1.0, 2.0, 3), CDPoint(4.0, 0.0));
  EXPECT_FALSE(v.IsSame(CDLineVector(CDPoint(1.0, 2.0), CDPoint(4.0, 0.001))));
  EXPECT_TRUE(v.IsSame(CDLineVector(CDPoint(1.0, 2.00001), CDPoint(4.0, 0.0))));
}

}  // namespace
