#include "stage/dialogs/CmdStabArcDlg.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string>

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/section/SpStratum.h"
#include "platform/UiRegistry.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabArcTypeDlg.h"

namespace {

constexpr int kWidthDlu = 480;
constexpr int kHeightDlu = 300;
constexpr Color kGridColor = Color::Rgb(219, 255, 255);
constexpr Color kLockedColor = Color::Rgb(207, 207, 207);
constexpr int kDecimals = 4;
constexpr int kSwitchCol = 1;
constexpr int kMinCol = 2;
constexpr int kMaxCol = 3;
constexpr int kXRow = 1;
constexpr int kYRow = 2;

constexpr std::array<const char*, kArcSetKindCount> kTabCaptions = {
    "中心と半径", "中心と深度", "中心と通過点", "通過点と半径", "中心と通過範囲"};

// The stratum switch the dialog edits for its condition index: the stratum property's `extra`,
// which the search's stratum test reads. Condition index 1 is the only condition there is.
int NotPassSwitch(const CSpStratumBlock& stratum) { return stratum.GetPropPtr()->GetExtra(); }
void SetNotPassSwitch(CSpStratumBlock& stratum, int on) { stratum.GetPropPtr()->SetExtra(on); }

QString LineCount(const CArcPassLine& lines) {
  const int count = lines.GetLines().GetSize();
  return count == 0 ? QStringLiteral(" なし") : QStringLiteral(" %1本").arg(count);
}

// The grids whose values each kind's verdicts concern.
struct KindGrids {
  const char* centre;
  const char* radius;
  const char* points;
};

constexpr std::array<KindGrids, kArcSetKindCount> kKindGrids = {{
    {"円弧中心範囲", "円弧半径の範囲", ""},
    {"円弧中心範囲", "円弧深度の範囲", ""},
    {"円弧中心範囲", "", "円弧通過点"},
    {"", "円弧半径の範囲", "円弧通過点"},
    {"円弧中心範囲", "半径ピッチ", "円弧通過範囲"},
}};

std::string Bracketed(const char* grid) { return std::string("[") + grid + "] "; }

}  // namespace

CCmdStabArcDlg* CCmdStabArcDlg::Open(CCase& target, int conditionIndex,
                                     const CArcCondition* previous, QWidget* parent) {
  return new CCmdStabArcDlg(target, conditionIndex, previous, parent);
}

CCmdStabArcDlg::CCmdStabArcDlg(CCase& target, int conditionIndex, const CArcCondition* previous,
                               QWidget* parent)
    : StageDialog(parent),
      case_(target),
      condition_(target.GetArcCondition()),
      previous_(previous),
      conditionIndex_(conditionIndex) {
  setObjectName(QStringLiteral("CCmdStabArcDlg"));
  setWindowTitle(QStringLiteral("円弧範囲の設定"));
  opened_.Copy(&condition_);
  for (const CSpStratumBlock* stratum : Strata())
    openedSwitches_.push_back(NotPassSwitch(*stratum));

  BuildControls();
  BuildLayout();
  ConnectControls();

  case_.SetCurArcCond(&condition_);
  const int kind = condition_.kind >= 0 && condition_.kind < kArcSetKindCount ? condition_.kind : 0;
  tabs_->setCurrentIndex(kind);
  copyPrevious_->setVisible(conditionIndex_ != 1);
  ShowAllSettings();
  initialising_ = false;
}

