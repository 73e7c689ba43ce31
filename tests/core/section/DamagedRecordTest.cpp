// Damaged records: what a shape's Load accepts, and the uses of shapes that hold what no sound
// document holds.
//
// Each file in tests/data holds one record that once loaded without complaint and then broke the
// code that used the loaded shape (out-of-bounds reads, uncaught exceptions, a stack overflow,
// hangs): byte 0 is the document version to load with, the rest is the record. Loading it must
// either be refused with ArchiveException (BadFormat), leaving the shape as it was, or give a
// shape that every later use handles.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/SampleSection.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kVersion = 20;  // the document version of the records built here
constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

template <class T>
Bytes Stored(const T& object, int version) {
  Archive ar;
  object.Store(ar, version);
  return ar.Bytes();
}

// Loads the record into the object: the message of a refusal, none when it loaded. A refusal
// must come as BadFormat and leave the object as it was.
template <class T>
std::optional<std::string> LoadRecord(T& object, const Bytes& record, int version) {
  const Bytes before = Stored(object, version);
  try {
    Archive ar(record);
    object.Load(ar, version);
  } catch (const ArchiveException& e) {
    EXPECT_EQ(e.GetCause(), ArchiveException::Cause::BadFormat) << e.what();
    EXPECT_EQ(Stored(object, version), before) << "a refused load changed the object";
    return e.what();
  }
  return std::nullopt;
}

// ---- Uses of loaded shapes ----

// The sample section drawn on a recording canvas with the slide mass displaced along the working
// slide surface: turned as a searched circle and shifted as a specified surface.
void DrawSlideMass(CSpSlideWork& work) {
  SampleSection sample = MakeSampleSection();
  RecordingCanvas canvas;
  CViewInfo view;
  view.dc = &canvas;
  view.SetArea(0, 20, 30, -10);
  view.width = 400;
  view.height = 400;
  view.CalcScale();
  for (const int specified : {0, 1}) {
    tagCALCCONDITION cond;
    cond.specified = specified;
    CDanmenStab stab;
    stab.SendInfo(sample.section);
    stab.SetCalcCond(cond);
    stab.SetSlideMove(1.0);
    stab.SetSlideWork(&work);
    stab.SetSlideWorkRepeat(&work);
    stab.DrawPolygonMove(&view);
  }
}

// The ground operations that build on the strata: the upper outline, the re-cut under a new
// line, the splice and the join at a height.
void UseStrata(const CDPolyArray& strata) {
  const SampleSection sample = MakeSampleSection();
  strata.CreateTopoFromStratum();
  strata.Copy()->CreatePlanPolygon(sample.ground.get());
  CSpGround ground;
  ground.CopyPoints(sample.ground.get());
  ground.SetPolyArray(strata.Copy());
  ground.GroundPolyMarge(sample.water.get());
  ground.CreateLevelLine(sample.water.get(), 5.0);
}

void UseGround(CSpGround& ground) {
  if (ground.GetPolyArray() != nullptr) UseStrata(*ground.GetPolyArray());
}

void UseSlideWork(CSpSlideWork& work) {
  work.TransSpSlide(-1);
  DrawSlideMass(work);
}

void UseSlide(CSpSlide& slide) { DrawSlideMass(*slide.CreateDrawObj()); }

// Offsets along the loaded line as the reference, and of the loaded line along the ground.
void UseStratumLine(CSpStratumLine& line) {
  const SampleSection sample = MakeSampleSection();
  sample.ground->GetDistanceShape(1.0, &line);
  line.GetDistanceShape(1.0, sample.ground.get());
}

// ---- The damaged files ----

struct DamagedFile {
  int version = 0;
  Bytes record;
};

DamagedFile ReadDamagedFile(const std::string& name) {
  std::ifstream in(std::filesystem::path(BRIXO_TEST_DATA) / name, std::ios::binary);
  const Bytes bytes{std::istreambuf_iterator<char>(in), {}};
  if (bytes.empty()) return {};
  return {bytes.front(), Bytes(bytes.begin() + 1, bytes.end())};
}

