#include "app/dialogs/CaseInfoDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/case/CaseArray.h"
#include "platform/UiRegistry.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kRows = CCaseArray::kCaseCount;
constexpr Color kHeaderColour{0xFFFFDB};
constexpr Color kDerivedColour{0xB8FFFF};
constexpr int kNameWidth = 130;
constexpr int kStateWidth = 52;

// The three names of a case's site data, in grid columns 1 to 3.
constexpr std::array<int, 3> kNameCols = {CCaseInfoDlg::kColSite, CCaseInfoDlg::kColCase,
                                          CCaseInfoDlg::kColRemarks};

const char* Mark(bool done) { return done ? "○" : "-"; }

// Columns 4 to 9: for each step, whether its input is complete and whether it has results.
std::array<bool, 6> States(CCase& c) {
  return {c.PreCalcStab(false), c.IsResStab(),         c.PreCalcSlide(false),
          c.IsResSlide(),       c.PreCalcShear(false), c.IsResShear()};
}

}  // namespace

CCaseInfoDlg::CCaseInfoDlg(CCaseArray& cases, QWidget* parent)
    : StageDialog(parent),
      cases_(cases),
      backup_(cases),
      grid_(new CSheetGrid),
      up_(MakeButton("▲上へ", 1043)),
      down_(MakeButton("▼下へ", 1050)) {
  SetId(this, 331);
  setWindowTitle(QStringLiteral("ケース情報"));
  SetId(grid_, 1048);
  QPushButton* clear = MakeButton("結果クリア", 1051);
  clear->setToolTip(QStringLiteral("チェックをつけたケースの計算結果をクリアします"));

  const OkCancelRow buttons = MakeOkCancelRow({up_, down_, clear});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons.layout);
  SetTabChain({grid_, up_, down_, clear, buttons.ok, buttons.cancel});

  connect(up_, &QPushButton::clicked, this, [this] { MoveRow(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveRow(+1); });
  connect(clear, &QPushButton::clicked, this, &CCaseInfoDlg::OnClearResults);
  connect(grid_, &CSheetGrid::LeaveCell, this,
          [this](int, int, int, int newRow, bool*) { OnLeaveCell(newRow); });

  SetUpGrid();
  FillGrid();
  const int row = cases_.GetActiveCaseID() + 1;
  grid_->SetActiveCell(kColSite, row);
  UpdateMoveButtons(row);
}

void CCaseInfoDlg::SetUpGrid() {
  CSheetGrid& g = *grid_;
  g.SetMaxCols(kColCheck);
  g.SetMaxRows(kRows);
  g.SetColHeaderRows(2);
  g.SetHeaderBackColor(kHeaderColour);
  g.SetLockBackColor(kDerivedColour);
  const auto header = [&g](int col, const char* text) {
    g.SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(text));
  };
  const std::array<const char*, 3> names = {"現場名", "ケース名", "備考"};
  for (int i = 0; i < 3; ++i) {
    g.AddCellSpan(kNameCols[i], CSheetGrid::kHeaderRow, 1, 2);
    header(kNameCols[i], names[i]);
    g.SetColWidth(kNameCols[i], kNameWidth);
  }
  const std::array<const char*, 3> steps = {"多平面安定", "すべり変形", "せん断変形"};
  for (int i = 0; i < 3; ++i) {
    const int col = kColFirstState + 2 * i;
    g.AddCellSpan(col, CSheetGrid::kHeaderRow, 2, 1);
    header(col, steps[i]);
    g.SetText(SheetBlock(col, CSheetGrid::kHeaderRow2), QStringLiteral("入力"));
    g.SetText(SheetBlock(col + 1, CSheetGrid::kHeaderRow2), QStringLiteral("結果"));
  }
  for (int col = kColFirstState; col <= kColCheck; ++col) g.SetColWidth(col, kStateWidth);
  g.AddCellSpan(kColCheck, CSheetGrid::kHeaderRow, 1, 2);
  header(kColCheck, "結果\nクリア");
  const SheetBlock states(kColFirstState, 1, kColLastState, kRows);
  g.SetLock(states, true);
  g.SetCellType(SheetBlock(kColCheck, 1, kColCheck, kRows), SheetCellType::CheckBox);
  for (int row = 1; row <= kRows; ++row) SetChecked(row, false);

  // Room for every column and row, so that the dialog opens showing the whole table.
  int width = g.verticalHeader()->sizeHint().width() + 2 * g.frameWidth();
  for (int col = 1; col <= kColCheck; ++col) width += g.columnWidth(col - 1);
  const int height =
      g.horizontalHeader()->sizeHint().height() + kRows * g.rowHeight(0) + 2 * g.frameWidth();
  g.setMinimumSize(width, height);
}

