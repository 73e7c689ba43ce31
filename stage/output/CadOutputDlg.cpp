#include "stage/output/CadOutputDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>

#include "bridge/Z_Tv5Gen6.h"
#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/NumberText.h"
#include "platform/ProgramDir.h"
#include "platform/UiRegistry.h"
#include "platform/cad/DxfWriter.h"
#include "stage/controls/SheetGrid.h"

namespace {

struct LayerEntry {
  const char* name;   // the layer's name in the drawing
  const char* label;  // the grid's text
  bool on;            // output by default
};

constexpr std::array<LayerEntry, CCadOutputDlg::kLayerCount> kLayers{{
    {"GROUND", "地形", true},
    {"STRATUM_LINE", "地層境界", true},
    {"STRATUM_POLYGON", "地層ポリゴン", false},
    {"GROUND_BLOCK", "地形 (分割後)", true},
    {"STRATUM_LINE_BLOCK", "地層境界 (分割後)", true},
    {"STRATUM_POLYGON_BLOCK", "地層ポリゴン (分割後)", false},
    {"BLOCK_CUT_LINE", "ブロック分割線", true},
    {"SLIDE_N", "すべり面 (常時)", true},
    {"SLIDE_L1", "すべり面 (地震時)", true},
    {"WATER", "水位", true},
    {"REINFORCEMENT", "補強材", true},
    {"GRID", "目盛", true},
}};

constexpr std::array<int, 7> kScales{1000, 500, 200, 100, 50, 20, 10};
constexpr std::array<double, 7> kTextFactors{0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0};

// The rows the data linkage turns off and locks: terrain, strata, stratum polygons, rock bolts.
constexpr std::array<int, 4> kLinkageRows{1, 2, 3, 11};

// The control's own pens: the section's lines, the slip surfaces, the bolts and the grid.
constexpr short kSectionPen = 1;
constexpr short kSlidePen = 3;
constexpr short kDetailPen = 8;

// The control's text placements.
constexpr int kMiddleLeft = 6;
constexpr int kMiddleRight = 18;
constexpr int kMiddleCentre = 22;

struct NamedPen {
  const char* name;
  short style;
  short width;
  long colour;
  long fill;
};
constexpr std::array<NamedPen, 4> kNamedPens{{
    {"円弧 R", 2, 1, 0xFF00FF, 0xFF00FF},
    {"荷重", 0, 1, 0x00C800, 0x00C800},
    {"水抜きパイプ", 2, 1, 0x000000, 0xFFFFFF},
    {"不透水層線", 1, 1, 0x000000, 0xFFFFFF},
}};
constexpr std::size_t kArcRadiusPen = 0;

constexpr int kCheckCol = 1;
constexpr int kLabelCol = 2;
constexpr int kNameCol = 3;

// More values than this in one run of ticks or labels is a pitch too small for any drawing.
constexpr double kMaxRunValues = 10000;
constexpr double kRunTolerance = 1e-13;

constexpr const char* kDxfFilter = "DXF ﾌｧｲﾙ (*.dxf)|*.dxf||";

// floor(v + 0.5), leaving 0 and the unset value as they are.
double RoundWhole(double v) {
  if (v == 0 || v == kNoValue) return v;
  return std::floor((v * 10 + 5) / 10);
}

bool IsWhole(double v) { return std::fabs(v - RoundWhole(v)) <= kRunTolerance; }

void Inform(const std::string& text, MsgIcon icon) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, icon);
}

// The folder the save dialog starts in: the data folder's print folder, made when missing.
std::filesystem::path PrintFolder() {
  std::filesystem::path folder = DataDir() / "PrnFiles";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

}  // namespace

bool CCadOutputDlg::Run(CCase& target, bool linkage, QWidget* parent) {
  return RunDialog<CCadOutputDlg>(target, linkage, parent);
}

