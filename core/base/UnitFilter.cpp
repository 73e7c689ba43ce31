#include "core/base/UnitFilter.h"

#include <cstdint>

#include "platform/Archive.h"

namespace {

// The first document version that holds the decimals of the seismic coefficient.
constexpr int kSeismicDigitsVersion = 4;

// The fields of the unit filter record in their stored order; Filter is CUnitFilter, const or not.
template <typename Filter, typename Visit>
void ForEachStoredField(Filter& filter, int version, Visit visit) {
  visit(filter.roundSwitch);
  visit(filter.modeGeneral);
  visit(filter.modeSafetyFactor);
  visit(filter.modeRestrainingForce);
  visit(filter.digitsSafetyFactor);
  visit(filter.digitsCohesion);
  visit(filter.digitsFriction);
  if (version >= kSeismicDigitsVersion) visit(filter.digitsSeismicCoefficient);
  visit(filter.digits231);
}

}  // namespace

#if defined(__SSE2__)
namespace unit_filter_detail {

namespace {

constexpr BothLanes Both(double v) { return BothLanes{{v, v}}; }

}  // namespace

constinit const PairConstants kPairConstants{
    Both(1e-9), Both(5.0), Both(0.1), Both(0x1.8p52), Both(10.0), Both(1.0), Both(-0.0),
};

constinit const std::array<PairPitch, kTabulatedDigits> kPairPitches = [] {
  std::array<PairPitch, kTabulatedDigits> pitches{};
  for (std::size_t d = 0; d < pitches.size(); ++d) {
    const DigitPitch& pitch = kDigitPitches[d];
    pitches[d] = PairPitch{Both(pitch.rounding.tenths), Both(pitch.rounding.pitch),
                           Both(pitch.checkFreeBound)};
  }
  return pitches;
}();

}  // namespace unit_filter_detail
#endif

int CUnitFilter::EnableRoundValue(int enable) {
  const int previous = roundSwitch;
  roundSwitch = enable;
  return previous;
}

void CUnitFilter::Store(Archive& ar, int version) const {
  ForEachStoredField(*this, version,
                     [&ar](const int& field) { ar << static_cast<std::int32_t>(field); });
}

void CUnitFilter::Load(Archive& ar, int version) {
  CUnitFilter loaded;
  ForEachStoredField(loaded, version, [&ar](int& field) {
    std::int32_t value = 0;
    ar >> value;
    field = value;
  });
  *this = loaded;
}
