#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/case/Case.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "platform/FrameMessages.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabBlockAddDlg.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr const char* kClearQuestion =
    "ブロック分割の更新により、すべての計算結果をクリアします。\nよろしいですか？";
constexpr const char* kTooMany =
    "ブロック数が上限の300を超えています。\n\nブロック数を減らしてください。";

const FrameMessage kClosedOk{FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 1, 0};
const FrameMessage kClosedCancel{FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 0, 0};

enum Id {
  kStratum = 5407,
  kStartX = 5409,
  kAngle = 5412,
  kAuto = 5410,
  kGrid = 5411,
  kAdd = 5363,
  kInsert = 5413,
  kDelete = 5414,
  kPreview = 5415,
  kStartLabel = 5417,
  kShowGround = 5418,
  kMouseInput = 5420,
  kZoomIn = 5223,
  kZoomReset = 5224,
};

std::vector<double> Positions(const CBlockList& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetXSize(); ++i) xs.push_back(list.GetX(i));
  return xs;
}

// The dialog on the sample case (six blocks, results), closed by a frame that acts as the stage
// manager's close member does: hide, then delete later.
class BlockDlgTest : public SampleCaseTest {
 protected:
  BlockDlgTest() {
    TestUi().SetFrameReceiver(
        [this](FrameMsg message, std::uintptr_t, std::intptr_t) -> std::intptr_t {
          if (message == FrameMsg::WM_CMD_STAB_BLOCK_CLOSE && dlg_ != nullptr) {
            dlg_->hide();
            dlg_->deleteLater();
          }
          return 0;
        });
  }
  ~BlockDlgTest() override {
    TestUi().SetFrameReceiver({});
    delete dlg_.data();
  }

  CCmdStabBlockDlg& Open() {
    before_.Copy(&Case());
    dlg_ = new CCmdStabBlockDlg(Case());
    EXPECT_TRUE(ShowActive(*dlg_));
    return *dlg_;
  }
  void Press(int id) { QTest::mouseClick(Ctl<QPushButton>(*dlg_, id), Qt::LeftButton); }
  CSheetGrid& Grid() { return *Ctl<CSheetGrid>(*dlg_, kGrid); }
  CExpEdit& StartX() { return *Ctl<CExpEdit>(*dlg_, kStartX); }
  CExpEdit& Angle() { return *Ctl<CExpEdit>(*dlg_, kAngle); }
  static void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  const CDPoly& SlideMass() {
    return *Case().GetGround().GetPolyArray()->GetAt(Case().GetBlockList().GetStratumIndex());
  }
  // The case's division remade, unconfirmed, with count blocks spread evenly over the slide mass
  // less a margin at either end.
  void DivideCase(int count, double margin = 0) {
    const double left = SlideMass().Left().x + margin;
    const double right = SlideMass().Right().x - margin;
    std::vector<double> xs;
    for (int k = 0; k <= count; ++k) xs.push_back(left + (right - left) * k / count);
    CBlockList& blocks = Case().GetBlockList();
    blocks.CopyStX(xs);
    ASSERT_EQ(blocks.CreateBlock(nullptr, nullptr), count);
    blocks.SetConfirmed(false);
  }
  void ExpectCaseUnchanged() {
    EXPECT_EQ(Positions(Case().GetBlockList()), Positions(before_.GetBlockList()));
    EXPECT_EQ(Case().GetBlockList().GetBlockSize(), before_.GetBlockList().GetBlockSize());
    EXPECT_FALSE(Case().IsModified());
    EXPECT_TRUE(Case().IsResStab());
  }

  CCase before_;
  QPointer<CCmdStabBlockDlg> dlg_;
};

