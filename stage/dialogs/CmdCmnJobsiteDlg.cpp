#include "stage/dialogs/CmdCmnJobsiteDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ResizeManage.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr Color kGridHeader{0xFFFFDB};
constexpr int kPictureId = 4230;
constexpr QSize kPictureSize(132, 84);

// A decimal field with one decimal and empty text for the unset value.
CExpEdit* DecimalField(int id, double limit, int maxBytes) {
  return MakeDecimalField(id, -limit, limit, maxBytes, 1);
}

CExpEdit* PitchField(int id) {
  CExpEdit* field = DecimalField(id, 9999.9, 6);
  field->m_dMin = 0.1;
  return field;
}

// A one-column grid of text rows under the stage grids' header colour.
CSheetGrid* TextGrid(int id, int rows, int width) {
  auto* grid = new CSheetGrid;
  SetId(grid, id);
  grid->SetHeaderBackColor(kGridHeader);
  grid->SetMaxCols(1);
  grid->SetMaxRows(rows);
  grid->SetColWidth(1, width);
  grid->horizontalHeader()->setStretchLastSection(true);
  return grid;
}

}  // namespace

// ---- Pictures ----

QPixmap SlopePicture(int direction) {
  QPixmap picture(kPictureSize);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal w = kPictureSize.width();
  const qreal h = kPictureSize.height();
  const auto slope = [&](bool risingRight, const QColor& fill) {
    QPainterPath ground;
    const qreal low = h - 22;
    const qreal high = 12;
    ground.moveTo(0, risingRight ? low : high);
    ground.lineTo(w * 0.3, risingRight ? low : high);
    ground.lineTo(w * 0.7, risingRight ? high : low);
    ground.lineTo(w, risingRight ? high : low);
    ground.lineTo(w, h);
    ground.lineTo(0, h);
    ground.closeSubpath();
    painter.setPen(QPen(QColor(90, 60, 30), 2));
    painter.setBrush(fill);
    painter.drawPath(ground);
  };
  if (direction == 0) {
    // Automatic: either way, as the ground line decides.
    slope(true, QColor(200, 200, 200, 140));
    slope(false, QColor(200, 200, 200, 140));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, h - 22, w, 22), Qt::AlignCenter, QStringLiteral("自動"));
  } else {
    slope(direction == 1, QColor(196, 160, 110));
  }
  return picture;
}

