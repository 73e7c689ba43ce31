#include "stage/dialogs/CmdDrainArrangeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/deformation/Reinforce.h"
#include "core/section/SpGround.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"

namespace {

constexpr int kWidthDlu = 330;
constexpr int kHeightDlu = 330;

constexpr Color kShown{0xB8FFFF};
constexpr Color kNextPoint{0xEDFFA5};
constexpr Color kWhite{0xFFFFFF};
constexpr Color kGrey{0xCFCFCF};
constexpr Color kHeader{0xFFFFDB};

constexpr int kCellDecimals = 4;
constexpr int kDrillDecimals = 1;
constexpr int kUpperRow = 1;
constexpr int kLowerRow = 2;

// Bar grid columns.
constexpr int kBarNumberCol = 1;
constexpr int kBarNameCol = 2;
constexpr int kBarDrillCol = 3;
constexpr int kBarXCol = 4;
constexpr int kBarLastCol = 9;
constexpr const char* kBarHeaders[] = {"No",
                                       "材質",
                                       "削孔径\nD(mm)",
                                       "距離\nX(m)",
                                       "標高\nY(m)",
                                       "水平\n間隔\nSH(m)",
                                       "打設\n角度\nα(°)",
                                       "全長\nLRB\n(m)",
                                       "余長\n(m)"};

constexpr const char* kArrangeCaption = "ロックボルトの配置";

bool Ask(const std::string& text, const char* caption) {
  return Ui().MessageBox(text, caption, MsgButtons::OkCancel, MsgIcon::Question) == MsgResult::Ok;
}

void ShowOnly(CExpEdit* field) {
  field->SetReadOnlyColor(kShown);
  field->SetReadOnly(true);
}

int IntOf(const CExpEdit& field) {
  const double value = field.GetDouble();
  return value == kNoValueInt || value == kNoValue ? kNoValueInt : static_cast<int>(value);
}

QString CellText(double value) { return QString::fromStdString(DblToText(kCellDecimals, value)); }

// The number in the cell; a cell that still shows `held` gives it exactly, text that is not a
// number keeps it.
double CellValue(const CSheetGrid& grid, int col, int row, double held) {
  return ReadCellNumber(grid, col, row, kCellDecimals, held).value_or(held);
}

void EnableAll(const QList<QLabel*>& labels, bool enabled) {
  for (QLabel* label : labels) label->setEnabled(enabled);
}

}  // namespace

CCmdDrainArrangeDlg* CCmdDrainArrangeDlg::Open(CCase& target, QWidget* parent) {
  return new CCmdDrainArrangeDlg(target, parent);
}

CCmdDrainArrangeDlg::CCmdDrainArrangeDlg(CCase& target, QWidget* parent)
    : StageDialog(parent), case_(target) {
  setObjectName(QStringLiteral("CCmdDrainArrangeDlg"));
  setWindowTitle(QStringLiteral("対策工配置"));
  work_.Copy(target.GetPrmReinf());
  opened_.Copy(target.GetReinfArrange());
  target.SetCurPrmReinf(&work_);

  BuildControls();
  BuildLayout();
  ConnectControls();

  conditions_->setChecked(work_.arrangeCheck != 0);
  mouse_->setChecked(true);
  for (const CReinfRange& range : work_.ranges)
    rangeList_->addItem(QString::fromStdString(range.name));
  rangeList_->setCurrentIndex(0);
  ShowRange();
  FillBarGrid();
}

