#include "stage/dialogs/CmdStabBlockDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "platform/Canvas.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtCanvas.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabBlockAddDlg.h"

namespace {

// Preview zoom steps.
constexpr double kZoomInStep = 1.25;
constexpr double kWheelIn = 1.25;
constexpr double kWheelOut = 0.8;
constexpr double kZoomTolerance = 1e-13;

constexpr double kRadToDeg = 57.29577951308232;
// End angles steeper than this many degrees either way are shown in red.
constexpr double kSteepAngle = 10.0;
constexpr double kFlatAngle = 0.0001;
constexpr int kGridDecimals = 4;
// Positions equal to the grid's decimals, and a start x to the edit's, count as unchanged.
constexpr double kSameGridX = 0.5e-4;
constexpr double kSameStartX = 0.5e-3;
constexpr double kSameAngle = 0.5e-1;
// The division angle's edit: the automatic division walks only angles strictly between 0 and 90
// degrees.
constexpr int kAngleId = 5412;
constexpr double kAngleMin = 0.1;
constexpr double kAngleMax = 89.9;
bool IsDivisionAngle(double degrees) { return degrees > 0 && degrees < 90; }
// Positions closer than this are merged when the blocks are made.
constexpr double kMergedX = 1e-5;
constexpr double kClickStep = 0.001;

constexpr Color kHeaderColor{0xFFFFDB};
constexpr Color kDerivedColor{0xB8FFFF};
constexpr Color kSteepColor{0x0000FF};
constexpr Color kTextColor{0};

constexpr const char* kHeaderX = "X座標 (m)";
constexpr const char* kHeaderXMarked = "X座標 (m)\n※";
constexpr const char* kStartMarked = "※分割開始X座標：";
constexpr const char* kStartPlain = "　分割開始X座標：";

// A picture button of the preview with its pressed look.
CExpButton* ZoomButton(const char* glyph, const char* tip, int id) {
  auto* button = new CExpButton;
  SetId(button, id);
  button->m_nStyle = 7;
  button->setToolTip(QString::fromUtf8(tip));
  const auto picture = [glyph](const QColor& back) {
    QPixmap pixmap(24, 24);
    pixmap.fill(back);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 23, 23);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromUtf8(glyph));
    return pixmap;
  };
  button->m_bmpNormal = picture(QColor(240, 240, 240));
  button->m_bmpPush = picture(QColor(200, 200, 200));
  return button;
}

bool SameValue(double a, double b, double tolerance) {
  if (a == kNoValue || b == kNoValue) return a == b;
  return std::fabs(a - b) <= tolerance;
}

std::vector<double> Positions(const CBlockList& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetXSize(); ++i) xs.push_back(list.GetX(i));
  return xs;
}

// The same division: block count, stratum, start x, angle and positions, each within what the
// dialog shows of it.
bool SameDivision(const CBlockList& a, const CBlockList& b) {
  if (a.GetBlockSize() != b.GetBlockSize() || a.GetStratumIndex() != b.GetStratumIndex() ||
      !SameValue(a.GetStartX(), b.GetStartX(), kSameStartX) ||
      !SameValue(a.GetAngle(), b.GetAngle(), kSameAngle)) {
    return false;
  }
  const std::vector<double> xa = Positions(a);
  const std::vector<double> xb = Positions(b);
  return std::equal(xa.begin(), xa.end(), xb.begin(), xb.end(),
                    [](double x, double y) { return SameValue(x, y, kSameGridX); });
}

std::string XText(double x) { return DblToText(3, x); }

}  // namespace

// ---- CBlockPreview ----

CBlockPreview::CBlockPreview(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);  // a click here leaves the focus where it says the point goes
  setMinimumSize(360, 260);
}

void CBlockPreview::SetArea(double left, double top, double right, double bottom) {
  areaLeft_ = left;
  areaTop_ = top;
  areaRight_ = right;
  areaBottom_ = bottom;
  update();
}

void CBlockPreview::ZoomIn() {
  if (zoom_ >= kZoomMax) return;
  zoom_ = std::min(zoom_ * kZoomInStep, kZoomMax);
  ScalePan(kZoomInStep);
  update();
}

