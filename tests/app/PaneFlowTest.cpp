#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <set>
#include <vector>

#include "app/panes/PaneFlow.h"
#include "stage/controls/ExpButton.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

struct StepButton {
  int page;
  int id;
  const char* text;
  FrameMsg message;
};

// Every command button of the four pages with the message it sends.
constexpr StepButton kStepButtons[] = {
    {0, 1012, "現場の設定", FrameMsg::WM_CMD_COMMON_JOBSITE},
    {0, 1013, "地形座標の入力", FrameMsg::WM_CMD_COMMON_SHAPE_SHOW},
    {0, 1014, "地層認識", FrameMsg::WM_CMD_COMMON_POLYGON},
    {0, 1015, "土質定数", FrameMsg::WM_CMD_COMMON_SOIL},
    {1, 1024, "計算条件", FrameMsg::WM_CMD_STAB_PATTERN_SHOW},
    {1, 1026, "ブロック分割", FrameMsg::WM_CMD_STAB_BLOCK_SHOW},
    {1, 1030, "c 逆算", FrameMsg::WM_CMD_STAB_GYAKU},
    {1, 1033, "安定計算", FrameMsg::WM_CMD_STAB_STABILITY},
    {2, 1027, "対策工諸元", FrameMsg::WM_CMD_SLIDE_ELEMENT},
    {2, 1026, "対策工配置", FrameMsg::WM_CMD_SLIDE_ARRANGE_SHOW},
    {2, 1028, "計算条件", FrameMsg::WM_CMD_SLIDE_PATTERN},
    {2, 1031, "計算・出力", FrameMsg::WM_CMD_SLIDE_STABILITY},
    {3, 1013, "対策工諸元", FrameMsg::WM_CMD_SHEAR_ELEMENT},
    {3, 1011, "対策工配置", FrameMsg::WM_CMD_SHEAR_ARRANGE_SHOW},
    {3, 1012, "土のせん断剛性率の\nひずみ依存性の設定", FrameMsg::WM_CMD_SHEAR_FIT},
    {3, 1055, "せん断変形・出力", FrameMsg::WM_CMD_SHEAR_STABILITY},
    {3, 1014, "局所破壊・出力", FrameMsg::WM_CMD_SHEAR_FOCUS},
};

class PaneFlowTest : public testing::Test {
 protected:
  void SetUp() override {
    pane_.resize(200, 600);
    ASSERT_TRUE(ShowActive(pane_));
  }

  CExpButton* Button(const StepButton& b) const {
    return Ctl<CExpButton>(pane_.Page(b.page), b.id);
  }

  void ResizeTo(int width, int height) {
    pane_.resize(width, height);
    QCoreApplication::processEvents();
    ASSERT_EQ(pane_.size(), QSize(width, height));
  }

  // The frame serves the commands given, and no other.
  void Serve(std::set<FrameMsg> served) {
    pane_.SetCommandAvailable([served](FrameMsg m) { return served.contains(m); });
  }

  CPaneFlowDlg pane_;
};

TEST_F(PaneFlowTest, StartsOnStepOneWithItsPageUnderTheFirstTab) {
  EXPECT_EQ(pane_.GetStage(), 0);
  const char* texts[] = {"1: 基本条件", "2: 多平面安定解析", "3: すべり変形計算",
                         "4: せん断変形計算"};
  for (int i = 0; i < CPaneFlowDlg::kStageCount; ++i) {
    EXPECT_EQ(pane_.Tab(i).text().toStdString(), texts[i]);
    EXPECT_EQ(pane_.Tab(i).m_bCheck, i == 0) << "tab " << i;
    EXPECT_EQ(pane_.Page(i).isVisible(), i == 0) << "page " << i;
  }
  // Tab 1 at the top, the page band below it, tabs 2 to 4 at the bottom.
  const int h = pane_.Tab(0).height();
  EXPECT_EQ(pane_.Tab(0).y(), 0);
  EXPECT_EQ(pane_.Tab(1).y(), 600 - 3 * h);
  EXPECT_EQ(pane_.Tab(3).y(), 600 - h);
  EXPECT_EQ(pane_.ScrollBar().y(), h);
  EXPECT_EQ(pane_.ScrollBar().height(), 600 - 4 * h);
  for (const StepButton& b : kStepButtons) {
    EXPECT_EQ(Button(b)->text().toStdString(), b.text) << b.id;
  }
  SaveShot(pane_, "CPaneFlowDlg-step1");
  EXPECT_TRUE(TestUi().FrameMessages().empty());
}

