#include "stage/dialogs/CmdStabArcTypeDlg.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <string>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/circle/ArcSet.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/controls/StageDialog.h"

namespace {

constexpr int kDecimals = 4;
constexpr int kClickDecimals = 3;
constexpr Color kMarked{0xC0FFFF};
constexpr Color kWhite{0xFFFFFF};
constexpr Color kReference{0xFFFFDB};
constexpr const char* kMouseCorner = "ﾏｳｽ可";
constexpr int kCentreCode = 231;
constexpr int kPointCode = 993;
constexpr int kXRow = 1;
constexpr int kYRow = 2;
constexpr int kPitchCol = 3;
constexpr int kColWidth = 90;

const std::string kTooManyCentres = "円弧中心の数が多すぎます(上限 " +
                                    std::to_string(kMaxSearchCentres) +
                                    " 点)。\n範囲またはピッチを見直して下さい。";

constexpr const char* kPolygonNotOffered = "多角形による中心範囲の入力は提供していません。";

void SetCorner(CSheetGrid& grid, const char* text) {
  grid.SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow),
               QString::fromUtf8(text));
}

double Cell(const CSheetGrid& grid, int col, int row) { return SpreadGetDbl(grid, col, row); }

void SetCell(CSheetGrid& grid, int col, int row, double value, int decimals = kDecimals) {
  SpreadSetDbl(grid, col, row, decimals, {}, value);
}

// A range row of three values: start, end and pitch.
void ShowRange(CSheetGrid& grid, int row, double from, double to, double pitch) {
  SetCell(grid, 1, row, from);
  SetCell(grid, 2, row, to);
  SetCell(grid, kPitchCol, row, pitch);
}

void StoreRange(const CSheetGrid& grid, int row, double& from, double& to, double& pitch) {
  from = Cell(grid, 1, row);
  to = Cell(grid, 2, row);
  pitch = Cell(grid, kPitchCol, row);
}

void ShowPoint(CSheetGrid& grid, int col, const CDPoint& p) {
  SetCell(grid, col, kXRow, p.x);
  SetCell(grid, col, kYRow, p.y);
}

CDPoint StoredPoint(const CSheetGrid& grid, int col) {
  return {Cell(grid, col, kXRow), Cell(grid, col, kYRow)};
}

// Half up to 0.001, 0 and the unset value as they are: the rounding of the two pass points.
double RoundHalfUpToMillimetre(double v) {
  if (v == 0 || v == kNoValue) return v;
  return std::floor((v * 10000 + 5) / 10) * 0.001;
}

QLabel* Caption(const char* text) { return MakeLabel(text); }

}  // namespace

// ---- TwoPointGrid ----

TwoPointGrid::TwoPointGrid(CSheetGrid* grid, std::array<const char*, 2> headers, const char* mark)
    : grid_(grid), headers_(headers), mark_(mark) {}

void TwoPointGrid::Mark(bool marked) const {
  for (int col = 1; col <= 2; ++col) {
    const bool isNext = marked && col - 1 == next_;
    QString header = QString::fromUtf8(headers_[static_cast<std::size_t>(col - 1)]);
    if (isNext) header += QString::fromUtf8(mark_);
    grid_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow), header);
    grid_->SetBackColor(SheetBlock(col, kXRow, col, kYRow), isNext ? kMarked : kWhite);
  }
}

void TwoPointGrid::Fill(double x, double y) {
  const int col = next_ + 1;
  SetCell(*grid_, col, kXRow, x, kClickDecimals);
  SetCell(*grid_, col, kYRow, y, kClickDecimals);
  next_ = 1 - next_;
  grid_->SetActiveCell(next_ + 1, kXRow);
  Mark(true);
}

// ---- CCmdStabArcTypeDlg ----

CCmdStabArcTypeDlg::CCmdStabArcTypeDlg(CCase& target, CArcSetRadius& set, QWidget* parent)
    : QWidget(parent), case_(target), set_(set) {}

CSheetGrid* CCmdStabArcTypeDlg::MakeGrid(int id, std::initializer_list<const char*> columns,
                                         std::initializer_list<const char*> rows) {
  auto* grid = new CSheetGrid;
  SetId(grid, id);
  grid->SetMaxCols(static_cast<int>(columns.size()));
  grid->SetMaxRows(static_cast<int>(rows.size()));
  int col = 1;
  for (const char* header : columns) {
    grid->SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(header));
    grid->SetColWidth(col++, kColWidth);
  }
  int row = 1;
  for (const char* label : rows) {
    grid->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, row++), QString::fromUtf8(label));
  }
  grid->SetDecimalPlaces(SheetBlock(1, 1, grid->MaxCols(), grid->MaxRows()), kDecimals);
  grid->setFixedSize(grid->verticalHeader()->sizeHint().width() + kColWidth * grid->MaxCols() +
                         2 * grid->frameWidth() + 2,
                     grid->horizontalHeader()->sizeHint().height() +
                         grid->verticalHeader()->length() + 2 * grid->frameWidth() + 2);
  return grid;
}