void CBlockPreview::ZoomReset() {
  zoom_ = kZoomMin;
  pan_ = {};
  dragging_ = false;
  update();
}

void CBlockPreview::WheelStep(int delta) {
  const double factor = delta > 0 ? kWheelIn : delta < 0 ? kWheelOut : 1.0;
  zoom_ *= factor;
  if (kZoomMin - zoom_ > kZoomTolerance) {
    zoom_ = kZoomMin;
  } else if (zoom_ - kZoomMax > kZoomTolerance) {
    zoom_ = kZoomMax;
  }
  if (zoom_ != kZoomMin) ScalePan(factor);
  update();
}

CDPoint CBlockPreview::ToWorld(QPoint device) {
  PrepareView();
  return view_.DPtoLP({device.x(), device.y()});
}

void CBlockPreview::PrepareView() {
  view_.rect = {0, 0, width(), height()};
  view_.width = width();
  view_.height = height();
  view_.centreX = width() / 2;
  view_.centreY = height() / 2;
  view_.zoomOn = zoom_ > kZoomMin;
  view_.zoom = zoom_;
  view_.scrollX = -pan_.x();
  view_.scrollY = -pan_.y();
  view_.SetArea(areaLeft_, areaTop_, areaRight_, areaBottom_);
  view_.CalcScale();
}

void CBlockPreview::ScalePan(double factor) {
  pan_ = {static_cast<int>(pan_.x() * factor), static_cast<int>(pan_.y() * factor)};
}

void CBlockPreview::paintEvent(QPaintEvent* /*event*/) {
  const qreal ratio = devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  PrepareView();
  if (drawer_) {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
    view_.dc = canvas.get();
    drawer_(view_);
    view_.dc = nullptr;
  }
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

void CBlockPreview::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!rect().contains(at)) return;
  if (event->button() == Qt::LeftButton) {
    emit LeftClicked(at, event->modifiers().testFlag(Qt::ShiftModifier));
  } else if (event->button() == Qt::MiddleButton) {
    dragFrom_ = at;
    dragging_ = true;
  }
}

void CBlockPreview::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  pan_ += at - dragFrom_;
  dragFrom_ = at;
  update();
}

void CBlockPreview::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) dragging_ = false;
}

void CBlockPreview::wheelEvent(QWheelEvent* event) { WheelStep(event->angleDelta().y()); }

// ---- CCmdStabBlockDlg ----

CCmdStabBlockDlg* CCmdStabBlockDlg::Open(CCase& target, QWidget* parent) {
  return new CCmdStabBlockDlg(target, parent);
}

