// The step-1 commands through the program's real main window: the flow pane's buttons, the
// Settings menu's soil entry and the view's clicks reach the site, terrain, soil and soil table
// dialogs, and the frame's refreshes and pane states follow.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDockWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <string>
#include <vector>

#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "app/view/BrixoView.h"
#include "core/base/AppIdentity.h"
#include "core/case/ManageCore.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpStratum.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdCmnJobsiteDlg.h"
#include "stage/dialogs/CmdCmnShapeDlg.h"
#include "stage/dialogs/CmdCmnSoilDlg.h"
#include "stage/dialogs/InputBoxDlg.h"
#include "stage/dialogs/RefCmnGeologyListDlg.h"
#include "stage/dialogs/ShapeGridPage.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/SampleSection.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// The step-1 buttons of the flow pane.
enum FlowButton { kJobsite = 1012, kShape = 1013, kPolygon = 1014, kSoil = 1015 };

constexpr const char* kShapesChanged =
    "地形構成要素が変更されました。\n「地層認識」の更新を行ってください。";
constexpr const char* kNoStrata = "先に[地層認識]を行って下さい。";
const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};

class Step1Test : public testing::Test {
 protected:
  CCase& Case() { return *p_.Core().GetActiveCase(); }

  void ClickFlow(FlowButton id) { p_.ClickFlowButton(0, id); }

  // The terrain editors the frame holds.
  QList<CCmdCmnShapeDlg*> ShapeEditors() const {
    return p_.Frame().findChildren<CCmdCmnShapeDlg*>();
  }

  // Opens the terrain editor from its flow button.
  QPointer<CCmdCmnShapeDlg> OpenShapeEditor() {
    ClickFlow(kShape);
    const QList<CCmdCmnShapeDlg*> editors = ShapeEditors();
    EXPECT_EQ(editors.size(), 1);
    return editors.value(0);
  }

  TestProgram p_;
};

TEST_F(Step1Test, TheStepOneButtonsAndTheSoilTableEntryAreServed) {
  for (const FlowButton id : {kJobsite, kShape, kPolygon, kSoil}) {
    EXPECT_TRUE(Ctl<CExpButton>(p_.Frame().FlowPane().Page(0), id)->isEnabled()) << id;
  }
  QAction* soilTable = p_.Command(CMainFrame::kGeology);
  ASSERT_TRUE(soilTable->isEnabled());

  // The Settings menu's editor works on the program's own table.
  const std::vector<CRefGeology::Row>& soils = p_.Core().GetRefData().geology.rows;
  ASSERT_FALSE(soils.empty());
  const std::string firstSoil = soils.front().name;
  ExpectModal<CRefCmnGeologyListDlg>([&firstSoil](CRefCmnGeologyListDlg& d) {
    EXPECT_EQ(Ctl<CSheetGrid>(d, 4227)->Text(1, 1).toStdString(), firstSoil);
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);  // 閉じる: nothing changed
  });
  EXPECT_TRUE(SentBy([&] { soilTable->trigger(); }).empty());
  EXPECT_FALSE(p_.Core().IsModify());
}