void CCaseInfoDlg::FillGrid() {
  for (int row = 1; row <= kRows; ++row) {
    CCase& c = *cases_.GetCase(row - 1);
    const auto& names = c.GetPrmJobsite().names;
    for (int i = 0; i < 3; ++i) SpreadSetText(*grid_, kNameCols[i], row, names[i]);
    const std::array<bool, 6> states = States(c);
    for (int i = 0; i < 6; ++i) SpreadSetText(*grid_, kColFirstState + i, row, Mark(states[i]));
  }
}

void CCaseInfoDlg::WriteBack() {
  for (int row = 1; row <= kRows; ++row) {
    CCase& c = *cases_.GetCase(row - 1);
    auto& names = c.GetPrmJobsite().names;
    for (int i = 0; i < 3; ++i) {
      std::string typed = SpreadGetCellText(*grid_, kNameCols[i], row);
      if (typed == names[i]) continue;
      names[i] = std::move(typed);
      // A renamed case must reach the file: only cases in use are stored whole.
      c.MarkEdited();
      changed_ = true;
    }
  }
}

void CCaseInfoDlg::UpdateMoveButtons(int row) {
  up_->setEnabled(row > 1);
  down_->setEnabled(row < kRows);
}

void CCaseInfoDlg::OnLeaveCell(int newRow) {
  WriteBack();
  if (newRow > 0) UpdateMoveButtons(newRow);
}

void CCaseInfoDlg::MoveRow(int offset) {
  const int row = grid_->ActiveRow();
  const int target = row + offset;
  if (row < 1 || row > kRows || target < 1 || target > kRows) return;
  WriteBack();  // a name typed into the row moves with its case
  const bool rowChecked = IsChecked(row);
  const bool targetChecked = IsChecked(target);
  grid_->SetActiveCell(grid_->ActiveCol(), target);
  CCase& moving = *cases_.GetCase(row - 1);
  CCase& other = *cases_.GetCase(target - 1);
  SwapCases(moving, other);
  moving.SetModify(true);
  other.SetModify(true);
  changed_ = true;
  FillGrid();
  SetChecked(target, rowChecked);
  SetChecked(row, targetChecked);
  UpdateMoveButtons(target);
}

void CCaseInfoDlg::OnClearResults() {
  WriteBack();
  std::vector<int> checked;
  for (int row = 1; row <= kRows; ++row) {
    if (IsChecked(row)) checked.push_back(row);
  }
  if (checked.empty()) {
    Ui().MessageBox("結果クリアしたいケースにチェックを入れてください。", GetAppTitle(),
                    MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  if (Ui().MessageBox("チェックをつけたケースの結果を\nクリアしてよろしいですか？", GetAppTitle(),
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  for (const int row : checked) {
    CCase& c = *cases_.GetCase(row - 1);
    c.ClearResult(true, true, true, true);
    c.SetModify(true);
    SetChecked(row, false);
  }
  changed_ = true;
  FillGrid();
}

bool CCaseInfoDlg::IsChecked(int row) const {
  return SpreadGetValue(*grid_, kColCheck, row) == "1";
}

void CCaseInfoDlg::SetChecked(int row, bool checked) {
  SpreadSetText(*grid_, kColCheck, row, checked ? "1" : "0");
}

void CCaseInfoDlg::OnOK() {
  WriteBack();
  resultIndex_ = grid_->ActiveRow() - 1;
  StageDialog::OnOK();
}

void CCaseInfoDlg::OnCancel() {
  if (changed_) backup_.Restore(cases_);
  StageDialog::OnCancel();
}
