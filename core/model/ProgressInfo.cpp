#include "core/model/ProgressInfo.h"

#include <algorithm>
#include <cstdint>

#include "platform/UiRegistry.h"

namespace {

// (hi - lo) * position / maximum + lo in whole numbers, computed wide so that large step counts
// cannot overflow, and kept within the bar's range.
int BarPosition(int lo, int hi, int position, int maximum) {
  const std::int64_t span = static_cast<std::int64_t>(hi) - lo;
  const std::int64_t bar = span * position / maximum + lo;
  return static_cast<int>(std::clamp<std::int64_t>(bar, std::min(lo, hi), std::max(lo, hi)));
}

}  // namespace

// ---- CProgressInfo ----

void CProgressInfo::SetText(const std::string& line1, const std::string& line2) {
  line1_ = line1;
  line2_ = line2;
}

void CProgressInfo::UpdateProgress() {
  if (window_ == nullptr) return;
  window_->SetLines(line1_, line2_);
  if (maximum_ > 0) {
    window_->SetPosition(
        BarPosition(window_->RangeLow(), window_->RangeHigh(), position_, maximum_));
  }
}

// ---- CProgressInfoDlg ----

CProgressInfoDlg::CProgressInfoDlg() : window_(Ui().CreateProgressWindow()) {
  window_->SetRange(0, 100);
  window_->SetPosition(0);
}

CProgressInfoDlg::~CProgressInfoDlg() { window_->Hide(); }

void CProgressInfoDlg::Show() { window_->Show(); }

void CProgressInfoDlg::SetControl() { info_.Link(window_.get()); }

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
  dialog->SetControl();
  dialog->Show();
  dialog->SetMax(100);
  dialog->SetValue(0);
  dialog->SetText("計算準備中", "しばらくお待ちください...");
  return dialog;
}
