#include "core/case/CaseArray.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"
#include "platform/Archive.h"

namespace {

// Makes the rounding rules of a document being read the process-wide ones while its cases load,
// so that what a load rounds follows the document's rules; the rules in force before come back on
// every exit path.
class ScopedLoadRounding {
 public:
  explicit ScopedLoadRounding(const CUnitFilter& filter) : previous_(CurrentSettings()) {
    CoreSettings reading = previous_;
    reading._roundSet = filter;
    MakeCurrent(reading);
  }
  ~ScopedLoadRounding() { MakeCurrent(previous_); }
  ScopedLoadRounding(const ScopedLoadRounding&) = delete;
  ScopedLoadRounding& operator=(const ScopedLoadRounding&) = delete;

 private:
  CoreSettings previous_;
};

[[noreturn]] void Refuse(const std::string& what) {
  throw ArchiveException(ArchiveException::Cause::BadFormat, "case list: " + what);
}

}  // namespace

void CCaseArray::CreateCase(int) {
  active_ = 0;
  cases_.clear();
  cases_.reserve(kCaseCount);
  for (int i = 0; i < kCaseCount; ++i) cases_.push_back(std::make_unique<CCase>());
}

CCase* CCaseArray::GetCase(int i) const {
  if (i < 0 || i >= GetSize()) {
    throw std::out_of_range("case index " + std::to_string(i) + " outside the case list");
  }
  return cases_[static_cast<std::size_t>(i)].get();
}

void CCaseArray::Store(Archive& ar, int version) const {
  CCoreConfig::GetUnitFilter().Store(ar, version);
  ar << static_cast<std::int32_t>(kCaseCount) << static_cast<std::int32_t>(active_);
  // A list whose cases were never created stores ten empty slots.
  for (int i = 0; i < kCaseCount; ++i) {
    if (i < GetSize()) {
      cases_[static_cast<std::size_t>(i)]->Store(ar, version);
    } else {
      ar << std::int32_t{0};
    }
  }
}

void CCaseArray::Load(Archive& ar, int version, bool) {
  CUnitFilter filter;
  filter.Load(ar, version);
  std::int32_t count = 0;
  std::int32_t active = 0;
  ar >> count >> active;
  if (count < 0 || count > kCaseCount) Refuse("slot count " + std::to_string(count));
  if (active < 0 || active >= std::max(count, 1)) {
    Refuse("active case " + std::to_string(active) + " outside the slots read");
  }
  CCaseArray read;
  read.CreateCase();
  {
    const ScopedLoadRounding rounding(filter);
    for (int i = 0; i < count; ++i) read.GetCase(i)->Load(ar, version);
  }
  cases_ = std::move(read.cases_);
  active_ = active;
  filter_ = filter;
}
