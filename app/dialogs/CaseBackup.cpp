#include "app/dialogs/CaseBackup.h"

#include <memory>

void ReplaceCase(CCase& target, const CCase& source) {
  const bool modified = target.IsModified();
  target.Init();
  target.Copy(&source, true);
  target.SetModify(modified);
}

void SwapCases(CCase& first, CCase& second) {
  const auto held = std::make_unique<CCase>();
  ReplaceCase(*held, first);
  ReplaceCase(first, second);
  ReplaceCase(second, *held);
}

CCaseBackup::CCaseBackup(const CCaseArray& cases) {
  copies_.CreateCase();
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) {
    const CCase& original = *cases.GetCase(i);
    ReplaceCase(*copies_.GetCase(i), original);
    modified_[i] = original.IsModified();
  }
}

void CCaseBackup::Restore(const CCaseArray& cases) const {
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) {
    CCase& target = *cases.GetCase(i);
    ReplaceCase(target, *copies_.GetCase(i));
    target.SetModify(modified_[i]);
  }
}
