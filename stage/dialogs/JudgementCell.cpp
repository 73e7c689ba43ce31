#include "stage/dialogs/JudgementCell.h"

#include "core/base/Constants.h"
#include "platform/DevTypes.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

const char* JudgementText(Judgement judgement) {
  switch (judgement) {
    case Judgement::kOk:
      return "OK";
    case Judgement::kOut:
      return "OUT";
    case Judgement::kNoLoad:
      return "荷重なし";
    case Judgement::kNone:
      break;
  }
  return "判定なし";
}

void ShowJudgement(CSheetGrid& grid, int col, int row, Judgement judgement) {
  const Color color = judgement == Judgement::kOk    ? kBlue
                      : judgement == Judgement::kOut ? kRed
                                                     : kBlack;
  grid.SetForeColor(SheetBlock(col, row), color);
  SpreadSetText(grid, col, row, JudgementText(judgement));
}