// The site dialog from its flow button, with its grid dialog nested: OK writes both back and
// redraws, Cancel changes nothing and sends nothing.
TEST_F(Step1Test, TheSiteDialogAndItsGridDialogRunFromTheFlowButton) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    Case().Init();
    Case().SetModify(false);
    CCase before;
    before.Copy(&Case());
    ExpectModal<CCmdCmnJobsiteDlg>([ok](CCmdCmnJobsiteDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      QCheckBox* autoRange = Ctl<QCheckBox>(d, 4248);
      QTest::mouseClick(autoRange, Qt::LeftButton, Qt::NoModifier,
                        QPoint(8, autoRange->height() / 2));  // the range by hand
      for (const auto& [id, text] : {std::pair{4204, "50"}, std::pair{4205, "10"}}) {
        CExpEdit* field = Ctl<CExpEdit>(d, id);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
      }
      EXPECT_EQ(Ctl<CExpEdit>(d, 4244)->text(), "40.0");
      ExpectModal<CCmdCmnGridDlg>([](CCmdCmnGridDlg& g) {
        ASSERT_TRUE(ShowActive(g));
        CExpEdit* pitch = Ctl<CExpEdit>(g, 4252);
        pitch->setFocus();
        pitch->selectAll();
        QTest::keyClicks(pitch, "2.5");
        QTest::keyClick(pitch, Qt::Key_Tab);
        QTest::mouseClick(Ctl<QPushButton>(g, 1), Qt::LeftButton);
      });
      QTest::mouseClick(Ctl<QPushButton>(d, 4210), Qt::LeftButton);
      QTest::mouseClick(Ctl<QPushButton>(d, ok ? 1 : 2), Qt::LeftButton);
    });
    const std::vector<FrameMessage> sent = SentBy([&] { ClickFlow(kJobsite); });

    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), (FrameMessage{FrameMsg::WM_CMD_COMMON_JOBSITE, 0, 0}));
    const CPrmGrid& grid = Case().GetPrmGrid();
    if (ok) {
      EXPECT_EQ(grid.x1, 10.0);
      EXPECT_EQ(grid.x2, 50.0);
      EXPECT_EQ(grid.xLinePitch, 2.5);
      EXPECT_TRUE(p_.Core().IsModify());
      EXPECT_EQ(Case().GetInUse(), 1);
      EXPECT_EQ(sent.back(), kRedraw);
    } else {
      EXPECT_TRUE(Case().IsSame(&before));
      EXPECT_TRUE(grid.IsSame(before.GetPrmGrid()));
      EXPECT_FALSE(p_.Core().IsModify());
      EXPECT_EQ(sent.size(), 1U);
    }
  }
}

