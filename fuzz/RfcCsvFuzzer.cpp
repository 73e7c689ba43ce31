// The reinforcement CSV import: the bytes are the file. A refused file tells why and gives no
// plan; a valid one is applied to a case's records as the case applies it, and what it set must
// hold what the plan holds: the bolts numbered in order, the sums finite.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/deformation/ReinfArrange.h"
#include "core/deformation/RfcCsvImport.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmSlide.h"
#include "fuzz/FuzzSupport.h"

namespace {

void CheckApplied(const CRfcCsvPlan& plan, const CPrmSlide& slide, const CReinfArrange& arrange) {
  if (!plan.boltList) {
    if (arrange.GetSize() != 0) fuzz::Finding("bolts without a bolt list");
    return;
  }
  if (arrange.GetSize() != static_cast<int>(plan.boltList->bolts.size())) {
    fuzz::Finding("the arrangement does not hold the list's bolts");
  }
  for (int i = 0; i < arrange.GetSize(); ++i) {
    if (arrange.GetAt(i)->number != i + 1) fuzz::Finding("a bolt out of its number");
  }
  if (!std::isfinite(slide.s2) || !std::isfinite(slide.s3)) fuzz::Finding("a sum is not finite");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const CRfcCsvRead read = ParseRfcCsv(file);
  if (!read.plan) {
    if (read.message.empty()) fuzz::Finding("a refused file without a message");
    return 0;
  }
  if (!read.message.empty()) fuzz::Finding("a valid file with a message");
  CPrmReinf reinf;
  CPrmSlide slide;
  CReinfArrange arrange;
  for (const bool rightUpper : {true, false}) {
    ApplyRfcCsvPlan(*read.plan, rightUpper, reinf, slide, arrange);
    CheckApplied(*read.plan, slide, arrange);
    fuzz::Stored(reinf, 10);
    fuzz::Stored(arrange, 10);
  }
  return 0;
}
