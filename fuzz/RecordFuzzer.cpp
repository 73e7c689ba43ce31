// The records that are no shapes: byte 0 selects the reader, byte 1 is the document version, the
// rest is the record. Soil properties and their strength records, the rounding rules, points,
// lines and line vectors, and the slide line's process-wide stretch settings.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/base/UnitFilter.h"
#include "core/geometry/DLine.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SkinFriction.h"
#include "core/section/SpSlide.h"
#include "core/section/StratumProp.h"
#include "fuzz/FuzzSupport.h"
#include "platform/RecordingCanvas.h"

namespace {

// A record read and written with the document version, or without one.
template <class T>
struct Record {
  T value;

  void Load(Archive& ar, int version) {
    if constexpr (requires { value.Load(ar, version); }) {
      value.Load(ar, version);
    } else {
      value.Load(ar);
    }
  }
  void Store(Archive& ar, int version) const {
    if constexpr (requires { value.Store(ar, version); }) {
      value.Store(ar, version);
    } else {
      value.Store(ar);
    }
  }
};

// The slide line's process-wide stretch settings and display switch, as one record.
struct StretchSettings {
  void Load(Archive& ar, int) { CSpSlide::SerializeStaticMember(ar); }
  void Store(Archive& ar, int) const { CSpSlide::SerializeStaticMember(ar); }
};

template <class T>
void Use(const T&) {}

void Use(const CUnitFilter& filter) {
  for (const int code : {131, 161, 163, 211, 231, 261, 341}) {
    filter.Round(1.23456789, code);
    filter.Round2(-9.87654321, code);
    filter.Digit(code);
  }
}

void Use(const CStratumProp& prop) {
  CStratumProp copy = prop;
  copy.Calc_tauP(0);
  prop.IsSameUseCalc(copy);
}

template <class T>
void Draw(const T& lines) {
  RecordingCanvas canvas;
  CViewInfo view;
  view.dc = &canvas;
  view.SetArea(0, 20, 30, -10);
  view.width = 400;
  view.height = 400;
  view.CalcScale();
  lines.Draw(view);
}

void Use(const CDLine& line) {
  Draw(line);
  line.GetMiddlePoint();
  line.GetX(1.0);
  line.GetY(1.0);
}

void Use(const CDLineArray& lines) {
  Draw(lines);
  lines.IsValid();
}

template <class T>
void Check(std::span<const std::uint8_t> record, int version) {
  Record<T> sound;
  if (!fuzz::LoadOrKeep(sound, record, version)) return;
  Record<T> fresh;
  fuzz::ExpectRoundTrip(sound, fresh, version);
  Use(sound.value);
}

void CheckStretchSettings(std::span<const std::uint8_t> record, int version) {
  StretchSettings settings;
  const fuzz::Bytes before = fuzz::Stored(settings, version);
  if (fuzz::LoadOrKeep(settings, record, version)) {
    StretchSettings fresh;
    fuzz::ExpectRoundTrip(settings, fresh, version);
  }
  Archive restore(before);
  settings.Load(restore, version);
}

using Checker = void (*)(std::span<const std::uint8_t>, int);

constexpr Checker kReaders[] = {
    Check<CUnitFilter>, Check<CStratumProp>, Check<CSkinFriction>,
    Check<CCFai>,       Check<CDPoint>,      Check<CDLine>,
    Check<CDLineArray>, Check<CDLineVector>, CheckStretchSettings,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  kReaders[data[0] % std::size(kReaders)](std::span(data + 2, size - 2), data[1]);
  return 0;
}