TEST_F(BlockDlgTest, OpensOnTheCasesDivision) {
  CCmdStabBlockDlg& d = Open();
  EXPECT_EQ(d.windowTitle(), "ブロック分割");
  const CBlockList& blocks = Case().GetBlockList();
  QComboBox* stratum = Ctl<QComboBox>(d, kStratum);
  const CDPolyArray& strata = *Case().GetGround().GetPolyArray();
  ASSERT_EQ(stratum->count(), strata.GetSize());
  EXPECT_EQ(stratum->itemText(1).toStdString(), strata.GetAt(1)->GetName());
  EXPECT_EQ(stratum->currentIndex(), blocks.GetStratumIndex());
  EXPECT_TRUE(StartX().text().isEmpty());  // the sample's start x is unset
  EXPECT_TRUE(Ctl<QCheckBox>(d, kShowGround)->isChecked());
  EXPECT_TRUE(Ctl<QCheckBox>(d, kMouseInput)->isChecked());
  EXPECT_EQ(Ctl<CExpButton>(d, kZoomIn)->toolTip(), "図拡大");
  EXPECT_EQ(Ctl<CExpButton>(d, kZoomReset)->toolTip(), "図縮小");

  // One row per cut, walking from block 1; the start cut has no end angle.
  CSheetGrid& grid = Grid();
  ASSERT_EQ(grid.MaxRows(), blocks.GetBlockSize() + 1);
  EXPECT_EQ(grid.Text(5, 1), "－");
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    EXPECT_NEAR(SpreadGetDbl(grid, 1, row), blocks.GetX(row - 1), 1e-4) << row;
  }
  const CBlock& first = *blocks.GetBlockPtr(0);
  const bool rightUpper = Case().IsRightUpper();
  EXPECT_NEAR(SpreadGetDbl(grid, 2, 2), rightUpper ? first.GetLeftTopY() : first.GetRightTopY(),
              1e-4);
  EXPECT_NEAR(SpreadGetDbl(grid, 4, 1), first.GetH(rightUpper), 1e-4);
  EXPECT_TRUE(grid.Lock(2, 1));
  EXPECT_FALSE(grid.Lock(1, 1));
  SaveShot(d, "CCmdStabBlockDlg");
}

TEST_F(BlockDlgTest, WithoutBlocksTheGridHasNoRowsAndAnEmptyStartXIsUnset) {
  Case().GetBlockList().DeleteBlockArray();
  Case().GetBlockList().SetStartX(12.5);
  CCmdStabBlockDlg& d = Open();
  EXPECT_EQ(Grid().MaxRows(), 0);
  EXPECT_EQ(StartX().text(), "12.500");
  StartX().clear();
  d.StoreInput();
  EXPECT_EQ(d.WorkingList().GetStartX(), kNoValue);
}

// The preview zooms between 1 and 100 times; a step out at 1 keeps the pan it has.
TEST_F(BlockDlgTest, PreviewZoomStaysWithinOneToAHundred) {
  CCmdStabBlockDlg& d = Open();
  CBlockPreview& preview = d.Preview();
  QWidget* area = Ctl<QWidget>(d, kPreview);
  ASSERT_EQ(area, &preview);

  QTest::mousePress(area, Qt::MiddleButton, Qt::NoModifier, QPoint(50, 50));
  QTest::mouseMove(area, QPoint(70, 40));
  QTest::mouseRelease(area, Qt::MiddleButton, Qt::NoModifier, QPoint(70, 40));
  EXPECT_EQ(preview.Pan(), QPoint(20, -10));
  preview.WheelStep(-120);
  EXPECT_EQ(preview.Zoom(), 1.0);
  EXPECT_EQ(preview.Pan(), QPoint(20, -10));

  preview.WheelStep(120);
  EXPECT_EQ(preview.Zoom(), 1.25);
  EXPECT_EQ(preview.Pan(), QPoint(25, -12));
  for (int i = 0; i < 30; ++i) Press(kZoomIn);
  EXPECT_EQ(preview.Zoom(), 100.0);
  preview.WheelStep(120);
  EXPECT_EQ(preview.Zoom(), 100.0);
  for (int i = 0; i < 40; ++i) preview.WheelStep(-120);
  EXPECT_EQ(preview.Zoom(), 1.0);

  Press(kZoomReset);
  EXPECT_EQ(preview.Zoom(), 1.0);
  EXPECT_EQ(preview.Pan(), QPoint());
}