// With the terrain editor open the frame leaves only the view, toolbar 2 and the information
// pane enabled; clicks on the view reach the editor's grid as world points rounded to 0.001
// once マウス入力 is on.
TEST_F(Step1Test, ViewClicksArriveInTheTerrainEditorRounded) {
  const std::vector<FrameMessage> opened = SentBy([&] { ClickFlow(kShape); });
  const QList<CCmdCmnShapeDlg*> editors = ShapeEditors();
  ASSERT_EQ(editors.size(), 1);
  CCmdCmnShapeDlg& editor = *editors.front();
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(opened.front(), (FrameMessage{FrameMsg::WM_CMD_COMMON_SHAPE_SHOW, 0, 0}));
  EXPECT_EQ(opened.back(), kRedraw);
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(editor.parentWidget(), &p_.Frame());
  EXPECT_TRUE(p_.Stage().IsShapeDlg());
  EXPECT_TRUE(p_.Stage().IsDlgMode());
  EXPECT_EQ(CDPoly::GetShowHilight(), 1);
  p_.ExpectWorkPanesEnabled(false);
  EXPECT_FALSE(p_.Command(CMainFrame::kFileNew)->isEnabled());

  // A second show raises the editor instead of making another.
  EXPECT_EQ(p_.Send(FrameMsg::WM_CMD_COMMON_SHAPE_SHOW), 0);
  EXPECT_EQ(ShapeEditors().size(), 1);

  CBrixoView& view = p_.Frame().View();
  ASSERT_GT(view.width(), 400);
  ASSERT_GT(view.height(), 300);
  p_.ClickView({123, 257});  // マウス入力 is off: the click enters nothing
  EXPECT_EQ(Case().GetGround().GetSize(), 0);

  Ctl<QCheckBox>(editor, 4223)->setChecked(true);
  const struct {
    QPoint device;
    double x, y;
    const char* xText;
    const char* yText;
  } clicks[] = {
      {{123, 257}, -24.571, 21.143, "-24.571", "21.143"},  // -24.5714…, 21.1428…
      {{295, 205}, 0.0, 28.571, "0.000", "28.571"},        // x exactly 0
      {{358, 300}, 9.0, 15.0, "9.000", "15.000"},
  };
  for (const auto& c : clicks) p_.ClickView(c.device);

  const CSheetGrid& grid = editor.Page(CCmdCmnShapeDlg::kTabGround).Grid();
  const CSpGround& ground = Case().GetGround();
  ASSERT_EQ(ground.GetSize(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(grid.Text(1, i + 1).toStdString(), clicks[i].xText);
    EXPECT_EQ(grid.Text(2, i + 1).toStdString(), clicks[i].yText);
    EXPECT_DOUBLE_EQ(ground.GetAt(i)->x, clicks[i].x);
    EXPECT_DOUBLE_EQ(ground.GetAt(i)->y, clicks[i].y);
  }
  EXPECT_EQ(grid.ActiveRow(), 4);
  SaveShot(p_.Frame(), "MainFrame-CCmdCmnShapeDlg");

  TestUi().ExpectMessageBox(MsgResult::Ok, kShapesChanged);
  QTest::mouseClick(Ctl<QPushButton>(editor, 1), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(ShapeEditors().isEmpty());
}

// OK, キャンセル and the title bar's close end the editor through the frame: the frame's close
// member forgets it, hides it and deletes it later, the panes come back, highlight and mouse
// editing end and the view is redrawn. OK keeps the edit, the other two put the case back.
TEST_F(Step1Test, TheTerrainEditorClosesThroughTheFrame) {
  enum class End { Ok, Cancel, TitleBar };
  for (const End end : {End::Ok, End::Cancel, End::TitleBar}) {
    SCOPED_TRACE(static_cast<int>(end));
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    CCase before;
    before.Copy(&Case());
    QPointer<CCmdCmnShapeDlg> editor = OpenShapeEditor();
    ASSERT_FALSE(editor.isNull());
    // The case has strata, yet no soil dialog opens over the editor.
    QTest::mouseDClick(&p_.Frame().View(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    Ctl<QCheckBox>(*editor, 4223)->setChecked(true);
    p_.ClickView({358, 300});  // replaces the ground's first point
    ASSERT_TRUE(Case().IsMouseEdit());

    const bool ok = end == End::Ok;
    if (ok) TestUi().ExpectMessageBox(MsgResult::Ok, kShapesChanged);
    const std::vector<FrameMessage> sent = SentBy([&] {
      if (end == End::TitleBar) {
        editor->close();
      } else {
        QTest::mouseClick(Ctl<QPushButton>(*editor, ok ? 1 : 2), Qt::LeftButton);
      }
    });

    ASSERT_GE(sent.size(), 2U);
    EXPECT_EQ(sent[sent.size() - 2],
              (FrameMessage{FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, ok ? 1U : 0U, 0}));
    EXPECT_EQ(sent.back(), kRedraw);
    EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Shape));
    ASSERT_FALSE(editor.isNull());  // its own handler was still running: deleted later
    EXPECT_FALSE(editor->isVisible());
    FlushDeletes();
    EXPECT_TRUE(editor.isNull());
    p_.ExpectWorkPanesEnabled(true);
    EXPECT_TRUE(p_.Command(CMainFrame::kFileNew)->isEnabled());
    EXPECT_EQ(CDPoly::GetShowHilight(), 0);
    EXPECT_FALSE(Case().IsMouseEdit());
    EXPECT_EQ(Case().IsSame(&before), !ok);
    EXPECT_EQ(Case().IsModified(), ok);
    EXPECT_EQ(Case().IsResStab(), !ok);
  }
}

// Through the frame, a blanked x and one 反転: キャンセル puts shapes and grid settings back,
// OK keeps the mirrored section and drops the point whose x stayed unset.
TEST_F(Step1Test, AMirroredSectionWithAnUnsetXEndsAsTheEditorSays) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "キャンセル");
    FillSampleCase(Case(), 0);
    CCase before;
    before.Copy(&Case());
    const int points = Case().GetGround().GetSize();
    QPointer<CCmdCmnShapeDlg> editor = OpenShapeEditor();
    ASSERT_FALSE(editor.isNull());
    ASSERT_TRUE(ShowActive(*editor));
    TypeIntoCell(editor->Page(CCmdCmnShapeDlg::kTabGround).Grid(), 1, 2, QString());
    TestUi().ExpectMessageBox(MsgResult::Ok,
                              "この処理は、X座標の符合を逆にします。よろしいですか？");
    QTest::mouseClick(Ctl<QPushButton>(*editor, 4253), Qt::LeftButton);
    ASSERT_EQ(Case().GetGround().GetAt(1)->x, kNoValue);
    ASSERT_EQ(Case().GetPrmGrid().x1, -before.GetPrmGrid().x2);

    if (ok) TestUi().ExpectMessageBox(MsgResult::Ok, kShapesChanged);
    QTest::mouseClick(Ctl<QPushButton>(*editor, ok ? 1 : 2), Qt::LeftButton);
    FlushDeletes();
    ASSERT_TRUE(editor.isNull());
    if (!ok) {
      EXPECT_TRUE(Case().IsSame(&before));
      EXPECT_TRUE(Case().GetPrmGrid().IsSame(before.GetPrmGrid()));
      continue;
    }
    ASSERT_EQ(Case().GetGround().GetSize(), points - 1);
    for (const auto& point : Case().GetGround().Points()) EXPECT_NE(point->x, kNoValue);
    EXPECT_EQ(Case().GetGround().GetAt(0)->x, -before.GetGround().GetAt(0)->x);
  }
}

