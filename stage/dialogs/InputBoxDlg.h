#pragma once
// CInputBoxDlg: a one-line text input with a caption and a prompt. The caller sets the three
// texts, runs the dialog with RunModal and, after OK, reads the entered text trimmed of the blanks
// around it; after Cancel the result stays empty.

#include <string>

#include "stage/controls/StageDialog.h"

class CExpEdit;
class QLabel;

class CInputBoxDlg : public StageDialog {
  Q_OBJECT

 public:
  explicit CInputBoxDlg(QWidget* parent = nullptr);

  void SetText(const std::string& caption, const std::string& prompt, const std::string& initial);
  const std::string& Result() const { return result_; }

  void OnOK() override;

 private:
  QLabel* prompt_;
  CExpEdit* edit_;
  std::string result_;
};