void CCmdDrainArrangeDlg::BuildControls() {
  // Created in the order of the focus chain.
  conditions_ = new QCheckBox(QStringLiteral("ロックボルトの配置条件を入力する"));
  SetId(conditions_, 6256);
  rangeLabel_ = MakeLabel("配置範囲");
  rangeList_ = new QComboBox;
  SetId(rangeList_, 6202);
  clearRange_ = MakeButton("範囲クリア", 6205);

  rangeGrid_ = new CSheetGrid;
  SetId(rangeGrid_, 6235);
  rangeGrid_->SetHeaderBackColor(kHeader);
  rangeGrid_->SetMaxCols(2);
  rangeGrid_->SetMaxRows(2);
  rangeGrid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("X (m)"));
  rangeGrid_->SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("Y (m)"));
  rangeGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow),
                      QStringLiteral("ﾏｳｽ可"));
  rangeGrid_->SetDecimalPlaces(SheetBlock(1, 1, 2, 2), kCellDecimals);
  rangeGrid_->SetColWidth(1, 100);
  rangeGrid_->SetColWidth(2, 100);
  rangeGrid_->setFixedSize(
      rangeGrid_->verticalHeader()->sizeHint().width() + 200 + 2 * rangeGrid_->frameWidth() + 2,
      rangeGrid_->horizontalHeader()->sizeHint().height() + rangeGrid_->verticalHeader()->length() +
          2 * rangeGrid_->frameWidth() + 2);

  mouse_ = new QCheckBox(QStringLiteral("マウス入力  (+SHIFTキーで点選択)"));
  SetId(mouse_, 6244);
  slopeLength_ = MakeDecimalField(6227, 0.0, 99999.999, 9, 3);
  ShowOnly(slopeLength_);
  rows_ = MakeIntegerField(6234, 1, 99, 2);
  alpha_ = MakeDecimalField(6238, -90.0, 90.0, 6, 1);
  perpendicular_ = new QCheckBox(QStringLiteral("のり面に直角"));
  SetId(perpendicular_, 6255);
  lrb_ = MakeDecimalField(6239, 0.01, 99.99, 5, 2);
  extra_ = MakeDecimalField(6240, 0.0, 9.99, 4, 2);
  sh_ = MakeDecimalField(6232, 0.01, 9.99, 4, 2);
  sv_ = MakeDecimalField(6233, 0.01, 9.99, 4, 2);
  fromUpper_ = new QRadioButton(QStringLiteral("上端側から割付"));
  SetId(fromUpper_, 6236);
  fromLower_ = new QRadioButton(QStringLiteral("下端側から割付"));
  SetId(fromLower_, 6237);
  fixedUpper_ = MakeDecimalField(6228, 0.0, 99.999, 6, 3);
  fixedLower_ = MakeDecimalField(6229, 0.0, 99.999, 6, 3);
  arrange_ = MakeButton("↓ ロックボルトの配置", 6242);
  clearBars_ = MakeButton("配置クリア", 6251);
  total_ = MakeIntegerField(6241, 0, 999, 3);
  total_->setMaximumWidth(QFontMetrics(total_->font()).averageCharWidth() * 8);
  ShowOnly(total_);

  barGrid_ = new CSheetGrid;
  SetId(barGrid_, 6243);
  barGrid_->SetHeaderBackColor(kHeader);
  barGrid_->SetLockBackColor(kShown);
  barGrid_->SetMaxCols(kBarLastCol);
  barGrid_->SetMaxRows(0);
  int col = 1;
  for (const char* header : kBarHeaders) {
    barGrid_->SetText(SheetBlock(col++, CSheetGrid::kHeaderRow), QString::fromUtf8(header));
  }
  barGrid_->SetColWidth(kBarNameCol, 110);
}

