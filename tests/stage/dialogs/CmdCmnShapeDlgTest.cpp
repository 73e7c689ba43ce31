#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/section/SpStratum.h"
#include "platform/FrameMessages.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdCmnShapeDlg.h"
#include "stage/dialogs/InputBoxDlg.h"
#include "stage/dialogs/ShapeGridPage.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/SampleSection.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

using Tab = CCmdCmnShapeDlg::Tab;

constexpr const char* kChangedWarning =
    "地形構成要素が変更されました。\n「地層認識」の更新を行ってください。";
constexpr const char* kMirrorQuestion = "この処理は、X座標の符合を逆にします。よろしいですか？";

const FrameMessage kClosedOk{FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 1, 0};
const FrameMessage kClosedCancel{FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 0, 0};

// Types into a cell once the editor is active again: an input box may have taken the activation.
void TypeCell(CSheetGrid& grid, int col, int row, const QString& text) {
  EXPECT_TRUE(ShowActive(*grid.window()));
  TypeIntoCell(grid, col, row, text);
}

void TypePoints(CSheetGrid& grid, const std::vector<std::pair<QString, QString>>& points) {
  int row = 1;
  for (const auto& [x, y] : points) {
    TypeCell(grid, 1, row, x);
    TypeCell(grid, 2, row, y);
    ++row;
  }
}

std::vector<std::pair<double, double>> PointsOf(const CDPoly& line) {
  std::vector<std::pair<double, double>> points;
  for (const auto& p : line.Points()) points.emplace_back(p->x, p->y);
  return points;
}

// The points of a line as the texts a user types.
std::vector<std::pair<QString, QString>> CellsOf(const CDPoly& line) {
  std::vector<std::pair<QString, QString>> cells;
  for (const auto& p : line.Points()) {
    cells.emplace_back(QString::number(p->x), QString::number(p->y));
  }
  return cells;
}

void SetLine(CDPoly& line, int count) {
  line.DeleteAll();
  for (int i = 0; i < count; ++i) line.Add(i, 100.0 - i * 0.5);
}

// The editor on the active case of a core, closed by a frame that acts as the stage manager's
// close member does: hide, then delete later.
class ShapeDlgTest : public ::testing::Test {
 protected:
  ShapeDlgTest() {
    core_.GetCaseArray().CreateCase();
    TestUi().SetFrameReceiver(
        [this](FrameMsg message, std::uintptr_t, std::intptr_t) -> std::intptr_t {
          if (message == FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE && dlg_ != nullptr) {
            dlg_->hide();
            dlg_->deleteLater();
          }
          return 0;
        });
  }
  ~ShapeDlgTest() override {
    TestUi().SetFrameReceiver({});
    delete dlg_.data();
  }

  CCase& Case() { return *core_.GetActiveCase(); }

  CCmdCmnShapeDlg& Open() {
    before_.Copy(&Case());
    before_.SetInUse(Case().GetInUse());
    dlg_ = new CCmdCmnShapeDlg;
    dlg_->BindCase(&core_);
    EXPECT_TRUE(ShowActive(*dlg_));
    return *dlg_;
  }

  CShapeGridPage& Page(Tab tab) { return dlg_->Page(tab); }
  CSheetGrid& Grid(Tab tab) { return Page(tab).Grid(); }
  void ShowTab(Tab tab) { Ctl<QTabWidget>(*dlg_, 4215)->setCurrentIndex(tab); }
  void Press(int id) { QTest::mouseClick(Ctl<QPushButton>(*dlg_, id), Qt::LeftButton); }
  void PressOnPage(Tab tab, int id) {
    QTest::mouseClick(Ctl<QPushButton>(Page(tab), id), Qt::LeftButton);
  }
  void Menu(Tab tab, CShapeGridPage::MenuCommand command) {
    Page(tab).findChild<QAction*>(QString::number(command))->trigger();
  }
  // The name the next input box is answered with (nothing: キャンセル).
  static void AnswerName(std::optional<QString> name) {
    ExpectModal<CInputBoxDlg>([name](CInputBoxDlg& d) {
      if (name) {
        CExpEdit* edit = Ctl<CExpEdit>(d, 3000);
        edit->clear();
        TypeText(edit, *name);
      }
      QTest::mouseClick(Ctl<QPushButton>(d, name ? 1 : 2), Qt::LeftButton);
    });
  }
  // Deletes the editor that the frame's close member handed over.
  static void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  CManageCore core_;
  CCase before_;
  QPointer<CCmdCmnShapeDlg> dlg_;
};