void CCmdStabArcTypeDlg::MakeCentreControls() {
  MakeCentreGrid();
  maskOn_ = new QCheckBox(QStringLiteral("中心範囲を多角形で規制"));
  SetId(maskOn_, 5233);
  maskInput_ = MakeButton("多角形入力", 5234);
  // Nothing enters a mask polygon: the button stays off and says so.
  maskInput_->setEnabled(false);
  maskInput_->setToolTip(QString::fromUtf8(kPolygonNotOffered));
}

void CCmdStabArcTypeDlg::MakeCentreGrid() {
  centre_ = TwoPointGrid(MakeGrid(5232, {"開始", "終了", "ピッチ"}, {"X座標", "Y座標"}),
                         {"開始", "終了"}, " *");
  CSheetGrid* grid = &centre_.Grid();
  StoreOnEdit(*grid);
  connect(grid, &CSheetGrid::MouseDown, this, [this] { emit MouseTargetRequested(kTargetFirst); });
  ConnectCentreLeave();
}

void CCmdStabArcTypeDlg::AddCentreSection(QVBoxLayout& layout) {
  layout.addWidget(Caption("円弧中心範囲(画面上でマウス入力できます)"));
  layout.addWidget(&centre_.Grid());
  auto* mask = new QHBoxLayout;
  mask->addWidget(maskOn_);
  mask->addWidget(maskInput_);
  mask->addStretch();
  layout.addLayout(mask);
}

void CCmdStabArcTypeDlg::ConnectCentreLeave() {
  connect(&centre_.Grid(), &CSheetGrid::LeaveCell, this, [this](int, int, int newCol, int, bool*) {
    if (target_ == kTargetFirst && (newCol == 1 || newCol == 2)) {
      centre_.SetNext(newCol - 1);
      centre_.Mark(true);
      FollowCentre();
      CapCentre();
    }
    RedrawSection();
  });
}

void CCmdStabArcTypeDlg::ShowCentre() {
  const CCenterMesh& mesh = set_.mesh;
  CSheetGrid& grid = centre_.Grid();
  ShowRange(grid, kXRow, mesh.x1, mesh.x2, mesh.dx);
  ShowRange(grid, kYRow, mesh.y1, mesh.y2, mesh.dy);
  maskOn_->setChecked(set_.maskOn != 0);
}

