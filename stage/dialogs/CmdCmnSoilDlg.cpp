#include "stage/dialogs/CmdCmnSoilDlg.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <string>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/section/SpStratum.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/QtColor.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"
#include "stage/dialogs/RefCmnGeologyListDlg.h"

namespace {

constexpr int kNameCol = 1;
constexpr int kColourCol = 2;
constexpr int kColumnCount = 6;
// Constants are written with 4 decimals whatever their cells show.
constexpr int kWrittenDecimals = 4;

bool Positive(double v) { return v > 0; }
bool FrictionAngle(double v) { return v >= 0 && v < 90; }
bool NotNegative(double v) { return v >= 0; }

// A constants column: its cell, the block's value, how it is named in a message and its rule.
struct ConstantColumn {
  int col;
  double tagSATURATE::*member;
  const char* name;
  bool (*valid)(double);
  const char* rule;
};
constexpr ConstantColumn kConstants[] = {
    {3, &tagSATURATE::gammaT, "湿潤単位体積重量γt", Positive, "0より大きい数値"},
    {4, &tagSATURATE::gammaSat, "飽和単位体積重量γsat", Positive, "0より大きい数値"},
    {5, &tagSATURATE::phi, "内部摩擦角φ", FrictionAngle, "0以上90未満の数値"},
    {6, &tagSATURATE::c, "粘着力c", NotNegative, "0以上の数値"},
};

const ConstantColumn* ConstantAt(int col) {
  for (const ConstantColumn& constant : kConstants) {
    if (constant.col == col) return &constant;
  }
  return nullptr;
}

}  // namespace

bool CCmdCmnSoilDlg::Run(CManageCore& core, CCase& target, QWidget* parent) {
  const CDPolyArray* strata = target.GetGround().GetPolyArray();
  if (strata == nullptr || strata->IsEmpty()) {
    Ui().MessageBox("先に[地層認識]を行って下さい。", GetAppTitle(), MsgButtons::Ok, MsgIcon::None);
    return false;
  }
  return RunDialog<CCmdCmnSoilDlg>(core, target, parent);
}

