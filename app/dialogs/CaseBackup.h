#pragma once
// What the case dialogs need to change a document's cases and to take every change back: a
// copy of the ten cases, with their modified flags, taken when a dialog opens.

#include <array>

#include "core/case/CaseArray.h"

// The target becomes equal to the source (emptied first, then copied); its modified flag stays.
void ReplaceCase(CCase& target, const CCase& source);
// The two cases exchange their contents; both keep their places and their modified flags.
void SwapCases(CCase& first, CCase& second);

class CCaseBackup {
 public:
  explicit CCaseBackup(const CCaseArray& cases);
  CCaseBackup(const CCaseBackup&) = delete;
  CCaseBackup& operator=(const CCaseBackup&) = delete;

  // Every case of the list as it was when the copy was taken, modified flag included.
  void Restore(const CCaseArray& cases) const;

 private:
  CCaseArray copies_;
  std::array<bool, CCaseArray::kCaseCount> modified_{};
};