CCmdStabBlockDlg::CCmdStabBlockDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      stratum_(new QComboBox),
      startLabel_(new QLabel(QString::fromUtf8(kStartMarked))),
      startX_(MakeDecimalField(5409, -9999.999, 9999.999, 9, 3)),
      angle_(MakeDecimalField(kAngleId, kAngleMin, kAngleMax, 4, 1)),
      grid_(new CSheetGrid),
      preview_(new CBlockPreview),
      zoomIn_(ZoomButton("＋", "図拡大", 5223)),
      zoomReset_(ZoomButton("－", "図縮小", 5224)),
      showGround_(new QCheckBox(QStringLiteral("元地形の表示"))),
      mouseInput_(new QCheckBox(QStringLiteral("マウス入力(※の場所)"))) {
  setObjectName(QStringLiteral("CCmdStabBlockDlg"));
  setWindowTitle(QStringLiteral("ブロック分割"));
  work_.Copy(&target.GetBlockList());
  work_.SetRightUpper(target.IsRightUpper());

  SetId(stratum_, 5407);
  SetId(grid_, 5411);
  SetId(preview_, 5415);
  SetId(startLabel_, 5417);
  SetId(showGround_, 5418);
  SetId(mouseInput_, 5420);
  showGround_->setChecked(true);
  mouseInput_->setChecked(true);

  auto* autoDivide = MakeButton("自動分割", 5410);
  auto* add = MakeButton("追加", 5363);
  auto* insert = MakeButton("挿入", 5413);
  auto* remove = MakeButton("削除", 5414);

  auto* inputs = new QGridLayout;
  inputs->addWidget(new QLabel(QStringLiteral("分割層選択：")), 0, 0);
  inputs->addWidget(stratum_, 0, 1);
  inputs->addWidget(startLabel_, 1, 0);
  inputs->addWidget(startX_, 1, 1);
  inputs->addWidget(new QLabel(QStringLiteral("分割角度 (°)：")), 2, 0);
  inputs->addWidget(angle_, 2, 1);
  inputs->addWidget(autoDivide, 1, 2, 2, 1);
  auto* rowButtons = new QHBoxLayout;
  for (QPushButton* button : {add, insert, remove}) rowButtons->addWidget(button);
  rowButtons->addStretch();
  auto* left = new QVBoxLayout;
  left->addLayout(inputs);
  left->addWidget(grid_, 1);
  left->addLayout(rowButtons);

  auto* tools = new QHBoxLayout;
  tools->addWidget(zoomIn_);
  tools->addWidget(zoomReset_);
  tools->addWidget(showGround_);
  tools->addWidget(mouseInput_);
  tools->addStretch();
  auto* right = new QVBoxLayout;
  right->addLayout(tools);
  right->addWidget(preview_, 1);

  auto* body = new QHBoxLayout;
  body->addLayout(left);
  body->addLayout(right, 1);
  const OkCancelRow buttons = MakeOkCancelRow();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons.layout);

  SetTabChain({stratum_, startX_, angle_, autoDivide, grid_, add, insert, remove, showGround_,
               mouseInput_, buttons.ok, buttons.cancel});

  SetupGrid();
  if (const CDPolyArray* strata = Strata()) {
    for (int i = 0; i < strata->GetSize(); ++i) {
      stratum_->addItem(QString::fromStdString(strata->GetAt(i)->GetName()));
    }
  }
  startX_->SetDouble(work_.GetStartX());
  if (IsDivisionAngle(work_.GetAngle())) angle_->SetDouble(work_.GetAngle());
  stratum_->setCurrentIndex(work_.GetStratumIndex() < stratum_->count() ? work_.GetStratumIndex()
                                                                        : -1);
  FillGrid();
  const CPrmGrid& area = case_.GetPrmGrid();
  preview_->SetArea(area.x1, area.y2, area.x2, area.y1);
  preview_->SetDrawer([this](CViewInfo& view) { DrawPreview(view); });
  resize(1280, 600);
  SetTrackLimits(0, 0, 2000, 2000);
  UpdateMouseMark();

  connect(autoDivide, &QPushButton::clicked, this, &CCmdStabBlockDlg::OnAutoDivide);
  connect(add, &QPushButton::clicked, this, &CCmdStabBlockDlg::OnAdd);
  connect(insert, &QPushButton::clicked, this, &CCmdStabBlockDlg::OnInsert);
  connect(remove, &QPushButton::clicked, this, &CCmdStabBlockDlg::OnDelete);
  connect(zoomIn_, &QPushButton::clicked, preview_, &CBlockPreview::ZoomIn);
  connect(zoomReset_, &QPushButton::clicked, preview_, &CBlockPreview::ZoomReset);
  connect(showGround_, &QCheckBox::toggled, this, &CCmdStabBlockDlg::RedrawPreview);
  connect(mouseInput_, &QCheckBox::toggled, this, [this] {
    RedrawPreview();
    UpdateMouseMark();
  });
  connect(stratum_, &QComboBox::currentIndexChanged, this, &CCmdStabBlockDlg::OnStratumChanged);
  connect(grid_, &CSheetGrid::Change, this, &CCmdStabBlockDlg::OnGridChange);
  connect(grid_, &CSheetGrid::Click, this, [this](int /*col*/, int row) { OnGridActiveRow(row); });
  connect(grid_, &CSheetGrid::LeaveCell, this,
          [this](int, int, int /*newCol*/, int newRow, bool*) { OnGridActiveRow(newRow); });
  connect(grid_, &CSheetGrid::EditModeChanged, this, &CCmdStabBlockDlg::UpdateMouseMark);
  focusWatch_ =
      connect(qApp, &QApplication::focusChanged, this, &CCmdStabBlockDlg::UpdateMouseMark);
  connect(preview_, &CBlockPreview::LeftClicked, this, &CCmdStabBlockDlg::OnPreviewClick);
}