QPixmap GridPicture() {
  QPixmap picture(kPictureSize);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  const int left = 22;
  const int bottom = kPictureSize.height() - 18;
  painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
  for (int x = left; x < kPictureSize.width(); x += 22) painter.drawLine(x, 6, x, bottom);
  for (int y = bottom; y > 4; y -= 18) painter.drawLine(left, y, kPictureSize.width() - 4, y);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(left, 6, kPictureSize.width() - 4 - left, bottom - 6);
  painter.setPen(QPen(QColor(90, 60, 30), 2));
  painter.drawLine(left, bottom - 8, kPictureSize.width() - 4, 20);
  painter.setPen(Qt::black);
  painter.drawText(QRect(left - 12, bottom + 1, 24, 15), Qt::AlignCenter, QStringLiteral("0"));
  painter.drawText(QRect(0, bottom - 8, left - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("0"));
  return picture;
}

// ---- The range fields ----

RangeFields::RangeFields(QGridLayout& layout, int row)
    : xFrom(DecimalField(4204, 9999.9, 7)),
      xTo(DecimalField(4205, 9999.9, 7)),
      xWidth(DecimalField(4244, 99999.9, 8)),
      yFrom(DecimalField(4207, 9999.9, 7)),
      yTo(DecimalField(4208, 9999.9, 7)),
      yWidth(DecimalField(4245, 99999.9, 8)),
      labels_{MakeLabel("X座標", 4236), MakeLabel("～", 4237), MakeLabel("m", 4238),
              MakeLabel("Y座標", 4239), MakeLabel("～", 4240), MakeLabel("m", 4241),
              MakeLabel("m", 4242),     MakeLabel("m", 4243),  MakeLabel("幅", 4246),
              MakeLabel("幅", 4247)} {
  xWidth->SetReadOnly(true);
  yWidth->SetReadOnly(true);
  const auto addRow = [&](int r, QLabel* name, CExpEdit* from, QLabel* tilde, CExpEdit* to,
                          QLabel* unit, QLabel* widthName, CExpEdit* width, QLabel* widthUnit) {
    layout.addWidget(name, r, 0);
    layout.addWidget(from, r, 1);
    layout.addWidget(tilde, r, 2);
    layout.addWidget(to, r, 3);
    layout.addWidget(unit, r, 4);
    layout.addWidget(widthName, r, 5);
    layout.addWidget(width, r, 6);
    layout.addWidget(widthUnit, r, 7);
  };
  addRow(row, labels_[0], xFrom, labels_[1], xTo, labels_[2], labels_[8], xWidth, labels_[6]);
  addRow(row + 1, labels_[3], yFrom, labels_[4], yTo, labels_[5], labels_[9], yWidth, labels_[7]);
}

void RangeFields::Show(const CPrmGrid& grid) const {
  xFrom->SetDouble(grid.x1);
  xTo->SetDouble(grid.x2);
  yFrom->SetDouble(grid.y1);
  yTo->SetDouble(grid.y2);
  ShowWidths(grid);
}

void RangeFields::ShowWidths(const CPrmGrid& grid) const {
  xWidth->SetDouble(grid.GetDistX());
  yWidth->SetDouble(grid.GetDistY());
}

void RangeFields::Read(CPrmGrid& grid) const {
  grid.x1 = xFrom->GetDoubleKeeping(grid.x1);
  grid.x2 = xTo->GetDoubleKeeping(grid.x2);
  grid.y1 = yFrom->GetDoubleKeeping(grid.y1);
  grid.y2 = yTo->GetDoubleKeeping(grid.y2);
}

void RangeFields::SetEnabled(bool enabled) const {
  for (QWidget* w : std::initializer_list<QWidget*>{xFrom, xTo, xWidth, yFrom, yTo, yWidth}) {
    w->setEnabled(enabled);
  }
  for (QLabel* label : labels_) label->setEnabled(enabled);
}

// ---- The grid dialog ----

CCmdCmnGridDlg::CCmdCmnGridDlg(CPrmGrid& target, QWidget* parent)
    : StageDialog(parent),
      target_(target),
      autoRange_(new QCheckBox(QStringLiteral("自動調整を有効にする"))),
      margin_(PitchField(4235)),
      pitches_{PitchField(4252), PitchField(4253), PitchField(4254), PitchField(4255)} {
  setWindowTitle(QStringLiteral("グリッドの設定"));
  SetId(autoRange_, 4248);

  auto* rangeBox = new QGroupBox(QStringLiteral("表示範囲"));
  auto* rangeLayout = new QGridLayout(rangeBox);
  rangeLayout->addWidget(autoRange_, 0, 0, 1, 8);
  auto* marginRow = new QHBoxLayout;
  marginRow->addWidget(MakeLabel("Y座標に対する余裕高　ΔY =", 0));
  marginRow->addWidget(margin_);
  marginRow->addWidget(MakeLabel("m", 0));
  marginRow->addStretch();
  rangeLayout->addLayout(marginRow, 1, 0, 1, 8);
  range_ = std::make_unique<RangeFields>(*rangeLayout, 2);

  auto* axisBox = new QGroupBox(QStringLiteral("座標軸の表示"));
  auto* axisLayout = new QVBoxLayout(axisBox);
  auto* axisGroup = new QButtonGroup(this);
  axis_ = {MakeRadio("表示しない", 4249, *axisGroup, 0),
           MakeRadio("座標軸のみ", 4250, *axisGroup, 1),
           MakeRadio("座標軸とグリッド線", 4251, *axisGroup, 2)};
  for (QRadioButton* radio : axis_) axisLayout->addWidget(radio);

  const auto pitchBox = [](const char* title, CExpEdit* x, CExpEdit* y) {
    auto* box = new QGroupBox(QString::fromUtf8(title));
    auto* layout = new QGridLayout(box);
    layout->addWidget(MakeLabel("X", 0), 0, 0);
    layout->addWidget(x, 0, 1);
    layout->addWidget(MakeLabel("m", 0), 0, 2);
    layout->addWidget(MakeLabel("Y", 0), 1, 0);
    layout->addWidget(y, 1, 1);
    layout->addWidget(MakeLabel("m", 0), 1, 2);
    return box;
  };
  auto* picture = new QLabel;
  picture->setPixmap(GridPicture());

  auto* lower = new QHBoxLayout;
  lower->addWidget(axisBox);
  lower->addWidget(pitchBox("グリッドの間隔", pitches_[0], pitches_[1]));
  lower->addWidget(pitchBox("数値の間隔", pitches_[2], pitches_[3]));
  lower->addWidget(picture);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(rangeBox);
  layout->addLayout(lower);
  const OkCancelRow buttons = MakeOkCancelRow();
  layout->addLayout(buttons.layout);

  SetTabChain({autoRange_, margin_, range_->xFrom, range_->xTo, range_->yFrom, range_->yTo,
               axis_[0], axis_[1], axis_[2], pitches_[0], pitches_[1], pitches_[2], pitches_[3],
               buttons.ok, buttons.cancel});

  const CPrmGrid& grid = target_;
  autoRange_->setChecked(grid.autoArea != 0);
  margin_->SetDouble(grid.depthBelow);
  range_->Show(grid);
  if (grid.gridShown >= 0 && grid.gridShown < 3)
    axis_[static_cast<std::size_t>(grid.gridShown)]->setChecked(true);
  const double pitches[] = {grid.xLinePitch, grid.yLinePitch, grid.xLabelPitch, grid.yLabelPitch};
  for (std::size_t i = 0; i < pitches_.size(); ++i) pitches_[i]->SetDouble(pitches[i]);
  // The check takes effect at OK; the fields follow it when the dialog opens again.
  range_->SetEnabled(grid.autoArea == 0);
}

void CCmdCmnGridDlg::OnOK() {
  CPrmGrid edited = target_;
  edited.autoArea = autoRange_->isChecked() ? 1 : 0;
  edited.depthBelow = margin_->GetDoubleKeeping(edited.depthBelow);
  range_->Read(edited);
  for (std::size_t i = 0; i < axis_.size(); ++i) {
    if (axis_[i]->isChecked()) edited.gridShown = static_cast<int>(i);
  }
  double* const pitches[] = {&edited.xLinePitch, &edited.yLinePitch, &edited.xLabelPitch,
                             &edited.yLabelPitch};
  for (std::size_t i = 0; i < pitches_.size(); ++i) {
    *pitches[i] = pitches_[i]->GetDoubleKeeping(*pitches[i]);
  }
  if (!edited.IsSame(target_)) target_.Copy(edited);
  StageDialog::OnOK();
}

// ---- The site dialog ----

bool CCmdCmnJobsiteDlg::Run(CCase& target, QWidget* parent) {
  return RunDialog<CCmdCmnJobsiteDlg>(target, parent);
}

CCmdCmnJobsiteDlg::CCmdCmnJobsiteDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      siteGrid_(TextGrid(4201, CPrmJobsite::kNameCount, 380)),
      commentGrid_(TextGrid(4202, CPrmJobsite::kCommentCount, 380)),
      picture_(MakeLabel("", kPictureId)),
      autoRange_(new QCheckBox(QStringLiteral("自動調整を有効にする"))) {
  jobsite_.Copy(target.GetPrmJobsite());
  grid_.Copy(target.GetPrmGrid());
  setWindowTitle(QStringLiteral("現場の設定"));
  BuildLayout();
  Show();
}

void CCmdCmnJobsiteDlg::BuildLayout() {
  SetId(autoRange_, 4248);
  picture_->setFixedSize(kPictureSize);
  const char* const siteHeaders[] = {"現場名", "測線名", "ケース名"};
  for (int row = 1; row <= CPrmJobsite::kNameCount; ++row) {
    siteGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, row),
                       QString::fromUtf8(siteHeaders[row - 1]));
  }
  siteGrid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("現場"));
  commentGrid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("コメント"));
  commentGrid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("コ\nメ\nン\nト"));
  commentGrid_->resizeRowToContents(0);
  siteGrid_->setFixedHeight(siteGrid_->horizontalHeader()->sizeHint().height() +
                            siteGrid_->verticalHeader()->length() + 2 * siteGrid_->frameWidth());

  auto* directionBox = new QGroupBox(QStringLiteral("斜面の方向"));
  auto* directionLayout = new QGridLayout(directionBox);
  auto* directionGroup = new QButtonGroup(this);
  direction_ = {MakeRadio("自動設定(開始地点と最終点の標高差で設定)", 4211, *directionGroup, 0),
                MakeRadio("右上がり斜面", 4212, *directionGroup, 1),
                MakeRadio("左上がり斜面", 4213, *directionGroup, 2)};
  for (int i = 0; i < 3; ++i)
    directionLayout->addWidget(direction_[static_cast<std::size_t>(i)], i, 0);
  directionLayout->addWidget(picture_, 0, 1, 3, 1);

  auto* rangeBox = new QGroupBox(QStringLiteral("表示範囲"));
  auto* rangeLayout = new QGridLayout(rangeBox);
  rangeLayout->addWidget(autoRange_, 0, 0, 1, 8);
  range_ = std::make_unique<RangeFields>(*rangeLayout, 1);
  auto* gridButton = MakeButton("グリッドの設定", 4210);
  rangeLayout->addWidget(gridButton, 3, 0, 1, 8, Qt::AlignRight);

  auto* left = new QVBoxLayout;
  left->addWidget(siteGrid_);
  left->addWidget(commentGrid_, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(directionBox);
  right->addWidget(rangeBox);
  right->addStretch();
  auto* body = new QHBoxLayout;
  body->addLayout(left, 1);
  body->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  const OkCancelRow buttons = MakeOkCancelRow();
  layout->addLayout(buttons.layout);
  resize(980, 470);

  SetTabChain({siteGrid_, commentGrid_, direction_[0], direction_[1], direction_[2], autoRange_,
               range_->xFrom, range_->xTo, range_->yFrom, range_->yTo, gridButton, buttons.ok,
               buttons.cancel});

  connect(directionGroup, &QButtonGroup::idClicked, this, [this] { ShowDirectionPicture(); });
  connect(autoRange_, &QCheckBox::clicked, this, [this] { EnableRange(); });
  for (CExpEdit* field : {range_->xFrom, range_->xTo, range_->yFrom, range_->yTo}) {
    connect(field, &CExpEdit::FocusLeft, this, [this] {
      Read();
      range_->ShowWidths(grid_);
    });
  }
  connect(gridButton, &QPushButton::clicked, this, &CCmdCmnJobsiteDlg::OnGridSettings);
}

