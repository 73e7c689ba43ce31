#pragma once
// Hand-built record bytes of the rock-bolt model in a current document (version 10), shared by
// the tests of the ranges, the standard bar and the conditions that hold them.

#include <string>

#include "core/base/Utility.h"
#include "core/model/ReinfStdBar.h"
#include "tests/support/RecordBytes.h"

// The values of one range record in the order the record lays them down.
struct RangeRecord {
  std::u16string name;
  int flag = 1;
  double startX = kNoValue;
  double startY = kNoValue;
  double endX = kNoValue;
  double endY = kNoValue;
  int startSide = 1;
  double upperOffset0 = kNoValue;
  double lowerOffset0 = kNoValue;
  double upperOffset1 = kNoValue;
  double lowerOffset1 = kNoValue;
  int rowCount = kNoValueInt;
  int inclinationMode = 1;
  double alpha = kNoValue;
  double lrb = kNoValue;
  double extraLength = kNoValue;
  double sh = kNoValue;
  double pitch0 = kNoValue;
  double pitch1 = kNoValue;
  int measureMode = 1;
};

inline RecordBytes& AppendRange(RecordBytes& bytes, const RangeRecord& r) {
  return bytes.Text(r.name)
      .Int(r.flag)
      .Double(r.startX)
      .Double(r.startY)
      .Double(r.endX)
      .Double(r.endY)
      .Int(r.startSide)
      .Double(r.upperOffset0)
      .Double(r.lowerOffset0)
      .Double(r.upperOffset1)
      .Double(r.lowerOffset1)
      .Int(r.rowCount)
      .Int(r.inclinationMode)
      .Double(r.alpha)
      .Double(r.lrb)
      .Double(r.extraLength)
      .Double(r.sh)
      .Double(r.pitch0)
      .Double(r.pitch1)
      .Int(r.measureMode);
}

// The ten ranges as a new set of conditions has them: "範囲 1" to "範囲 10", nothing entered.
inline RecordBytes& AppendNewRanges(RecordBytes& bytes) {
  const std::u16string names[] = {u"範囲 1", u"範囲 2", u"範囲 3", u"範囲 4", u"範囲 5",
                                  u"範囲 6", u"範囲 7", u"範囲 8", u"範囲 9", u"範囲 10"};
  for (const std::u16string& name : names) {
    RangeRecord range;
    range.name = name;
    AppendRange(bytes, range);
  }
  return bytes;
}

struct StdBarRecord {
  std::u16string name;
  std::u16string kei;
  std::u16string remark;
  double values[6] = {kNoValue, kNoValue, kNoValue, kNoValue, kNoValue, kNoValue};
};

inline RecordBytes& AppendStdBar(RecordBytes& bytes, const StdBarRecord& bar) {
  bytes.Text(bar.name).Text(bar.kei).Text(bar.remark);
  for (const double v : bar.values) bytes.Double(v);
  return bytes;
}

// The standard bar the rock-bolt tests enter: a D22 threaded bar.
inline CReinfStdBar SampleD22Bar() {
  CReinfStdBar bar;
  bar.name = "ネジ節棒鋼";
  bar.kei = "D22";
  bar.remark = "SD345";
  bar.w = 3.04;
  bar.d = 22.0;
  bar.as = 3.871;
  bar.drillD = 65.0;
  bar.sigmaSaN = 200.0;
  bar.sigmaSaQ = 300.0;
  return bar;
}