CCadOutputDlg::CCadOutputDlg(CCase& target, bool linkage, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      linkage_(linkage),
      cad_(new CZ_Tv5Gen6),
      grid_(new CSheetGrid),
      paper_(new QComboBox),
      scale_(new QComboBox) {
  setWindowTitle(QStringLiteral("CAD 出力"));
  BuildLayout();
  for (const CadPaper& paper : kCadPapers) paper_->addItem(QString::fromUtf8(paper.text));
  for (const int scale : kScales) scale_->addItem(QStringLiteral("1:%1").arg(scale));
  FillGrid();
  cad_->CadSetMode48(1);
  cad_->CadInit();

  filling_ = true;
  paper_->setCurrentIndex(paperIndex_);
  scale_->setCurrentIndex(scaleIndex_);
  for (std::size_t i = 0; i < kLayers.size(); ++i) layers_[i] = kLayers[i].on ? 1 : 0;
  if (linkage_) {
    for (const int row : kLinkageRows) {
      grid_->SetLock(SheetBlock(CSheetGrid::kAll, row), true);
      layers_[static_cast<std::size_t>(row - 1)] = 0;
    }
  }
  for (int row = 1; row <= kLayerCount; ++row) {
    grid_->SetText(SheetBlock(kCheckCol, row), layers_[static_cast<std::size_t>(row - 1)] != 0
                                                   ? QStringLiteral("1")
                                                   : QStringLiteral("0"));
  }
  filling_ = false;
  Rebuild(true);

  connect(paper_, &QComboBox::currentIndexChanged, this, &CCadOutputDlg::OnPaperChanged);
  connect(scale_, &QComboBox::currentIndexChanged, this, &CCadOutputDlg::OnScaleChanged);
  connect(grid_, &CSheetGrid::ButtonClicked, this, [this](int col, int /*row*/, int /*state*/) {
    if (col == kCheckCol && !filling_) RebuildLayers();
  });
  connect(grid_, &CSheetGrid::Click, this, [this](int col, int row) {
    if (col == kCheckCol && row == 0) OnHeaderClick();
  });
}

void CCadOutputDlg::BuildLayout() {
  SetId(cad_, 3081);
  SetId(grid_, 3080);
  SetId(paper_, 3082);
  SetId(scale_, 3083);
  auto* allOn = MakeButton("全ON", 3003);
  auto* allOff = MakeButton("全OFF", 3004);
  connect(allOn, &QPushButton::clicked, this, [this] { SetAllRows(true); });
  connect(allOff, &QPushButton::clicked, this, [this] { SetAllRows(false); });

  auto* switches = new QHBoxLayout;
  switches->addWidget(allOn);
  switches->addWidget(allOff);
  switches->addStretch();
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(QStringLiteral("用紙")), 0, 0);
  lists->addWidget(paper_, 0, 1);
  lists->addWidget(new QLabel(QStringLiteral("縮尺")), 1, 0);
  lists->addWidget(scale_, 1, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(grid_, 1);
  left->addLayout(switches);
  left->addLayout(lists);
  const OkCancelRow buttons = MakeOkCancelRow({}, {.ok = "出力"});
  auto* right = new QVBoxLayout;
  right->addWidget(cad_, 1);
  right->addLayout(buttons.layout);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  QWidget* const order[] = {grid_, allOn, allOff, paper_, scale_, buttons.ok, buttons.cancel};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  resize(960, 600);
}

void CCadOutputDlg::FillGrid() {
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetLockBackColor(Color{0xB8FFFF});
  grid_->SetMaxCols(3);
  grid_->SetMaxRows(kLayerCount);
  grid_->SetCellType(SheetBlock(kCheckCol, CSheetGrid::kAll), SheetCellType::CheckBox);
  grid_->SetLock(SheetBlock(kLabelCol, CSheetGrid::kAll, kNameCol, CSheetGrid::kAll), true);
  grid_->SetText(SheetBlock(kCheckCol, CSheetGrid::kHeaderRow), QStringLiteral("出力"));
  grid_->SetText(SheetBlock(kLabelCol, CSheetGrid::kHeaderRow), QStringLiteral("項目"));
  grid_->SetText(SheetBlock(kNameCol, CSheetGrid::kHeaderRow), QStringLiteral("レイヤ名"));
  grid_->SetColWidth(kCheckCol, 44);
  grid_->SetColWidth(kLabelCol, 150);
  grid_->SetColWidth(kNameCol, 190);
  for (int row = 1; row <= kLayerCount; ++row) {
    const LayerEntry& layer = kLayers[static_cast<std::size_t>(row - 1)];
    grid_->SetText(SheetBlock(kLabelCol, row), QString::fromUtf8(layer.label));
    grid_->SetText(SheetBlock(kNameCol, row), QString::fromUtf8(layer.name));
  }
  grid_->setMinimumWidth(44 + 150 + 190 + 60);
}

bool CCadOutputDlg::IsLockedRow(int row) const {
  return linkage_ && std::find(kLinkageRows.begin(), kLinkageRows.end(), row) != kLinkageRows.end();
}

void CCadOutputDlg::ReadGrid() {
  for (int row = 1; row <= kLayerCount; ++row) {
    const std::optional<ParsedInt> flag =
        ParseIntPrefix(grid_->Value(kCheckCol, row).toStdString());
    layers_[static_cast<std::size_t>(row - 1)] = flag ? flag->value : 0;
  }
  paperIndex_ = paper_->currentIndex();
  scaleIndex_ = scale_->currentIndex();
}

void CCadOutputDlg::SetAllRows(bool on) {
  filling_ = true;
  grid_->SetText(SheetBlock(kCheckCol, 1, kCheckCol, kLayerCount),
                 on ? QStringLiteral("1") : QStringLiteral("0"));
  filling_ = false;
  RebuildLayers();
}

void CCadOutputDlg::OnHeaderClick() {
  bool anyOff = false;
  for (int row = 1; row <= kLayerCount; ++row) {
    if (!IsLockedRow(row) && grid_->Value(kCheckCol, row) == QStringLiteral("0")) anyOff = true;
  }
  SetAllRows(anyOff);
}

void CCadOutputDlg::RebuildLayers() {
  ReadGrid();
  Rebuild(false);
  cad_->CadRefresh();
}

void CCadOutputDlg::OnPaperChanged(int index) {
  paperIndex_ = index;
  cad_->CadSetPaper(static_cast<short>(paperIndex_), 1, 10.0, 0, 0);
  Rebuild(true);
  cad_->CadRefresh();
}

void CCadOutputDlg::OnScaleChanged(int index) {
  scaleIndex_ = index;
  cad_->CadSetScale(static_cast<short>(kScales[static_cast<std::size_t>(scaleIndex_)]));
  Rebuild(true);
  cad_->CadRefresh();
}

double CCadOutputDlg::TextHeight() const {
  return 4 * kTextFactors[static_cast<std::size_t>(scaleIndex_)];
}

void CCadOutputDlg::Rebuild(bool fit) {
  const CadPaper& paper = kCadPapers[static_cast<std::size_t>(paperIndex_)];
  const CDPoint centre = case_.GetPrmGrid().GetCenter();
  cad_->CadNewDrawing();
  cad_->CadSetPaper(static_cast<short>(paperIndex_), 1, 10.0, 0, 0);
  cad_->CadSetDrawingArea(1, paper.width / 2, paper.height / 2, centre.x, centre.y);
  cad_->CadSetScale(static_cast<short>(kScales[static_cast<std::size_t>(scaleIndex_)]));
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    cad_->CadDefineLayer(static_cast<short>(i), kLayers[i].name, kLayers[i].name);
  }
  cad_->CadResetLayers();
  for (std::size_t i = 0; i < kNamedPens.size(); ++i) {
    const NamedPen& pen = kNamedPens[i];
    pens_[i] = cad_->CadDefinePen(pen.name, pen.style, pen.width, pen.colour, pen.fill);
  }
  for (int layer = 0; layer < kLayerCount; ++layer) {
    if (layers_[static_cast<std::size_t>(layer)] == 1) WriteLayer(layer);
  }
  if (fit) cad_->CadZoomFit();
}