void CCmdStabArcTypeDlg::StoreCentre() {
  set_.maskOn = maskOn_->isChecked() ? 1 : 0;
  CCenterMesh read;
  const CSheetGrid& grid = centre_.Grid();
  StoreRange(grid, kXRow, read.x1, read.x2, read.dx);
  StoreRange(grid, kYRow, read.y1, read.y2, read.dy);
  read.Normalize();
  CCenterMesh& mesh = set_.mesh;
  if (read.CountNodes() > kMaxSearchCentres) {
    // The flags of every centre would be built and drawn: the range keeps its values.
    Ui().MessageBox(kTooManyCentres, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    ShowRange(centre_.Grid(), kXRow, mesh.x1, mesh.x2, mesh.dx);
    ShowRange(centre_.Grid(), kYRow, mesh.y1, mesh.y2, mesh.dy);
    return;
  }
  mesh.x1 = read.x1;
  mesh.x2 = read.x2;
  mesh.dx = read.dx;
  mesh.y1 = read.y1;
  mesh.y2 = read.y2;
  mesh.dy = read.dy;
}

void CCmdStabArcTypeDlg::CapCentre() {
  const CSheetGrid& grid = centre_.Grid();
  set_.SetPointCap({Cell(grid, 1, kXRow), Cell(grid, 1, kYRow)},
                   {Cell(grid, 2, kXRow), Cell(grid, 2, kYRow)});
}

void CCmdStabArcTypeDlg::FollowCentre() {
  case_.SetCurArcCondMouseMove(CArcCondition::kEditArcSet, centre_.Next());
}

void CCmdStabArcTypeDlg::StoreOnEdit(CSheetGrid& grid) {
  connect(&grid, &CSheetGrid::EditModeChanged, this, [this](int, int, int mode, bool) {
    if (mode != 0) return;
    StoreSetting();
    RedrawSection();
  });
  connect(&grid, &CSheetGrid::KeyDown, this, [this, &grid](int* keyCode, int) {
    // The grid has emptied the selected cells; within a cell's editor the key stays there.
    if (*keyCode != kKeyDelete || grid.EditMode()) return;
    StoreSetting();
    RedrawSection();
  });
}

double CCmdStabArcTypeDlg::RoundClick(double value, int target) {
  return CCoreConfig::GetRound(value, target == kTargetFirst ? kCentreCode : kPointCode);
}

bool CCmdStabArcTypeDlg::OnGridEnter(CSheetGrid& grid) {
  if (!isAncestorOf(&grid)) return false;
  SpreadNextCell(grid);
  for (TwoPointGrid* points : TwoPointGrids()) {
    if (points == nullptr || &points->Grid() != &grid) continue;
    const int col = grid.ActiveCol();
    if (col == 1 || col == 2) {
      points->SetNext(col - 1);
      points->Mark(true);
    }
  }
  return true;
}

// ---- Types 1 and 2 ----

CCmdStabArcType1Dlg::CCmdStabArcType1Dlg(CCase& target, CArcSetRadius& set, QWidget* parent)
    : CCmdStabArcType1Dlg(target, set, false, parent) {}

CCmdStabArcType1Dlg::CCmdStabArcType1Dlg(CCase& target, CArcSetRadius& set, bool depth,
                                         QWidget* parent)
    : CCmdStabArcTypeDlg(target, set, parent) {
  setObjectName(depth ? QStringLiteral("CCmdStabArcType2Dlg")
                      : QStringLiteral("CCmdStabArcType1Dlg"));
  MakeCentreControls();
  rangeGrid_ = depth ? MakeGrid(5236, {"開始", "終了", "ピッチ"}, {"深度"})
                     : MakeGrid(5235, {"開始", "終了", "ピッチ"}, {"半径"});

  auto* layout = new QVBoxLayout(this);
  AddCentreSection(*layout);
  layout->addWidget(Caption(depth ? "円弧深度の範囲" : "円弧半径の範囲"));
  layout->addWidget(rangeGrid_);
  layout->addStretch();
}

void CCmdStabArcType1Dlg::ShowSetting() {
  ShowCentre();
  ShowRange(*rangeGrid_, 1, set_.rMin, set_.rMax, set_.rStep);
  const CCenterMesh& mesh = set_.mesh;
  set_.SetPointCap({mesh.x1, mesh.y1}, {mesh.x2, mesh.y2});
}

void CCmdStabArcType1Dlg::StoreSetting() {
  StoreCentre();
  StoreRange(*rangeGrid_, 1, set_.rMin, set_.rMax, set_.rStep);
  set_.SetFlagByPoly();
}

void CCmdStabArcType1Dlg::SetMouseTarget(int target) {
  target_ = target;
  FollowCentre();
  if (target == kTargetFirst) {
    SetCorner(centre_.Grid(), kMouseCorner);
    centre_.Mark(true);
  } else if (target == kTargetSecond) {
    centre_.Mark(false);
  }
}

void CCmdStabArcType1Dlg::OnPointInput(double x, double y) {
  if (target_ != kTargetFirst) return;
  centre_.Fill(RoundClick(x, target_), RoundClick(y, target_));
  FollowCentre();
  CapCentre();
  StoreSetting();
  RedrawSection();
}

CSheetGrid* CCmdStabArcType1Dlg::TargetGrid() const {
  return target_ == kTargetFirst ? &centre_.Grid() : nullptr;
}

CCmdStabArcType2Dlg::CCmdStabArcType2Dlg(CCase& target, CArcSetDepth& set, QWidget* parent)
    : CCmdStabArcType1Dlg(target, set, true, parent) {}

// ---- Type 3 ----

CCmdStabArcType3Dlg::CCmdStabArcType3Dlg(CCase& target, CArcSetPass1& set, QWidget* parent)
    : CCmdStabArcTypeDlg(target, set, parent), pass1_(set) {
  setObjectName(QStringLiteral("CCmdStabArcType3Dlg"));
  MakeCentreControls();
  passGrid_ = MakeGrid(5235, {"通過点"}, {"X座標", "Y座標"});
  StoreOnEdit(*passGrid_);
  connect(passGrid_, &CSheetGrid::MouseDown, this,
          [this] { emit MouseTargetRequested(kTargetSecond); });

  auto* layout = new QVBoxLayout(this);
  AddCentreSection(*layout);
  layout->addWidget(Caption("円弧通過点(画面上でマウス入力できます)"));
  layout->addWidget(passGrid_);
  layout->addStretch();
}

void CCmdStabArcType3Dlg::ShowSetting() {
  ShowCentre();
  ShowPoint(*passGrid_, 1, pass1_.pass);
  const CCenterMesh& mesh = set_.mesh;
  set_.SetPointCap({mesh.x1, mesh.y1}, {mesh.x2, mesh.y2});
}

void CCmdStabArcType3Dlg::StoreSetting() {
  StoreCentre();
  pass1_.pass = StoredPoint(*passGrid_, 1);
  set_.SetFlagByPoly();
}

void CCmdStabArcType3Dlg::MarkPass(bool marked) const {
  passGrid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow),
                     marked ? QStringLiteral("通過点*") : QStringLiteral("通過点"));
  passGrid_->SetBackColor(SheetBlock(1, kXRow, 1, kYRow), marked ? kMarked : kWhite);
}

