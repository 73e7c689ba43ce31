#pragma once
// CCmdStabMultiFsDlg: the multi-plane stability of design step 2. 計算開始 runs the calculation
// of every pair of a start and an end block of the active case under the progress window; the
// grid lists one row per pair with S, T and Fs of the normal and the seismic case. The user
// sorts by a column header, registers one row per load case as that case's slip surface, picks
// the row the view shows, filters the rows (計算表示条件), sets the seismic reference safety
// factor Fstp, copies the matrix of Fs to the clipboard and opens the Fs figure. Everything acts
// on the case's forward result set and stability conditions at once; OK and 閉じる mark the case
// modified when anything stored differs from what it held at opening. A cancelled run keeps the
// pairs done, and the header says so; 閉じる brings back the results held before that run, and OK
// keeps the partial set only when the user says so.

#include <QString>
#include <memory>
#include <string>

#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpButton;
class CExpEdit;
class CManageCore;
class CPrmStab;
class CSheetGrid;
class QLabel;
class QPushButton;

class CCmdStabMultiFsDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog on the core's active case; true when it ended with OK.
  static bool Run(CManageCore& core, QWidget* parent);

  explicit CCmdStabMultiFsDlg(CManageCore& core, QWidget* parent = nullptr);

  // Index in the ordered result list of the first row registered for the case (0 normal,
  // 1 seismic); −1 when none is.
  int FindRegistered(int which) const;
  // Makes the row's pair the current result, which the view draws.
  void SelectRow(int row);

  // 計算開始.
  void Calculate();
  // CP: the Fs of every start and end block as a table on the clipboard.
  void CopyFsMatrix();
  // 安全率図.
  void ShowFigure();
  // 計算表示条件.
  void EditDisplayConditions();
  // データ連携: the export selection, once every load case that is on has a registered row.
  void LinkData();
  // The check Word出力 and データ連携 share: every load case that is on has a registered row.
  // Otherwise says which lack one and returns false.
  bool CheckRegistered() const;

  void OnOK() override;
  void OnCancel() override;

  // The matrix CP copies: a header line of start blocks 1..n−1, then one line per end block with
  // the Fs of each start block before it (2 decimals per the Fs rounding), tab-separated; a pair
  // without a result leaves its cell empty. The pairs are indexed once.
  static std::string FsMatrixText(const CResStab2& results, int resultCase);

 private:
  // What the dialog compares at its end with the case's state at its opening.
  struct Snapshot {
    int registeredN = -1;  // ids of the registered points, −1 for none
    int registeredQ = -1;
    CMltKey key;
    tagMLTSORT sort;
    double fstp = 0;
    CDrawResGraphSetMltFs figure;
  };

  void BuildLayout();
  void SetupGrid();
  void SetHeader();
  // Fills the rows from the ordered list.
  void SetResult();
  void UpdateInfo();
  // Fstp into the conditions, the current result cleared; the caller redraws.
  void StoreFstp();
  void OnGridClick(int col, int row);
  void SortByColumn(int col);
  void ClickRegistration(int col, int row);
  void SetRegistered(int row, int which, bool registered);
  int RegisteredId(int which) const;
  Snapshot TakeSnapshot() const;
  bool ChangedSinceOpening() const;
  // Both OK and 閉じる: Fstp stored; a stored change marks the case modified and in use and
  // rebuilds the slide line's heights.
  void StoreChanges();
  bool IsCaseOn(int which) const;
  // The results on show are the pairs a cancelled run got done.
  bool IsPartial() const { return beforePartial_ != nullptr; }
  // 閉じる after a cancelled run: the results and the case's flags as they were before it.
  void RestoreBeforePartial();

  // What a run that ends cancelled replaces: the results and the case's flags before it.
  struct BeforeRun {
    CResStab2 results;
    bool modified = false;
    int inUse = 0;
  };

  CManageCore& core_;
  CCase& case_;
  CPrmStab& prm_;
  CResStab2& results_;
  const Snapshot atOpening_;
  std::unique_ptr<BeforeRun> beforePartial_;  // set while partial results are on show

  CSheetGrid* grid_;
  QPushButton* calculate_;
  QPushButton* conditions_;
  CExpEdit* fstp_;
  QString fstpShown_;  // the text the Fstp field was given
  QLabel* count_;
  CExpButton* copy_;
  QPushButton* figure_;
  QPushButton* word_;
  QPushButton* linkage_;
};