CCmdStabBlockDlg::~CCmdStabBlockDlg() { disconnect(focusWatch_); }

const CDPolyArray* CCmdStabBlockDlg::Strata() const {
  return case_.GetDanmen().GetTisoBlockArray();
}

void CCmdStabBlockDlg::SetupGrid() {
  grid_->SetHeaderBackColor(kHeaderColor);
  grid_->SetLockBackColor(kDerivedColor);
  grid_->SetMaxCols(kColCount);
  grid_->SetMaxRows(0);
  grid_->SetDecimalPlaces(SheetBlock(kColX, CSheetGrid::kAll, kColHeight, CSheetGrid::kAll),
                          kGridDecimals);
  grid_->SetDecimalPlaces(SheetBlock(kColWater, CSheetGrid::kAll), kGridDecimals);
  grid_->SetLock(SheetBlock(kColTop, CSheetGrid::kAll, kColWater, CSheetGrid::kAll), true);
  const char* const headers[kColCount] = {kHeaderX,   "地表面\nY座標 (m)", "すべり面\nY座標 (m)",
                                          "高さ (m)", "角度 (度)",         "水位\nY座標 (m)"};
  for (int col = 1; col <= kColCount; ++col) {
    grid_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(headers[col - 1]));
  }
  // Every column in sight, with room for the row numbers of 300 blocks and the scroll bar; the
  // grid grows in height only, the preview takes the width.
  grid_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Expanding);
  grid_->setMinimumWidth(grid_->horizontalHeader()->length() +
                         grid_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
                         grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                         2 * grid_->frameWidth() + 8);
}

void CCmdStabBlockDlg::StoreInput() {
  work_.SetStartX(startX_->GetDouble());
  // An empty field keeps the angle the list has.
  if (const double angle = angle_->GetDouble(); angle != kNoValue) work_.SetAngle(angle);
  work_.SetStratumIndex(stratum_->currentIndex());
}

void CCmdStabBlockDlg::GridToXArray() {
  work_.InitXArray();
  std::vector<double> xs;
  for (int row = 1; row <= grid_->MaxRows(); ++row) xs.push_back(SpreadGetDbl(*grid_, kColX, row));
  work_.CopyStX(xs);
  if (!xs.empty()) work_.SortXArray(false);
}

void CCmdStabBlockDlg::FillGrid() {
  const int blocks = work_.GetBlockSize();
  grid_->SetMaxRows(blocks > 0 ? blocks + 1 : 0);
  if (blocks == 0) return;
  // Row 1 is block 1's start-side cut, row k + 1 block k's far-side cut; blocks are numbered
  // from the right on a slope that rises to the right.
  const bool rightUpper = case_.IsRightUpper();
  FillRow(1, *work_.GetBlockPtr(0), rightUpper, true);
  for (int k = 1; k <= blocks; ++k) FillRow(k + 1, *work_.GetBlockPtr(k - 1), !rightUpper, false);
}

void CCmdStabBlockDlg::FillRow(int row, const CBlock& block, bool rightSide, bool first) {
  double waterLeft = kNoValue;
  double waterRight = kNoValue;
  block.GetWaterLev(waterLeft, waterRight);
  const auto set = [this, row](int col, double value) {
    SpreadSetDbl(*grid_, col, row, kGridDecimals, {}, value);
  };
  set(kColX, rightSide ? block.GetRightX() : block.GetLeftX());
  set(kColTop, rightSide ? block.GetRightTopY() : block.GetLeftTopY());
  set(kColBottom, rightSide ? block.GetRightBottomY() : block.GetLeftBottomY());
  set(kColHeight, block.GetH(rightSide));
  set(kColWater, rightSide ? waterRight : waterLeft);
  if (first) {
    grid_->SetForeColor(SheetBlock(kColAngle, row), kTextColor);
    SpreadSetText(*grid_, kColAngle, row, "－");
    return;
  }
  double degrees = block.GetEndAngle(case_.IsRightUpper()) * kRadToDeg;
  if (std::fabs(degrees) < kFlatAngle) degrees = 0;
  const bool steep = degrees > kSteepAngle || degrees < -kSteepAngle;
  SpreadSetCol5Double(*grid_, row, steep ? kSteepColor : kTextColor, {}, degrees);
}

