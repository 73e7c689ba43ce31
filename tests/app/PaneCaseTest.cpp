#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <vector>

#include "app/panes/PaneCase.h"
#include "app/panes/PaneInfo.h"
#include "core/base/CoreConfig.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpButton.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kFirstCaseId = 1014;

class PaneCaseTest : public testing::Test {
 protected:
  void SetUp() override {
    FillSampleDocument(core_);
    pane_.FillCaseButtons(core_.GetCaseArray());
    pane_.MarkUsedCases(core_.GetCaseArray());
    pane_.resize(220, 560);
    ASSERT_TRUE(ShowActive(pane_));
  }

  QRadioButton* Normal() const { return Ctl<QRadioButton>(pane_, 1054); }
  QRadioButton* Quake() const { return Ctl<QRadioButton>(pane_, 1055); }
  QCheckBox* BlocksOnly() const { return Ctl<QCheckBox>(pane_, 1057); }

  CManageCore core_;
  CPaneCaseDlg pane_;
};

TEST_F(PaneCaseTest, ButtonsShowTheCaseNamesAndMarkTheSlotsInUse) {
  for (int slot = 0; slot < CPaneCaseDlg::kSlotCount; ++slot) {
    CExpButton* button = Ctl<CExpButton>(pane_, kFirstCaseId + slot);
    ASSERT_EQ(button, &pane_.CaseButton(slot));
    const std::string name = core_.GetCaseArray().GetCase(slot)->GetPrmJobsite().names[1];
    const QString text = QStringLiteral("%1: ").arg(slot + 1) + QString::fromStdString(name);
    EXPECT_EQ(button->text(), text);
    EXPECT_EQ(button->toolTip(), text);
    const bool used = slot == 0 || slot == 4 || slot == 7;
    EXPECT_EQ(button->m_bLamp, used) << "slot " << slot;
    EXPECT_EQ(button->m_bCheck, slot == 0) << "slot " << slot;
  }
  EXPECT_FALSE(core_.GetCaseArray().GetCase(4)->GetPrmJobsite().names[1].empty());
  EXPECT_EQ(Ctl<CExpButton>(pane_, 1006)->toolTip(), "ケースの情報");
  EXPECT_EQ(Ctl<CExpButton>(pane_, 1007)->toolTip(), "ケースのコピー");
  EXPECT_EQ(Ctl<CExpButton>(pane_, 1008)->toolTip(), "ケースのクリア");
  SaveShot(pane_, "CPaneCaseDlg");
  // A slot cleared by the frame loses its mark.
  core_.GetCaseArray().GetCase(4)->Init();
  pane_.MarkUsedCases(core_.GetCaseArray());
  EXPECT_FALSE(pane_.CaseButton(4).m_bLamp);
}

// Choosing a slot marks it and asks the frame to make it the active case; choosing it again only
// repeats the request.
TEST_F(PaneCaseTest, ASlotChosenBecomesTheSelectedOneAndIsSentToTheFrame) {
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(&pane_.CaseButton(4), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_INFO_REFRESH, 0, 0},
                                       {FrameMsg::WM_APP_CASE_SELECT, 4, 0}}));
  EXPECT_EQ(pane_.GetSelected(), 4);
  for (int slot = 0; slot < CPaneCaseDlg::kSlotCount; ++slot) {
    EXPECT_EQ(pane_.CaseButton(slot).m_bCheck, slot == 4);
  }
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(&pane_.CaseButton(4), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_CASE_SELECT, 4, 0}}));
  // The frame's own selection (after New or a load) marks the slot without a case request.
  EXPECT_EQ(SentBy([&] { pane_.SelectCase(7); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_INFO_REFRESH, 0, 0}}));
  EXPECT_TRUE(pane_.CaseButton(7).m_bCheck);
  EXPECT_FALSE(pane_.CaseButton(4).m_bCheck);
}

TEST_F(PaneCaseTest, InformationAndCopyAskTheFrame) {
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(Ctl<CExpButton>(pane_, 1006), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_CASE_INFO, 0, 0}}));
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(Ctl<CExpButton>(pane_, 1007), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_CASE_COPY, 0, 0}}));
}

// Clearing asks first, naming the slot as its button does; only OK reaches the frame.
TEST_F(PaneCaseTest, ClearingAsksAndOnlyOkClears) {
  pane_.SelectCase(4);
  const std::string question = "現在選択されているケースをクリアしますか？\n[ " +
                               pane_.CaseButton(4).text().toStdString() + " ]";
  for (const auto& [answer, sent] :
       {std::pair{MsgResult::Cancel, std::vector<FrameMessage>{}},
        std::pair{MsgResult::Ok, std::vector<FrameMessage>{{FrameMsg::WM_APP_CASE_CLEAR, 0, 0}}}}) {
    TestUi().ExpectMessageBox(answer, question);
    EXPECT_EQ(SentBy([&] { QTest::mouseClick(Ctl<CExpButton>(pane_, 1008), Qt::LeftButton); }),
              sent);
  }
  const MessageBoxCall& box = TestUi().MessageBoxes().back();
  EXPECT_EQ(box.caption, "RUrevavirazo");
  EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
  EXPECT_EQ(box.icon, MsgIcon::Question);
}