// A click in the preview sets the start x, rounded to 0.001; with Shift it snaps to the slide
// mass's nearest point, but only while 元地形の表示 is on.
TEST_F(BlockDlgTest, ShiftClickSnapsOnlyWhileTheGroundIsShown) {
  struct Row {
    bool showGround;
    bool shift;
    bool snaps;
  };
  for (const Row& row : {Row{true, true, true}, Row{false, true, false}, Row{true, false, false}}) {
    SCOPED_TRACE(testing::Message() << row.showGround << row.shift);
    CCmdStabBlockDlg& d = Open();
    Ctl<QCheckBox>(d, kShowGround)->setChecked(row.showGround);
    Ctl<QComboBox>(d, kStratum)->setFocus();
    const QPoint at(d.Preview().width() / 3, d.Preview().height() / 2);
    CDPoint expected = d.Preview().ToWorld(at);
    expected.x = RoundOff(expected.x, 0.001);
    expected.y = RoundOff(expected.y, 0.001);
    if (row.snaps) {
      double distance = 0;
      int index = 0;
      expected = SlideMass().FindNearPoint(&expected, distance, index);
    }
    QTest::mouseClick(&d.Preview(), Qt::LeftButton, row.shift ? Qt::ShiftModifier : Qt::NoModifier,
                      at);
    EXPECT_DOUBLE_EQ(d.WorkingList().GetStartX(), expected.x);
    EXPECT_EQ(StartX().text().toStdString(), DblToText(3, expected.x));
    delete dlg_.data();
  }
}

// With the grid holding the focus a click replaces the active row's position; on an inserted
// empty row, which has no position yet, it changes nothing.
TEST_F(BlockDlgTest, AClickWithTheGridFocusedGoesToTheActiveRow) {
  CCmdStabBlockDlg& d = Open();
  const std::vector<double> before = Positions(d.WorkingList());
  CSheetGrid& grid = Grid();
  grid.setFocus();
  grid.SetActiveCell(1, 3);
  d.UpdateMouseMark();
  EXPECT_EQ(grid.Text(1, CSheetGrid::kHeaderRow), "X座標 (m)\n※");
  EXPECT_EQ(Ctl<QLabel>(d, kStartLabel)->text(), "　分割開始X座標：");

  const QPoint at = d.Preview().mapFromGlobal(d.Preview().mapToGlobal(QPoint(0, 0)));
  const double lo = before[1] < before[3] ? before[1] : before[3];
  const double hi = before[1] < before[3] ? before[3] : before[1];
  // A device point whose world x lies between positions 2 and 4.
  QPoint target = at;
  for (int px = 0; px < d.Preview().width(); ++px) {
    const double x = RoundOff(d.Preview().ToWorld(QPoint(px, 10)).x, 0.001);
    if (x > lo + 0.1 && x < hi - 0.1) {
      target = QPoint(px, 10);
      break;
    }
  }
  const double clicked = RoundOff(d.Preview().ToWorld(target).x, 0.001);
  QTest::mouseClick(&d.Preview(), Qt::LeftButton, Qt::NoModifier, target);
  std::vector<double> expected = before;
  expected[2] = clicked;
  EXPECT_EQ(Positions(d.WorkingList()), expected);
  EXPECT_TRUE(grid.hasFocus());

  Press(kInsert);  // an empty row 3; the positions stay
  grid.setFocus();
  grid.SetActiveCell(1, grid.MaxRows());
  QTest::mouseClick(&d.Preview(), Qt::LeftButton, Qt::NoModifier, target);
  EXPECT_EQ(Positions(d.WorkingList()), expected);

  Ctl<QCheckBox>(d, kMouseInput)->setChecked(false);
  EXPECT_EQ(grid.Text(1, CSheetGrid::kHeaderRow), "X座標 (m)");
}

