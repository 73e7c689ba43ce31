// CCase::ImportRfcCsv: the file dialog and the messages around the CSV reader, which checks the
// whole file before anything of the case changes.

#include "core/base/AppIdentity.h"
#include "core/case/Case.h"
#include "core/deformation/RfcCsvImport.h"
#include "platform/UiRegistry.h"

bool CCase::ImportRfcCsv() {
  const std::optional<std::filesystem::path> file =
      Ui().FileDialog(FileDialogKind::Open, {"csv ファイル (*.csv)|*.csv||", "csv", {}, "*.csv"});
  if (!file) return false;
  const CRfcCsvRead read = ReadRfcCsvFile(*file);
  if (!read.plan) {
    Ui().MessageBox(read.message, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return false;
  }
  ApplyRfcCsvPlan(*read.plan, IsRightUpper(), prmReinf_, prmSlide_, arrange_);
  if (read.plan->boltList) CalcArrangeH();
  return true;
}
