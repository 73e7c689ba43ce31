// The rope-net check on the sample case: it recomputes at once, takes the net method from the
// reference table, shows the judgements, keeps or restores the case's check, and the stage
// manager refuses it while what it needs is missing.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>

#include "core/deformation/Reinforce.h"
#include "platform/NumberText.h"
#include "stage/StageManage.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdShearFocusDlg.h"
#include "stage/dialogs/RefShearTrnaDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kResultCol = 3;
constexpr int kLimitCol = 5;
constexpr int kJudgeCol = 6;
constexpr Color kBlue{0xFF0000};
constexpr Color kRed{0x0000FF};

class CmdShearFocusDlgTest : public SampleCaseTest {
 protected:
  CResFocus& Focus() { return Case().GetResFocus(); }
  static std::string Cell(const CCmdShearFocusDlg& d, int grid, int col) {
    return Ctl<CSheetGrid>(d, grid)->Text(col, 1).toStdString();
  }
  // Picks the method of the row in the reference table.
  static void PickMethod(CCmdShearFocusDlg& d, int row) {
    ExpectModal<CRefShearTrnaDlg>([row](CRefShearTrnaDlg& picker) {
      Ctl<CSheetGrid>(picker, 7360)->SetActiveCell(1, row);
      QTest::mouseClick(Ctl<QPushButton>(picker, 1), Qt::LeftButton);
    });
    QTest::mouseClick(Ctl<QPushButton>(d, 7355), Qt::LeftButton);
  }
};

TEST(RefShearTrnaDlgTest, EachRowGivesItsStrengthCountAndUnit) {
  const struct {
    int row;
    double strength;
    int count;
    const char* unit;
  } rows[] = {{1, 30.0, 8, "枚"}, {2, 64.4, 4, "本"}, {3, 68.6, 4, "本"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.row);
    CRefShearTrnaDlg d;
    EXPECT_EQ(d.windowTitle().toStdString(), "参考値：ロープネット破断強度、横方向ネット数");
    Ctl<CSheetGrid>(d, 7360)->SetActiveCell(2, r.row);
    const CRefShearTrnaDlg::Choice choice = d.Chosen();
    EXPECT_DOUBLE_EQ(choice.strength, r.strength);
    EXPECT_EQ(choice.count, r.count);
    EXPECT_EQ(choice.unitWord, r.unit);
  }
  CRefShearTrnaDlg d;
  const CSheetGrid& grid = *Ctl<CSheetGrid>(d, 7360);
  EXPECT_EQ(grid.Text(3, CSheetGrid::kHeaderRow).toStdString(), "破断強度\nTRNa (kN)");
  EXPECT_TRUE(grid.Text(4, 1).isEmpty());  // the blank column
  EXPECT_EQ(grid.Text(5, 2).toStdString(), "4本");
  ASSERT_TRUE(ShowActive(d));
  SaveShot(d, "CRefShearTrnaDlg");
}

// The stored check is stale (another TRB): opening recomputes it and shows the fresh values.
TEST_F(CmdShearFocusDlgTest, OpeningRecomputesTheCheck) {
  CResFocus fresh = Focus();
  Focus().trb = 999.0;
  Focus().fsRN = kNoValue;
  CCmdShearFocusDlg d(Case());
  EXPECT_EQ(Focus(), fresh);
  EXPECT_EQ(d.windowTitle().toStdString(), "局所破壊");
  EXPECT_EQ(Ctl<CExpEdit>(d, 7348)->text().toStdString(), FormatFixed(fresh.trb, 1));
  EXPECT_EQ(Ctl<CExpEdit>(d, 7223)->text().toStdString(), "4");
  EXPECT_EQ(Ctl<QLabel>(d, 7363)->text().toStdString(), "(本)");
  EXPECT_EQ(Cell(d, 6350, kResultCol), DblToText(4, fresh.GetT()));
  EXPECT_EQ(Cell(d, 6350, kLimitCol), DblToText(4, fresh.trb));
  EXPECT_TRUE(Ctl<CExpEdit>(d, 7223)->isReadOnly());  // n changes only through the table
  ASSERT_TRUE(ShowActive(d));
  QTest::mouseClick(Ctl<QPushButton>(d, 7354), Qt::LeftButton);
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_PRINT_WORD, 3, 1}));
  SaveShot(d, "CCmdShearFocusDlg-sample");
}

