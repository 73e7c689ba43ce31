#pragma once
// Documents of any version for the case tests, put together from the records that a document of
// that version holds: the list's frame (the rounding rules, the slot count, the active index, the
// in-use flags) spelled out by hand, each member's record as its own class writes it at that
// version (those records have tests of their own).

#include <cstdint>
#include <vector>

#include "core/base/UnitFilter.h"
#include "core/case/Case.h"
#include "core/model/PrnInfo.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/StoredRecord.h"

// The rounding rules' record: eight int32 fields, the Kh decimals from version 4 on, then the
// last field.
inline RecordBytes& AppendFilter(RecordBytes& bytes, const CUnitFilter& f, int version) {
  bytes.Int(f.roundSwitch)
      .Int(f.modeGeneral)
      .Int(f.modeSafetyFactor)
      .Int(f.modeRestrainingForce)
      .Int(f.digitsSafetyFactor)
      .Int(f.digitsCohesion)
      .Int(f.digitsFriction);
  if (version >= 4) bytes.Int(f.digitsSeismicCoefficient);
  return bytes.Int(f.digits231);
}

// A used case slot of the version: in-use 1, then the members' records the version holds.
inline RecordBytes& AppendSlot(RecordBytes& bytes, CCase& c, int version) {
  bytes.Int(1)
      .Raw(RecordOf(c.GetPrmJobsite(), version))
      .Raw(RecordOf(c.GetPrmGrid(), version))
      .Raw(RecordOf(c.GetGround(), version))
      .Raw(RecordOf(c.GetStratum(), version));
  if (version >= 3) {
    bytes.Raw(RecordOf(c.GetWater(), version))
        .Raw(RecordOf(c.GetPrmStab(), version))
        .Raw(RecordOf(c.GetResStab2(), version))
        .Raw(RecordOf(c.GetResStabGyaku(), version));
  }
  bytes.Raw(RecordOf(c.GetBlockList(), version));
  if (version >= 3) {
    bytes.Raw(RecordOf(c.GetReinfArrange(), version))
        .Raw(RecordOf(c.GetPrmReinf(), version))
        .Raw(RecordOf(c.GetPrmSlide(), version))
        .Raw(RecordOf(c.GetResSlide(), version));
  }
  if (version >= 6) {
    bytes.Raw(RecordOf(c.GetPrmShear(), version))
        .Raw(RecordOf(c.GetResShear(), version))
        .Raw(RecordOf(c.GetResFocus(), version));
  }
  return bytes;
}

// A document body whose first slot holds the case and whose other nine slots are empty, with the
// given slot count and active index; from version 8 the print settings follow.
inline std::vector<std::uint8_t> OneCaseDocument(CCase& c, int version, const CUnitFilter& filter,
                                                 const CPrnInfo& prn, std::int32_t count = 10,
                                                 std::int32_t active = 0) {
  RecordBytes bytes;
  AppendFilter(bytes, filter, version).Int(count).Int(active);
  AppendSlot(bytes, c, version);
  for (int i = 1; i < 10; ++i) bytes.Int(0);
  if (version >= 8) bytes.Raw(RecordOf(prn, version));
  return bytes.Get();
}
