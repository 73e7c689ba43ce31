// CPrmDrain: the drainage ranges and their record.

#include "core/model/PrmDrain.h"

#include <algorithm>

namespace {

// The ranges are in the record from this document version on.
constexpr int kRangesVersion = 8;

bool HasPointsLengthsAndPitches(const CReinfRange& range) {
  return range.start.IsValid() && range.end.IsValid() && range.lrb != kNoValue &&
         range.extraLength != kNoValue && range.pitches[0] != kNoValue &&
         range.pitches[1] != kNoValue;
}

}  // namespace

void CPrmDrain::Store(Archive& ar, int version) const {
  if (version >= kRangesVersion) StoreRanges(ranges, ar, version);
}

void CPrmDrain::Load(Archive& ar, int version) {
  if (version >= kRangesVersion) LoadRanges(ranges, ar, version);
}

bool CPrmDrain::IsValid() const {
  return std::all_of(ranges.begin(), ranges.end(), HasPointsLengthsAndPitches);
}
