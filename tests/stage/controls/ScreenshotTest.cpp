// Pictures of the controls for a person to look at (the screenshot folder), with a few pixels
// sampled where the colours must be.

#include <gtest/gtest.h>

#include <QGridLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr Color kGridColour{0xFFFFDB};  // the stage grids' header colour
constexpr Color kReadOnly{0xB8FFFF};    // light yellow of derived values
constexpr Color kOkBlue{0xFF0000};
constexpr Color kOutRed{0x0000FF};

QPixmap Arrow(const QColor& colour) {
  QPixmap picture(24, 24);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setBrush(colour);
  painter.drawPolygon(QPolygon({QPoint(4, 12), QPoint(18, 4), QPoint(18, 20)}));
  return picture;
}

// Every style in a row: released, checked (or lit), disabled.
TEST(ScreenshotTest, EveryControlStyle) {
  QWidget panel;
  auto* layout = new QGridLayout(&panel);
  const char* names[] = {"標準", "タブ", "グラデ", "フラット", "斜め", "ランプ", "枠付き", ""};
  for (int style = 0; style <= 7; ++style) {
    for (int state = 0; state < 3; ++state) {
      auto* button = new CExpButton(QString::fromUtf8(names[style]));
      button->m_nStyle = style;
      button->m_bCheck = state == 1;
      button->m_bLamp = state == 1;
      button->setEnabled(state != 2);
      if (style == 2 || style == 6) button->m_clrFace = Color::Rgb(120, 170, 230);
      if (style == 3) {
        button->m_clrFace = Color::Rgb(230, 240, 255);
        button->m_clrFaceSub = Color::Rgb(70, 110, 170);
        button->m_clrCheckSub = Color::Rgb(255, 220, 120);
      }
      if (style == 5) button->m_clrCheckSub = Color::Rgb(255, 80, 80);
      if (style == 7) {
        button->m_bmpNormal = Arrow(Qt::darkGreen);
        button->m_bmpPush = Arrow(Qt::green);
      }
      button->setMinimumSize(style == 7 ? 32 : 96, 30);
      layout->addWidget(button, style, state);
    }
  }
  auto* edit = new CExpEdit;
  edit->m_nType = CExpEdit::kDecimal;
  edit->m_nDecimals = 2;
  edit->SetDouble(12.5);
  auto* readOnly = new CExpEdit;
  readOnly->SetReadOnlyColor(kReadOnly);
  readOnly->SetReadOnly(true);
  readOnly->setText(QStringLiteral("40.0"));
  layout->addWidget(edit, 8, 0);
  layout->addWidget(readOnly, 8, 1);
  const char* labels[] = {"γ{_t} (kN/m{^3})", "τ{_p} 極限周面摩擦", "土質定数"};
  for (int i = 0; i < 3; ++i) {
    auto* label = new CExpStatic(QString::fromUtf8(labels[i]));
    label->m_bMarkup = i < 2;
    label->m_bFrame = i == 2;
    label->m_clrText = i == 1 ? kOutRed : Color{0};
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(26);
    layout->addWidget(label, 9, i);
  }
  panel.adjustSize();
  SaveShot(panel, "controls");

  const QImage shot = panel.grab().toImage();
  const QRect readOnlyBox = readOnly->geometry();
  EXPECT_EQ(shot.pixelColor(readOnlyBox.center().x(), readOnlyBox.top() + 3),
            QColor(255, 255, 184));
}

TEST(ScreenshotTest, GridWithTwoHeaderRows) {
  CSheetGrid grid;
  grid.SetMaxCols(6);
  grid.SetMaxRows(8);
  grid.SetColHeaderRows(2);
  grid.SetHeaderBackColor(kGridColour);
  grid.SetLockBackColor(kReadOnly);
  grid.SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("登録"));
  grid.AddCellSpan(1, CSheetGrid::kHeaderRow, 1, 2);
  grid.SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("始点\nブロック"));
  grid.AddCellSpan(2, CSheetGrid::kHeaderRow, 1, 2);
  grid.SetText(SheetBlock(3, CSheetGrid::kHeaderRow), QStringLiteral("常時"));
  grid.AddCellSpan(3, CSheetGrid::kHeaderRow, 2, 1);
  grid.SetText(SheetBlock(5, CSheetGrid::kHeaderRow), QStringLiteral("地震時"));
  grid.AddCellSpan(5, CSheetGrid::kHeaderRow, 2, 1);
  const char* second[] = {"Fs", "判定", "Fs", "判定"};
  for (int i = 0; i < 4; ++i) {
    grid.SetText(SheetBlock(3 + i, CSheetGrid::kHeaderRow2), QString::fromUtf8(second[i]));
  }
  grid.SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow), QStringLiteral("No"));
  grid.SetCellType(SheetBlock(1, CSheetGrid::kAll), SheetCellType::CheckBox);
  grid.SetDecimalPlaces(SheetBlock(3, CSheetGrid::kAll), 3);
  grid.SetDecimalPlaces(SheetBlock(5, CSheetGrid::kAll), 3);
  grid.SetLock(SheetBlock(2, CSheetGrid::kAll, 6, CSheetGrid::kAll), true);
  for (int row = 1; row <= 8; ++row) {
    const double fs = 0.9 + 0.05 * row;
    SpreadSetInt(grid, 1, row, row == 3 ? 1 : 0);
    SpreadSetInt(grid, 2, row, row);
    SpreadSetDbl(grid, 3, row, 3, "", fs);
    SpreadSetCol4Text(grid, row, fs >= 1.2 ? kOkBlue : kOutRed, fs >= 1.2 ? "OK" : "OUT");
    SpreadSetDbl(grid, 5, row, 3, "", row == 5 ? kNoValue : fs * 0.8);
  }
  grid.SetBackColor(SheetBlock(2, 3, 6, 3), Color{0xC0FFFF});
  grid.resize(520, 320);
  grid.SetActiveCell(3, 3);
  SaveShot(grid, "grid_two_header_rows");

  const QImage shot = grid.grab().toImage();
  const QPoint header = grid.horizontalHeader()->geometry().topLeft() + QPoint(40, 3);
  EXPECT_EQ(shot.pixelColor(header), QColor(219, 255, 255));
}

}  // namespace