void CCadOutputDlg::WriteLayer(int layer) {
  const bool divided = case_.IsStratumBlockMode() != 0;
  const auto select = [this, layer](short pen) {
    cad_->CadSelectLayer(static_cast<short>(layer));
    cad_->CadSelectPen(pen);
  };
  switch (layer) {
    case 0:
      select(kSectionPen);
      WritePolyline(case_.GetGround());
      break;
    case 1:
      select(kSectionPen);
      WriteStrata(&case_.GetStratum());
      break;
    case 2:
      select(kSectionPen);
      WriteStratumBlocks(case_.GetDanmen().GetTisoBlockArray());
      break;
    case 3:
      if (!divided) break;
      select(kSectionPen);
      WritePolyline(case_.GetGroundDiv());
      break;
    case 4:
      if (!divided) break;
      select(kSectionPen);
      WriteStrata(&case_.GetStratumDiv());
      break;
    case 5:
      if (!divided) break;
      select(kSectionPen);
      WriteStratumBlocks(case_.GetDanmenDiv().GetTisoBlockArray());
      break;
    case 6:
      if (!divided || case_.GetBlockList().GetBlockSize() < 1) break;
      select(kSectionPen);
      WriteBlockCuts(case_.GetBlockList());
      break;
    case 7:
    case 8:
      WriteSlide(layer - 7);
      break;
    case 10:
      if (case_.GetReinfArrange().GetSize() < 0) break;
      select(kDetailPen);
      WriteReinforcement();
      break;
    case 11:
      select(kDetailPen);
      WriteGrid();
      break;
    default:  // the water layer carries nothing
      break;
  }
}

