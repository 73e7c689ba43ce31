#include "stage/dialogs/CmdCmnShapeDlg.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ResizeManage.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdCmnShapeChildDlg.h"
#include "stage/dialogs/CmdCmnShapeWaterChildDlg.h"

namespace {

// The size the dialog opens with, in dialog units, and how far its height may change.
constexpr int kWidthDlu = 175;
constexpr int kHeightDlu = 337;
constexpr int kShrinkHeight = 210;
constexpr int kGrowHeight = 1000;

constexpr Color kGroundColor{0x70F0A0};
constexpr Color kStrataColor{0x90B0C8};
constexpr Color kHeaderText{0};

// A mirrored coordinate; an unset one stays unset.
double Mirrored(double x) { return x == kNoValue ? x : -x; }

void MirrorLine(CDPoly& line) {
  for (const auto& p : line.Points()) p->x = Mirrored(p->x);
}

// One coordinate pair of a line for the clipboard text: "X\tY", or a lone tab past its end.
std::string PairText(const CDPoly& line, int i) {
  if (i >= line.GetSize()) return "\t";
  const CDPoint* p = line.GetAt(i);
  return DblToText(3, p->x) + '\t' + DblToText(3, p->y);
}

// The ground, every stratum boundary and the water line side by side, tab-separated: a title
// line, a column line and one line per point index.
std::string ShapesText(const CSpGround& ground, const CDPolyArray& strata, const CSpWater& water) {
  std::vector<const CDPoly*> others;
  for (int i = 0; i < strata.GetSize(); ++i) others.push_back(strata.GetAt(i));
  others.push_back(&water);

  std::string text = "地形\t";
  for (int i = 0; i < strata.GetSize(); ++i) text += '\t' + strata.GetAt(i)->GetName() + '\t';
  text += "\t水位\t\n";
  text += "X座標(m)\tY座標(m)";
  for (std::size_t i = 0; i < others.size(); ++i) text += "\tX座標(m)\tY座標(m)";
  text += '\n';

  int rows = ground.GetSize();
  for (const CDPoly* line : others) rows = std::max(rows, line->GetSize());
  for (int i = 0; i < rows; ++i) {
    text += PairText(ground, i);
    for (const CDPoly* line : others) text += '\t' + PairText(*line, i);
    text += '\n';
  }
  return text;
}

// Whether the line, without the empty rows that OK drops, has the backup's points.
bool SameAsBackup(const CDPoly& line, const CDPoly& backup) {
  const std::unique_ptr<CDPoly> kept = line.PlainCopy();
  kept->DelSpacePoint();
  return kept->IsSame(&backup);
}

CExpButton* ToolButton(const char* caption, const char* tip, int id, QWidget* parent) {
  auto* button = new CExpButton(QString::fromUtf8(caption), parent);
  button->setToolTip(QString::fromUtf8(tip));
  SetId(button, id);
  return button;
}

}  // namespace

CCmdCmnShapeDlg* CCmdCmnShapeDlg::Open(CManageCore& core, QWidget* parent) {
  auto* const dialog = new CCmdCmnShapeDlg(parent);
  dialog->BindCase(&core);
  return dialog;
}

