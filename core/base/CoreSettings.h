#pragma once
// The process-wide settings that a document stores or a load changes, held in one value: the
// rounding rules, the design step, and the slide line's stretch settings and display switch.
// Code reads them through the accessors of the classes they belong to (CCoreConfig::GetRound,
// CSpSlide::GetStretchParam, ...), which read the current value.
//
// A load reads the settings records into a fresh value and makes it current only when the whole
// document was read (ChangeSettings), so a load that fails half-way changes no setting.

#include <type_traits>
#include <utility>

#include "core/base/UnitFilter.h"

// The stretch settings of the ends of a slide surface (head = upper end, tail = lower end): mode
// (negative: no stretching), angle in degrees, strength type of an added piece (-1: the adjacent
// piece's).
struct SlideStretchParam {
  int typeHead = -1;
  int typeTail = -1;
  double angleHead = 90.0;
  double angleTail = 0.0;
  int strengthHead = -1;
  int strengthTail = -1;

  friend bool operator==(const SlideStretchParam&, const SlideStretchParam&) = default;
};

// Every process-wide setting; the defaults are those the program starts with.
struct CoreSettings {
  CUnitFilter _roundSet;  // the rounding rules of every calculation
  // The design step the program shows: 0 basic input, 1 multi-plane stability, 2 slide
  // deformation, 3 shear deformation.
  int _stageNo = 0;
  SlideStretchParam stretch;  // how slide surfaces are stretched to the ground
  int m_bShowABC = 1;         // a display switch of slide lines

  friend bool operator==(const CoreSettings&, const CoreSettings&) = default;
};
// Making a value current is a plain copy that cannot throw, so it can end a load.
static_assert(std::is_trivially_copyable_v<CoreSettings>);

namespace core_settings_detail {
// The settings in force; written only by MakeCurrent. Read inline: every rounded quantity of a
// calculation reads its rules.
extern constinit CoreSettings current;
}  // namespace core_settings_detail

// The settings in force.
inline const CoreSettings& CurrentSettings() { return core_settings_detail::current; }
void MakeCurrent(const CoreSettings& settings);

// Changes the current settings as one step: `change` edits a copy of them, which becomes current
// when `change` returns; an exception leaves every setting as it was. A document load reads its
// settings records into the copy and the rest of the document into temporaries, and assigns those
// as its last step, so the settings change only with a document that loaded completely.
template <class Change>
void ChangeSettings(Change&& change) {
  CoreSettings fresh = CurrentSettings();
  std::forward<Change>(change)(fresh);
  MakeCurrent(fresh);
}

// Switches the rounding of calculations on (1) or off (0) for the guard's lifetime; the previous
// switch comes back on every exit path.
class ScopedEnableRound {
 public:
  explicit ScopedEnableRound(int enable);
  ~ScopedEnableRound();
  ScopedEnableRound(const ScopedEnableRound&) = delete;
  ScopedEnableRound& operator=(const ScopedEnableRound&) = delete;

 private:
  int previous_;
};