void CCmdStabBlockDlg::UpdateMouseMark() {
  const bool toGrid = GridTakesPoints();
  const bool marked = mouseInput_->isChecked();
  grid_->SetText(SheetBlock(kColX, CSheetGrid::kHeaderRow),
                 QString::fromUtf8(marked && toGrid ? kHeaderXMarked : kHeaderX));
  startLabel_->setText(QString::fromUtf8(marked && !toGrid ? kStartMarked : kStartPlain));
}

bool CCmdStabBlockDlg::GridTakesPoints() const {
  const QWidget* focus = QApplication::focusWidget();
  return grid_->EditMode() || (focus != nullptr && (focus == grid_ || grid_->isAncestorOf(focus)));
}

void CCmdStabBlockDlg::RedrawPreview() { preview_->update(); }

void CCmdStabBlockDlg::DrawPreview(CViewInfo& view) const {
  Canvas& canvas = *view.dc;
  const Pen oldPen = canvas.SelectPen(Pen{PenStyle::Solid, 1, Color::Rgb(255, 255, 255)});
  canvas.Rectangle(view.rect);
  canvas.SelectPen(oldPen);
  case_.GetPrmGrid().Draw(&view);
  work_.DrawBlockCut(&view, showGround_->isChecked(), true, highlight_);
}

void CCmdStabBlockDlg::Rebuild() { work_.CreateBlock(nullptr, nullptr); }

