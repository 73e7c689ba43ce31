#pragma once
// What the fuzz targets share: sound shapes of every kind (the content a failed load must leave as
// it was, and the seeds), the checks of a load, and the uses of a loaded shape. A use goes as far
// as the program goes with a shape read from a document: store it again, ask it the usual
// questions, draw it, assemble and re-cut strata with it and draw the displaced slide mass.
// Anything but an ArchiveException from a load ends the run as a finding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "platform/Archive.h"

namespace fuzz {

using Bytes = std::vector<std::uint8_t>;

// The kinds a stored shape list may hold, in the order of the shape target's selector byte.
inline constexpr int kShapeKinds[] = {kKindPoly,  kKindGround,       kKindStratumLine,
                                      kKindSlide, kKindWater,        kKindLoad,
                                      kKindCrack, kKindStratumBlock, kKindSlideWork};

// A shape of the kind with sound content taken from the sample section.
std::unique_ptr<CDPoly> SoundShape(int kind);
// The sample section's ground line and stratum lines, as a case stores them.
std::unique_ptr<CDPolyArray> SoundShapeList();

// Reports the finding on standard error and aborts, so that the fuzzer keeps the input.
[[noreturn]] void Finding(const char* what);

template <class T>
Bytes Stored(const T& object, int version) {
  Archive ar;
  object.Store(ar, version);
  return ar.Bytes();
}

// Loads the record into the object; false when the load refused it, which must have left the
// object's stored bytes as they were.
template <class T>
bool LoadOrKeep(T& object, std::span<const std::uint8_t> record, int version) {
  const Bytes before = Stored(object, version);
  try {
    Archive ar(Bytes(record.begin(), record.end()));
    object.Load(ar, version);
    return true;
  } catch (const ArchiveException&) {
    if (Stored(object, version) != before) Finding("a refused load changed the object");
    return false;
  }
}

// Stores the object again and loads that into a fresh one: it must load and store the same bytes.
template <class T>
void ExpectRoundTrip(const T& object, T& fresh, int version) {
  const Bytes stored = Stored(object, version);
  try {
    Archive ar(stored);
    fresh.Load(ar, version);
  } catch (const ArchiveException&) {
    Finding("what was stored does not load back");
  }
  if (Stored(fresh, version) != stored) Finding("what was loaded back stores other bytes");
}

// Every use of a loaded shape of any kind, and of a loaded shape list.
void UseShape(const CDPoly& shape, int version);
void UseShapeList(const CDPolyArray& shapes, int version);

}  // namespace fuzz