void CCadOutputDlg::WritePolyline(const CDPoly& line) {
  cad_->CadBeginLine();
  for (int i = 0; i < line.GetSize(); ++i) cad_->CadAddVertex(line.GetAt(i)->x, line.GetAt(i)->y);
  cad_->CadEndLine();
}

void CCadOutputDlg::WriteLine(double x1, double y1, double x2, double y2) {
  cad_->CadBeginLine();
  cad_->CadAddVertex(x1, y1);
  cad_->CadAddVertex(x2, y2);
  cad_->CadEndLine();
}

void CCadOutputDlg::WriteText(const std::string& text, double x, double y, double angle,
                              int placement) {
  const double h = TextHeight();
  cad_->CadAddText(text, x, y, h, h, 0, angle, static_cast<short>(placement));
  cad_->CadEndLine();
}

void CCadOutputDlg::WriteStrata(const CDPolyArray* strata) {
  if (strata == nullptr) return;
  for (int i = 0; i < strata->GetSize(); ++i) WritePolyline(*strata->GetAt(i));
}

void CCadOutputDlg::WriteStratumBlocks(const CDPolyArray* blocks) {
  if (blocks == nullptr) return;
  for (int i = 0; i < blocks->GetSize(); ++i) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(blocks->GetAt(i));
    if (block == nullptr) continue;
    cad_->CadBeginLine();
    for (int k = 0; k < block->GetSize(); ++k) {
      cad_->CadAddVertex(block->GetAt(k)->x, block->GetAt(k)->y);
    }
    cad_->CadSetFillColor(static_cast<long>(block->GetPropColor().ref));
    cad_->CadEndLine();
    const CDPoint label = block->GetInnerPoint();
    WriteText(block->GetPropPtr()->GetName(), label.x, label.y, 0, kMiddleCentre);
  }
}

void CCadOutputDlg::WriteBlockCuts(const CBlockList& blocks) {
  const auto left = [this](const CBlock& b) {
    WriteLine(b.GetLeftX(), b.GetLeftTopY(), b.GetLeftX(), b.GetLeftBottomY());
  };
  const auto right = [this](const CBlock& b) {
    WriteLine(b.GetRightX(), b.GetRightTopY(), b.GetRightX(), b.GetRightBottomY());
  };
  const bool fromLeft = !blocks.IsRightUpper();
  const CBlock& first = *blocks.GetBlockPtr(0);
  fromLeft ? right(first) : left(first);
  for (int i = 0; i < blocks.GetBlockSize(); ++i) {
    const CBlock& block = *blocks.GetBlockPtr(i);
    fromLeft ? left(block) : right(block);
  }
}

void CCadOutputDlg::WriteSlide(int resultCase) {
  const CMltPoint* point = case_.GetResStab2().GetSelectRepPt(resultCase);
  if (point == nullptr) return;
  // A typical point may name blocks the list no longer holds: then there is no slip line.
  const std::unique_ptr<CSpSlide> slide = case_.GetBlockList().CreateSlideLine(
      point->startBlock, point->endBlock, case_.GetResStab2().IsSlideTopArc(resultCase));
  if (!slide) return;
  const std::unique_ptr<CSpSlideWork> work = slide->CreateDrawObj();
  if (!work) return;
  cad_->CadSelectLayer(static_cast<short>(7 + resultCase));
  cad_->CadSelectPen(kSlidePen);
  enum class State { Closed, Open, AfterArc };
  State state = State::Closed;
  for (int i = 0; i < work->GetSize(); ++i) {
    const CDPoint& p = *work->GetAt(i);
    const CDArc* arc = p.GetFlag() == -1 ? nullptr : work->GetArcFromPointIndex(i);
    if (arc == nullptr) {
      if (state == State::AfterArc) cad_->CadEndLine();
      if (state != State::Open) cad_->CadBeginLine();
      cad_->CadAddVertex(p.x, p.y);
      state = State::Open;
      continue;
    }
    if (state == State::Open) {
      cad_->CadAddVertex(p.x, p.y);
      cad_->CadEndLine();
    }
    cad_->CadAddArc(arc->centre.x, arc->centre.y, arc->R, arc->start, arc->end);
    cad_->CadEndLine();
    cad_->CadSelectPen(pens_[kArcRadiusPen]);
    const CDPoint start = arc->GetStart();
    const CDPoint end = arc->GetEnd();
    WriteLine(arc->centre.x, arc->centre.y, start.x, start.y);
    WriteLine(arc->centre.x, arc->centre.y, end.x, end.y);
    state = State::AfterArc;
  }
  if (state == State::Open) cad_->CadEndLine();
}