CCmdCmnShapeDlg::CCmdCmnShapeDlg(QWidget* parent)
    : StageDialog(parent),
      tabs_(new QTabWidget(this)),
      ground_(new CCmdCmnShapeChildDlg),
      strata_(new CCmdCmnShapeChildDlg),
      water_(new CCmdCmnShapeWaterChildDlg),
      reverse_(ToolButton("↑↓", "座標点列を逆順に入れ替え", 4222, this)),
      mirror_(ToolButton("反転", "X座標の符合を逆にして反転", 4253, this)),
      copy_(ToolButton("CP", "地表・地層境界・水位の座標をクリップボードへコピー", 4216, this)),
      mouseInput_(new QCheckBox(QStringLiteral("マウス入力"), this)) {
  setObjectName(QStringLiteral("CCmdCmnShapeDlg"));
  setWindowTitle(QStringLiteral("地形座標の入力"));
  SetId(tabs_, 4215);
  SetId(mouseInput_, 4223);
  tabs_->addTab(ground_, QStringLiteral("地表"));
  tabs_->addTab(strata_, QStringLiteral("地層境界"));
  tabs_->addTab(water_, QStringLiteral("水位"));
  ground_->SetMode(kTabGround);
  strata_->SetMode(kTabStrata);
  ground_->Grid().SetHeaderBackColor(kGroundColor);
  strata_->Grid().SetHeaderBackColor(kStrataColor);
  for (CShapeGridPage* page :
       {static_cast<CShapeGridPage*>(ground_), static_cast<CShapeGridPage*>(strata_)}) {
    page->Grid().SetHeaderForeColor(kHeaderText);
  }

  auto* top = new QHBoxLayout;
  top->addStretch();
  top->addWidget(reverse_);
  top->addWidget(mirror_);
  auto* tools = new QHBoxLayout;
  tools->addWidget(copy_);
  tools->addWidget(mouseInput_);
  tools->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(tabs_, 1);
  layout->addLayout(tools);
  layout->addLayout(MakeOkCancelRow().layout);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
  SetTrackLimits(0, -kShrinkHeight, 0, kGrowHeight);

  connect(tabs_, &QTabWidget::currentChanged, this, &CCmdCmnShapeDlg::ShowActivePage);
  connect(reverse_, &QPushButton::clicked, this, &CCmdCmnShapeDlg::OnReverse);
  connect(mirror_, &QPushButton::clicked, this, &CCmdCmnShapeDlg::OnMirror);
  connect(copy_, &QPushButton::clicked, this, &CCmdCmnShapeDlg::OnCopy);
  connect(mouseInput_, &QCheckBox::toggled, this, &CCmdCmnShapeDlg::OnMouseInput);
}

CCmdCmnShapeDlg::~CCmdCmnShapeDlg() = default;

void CCmdCmnShapeDlg::BindCase(CManageCore* core) {
  case_ = core->GetActiveCase();
  case_->SetMouseEdit(false);
  case_->SetCurDanmen(&case_->GetDanmen());
  backupGround_.CopyPoints(&case_->GetGround());
  backupStrata_.Copy(&case_->GetStratum());
  backupWater_.CopyWater(&case_->GetWater());
  backupGrid_.Copy(case_->GetPrmGrid());

  for (CShapeGridPage* page :
       {static_cast<CShapeGridPage*>(ground_), static_cast<CShapeGridPage*>(strata_),
        static_cast<CShapeGridPage*>(water_)}) {
    page->SetCase(case_);
  }
  water_->SetWater(&case_->GetWater());
  ReloadPages();
  if (tabs_->currentIndex() != kTabGround) {
    tabs_->setCurrentIndex(kTabGround);  // shows the page through the tab change
  } else {
    ShowActivePage();
  }
}

void CCmdCmnShapeDlg::SetPoint(double x, double y) {
  if (!mouseInput_->isChecked()) return;
  Page(static_cast<Tab>(tabs_->currentIndex())).SetMousePoint(x, y);
}

CShapeGridPage& CCmdCmnShapeDlg::Page(Tab tab) const {
  switch (tab) {
    case kTabGround:
      return *ground_;
    case kTabStrata:
      return *strata_;
    case kTabWater:
      break;
  }
  return *water_;
}

void CCmdCmnShapeDlg::ReloadPages() {
  ground_->LoadPage();
  strata_->FillBoundaryList();
  strata_->TakeListSelection();
  strata_->LoadPage();
  water_->LoadPage();
}

void CCmdCmnShapeDlg::StorePages() {
  for (Tab tab : {kTabGround, kTabStrata, kTabWater}) Page(tab).EndEdit();
  ground_->StorePage();
  strata_->StorePage();
  water_->StorePage();
}

void CCmdCmnShapeDlg::ShowActivePage() {
  if (case_ == nullptr) return;
  Page(static_cast<Tab>(tabs_->currentIndex())).ShowSelection();
}