void CCmdDrainArrangeDlg::BuildLayout() {
  rangeLabels_ = {
      MakeLabel("のり長"),   MakeLabel("(m)"),  MakeLabel("範囲内の"), MakeLabel("施工段数"),
      MakeLabel("打設角度"), MakeLabel("α ="),  MakeLabel("(°)"),      MakeLabel("ロックボルト長"),
      MakeLabel("LRB ="),    MakeLabel("(m)"),  MakeLabel("余長 ="),   MakeLabel("(m)"),
      MakeLabel("水平間隔"), MakeLabel("SH ="), MakeLabel("(m)"),      MakeLabel("縦間隔　(斜長)"),
      MakeLabel("SV ="),     MakeLabel("(m)"),  MakeLabel("配置間隔")};
  fixedUpperLabels_ = {MakeLabel("固定長 ="), MakeLabel("(m)")};
  fixedLowerLabels_ = {MakeLabel("固定長 ="), MakeLabel("(m)")};

  auto* top = new QHBoxLayout;
  top->addWidget(rangeLabel_);
  top->addWidget(rangeList_);
  top->addWidget(clearRange_);
  top->addStretch();

  auto* form = new QGridLayout;
  const QList<QLabel*>& l = rangeLabels_;
  int row = 0;
  form->addWidget(l[0], row, 0);
  form->addWidget(slopeLength_, row, 2);
  form->addWidget(l[1], row++, 3);
  form->addWidget(l[2], row, 0);
  form->addWidget(l[3], row, 1);
  form->addWidget(rows_, row++, 2);
  form->addWidget(l[4], row, 0);
  form->addWidget(l[5], row, 1);
  form->addWidget(alpha_, row, 2);
  form->addWidget(l[6], row, 3);
  form->addWidget(perpendicular_, row++, 4);
  form->addWidget(l[7], row, 0);
  form->addWidget(l[8], row, 1);
  form->addWidget(lrb_, row, 2);
  form->addWidget(l[9], row++, 3);
  form->addWidget(l[10], row, 1);
  form->addWidget(extra_, row, 2);
  form->addWidget(l[11], row++, 3);
  form->addWidget(l[12], row, 0);
  form->addWidget(l[13], row, 1);
  form->addWidget(sh_, row, 2);
  form->addWidget(l[14], row++, 3);
  form->addWidget(l[15], row, 0);
  form->addWidget(l[16], row, 1);
  form->addWidget(sv_, row, 2);
  form->addWidget(l[17], row++, 3);
  form->addWidget(l[18], row, 0);
  form->addWidget(fromUpper_, row, 1, 1, 2);
  form->addWidget(fixedUpperLabels_[0], row, 3);
  form->addWidget(fixedUpper_, row, 4);
  form->addWidget(fixedUpperLabels_[1], row++, 5);
  form->addWidget(fromLower_, row, 1, 1, 2);
  form->addWidget(fixedLowerLabels_[0], row, 3);
  form->addWidget(fixedLower_, row, 4);
  form->addWidget(fixedLowerLabels_[1], row++, 5);
  form->setColumnStretch(6, 1);

  auto* ranges = new QGroupBox;
  auto* rangeBox = new QVBoxLayout(ranges);
  rangeBox->addWidget(conditions_);
  rangeBox->addLayout(top);
  rangeBox->addWidget(rangeGrid_, 0, Qt::AlignLeft);
  rangeBox->addWidget(mouse_);
  rangeBox->addLayout(form);

  auto* barRow = new QHBoxLayout;
  barRow->addWidget(arrange_);
  barRow->addWidget(clearBars_);
  barRow->addStretch();
  barRow->addWidget(MakeLabel("施工段数(全範囲)"));
  barRow->addWidget(total_);

  QHBoxLayout* const buttons = MakeOkCancelRow().layout;

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ranges);
  layout->addLayout(barRow);
  layout->addWidget(barGrid_, 1);
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
}

void CCmdDrainArrangeDlg::ConnectControls() {
  connect(rangeList_, &QComboBox::activated, this, &CCmdDrainArrangeDlg::OnRangeSelected);
  connect(clearRange_, &QPushButton::clicked, this, &CCmdDrainArrangeDlg::OnClearRange);
  connect(conditions_, &QCheckBox::clicked, this, [this] {
    work_.arrangeCheck = conditions_->isChecked() ? 1 : 0;
    EnableControls();
  });
  connect(perpendicular_, &QCheckBox::clicked, this, &CCmdDrainArrangeDlg::EnableControls);
  for (QRadioButton* side : {fromUpper_, fromLower_}) {
    connect(side, &QRadioButton::clicked, this, &CCmdDrainArrangeDlg::EnableControls);
  }
  connect(arrange_, &QPushButton::clicked, this, &CCmdDrainArrangeDlg::OnArrange);
  connect(clearBars_, &QPushButton::clicked, this, &CCmdDrainArrangeDlg::OnClearBars);
  connect(rangeGrid_, &CSheetGrid::Change, this, &CCmdDrainArrangeDlg::OnRangePointsEdited);
  connect(rangeGrid_, &CSheetGrid::LeaveCell, this, &CCmdDrainArrangeDlg::OnRangeLeaveCell);
  connect(rangeGrid_, &CSheetGrid::KeyDown, this, &CCmdDrainArrangeDlg::OnRangeKeyDown);
  connect(barGrid_, &CSheetGrid::Change, this, &CCmdDrainArrangeDlg::OnBarChanged);
  connect(barGrid_, &CSheetGrid::LeaveCell, this, &CCmdDrainArrangeDlg::OnBarLeaveCell);
}

const CSpGround& CCmdDrainArrangeDlg::Ground() const {
  return case_.IsStratumBlockMode() != 0 ? case_.GetGroundDiv() : case_.GetGround();
}