// The shared test section typed into the editor opened from the flow pane, then 地層認識 from
// the flow pane: the case holds the section's strata.
TEST_F(Step1Test, TheTestSectionTypedInTheEditorGivesItsStrata) {
  const SampleSection sample = MakeSampleSection();
  QPointer<CCmdCmnShapeDlg> editor = OpenShapeEditor();
  ASSERT_FALSE(editor.isNull());
  ASSERT_TRUE(ShowActive(*editor));
  const auto typeLine = [](CSheetGrid& grid, const CDPoly& line) {
    int row = 1;
    for (const auto& point : line.Points()) {
      TypeIntoCell(grid, 1, row, QString::number(point->x));
      TypeIntoCell(grid, 2, row, QString::number(point->y));
      ++row;
    }
  };
  typeLine(editor->Page(CCmdCmnShapeDlg::kTabGround).Grid(), *sample.ground);
  Ctl<QTabWidget>(*editor, 4215)->setCurrentIndex(CCmdCmnShapeDlg::kTabStrata);
  CShapeGridPage& strataPage = editor->Page(CCmdCmnShapeDlg::kTabStrata);
  for (int i = 0; i < sample.strata->GetSize(); ++i) {
    ExpectModal<CInputBoxDlg>([](CInputBoxDlg& d) {  // the proposed name as it stands
      QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
    });
    QTest::mouseClick(Ctl<QPushButton>(strataPage, 4219), Qt::LeftButton);
    ASSERT_TRUE(ShowActive(*editor));
    typeLine(strataPage.Grid(), *sample.strata->GetAt(i));
  }
  TestUi().ExpectMessageBox(MsgResult::Ok, kShapesChanged);
  QTest::mouseClick(Ctl<QPushButton>(*editor, 1), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(editor.isNull());

  const int count = sample.ground->GetPolyArray()->GetSize();
  const std::string n = std::to_string(count);
  TestUi().ExpectMessageBox(
      MsgResult::Ok,
      n + "個の地層を認識しました。\n(まだ属性が未設定の地層が " + n + "個あります)");
  ClickFlow(kPolygon);
  const CDPolyArray* strata = Case().GetGround().GetPolyArray();
  ASSERT_NE(strata, nullptr);
  EXPECT_EQ(strata->GetSize(), count);
  EXPECT_EQ(Case().GetStratum().GetSize(), sample.strata->GetSize());
}

// The close member answers 1 only for a close after OK, yet deletes the editor and redraws
// either way.
TEST_F(Step1Test, TheCloseMemberDeletesTheEditorWhateverTheResult) {
  for (const unsigned result : {0U, 1U}) {
    SCOPED_TRACE(result);
    QPointer<CCmdCmnShapeDlg> editor = OpenShapeEditor();
    long answer = -1;
    EXPECT_EQ(SentBy([&] { answer = p_.Stage().CmdCommonShapeClose(result); }),
              std::vector<FrameMessage>{kRedraw});
    EXPECT_EQ(answer, static_cast<long>(result));
    EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Shape));
    EXPECT_EQ(CDPoly::GetShowHilight(), 0);
    FlushDeletes();
    EXPECT_TRUE(editor.isNull());
    p_.Frame().EnableWorkPanes(true);  // the frame's part, which this direct call skips
  }
}

