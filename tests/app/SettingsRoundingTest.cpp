// The Settings menu's 数値丸め through the program's real main window: the rounding dialog, the
// pass over the case slots that follows its OK, the document's modified mark and what a saved
// document keeps; and the command waiting while a dialog holds the active case.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/section/SpStratum.h"
#include "stage/dialogs/CmdCmnShapeDlg.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "stage/dialogs/RefCondDlg.h"
#include "stage/dialogs/RefUnitFilterDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace fs = std::filesystem;

namespace {

const char* const kClearQuestion =
    "設定の変更により、すべての計算結果をクリアします。\nよろしいですか？";
const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};

tagSATURATE& FirstSoil(CCase& c) {
  return *dynamic_cast<CSpStratumBlock*>(c.GetGround().GetPolyArray()->GetAt(0))
              ->GetPropStructure();
}

bool HasResults(const CCase& c) {
  return !c.GetResStab2().GetSerial().empty() || c.IsResStabGyaku() || c.GetResSlide().IsResult() ||
         c.GetResShear().IsResult() || c.GetResFocus().IsResult();
}

void Click(StageDialog& d, int id) {
  QAbstractButton* button = Ctl<QAbstractButton>(d, id);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                    button->rect().topLeft() + QPoint(8, button->height() / 2));
}

class SettingsRoundingTest : public testing::Test {
 protected:
  CCase& Slot(int i) { return *p_.Core().GetCaseArray().GetCase(i); }
  CCase& Case() { return *p_.Core().GetActiveCase(); }

  // The first case's first stratum gets c and phi with more decimals than any rule keeps;
  // nothing is marked modified.
  void GiveLongDecimals() {
    tagSATURATE& soil = FirstSoil(Slot(0));
    soil.c = 12.3456;
    soil.phi = 30.12345;
    p_.Core().ResetModify();
  }

  // The sample document with long decimals under the given rules.
  void OpenSample(const CUnitFilter& rules) {
    FillSampleDocument(p_.Core());
    CCoreConfig::SetUnitFilter(rules);
    GiveLongDecimals();
  }

  // Opens 数値丸め from the menu with the script; the frame messages it sent.
  std::vector<FrameMessage> RunMenu(std::function<void(CRefUnitFilterDlg&)> script) {
    ExpectModal<CRefUnitFilterDlg>([&script](CRefUnitFilterDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      script(d);
    });
    QAction* command = p_.Command(CMainFrame::kUnitFilter);
    EXPECT_TRUE(command->isEnabled());
    return SentBy([&] { command->trigger(); });
  }

  TestProgram p_;
};

// The document from resources/, rounding on: c to 2 and phi to 1 decimal. Every case in use
// loses its results, the first case's stratum is rounded half up, the document is modified and
// the view redrawn; the saved document reads back with the new rules.
TEST_F(SettingsRoundingTest, NewDigitsClearEveryCaseRoundTheSoilsAndAreSaved) {
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(fs::path(BRIXO_RESOURCES) / "Example.qxmd"));
  CCoreConfig::SetEnableRound(1);
  GiveLongDecimals();
  std::vector<int> inUse;
  for (int i = 0; i < p_.Core().GetCaseArray().GetSize(); ++i) {
    if (Slot(i).GetInUse() != 0) inUse.push_back(i);
  }
  ASSERT_FALSE(inUse.empty());
  ASSERT_TRUE(HasResults(Slot(inUse.front())));

  const std::vector<FrameMessage> sent = RunMenu([](CRefUnitFilterDlg& d) {
    SaveShot(d, "CRefUnitFilterDlg");
    Click(d, 3111);  // c 2桁
    Click(d, 3114);  // Φ 1桁
    TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
    Click(d, 1);
    EXPECT_FALSE(d.isVisible());
  });
  const MessageBoxCall& asked = TestUi().MessageBoxes().back();
  EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
  EXPECT_EQ(asked.icon, MsgIcon::Question);
  for (const int i : inUse) EXPECT_FALSE(HasResults(Slot(i))) << i;
  EXPECT_DOUBLE_EQ(FirstSoil(Slot(0)).c, 12.35);
  EXPECT_DOUBLE_EQ(FirstSoil(Slot(0)).phi, 30.1);
  EXPECT_TRUE(p_.Core().IsModify());
  EXPECT_NE(std::find(sent.begin(), sent.end(), kRedraw), sent.end());

  const fs::path saved = fs::path(std::getenv("BRIXO_HOME")) / "rounded.qxmd";
  TestUi().ExpectFileDialog(saved);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  CCoreConfig::SetUnitFilter(CUnitFilter{});
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(saved));
  EXPECT_EQ(CCoreConfig::GetUnitFilter().digitsCohesion, 2);
  EXPECT_EQ(CCoreConfig::GetUnitFilter().digitsFriction, 1);
}