// The shared test section typed into the grids: the ground and its two boundary lines.
TEST_F(ShapeDlgTest, EntersAGroundLineAndTwoBoundariesInTheGrid) {
  const SampleSection sample = MakeSampleSection();
  Open();
  EXPECT_EQ(Grid(Tab::kTabGround).MaxRows(), 1);
  TypePoints(Grid(Tab::kTabGround), CellsOf(*sample.ground));
  EXPECT_EQ(Grid(Tab::kTabGround).MaxRows(), sample.ground->GetSize() + 1);

  ShowTab(Tab::kTabStrata);
  EXPECT_FALSE(Grid(Tab::kTabStrata).isEnabled());
  AnswerName(std::nullopt);
  PressOnPage(Tab::kTabStrata, 4219);  // cancelled: nothing added
  EXPECT_TRUE(Case().GetStratum().IsEmpty());
  ExpectModal<CInputBoxDlg>([](CInputBoxDlg& d) {  // the proposal is taken as it stands
    EXPECT_EQ(Ctl<CExpEdit>(d, 3000)->text(), "地層線1");
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  PressOnPage(Tab::kTabStrata, 4219);
  EXPECT_TRUE(Grid(Tab::kTabStrata).isEnabled());
  TypePoints(Grid(Tab::kTabStrata), CellsOf(*sample.strata->GetAt(0)));
  AnswerName(QStringLiteral("岩盤線"));
  PressOnPage(Tab::kTabStrata, 4219);
  TypePoints(Grid(Tab::kTabStrata), CellsOf(*sample.strata->GetAt(1)));

  TestUi().ExpectMessageBox(MsgResult::Ok, kChangedWarning);
  Press(1);
  FlushDeletes();
  EXPECT_TRUE(dlg_.isNull());
  EXPECT_EQ(TestUi().FrameMessages().back(), kClosedOk);
  EXPECT_EQ(TestUi().MessageBoxes().back().caption, "RUrevavirazo");
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);

  EXPECT_EQ(PointsOf(Case().GetGround()), PointsOf(*sample.ground));
  ASSERT_EQ(Case().GetStratum().GetSize(), 2);
  EXPECT_EQ(Case().GetStratum().GetAt(0)->GetName(), "地層線1");
  EXPECT_EQ(PointsOf(*Case().GetStratum().GetAt(0)), PointsOf(*sample.strata->GetAt(0)));
  EXPECT_EQ(Case().GetStratum().GetAt(1)->GetName(), "岩盤線");
  EXPECT_EQ(PointsOf(*Case().GetStratum().GetAt(1)), PointsOf(*sample.strata->GetAt(1)));
  EXPECT_TRUE(Case().IsModified());
  EXPECT_EQ(Case().GetInUse(), 1);
  EXPECT_EQ(Case().CreateTisoPoly(), 1);  // the strata are recognised from what was typed
  EXPECT_EQ(Case().GetGround().GetPolyArray()->GetSize(), sample.ground->GetPolyArray()->GetSize());
}

struct CancelCase {
  const char* name;
  void (*edit)(ShapeDlgTest&);
  bool byTitleBar;
};

class ShapeDlgCancelTest : public ShapeDlgTest, public ::testing::WithParamInterface<CancelCase> {
 public:
  // Each edit below changes what the editor edits in place.
  static void EditCells(ShapeDlgTest& t) {
    auto& self = static_cast<ShapeDlgCancelTest&>(t);
    TypeCell(self.Grid(Tab::kTabGround), 2, 2, QStringLiteral("7.25"));
    TypeCell(self.Grid(Tab::kTabGround), 1, 1, QString());
    self.ShowTab(Tab::kTabWater);
    TypeCell(self.Grid(Tab::kTabWater), 1, 1, QStringLiteral("-4"));
  }
  static void EditBoundaries(ShapeDlgTest& t) {
    auto& self = static_cast<ShapeDlgCancelTest&>(t);
    self.ShowTab(Tab::kTabStrata);
    AnswerName(QStringLiteral("新しい線"));
    self.PressOnPage(Tab::kTabStrata, 4219);
    TypePoints(self.Grid(Tab::kTabStrata), {{"1", "1"}, {"2", "2"}});
    AnswerName(QStringLiteral("改名"));
    self.PressOnPage(Tab::kTabStrata, 4220);
    TestUi().ExpectMessageBox(MsgResult::Ok);
    self.PressOnPage(Tab::kTabStrata, 4221);
    TestUi().ExpectMessageBox(MsgResult::Ok);
    self.PressOnPage(Tab::kTabStrata, 4221);
  }
  static void MirrorAndPick(ShapeDlgTest& t) {
    auto& self = static_cast<ShapeDlgCancelTest&>(t);
    TestUi().ExpectMessageBox(MsgResult::Ok, kMirrorQuestion);
    self.Press(4253);
    self.Press(4222);
    Ctl<QCheckBox>(*self.dlg_, 4223)->setChecked(true);
    self.Grid(Tab::kTabGround).SetActiveCell(1, 3);
    self.dlg_->SetPoint(55.5, 66.6);
  }
  static void Nothing(ShapeDlgTest&) {}
};

// Cancel, by button or by the title bar, leaves the case as it was: shapes, names and the grid
// settings that the range follow-up and 反転 changed.
TEST_P(ShapeDlgCancelTest, LeavesTheCaseAsItWas) {
  FillSampleCase(Case(), 0);
  Case().SetModify(false);
  Open();
  GetParam().edit(*this);
  if (GetParam().byTitleBar) {
    dlg_->close();
  } else {
    Press(2);
  }
  FlushDeletes();
  EXPECT_TRUE(dlg_.isNull());
  EXPECT_EQ(TestUi().FrameMessages().back(), kClosedCancel);
  EXPECT_TRUE(Case().IsSame(&before_));
  EXPECT_TRUE(Case().GetPrmGrid().IsSame(before_.GetPrmGrid()));
  EXPECT_FALSE(Case().IsModified());
  EXPECT_TRUE(Case().IsResStab());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ShapeDlgCancelTest,
    ::testing::Values(CancelCase{"Nothing", &ShapeDlgCancelTest::Nothing, false},
                      CancelCase{"Cells", &ShapeDlgCancelTest::EditCells, false},
                      CancelCase{"Boundaries", &ShapeDlgCancelTest::EditBoundaries, false},
                      CancelCase{"MirrorAndPick", &ShapeDlgCancelTest::MirrorAndPick, false},
                      CancelCase{"CellsByTitleBar", &ShapeDlgCancelTest::EditCells, true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ShapeDlgTest, OkWithoutAChangeMarksNothing) {
  FillSampleCase(Case(), 0);
  Case().SetModify(false);
  Open();
  Press(1);
  FlushDeletes();
  EXPECT_EQ(TestUi().FrameMessages().back(), kClosedOk);
  EXPECT_FALSE(Case().IsModified());
  EXPECT_TRUE(Case().IsResStab());
  EXPECT_TRUE(Case().IsSame(&before_));
}

TEST_F(ShapeDlgTest, RenamingABoundaryOnlyMarksTheCase) {
  FillSampleCase(Case(), 0);
  Case().SetModify(false);
  Open();
  ShowTab(Tab::kTabStrata);
  AnswerName(QStringLiteral("改名した線"));
  PressOnPage(Tab::kTabStrata, 4220);
  Press(1);  // no warning box: the geometry is the same
  FlushDeletes();
  EXPECT_TRUE(Case().IsModified());
  EXPECT_TRUE(Case().IsResStab());
  EXPECT_EQ(Case().GetStratum().GetAt(0)->GetName(), "改名した線");
}

// 反転 negates the set x values and the grid's x range; an unset x stays unset and OK drops its
// point. Twice gives everything back.
TEST_F(ShapeDlgTest, MirrorKeepsUnsetValuesUnset) {
  FillSampleCase(Case(), 0);
  Open();
  const auto ground = PointsOf(Case().GetGround());
  const CPrmGrid grid = Case().GetPrmGrid();
  TypeCell(Grid(Tab::kTabGround), 1, 2, QString());
  ASSERT_EQ(Case().GetGround().GetAt(1)->x, kNoValue);

  TestUi().ExpectMessageBox(MsgResult::Cancel, kMirrorQuestion);
  Press(4253);
  EXPECT_EQ(Case().GetGround().GetAt(0)->x, ground[0].first);

  TestUi().ExpectMessageBox(MsgResult::Ok, kMirrorQuestion);
  Press(4253);
  EXPECT_EQ(Case().GetGround().GetAt(0)->x, -ground[0].first);
  EXPECT_EQ(Case().GetGround().GetAt(1)->x, kNoValue);
  EXPECT_EQ(Case().GetStratum().GetAt(0)->GetAt(1)->x, -before_.GetStratum().GetAt(0)->GetAt(1)->x);
  EXPECT_EQ(Case().GetWater().GetAt(1)->x, -before_.GetWater().GetAt(1)->x);
  EXPECT_EQ(Case().GetPrmGrid().x1, -grid.x2);
  EXPECT_EQ(Case().GetPrmGrid().x2, -grid.x1);
  EXPECT_EQ(Grid(Tab::kTabGround).Text(1, 2), "");
  EXPECT_EQ(Grid(Tab::kTabGround).Text(1, 1).toStdString(), DblToText(3, -ground[0].first));

  TestUi().ExpectMessageBox(MsgResult::Ok, kMirrorQuestion);
  Press(4253);
  EXPECT_TRUE(Case().GetPrmGrid().IsSame(grid));
  EXPECT_TRUE(Case().GetStratum().GetAt(1)->IsSame(before_.GetStratum().GetAt(1)));
  EXPECT_TRUE(Case().GetWater().IsSame(&before_.GetWater()));

  TestUi().ExpectMessageBox(MsgResult::Ok, kChangedWarning);
  Press(1);
  EXPECT_EQ(Case().GetGround().GetSize(), static_cast<int>(ground.size()) - 1);
  for (const auto& p : Case().GetGround().Points()) EXPECT_NE(p->x, kNoValue);
}

TEST_F(ShapeDlgTest, ALongGroundLineSurvivesAnEdit) {
  SetLine(Case().GetGround(), 1500);
  Open();
  EXPECT_EQ(Grid(Tab::kTabGround).MaxRows(), 1501);
  TypeCell(Grid(Tab::kTabGround), 2, 1200, QStringLiteral("1.5"));
  TestUi().ExpectMessageBox(MsgResult::Ok, kChangedWarning);
  Press(1);
  ASSERT_EQ(Case().GetGround().GetSize(), 1500);
  EXPECT_EQ(Case().GetGround().GetAt(1199)->y, 1.5);
  EXPECT_EQ(Case().GetGround().GetAt(1499)->x, 1499.0);
}

// Picked points arrive in the active row rounded to 0.001, and the next row becomes active; the
// grid grows by the row filled. Without マウス入力 a click does nothing.
TEST_F(ShapeDlgTest, ClickedPointsArriveRounded) {
  Open();
  dlg_->SetPoint(1.0, 2.0);
  EXPECT_EQ(Case().GetGround().GetSize(), 0);
  Ctl<QCheckBox>(*dlg_, 4223)->setChecked(true);
  EXPECT_TRUE(Case().IsMouseEdit());
  dlg_->SetPoint(12.34567, -3.21049);
  dlg_->SetPoint(0.0005, 20.0);
  CSheetGrid& grid = Grid(Tab::kTabGround);
  EXPECT_EQ(grid.Text(1, 1), "12.346");
  EXPECT_EQ(grid.Text(2, 1), "-3.210");
  EXPECT_EQ(grid.Text(1, 2), "0.001");
  EXPECT_EQ(grid.ActiveRow(), 3);
  EXPECT_EQ(grid.MaxRows(), 3);
  ASSERT_EQ(Case().GetGround().GetSize(), 2);
  EXPECT_DOUBLE_EQ(Case().GetGround().GetAt(0)->x, 12.346);

  ShowTab(Tab::kTabWater);
  dlg_->SetPoint(5.0, 6.0);
  EXPECT_EQ(Case().GetWater().GetSize(), 1);
  EXPECT_EQ(Case().GetDanmen().GetCurShapeKind(), 3);
}

// The grid keeps every point through inserts and pastes: rows inserted in front of the
// selection push the others down, and a blank row inside a pasted block stays a row.
TEST_F(ShapeDlgTest, InsertsAndPastesKeepEveryPoint) {
  SetLine(Case().GetGround(), 10);
  Open();
  CSheetGrid& grid = Grid(Tab::kTabGround);

  grid.SetSelection(1, 3, 2, 7);
  QGuiApplication::clipboard()->setText(QStringLiteral("100\t1\n101\t2\n102\t3\n103\t4\n104\t5\n"));
  Menu(Tab::kTabGround, CShapeGridPage::kMenuInsertCopied);
  ASSERT_EQ(Case().GetGround().GetSize(), 15);
  EXPECT_EQ(Case().GetGround().GetAt(2)->x, 100.0);
  EXPECT_EQ(Case().GetGround().GetAt(6)->x, 104.0);
  EXPECT_EQ(Case().GetGround().GetAt(7)->x, 2.0);  // the old points 3 … 10 follow
  EXPECT_EQ(Case().GetGround().GetAt(14)->x, 9.0);
  EXPECT_EQ(grid.MaxRows(), 16);

  grid.SetSelection(1, 1, 1, 1);
  QGuiApplication::clipboard()->setText(QStringLiteral("200\t1\n\n202\t3\n"));
  Menu(Tab::kTabGround, CShapeGridPage::kMenuInsertCopied);
  ASSERT_EQ(Case().GetGround().GetSize(), 18);
  EXPECT_EQ(Case().GetGround().GetAt(1)->x, kNoValue);
  EXPECT_EQ(Case().GetGround().GetAt(2)->x, 202.0);
  EXPECT_EQ(Case().GetGround().GetAt(3)->x, 0.0);

  grid.SetSelection(1, 2, 2, 3);
  Menu(Tab::kTabGround, CShapeGridPage::kMenuDelete);
  EXPECT_EQ(Case().GetGround().GetSize(), 16);
  grid.SetSelection(1, 16, 2, 17);
  Menu(Tab::kTabGround, CShapeGridPage::kMenuInsert);
  EXPECT_EQ(Case().GetGround().GetSize(), 18);
  EXPECT_EQ(Case().GetGround().GetAt(17)->x, 9.0);
  EXPECT_EQ(grid.MaxRows(), 19);

  // A paste below the last point grows the grid to take every pasted row.
  grid.SetSelection(1, 19, 1, 19);
  QGuiApplication::clipboard()->setText(QStringLiteral("1\t1\n2\t2\n3\t3\n"));
  Menu(Tab::kTabGround, CShapeGridPage::kMenuPaste);
  EXPECT_EQ(Case().GetGround().GetSize(), 21);
  EXPECT_EQ(grid.MaxRows(), 22);

  grid.SetSelection(1, 20, 2, 21);
  Menu(Tab::kTabGround, CShapeGridPage::kMenuCut);
  EXPECT_EQ(Case().GetGround().GetSize(), 19);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "2\t2\n3\t3\n");
}

// The cursor goes at most one row below the last point: the grid holds that one free row only.
TEST_F(ShapeDlgTest, TheCursorStopsOneRowBelowTheLastPoint) {
  SetLine(Case().GetGround(), 3);
  Open();
  CSheetGrid& grid = Grid(Tab::kTabGround);
  grid.setFocus();
  grid.SetActiveCell(1, 3);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.ActiveRow(), 4);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.ActiveRow(), 4);
  bool cancel = false;
  emit grid.LeaveCell(1, 4, 1, 5, &cancel);
  EXPECT_TRUE(cancel);
}

