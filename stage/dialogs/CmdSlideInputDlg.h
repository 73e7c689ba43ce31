#pragma once
// CCmdSlideInputDlg: "計算条件" of the slide deformation, edited in place in the case's slide
// conditions: the bolts' holding and tightening forces S2 and S3, the slide-surface length l, the
// apparent cohesion Δc (derived from S2, S3 and l, or entered), the latent collapse layer
// thickness h and the pitch of the seismic coefficients. It shows the block range of the run
// registered for the seismic case and the design kh, and picks l from the slide surface and h
// from the bolts' thickness calculation.
//
// キャンセル puts the conditions back as they were at opening. OK marks the case modified when
// anything stored changed, and clears the slide result when what the calculation reads changed:
// the effective Δc, h or the pitch.

#include <QList>

#include "core/model/PrmSlide.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class QLabel;
class QPushButton;
class QRadioButton;

class CCmdSlideInputDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog on the case; true when it ended with OK.
  static bool Run(CCase& target, QWidget* parent);

  CCmdSlideInputDlg(CCase& target, QWidget* parent = nullptr);

  void OnOK() override;
  void OnCancel() override;

  // Whether a calculation reads the two conditions differently: the effective Δc, h or the pitch.
  static bool ChangesCalculation(const CPrmSlide& before, const CPrmSlide& after);

 private:
  void BuildLayout();
  // The case's conditions into the fields.
  void Show();
  // The fields into the case's conditions; the Δc field only while it was the entered Δc.
  void TakeOver();
  // The derived-Δc inputs usable in mode 0 only; Δc typed in mode 1 only.
  void EnableByMode();
  int ChosenMode() const;
  void OnModeClicked();
  void OnDerivedInputLeft();
  void PickLength();
  void PickThickness();

  CCase& case_;
  CPrmSlide& prm_;
  const CPrmSlide opened_;

  CExpEdit* start_;
  CExpEdit* end_;
  CExpEdit* s2_;
  CExpEdit* s3_;
  CExpEdit* l_;
  CExpEdit* deltaC_;
  CExpEdit* h_;
  CExpEdit* pitch_;
  CExpEdit* kh_;
  QRadioButton* derived_;
  QRadioButton* entered_;
  QPushButton* pickL_;
  QPushButton* pickH_;
  QList<QWidget*> derivedOnly_;  // the labels of S2, S3 and l
};
