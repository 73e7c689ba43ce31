// The judgement cells of the result dialogs: one wording and colour per state.

#include <gtest/gtest.h>

#include <string>

#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/JudgementCell.h"

namespace {

TEST(JudgementCellTest, EachStateHasItsTextAndColour) {
  const struct {
    Judgement judgement;
    const char* text;
    Color color;
  } cases[] = {
      {Judgement::kOk, "OK", Color{0xFF0000}},
      {Judgement::kOut, "OUT", Color{0x0000FF}},
      {Judgement::kNone, "判定なし", Color{0x000000}},
      {Judgement::kNoLoad, "荷重なし", Color{0x000000}},
  };
  CSheetGrid grid;
  grid.SetMaxCols(4);
  grid.SetMaxRows(1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ShowJudgement(grid, 4, 1, c.judgement);
    EXPECT_EQ(grid.Text(4, 1).toStdString(), c.text);
    EXPECT_EQ(grid.ForeColor(4, 1), c.color);
  }
}

}  // namespace
