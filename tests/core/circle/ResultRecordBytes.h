#pragma once
// Hand-built records of the parts of a circle-search result set, shared by the tests of the
// plain, the drainage and the reinforcement result sets.

#include <cstdint>
#include <memory>

#include "core/base/Utility.h"
#include "core/circle/ArcCondition.h"
#include "core/circle/ArcSet.h"
#include "core/circle/RepKey.h"
#include "core/circle/ResStab.h"
#include "tests/support/RecordBytes.h"

inline void Unset(RecordBytes& b, int count) {
  for (int i = 0; i < count; ++i) b.Double(kNoValue);
}

inline void NoMask(RecordBytes& b) { b.Int(0).Int(0).Int(0).Text(u"").Int(0); }

// The record of a new condition whose radius set starts at rMin 5.
inline void ConditionBytes(RecordBytes& b, int version) {
  b.Int(kArcSetRadius);
  Unset(b, 6);
  b.Double(5);
  Unset(b, 2);
  NoMask(b);
  Unset(b, 6 + 3);  // depth set
  NoMask(b);
  Unset(b, 6 + 2);  // one-point set
  NoMask(b);
  Unset(b, 7);      // two-point set
  Unset(b, 6 + 5);  // segment set
  NoMask(b);
  b.Int(0).Int(0);  // limit
  Unset(b, 4);
  b.Int(0).Color(CArcPassLine::kPassColor).Int(0).Color(CArcPassLine::kNotPassColor);
  if (version <= 8) b.Int(0);  // the old tail, empty
}

// The record of a new key with its contour kind 1.
inline void KeyBytes(RecordBytes& b, int version) {
  const bool seismic = version >= 8;
  b.Int(0).Int(0).Int(0).Int(0).Int(0).Int(1);
  if (seismic) b.Int(0).Int(0).Int(0).Int(0).Int(0).Int(0);
  if (version >= 16) b.Int(1).Int(0);
  b.Double(1.4).Double(200).Double(100).Double(3);
  if (seismic) b.Double(1.4).Double(200).Double(100).Double(1).Double(1).Double(1);
  b.Int(0);                      // listing
  if (seismic) b.Int(0);         // normal group
  b.Int(0);                      // seismic group
  if (seismic) b.Int(0).Int(0);  // Ky listing, displacement group
  b.Int(1).Int(0);               // contour kind and case
  b.Double(0.01).Double(5);      // pitches
  b.Int(1).Int(1).Int(1);        // map, labels, paint
  for (const double v : {0.8, 0.85, 0.9, 0.95, 1.0, 100.0, 75.0, 50.0, 25.0, 0.0}) b.Double(v);
  for (const std::uint32_t c : {0x0000FFu, 0x00FFFFu, 0x00FFFFu, 0x00FFFFu, 0xFF0000u, 0x0000FFu,
                                0x00FFFFu, 0x00FF00u, 0xFFFF00u, 0xFF0000u}) {
    b.UInt32(c);
  }
  b.Int(0);  // all circles
}

// Results with a value in a field of every part the version holds (and rMin 5 in the
// conditions); the others initial.
inline void FillStored(CResCircle& res, CArcCondition& conditions, int version) {
  conditions.setRadius.rMin = 5;
  res.GetKey().Data().contourKind = 1;
  res.SetSerialCount(3);
  // An older record holds one display setting, which is skipped.
  if (version >= 6) res.display = {1, 2, 3, 4};
  if (version >= 12) {
    res.specifKind = 1;
    res.knownResults[0].Fs = 1.25;
  }
  if (version >= 18) res.sliceResults[1][CResCircle::kSliceFs] = 1.5;
  if (version >= 11) {
    auto mesh = std::make_unique<CRepMesh>(1, 1);
    auto node = std::make_unique<CRepPoint>();
    node->SetCenter(CDPoint(1, 2));
    mesh->SetRepPoint(0, 0, std::move(node));
    res.SetMesh(std::move(mesh));
  }
  if (version >= 22) {
    res.graph.itemX = 10;
    res.graph.itemY = 5;
  }
}

// The record of those results from the serial count on.
inline void StoredResultBytes(RecordBytes& b, int version) {
  b.Int(3);
  if (version >= 6) {
    b.Int(1).Int(2).Int(3).Int(4);
  } else {
    b.Int(1);
  }
  if (version >= 12) {
    b.Int(1);
    b.Double(kNoValue).Double(kNoValue).Double(kNoValue).Double(kNoValue).Double(kNoValue);
    b.Double(1.25);
    Unset(b, 3);
    Unset(b, 9);
  }
  if (version >= 18) {
    // Up to version 20 the records lack values 17 and 22.
    const int missing = version <= 20 ? 2 : 0;
    Unset(b, 32 - missing);
    Unset(b, 28 - missing);
    b.Double(1.5);
    Unset(b, 3);
  }
  if (version >= 11) {
    b.Int(1);          // a mesh
    b.Int(1).Int(1);   // of one node
    b.Int(-1).Int(0);  // id and mark(s)
    if (version >= 13) b.Int(0);
    b.Double(1).Double(2).Double(kNoValue).Double(kNoValue);
    Unset(b, 24);
    b.Int(0).Int(0);  // no children, no surface
  }
  if (version >= 22) {
    b.Int(10).Int(5).Int(1).Int(1).Int(1);
    b.Double(100).Double(100).Double(0).Double(0).Double(5).Double(5);
    b.UInt32(0xFFFFFF).UInt32(0x4040FF).UInt32(0xFF3232).UInt32(0x40E6C8);
  }
}
