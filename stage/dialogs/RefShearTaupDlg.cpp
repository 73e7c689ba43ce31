#include "stage/dialogs/RefShearTaupDlg.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>

#include "core/base/AppIdentity.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kValueCol = 4;
constexpr int kWidthDlu = 190;
constexpr int kHeightDlu = 270;

struct Ground {
  const char* ground;
  const char* kind;
  const char* n;
  const char* shown;
  double taup;  // N/mm2; unset for the clay row
};
constexpr Ground kGrounds[] = {
    {"岩盤", "軟岩", "", "1.2", 1.2},
    {"", "硬岩", "", "0.8", 0.8},
    {"", "風化岩", "", "0.48", 0.48},
    {"", "土丹", "", "0.48", 0.48},
    {"砂礫", "N値", "10", "0.08", 0.08},
    {"", "", "20", "0.14", 0.14},
    {"", "", "30", "0.2", 0.2},
    {"", "", "40", "0.28", 0.28},
    {"", "", "50", "0.36", 0.36},
    {"砂", "N値", "10", "0.08", 0.08},
    {"", "", "20", "0.14", 0.14},
    {"", "", "30", "0.18", 0.18},
    {"", "", "40", "0.23", 0.23},
    {"", "", "50", "0.24", 0.24},
    {"粘性土", "", "", "0.8×c ", kNoValue},
};

const char* const kTableSource = "QX併用工法 設計・施工指針（暫定版）\n添付12-1";
const char* const kFormulaSource = "自然斜面表層における鉄筋挿入工の引抜試験\n（学会講演資料）";
const char* const kClayRefused =
    "粘性土の極限周面摩擦抵抗は粘着力cから求めます（τp = 0.8×c）。\n"
    "τpを直接入力してください。";

QLabel* Text(const char* text, int id = 0) {
  auto* label = new QLabel(QString::fromUtf8(text));
  if (id != 0) SetId(label, id);
  return label;
}

}  // namespace