// A tab entered sends its step's message and shows its page; the current tab sends nothing.
TEST_F(PaneFlowTest, TabsSendTheirStepOnlyWhenTheStepChanges) {
  const struct {
    int tab;
    std::vector<FrameMessage> sent;
  } clicks[] = {
      {0, {}},  // already current
      {2, {{FrameMsg::WM_APP_STAGE3, 0, 0}}},
      {2, {}},
      {1, {{FrameMsg::WM_APP_STAGE2, 0, 0}}},
      {3, {{FrameMsg::WM_APP_STAGE4, 0, 0}}},
      {0, {{FrameMsg::WM_APP_STAGE1, 0, 0}}},
  };
  for (const auto& click : clicks) {
    EXPECT_EQ(SentBy([&] { QTest::mouseClick(&pane_.Tab(click.tab), Qt::LeftButton); }), click.sent)
        << "tab " << click.tab;
    EXPECT_EQ(pane_.GetStage(), click.tab);
    for (int i = 0; i < CPaneFlowDlg::kStageCount; ++i) {
      EXPECT_EQ(pane_.Tab(i).m_bCheck, i == click.tab);
      EXPECT_EQ(pane_.Page(i).isVisible(), i == click.tab);
    }
    // Tabs up to the current one stand at the top.
    EXPECT_EQ(pane_.Tab(click.tab).y(), click.tab * pane_.Tab(0).height());
  }
  SaveShot(pane_, "CPaneFlowDlg-step1-again");
}

TEST_F(PaneFlowTest, BackToTheFirstStepAfterLoadingSendsNoStepMessage) {
  pane_.SelectStage(2);
  EXPECT_TRUE(SentBy([&] { pane_.ResetToFirstStage(); }).empty());
  EXPECT_EQ(pane_.GetStage(), 0);
  EXPECT_TRUE(pane_.Tab(0).m_bCheck);
  EXPECT_FALSE(pane_.Tab(2).m_bCheck);
  EXPECT_TRUE(pane_.Page(0).isVisible());
  EXPECT_FALSE(pane_.Page(2).isVisible());
}

// A served command's button sends its message; one the frame does not serve is disabled and a
// click on it sends nothing.
TEST_F(PaneFlowTest, ServedCommandsSendTheirMessageAndTheOthersAreDisabled) {
  for (const StepButton& b : kStepButtons) EXPECT_FALSE(Button(b)->isEnabled()) << b.id;
  const std::set<FrameMsg> served = {
      FrameMsg::WM_CMD_COMMON_JOBSITE, FrameMsg::WM_CMD_COMMON_SHAPE_SHOW,
      FrameMsg::WM_CMD_STAB_BLOCK_SHOW, FrameMsg::WM_CMD_SHEAR_FOCUS};
  Serve(served);
  for (const StepButton& b : kStepButtons) {
    pane_.SelectStage(b.page);
    CExpButton* button = Button(b);
    ASSERT_NE(button, nullptr);
    const bool enabled = served.contains(b.message);
    EXPECT_EQ(button->isEnabled(), enabled) << b.id;
    const std::vector<FrameMessage> expected =
        enabled ? std::vector<FrameMessage>{{b.message, 0, 0}} : std::vector<FrameMessage>{};
    EXPECT_EQ(SentBy([&] { QTest::mouseClick(button, Qt::LeftButton); }), expected) << b.id;
  }
  pane_.SelectStage(0);
  SaveShot(pane_, "CPaneFlowDlg-served");
  // The frame's set grows when a step dialog arrives.
  Serve({FrameMsg::WM_CMD_COMMON_SOIL});
  EXPECT_TRUE(Button(kStepButtons[3])->isEnabled());
  EXPECT_FALSE(Button(kStepButtons[0])->isEnabled());
}

