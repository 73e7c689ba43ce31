#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <functional>
#include <string>

#include "app/dialogs/CaseInfoDlg.h"
#include "core/case/ManageCore.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetGrid.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kActiveRow = 5;  // the sample document's active slot 4
constexpr const char* kCaption = "RUrevavirazo";

class CaseInfoDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    FillSampleDocument(core_);
    FillSampleDocument(opening_);
    core_.ResetModify();
  }

  CCase& Slot(int slot) { return *core_.GetCaseArray().GetCase(slot); }
  const std::string& CaseName(int slot) { return Slot(slot).GetPrmJobsite().names[1]; }

  // Runs the dialog on the document with the script; returns its result.
  int Run(std::function<void(CCaseInfoDlg&)> script) {
    CCaseInfoDlg dialog(core_.GetCaseArray());
    ExpectModal<CCaseInfoDlg>(std::move(script));
    const int result = RunModal(dialog);
    resultIndex_ = dialog.GetResultIndex();
    return result;
  }

  // Every slot holds the case it held when the dialog opened, results included, and no case is
  // marked modified.
  void ExpectAsOpened() {
    for (int slot = 0; slot < CCaseArray::kCaseCount; ++slot) {
      const CCase& was = *opening_.GetCaseArray().GetCase(slot);
      EXPECT_TRUE(Slot(slot).IsSame(&was)) << "slot " << slot;
      EXPECT_EQ(Slot(slot).IsResStab(), was.IsResStab()) << "slot " << slot;
      EXPECT_EQ(Slot(slot).IsResSlide(), was.IsResSlide()) << "slot " << slot;
      EXPECT_EQ(Slot(slot).GetInUse(), was.GetInUse()) << "slot " << slot;
    }
    EXPECT_FALSE(core_.IsModify());
  }

  static CSheetGrid& Grid(CCaseInfoDlg& d) { return *Ctl<CSheetGrid>(d, 1048); }
  static void Click(CCaseInfoDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  static void Check(CCaseInfoDlg& d, int row) {
    Grid(d).SetText(SheetBlock(CCaseInfoDlg::kColCheck, row), QStringLiteral("1"));
  }
  static bool IsChecked(CCaseInfoDlg& d, int row) {
    return Grid(d).Value(CCaseInfoDlg::kColCheck, row) == "1";
  }

  CManageCore core_;
  CManageCore opening_;
  int resultIndex_ = -2;
};

TEST_F(CaseInfoDlgTest, ListsTheNamesAndStatesOfTheTenCases) {
  EXPECT_EQ(Run([this](CCaseInfoDlg& d) {
              EXPECT_EQ(d.windowTitle(), "ケース情報");
              CSheetGrid& g = Grid(d);
              EXPECT_EQ(g.MaxRows(), 10);
              EXPECT_EQ(g.MaxCols(), 10);
              EXPECT_EQ(g.Text(10, CSheetGrid::kHeaderRow), "結果\nクリア");
              for (int row = 1; row <= 10; ++row) {
                CCase& c = Slot(row - 1);
                for (int i = 0; i < 3; ++i) {
                  EXPECT_EQ(g.Text(i + 1, row).toStdString(), c.GetPrmJobsite().names[i]);
                }
                const bool states[] = {c.PreCalcStab(false),  c.IsResStab(),
                                       c.PreCalcSlide(false), c.IsResSlide(),
                                       c.PreCalcShear(false), c.IsResShear()};
                for (int col = 4; col <= 9; ++col) {
                  EXPECT_EQ(g.Text(col, row), states[col - 4] ? "○" : "-")
                      << "row " << row << " col " << col;
                  EXPECT_TRUE(g.Lock(col, row));
                }
                EXPECT_EQ(g.CellType(10, row), SheetCellType::CheckBox);
                EXPECT_FALSE(IsChecked(d, row));
              }
              // The sample cases have input and results for every step.
              EXPECT_EQ(g.Text(5, kActiveRow), "○");
              EXPECT_EQ(g.Text(9, kActiveRow), "○");
              EXPECT_EQ(g.Text(5, 2), "-");
              EXPECT_EQ(g.ActiveRow(), kActiveRow);
              EXPECT_EQ(g.ActiveCol(), 1);
              EXPECT_EQ(Ctl<QPushButton>(d, 1051)->toolTip(),
                        "チェックをつけたケースの計算結果をクリアします");
              EXPECT_TRUE(Ctl<QPushButton>(d, 1043)->isEnabled());
              EXPECT_TRUE(Ctl<QPushButton>(d, 1050)->isEnabled());
              ASSERT_TRUE(ShowActive(d));
              SaveShot(d, "CCaseInfoDlg");
              Click(d, 1);
            }),
            QDialog::Accepted);
  EXPECT_EQ(resultIndex_, kActiveRow - 1);
  EXPECT_FALSE(core_.IsModify());
}