void CCmdDrainArrangeDlg::ShowRange() {
  CReinfRange& range = work_.ranges.at(static_cast<std::size_t>(current_));
  rangeGrid_->SetText(SheetBlock(1, kUpperRow), CellText(range.start.x));
  rangeGrid_->SetText(SheetBlock(2, kUpperRow), CellText(range.start.y));
  rangeGrid_->SetText(SheetBlock(1, kLowerRow), CellText(range.end.x));
  rangeGrid_->SetText(SheetBlock(2, kLowerRow), CellText(range.end.y));
  perpendicular_->setChecked(range.inclinationMode == CReinfRange::kInclinePerpendicular);
  rows_->SetInt(range.rowCount);
  alpha_->SetDouble(range.alpha);
  lrb_->SetDouble(range.lrb);
  extra_->SetDouble(range.extraLength);
  sh_->SetDouble(range.sh);
  sv_->SetDouble(range.pitches[CReinfRange::kMeasureSlope]);
  fromUpper_->setChecked(range.startSide == CReinfRange::kSideUpper);
  fromLower_->setChecked(range.startSide != CReinfRange::kSideUpper);
  fixedUpper_->SetDouble(range.offsets[CReinfRange::kMeasureSlope]);
  fixedLower_->SetDouble(range.offsets[2 + CReinfRange::kMeasureSlope]);

  work_.SetRangeNonActive();
  range.active = true;
  RedrawSection();
  ShowSlopeLength();
  EnableControls();
}

void CCmdDrainArrangeDlg::ReadRange() {
  CReinfRange& range = work_.ranges.at(static_cast<std::size_t>(current_));
  range.start.x = CellValue(*rangeGrid_, 1, kUpperRow, range.start.x);
  range.start.y = CellValue(*rangeGrid_, 2, kUpperRow, range.start.y);
  range.end.x = CellValue(*rangeGrid_, 1, kLowerRow, range.end.x);
  range.end.y = CellValue(*rangeGrid_, 2, kLowerRow, range.end.y);
  range.inclinationMode =
      perpendicular_->isChecked() ? CReinfRange::kInclinePerpendicular : CReinfRange::kInclineFixed;
  range.rowCount = IntOf(*rows_);
  range.alpha = alpha_->GetDoubleKeeping(range.alpha);
  range.lrb = lrb_->GetDoubleKeeping(range.lrb);
  range.extraLength = extra_->GetDoubleKeeping(range.extraLength);
  range.sh = sh_->GetDoubleKeeping(range.sh);
  double& pitch = range.pitches[CReinfRange::kMeasureSlope];
  pitch = sv_->GetDoubleKeeping(pitch);
  range.startSide = fromUpper_->isChecked() ? CReinfRange::kSideUpper : CReinfRange::kSideLower;
  double& upper = range.offsets[CReinfRange::kMeasureSlope];
  upper = fixedUpper_->GetDoubleKeeping(upper);
  double& lower = range.offsets[2 + CReinfRange::kMeasureSlope];
  lower = fixedLower_->GetDoubleKeeping(lower);
}

void CCmdDrainArrangeDlg::ShowSlopeLength() {
  const CReinfRange& range = work_.ranges.at(static_cast<std::size_t>(current_));
  slopeLength_->SetDouble(range.GetSlopeLen(CReinfRange::kMeasureSlope, &Ground()));
}

void CCmdDrainArrangeDlg::MarkRangeGrid() {
  const bool on = conditions_->isChecked();
  const Color idle = on ? kWhite : kGrey;
  const bool upperNext = nextPoint_ == 0;
  rangeGrid_->SetBackColor(SheetBlock(1, kUpperRow, 2, kUpperRow), upperNext ? kNextPoint : idle);
  rangeGrid_->SetBackColor(SheetBlock(1, kLowerRow, 2, kLowerRow), upperNext ? idle : kNextPoint);
  rangeGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, kUpperRow),
                      upperNext ? QStringLiteral("上端 *") : QStringLiteral("上端点"));
  rangeGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, kLowerRow),
                      upperNext ? QStringLiteral("下端点") : QStringLiteral("下端 *"));
}

void CCmdDrainArrangeDlg::SetNextPoint(int next) {
  nextPoint_ = next;
  MarkRangeGrid();
}

void CCmdDrainArrangeDlg::EnableControls() {
  const bool on = conditions_->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{
           rangeLabel_, rangeList_, clearRange_, rangeGrid_, mouse_, slopeLength_, rows_,
           perpendicular_, lrb_, extra_, sh_, sv_, fromUpper_, fromLower_, arrange_, clearBars_}) {
    control->setEnabled(on);
  }
  EnableAll(rangeLabels_, on);
  alpha_->setEnabled(on && !perpendicular_->isChecked());
  const bool upper = fromUpper_->isChecked();
  fixedUpper_->setEnabled(on && upper);
  EnableAll(fixedUpperLabels_, on && upper);
  fixedLower_->setEnabled(on && !upper);
  EnableAll(fixedLowerLabels_, on && !upper);
  MarkRangeGrid();
}

