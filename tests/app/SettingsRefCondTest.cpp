// The Settings menu's 基準値の設定 through the program's real main window: the standard values
// shown, edited, refused, applied to the file and to the results made with them, and the keys of
// both Settings dialogs.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/frame/MainFrame.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/model/RefCond.h"
#include "core/model/SystemConfig.h"
#include "platform/ProgramDir.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/dialogs/RefCondDlg.h"
#include "stage/dialogs/RefUnitFilterDlg.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "tests/support/qt/QtTestSupport.h"

namespace fs = std::filesystem;

namespace {

const char* const kClearQuestion =
    "設定の変更により、すべての計算結果をクリアします。\nよろしいですか？";
constexpr int kFieldIds[] = {3091, 3092, 3093, 3094, 3095, 3096, 3098, 3099};

class SettingsRefCondTest : public testing::Test {
 protected:
  SettingsRefCondTest() {
    FillSampleDocument(p_.Core());
    p_.Core().ResetModify();
  }

  CCase& Slot(int i) { return *p_.Core().GetCaseArray().GetCase(i); }
  static CExpEdit* Field(CRefCondDlg& d, int id) { return Ctl<CExpEdit>(d, id); }
  static void Press(CRefCondDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }

  // Opens 基準値の設定 from the menu with the script.
  void RunMenu(std::function<void(CRefCondDlg&)> script) {
    ExpectModal<CRefCondDlg>([&script](CRefCondDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      script(d);
    });
    QAction* command = p_.Command(CMainFrame::kRefCond);
    EXPECT_TRUE(command->isEnabled());
    command->trigger();
  }