void CCmdStabArcDlg::BuildControls() {
  strataGrid_ = new CSheetGrid;
  SetId(strataGrid_, 5229);
  strataGrid_->SetHeaderBackColor(kGridColor);
  strataGrid_->SetMaxCols(3);
  strataGrid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("設定"));
  strataGrid_->SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("地層名"));
  strataGrid_->SetText(SheetBlock(3, CSheetGrid::kHeaderRow), QStringLiteral("色"));
  strataGrid_->SetColWidth(2, 140);
  // The grids fill the side of the dialog: the names take the width left, the limits share it.
  strataGrid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

  rangeGrid_ = new CSheetGrid;
  SetId(rangeGrid_, 5274);
  rangeGrid_->SetHeaderBackColor(kGridColor);
  rangeGrid_->SetLockBackColor(kLockedColor);
  rangeGrid_->SetMaxCols(3);
  rangeGrid_->SetMaxRows(2);
  rangeGrid_->SetCellType(SheetBlock(kSwitchCol, kXRow, kSwitchCol, kYRow),
                          SheetCellType::CheckBox);
  rangeGrid_->SetDecimalPlaces(SheetBlock(kMinCol, kXRow, kMaxCol, kYRow), kDecimals);
  rangeGrid_->SetText(SheetBlock(kSwitchCol, CSheetGrid::kHeaderRow), QStringLiteral("設定"));
  rangeGrid_->SetText(SheetBlock(kMinCol, CSheetGrid::kHeaderRow), QStringLiteral("最小"));
  rangeGrid_->SetText(SheetBlock(kMaxCol, CSheetGrid::kHeaderRow), QStringLiteral("最大"));
  rangeGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, kXRow), QStringLiteral("X座標"));
  rangeGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, kYRow), QStringLiteral("Y座標"));
  rangeGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  rangeGrid_->setFixedHeight(rangeGrid_->horizontalHeader()->sizeHint().height() +
                             rangeGrid_->verticalHeader()->length() + 2 * rangeGrid_->frameWidth() +
                             2);

  tabs_ = new QTabWidget;
  SetId(tabs_, 5224);
  pages_ = {new CCmdStabArcType1Dlg(case_, condition_.setRadius),
            new CCmdStabArcType2Dlg(case_, condition_.setDepth),
            new CCmdStabArcType3Dlg(case_, condition_.setPass1),
            new CCmdStabArcType4Dlg(case_, condition_.setPass2),
            new CCmdStabArcType5Dlg(case_, condition_.setPass3)};
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    tabs_->addTab(pages_[i], QString::fromUtf8(kTabCaptions[i]));
  }

  passCount_ = MakeLabel("", 5280);
  notPassCount_ = MakeLabel("", 5279);
  mouse_ = new QCheckBox(QStringLiteral("マウス入力(*の場所)"));
  SetId(mouse_, 5259);
  passLines_ = MakeButton("通過線", 5277);
  notPassLines_ = MakeButton("不通過線", 5278);
  copyPrevious_ = MakeButton("前の条件をｺﾋﾟｰ", 5250);
}

