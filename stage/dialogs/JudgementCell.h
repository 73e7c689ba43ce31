#pragma once
// The judgement cells of the step-3 and step-4 result dialogs: one wording and one colour per
// state of a check, so every dialog tells OK, OUT, no judgement and no load apart alike.

class CSheetGrid;

enum class Judgement {
  kOk,      // the value passes its limit
  kOut,     // the value fails its limit
  kNone,    // a value the check needs is unset
  kNoLoad,  // nothing acts that the check could take
};

// "OK", "OUT", "判定なし", "荷重なし".
const char* JudgementText(Judgement judgement);
// The judgement into a cell: OK in blue, OUT in red, the others in black.
void ShowJudgement(CSheetGrid& grid, int col, int row, Judgement judgement);