  TestProgram p_;
};

// Every visible label and button is as wide as its text needs.
void ExpectUnclipped(const QWidget& d) {
  for (const QLabel* label : d.findChildren<QLabel*>()) {
    if (label->isVisible()) {
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
  }
  for (const QAbstractButton* button : d.findChildren<QAbstractButton*>()) {
    if (button->isVisible()) {
      EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
  }
}

// The values a file holds, read into fresh values; the current values stay.
CRefCond::Values ReadBack(const std::string& path) {
  const CRefCond::Values current = CRefCond::GetValues();
  CRefCond::Default();
  EXPECT_TRUE(CRefCond::ReadCond(path, false));
  const CRefCond::Values read = CRefCond::GetValues();
  CRefCond::SetValues(current);
  return read;
}

// Opening shows the factory values; 係数A 0.020 applied asks first, reaches the file, clears the
// slide results of every case and keeps the shear results; the next slide run follows the new A.
TEST_F(SettingsRefCondTest, ANewCoefficientReachesTheFileTheResultsAndTheNextRun) {
  const std::string file = SystemConfig::GetLastCond();
  ASSERT_FALSE(file.empty());
  RunMenu([](CRefCondDlg& d) {
    const char* const shown[] = {"0.013", "0.052", "0.025", "2.390",
                                 "0.100", "0.050", "0.016", "-1.7"};
    for (std::size_t i = 0; i < std::size(kFieldIds); ++i) {
      EXPECT_EQ(Field(d, kFieldIds[i])->text().toStdString(), shown[i]) << kFieldIds[i];
    }
    const CExpStatic* formula = Ctl<CExpStatic>(d, 3097);
    EXPECT_TRUE(formula->m_bMarkup);
    EXPECT_EQ(SplitMarkup(formula->text()),
              (std::vector<MarkupSegment>{{MarkupSegment::kNormal, "関係式 ： γ"},
                                          {MarkupSegment::kSubscript, "s"},
                                          {MarkupSegment::kNormal, "＝A･Fsr"},
                                          {MarkupSegment::kSuperscript, "B"}}));
    SaveShot(d, "CRefCondDlg");
    TypeField(Field(d, 3098), "0.020");
    TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
    Press(d, 1);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Question);
  EXPECT_EQ(CRefCond::GetKeiA(), 0.02);
  EXPECT_EQ(fs::file_size(file), 108u);
  EXPECT_EQ(ReadBack(file)[6], 0.02);
  for (const int slot : kSampleDocumentSlots) {
    EXPECT_FALSE(Slot(slot).GetResSlide().IsResult()) << slot;
    EXPECT_TRUE(Slot(slot).GetResShear().IsResult()) << slot;
    EXPECT_TRUE(Slot(slot).GetResFocus().IsResult()) << slot;
  }
  EXPECT_TRUE(p_.Core().IsModify());

  // Unrounded, each row's Fsr is the safety factor its strain was computed from.
  CCoreConfig::SetEnableRound(0);
  CCase& active = *p_.Core().GetActiveCase();
  ASSERT_TRUE(active.PreCalcSlide(false));
  active.CalcStartSlide();
  ASSERT_FALSE(active.GetResSlide().rows.empty());
  for (const tagSLIDERES& row : active.GetResSlide().rows) {
    if (row.fsr == kNoValue) continue;
    EXPECT_DOUBLE_EQ(row.gammaS, 0.02 * std::pow(row.fsr, -1.7)) << row.kh;
  }
  EXPECT_NEAR(0.020 * std::pow(1.2, -1.7), 0.0146697, 5e-8);
  EXPECT_NEAR(0.016 * std::pow(1.2, -1.7), 0.0117358, 5e-8);
}

// A change no result was made with asks nothing; a change that the results read is kept out by
// No, which leaves the dialog open.
TEST_F(SettingsRefCondTest, TheQuestionComesOnlyForResultsMadeWithTheValue) {
  for (const int slot : kSampleDocumentSlots) Slot(slot).ClearResult(false, false, true, false);
  RunMenu([](CRefCondDlg& d) {
    TypeField(Field(d, 3095), "0.2");  // read by the slide results alone, and there are none
    Press(d, 1);
  });
  EXPECT_EQ(CRefCond::GetSuberiHizumi(), 0.2);
  EXPECT_FALSE(p_.Core().IsModify());

  const CRefCond::Values before = CRefCond::GetValues();
  RunMenu([](CRefCondDlg& d) {
    TypeField(Field(d, 3094), "3");  // TRN-max, read by the rope-net checks
    TestUi().ExpectMessageBox(MsgResult::No, kClearQuestion);
    Press(d, 1);
    EXPECT_TRUE(d.isVisible());
    Press(d, 2);
  });
  EXPECT_EQ(CRefCond::GetValues(), before);
  for (const int slot : kSampleDocumentSlots) EXPECT_TRUE(Slot(slot).GetResFocus().IsResult());
  EXPECT_FALSE(p_.Core().IsModify());
}

// 初期値に戻す only fills the fields: キャンセル leaves the values of the opening, with the last
// file present and with it deleted.
TEST_F(SettingsRefCondTest, ResetThenCancelLeavesTheValuesOfTheOpening) {
  const CRefCond::Values edited{0.02, 0.06, 0.03, 3.0, 0.2, 0.07, 0.02, -2.0};
  for (const bool withFile : {true, false}) {
    SCOPED_TRACE(withFile ? "with the last file" : "without it");
    CRefCond::SetValues(edited);
    const std::string file = SystemConfig::GetLastCond();
    ASSERT_TRUE(CRefCond::WriteCond(file, true));
    if (!withFile) fs::remove(file);
    RunMenu([](CRefCondDlg& d) {
      TestUi().ExpectMessageBox(MsgResult::Ok, "基準値を初期化してよろしいですか？");
      Press(d, 3127);
      const MessageBoxCall& asked = TestUi().MessageBoxes().back();
      EXPECT_EQ(asked.caption, "基準値の設定");
      EXPECT_EQ(asked.buttons, MsgButtons::OkCancel);
      EXPECT_EQ(asked.icon, MsgIcon::Question);
      EXPECT_EQ(Field(d, 3098)->text().toStdString(), "0.016");
      EXPECT_EQ(CRefCond::GetKeiA(), 0.02);  // nothing changes before 適用
      Press(d, 2);
    });
    EXPECT_EQ(CRefCond::GetValues(), edited);
    EXPECT_EQ(fs::exists(file), withFile);
  }
}

// An empty field, and 0 as the local-failure strain, would enter a calculation unguarded: 適用
// names the field and changes nothing.
TEST_F(SettingsRefCondTest, AnEmptyFieldOrAZeroLocalFailureStrainIsRefused) {
  const std::string file = SystemConfig::GetLastCond();
  const std::string bytes = ReadFileBytes(file);
  const struct {
    int id;
    const char* typed;
    const char* message;
  } rows[] = {
      {3099, "", "[係数B]を入力して下さい。"},
      {3092, "0", "[局所破壊時のひずみ]に0は入力できません。"},
      {3091, "", "[亀裂発生時のひずみ]を入力して下さい。"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    RunMenu([&row](CRefCondDlg& d) {
      TypeField(Field(d, row.id), row.typed);
      TestUi().ExpectMessageBox(MsgResult::Ok, row.message);
      Press(d, 1);
      EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
      EXPECT_TRUE(d.isVisible());
      EXPECT_EQ(QApplication::focusWidget(), Field(d, row.id));
      Press(d, 2);
    });
    EXPECT_EQ(CRefCond::GetValues(), CRefCond::DefaultValues());
    EXPECT_EQ(ReadFileBytes(file), bytes);
  }
}

// A standard-values file that cannot be written is reported by name; the dialog stays open and
// the values stay. Without a remembered file the default file takes the values.
TEST_F(SettingsRefCondTest, AFailedWriteIsReportedAndAMissingLastFileFallsBackToTheDefault) {
  const fs::path plain = fs::path(std::getenv("BRIXO_HOME")) / "plain";
  WriteFileBytes(plain, "x");
  const std::string blocked = (plain / "DefCond.cond").string();
  SystemConfig::SetLastCond(blocked);
  RunMenu([&blocked](CRefCondDlg& d) {
    TypeField(Field(d, 3096), "0.07");
    TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
    TestUi().ExpectMessageBox(MsgResult::Ok, "ファイルを書き込めません: " + blocked);
    Press(d, 1);
    EXPECT_TRUE(d.isVisible());
    Press(d, 2);
  });
  EXPECT_EQ(CRefCond::GetValues(), CRefCond::DefaultValues());
  EXPECT_EQ(SystemConfig::GetLastCond(), blocked);
  for (const int slot : kSampleDocumentSlots) EXPECT_TRUE(Slot(slot).GetResShear().IsResult());
  EXPECT_FALSE(p_.Core().IsModify());

  SystemConfig::ResetLastCond();
  fs::remove(SystemConfig::GetDefaultCond());
  RunMenu([](CRefCondDlg& d) {
    TypeField(Field(d, 3093), "0.03");
    TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
    Press(d, 1);
  });
  EXPECT_EQ(SystemConfig::GetLastCond(), SystemConfig::GetDefaultCond());
  EXPECT_EQ(ReadBack(SystemConfig::GetDefaultCond())[2], 0.03);
}

// Enter walks the fields in their order and presses 適用 when it has the focus; Escape closes
// neither Settings dialog.
TEST_F(SettingsRefCondTest, EnterFollowsTheFieldOrderAndEscapeClosesNothing) {
  RunMenu([](CRefCondDlg& d) {
    ExpectUnclipped(d);
    const int order[] = {3091, 3092, 3093, 3094, 3095, 3096, 3098, 3099, 1};
    Field(d, order[0])->setFocus();
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
      SCOPED_TRACE(order[i]);
      QWidget* focused = QApplication::focusWidget();
      ASSERT_NE(focused, nullptr);
      EXPECT_EQ(focused->objectName().toInt(), order[i]);
      QTest::keyClick(focused, Qt::Key_Escape);
      EXPECT_TRUE(d.isVisible());
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  });

  ExpectModal<CRefUnitFilterDlg>([](CRefUnitFilterDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    ExpectUnclipped(d);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  });
  p_.Command(CMainFrame::kUnitFilter)->trigger();
}

}  // namespace
