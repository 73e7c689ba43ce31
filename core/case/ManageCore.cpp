#include "core/case/ManageCore.h"

#include <utility>

#include "core/base/CoreSettings.h"
#include "platform/Archive.h"

namespace {

// The first document version whose body holds the print settings.
constexpr int kPrintSettingsVersion = 8;

}  // namespace

void CManageCore::InitCore(int init) {
  cases_.CreateCase(init);
  prnInfo_.Init();
  DefaultSetCore();
  ResetModify();
}

void CManageCore::DefaultSetCore() { SetUpConfiguration(refData_); }

void CManageCore::StoreCore(Archive& ar, int version) const {
  cases_.Store(ar, version);
  if (version >= kPrintSettingsVersion) prnInfo_.Store(ar, version);
}

void CManageCore::LoadCore(Archive& ar, int version) {
  CCaseArray read;
  read.Load(ar, version);
  CPrnInfo prnInfo;
  if (version >= kPrintSettingsVersion) prnInfo.Load(ar, version);

  cases_ = std::move(read);
  prnInfo_ = prnInfo;
  DefaultSetCore();
  ResetModify();
  ChangeSettings([this](CoreSettings& settings) { settings._roundSet = cases_.GetUnitFilter(); });
}

void CManageCore::DrawCore() { GetActiveCase()->Draw(); }

bool CManageCore::IsModify() const {
  if (modified_) return true;
  for (int i = 0; i < cases_.GetSize(); ++i) {
    if (cases_.GetCase(i)->IsModified()) return true;
  }
  return false;
}

void CManageCore::ResetModify() {
  modified_ = false;
  for (int i = 0; i < cases_.GetSize(); ++i) cases_.GetCase(i)->SetModify(false);
}