CCmdCmnSoilDlg::CCmdCmnSoilDlg(CManageCore& core, CCase& target, QWidget* parent)
    : StageDialog(parent),
      core_(core),
      case_(target),
      grid_(new CSheetGrid),
      up_(MakeButton("▲ 上へ", 4231)),
      down_(MakeButton("▼ 下へ", 4232)),
      reference_(MakeButton("参考値", 4210)) {
  work_.Copy(&target.GetGround());
  setWindowTitle(QStringLiteral("土質定数"));
  SetId(grid_, 4224);
  auto* hint = new QLabel(QStringLiteral("※表示色をクリックすると変更することができます。"));

  const OkCancelRow buttons = MakeOkCancelRow({up_, down_, reference_});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(hint);
  layout->addLayout(buttons.layout);
  SetTabChain({grid_, up_, down_, reference_, buttons.ok, buttons.cancel});

  SetupSoilGrid();
  LoadSoilGrid();
  grid_->SetActiveCell(kNameCol, 1);
  if (grid_->ActiveRow() >= 1) UpdateMoveButtons(grid_->ActiveRow());
  resize(700, 380);

  connect(up_, &QPushButton::clicked, this, [this] { MoveActiveRow(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveActiveRow(+1); });
  connect(reference_, &QPushButton::clicked, this, &CCmdCmnSoilDlg::PickReferenceSoil);
  connect(grid_, &CSheetGrid::Click, this, &CCmdCmnSoilDlg::OnGridClick);
  connect(grid_, &CSheetGrid::LeaveCell, this, &CCmdCmnSoilDlg::OnLeaveCell);
  // Text that is not a number breaks the column's rule, and is named with it.
  grid_->SetNotANumberWarning([this](int col, int row) {
    if (const std::optional<std::string> message = CheckCell(col, row)) {
      Ui().MessageBox(*message, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    } else {
      ReportNotANumber();
    }
  });
}

int CCmdCmnSoilDlg::BlockCount() const {
  const CDPolyArray* strata = work_.GetPolyArray();
  return strata != nullptr ? strata->GetSize() : 0;
}

CSpStratumBlock& CCmdCmnSoilDlg::Block(int index) const {
  return dynamic_cast<CSpStratumBlock&>(*work_.GetPolyArray()->GetAt(index));
}

void CCmdCmnSoilDlg::SetupSoilGrid() {
  const CUnitFilter filter = CCoreConfig::GetUnitFilter();
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetMaxCols(kColumnCount);
  grid_->SetDecimalPlaces(SheetBlock(3, CSheetGrid::kAll, 4, CSheetGrid::kAll), 2);
  grid_->SetDecimalPlaces(SheetBlock(5, CSheetGrid::kAll), filter.Digit(161));
  grid_->SetDecimalPlaces(SheetBlock(6, CSheetGrid::kAll), filter.Digit(131));
  // The colour is chosen in the colour dialog, never typed.
  grid_->SetLock(SheetBlock(kColourCol, CSheetGrid::kAll), true);
  const char* const headers[kColumnCount] = {"地層名",
                                             "表示\n色",
                                             "湿潤単位\n体積重量\nγt\n(kN/m3)",
                                             "飽和単位\n体積重量\nγsat\n(kN/m3)",
                                             "内部\n摩擦角\nφ (°)",
                                             "粘着力\nc\n(kN/m2)"};
  for (int col = 1; col <= kColumnCount; ++col) {
    grid_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(headers[col - 1]));
  }
  grid_->SetColWidth(kNameCol, 180);
  grid_->SetColWidth(kColourCol, 44);
}

void CCmdCmnSoilDlg::LoadSoilGrid() {
  grid_->SetReDraw(false);
  grid_->SetMaxRows(BlockCount());
  for (int i = 0; i < BlockCount(); ++i) {
    const CSpStratumBlock& block = Block(i);
    const int row = i + 1;
    SpreadSetText(*grid_, kNameCol, row, block.GetPropPtr()->GetName());
    grid_->SetBackColor(SheetBlock(kColourCol, row), block.GetPropColor());
    for (const ConstantColumn& constant : kConstants) {
      SpreadSetDbl(*grid_, constant.col, row, kWrittenDecimals, "",
                   block.GetPropStructure()->*constant.member);
    }
  }
  grid_->SetReDraw(true);
}

void CCmdCmnSoilDlg::StoreSoilGrid() {
  for (int i = 0; i < BlockCount(); ++i) {
    CSpStratumBlock& block = Block(i);
    const int row = i + 1;
    block.GetPropPtr()->SetName(SpreadGetCellText(*grid_, kNameCol, row));
    block.GetPropPtr()->SetColor(grid_->BackColor(kColourCol, row));
    for (const ConstantColumn& constant : kConstants) {
      double& value = block.GetPropStructure()->*constant.member;
      value = ReadCellNumber(*grid_, constant.col, row, kWrittenDecimals, value).value_or(value);
    }
  }
}

void CCmdCmnSoilDlg::UpdateMoveButtons(int row) {
  if (row < 1) return;
  up_->setEnabled(row >= 2);
  down_->setEnabled(row < grid_->MaxRows());
}

void CCmdCmnSoilDlg::MoveActiveRow(int step) {
  const int row = grid_->ActiveRow();
  const int target = row + step;
  if (row < 1 || target < 1 || target > BlockCount()) return;
  StoreSoilGrid();
  CDPolyArray& strata = *work_.GetPolyArray();
  const int upper = std::min(row, target) - 1;
  strata.InsertAt(upper, strata.Release(upper + 1));
  LoadSoilGrid();
  grid_->SetActiveCell(grid_->ActiveCol(), target);
  UpdateMoveButtons(target);
}

void CCmdCmnSoilDlg::PickReferenceSoil() {
  const int col = grid_->ActiveCol();
  const int row = grid_->ActiveRow();
  const std::optional<CRefGeology::Row> soil =
      CRefCmnGeologyListDlg::PickSoil(core_.GetRefData().geology, this);
  if (!soil || col < 1 || col > kColumnCount || row < 1) return;
  SpreadSetText(*grid_, kNameCol, row, soil->name);
  const double values[] = {soil->gammaT, soil->gammaSat, soil->phi, soil->c};
  for (std::size_t i = 0; i < std::size(kConstants); ++i) {
    SpreadSetDbl(*grid_, kConstants[i].col, row, kWrittenDecimals, "", values[i]);
  }
}

std::optional<std::string> CCmdCmnSoilDlg::CheckCell(int col, int row) const {
  const ConstantColumn* constant = ConstantAt(col);
  if (constant == nullptr || row < 1 || row > BlockCount()) return std::nullopt;
  const double held = Block(row - 1).GetPropStructure()->*constant->member;
  const std::optional<double> value = ReadCellNumber(*grid_, col, row, kWrittenDecimals, held);
  if (value && (*value == kNoValue || constant->valid(*value))) return std::nullopt;
  return std::to_string(row) + "行目の" + constant->name + "には" + constant->rule +
         "を入力してください。";
}

bool CCmdCmnSoilDlg::CheckAllCells() {
  for (int row = 1; row <= BlockCount(); ++row) {
    for (const ConstantColumn& constant : kConstants) {
      if (const std::optional<std::string> message = CheckCell(constant.col, row)) {
        Ui().MessageBox(*message, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
        grid_->SetActiveCell(constant.col, row);
        return false;
      }
    }
  }
  return true;
}

void CCmdCmnSoilDlg::OnGridClick(int col, int row) {
  if (col != kColourCol || row < 1) return;
  QColorDialog dialog(ToQColor(grid_->BackColor(col, row)), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (RunModal(dialog) != Accepted) return;
  const QColor chosen = dialog.selectedColor();
  grid_->SetBackColor(SheetBlock(col, row),
                      Color::Rgb(chosen.red(), chosen.green(), chosen.blue()));
}

void CCmdCmnSoilDlg::OnLeaveCell(int col, int row, int /*newCol*/, int newRow, bool* cancel) {
  if (const std::optional<std::string> message = CheckCell(col, row)) {
    Ui().MessageBox(*message, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    *cancel = true;
    return;
  }
  StoreSoilGrid();
  if (newRow >= 1) UpdateMoveButtons(newRow);
}

CCmdCmnSoilDlg::SoilSame CCmdCmnSoilDlg::IsSameSoil() const {
  SoilSame same{true, true};
  const CDPolyArray* strata = case_.GetGround().GetPolyArray();
  const int count = strata != nullptr ? strata->GetSize() : 0;
  for (int i = 0; i < count; ++i) {
    const auto& caseBlock = dynamic_cast<const CSpStratumBlock&>(*strata->GetAt(i));
    const CStratumProp& before = *caseBlock.GetPropPtr();
    const CStratumProp& after = *Block(i).GetPropPtr();
    same.all = same.all && before.IsSame(after);
    same.calcValues = same.calcValues && before.IsSameUseCalc(after);
  }
  return same;
}

void CCmdCmnSoilDlg::OnOK() {
  if (!CheckAllCells()) return;
  StoreSoilGrid();
  const SoilSame same = IsSameSoil();
  if (!same.all) {
    case_.MarkEdited();
    if (!same.calcValues) case_.ClearResultsReading(CalcInput::kSoilConstants);
    case_.GetGround().Copy(&work_);
    if (case_.IsStratumBlockMode()) {
      case_.GetBlockList().CreateBlock(nullptr, nullptr);
      case_.CreateDivisionDanmen();
    }
  }
  StageDialog::OnOK();
}