void CCmdStabArcType3Dlg::SetMouseTarget(int target) {
  target_ = target;
  const bool first = target == kTargetFirst;
  if (first || target == kTargetSecond) {
    set_.SetCaptureMode(first ? 0 : 1);
    SetCorner(centre_.Grid(), first ? kMouseCorner : "");
    SetCorner(*passGrid_, first ? "" : kMouseCorner);
    centre_.Mark(first);
    MarkPass(!first);
  }
  case_.ResetMouseMove();
  RedrawSection();
}

void CCmdStabArcType3Dlg::OnPointInput(double x, double y) {
  if (target_ == kTargetFirst) {
    centre_.Fill(RoundClick(x, target_), RoundClick(y, target_));
    FollowCentre();
    CapCentre();
  } else if (target_ == kTargetSecond) {
    SetCell(*passGrid_, 1, kXRow, RoundClick(x, target_), kClickDecimals);
    SetCell(*passGrid_, 1, kYRow, RoundClick(y, target_), kClickDecimals);
  } else {
    return;
  }
  StoreSetting();
  RedrawSection();
}

CSheetGrid* CCmdStabArcType3Dlg::TargetGrid() const {
  if (target_ == kTargetFirst) return &centre_.Grid();
  return target_ == kTargetSecond ? passGrid_ : nullptr;
}

// ---- Type 4 ----