void CCmdDrainArrangeDlg::SetPoint(double x, double y) {
  if (!conditions_->isChecked() || !mouse_->isChecked()) return;
  const int row = nextPoint_ == 0 ? kUpperRow : kLowerRow;
  rangeGrid_->SetText(SheetBlock(1, row), CellText(x));
  rangeGrid_->SetText(SheetBlock(2, row), CellText(y));
  const int next = 1 - nextPoint_;
  rangeGrid_->SetActiveCell(1, next == 0 ? kUpperRow : kLowerRow);
  SetNextPoint(next);
  OnRangePointsEdited();
}

void CCmdDrainArrangeDlg::OnRangePointsEdited() {
  ReadRange();
  ShowSlopeLength();
  RedrawSection();
}

void CCmdDrainArrangeDlg::OnRangeLeaveCell(int /*col*/, int /*row*/, int /*newCol*/, int newRow,
                                           bool* /*cancel*/) {
  if (newRow == kUpperRow || newRow == kLowerRow) SetNextPoint(newRow == kUpperRow ? 0 : 1);
}

void CCmdDrainArrangeDlg::OnRangeKeyDown(int* keyCode, int /*shift*/) {
  // The grid has emptied the selected cells; within a cell's editor the key stays there.
  if (*keyCode == kKeyDelete && !rangeGrid_->EditMode()) OnRangePointsEdited();
}

void CCmdDrainArrangeDlg::OnGridEnter(CSheetGrid& grid) {
  StageDialog::OnGridEnter(grid);
  if (&grid != rangeGrid_) return;
  const int row = rangeGrid_->ActiveRow();
  if (row == kUpperRow || row == kLowerRow) SetNextPoint(row == kUpperRow ? 0 : 1);
}

void CCmdDrainArrangeDlg::OnRangeSelected(int index) {
  ReadRange();
  current_ = index;
  ShowRange();
}

void CCmdDrainArrangeDlg::OnClearRange() {
  CReinfRange& range = work_.ranges.at(static_cast<std::size_t>(current_));
  const std::string text = "[" + range.name + "] のデータをクリアします。よろしいですか？";
  if (!Ask(text, "範囲クリア")) return;
  range.Init();
  ShowRange();
}

void CCmdDrainArrangeDlg::OnArrange() {
  ReadRange();
  const CSpGround& ground = Ground();
  std::string problems;
  bool anyFits = false;
  for (const CReinfRange& range : work_.ranges) {
    if (!range.IsValid()) continue;
    if (range.IsArrangeSlope(&ground)) {
      anyFits = true;
    } else {
      problems += "[" + range.name + "]： " + std::to_string(range.rowCount) +
                  "段のロックボルトを配置するには、のり長が不足しています。\n";
    }
  }
  if (!problems.empty() && !anyFits)
    problems += "現在の配置条件ではロックボルトの配置が行えません。";
  if (!problems.empty()) {
    Ui().MessageBox(problems + "\n配置条件を見直してください。", kArrangeCaption, MsgButtons::Ok,
                    MsgIcon::None);
    return;
  }
  if (!Ask("設定した配置条件から [ロックボルトの配置] を作成します。\nよろしいですか？",
           kArrangeCaption)) {
    return;
  }
  CreateBars();
  FillBarGrid();
  RedrawSection();
}

void CCmdDrainArrangeDlg::CreateBars() {
  const CSpGround& ground = Ground();
  const int side = case_.IsRightUpper() ? CReinforce::kSidePlusX : CReinforce::kSideMinusX;
  const int direction = case_.GetPrmJobsite().direction;
  CReinfArrange& arrange = case_.GetReinfArrange();
  arrange.RemoveAll();
  for (const CReinfRange& range : work_.ranges) {
    if (!range.IsValid()) continue;
    for (const CDPoint& head : range.GetArrangePoint(&ground)) {
      const double alpha = range.inclinationMode == CReinfRange::kInclineFixed
                               ? range.alpha
                               : ground.GetHkAngle(&head, direction);
      auto bar = std::make_unique<CReinforce>();
      bar->SetParam(side, 0, head, range.sh, alpha, range.lrb, range.extraLength);
      arrange.Add(std::move(bar));
    }
  }
  arrange.Normalize(side);
}

