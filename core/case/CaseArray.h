#pragma once
// The ten design cases of a document and the number of the active one. The core facade owns the
// document's list; the case copy dialog reads another document into a list of its own.
//
// A list read from a document keeps the rounding rules it was stored with (GetUnitFilter); only
// the core facade's load of the main document makes them the process-wide rules.

#include <memory>
#include <vector>

#include "core/base/UnitFilter.h"
#include "core/case/Case.h"

class Archive;

class CCaseArray {
 public:
  static constexpr int kCaseCount = 10;

  CCaseArray() = default;
  virtual ~CCaseArray() = default;
  CCaseArray(const CCaseArray&) = delete;
  CCaseArray& operator=(const CCaseArray&) = delete;
  // Lists are exchanged whole when a load succeeds; the cases keep their addresses.
  CCaseArray(CCaseArray&&) = default;
  CCaseArray& operator=(CCaseArray&&) = default;

  // Active index 0.
  void Init() { active_ = 0; }
  // Ten new empty cases, active index 0. The int has no effect.
  void CreateCase(int = 0);
  // Destroys every case; CreateCase refills the list.
  void DeleteCase() { cases_.clear(); }

  int GetSize() const { return static_cast<int>(cases_.size()); }
  // Throw std::out_of_range outside 0..size-1.
  CCase* GetCase(int i) const;
  CCase* GetAt(int i) const { return GetCase(i); }
  CCase* operator[](int i) const { return GetCase(i); }
  CCase* GetActiveCase() const { return GetCase(active_); }
  int GetActiveCaseID() const { return active_; }
  // No range check: GetActiveCase refuses an index outside the list.
  void SetActiveID(int index) { active_ = index; }

  // The rounding rules read with the list; the defaults for a list that was never loaded.
  const CUnitFilter& GetUnitFilter() const { return filter_; }

  // The case list record: the process-wide rounding rules, int32 10, int32 active index, the ten
  // case slots.
  void Store(Archive& ar, int version) const;
  // Reads the record into a new list of ten empty cases and takes it over only when it was read
  // completely and is sound: a slot count 0..10 (a count n fills slots 0..n-1, the others stay
  // empty) and an active index inside the slots read (0 when none was read). Anything else
  // throws ArchiveException and leaves the list as it was. While the slots load, what they round
  // uses the rounding rules read with them; the process-wide rules stay. The bool has no effect.
  void Load(Archive& ar, int version, bool = false);

 private:
  std::vector<std::unique_ptr<CCase>> cases_;
  int active_ = 0;
  CUnitFilter filter_;
};