void CCmdStabArcDlg::BuildLayout() {
  auto* lines = new QHBoxLayout;
  lines->addWidget(passLines_);
  lines->addWidget(passCount_);
  lines->addSpacing(16);
  lines->addWidget(notPassLines_);
  lines->addWidget(notPassCount_);
  lines->addStretch();

  auto* side = new QVBoxLayout;
  side->addWidget(MakeLabel("不通過層(設定：ON で不通過となります)"));
  side->addWidget(strataGrid_, 1);
  side->addWidget(MakeLabel("有効範囲"));
  side->addWidget(rangeGrid_);
  side->addLayout(lines);

  auto* top = new QHBoxLayout;
  top->addWidget(tabs_, 3);
  top->addLayout(side, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(MakeOkCancelRow({mouse_, copyPrevious_}).layout);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
}

void CCmdStabArcDlg::ConnectControls() {
  connect(tabs_, &QTabWidget::currentChanged, this, &CCmdStabArcDlg::OnTabChanged);
  for (CCmdStabArcTypeDlg* page : pages_) {
    connect(page, &CCmdStabArcTypeDlg::MouseTargetRequested, this, &CCmdStabArcDlg::SetMouseTarget);
  }
  connect(rangeGrid_, &CSheetGrid::EditModeChanged, this, [this](int, int, int mode, bool) {
    if (mode != 0) return;
    StoreRange();
    RedrawSection();
  });
  connect(rangeGrid_, &CSheetGrid::ButtonClicked, this, [this](int col, int row, int) {
    if (initialising_ || col != kSwitchCol) return;
    LockRangeRow(row);
    StoreRange();
    RedrawSection();
  });
  connect(rangeGrid_, &CSheetGrid::KeyDown, this, [this](int* keyCode, int) {
    if (*keyCode != kKeyDelete || rangeGrid_->EditMode()) return;
    StoreRange();
    RedrawSection();
  });
  connect(mouse_, &QCheckBox::clicked, this, [this](bool on) {
    case_.SetMouseEdit(on);
    case_.ResetMouseMove();
    RedrawSection();
  });
  connect(passLines_, &QPushButton::clicked, this,
          [] { Ui().SendToFrame(FrameMsg::WM_CMD_STAB_ARC_PASS_SHOW, 0, 0); });
  connect(notPassLines_, &QPushButton::clicked, this,
          [] { Ui().SendToFrame(FrameMsg::WM_CMD_STAB_ARC_PASS_NOT_SHOW, 0, 0); });
  connect(copyPrevious_, &QPushButton::clicked, this, &CCmdStabArcDlg::OnCopyPrevious);
}

std::vector<CSpStratumBlock*> CCmdStabArcDlg::Strata() const {
  std::vector<CSpStratumBlock*> strata;
  CDPolyArray* const polygons = case_.GetDanmen().GetTisoBlockArray();
  if (polygons == nullptr) return strata;
  for (int i = 0; i < polygons->GetSize(); ++i) {
    if (auto* stratum = dynamic_cast<CSpStratumBlock*>(polygons->GetAt(i))) {
      strata.push_back(stratum);
    }
  }
  return strata;
}

void CCmdStabArcDlg::FillStrataGrid() {
  const std::vector<CSpStratumBlock*> strata = Strata();
  const int count = static_cast<int>(strata.size());
  strataGrid_->SetMaxRows(count);
  if (count == 0) return;
  strataGrid_->SetCellType(SheetBlock(1, 1, 1, count), SheetCellType::CheckBox);
  strataGrid_->SetLock(SheetBlock(2, 1, 3, count), true);
  for (int row = 1; row <= count; ++row) {
    const CSpStratumBlock& stratum = *strata[static_cast<std::size_t>(row - 1)];
    strataGrid_->SetText(SheetBlock(1, row),
                         NotPassSwitch(stratum) > 0 ? QStringLiteral("1") : QStringLiteral("0"));
    strataGrid_->SetText(SheetBlock(2, row),
                         QString::fromStdString(stratum.GetPropPtr()->GetName()));
    strataGrid_->SetBackColor(SheetBlock(3, row), stratum.GetPropColor());
  }
}

void CCmdStabArcDlg::FillRangeGrid() {
  const CArcLimit& limit = condition_.limit;
  rangeGrid_->SetText(SheetBlock(kSwitchCol, kXRow),
                      limit.xOn > 0 ? QStringLiteral("1") : QStringLiteral("0"));
  rangeGrid_->SetText(SheetBlock(kSwitchCol, kYRow),
                      limit.yOn > 0 ? QStringLiteral("1") : QStringLiteral("0"));
  SpreadSetDbl(*rangeGrid_, kMinCol, kXRow, kDecimals, {}, limit.xMin);
  SpreadSetDbl(*rangeGrid_, kMaxCol, kXRow, kDecimals, {}, limit.xMax);
  SpreadSetDbl(*rangeGrid_, kMinCol, kYRow, kDecimals, {}, limit.yMin);
  SpreadSetDbl(*rangeGrid_, kMaxCol, kYRow, kDecimals, {}, limit.yMax);
  LockRangeRow(kXRow);
  LockRangeRow(kYRow);
}

void CCmdStabArcDlg::LockRangeRow(int row) {
  const bool on = SpreadGetInt(*rangeGrid_, kSwitchCol, row) > 0;
  rangeGrid_->SetLock(SheetBlock(kMinCol, row, kMaxCol, row), !on);
}

void CCmdStabArcDlg::ShowLineCounts() {
  passCount_->setText(LineCount(condition_.passLine));
  notPassCount_->setText(LineCount(condition_.notPassLine));
}

void CCmdStabArcDlg::ShowAllSettings() {
  for (CCmdStabArcTypeDlg* page : pages_) page->ShowSetting();
  FillRangeGrid();
  ShowLineCounts();
  FillStrataGrid();
}

void CCmdStabArcDlg::StoreRange() {
  CArcLimit& limit = condition_.limit;
  const auto on = [this](int row) { return SpreadGetInt(*rangeGrid_, kSwitchCol, row) > 0; };
  limit.xOn = on(kXRow) ? 1 : 0;
  limit.yOn = on(kYRow) ? 1 : 0;
  limit.xMin = SpreadGetDbl(*rangeGrid_, kMinCol, kXRow);
  limit.xMax = SpreadGetDbl(*rangeGrid_, kMaxCol, kXRow);
  limit.yMin = SpreadGetDbl(*rangeGrid_, kMinCol, kYRow);
  limit.yMax = SpreadGetDbl(*rangeGrid_, kMaxCol, kYRow);
  limit.Order();
}

void CCmdStabArcDlg::Apply() {
  for (CCmdStabArcTypeDlg* page : pages_) page->StoreSetting();
  condition_.kind = tabs_->currentIndex();
  StoreRange();
  const std::vector<CSpStratumBlock*> strata = Strata();
  for (std::size_t i = 0; i < strata.size(); ++i) {
    SetNotPassSwitch(*strata[i], SpreadGetInt(*strataGrid_, 1, static_cast<int>(i) + 1) > 0);
  }
  RedrawSection();
}

std::string CCmdStabArcDlg::SettingProblem() const {
  const CArcSetRadius* const set = condition_.GetSelectArcSet();
  if (set == nullptr) return {};
  const KindGrids& grids = kKindGrids.at(static_cast<std::size_t>(condition_.kind));
  switch (set->IsSettingNormal()) {
    case kSettingIncomplete:
      return Bracketed(grids.centre) + "の値が不足しているか、ピッチが 0 以下です。";
    case kSettingBadStep:
      return Bracketed(grids.radius) + "のピッチには 0 より大きい値を設定して下さい。";
    case kSettingBadRadius:
      return Bracketed(grids.radius) + "の開始と終了が正しくありません。";
    case kSettingSamePoints:
      return Bracketed(grids.points) + "の2点が同じ位置にあります。";
    default:
      return {};
  }
}

bool CCmdStabArcDlg::StrataChanged() const {
  const std::vector<CSpStratumBlock*> strata = Strata();
  for (std::size_t i = 0; i < strata.size() && i < openedSwitches_.size(); ++i) {
    if (NotPassSwitch(*strata[i]) != openedSwitches_[i]) return true;
  }
  return false;
}

void CCmdStabArcDlg::EndMouseEditing() {
  case_.SetCurArcCondMouseMove(CArcCondition::kEditNone, 0);
  case_.SetCurArcCond(nullptr);
  case_.SetMouseEdit(false);
  case_.ResetMouseMove();
}

void CCmdStabArcDlg::PassSwitchesToDivision() {
  CDPolyArray* const divided = case_.GetGroundDiv().GetPolyArray();
  CDPolyArray* const strata = case_.GetDanmen().GetTisoBlockArray();
  if (case_.IsStratumBlockMode() == 0 || divided == nullptr || strata == nullptr) return;
  const int selected = strata->GetActiveShapeID();  // FindPolygon moves the selection
  for (int i = 0; i < divided->GetSize(); ++i) {
    auto* copy = dynamic_cast<CSpStratumBlock*>(divided->GetAt(i));
    if (copy == nullptr) continue;
    const CDPoint inner = copy->CalcInnerPoint();
    if (const auto* source = dynamic_cast<const CSpStratumBlock*>(strata->FindPolygon(&inner))) {
      SetNotPassSwitch(*copy, NotPassSwitch(*source));
    }
  }
  strata->SetActiveShapeID(selected);
}

void CCmdStabArcDlg::OnOK() {
  Apply();
  if (const std::string problem = SettingProblem(); !problem.empty()) {
    Ui().MessageBox(problem, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  const bool strataChanged = StrataChanged();
  if (strataChanged || !condition_.IsSame(&opened_)) case_.SetArcChanged();
  if (strataChanged) {
    PassSwitchesToDivision();
    case_.MarkEdited();
  }
  EndMouseEditing();
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_ARC_CLOSE, 1, 0);
}

void CCmdStabArcDlg::OnCancel() {
  condition_.Copy(&opened_);
  const std::vector<CSpStratumBlock*> strata = Strata();
  for (std::size_t i = 0; i < strata.size() && i < openedSwitches_.size(); ++i) {
    SetNotPassSwitch(*strata[i], openedSwitches_[i]);
  }
  EndMouseEditing();
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_ARC_CLOSE, 0, 0);
}

void CCmdStabArcDlg::SetPoint(double x, double y) {
  if (!mouse_->isChecked() || (mouseTarget_ != 1 && mouseTarget_ != 2)) return;
  Page(tabs_->currentIndex()).OnPointInput(x, y);
}

void CCmdStabArcDlg::SetMouseTarget(int target) {
  Page(tabs_->currentIndex()).SetMouseTarget(target);
  mouseTarget_ = target;
  RedrawSection();
}

void CCmdStabArcDlg::OnGridEnter(CSheetGrid& grid) {
  if (!Page(tabs_->currentIndex()).OnGridEnter(grid)) StageDialog::OnGridEnter(grid);
}

void CCmdStabArcDlg::showEvent(QShowEvent* event) {
  StageDialog::showEvent(event);
  if (event->spontaneous()) return;
  case_.SetMouseEdit(mouse_->isChecked());
  SetMouseTarget(mouseTarget_);
  ShowLineCounts();
}

void CCmdStabArcDlg::OnTabChanged(int index) {
  if (initialising_ || index == condition_.kind) return;
  condition_.kind = index;
  Page(index).setFocus();
  SetMouseTarget(CCmdStabArcTypeDlg::kTargetFirst);
  case_.ResetMouseMove();
}

void CCmdStabArcDlg::OnCopyPrevious() {
  if (previous_ == nullptr) return;
  // The strata carry one switch, that of condition index 1: nothing of theirs is copied.
  condition_.Copy(previous_);
  initialising_ = true;
  tabs_->setCurrentIndex(condition_.kind);
  ShowAllSettings();
  initialising_ = false;
  RedrawSection();
}
