#pragma once
// The About box: the program's version line and a button that opens the read-me file shipped
// beside the program.

#include "stage/controls/StageDialog.h"

class CAboutDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr int kIdVersion = 1053;
  static constexpr int kIdReadme = 1054;

  explicit CAboutDlg(QWidget* parent = nullptr);
};

// " Version" with the version and the subtitle right after it, no blank between.
QString AboutVersionText();