// A refused load must leave a shape with sound content as it was; an accepted one must give, in
// a fresh shape as a document load makes it, a shape that survives its uses.
template <class T>
void LoadThenUse(const std::string& file, std::unique_ptr<T> (*sound)(), void (*use)(T&)) {
  const DamagedFile damaged = ReadDamagedFile(file);
  ASSERT_FALSE(damaged.record.empty()) << "missing fixture " << file;
  const std::unique_ptr<T> kept = sound();
  if (LoadRecord(*kept, damaged.record, damaged.version)) return;
  T loaded;
  Archive ar(damaged.record);
  loaded.Load(ar, damaged.version);
  use(loaded);
}

std::unique_ptr<CDPolyArray> SoundStrata() {
  return MakeSampleSection().ground->GetPolyArray()->Copy();
}

std::unique_ptr<CSpGround> SoundGround() {
  const SampleSection sample = MakeSampleSection();
  auto ground = std::make_unique<CSpGround>();
  ground->CopyPoints(sample.ground.get());
  ground->SetPolyArray(sample.ground->GetPolyArray()->Copy());
  return ground;
}

std::unique_ptr<CSpSlideWork> SoundWork() { return MakeSampleSection().slide->CreateDrawObj(); }

std::unique_ptr<CSpSlide> SoundSlide() {
  auto slide = std::make_unique<CSpSlide>();
  slide->Copy(MakeSampleSection().slide.get());
  return slide;
}

std::unique_ptr<CSpStratumLine> SoundStratumLine() {
  auto line = std::make_unique<CSpStratumLine>();
  line->CopyPoints(MakeSampleSection().strata->GetAt(0));
  return line;
}

struct DamagedCase {
  const char* file;
  void (*check)(const std::string& file);
};

const DamagedCase kDamagedFiles[] = {
    {"shape-list-nan-vertex.bin",
     [](const std::string& f) {
       LoadThenUse(
           f, SoundStrata, +[](CDPolyArray& shapes) { UseStrata(shapes); });
     }},
    {"ground-inf-strata.bin", [](const std::string& f) { LoadThenUse(f, SoundGround, UseGround); }},
    {"ground-nested-10000.bin",
     [](const std::string& f) { LoadThenUse(f, SoundGround, UseGround); }},
    {"slide-surface-last-vertex-arc.bin",
     [](const std::string& f) { LoadThenUse(f, SoundWork, UseSlideWork); }},
    {"slide-surface-last-vertex-arc-2.bin",
     [](const std::string& f) { LoadThenUse(f, SoundWork, UseSlideWork); }},
    {"slide-surface-huge-sweep.bin",
     [](const std::string& f) { LoadThenUse(f, SoundWork, UseSlideWork); }},
    {"slide-line-far-vertex.bin",
     [](const std::string& f) { LoadThenUse(f, SoundSlide, UseSlide); }},
    {"stratum-line-huge-y.bin",
     [](const std::string& f) { LoadThenUse(f, SoundStratumLine, UseStratumLine); }},
};

class DamagedFileTest : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedFileTest, IsRefusedOrLoadsIntoAUsableShape) { GetParam().check(GetParam().file); }

