#include "core/model/ProgressInfo.h"

#include "platform/UiRegistry.h"

// ---- CProgressInfo ----

void CProgressInfo::SetText(const std::string& line1, const std::string& line2) {
  line1_ = line1;
  line2_ = line2;
}

// ---- CProgressInfoDlg ----

CProgressInfoDlg::CProgressInfoDlg() : window_(Ui().CreateProgressWindow()) {
  window_->SetRange(0, 100);
  window_->SetPosition(0);
}

CProgressInfoDlg::~CProgressInfoDlg() { window_->Hide(); }

void CProgressInfoDlg::Show() { window_->Show(); }

void CProgressInfoDlg::SetMax(int max) { window_->SetRange(0, max); }

void CProgressInfoDlg::SetValue(int value) {
  value_ = value;
  window_->SetPosition(value);
}

void CProgressInfoDlg::IncValue() { SetValue(value_ + 1); }

void CProgressInfoDlg::SetText(const std::string& line1, const std::string& line2) {
  info_.SetText(line1, line2);
  window_->SetLines(line1, line2);
}

bool CProgressInfoDlg::IsCancel() const { return !window_->IsVisible(); }

void CProgressInfoDlg::EnableShowCancel() { window_->EnableCancel(false); }

void CProgressInfoDlg::OnCancel() {
  info_.Cancel();
  window_->Hide();
}

std::unique_ptr<CProgressInfoDlg> OpenPreparingProgress() {
  auto dialog = std::make_unique<CProgressInfoDlg>();
  dialog->Show();
  dialog->SetMax(100);
  dialog->SetValue(0);
  dialog->SetText("計算準備中", "しばらくお待ちください...");
  return dialog;
}