TEST_F(BlockDlgTest, AutomaticDivisionFromTheStartXAtTheTypedAngle) {
  constexpr const char* kCannotDivide =
      "自動分割できません。\n分割層、分割開始X座標と分割角度を確認してください。";
  Case().GetBlockList().SetAngle(0);  // a new case's angle, which divides nothing
  CCmdStabBlockDlg& d = Open();
  EXPECT_TRUE(Angle().text().isEmpty());
  StartX().SetDouble(20);
  TestUi().ExpectMessageBox(MsgResult::Ok, kCannotDivide);
  Press(kAuto);
  EXPECT_EQ(Positions(d.WorkingList()), Positions(before_.GetBlockList()));

  Angle().SetDouble(30);
  Press(kAuto);
  const CBlockList& work = d.WorkingList();
  EXPECT_GT(work.GetBlockSize(), 1);
  EXPECT_EQ(Grid().MaxRows(), work.GetBlockSize() + 1);
  EXPECT_EQ(work.GetStartX(), 20);
  EXPECT_EQ(work.GetAngle(), 30);
  ExpectCaseUnchanged();
  EXPECT_EQ(Case().GetBlockList().GetAngle(), 0);

  // Without a start x nothing can be walked: said, and the division stays.
  const std::vector<double> divided = Positions(work);
  StartX().clear();
  TestUi().ExpectMessageBox(MsgResult::Ok, kCannotDivide);
  Press(kAuto);
  EXPECT_EQ(Positions(work), divided);
}

// The angle a document carries is shown; changing only it is a change OK stores.
TEST_F(BlockDlgTest, TheStoredAngleIsShownAndAChangedOneStored) {
  Case().GetBlockList().SetAngle(30);
  Case().GetBlockList().SetConfirmed(true);
  Case().SetModify(false);
  Open();
  EXPECT_EQ(Angle().text(), "30.0");
  Angle().SetDouble(35);
  TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
  Press(1);
  EXPECT_EQ(Case().GetBlockList().GetAngle(), 35);
  EXPECT_TRUE(Case().IsModified());
}

// 削除 asks about the selected rows; a selection that reaches past the last position deletes up
// to it.
TEST_F(BlockDlgTest, DeleteRemovesTheSelectedPositions) {
  struct Row {
    int first;
    int last;
    MsgResult answer;
    const char* question;
    std::vector<int> removed;  // 1-based
  };
  const std::vector<double> all = Positions(Case().GetBlockList());
  ASSERT_EQ(all.size(), 7U);
  const std::string one = "X = " + DblToText(3, all[1]) + " を削除してもよろしいですか？";
  for (const Row& row :
       {Row{2, 2, MsgResult::Ok, one.c_str(), {2}}, Row{2, 2, MsgResult::Cancel, one.c_str(), {}},
        Row{3, 4, MsgResult::Ok, "3 ～ 4 行を削除します。よろしいですか？", {3, 4}},
        Row{5, 20, MsgResult::Ok, "5 ～ 7 行を削除します。よろしいですか？", {5, 6, 7}}}) {
    SCOPED_TRACE(row.question);
    CCmdStabBlockDlg& d = Open();
    Grid().SetMaxRows(std::max(Grid().MaxRows(), row.last));  // rows the user inserted
    Grid().SetSelection(1, row.first, 1, row.last);
    TestUi().ExpectMessageBox(row.answer, row.question);
    Press(kDelete);
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, "削除");
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Question);
    std::vector<double> expected;
    for (int i = 1; i <= 7; ++i) {
      if (std::find(row.removed.begin(), row.removed.end(), i) == row.removed.end()) {
        expected.push_back(all[i - 1]);
      }
    }
    EXPECT_EQ(Positions(d.WorkingList()), expected);
    delete dlg_.data();
  }

  // Beyond the positions nothing happens.
  Open();
  Grid().SetMaxRows(9);
  Grid().SetSelection(1, 8, 1, 9);
  Press(kDelete);
  EXPECT_EQ(Positions(dlg_->WorkingList()), all);
}

// Typing a position remakes the blocks at once.
TEST_F(BlockDlgTest, ATypedPositionRemakesTheBlocks) {
  CCmdStabBlockDlg& d = Open();
  const std::vector<double> before = Positions(d.WorkingList());
  const double moved = (before[1] + before[2]) / 2;
  TypeIntoCell(Grid(), 1, 2, QString::fromStdString(DblToText(3, moved)));
  std::vector<double> expected = before;
  expected[1] = RoundOff(moved, 0.001);
  EXPECT_EQ(Positions(d.WorkingList()), expected);
  EXPECT_NEAR(SpreadGetDbl(Grid(), 1, 2), expected[1], 1e-9);
}

