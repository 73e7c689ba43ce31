#pragma once
// The case pane ("ケース"): the ten case slots of the document as buttons, marked when in use
// and when selected; the case information, copy and clear actions; and the display switches of
// the multi-plane slip surfaces (load case and blocks only). The pane only shows and sends
// command messages to the frame; the frame changes the data and calls back to refresh the pane.

#include <QWidget>
#include <array>

class CCaseArray;
class CExpButton;
class QCheckBox;
class QRadioButton;

class CPaneCaseDlg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSlotCount = 10;
  static constexpr int kNoSlot = -1;

  explicit CPaneCaseDlg(QWidget* parent = nullptr);

  // Marks slot n as the selected one (kNoSlot: none) and asks the frame to refresh the
  // information pane; nothing when n is selected already.
  void SelectCase(int n);
  int GetSelected() const { return selected_; }
  // The button texts "n: case name" (and their tooltips) from the list.
  void FillCaseButtons(const CCaseArray& cases);
  // Lights the lamp of each slot in use.
  void MarkUsedCases(const CCaseArray& cases);
  // The load-case radios and the blocks-only check for the current step and the load cases that
  // the active case's stability conditions hold; a case with exactly one of them shows it.
  void SetStabTypeFlags(bool hasNormal, bool hasQuake);
  // The load case shown: 0 normal (常時), 1 seismic (地震時).
  int GetQuakeChoice() const { return quakeChoice_; }
  // New document: the normal load case again, without telling the frame.
  void ResetQuakeChoice();

  CExpButton& CaseButton(int slot) const { return *caseButtons_.at(slot); }

 private:
  void OnCaseClicked(int slot);
  void OnClearCase();
  void OnQuakeChosen(int choice);
  void ShowQuakeChoice();

  std::array<CExpButton*, kSlotCount> caseButtons_{};
  QRadioButton* normal_;
  QRadioButton* quake_;
  QCheckBox* blocksOnly_;
  int selected_ = 0;
  int quakeChoice_ = 0;
};
