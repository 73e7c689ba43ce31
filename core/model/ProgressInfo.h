#pragma once
// The progress dialog of a long calculation: a small window with two text lines, a bar and a
// cancel button, shown through Ui()'s progress window. CProgressInfoDlg owns the window and one
// CProgressInfo, the dialog's state: how many steps, how far, the two lines and the cancel flag.
//
// The dialog lives on the GUI thread. A calculation never touches it: it runs on a worker thread
// through the runner (stage/CalcRunner.h), reports to its ProgressFeedback, and the runner shows
// those reports in this dialog from the GUI thread. The Qt window behind
// Ui().CreateProgressWindow() is application-modal: while it shows, user input reaches only its
// cancel button (Escape and the close button cancel too), so nobody can close the document or
// switch the case under a running job.

#include <memory>
#include <string>

#include "platform/ProgressFeedback.h"
#include "platform/UiServices.h"

class CProgressInfo {
 public:
  CProgressInfo() = default;
  CProgressInfo(const CProgressInfo&) = delete;
  CProgressInfo& operator=(const CProgressInfo&) = delete;

  // The number of steps of the calculation; 0 leaves the bar where it is.
  void SetMaximum(int maximum) { maximum_ = maximum; }
  int GetMaximum() const { return maximum_; }
  // The steps done so far.
  void SetPosition(int position) { position_ = position; }
  int GetPosition() const { return position_; }
  // The two lines that tell what the calculation is doing.
  void SetText(const std::string& line1, const std::string& line2);
  const std::string& GetLine1() const { return line1_; }
  const std::string& GetLine2() const { return line2_; }

  // The cancel flag is the platform's progress-and-cancel object: safe to poll from any thread,
  // and once set it stays set, so a cancelled run can never be resumed by mistake.
  bool IsCancelled() const { return feedback_.IsCancelled(); }
  void Cancel() { feedback_.Cancel(); }

  // The window that shows this info (not owned); null shows it nowhere.
  void Link(ProgressWindow* window) { window_ = window; }

  // Shows the lines and, with a maximum above 0, moves the bar to the same fraction of its range
  // as position is of maximum (whole numbers, within the range). Called on the GUI thread.
  void UpdateProgress();

 private:
  int maximum_ = 0;
  int position_ = 0;
  std::string line1_;
  std::string line2_;
  ProgressFeedback feedback_;
  ProgressWindow* window_ = nullptr;
};

class CProgressInfoDlg {
 public:
  // Creates the window through Ui(), hidden, with the bar's range 0 to 100 at 0.
  CProgressInfoDlg();
  // Hides the window; it is destroyed with the dialog.
  ~CProgressInfoDlg();
  CProgressInfoDlg(const CProgressInfoDlg&) = delete;
  CProgressInfoDlg& operator=(const CProgressInfoDlg&) = delete;

  CProgressInfo* GetInfo() { return &info_; }
  void Show();
  // Links the info to this dialog's window, so that its updates show there.
  void SetControl();
  // The bar's range becomes 0..max.
  void SetMax(int max);
  // Moves the bar; IncValue advances it by one from where SetValue or IncValue put it last.
  void SetValue(int value);
  void IncValue();
  // Sets the info's two lines and shows them at once.
  void SetText(const std::string& line1, const std::string& line2);
  // True while the window does not show: before Show and after a cancel.
  bool IsCancel() const;
  // Disables the cancel button.
  void EnableShowCancel();
  // What the cancel button and Escape do: sets the info's cancel flag and hides the window. The
  // dialog stays, so the calculation runs on until whoever runs it sees the flag or IsCancel.
  void OnCancel();

 private:
  std::unique_ptr<ProgressWindow> window_;
  CProgressInfo info_;
  int value_ = 0;
};

// How every long calculation opens its window: linked to its info, shown, the bar at 0 of 100, the
// lines saying that the calculation is being prepared.
std::unique_ptr<CProgressInfoDlg> OpenPreparingProgress();