// OK writes only what changed. Nothing changed: it closes as キャンセル, asks nothing and keeps
// the results. A change asks before the results go; No keeps the dialog open and the case as it
// was.
TEST_F(BlockDlgTest, OkWritesBackOnlyAChangedDivision) {
  struct Row {
    const char* name;
    bool change;
    std::optional<MsgResult> answer;
    bool written;
  };
  for (const Row& row : {Row{"unchanged", false, std::nullopt, false},
                         Row{"changed, No", true, MsgResult::No, false},
                         Row{"changed, Yes", true, MsgResult::Yes, true}}) {
    SCOPED_TRACE(row.name);
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    CCmdStabBlockDlg& d = Open();
    if (row.change) {
      Grid().SetSelection(1, 2, 1, 2);
      TestUi().ExpectMessageBox(MsgResult::Ok);
      Press(kDelete);
    }
    const std::vector<double> edited = Positions(d.WorkingList());
    if (row.answer) TestUi().ExpectMessageBox(*row.answer, kClearQuestion);
    const std::size_t boxes = TestUi().MessageBoxes().size();
    Press(1);
    FlushDeletes();
    if (row.written) {
      EXPECT_TRUE(dlg_.isNull());
      ASSERT_FALSE(TestUi().FrameMessages().empty());
      EXPECT_EQ(TestUi().FrameMessages().back(), kClosedOk);
      EXPECT_EQ(Positions(Case().GetBlockList()), edited);
      EXPECT_EQ(Case().GetBlockList().GetBlockSize(), static_cast<int>(edited.size()) - 1);
      EXPECT_TRUE(Case().GetBlockList().IsConfirmed());
      EXPECT_TRUE(Case().IsModified());
      EXPECT_EQ(Case().GetInUse(), 1);
      EXPECT_FALSE(Case().IsResStab());
      EXPECT_FALSE(Case().IsResStabGyaku());
    } else {
      ExpectCaseUnchanged();
      EXPECT_EQ(dlg_.isNull(), !row.change);
      if (!row.change) {
        EXPECT_EQ(TestUi().MessageBoxes().size(), boxes);
        ASSERT_FALSE(TestUi().FrameMessages().empty());
        EXPECT_EQ(TestUi().FrameMessages().back(), kClosedCancel);
      }
      delete dlg_.data();
    }
  }
}

// 300 blocks are taken, 301 refused with the limit's message and nothing written.
TEST_F(BlockDlgTest, AtMostThreeHundredBlocks) {
  for (const int count : {300, 301}) {
    SCOPED_TRACE(count);
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    DivideCase(count);
    Open();
    EXPECT_EQ(Grid().MaxRows(), count + 1);
    const bool taken = count <= CBlockList::kMaxBlocks;
    if (taken) {
      TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
    } else {
      TestUi().ExpectMessageBox(MsgResult::Ok, kTooMany);
    }
    Press(1);
    FlushDeletes();
    EXPECT_EQ(dlg_.isNull(), taken);
    EXPECT_EQ(Case().GetBlockList().IsConfirmed(), taken);
    EXPECT_EQ(Case().IsModified(), taken);
    EXPECT_EQ(Case().IsResStab(), !taken);
    if (!taken) {
      EXPECT_EQ(TestUi().MessageBoxes().back().caption, "RUrevavirazo");
      delete dlg_.data();
    }
  }
}

TEST_F(BlockDlgTest, CancelAndTheCloseButtonLeaveTheCase) {
  for (const bool byTitleBar : {false, true}) {
    CCmdStabBlockDlg& d = Open();
    Grid().SetSelection(1, 2, 1, 2);
    TestUi().ExpectMessageBox(MsgResult::Ok);
    Press(kDelete);
    if (byTitleBar) {
      d.close();
    } else {
      Press(2);
    }
    FlushDeletes();
    EXPECT_TRUE(dlg_.isNull());
    EXPECT_EQ(TestUi().FrameMessages().back(), kClosedCancel);
    ExpectCaseUnchanged();
  }
}