struct AsteriskCase {
  const char* name;
  std::vector<std::pair<QString, QString>> rows;
  int col;
  int row;
  QString expected;  // the cell (col, row) afterwards
};

class ShapeDlgAsteriskTest : public ShapeDlgTest,
                             public ::testing::WithParamInterface<AsteriskCase> {};

TEST_P(ShapeDlgAsteriskTest, ComputesTheCellOnTheNeighboursLine) {
  const AsteriskCase& c = GetParam();
  Open();
  CSheetGrid& grid = Grid(Tab::kTabGround);
  TypePoints(grid, c.rows);
  grid.setFocus();
  grid.SetActiveCell(c.col, c.row);
  QTest::keyClick(&grid, Qt::Key_Asterisk, Qt::KeypadModifier);
  EXPECT_EQ(grid.Text(c.col, c.row), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShapeDlgAsteriskTest,
    ::testing::Values(
        AsteriskCase{
            "FirstRowOnPointsTwoAndThree", {{"", "5"}, {"10", "0"}, {"20", "20"}}, 1, 1, "12.500"},
        AsteriskCase{"MiddleRowY", {{"0", "0"}, {"3", ""}, {"10", "10"}}, 2, 2, "3.000"},
        AsteriskCase{"LastRowOfTwoDoesNothing", {{"0", "0"}, {"10", ""}}, 2, 2, ""},
        AsteriskCase{"HorizontalLineLeavesXEmpty", {{"", "3"}, {"0", "5"}, {"10", "5"}}, 1, 1, ""},
        AsteriskCase{"VerticalLineLeavesYEmpty", {{"4", ""}, {"5", "0"}, {"5", "10"}}, 2, 1, ""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ShapeDlgTest, DeleteWhileEditingActsInsideTheCell) {
  SetLine(Case().GetGround(), 3);
  Open();
  CSheetGrid& grid = Grid(Tab::kTabGround);
  grid.setFocus();
  grid.SetActiveCell(1, 2);
  QTest::keyClick(&grid, Qt::Key_F2);
  ASSERT_TRUE(grid.EditMode());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid.Text(1, 2), ".000");
  EXPECT_EQ(Case().GetGround().GetSize(), 3);
  grid.SetActiveCell(2, 3);
  QTest::keyClick(&grid, Qt::Key_Delete);
  EXPECT_EQ(Case().GetGround().GetAt(2)->y, kNoValue);
}

struct NameCase {
  const char* name;
  int button;  // 追加 4219 or 変更 4220 (of the first boundary)
  QString typed;
  std::optional<std::string> refusal;
  std::vector<std::string> names;  // the boundaries afterwards
};

class ShapeDlgNameTest : public ShapeDlgTest, public ::testing::WithParamInterface<NameCase> {};

// 追加 and 変更 refuse an empty name and one that another boundary has; 変更 accepts the
// boundary's own name.
TEST_P(ShapeDlgNameTest, RefusesEmptyAndDuplicateNames) {
  const NameCase& c = GetParam();
  FillSampleCase(Case(), 0);
  Case().GetStratum().GetAt(0)->SetName("上部境界");
  Case().GetStratum().GetAt(1)->SetName("下部境界");
  Open();
  ShowTab(Tab::kTabStrata);
  AnswerName(c.typed);
  if (c.refusal) TestUi().ExpectMessageBox(MsgResult::Ok, *c.refusal);
  PressOnPage(Tab::kTabStrata, c.button);
  std::vector<std::string> names;
  for (int i = 0; i < Case().GetStratum().GetSize(); ++i) {
    names.push_back(Case().GetStratum().GetAt(i)->GetName());
  }
  EXPECT_EQ(names, c.names);
  if (c.refusal) {
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, "RUrevavirazo");
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
  }
}

const char* const kDuplicate = "名称が重複しています。別の名前を指定してください。";
const char* const kEmpty = "境界線名を入力してください。";

INSTANTIATE_TEST_SUITE_P(
    Cases, ShapeDlgNameTest,
    ::testing::Values(
        NameCase{
            "AddNew", 4219, QStringLiteral("砂層"), std::nullopt, {"上部境界", "下部境界", "砂層"}},
        NameCase{"AddEmpty", 4219, QStringLiteral("  "), kEmpty, {"上部境界", "下部境界"}},
        NameCase{
            "AddDuplicate", 4219, QStringLiteral("下部境界"), kDuplicate, {"上部境界", "下部境界"}},
        NameCase{"RenameUnchanged",
                 4220,
                 QStringLiteral("上部境界"),
                 std::nullopt,
                 {"上部境界", "下部境界"}},
        NameCase{"RenameToOther",
                 4220,
                 QStringLiteral("下部境界"),
                 kDuplicate,
                 {"上部境界", "下部境界"}},
        NameCase{"RenameEmpty", 4220, QString(), kEmpty, {"上部境界", "下部境界"}},
        NameCase{"Rename", 4220, QStringLiteral("粘土層"), std::nullopt, {"粘土層", "下部境界"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ShapeDlgTest, DeletingBoundariesMovesToThePreviousOneAndGreysTheLast) {
  FillSampleCase(Case(), 0);
  Open();
  ShowTab(Tab::kTabStrata);
  auto* list = Ctl<QComboBox>(Page(Tab::kTabStrata), 4217);
  list->setCurrentIndex(1);
  emit list->activated(1);
  const std::string first = Case().GetStratum().GetAt(0)->GetName();
  TestUi().ExpectMessageBox(
      MsgResult::Cancel,
      "地層境界 " + Case().GetStratum().GetAt(1)->GetName() + " を削除します。よろしいですか？");
  PressOnPage(Tab::kTabStrata, 4221);
  EXPECT_EQ(Case().GetStratum().GetSize(), 2);
  TestUi().ExpectMessageBox(MsgResult::Ok);
  PressOnPage(Tab::kTabStrata, 4221);
  ASSERT_EQ(Case().GetStratum().GetSize(), 1);
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_EQ(Grid(Tab::kTabStrata).Text(1, 1).toStdString(),
            DblToText(3, Case().GetStratum().GetAt(0)->GetAt(0)->x));
  EXPECT_EQ(Case().GetStratum().GetAt(0)->GetName(), first);

  TestUi().ExpectMessageBox(MsgResult::Ok);
  PressOnPage(Tab::kTabStrata, 4221);
  EXPECT_TRUE(Case().GetStratum().IsEmpty());
  EXPECT_FALSE(Grid(Tab::kTabStrata).isEnabled());
  EXPECT_FALSE(list->isEnabled());
  EXPECT_FALSE(Ctl<QPushButton>(Page(Tab::kTabStrata), 4220)->isEnabled());
  EXPECT_EQ(Grid(Tab::kTabStrata).BackColor(1, 1), Color{0xA0A0A0});
}

// The water page: an empty line gives an empty grid and the first typed point at once; the
// cursor stays within one row below the last point; a water edit leaves the grid range alone
// while a ground edit follows it.
TEST_F(ShapeDlgTest, TheWaterPageEditsTheWaterLine) {
  FillSampleCase(Case(), 0);
  Case().GetWater().DeleteAll();
  Open();
  ShowTab(Tab::kTabWater);
  CSheetGrid& grid = Grid(Tab::kTabWater);
  EXPECT_EQ(grid.DataRowCnt(), 0);
  const CPrmGrid range = Case().GetPrmGrid();
  TypeCell(grid, 1, 1, QStringLiteral("500"));
  ASSERT_EQ(Case().GetWater().GetSize(), 1);
  EXPECT_EQ(Case().GetWater().GetAt(0)->x, 500.0);
  EXPECT_TRUE(Case().GetPrmGrid().IsSame(range));
  bool cancel = false;
  emit grid.LeaveCell(1, 1, 1, 3, &cancel);
  EXPECT_TRUE(cancel);

  ShowTab(Tab::kTabGround);
  TypeCell(Grid(Tab::kTabGround), 1, 1, QStringLiteral("-500"));
  EXPECT_FALSE(Case().GetPrmGrid().IsSame(range));
}

// ↑↓ reverses the rows of the page shown; the context menu opens over a grid, but not on the
// boundary page while there is no boundary.
TEST_F(ShapeDlgTest, ReverseAndContextMenu) {
  SetLine(Case().GetGround(), 3);
  Open();
  Press(4222);
  using Points = std::vector<std::pair<double, double>>;
  EXPECT_EQ(PointsOf(Case().GetGround()), (Points{{2, 99}, {1, 99.5}, {0, 100}}));

  auto* groundMenu = Page(Tab::kTabGround).findChild<QMenu*>();
  emit Grid(Tab::kTabGround).customContextMenuRequested(QPoint(5, 5));
  EXPECT_TRUE(groundMenu->isVisible());
  groundMenu->hide();
  ShowTab(Tab::kTabStrata);
  auto* strataMenu = Page(Tab::kTabStrata).findChild<QMenu*>();
  emit Grid(Tab::kTabStrata).customContextMenuRequested(QPoint(5, 5));
  EXPECT_FALSE(strataMenu->isVisible());
}

// CP writes the shapes side by side: with no boundary and no water the water columns are empty.
TEST_F(ShapeDlgTest, CopyPutsTheShapesOnTheClipboard) {
  SetLine(Case().GetGround(), 2);
  Open();
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "地表・地層境界・水位の座標をクリップボードにコピーしました");
  Press(4216);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            "地形\t\t水位\t\n"
            "X座標(m)\tY座標(m)\tX座標(m)\tY座標(m)\n"
            "0.000\t100.000\t\t\n"
            "1.000\t99.500\t\t\n");
}

// Escape does nothing; Enter on one of the editor's own controls moves on; the height can change,
// the width cannot.
TEST_F(ShapeDlgTest, KeysAndSize) {
  Open();
  QTest::keyClick(Ctl<QCheckBox>(*dlg_, 4223), Qt::Key_Escape);
  EXPECT_TRUE(dlg_->isVisible());
  auto* mouse = Ctl<QCheckBox>(*dlg_, 4223);
  mouse->setFocus();
  QTest::keyClick(mouse, Qt::Key_Return);
  EXPECT_NE(QApplication::focusWidget(), mouse);
  EXPECT_TRUE(dlg_->isVisible());
  EXPECT_TRUE(TestUi().FrameMessages().empty() ||
              TestUi().FrameMessages().back().message != FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE);
  EXPECT_EQ(dlg_->minimumWidth(), dlg_->maximumWidth());
  EXPECT_GE(dlg_->maximumHeight() - dlg_->minimumHeight(), 1000);
}

TEST_F(ShapeDlgTest, Screenshots) {
  FillSampleCase(Case(), 0);
  Open();
  for (const Tab tab : {Tab::kTabGround, Tab::kTabStrata, Tab::kTabWater}) {
    ShowTab(tab);
    SaveShot(*dlg_, "CCmdCmnShapeDlg_" + std::to_string(tab));
  }
  for (QWidget* w : dlg_->findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
  }
  Press(2);
  FlushDeletes();
}

}  // namespace