std::optional<double> CRefShearTaupDlg::Choose(QWidget* parent) {
  CRefShearTaupDlg dialog(parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.chosen_;
}

double CRefShearTaupDlg::FormulaTau(double nd) {
  return nd == kNoValue ? kNoValue : (13.0 * nd + 14.0) / 1000.0;
}

CRefShearTaupDlg::CRefShearTaupDlg(QWidget* parent)
    : StageDialog(parent),
      grid_(new CSheetGrid),
      tau_(MakeDecimalField(7214, 0, 99.999, 6, 3)),
      nd_(MakeDecimalField(7215, 0, 9999.9, 6, 1)),
      tableMode_(new QRadioButton(QStringLiteral("推定値"))),
      formulaMode_(new QRadioButton(QStringLiteral("近似式計算"))),
      citation_(Text(kTableSource, 7343)),
      formulaPanel_(new QWidget) {
  setObjectName(QStringLiteral("CRefShearTaupDlg"));
  setWindowTitle(QStringLiteral("参考値：極限周面摩擦抵抗"));
  SetId(grid_, 7366);
  SetId(tableMode_, 7367);
  SetId(formulaMode_, 7368);
  tau_->SetReadOnlyColor(Color{0xB8FFFF});
  tau_->SetReadOnly(true);

  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetMaxCols(kValueCol);
  grid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("地盤の種類"));
  grid_->SetText(SheetBlock(kValueCol, CSheetGrid::kHeaderRow),
                 QStringLiteral("極限周面摩擦抵抗\nτp (N/mm2)"));
  grid_->AddCellSpan(1, CSheetGrid::kHeaderRow, kValueCol - 1, 1);
  grid_->SetMaxRows(static_cast<int>(std::size(kGrounds)));
  int row = 1;
  for (const Ground& ground : kGrounds) {
    SpreadSetText(*grid_, 1, row, ground.ground);
    SpreadSetText(*grid_, 2, row, ground.kind);
    SpreadSetText(*grid_, 3, row, ground.n);
    SpreadSetText(*grid_, kValueCol, row, ground.shown);
    ++row;
  }
  grid_->SetLock(SheetBlock(1, 1, kValueCol, row - 1), true);
  grid_->SetSelMode(SheetSelMode::SingleRow);
  for (int col = 1; col < kValueCol; ++col) grid_->SetColWidth(col, 80);
  grid_->SetColWidth(kValueCol, 150);

  auto* modes = new QButtonGroup(this);
  modes->addButton(tableMode_, kTable);
  modes->addButton(formulaMode_, kFormula);
  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(tableMode_);
  modeRow->addWidget(formulaMode_);
  modeRow->addStretch();

  auto* formula = new QGridLayout(formulaPanel_);
  formula->setContentsMargins(0, 0, 0, 0);
  formula->addWidget(Text("砂質土・礫質土では、ばらつきはあるものの、", 7369), 0, 0, 1, 3);
  formula->addWidget(Text("簡易動的コーン貫入試験の平均Nd値と極限周面摩擦抵抗の間に", 7370), 1, 0,
                     1, 3);
  formula->addWidget(Text("概ね直線的な関係が認められるため、", 7371), 2, 0, 1, 3);
  formula->addWidget(Text("平均Nd値から極限周面摩擦抵抗を推定することができる。", 7372), 3, 0, 1,
                     3);
  formula->addWidget(Text("簡易動的コーン貫入試験平均 Nd =", 7376), 4, 0);
  formula->addWidget(nd_, 4, 1);
  formula->addWidget(Text("極限周面摩擦抵抗 τ = 13Nd＋14 =", 7375), 5, 0);
  formula->addWidget(tau_, 5, 1);
  formula->addWidget(Text("(N/mm2)", 7374), 5, 2);
  formula->setColumnStretch(3, 1);
  formula->setRowStretch(6, 1);

  auto* source = new QHBoxLayout;
  source->addWidget(Text("出典"), 0, Qt::AlignTop);
  source->addWidget(citation_, 1);
  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(modeRow);
  layout->addWidget(grid_, 1);
  layout->addWidget(formulaPanel_, 1);
  layout->addLayout(source);
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);

  nd_->SetDouble(ndValue_);
  tau_->SetDouble(FormulaTau(ndValue_));
  tableMode_->setChecked(true);
  SetMode(kTable);
  grid_->SetActiveCell(1, 1);

  connect(tableMode_, &QRadioButton::clicked, this, [this] { SetMode(kTable); });
  connect(formulaMode_, &QRadioButton::clicked, this, [this] { SetMode(kFormula); });
  connect(nd_, &CExpEdit::FocusLeft, this, &CRefShearTaupDlg::OnNdLeft);
}

void CRefShearTaupDlg::SetMode(Mode mode) {
  mode_ = mode;
  grid_->setVisible(mode == kTable);
  formulaPanel_->setVisible(mode == kFormula);
  citation_->setText(QString::fromUtf8(mode == kTable ? kTableSource : kFormulaSource));
  if (mode == kFormula) tau_->SetDouble(FormulaTau(ndValue_));
}

void CRefShearTaupDlg::OnNdLeft() {
  ndValue_ = nd_->GetDouble();
  tau_->SetDouble(FormulaTau(ndValue_));
}

void CRefShearTaupDlg::OnOK() {
  if (mode_ == kFormula) {
    chosen_ = FormulaTau(ndValue_);
    StageDialog::OnOK();
    return;
  }
  const int row = grid_->ActiveRow();
  if (row >= 1 && row <= static_cast<int>(std::size(kGrounds))) {
    const Ground& ground = kGrounds[row - 1];
    if (ground.taup == kNoValue) {
      Ui().MessageBox(kClayRefused, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
      return;
    }
    chosen_ = ground.taup;
  }
  StageDialog::OnOK();
}