void CCadOutputDlg::WriteReinforcement() {
  const CReinfArrange& arrange = case_.GetReinfArrange();
  for (int i = 0; i < arrange.GetSize(); ++i) {
    const CReinforce& bar = *arrange.GetAt(i);
    const CDPoint ext = bar.GetPointExt();
    const CDPoint tail = bar.GetPointTail();
    WriteLine(ext.x, ext.y, tail.x, tail.y);
    const double alpha = bar.GetAlphaAngRad();
    WriteText(FormatInt(bar.number), tail.x + 0.5 * std::cos(alpha), tail.y + 0.5 * std::sin(alpha),
              0, kMiddleLeft);
  }
}

std::vector<double> CCadOutputDlg::AxisRun(double start, double end, double pitch) {
  if (!(pitch > 0)) return {};
  double v = start;
  if (start != 0 && start != kNoValue) v = std::floor(((10 / pitch) * start + 5) / 10) * pitch;
  if (start - v > kRunTolerance) v += pitch;
  if ((end - v) / pitch + 1 > kMaxRunValues) return {};
  std::vector<double> run;
  for (; end - v > -kRunTolerance; v += pitch) run.push_back(v);
  return run;
}

void CCadOutputDlg::WriteGrid() {
  const CPrmGrid& grid = case_.GetPrmGrid();
  const double x1 = grid.x1;
  const double y1 = grid.y1;
  cad_->CadBeginLine();
  cad_->CadAddVertex(x1, grid.y2);
  cad_->CadAddVertex(x1, y1);
  cad_->CadAddVertex(grid.x2, y1);
  cad_->CadEndLine();
  const int decimals = IsWhole(grid.xLabelPitch) && IsWhole(grid.yLabelPitch) ? 0 : 1;
  for (const double v : AxisRun(x1, grid.x2, grid.xLinePitch)) WriteLine(v, y1, v, y1 - 0.3);
  for (const double v : AxisRun(x1, grid.x2, grid.xLabelPitch)) {
    WriteText(FormatFixed(v, decimals), v, y1 - 0.4, std::numbers::pi / 2, kMiddleRight);
  }
  for (const double v : AxisRun(y1, grid.y2, grid.yLinePitch)) WriteLine(x1, v, x1 - 0.3, v);
  for (const double v : AxisRun(y1, grid.y2, grid.yLabelPitch)) {
    WriteText(FormatFixed(v, decimals), x1 - 0.4, v, 0, kMiddleRight);
  }
}

void CCadOutputDlg::OnOK() {
  ReadGrid();
  if (std::none_of(layers_.begin(), layers_.end(), [](int flag) { return flag == 1; })) {
    Inform("出力する項目が全てOFFになっています。", MsgIcon::Warning);
    return;
  }
  const std::optional<std::filesystem::path> chosen =
      Ui().FileDialog(FileDialogKind::Save, {kDxfFilter, "dxf", PrintFolder(), "*.dxf"});
  if (!chosen) {
    StageDialog::OnOK();
    return;
  }
  std::filesystem::path path = *chosen;
  if (path.extension().empty()) path += ".dxf";
  if (!IsDxfPath(path)) {
    Inform(
        "CADデータは DXF ﾌｧｲﾙ (*.dxf) で出力します。\n拡張子 .dxf のファイル名を指定してください。",
        MsgIcon::Warning);
    return;
  }
  if (cad_->CadSaveFile(path.string()) != 1) {
    Inform("CAD出力に失敗しました。\n" + path.string(), MsgIcon::Warning);
    return;
  }
  Inform("CAD出力が完了しました。", MsgIcon::Information);
  StageDialog::OnOK();
}