// The judgement cells show the four states of a check, OK in blue and OUT in red.
TEST_F(CmdShearFocusDlgTest, TheJudgementCellsShowTheStates) {
  const struct {
    const char* name;
    double capacity;
    double required;
    const char* judge;
  } cases[] = {
      {"passes", 1000.0, 1.0, "OK"},
      {"fails", 0.01, 2.0, "OUT"},
      {"no strength", kNoValue, 2.0, "判定なし"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Focus().capacity = c.capacity;
    Focus().requiredFsRN = c.required;
    CCmdShearFocusDlg d(Case());
    EXPECT_EQ(Cell(d, 6352, kJudgeCol), c.judge);
    const Color color = Ctl<CSheetGrid>(d, 6352)->ForeColor(kJudgeCol, 1);
    const std::string judge = c.judge;
    if (judge == "OK" || judge == "OUT") {
      EXPECT_EQ(color, judge == "OK" ? kBlue : kRed);
    }
  }

  // A short anchorage: the bolt holds less than the force on it.
  CReinforce& bolt = *Case().GetReinfArrange().GetAt(0);
  bolt.length = 0.6;
  bolt.extraLength = 0.5;
  CCmdShearFocusDlg d(Case());
  ASSERT_NE(Focus().GetT(), kNoValue);
  ASSERT_LT(Focus().GetT(), Focus().trb);
  EXPECT_EQ(Cell(d, 6350, kJudgeCol), "OUT");
  EXPECT_EQ(Ctl<CSheetGrid>(d, 6350)->ForeColor(kJudgeCol, 1), kRed);
}

// A method pick takes strength, count and unit word; キャンセル puts the opening state back.
TEST_F(CmdShearFocusDlgTest, AMethodPickIsUndoneByCancel) {
  const CResFocus opened = Focus();
  CCmdShearFocusDlg d(Case());
  ASSERT_TRUE(ShowActive(d));
  PickMethod(d, 1);
  EXPECT_EQ(Focus().count, 8);
  EXPECT_EQ(Focus().unitWord, "枚");
  EXPECT_DOUBLE_EQ(Focus().capacity, 30.0);
  EXPECT_EQ(Ctl<CExpEdit>(d, 7352)->text().toStdString(), "30.000");
  EXPECT_EQ(Ctl<CExpEdit>(d, 7223)->text().toStdString(), "8");
  EXPECT_EQ(Ctl<QLabel>(d, 7363)->text().toStdString(), "(枚)");
  EXPECT_NEAR(std::stod(Cell(d, 6352, kResultCol)), Focus().fsRN, 1e-3);
  QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  EXPECT_EQ(Focus(), opened);
  EXPECT_FALSE(Case().IsModified());
}

// OK marks the case modified exactly when something stored differs from the opening state.
TEST_F(CmdShearFocusDlgTest, OkMarksTheCaseModifiedOnlyForAChange) {
  enum class Edit { None, SafetyFactor, Method };
  for (const Edit edit : {Edit::None, Edit::SafetyFactor, Edit::Method}) {
    SCOPED_TRACE(static_cast<int>(edit));
    FillSampleCase(Case(), 0);
    Focus().capacity = 50.0;  // within the field's range, as a user enters it
    Focus().CalcAll(Case().GetPrmShear(), Case().GetResShear(), Case().GetPrmReinf(),
                    *Case().GetReinfArrange().GetAt(0));
    Case().SetModify(false);
    CCmdShearFocusDlg d(Case());
    ASSERT_TRUE(ShowActive(d));
    if (edit == Edit::SafetyFactor) {
      CExpEdit* fs = Ctl<CExpEdit>(d, 7353);
      fs->setFocus();
      fs->selectAll();
      TypeText(fs, QStringLiteral("3"));
      QTest::keyClick(fs, Qt::Key_Tab);
      EXPECT_DOUBLE_EQ(Focus().requiredFsRN, 3.0);  // recomputed on leaving the field
    }
    if (edit == Edit::Method) PickMethod(d, 3);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Case().IsModified(), edit != Edit::None);
  }
}

// The stage manager's three checks, each with its message and without the dialog.
TEST_F(CmdShearFocusDlgTest, TheStageManagerRefusesWhatIsMissing) {
  const struct {
    const char* message;
    void (*spoil)(CCase&);
  } cases[] = {
      {"先に[対策工諸元]の入力を行って下さい。",
       [](CCase& c) { c.GetPrmReinf().tauP1 = kNoValue; }},
      {"先に[対策工配置]の入力を行って下さい。", [](CCase& c) { c.GetReinfArrange().RemoveAll(); }},
      {"先に[せん断変形]の計算を行って下さい。",
       [](CCase& c) { c.GetResShear().yieldK = kNoValue; }},
  };
  CManageStage stage;
  stage.SetManageCore(&core_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    FillSampleCase(Case(), 0);
    c.spoil(Case());
    TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    EXPECT_EQ(stage.CmdShearFocus(nullptr), 0);
  }
}

}  // namespace