void CCmdStabBlockDlg::OnAutoDivide() {
  StoreInput();
  const std::vector<double> before = Positions(work_);
  if (work_.SetXArrayAuto() <= 0) {
    work_.CopyStX(before);
    Ui().MessageBox("自動分割できません。\n分割層、分割開始X座標と分割角度を確認してください。",
                    GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  Rebuild();
  FillGrid();
  RedrawPreview();
}

void CCmdStabBlockDlg::OnAdd() {
  StoreInput();
  const std::size_t oldCount = static_cast<std::size_t>(work_.GetXSize());
  CCmdStabBlockAddDlg dialog(this);
  dialog.SetBlockList(&work_);
  RunModal(dialog);
  ReportAdjustedPositions(oldCount);
  Rebuild();
  FillGrid();
  RedrawPreview();
}

void CCmdStabBlockDlg::ReportAdjustedPositions(std::size_t oldCount) const {
  const CDPolyArray* strata = Strata();
  const int index = work_.GetStratumIndex();
  if (strata == nullptr || index < 0 || index >= strata->GetSize()) return;
  const CDPoly& mass = *strata->GetAt(index);
  const double lo = mass.Left().x;
  const double hi = mass.Right().x;

  const std::vector<double> xs = Positions(work_);
  std::vector<double> kept(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(oldCount));
  std::string lines;
  for (std::size_t i = oldCount; i < xs.size(); ++i) {
    const double x = xs[i];
    const double moved = std::clamp(x, lo, hi);
    if (moved != x) {
      lines += "\nX = " + XText(x) + " → " + XText(moved) + " (すべり土塊の範囲外のため端に移動)";
    }
    const bool merged = std::any_of(kept.begin(), kept.end(), [moved](double other) {
      return std::fabs(other - moved) < kMergedX;
    });
    if (merged) {
      lines += "\nX = " + XText(x) + " (既にある分割位置と重なるため統合)";
    } else {
      kept.push_back(moved);
    }
  }
  if (lines.empty()) return;
  Ui().MessageBox("追加したX座標のうち、次の値を調整しました。" + lines, GetAppTitle(),
                  MsgButtons::Ok, MsgIcon::Information);
}

void CCmdStabBlockDlg::OnInsert() {
  StoreInput();
  const int row = grid_->ActiveRow();
  if (row < 1 || row > grid_->MaxRows()) return;
  grid_->SetMaxRows(grid_->MaxRows() + 1);
  grid_->InsertRows(row, 1);
}

void CCmdStabBlockDlg::OnDelete() {
  StoreInput();
  const SheetBlock selected = SpreadGetSelBlock(*grid_, false);
  const int count = work_.GetXSize();
  const int first = selected.row;
  if (first < 1 || first > count) return;
  // A selection that reaches past the positions deletes up to the last one.
  const int last = std::min(selected.row2, count);
  const std::string question =
      first == last ? "X = " + XText(work_.GetX(first - 1)) + " を削除してもよろしいですか？"
                    : std::to_string(first) + " ～ " + std::to_string(last) +
                          " 行を削除します。よろしいですか？";
  if (Ui().MessageBox(question, "削除", MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  std::vector<double> xs = Positions(work_);
  xs.erase(xs.begin() + first - 1, xs.begin() + last);
  work_.CopyStX(xs);
  Rebuild();
  FillGrid();
  RedrawPreview();
}

void CCmdStabBlockDlg::OnStratumChanged() {
  StoreInput();
  RedrawPreview();
  work_.SetRightUpper(case_.IsRightUpper());
}

void CCmdStabBlockDlg::OnGridChange(int col, int row) {
  if (row < 1) return;
  if (col == kColX) {
    GridToXArray();
    Rebuild();
    FillGrid();
  }
  RedrawPreview();
}

void CCmdStabBlockDlg::OnGridActiveRow(int row) {
  if (row >= 1) {
    highlight_ = row - 1;
    RedrawPreview();
  }
  UpdateMouseMark();
}

void CCmdStabBlockDlg::OnPreviewClick(QPoint device, bool shift) {
  if (!mouseInput_->isChecked()) return;
  StoreInput();
  CDPoint point = preview_->ToWorld(device);
  point.x = RoundOff(point.x, kClickStep);
  point.y = RoundOff(point.y, kClickStep);
  const CDPolyArray* strata = Strata();
  const int index = work_.GetStratumIndex();
  if (showGround_->isChecked() && shift && strata != nullptr && index >= 0 &&
      index < strata->GetSize()) {
    double distance = 0;
    int vertex = 0;
    const CDPoint nearest = strata->GetAt(index)->FindNearPoint(&point, distance, vertex);
    if (nearest.IsValid()) point = nearest;
  }
  if (GridTakesPoints()) {
    // A row past the last position (an inserted empty row) has no position to replace.
    const int row = grid_->ActiveRow();
    if (row >= 1 && row <= work_.GetXSize()) {
      std::vector<double> xs = Positions(work_);
      xs[static_cast<std::size_t>(row - 1)] = point.x;
      work_.CopyStX(xs);
      Rebuild();
      FillGrid();
    }
  } else {
    startX_->SetDouble(point.x);
    work_.SetStartX(point.x);
  }
  RedrawPreview();
}

void CCmdStabBlockDlg::ReadInput() {
  StoreInput();
  GridToXArray();
  Rebuild();
}

bool CCmdStabBlockDlg::IsSameAsCase() const {
  const CBlockList& stored = case_.GetBlockList();
  return stored.IsConfirmed() && SameDivision(stored, work_);
}

bool CCmdStabBlockDlg::HasUnappliedChanges() {
  ReadInput();
  return !SameDivision(case_.GetBlockList(), work_);
}

void CCmdStabBlockDlg::OnOK() {
  ReadInput();
  if (IsSameAsCase()) {
    OnCancel();
    return;
  }
  if (work_.GetBlockSize() > CBlockList::kMaxBlocks) {
    Ui().MessageBox("ブロック数が上限の" + std::to_string(CBlockList::kMaxBlocks) +
                        "を超えています。\n\nブロック数を減らしてください。",
                    GetAppTitle(), MsgButtons::Ok, MsgIcon::None);
    return;
  }
  if ((case_.IsResStab() || case_.IsResStabGyaku()) &&
      Ui().MessageBox(
          "ブロック分割の更新により、すべての計算結果をクリアします。\nよろしいですか？",
          GetAppTitle(), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
    return;
  }
  WriteBack();
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 1, 0);
}

void CCmdStabBlockDlg::WriteBack() {
  work_.SetConfirmed(true);
  case_.GetBlockList().Copy(&work_);
  case_.MarkEdited();
  case_.ClearResultsReading(CalcInput::kBlockDivision);
  case_.CreateDivisionDanmen();
}

void CCmdStabBlockDlg::OnCancel() { Ui().SendToFrame(FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 0, 0); }