int CCmdCmnJobsiteDlg::Direction() const {
  for (std::size_t i = 0; i < direction_.size(); ++i) {
    if (direction_[i]->isChecked()) return static_cast<int>(i);
  }
  return CPrmJobsite::kDirectionAuto;
}

void CCmdCmnJobsiteDlg::Show() {
  for (int i = 0; i < CPrmJobsite::kNameCount; ++i) {
    SpreadSetText(*siteGrid_, 1, i + 1, jobsite_.names[static_cast<std::size_t>(i)]);
  }
  for (int i = 0; i < CPrmJobsite::kCommentCount; ++i) {
    SpreadSetText(*commentGrid_, 1, i + 1, jobsite_.comments[static_cast<std::size_t>(i)]);
  }
  if (jobsite_.direction >= 0 && jobsite_.direction < 3) {
    direction_[static_cast<std::size_t>(jobsite_.direction)]->setChecked(true);
  }
  autoRange_->setChecked(grid_.autoArea != 0);
  range_->Show(grid_);
  EnableRange();
  ShowDirectionPicture();
}

void CCmdCmnJobsiteDlg::Read() {
  for (int i = 0; i < CPrmJobsite::kNameCount; ++i) {
    jobsite_.names[static_cast<std::size_t>(i)] = SpreadGetCellText(*siteGrid_, 1, i + 1);
  }
  for (int i = 0; i < CPrmJobsite::kCommentCount; ++i) {
    jobsite_.comments[static_cast<std::size_t>(i)] = SpreadGetCellText(*commentGrid_, 1, i + 1);
  }
  jobsite_.direction = Direction();
  grid_.autoArea = autoRange_->isChecked() ? 1 : 0;
  range_->Read(grid_);
  grid_.Normalize();
}

void CCmdCmnJobsiteDlg::EnableRange() const { range_->SetEnabled(!autoRange_->isChecked()); }

void CCmdCmnJobsiteDlg::ShowDirectionPicture() {
  DrawItemBitmap(*this, kPictureId, SlopePicture(Direction()));
}

void CCmdCmnJobsiteDlg::OnGridSettings() {
  Read();
  CCmdCmnGridDlg dialog(grid_, this);
  if (RunModal(dialog) == Accepted) Show();
}

void CCmdCmnJobsiteDlg::OnOK() {
  Read();
  if (!jobsite_.IsSame(case_.GetPrmJobsite()) || !grid_.IsSame(case_.GetPrmGrid())) {
    case_.MarkEdited();
    if (!jobsite_.IsSameUseCale(case_.GetPrmJobsite())) {
      case_.ClearResultsReading(CalcInput::kSlopeDirection);
    }
    case_.GetPrmJobsite().Copy(jobsite_);
    case_.GetPrmGrid().Copy(grid_);
    if (grid_.autoArea != 0) case_.SetGridAutoRange();
  }
  StageDialog::OnOK();
}