// A renamed case reaches the file: it is marked modified, and an empty slot that gets a name is
// in use, since a slot not in use is stored without its names. Names are taken when the user
// leaves the cell and on OK.
TEST_F(CaseInfoDlgTest, ARenamedCaseIsModified) {
  Run([](CCaseInfoDlg& d) {
    CSheetGrid& g = Grid(d);
    g.SetText(SheetBlock(2, kActiveRow), QStringLiteral("新しいケース"));
    ASSERT_TRUE(ShowActive(d));
    g.setFocus();
    QTest::keyClick(&g, Qt::Key_Up);  // leaves the cell for row 4
    EXPECT_EQ(g.ActiveRow(), kActiveRow - 1);
    g.SetText(SheetBlock(1, 2), QStringLiteral("空きの現場"));
    Click(d, 1);
  });
  EXPECT_EQ(resultIndex_, kActiveRow - 2);
  EXPECT_EQ(CaseName(4), "新しいケース");
  EXPECT_TRUE(Slot(4).IsModified());
  EXPECT_EQ(Slot(1).GetPrmJobsite().names[0], "空きの現場");
  EXPECT_TRUE(Slot(1).IsModified());
  EXPECT_EQ(Slot(1).GetInUse(), 1);
  for (const int untouched : {0, 2, 3, 5, 6, 7, 8, 9}) EXPECT_FALSE(Slot(untouched).IsModified());
}

TEST_F(CaseInfoDlgTest, ClearThenCancelBringsTheResultsBack) {
  ASSERT_TRUE(Slot(4).IsResStab());
  Run([this](CCaseInfoDlg& d) {
    Check(d, kActiveRow);
    TestUi().ExpectMessageBox(MsgResult::Ok,
                              "チェックをつけたケースの結果を\nクリアしてよろしいですか？");
    Click(d, 1051);
    EXPECT_FALSE(Slot(4).IsResStab());
    EXPECT_FALSE(Slot(4).IsResSlide());
    EXPECT_FALSE(Slot(4).IsResShear());
    EXPECT_TRUE(Slot(4).IsModified());
    EXPECT_TRUE(Slot(0).IsResStab());
    EXPECT_FALSE(IsChecked(d, kActiveRow));
    EXPECT_EQ(Grid(d).Text(5, kActiveRow), "-");
    Click(d, 2);
  });
  const MessageBoxCall& box = TestUi().MessageBoxes().at(0);
  EXPECT_EQ(box.caption, kCaption);
  EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
  EXPECT_EQ(box.icon, MsgIcon::Question);
  ExpectAsOpened();
  EXPECT_TRUE(Slot(4).IsResStab());
  EXPECT_TRUE(Slot(4).IsResShear());
  EXPECT_EQ(resultIndex_, -1);
}

// Clearing needs a checked case, and the question answered with Cancel changes nothing either.
TEST_F(CaseInfoDlgTest, ClearingWithoutAChecksOrConsentChangesNothing) {
  Run([](CCaseInfoDlg& d) {
    TestUi().ExpectMessageBox(MsgResult::Ok, "結果クリアしたいケースにチェックを入れてください。");
    Click(d, 1051);
    Check(d, 1);
    TestUi().ExpectMessageBox(MsgResult::Cancel);
    Click(d, 1051);
    EXPECT_TRUE(IsChecked(d, 1));
    Click(d, 1);
  });
  const MessageBoxCall& warning = TestUi().MessageBoxes().at(0);
  EXPECT_EQ(warning.caption, kCaption);
  EXPECT_EQ(warning.icon, MsgIcon::Warning);
  ExpectAsOpened();
}

// Cases move with their check marks; the first row goes no higher and the last no lower; Cancel
// after moving puts every case back in its slot.
TEST_F(CaseInfoDlgTest, CasesMoveWithTheirChecksAndCancelPutsThemBack) {
  const std::string moved = CaseName(4);
  const std::string other = CaseName(3);
  Run([&](CCaseInfoDlg& d) {
    CSheetGrid& g = Grid(d);
    Check(d, kActiveRow);
    Click(d, 1043);
    EXPECT_EQ(g.ActiveRow(), kActiveRow - 1);
    EXPECT_EQ(CaseName(3), moved);
    EXPECT_EQ(CaseName(4), other);
    EXPECT_TRUE(Slot(3).IsResStab());
    EXPECT_FALSE(Slot(4).IsResStab());
    EXPECT_TRUE(Slot(3).IsModified());
    EXPECT_TRUE(Slot(4).IsModified());
    EXPECT_TRUE(IsChecked(d, kActiveRow - 1));
    EXPECT_FALSE(IsChecked(d, kActiveRow));
    EXPECT_EQ(g.Text(2, kActiveRow - 1).toStdString(), moved);
    Click(d, 1050);
    EXPECT_EQ(CaseName(4), moved);
    EXPECT_TRUE(IsChecked(d, kActiveRow));

    const struct {
      int row;
      int button;
      bool enabled;
    } ends[] = {{1, 1043, false}, {1, 1050, true}, {10, 1050, false}, {10, 1043, true}};
    for (const auto& end : ends) {
      g.SetActiveCell(1, end.row == 1 ? 2 : 9);
      ASSERT_TRUE(ShowActive(d));
      g.setFocus();
      QTest::keyClick(&g, end.row == 1 ? Qt::Key_Up : Qt::Key_Down);
      ASSERT_EQ(g.ActiveRow(), end.row);
      EXPECT_EQ(Ctl<QPushButton>(d, end.button)->isEnabled(), end.enabled)
          << "row " << end.row << " button " << end.button;
    }
    const std::string first = CaseName(0);
    g.SetActiveCell(1, 1);
    Click(d, 1043);  // disabled, and nothing to move
    EXPECT_EQ(CaseName(0), first);
    Click(d, 2);
  });
  ExpectAsOpened();
}

}  // namespace