CCmdStabArcType4Dlg::CCmdStabArcType4Dlg(CCase& target, CArcSetPass2& set, QWidget* parent)
    : CCmdStabArcTypeDlg(target, set, parent),
      pass2_(set),
      points_(MakeGrid(5239, {"通過①", "通過②"}, {"X座標", "Y座標"}), {"通過①", "通過②"}, " *") {
  setObjectName(QStringLiteral("CCmdStabArcType4Dlg"));
  radiusGrid_ = MakeGrid(5235, {"開始", "終了", "ピッチ"}, {"半径"});
  CSheetGrid* grid = &points_.Grid();
  StoreOnEdit(*grid);
  connect(grid, &CSheetGrid::MouseDown, this, [this] { emit MouseTargetRequested(kTargetFirst); });
  connect(grid, &CSheetGrid::LeaveCell, this, [this](int, int, int newCol, int, bool*) {
    if (target_ != kTargetFirst || (newCol != 1 && newCol != 2)) return;
    points_.SetNext(newCol - 1);
    points_.Mark(true);
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Caption("円弧通過点(画面上でマウス入力できます)"));
  layout->addWidget(grid);
  layout->addWidget(Caption("円弧半径の範囲"));
  layout->addWidget(radiusGrid_);
  layout->addStretch();
}

void CCmdStabArcType4Dlg::ShowSetting() {
  ShowPoint(points_.Grid(), 1, pass2_.pointA);
  ShowPoint(points_.Grid(), 2, pass2_.pointB);
  ShowRange(*radiusGrid_, 1, pass2_.radiusFrom, pass2_.radiusTo, pass2_.pitch);
}

void CCmdStabArcType4Dlg::StoreSetting() {
  pass2_.pointA = StoredPoint(points_.Grid(), 1);
  pass2_.pointB = StoredPoint(points_.Grid(), 2);
  StoreRange(*radiusGrid_, 1, pass2_.radiusFrom, pass2_.radiusTo, pass2_.pitch);
  set_.SetFlagByPoly();
}

void CCmdStabArcType4Dlg::SetMouseTarget(int target) {
  target_ = target;
  case_.SetCurArcCondMouseMove(CArcCondition::kEditArcSet, points_.Next());
  if (target == kTargetFirst) {
    SetCorner(points_.Grid(), kMouseCorner);
    points_.Mark(true);
  } else if (target == kTargetSecond) {
    points_.Mark(false);
  }
}

void CCmdStabArcType4Dlg::OnPointInput(double x, double y) {
  if (target_ != kTargetFirst) return;
  points_.Fill(RoundHalfUpToMillimetre(x), RoundHalfUpToMillimetre(y));
  StoreSetting();
  RedrawSection();
}

CSheetGrid* CCmdStabArcType4Dlg::TargetGrid() const {
  return target_ == kTargetFirst ? &points_.Grid() : nullptr;
}

// ---- Type 5 ----

CCmdStabArcType5Dlg::CCmdStabArcType5Dlg(CCase& target, CArcSetPass3& set, QWidget* parent)
    : CCmdStabArcTypeDlg(target, set, parent),
      pass3_(set),
      range_(MakeGrid(5239, {"1点目", "2点目"}, {"X座標", "Y座標"}), {"1点目", "2点目"}, "*") {
  setObjectName(QStringLiteral("CCmdStabArcType5Dlg"));
  MakeCentreControls();
  CSheetGrid* grid = &range_.Grid();
  StoreOnEdit(*grid);
  connect(grid, &CSheetGrid::MouseDown, this, [this] { emit MouseTargetRequested(kTargetSecond); });
  connect(grid, &CSheetGrid::LeaveCell, this, [this](int, int, int newCol, int, bool*) {
    if (target_ != kTargetSecond || (newCol != 1 && newCol != 2)) return;
    range_.SetNext(newCol - 1);
    range_.Mark(true);
  });
  centre_.Grid().SetHeaderBackColor(kReference);
  grid->SetHeaderBackColor(kReference);
  pitch_ = MakeDecimalField(5237, 0.001, 999.999, 7, kClickDecimals);
  pitch_->setMaximumWidth(QFontMetrics(pitch_->font()).averageCharWidth() * 12);
  connect(pitch_, &CExpEdit::editingFinished, this, [this] {
    StoreSetting();
    RedrawSection();
  });

  auto* layout = new QVBoxLayout(this);
  AddCentreSection(*layout);
  layout->addWidget(Caption("円弧通過範囲(画面上でマウス入力できます)"));
  layout->addWidget(grid);
  auto* pitch = new QHBoxLayout;
  pitch->addWidget(Caption("半径ピッチ ="));
  pitch->addWidget(pitch_);
  pitch->addStretch();
  layout->addLayout(pitch);
  layout->addStretch();
}

void CCmdStabArcType5Dlg::ShowSetting() {
  ShowCentre();
  ShowPoint(range_.Grid(), 1, pass3_.p1);
  ShowPoint(range_.Grid(), 2, pass3_.p2);
  pitch_->SetDouble(pass3_.step);
}

void CCmdStabArcType5Dlg::StoreSetting() {
  StoreCentre();
  pass3_.p1 = StoredPoint(range_.Grid(), 1);
  pass3_.p2 = StoredPoint(range_.Grid(), 2);
  pass3_.step = pitch_->GetDouble();
  set_.SetFlagByPoly();
}

void CCmdStabArcType5Dlg::SetMouseTarget(int target) {
  target_ = target;
  const bool first = target == kTargetFirst;
  if (first || target == kTargetSecond) {
    set_.SetCaptureMode(first ? 0 : 1);
    SetCorner(centre_.Grid(), first ? kMouseCorner : "");
    SetCorner(range_.Grid(), first ? "" : kMouseCorner);
    centre_.Mark(first);
    range_.Mark(!first);
  }
  case_.ResetMouseMove();
  RedrawSection();
}

void CCmdStabArcType5Dlg::OnPointInput(double x, double y) {
  if (target_ == kTargetFirst) {
    centre_.Fill(RoundClick(x, target_), RoundClick(y, target_));
    FollowCentre();
    CapCentre();
  } else if (target_ == kTargetSecond) {
    range_.Fill(RoundClick(x, target_), RoundClick(y, target_));
  } else {
    return;
  }
  StoreSetting();
  RedrawSection();
}

CSheetGrid* CCmdStabArcType5Dlg::TargetGrid() const {
  if (target_ == kTargetFirst) return &centre_.Grid();
  return target_ == kTargetSecond ? &range_.Grid() : nullptr;
}