std::string FileTestName(const testing::TestParamInfo<DamagedCase>& info) {
  std::string name = info.param.file;
  name = name.substr(0, name.find('.'));
  for (char& c : name) {
    if (c == '-') c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DamagedFileTest, testing::ValuesIn(kDamagedFiles), FileTestName);

// ---- Coordinates and numbers in each shape's record ----

struct ValueCase {
  const char* what;
  double v;
  bool coordinateLoads;  // as a coordinate
  bool numberLoads;      // as a value that is no coordinate
};

const ValueCase kValues[] = {
    {"no value", kNoValue, true, true},
    {"0", 0, true, true},
    {"the limit", 1e5, true, true},
    {"minus the limit", -1e5, true, true},
    {"just beyond the limit", std::nextafter(1e5, 1e6), false, true},
    {"far off", 3e5, false, true},
    {"1e300", 1e300, false, true},
    {"not a number", kNaN, false, false},
    {"infinite", kInf, false, false},
    {"minus infinite", -kInf, false, false},
};

// One place in one shape's record that holds the value.
struct RecordPlace {
  const char* place;
  bool isCoordinate;
  std::unique_ptr<CDPoly> (*make)();
  Bytes (*record)(double v);
};

RecordBytes Polyline(double x, double y) {
  RecordBytes r;
  r.Text(u"線").Int(2).Double(0).Double(0).Double(x).Double(y);
  return r;
}

RecordBytes Crack(double topX, double depth) {
  RecordBytes r;
  r.Text(u"").Double(topX).Double(1).Double(2).Double(3).Double(90).Double(depth);
  r.Int(3).Int(1).Int(0).Double(18).Double(10).Double(30);
  return r;
}

RecordBytes Load(double x1, double q1) {
  RecordBytes r;
  r.Text(u"").Double(q1).Double(10).Double(x1).Double(5).Int(0).Int(0).Double(kNoValue);
  r.Int(1).Int(1).Int(1).Int(1);
  return r;
}

RecordBytes SlideLine(double x, double radius) {
  RecordBytes r;
  r.Text(u"").Int(2).Double(kNoValue).Double(kNoValue).Double(radius);
  r.Double(0).Double(0).UInt32(0).UInt32(0).Double(x).Double(1).UInt32(0).UInt32(0);
  return r;
}

RecordBytes StraightSurface(double x) {
  RecordBytes r;
  r.Text(u"").Int(2).Double(0).Double(0).Int(-1).Double(x).Double(1).Int(-1);
  r.Int(2).UInt32(0).UInt32(0).Int(0);
  return r;
}

template <class T>
std::unique_ptr<CDPoly> ShapeWithAPoint() {
  auto shape = std::make_unique<T>();
  shape->Add(1, 2);
  return shape;
}

const RecordPlace kPlaces[] = {
    {"polyline vertex x", true, ShapeWithAPoint<CDPoly>,
     [](double v) { return Polyline(v, 1).Get(); }},
    {"polyline vertex y", true, ShapeWithAPoint<CDPoly>,
     [](double v) { return Polyline(1, v).Get(); }},
    {"stratum line vertex y", true, ShapeWithAPoint<CSpStratumLine>,
     [](double v) { return Polyline(1, v).Get(); }},
    {"water vertex x", true, ShapeWithAPoint<CSpWater>,
     [](double v) {
       RecordBytes r;
       return r.Color(Color::Rgb(0, 0, 255)).Raw(Polyline(v, 1).Get()).Get();
     }},
    {"ground vertex x", true, ShapeWithAPoint<CSpGround>,
     [](double v) { return Polyline(v, 1).UInt16(0).Int(0).Get(); }},
    {"slide line vertex x", true, ShapeWithAPoint<CSpSlide>,
     [](double v) { return SlideLine(v, kNoValue).Get(); }},
    {"slide line circle radius", false, ShapeWithAPoint<CSpSlide>,
     [](double v) { return SlideLine(1, v).Get(); }},
    {"working surface vertex x", true, ShapeWithAPoint<CSpSlideWork>,
     [](double v) { return StraightSurface(v).Get(); }},
    {"load x1", true, ShapeWithAPoint<CSpLoad>, [](double v) { return Load(v, 10).Get(); }},
    {"load q1", false, ShapeWithAPoint<CSpLoad>, [](double v) { return Load(1, v).Get(); }},
    {"crack top x", true, ShapeWithAPoint<CSpCrack>, [](double v) { return Crack(v, 2).Get(); }},
    {"crack depth", false, ShapeWithAPoint<CSpCrack>, [](double v) { return Crack(1, v).Get(); }},
};

TEST(DamagedRecordTest, ValuesThatNoSectionHoldsAreRefused) {
  for (const RecordPlace& place : kPlaces) {
    for (const ValueCase& value : kValues) {
      SCOPED_TRACE(std::string(place.place) + " " + value.what);
      const std::unique_ptr<CDPoly> shape = place.make();
      const auto refusal = LoadRecord(*shape, place.record(value.v), kVersion);
      const bool loads = place.isCoordinate ? value.coordinateLoads : value.numberLoads;
      EXPECT_EQ(!refusal.has_value(), loads) << refusal.value_or("");
    }
  }
}

TEST(DamagedRecordTest, ShapeListRefusesADamagedShapeWhole) {
  CDPolyArray shapes;
  shapes.Add(ShapeWithAPoint<CSpStratumLine>());
  RecordBytes r;
  r.Int(2).Int(kKindStratumLine).Raw(Polyline(1, 1).Get());
  r.Int(kKindStratumLine).Raw(Polyline(kNaN, 1).Get());
  EXPECT_TRUE(LoadRecord(shapes, r.Get(), kVersion));
}

// A ground's strata are stratum polygons; a ground among them, however shallow, is refused.
TEST(DamagedRecordTest, GroundAmongTheStrataOfAGroundIsRefused) {
  RecordBytes inner;
  inner.Raw(Polyline(0, 1).Get()).UInt16(0).Int(0);
  RecordBytes r;
  r.Raw(Polyline(0, 1).Get()).UInt16(0).Int(1).Int(1).Int(kKindGround).Raw(inner.Get());
  CSpGround ground;
  ground.Add(1, 2);
  const auto refusal = LoadRecord(ground, r.Get(), kVersion);
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find("kind 0"), std::string::npos) << *refusal;
}