TEST_F(PaneCaseTest, ClearingWithNoSlotSelectedAsksNothing) {
  pane_.SelectCase(CPaneCaseDlg::kNoSlot);
  EXPECT_TRUE(
      SentBy([&] { QTest::mouseClick(Ctl<CExpButton>(pane_, 1008), Qt::LeftButton); }).empty());
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
}

// The load-case radios serve the step-2 page only, each when the case has that load case; a case
// with one load case shows it and tells the frame; the blocks-only switch serves steps 2 to 4.
TEST_F(PaneCaseTest, DisplaySwitchesFollowTheStepAndTheLoadCases) {
  const struct {
    int stage;
    bool normal;
    bool quake;
    int choiceBefore;
    bool normalEnabled;
    bool quakeEnabled;
    bool blocksEnabled;
    int choice;
    std::vector<FrameMessage> sent;
  } rows[] = {
      {0, true, true, 0, false, false, false, 0, {}},
      {0, true, false, 1, false, false, false, 0, {{FrameMsg::WM_APP_SHOW_QUAKE, 0, 0}}},
      {1, true, true, 1, true, true, true, 1, {}},
      {1, false, true, 0, false, true, true, 1, {{FrameMsg::WM_APP_SHOW_QUAKE, 1, 0}}},
      {1, true, false, 1, true, false, true, 0, {{FrameMsg::WM_APP_SHOW_QUAKE, 0, 0}}},
      {1, false, false, 1, false, false, true, 1, {}},
      {2, false, true, 0, false, false, true, 1, {{FrameMsg::WM_APP_SHOW_QUAKE, 1, 0}}},
      {3, true, true, 0, false, false, true, 0, {}},
  };
  for (const auto& row : rows) {
    CCoreConfig::SetStageNo(1);
    pane_.SetStabTypeFlags(true, true);
    QTest::mouseClick(row.choiceBefore == 1 ? Quake() : Normal(), Qt::LeftButton);
    ASSERT_EQ(pane_.GetQuakeChoice(), row.choiceBefore);
    CCoreConfig::SetStageNo(row.stage);
    EXPECT_EQ(SentBy([&] { pane_.SetStabTypeFlags(row.normal, row.quake); }), row.sent)
        << "stage " << row.stage << " normal " << row.normal << " quake " << row.quake;
    EXPECT_EQ(Normal()->isEnabled(), row.normalEnabled);
    EXPECT_EQ(Quake()->isEnabled(), row.quakeEnabled);
    EXPECT_EQ(BlocksOnly()->isEnabled(), row.blocksEnabled);
    EXPECT_EQ(pane_.GetQuakeChoice(), row.choice);
    EXPECT_EQ(Quake()->isChecked(), row.choice == 1);
    EXPECT_EQ(Normal()->isChecked(), row.choice == 0);
  }
}

TEST_F(PaneCaseTest, TheSwitchesTellTheFrameWhatToShow) {
  CCoreConfig::SetStageNo(1);
  pane_.SetStabTypeFlags(true, true);
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(Quake(), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_SHOW_QUAKE, 1, 0}}));
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(Normal(), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_SHOW_QUAKE, 0, 0}}));
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(BlocksOnly(), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_SHOW_BLOCKS_ONLY, 1, 0}}));
  EXPECT_EQ(SentBy([&] { QTest::mouseClick(BlocksOnly(), Qt::LeftButton); }),
            (std::vector<FrameMessage>{{FrameMsg::WM_APP_SHOW_BLOCKS_ONLY, 0, 0}}));
  SaveShot(pane_, "CPaneCaseDlg-step2");
}

TEST(PaneInfoTest, ShowsTheSiteAndCaseNamesAndTheCoordinates) {
  CManageCore core;
  FillSampleDocument(core);
  CPaneInfoDlg pane;
  pane.resize(640, 32);
  CPrmJobsite& site = core.GetActiveCase()->GetPrmJobsite();
  pane.ShowCaseNames(site);
  EXPECT_EQ(Ctl<QLabel>(pane, 1029)->text(),
            QStringLiteral("現場名 ： ") + QString::fromStdString(site.names[0]));
  EXPECT_EQ(Ctl<QLabel>(pane, 1032)->text(),
            QStringLiteral("ケース名 ： ") + QString::fromStdString(site.names[1]));
  pane.SetCoordText(QStringLiteral("X = 12.345  Y = 6.789"));
  EXPECT_EQ(Ctl<QLabel>(pane, 1034)->text(), "X = 12.345  Y = 6.789");
  EXPECT_FALSE(Ctl<QWidget>(pane, 1042)->isEnabled());
  ASSERT_TRUE(ShowActive(pane));
  // The coordinates stand at the right end.
  EXPECT_GE(Ctl<QLabel>(pane, 1034)->geometry().right(), pane.width() - 4);
  SaveShot(pane, "CPaneInfoDlg");
  pane.SetCoordText(QString());
  EXPECT_TRUE(pane.CoordText().isEmpty());
}

}  // namespace