void CCmdDrainArrangeDlg::OnClearBars() {
  if (!Ask("配置したロックボルトをクリアします。\nよろしいですか？", "ロックボルトのクリア")) {
    return;
  }
  case_.GetReinfArrange().RemoveAll();
  FillBarGrid();
  RedrawSection();
}

void CCmdDrainArrangeDlg::FillBarGrid() {
  const CReinfArrange& arrange = case_.GetReinfArrange();
  const CReinfStdBar& bar = case_.GetPrmReinf().stdBar;
  const int count = arrange.GetSize();
  barGrid_->SetMaxRows(count);
  for (int i = 0; i < count; ++i) {
    const CReinforce& b = *arrange.GetAt(i);
    const int row = i + 1;
    barGrid_->SetText(SheetBlock(kBarNumberCol, row), QString::number(b.number));
    barGrid_->SetText(SheetBlock(kBarNameCol, row), QString::fromStdString(bar.name));
    barGrid_->SetText(SheetBlock(kBarDrillCol, row),
                      QString::fromStdString(DblToText(kDrillDecimals, bar.drillD)));
    const double values[] = {b.head.x, b.head.y, b.sh, b.alpha, b.length, b.extraLength};
    int col = kBarXCol;
    for (const double value : values) barGrid_->SetText(SheetBlock(col++, row), CellText(value));
  }
  if (count > 0) {
    barGrid_->SetLock(SheetBlock(kBarNumberCol, 1, kBarDrillCol, count), true);
    barGrid_->SetDecimalPlaces(SheetBlock(kBarXCol, 1, kBarLastCol, count), kCellDecimals);
    barGrid_->SetActiveCell(1, 1);
    case_.GetReinfArrange().SetReinfActive(0);
  }
  total_->SetInt(count);
}

void CCmdDrainArrangeDlg::ReadBarRow(int row) {
  CReinfArrange& arrange = case_.GetReinfArrange();
  if (row < 1 || row > arrange.GetSize()) return;
  CReinforce& bar = *arrange.GetAt(row - 1);
  double* const values[] = {&bar.head.x, &bar.head.y, &bar.sh,
                            &bar.alpha,  &bar.length, &bar.extraLength};
  int col = kBarXCol;
  for (double* value : values) {
    *value = CellValue(*barGrid_, col++, row, *value);
  }
}

void CCmdDrainArrangeDlg::OnBarChanged(int col, int row) {
  if (col < kBarXCol || col > kBarLastCol) return;
  ReadBarRow(row);
  RedrawSection();
}

void CCmdDrainArrangeDlg::OnBarLeaveCell(int /*col*/, int row, int /*newCol*/, int newRow,
                                         bool* /*cancel*/) {
  if (newRow == row) return;
  case_.GetReinfArrange().SetReinfActive(newRow - 1);
  RedrawSection();
}

void CCmdDrainArrangeDlg::ReadControls() {
  work_.arrangeCheck = conditions_->isChecked() ? 1 : 0;
  ReadRange();
  for (int row = 1; row <= case_.GetReinfArrange().GetSize(); ++row) ReadBarRow(row);
}

bool CCmdDrainArrangeDlg::BarsChanged() const { return !case_.GetReinfArrange().IsSame(opened_); }

bool CCmdDrainArrangeDlg::ConditionsChanged() const { return !work_.IsSame(case_.GetPrmReinf()); }

bool CCmdDrainArrangeDlg::HasUnappliedChanges() {
  ReadControls();
  return BarsChanged() || ConditionsChanged();
}

void CCmdDrainArrangeDlg::OnOK() {
  ReadControls();
  const bool barsChanged = BarsChanged();
  if (barsChanged || ConditionsChanged()) {
    case_.MarkEdited();
    case_.GetPrmReinf().Copy(work_);
    case_.CalcArrangeH();
    // The deformation calculations read the bars; the ranges only lay them out.
    if (barsChanged) case_.ClearResultsReading(CalcInput::kBarArrangement);
  }
  Close(true);
}

void CCmdDrainArrangeDlg::OnCancel() {
  case_.GetReinfArrange().Copy(opened_);
  Close(false);
}

void CCmdDrainArrangeDlg::Close(bool ok) {
  work_.SetRangeNonActive();
  case_.GetReinfArrange().SetReinfActive(-1);
  case_.SetDrawPtr();
  Ui().SendToFrame(FrameMsg::WM_CMD_SLIDE_ARRANGE_CLOSE, ok ? 1 : 0, 0);
}