// ---- Working slide surfaces: flags and arcs ----

struct ArcCase {
  const char* what;
  CDArc arc;
  bool loads;
};

// A surface from (-5, 0) along the arc to (5, 0): the lower half of the circle of radius 5.
Bytes SurfaceWithArc(const CDArc& arc) {
  RecordBytes r;
  r.Text(u"").Int(2).Double(-5).Double(0).Int(0).Double(5).Double(0).Int(-1);
  r.Int(2).UInt32(0).UInt32(0).Int(1);
  r.Double(arc.centre.x).Double(arc.centre.y).Double(arc.R).Double(arc.start).Double(arc.end);
  return r.Get();
}

TEST(DamagedRecordTest, WorkingSurfaceRefusesArcsThatNoSectionHolds) {
  const ArcCase cases[] = {
      {"the lower half circle", CDArc(0, 0, 5, kPi, 0), true},
      {"angles given beyond a turn", CDArc(0, 0, 5, 3 * kPi, 4 * kPi), true},
      {"a whole turn", CDArc(0, 0, 5, 0, 2 * kPi), true},
      {"a flat arc of a huge radius", CDArc(0, 1e9, 1e9, 1.5 * kPi - 1e-9, 1.5 * kPi + 1e-9), true},
      {"radius 0", CDArc(0, 0, 0, kPi, 0), false},
      {"negative radius", CDArc(0, 0, -5, kPi, 0), false},
      {"radius not a number", CDArc(0, 0, kNaN, kPi, 0), false},
      {"centre infinite", CDArc(kInf, 0, 5, kPi, 0), false},
      {"start angle not a number", CDArc(0, 0, 5, kNaN, 0), false},
      {"more than a whole turn", CDArc(0, 0, 5, 0, 2 * kPi + 0.1), false},
      {"more than a whole turn backwards", CDArc(0, 0, 5, 2 * kPi + 0.1, 0), false},
      {"an angle beyond two turns", CDArc(0, 0, 5, 69892, 69893), false},
      {"a half circle reaching beyond the limit", CDArc(0, 0, 2e5, kPi, 0), false},
      {"the top of a circle beyond the limit", CDArc(0, -1e5, 1.5e5, 0, kPi), false},
  };
  for (const ArcCase& c : cases) {
    SCOPED_TRACE(c.what);
    CSpSlideWork work;
    work.AddNewPoint(CDPoint(1, 2), nullptr, 0);
    const auto refusal = LoadRecord(work, SurfaceWithArc(c.arc), kVersion);
    EXPECT_EQ(!refusal.has_value(), c.loads) << refusal.value_or("");
  }
}