// What OK stores decides what the pass does: a changed setting clears the results, a changed
// digit count also rounds the soils; no change asks nothing, and No on the question keeps the
// dialog open with nothing stored.
TEST_F(SettingsRoundingTest, TheQuestionAndThePassFollowWhatChanged) {
  CUnitFilter switchedOff;
  switchedOff.roundSwitch = 0;
  CUnitFilter phi3;
  phi3.digitsFriction = 3;
  struct Row {
    const char* what;
    CUnitFilter rules;
    std::function<void(CRefUnitFilterDlg&)> edit;
    std::optional<MsgResult> answer;  // nothing: no question
    bool stored;
    bool cleared;
    double c;
    double phi;
  };
  const Row rows[] = {
      // Turned on, the switch would round c to 12.346 if the pass rounded anything.
      {"the switch alone", switchedOff, [](CRefUnitFilterDlg& d) { Click(d, 3100); },
       MsgResult::Yes, true, true, 12.3456, 30.12345},
      // The pass rounds c to its unchanged 3 digits too.
      {"phi 3 to 2 digits", phi3, [](CRefUnitFilterDlg& d) { Click(d, 3115); }, MsgResult::Yes,
       true, true, 12.346, 30.12},
      {"no change", CUnitFilter{}, [](CRefUnitFilterDlg&) {}, std::nullopt, false, false, 12.3456,
       30.12345},
      {"No on the question", phi3, [](CRefUnitFilterDlg& d) { Click(d, 3115); }, MsgResult::No,
       false, false, 12.3456, 30.12345},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    OpenSample(row.rules);
    const std::vector<FrameMessage> sent = RunMenu([&row](CRefUnitFilterDlg& d) {
      row.edit(d);
      if (row.answer) TestUi().ExpectMessageBox(*row.answer, kClearQuestion);
      Click(d, 1);
      if (row.answer == MsgResult::No) {
        EXPECT_TRUE(d.isVisible());
        Click(d, 2);
      }
      EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(CCoreConfig::GetUnitFilter() != row.rules, row.stored);
    for (const int slot : kSampleDocumentSlots) {
      EXPECT_EQ(HasResults(Slot(slot)), !row.cleared) << slot;
    }
    EXPECT_DOUBLE_EQ(FirstSoil(Slot(0)).c, row.c);
    EXPECT_DOUBLE_EQ(FirstSoil(Slot(0)).phi, row.phi);
    EXPECT_EQ(p_.Core().IsModify(), row.stored);
    EXPECT_EQ(std::find(sent.begin(), sent.end(), kRedraw) != sent.end(), row.stored);
  }
}

// The safety factor to 2 decimals, truncated: the rule holds at once, and the next stability run
// gives every Fs in hundredths.
TEST_F(SettingsRoundingTest, SafetyFactorDigitsReachTheNextStabilityRun) {
  OpenSample(CUnitFilter{});
  RunMenu([](CRefUnitFilterDlg& d) {
    Click(d, 3104);  // 2桁
    Click(d, 3108);  // 切り捨て
    TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
    Click(d, 1);
  });
  EXPECT_DOUBLE_EQ(CCoreConfig::GetUnitFilter().Round2(1.23456, 163), 1.23);

  ASSERT_TRUE(Case().PreCalcStab(false));
  Case().CalcStartStab();
  const std::vector<CMltPoint*>& points = Case().GetResStab2().GetSerial();
  ASSERT_FALSE(points.empty());
  int checked = 0;
  for (const CMltPoint* point : points) {
    for (const double fs : {point->fsN, point->fsQ}) {
      if (fs == kNoValue) continue;
      EXPECT_NEAR(fs * 100, std::round(fs * 100), 1e-9) << fs;
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

// 初期値に戻す shows the factory rules, keeping the two the dialog does not show; only OK stores
// them, and キャンセル after a reset leaves the rules as they were.
TEST_F(SettingsRoundingTest, ResetShowsTheFactoryRulesAndStoresNothingBeforeOk) {
  CUnitFilter custom;
  custom.roundSwitch = 0;
  custom.modeGeneral = 0;
  custom.modeSafetyFactor = 2;
  custom.modeRestrainingForce = 2;
  custom.digitsSafetyFactor = 4;
  custom.digitsCohesion = 1;
  custom.digitsFriction = 2;
  custom.digitsSeismicCoefficient = 2;
  custom.digits231 = 3;
  CUnitFilter factoryShown;
  factoryShown.modeRestrainingForce = custom.modeRestrainingForce;
  factoryShown.digits231 = custom.digits231;
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "キャンセル");
    OpenSample(custom);
    RunMenu([ok, &custom](CRefUnitFilterDlg& d) {
      EXPECT_FALSE(Ctl<QCheckBox>(d, 3100)->isChecked());
      EXPECT_FALSE(Ctl<QRadioButton>(d, 3101)->isEnabled());  // the modes follow the switch
      TestUi().ExpectMessageBox(MsgResult::Ok, "数値丸め設定を初期化してよろしいですか？");
      Click(d, 3127);
      const MessageBoxCall& asked = TestUi().MessageBoxes().back();
      EXPECT_EQ(asked.caption, "数値丸めの設定");
      EXPECT_EQ(asked.buttons, MsgButtons::OkCancel);
      EXPECT_EQ(asked.icon, MsgIcon::Question);
      EXPECT_TRUE(Ctl<QCheckBox>(d, 3100)->isChecked());
      for (const int id : {3103, 3105, 3108, 3112, 3117, 3119}) {
        EXPECT_TRUE(Ctl<QRadioButton>(d, id)->isChecked()) << id;
      }
      EXPECT_TRUE(Ctl<QRadioButton>(d, 3101)->isEnabled());
      EXPECT_FALSE(Ctl<QRadioButton>(d, 3118)->isEnabled());
      EXPECT_FALSE(Ctl<QRadioButton>(d, 3119)->isEnabled());
      EXPECT_EQ(CCoreConfig::GetUnitFilter(), custom);  // nothing stored yet
      if (ok) TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
      Click(d, ok ? 1 : 2);
    });
    EXPECT_EQ(CCoreConfig::GetUnitFilter(), ok ? factoryShown : custom);
  }
}

// While the terrain editor or the block division holds the active case, 数値丸め waits;
// 基準値の設定 does not touch the case and stays.
TEST_F(SettingsRoundingTest, RoundingWaitsWhileADialogHoldsTheCase) {
  FillSampleCase(Case(), 0);
  Case().SetModify(false);
  const struct {
    const char* what;
    FrameMsg show;
    std::function<QWidget*()> dialog;
  } holders[] = {
      {"terrain editor", FrameMsg::WM_CMD_COMMON_SHAPE_SHOW,
       [this] { return p_.Frame().findChild<CCmdCmnShapeDlg*>(); }},
      {"block division", FrameMsg::WM_CMD_STAB_BLOCK_SHOW,
       [this] { return p_.Frame().findChild<CCmdStabBlockDlg*>(); }},
  };
  for (const auto& holder : holders) {
    SCOPED_TRACE(holder.what);
    p_.Send(holder.show);
    QWidget* dialog = holder.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(p_.Command(CMainFrame::kUnitFilter)->isEnabled());
    EXPECT_TRUE(p_.Command(CMainFrame::kRefCond)->isEnabled());
    p_.Command(CMainFrame::kUnitFilter)->trigger();  // and it opens no dialog
    QTest::mouseClick(Ctl<QPushButton>(*dialog, 2), Qt::LeftButton);
    FlushDeletes();
    EXPECT_TRUE(p_.Command(CMainFrame::kUnitFilter)->isEnabled());
  }
}

}  // namespace