void CCmdCmnShapeDlg::OnReverse() { Page(static_cast<Tab>(tabs_->currentIndex())).ReverseRows(); }

void CCmdCmnShapeDlg::OnMirror() {
  if (Ui().MessageBox("この処理は、X座標の符合を逆にします。よろしいですか？", "地形編集",
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  MirrorLine(case_->GetGround());
  CDPolyArray& strata = case_->GetStratum();
  for (int i = 0; i < strata.GetSize(); ++i) MirrorLine(*strata.GetAt(i));
  MirrorLine(case_->GetWater());
  CPrmGrid& grid = case_->GetPrmGrid();
  const double left = grid.x1;
  grid.x1 = Mirrored(grid.x2);
  grid.x2 = Mirrored(left);
  ReloadPages();
  ShowActivePage();
}

void CCmdCmnShapeDlg::OnCopy() {
  const std::string text = ShapesText(case_->GetGround(), case_->GetStratum(), case_->GetWater());
  if (CopyTextToClipboard(text)) {
    Ui().MessageBox("地表・地層境界・水位の座標をクリップボードにコピーしました", GetAppTitle(),
                    MsgButtons::Ok, MsgIcon::None);
  }
}

void CCmdCmnShapeDlg::OnMouseInput(bool on) {
  if (case_ == nullptr) return;
  case_->SetMouseEdit(on);
  case_->ResetMouseMove();
  RedrawSection();
}

CCmdCmnShapeDlg::Changes CCmdCmnShapeDlg::CompareWithBackup() const {
  const CDPolyArray& strata = case_->GetStratum();
  bool sameGeometry = SameAsBackup(case_->GetGround(), backupGround_) &&
                      SameAsBackup(case_->GetWater(), backupWater_) &&
                      strata.GetSize() == backupStrata_.GetSize();
  bool sameNames = true;
  for (int i = 0; sameGeometry && i < strata.GetSize(); ++i) {
    sameGeometry = SameAsBackup(*strata.GetAt(i), *backupStrata_.GetAt(i));
    sameNames = sameNames && strata.GetAt(i)->GetName() == backupStrata_.GetAt(i)->GetName();
  }
  return Changes{!sameGeometry, !sameNames};
}

bool CCmdCmnShapeDlg::HasUnappliedChanges() {
  if (case_ == nullptr) return false;
  StorePages();
  return CompareWithBackup().Any();
}

void CCmdCmnShapeDlg::OnOK() {
  if (case_ == nullptr) return;
  StorePages();
  const Changes changes = CompareWithBackup();
  CDPolyArray& strata = case_->GetStratum();
  case_->GetGround().DelSpacePoint();
  for (int i = 0; i < strata.GetSize(); ++i) strata.GetAt(i)->DelSpacePoint();
  case_->GetWater().DelSpacePoint();

  if (changes.Any()) {
    case_->MarkEdited();
  }
  if (changes.geometry) {
    case_->ClearResultsReading(CalcInput::kTerrain);
    Ui().MessageBox("地形構成要素が変更されました。\n「地層認識」の更新を行ってください。",
                    GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
  }
  case_->SetGridAutoRange();
  Close(true);
}

void CCmdCmnShapeDlg::OnCancel() {
  if (case_ == nullptr) return;
  case_->GetGround().CopyPoints(&backupGround_);
  case_->GetStratum().Copy(&backupStrata_);
  case_->GetWater().CopyWater(&backupWater_);
  case_->GetPrmGrid().Copy(backupGrid_);
  Close(false);
}

void CCmdCmnShapeDlg::Close(bool ok) {
  case_->SetCurDanmenMouseMove(-1, 0, -1);
  case_->SetCurDanmen(nullptr);
  // A cell edit that ends while the frame closes the editor must not reach the case any more.
  for (Tab tab : {kTabGround, kTabStrata, kTabWater}) Page(tab).SetCase(nullptr);
  Ui().SendToFrame(FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, ok ? 1 : 0, 0);
}
