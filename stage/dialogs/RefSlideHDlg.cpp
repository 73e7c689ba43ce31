#include "stage/dialogs/RefSlideHDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefSlideGrids.h"

namespace {

constexpr int kNoCol = 1;
constexpr int kL1Col = 2;
constexpr int kL2Col = 3;
constexpr int kExtraCol = 4;
constexpr int kTotalCol = 5;
constexpr int kValueCol = 2;
constexpr int kDecimals = 4;
constexpr Color kShortBolt{0x0000FF};

constexpr const char* kBoltHeaders[] = {"ロック\nボルト\nNo.", "移動層 L1\n(厚さ h)", "不動層 L2",
                                        "余長\n(m)", "全長\nLRB(m)"};
constexpr const char* kValueHeaders[] = {"", "値"};
constexpr std::array<const char*, 4> kStatisticRows{"合計", "平均値 lave", "標準偏差 σ", "計算 h"};

// A zone length shows only when the bolt reaches into that layer.
void SetLength(CSheetGrid& grid, int col, int row, double value) {
  if (value != kNoValue && value > 0) SpreadSetDbl(grid, col, row, kDecimals, "", value);
}

}  // namespace

std::optional<double> CRefSlideHDlg::PickThickness(const CCase& source, int calcRow,
                                                   QWidget* parent) {
  CRefSlideHDlg dialog(source, calcRow, parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.Result();
}

CRefSlideHDlg::CRefSlideHDlg(const CCase& source, int calcRow, QWidget* parent)
    : StageDialog(parent),
      bolts_(new CSheetGrid),
      statistics_(new CSheetGrid),
      required_(new CSheetGrid),
      result_(kNoValue) {
  setWindowTitle(QStringLiteral("厚さ計算から代入"));
  SetId(bolts_, 6395);
  SetId(statistics_, 6396);
  SetId(required_, 6397);
  PrepareReferenceGrid(*bolts_, kBoltHeaders);
  PrepareReferenceGrid(*statistics_, kValueHeaders);
  PrepareReferenceGrid(*required_, kValueHeaders);
  statistics_->SetMaxRows(static_cast<int>(kStatisticRows.size()));
  for (std::size_t i = 0; i < kStatisticRows.size(); ++i) {
    statistics_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, static_cast<int>(i) + 1),
                         QString::fromUtf8(kStatisticRows[i]));
  }
  required_->SetMaxRows(1);
  required_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("必要ボルト長"));
  // The values stand in column 2; the first column holds nothing.
  for (CSheetGrid* values : {statistics_, required_}) {
    values->setColumnHidden(0, true);
    FitHeight(*values);
  }

  const OkCancelRow buttons = MakeOkCancelRow({}, {.ok = "代入"});
  assign_ = buttons.ok;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("対策範囲（地震時）の潜在崩土層厚")));
  layout->addWidget(bolts_, 1);
  layout->addWidget(statistics_);
  layout->addWidget(required_);
  layout->addLayout(buttons.layout);

  FillBolts(source, std::clamp(calcRow, 0, CReinforce::kSetCount - 1));
  FillStatistics(source);
  FitWidth(*bolts_);
  assign_->setEnabled(result_ != kNoValue);
  resize(qMax(minimumSizeHint().width(), 560), 520);
  SetTrackLimits(0, -200, 0, 9999);
  statistics_->setFocus();
  statistics_->SetActiveCell(kValueCol, 4);
}

void CRefSlideHDlg::FillBolts(const CCase& source, int calcRow) {
  const CReinfArrange& arrange = source.GetReinfArrange();
  const double required = arrange.GetDesignLength();
  bolts_->SetMaxRows(arrange.GetSize());
  for (int i = 0; i < arrange.GetSize(); ++i) {
    const CReinforce& bolt = *arrange.GetAt(i);
    const int row = i + 1;
    SpreadSetInt(*bolts_, kNoCol, row, bolt.number);
    SetLength(*bolts_, kL1Col, row, bolt.GetH(calcRow));
    SetLength(*bolts_, kL2Col, row, bolt.GetH2(calcRow));
    SpreadSetDbl(*bolts_, kExtraCol, row, kDecimals, "", bolt.extraLength);
    SpreadSetDbl(*bolts_, kTotalCol, row, kDecimals, "", bolt.length);
    if (required != kNoValue && bolt.length != kNoValue && bolt.length < required) {
      bolts_->SetForeColor(SheetBlock(kTotalCol, row), kShortBolt);
    }
  }
}

void CRefSlideHDlg::FillStatistics(const CCase& source) {
  const CReinfArrange& arrange = source.GetReinfArrange();
  const std::array<double, 4> values{arrange.GetSumH(), arrange.GetMeanH(), arrange.GetDeviationH(),
                                     arrange.GetMeanPlusDeviation()};
  for (std::size_t i = 0; i < values.size(); ++i) {
    SpreadSetDbl(*statistics_, kValueCol, static_cast<int>(i) + 1, kDecimals, "", values[i]);
  }
  SpreadSetDbl(*required_, kValueCol, 1, kDecimals, "", arrange.GetDesignLength());
  result_ = arrange.GetMeanPlusDeviation();
}
