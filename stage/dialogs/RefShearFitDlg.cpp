#include "stage/dialogs/RefShearFitDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kSiteCount = 4;
constexpr std::array<const char*, kSiteCount> kSites{"A地区", "B地区", "C地区", "D地区"};

struct Site {
  const char* b;
  const char* c;
  const char* geology;
};
constexpr std::array<Site, kSiteCount> kCoefficients{{
    {"702.35447", "0.77773", "花崗岩"},
    {"1525.96595", "0.90934", "砂岩・頁岩"},
    {"495.05298", "0.78907", "堆積岩"},
    {"656.41188", "0.8297", "火山岩"},
}};

struct TestRow {
  const char* strain;
  std::array<const char*, kSiteCount> ratio;
};
constexpr std::array<TestRow, 16> kTests{{
    {"1e-06", {"0.985", "0.995", "0.991", "0.993"}},
    {"2e-06", {"0.975", "0.99", "0.984", "0.988"}},
    {"4e-06", {"0.957", "0.982", "0.973", "0.979"}},
    {"8e-06", {"0.929", "0.966", "0.955", "0.963"}},
    {"1.6e-05", {"0.884", "0.938", "0.925", "0.936"}},
    {"3.2e-05", {"0.817", "0.889", "0.877", "0.891"}},
    {"6.4e-05", {"0.722", "0.81", "0.805", "0.821"}},
    {"0.00013", {"0.6", "0.691", "0.702", "0.719"}},
    {"0.00026", {"0.466", "0.544", "0.577", "0.59"}},
    {"0.00051", {"0.341", "0.393", "0.445", "0.451"}},
    {"0.001", {"0.235", "0.259", "0.32", "0.32"}},
    {"0.002", {"0.152", "0.157", "0.214", "0.209"}},
    {"0.0041", {"0.093", "0.089", "0.134", "0.127"}},
    {"0.0082", {"0.056", "0.049", "0.082", "0.076"}},
    {"0.016", {"0.034", "0.027", "0.05", "0.045"}},
    {"0.033", {"0.02", "0.014", "0.029", "0.025"}},
}};

constexpr Color kHeaderBack{0xFFFFDB};
constexpr Color kLockedBack{0xB8FFFF};

void Prepare(CSheetGrid& grid, int id, int cols, int rows) {
  SetId(&grid, id);
  grid.SetHeaderBackColor(kHeaderBack);
  grid.SetLockBackColor(kLockedBack);
  grid.SetMaxCols(cols);
  grid.SetMaxRows(rows);
  grid.SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  for (int col = 1; col <= cols; ++col) grid.SetColWidth(col, 84);
}

// Every column in sight and the given rows' height.
void FitSize(CSheetGrid& grid, int rowsHeight) {
  const int rowHeader =
      !grid.verticalHeader()->isHidden() ? grid.verticalHeader()->sizeHint().width() : 0;
  grid.setMinimumWidth(grid.horizontalHeader()->length() + rowHeader + 2 * grid.frameWidth() + 24);
  grid.setFixedHeight(grid.horizontalHeader()->sizeHint().height() + rowsHeight +
                      2 * grid.frameWidth() + 4);
}

CSheetGrid* MakeCoefficients() {
  auto* grid = new CSheetGrid;
  Prepare(*grid, 7359, kSiteCount, 3);
  grid->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow),
                QStringLiteral("係数"));
  grid->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("b"));
  grid->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 2), QStringLiteral("c"));
  grid->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 3), QStringLiteral("対象地区\nの地質"));
  for (int col = 1; col <= kSiteCount; ++col) {
    const Site& site = kCoefficients.at(static_cast<std::size_t>(col - 1));
    grid->SetText(SheetBlock(col, CSheetGrid::kHeaderRow),
                  QString::fromUtf8(kSites.at(static_cast<std::size_t>(col - 1))));
    SpreadSetText(*grid, col, 1, site.b);
    SpreadSetText(*grid, col, 2, site.c);
    SpreadSetText(*grid, col, 3, site.geology);
  }
  // The geology row's heading takes two lines.
  grid->verticalHeader()->resizeSection(2, 2 * grid->verticalHeader()->defaultSectionSize());
  FitSize(*grid, grid->verticalHeader()->length());
  return grid;
}

CSheetGrid* MakeTests() {
  auto* grid = new CSheetGrid;
  Prepare(*grid, 7360, 1 + kSiteCount, static_cast<int>(kTests.size()));
  grid->SetColHeaderRows(2);
  grid->AddCellSpan(2, CSheetGrid::kHeaderRow, kSiteCount, 1);
  grid->AddCellSpan(1, CSheetGrid::kHeaderRow, 1, 2);
  grid->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("γ"));
  grid->SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("G/G0"));
  for (int site = 0; site < kSiteCount; ++site) {
    grid->SetText(SheetBlock(site + 2, CSheetGrid::kHeaderRow2),
                  QString::fromUtf8(kSites.at(static_cast<std::size_t>(site))));
  }
  for (int row = 1; row <= static_cast<int>(kTests.size()); ++row) {
    const TestRow& test = kTests.at(static_cast<std::size_t>(row - 1));
    SpreadSetText(*grid, 1, row, test.strain);
    for (int site = 0; site < kSiteCount; ++site) {
      SpreadSetText(*grid, site + 2, row, test.ratio.at(static_cast<std::size_t>(site)));
    }
  }
  grid->verticalHeader()->hide();
  FitSize(*grid, 10 * grid->verticalHeader()->defaultSectionSize());
  return grid;
}

}  // namespace

CRefShearFitDlg::CRefShearFitDlg(QWidget* parent)
    : StageDialog(parent), coefficients_(MakeCoefficients()) {
  setWindowTitle(QStringLiteral("参考値：フィット曲線係数"));
  auto* source = new QHBoxLayout;
  source->addWidget(new QLabel(QStringLiteral("出典")));
  source->addWidget(new QLabel(QStringLiteral("設計・施工暫定指針　添付4-11")), 1);
  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(coefficients_);
  layout->addWidget(MakeTests());
  layout->addLayout(source);
  layout->addLayout(buttons);
  coefficients_->SetActiveCell(1, 1);
}

void CRefShearFitDlg::OnOK() {
  const int site = coefficients_->ActiveCol();
  b_ = SpreadGetDbl(*coefficients_, site, 1);
  c_ = SpreadGetDbl(*coefficients_, site, 2);
  StageDialog::OnOK();
}