// 地層認識 from its flow button numbers the strata and reports how many lack their soil: a
// first recognition of five strata finds all five without, a second one after three strata
// lost their soil names gives 5 and 3.
TEST_F(Step1Test, StrataRecognitionCountsTheStrataWithoutSoil) {
  CCase& active = Case();
  active.GetGround().Copy(
      MakePoly<CSpGround>({{0, 0}, {6, 0}, {12, 5}, {18, 10}, {24, 15}, {30, 15}}).get());
  for (const double depth : {2.0, 4.0, 6.0, 8.0}) {
    active.GetStratum().Add(MakePoly<CSpStratumLine>({{0, -depth},
                                                      {6, -depth},
                                                      {12, 5 - depth},
                                                      {18, 10 - depth},
                                                      {24, 15 - depth},
                                                      {30, 15 - depth}}));
  }
  active.SetGridAutoRange();

  const struct {
    int cleared;  // strata whose soil name is emptied before the run
    const char* message;
  } runs[] = {
      {0, "5個の地層を認識しました。\n(まだ属性が未設定の地層が 5個あります)"},
      {3, "5個の地層を認識しました。\n(まだ属性が未設定の地層が 3個あります)"},
      {0, "5個の地層を認識しました。"},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.message);
    if (CDPolyArray* strata = active.GetGround().GetPolyArray()) {
      for (int i = 0; i < run.cleared; ++i) {
        dynamic_cast<CSpStratumBlock&>(*strata->GetAt(i)).GetPropPtr()->SetName("");
      }
    }
    active.SetModify(false);
    TestUi().ExpectMessageBox(MsgResult::Ok, run.message);
    EXPECT_EQ(SentBy([&] { ClickFlow(kPolygon); }),
              (std::vector<FrameMessage>{{FrameMsg::WM_CMD_COMMON_POLYGON, 0, 0}, kRedraw}));
    const MessageBoxCall& box = TestUi().MessageBoxes().back();
    EXPECT_EQ(box.caption, GetAppTitle());
    EXPECT_EQ(box.icon, MsgIcon::Information);
    const CDPolyArray* strata = active.GetGround().GetPolyArray();
    ASSERT_NE(strata, nullptr);
    ASSERT_EQ(strata->GetSize(), 5);
    for (int i = 0; i < 5; ++i) {
      const auto& stratum = dynamic_cast<const CSpStratumBlock&>(*strata->GetAt(i));
      EXPECT_EQ(stratum.GetIndex(), i + 1);
      EXPECT_FALSE(stratum.GetPropPtr()->GetName().empty());
    }
    EXPECT_TRUE(active.IsModified());
  }
}

// The soil dialog opens from its flow button and, in step 1, from a double click on the view;
// a case without strata gets the message instead, and in step 2 the double click does nothing.
TEST_F(Step1Test, TheSoilDialogOpensFromTheFlowButtonAndTheViewsDoubleClick) {
  TestUi().ExpectMessageBox(MsgResult::Ok, kNoStrata);
  EXPECT_EQ(SentBy([&] { ClickFlow(kSoil); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_CMD_COMMON_SOIL, 0, 0}}));

  FillSampleCase(Case(), 0);
  Case().SetModify(false);
  ExpectModal<CCmdCmnSoilDlg>([](CCmdCmnSoilDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    TypeIntoCell(*Ctl<CSheetGrid>(d, 4224), 1, 1, "砂礫");
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  const std::vector<FrameMessage> renamed = SentBy([&] { ClickFlow(kSoil); });
  ASSERT_FALSE(renamed.empty());
  EXPECT_EQ(renamed.back(), kRedraw);
  const auto& first =
      dynamic_cast<const CSpStratumBlock&>(*Case().GetGround().GetPolyArray()->GetAt(0));
  EXPECT_EQ(first.GetPropPtr()->GetName(), "砂礫");
  EXPECT_TRUE(Case().IsModified());
  EXPECT_TRUE(Case().IsResStab());  // a name enters no calculation

  CBrixoView& view = p_.Frame().View();
  const QPoint centre(view.width() / 2, view.height() / 2);
  ExpectModal<CCmdCmnSoilDlg>(
      [](CCmdCmnSoilDlg& d) { QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton); });
  EXPECT_EQ(SentBy([&] { QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, centre); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_CMD_COMMON_SOIL, 0, 0}}));

  p_.Frame().FlowPane().SelectStage(1);
  EXPECT_TRUE(
      SentBy([&] { QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, centre); }).empty());
}

}  // namespace