TEST(DamagedRecordTest, WorkingSurfaceRefusesFlagsThatBreakItsPieces) {
  struct FlagCase {
    const char* what;
    std::vector<int> flags;  // of the vertices (0, 0), (1, -1), (2, 0), ...
    int arcs;
    bool loads;
  };
  const FlagCase cases[] = {
      {"an arc piece, then a straight one", {0, -1, -1}, 1, true},
      {"two arc pieces", {0, 1, -1}, 2, true},
      {"an arc that no vertex names", {-1, -1, -1}, 1, true},
      {"the last vertex names an arc", {-1, -1, 0}, 1, false},
      {"the only vertex names an arc", {0}, 1, false},
      {"a flag beyond the arcs", {1, -1, -1}, 1, false},
      {"a flag below -1", {-2, -1, -1}, 1, false},
      {"two vertices name the same arc", {0, 0, -1}, 1, false},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(c.what);
    const int n = static_cast<int>(c.flags.size());
    RecordBytes r;
    r.Text(u"").Int(n);
    for (int i = 0; i < n; ++i) r.Double(i).Double(-i).Int(c.flags[static_cast<std::size_t>(i)]);
    r.Int(n);
    for (int i = 0; i < n; ++i) r.UInt32(0);
    r.Int(c.arcs);
    for (int k = 0; k < c.arcs; ++k) r.Double(0.5).Double(0).Double(0.5).Double(kPi).Double(0);
    CSpSlideWork work;
    work.AddNewPoint(CDPoint(1, 2), nullptr, 0);
    const auto refusal = LoadRecord(work, r.Get(), kVersion);
    EXPECT_EQ(!refusal.has_value(), c.loads) << refusal.value_or("");
  }
}

// ---- Uses that search: a search that finds nothing is no index ----

// A reference with no segment within reach (its vertices hold no value) leaves each segment its
// own direction, as without a reference.
TEST(DamagedRecordTest, OffsetAlongAReferenceOutOfReachKeepsTheLinesDirection) {
  CDPoly line;
  line.Add(0, 0);
  line.Add(10, 0);
  CDPoly reference;
  reference.Add(kNoValue, kNoValue);
  reference.Add(kNoValue, kNoValue);
  const std::unique_ptr<CDPoly> offset = line.GetDistanceShape(1.0, &reference);
  ASSERT_EQ(offset->GetSize(), 2);
  EXPECT_EQ(offset->GetAt(0)->x, 0);
  EXPECT_EQ(offset->GetAt(1)->x, 10);
  EXPECT_EQ(std::fabs(offset->GetAt(0)->y), 1);
  EXPECT_EQ(offset->GetAt(1)->y, offset->GetAt(0)->y);
}

// Coordinates that are not numbers leave no vertex leftmost or rightmost: there is no outline.
TEST(DamagedRecordTest, UpperOutlineOfAPolygonWithoutNumbersIsNone) {
  CDPoly polygon;
  for (const CDPoint& p : {CDPoint(kNaN, 0), CDPoint(kNaN, 1), CDPoint(kNaN, 2)}) polygon.Add(p);
  EXPECT_EQ(polygon.PolyToTopograph(), nullptr);

  CDPolyArray strata;
  strata.Add(polygon.Copy());
  EXPECT_EQ(strata.CreateTopoFromStratum(), nullptr);
}

// ---- Cutting with a working slide surface as the line ----

// The cut runs along the surface's vertices joined straight and leaves the surface's arc
// indices alone. The sample's circle, divided where it crosses the strata, has several arc pieces
// whose vertices lie below the ground.
TEST(DamagedRecordTest, CuttingWithAWorkingSurfaceCutsAlongItsVerticesAndKeepsIt) {
  const SampleSection sample = MakeSampleSection();
  CDPolyArray& strata = *sample.ground->GetPolyArray();
  const std::unique_ptr<CSpSlideWork> work =
      sample.slide->CreateDrawObj()->InsCrossPoint(&strata, true);
  ASSERT_GE(work->GetArcCount(), 2);
  const Bytes workBefore = Stored(*work, kVersion);
  CDPoly chords;
  chords.CopyPoints(work.get());
  chords.InitPointFlag(0);
  for (const int keepAbove : {0, 1}) {
    SCOPED_TRACE(keepAbove);
    const auto byWork = strata.CutPolyWithLine(sample.ground.get(), work.get(), keepAbove);
    const auto byChords = strata.CutPolyWithLine(sample.ground.get(), &chords, keepAbove);
    EXPECT_EQ(Stored(*byWork, kVersion), Stored(*byChords, kVersion));
    EXPECT_FALSE(byWork->IsEmpty());
  }
  EXPECT_EQ(Stored(*work, kVersion), workBefore);
}

}  // namespace