// The added positions go through the rebuild, which keeps them inside the slide mass and merges
// those on an existing cut; the user is told which ones.
TEST_F(BlockDlgTest, AddedPositionsAreRebuiltAndAdjustmentsNamed) {
  DivideCase(7, 1.0);  // cuts 4 m apart, inside the slide mass
  CCmdStabBlockDlg& d = Open();
  const std::vector<double> before = Positions(d.WorkingList());
  const double right = SlideMass().Right().x;
  const double inside = (before[2] + before[3]) / 2;
  ExpectModal<CCmdStabBlockAddDlg>([&](CCmdStabBlockAddDlg& a) {
    ASSERT_TRUE(ShowActive(a));
    CSheetGrid& grid = *Ctl<CSheetGrid>(a, 5419);
    TypeIntoCell(grid, 1, 1, QString::fromStdString(DblToText(3, inside)));
    TypeIntoCell(grid, 1, 3, QStringLiteral("500"));
    TypeIntoCell(grid, 1, 4, QString::fromStdString(DblToText(3, before[4])));
    QTest::mouseClick(Ctl<QPushButton>(a, 1), Qt::LeftButton);
  });
  TestUi().ExpectMessageBox(MsgResult::Ok);
  Press(kAdd);
  const MessageBoxCall& told = TestUi().MessageBoxes().back();
  EXPECT_EQ(told.text, "追加したX座標のうち、次の値を調整しました。\nX = 500.000 → " +
                           DblToText(3, right) + " (すべり土塊の範囲外のため端に移動)\nX = " +
                           DblToText(3, before[4]) + " (既にある分割位置と重なるため統合)");
  EXPECT_EQ(told.icon, MsgIcon::Information);
  const std::vector<double> after = Positions(d.WorkingList());
  EXPECT_EQ(after.size(), before.size() + 2);  // the one inside and the slide mass's end
  EXPECT_NE(std::find(after.begin(), after.end(), right), after.end());
  EXPECT_EQ(Grid().MaxRows(), d.WorkingList().GetBlockSize() + 1);

  // Nothing added, by OK on an empty grid or by キャンセル after typing: the blocks stay.
  for (const int button : {1, 2}) {
    ExpectModal<CCmdStabBlockAddDlg>([button](CCmdStabBlockAddDlg& a) {
      ASSERT_TRUE(ShowActive(a));
      if (button == 2) TypeIntoCell(*Ctl<CSheetGrid>(a, 5419), 1, 1, QStringLiteral("3"));
      QTest::mouseClick(Ctl<QPushButton>(a, button), Qt::LeftButton);
    });
    Press(kAdd);
    EXPECT_EQ(Positions(d.WorkingList()), after);
  }
}

// Escape keeps the dialog open; it opens at its smallest size and grows by up to 2000 pixels
// each way, the preview in both directions and the grid in height; nothing is clipped.
TEST_F(BlockDlgTest, KeysAndSize) {
  CCmdStabBlockDlg& d = Open();
  QTest::keyClick(Ctl<QCheckBox>(d, kShowGround), Qt::Key_Escape);
  EXPECT_TRUE(d.isVisible());
  // Enter walks the controls in their order and presses OK once OK has the focus.
  QCheckBox* mouseInput = Ctl<QCheckBox>(d, kMouseInput);
  mouseInput->setFocus();
  QTest::keyClick(mouseInput, Qt::Key_Return);
  EXPECT_TRUE(mouseInput->isChecked());
  EXPECT_EQ(QApplication::focusWidget(), Ctl<QPushButton>(d, 1));
  const QSize opened = d.size();
  EXPECT_EQ(d.minimumSize(), opened);
  EXPECT_EQ(d.maximumSize(), opened + QSize(2000, 2000));
  for (QAbstractButton* button : d.findChildren<QAbstractButton*>()) {
    if (button->isVisible()) {
      EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
  }
  const QSize preview = d.Preview().size();
  const int gridHeight = Grid().height();
  d.resize(opened + QSize(300, 200));
  QApplication::processEvents();
  EXPECT_GT(d.Preview().width(), preview.width());
  EXPECT_GT(d.Preview().height(), preview.height());
  EXPECT_GT(Grid().height(), gridHeight);
}

}  // namespace