TEST_F(PaneFlowTest, TheBlockDivisionStaysMarkedOnItsPage) {
  Serve({FrameMsg::WM_CMD_STAB_BLOCK_SHOW, FrameMsg::WM_CMD_STAB_GYAKU});
  pane_.SelectStage(1);
  QTest::mouseClick(Button(kStepButtons[6]), Qt::LeftButton);  // c 逆算: marks nothing
  for (int i = 4; i < 8; ++i) EXPECT_FALSE(Button(kStepButtons[i])->m_bCheck);
  QTest::mouseClick(Button(kStepButtons[5]), Qt::LeftButton);
  for (int i = 4; i < 8; ++i) EXPECT_EQ(Button(kStepButtons[i])->m_bCheck, i == 5);
}

TEST_F(PaneFlowTest, TheButtonUnderTheCursorIsLit) {
  Serve({FrameMsg::WM_CMD_COMMON_JOBSITE});
  CExpButton* first = Button(kStepButtons[0]);
  CExpButton* second = Button(kStepButtons[1]);
  QEvent enter(QEvent::Enter);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(first, &enter);
  EXPECT_TRUE(first->m_bLamp);
  QCoreApplication::sendEvent(second, &enter);
  EXPECT_FALSE(first->m_bLamp);
  EXPECT_TRUE(second->m_bLamp);
  QCoreApplication::sendEvent(second, &leave);
  EXPECT_FALSE(second->m_bLamp);
  EXPECT_EQ(first->cursor().shape(), Qt::PointingHandCursor);
}

// Lines scroll by one pixel and pages by five, within the part of the page that lies outside the
// band; each page keeps its own position.
TEST_F(PaneFlowTest, PagesScrollWithinTheirHeightAndKeepTheirPositions) {
  ResizeTo(200, 220);
  QScrollBar& bar = pane_.ScrollBar();
  const int hidden = pane_.Page(0).height() - bar.height();
  ASSERT_GT(hidden, 20) << "the page must be taller than its band";
  EXPECT_EQ(bar.maximum(), hidden);
  const struct {
    QAbstractSlider::SliderAction action;
    int position;
  } steps[] = {
      {QAbstractSlider::SliderSingleStepSub, 0},
      {QAbstractSlider::SliderSingleStepAdd, 1},
      {QAbstractSlider::SliderPageStepAdd, 6},
      {QAbstractSlider::SliderPageStepAdd, 11},
      {QAbstractSlider::SliderPageStepSub, 6},
      {QAbstractSlider::SliderToMaximum, hidden},
      {QAbstractSlider::SliderPageStepAdd, hidden},
      {QAbstractSlider::SliderSingleStepAdd, hidden},
      {QAbstractSlider::SliderPageStepSub, hidden - 5},
  };
  for (const auto& step : steps) {
    bar.triggerAction(step.action);
    EXPECT_EQ(pane_.ScrollPosition(), step.position) << "action " << step.action;
    EXPECT_EQ(pane_.Page(0).y(), -step.position);
  }
  SaveShot(pane_, "CPaneFlowDlg-scrolled");
  pane_.SelectStage(1);
  EXPECT_EQ(pane_.ScrollPosition(), 0);
  pane_.SelectStage(0);
  EXPECT_EQ(pane_.ScrollPosition(), hidden - 5);
  EXPECT_EQ(pane_.Page(0).y(), -(hidden - 5));
}

TEST_F(PaneFlowTest, PagingOnAPageShorterThanItsBandKeepsItInPlace) {
  QScrollBar& bar = pane_.ScrollBar();
  ASSERT_LT(pane_.Page(0).height(), bar.height());
  for (const auto action :
       {QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderSingleStepAdd,
        QAbstractSlider::SliderToMaximum}) {
    bar.triggerAction(action);
    EXPECT_EQ(pane_.ScrollPosition(), 0);
    EXPECT_EQ(pane_.Page(0).y(), 0);
  }
}

}  // namespace
