// The stability conditions dialog on the sample case, driven through its widgets: what OK and
// キャンセル leave in the case, the switches that enable their fields and redraw, and the three
// small dialogs it opens.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "platform/FrameMessages.h"
#include "platform/NumberText.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabPatternDlg.h"
#include "stage/dialogs/RefStabFsDlg.h"
#include "stage/dialogs/RefStabKhDlg.h"
#include "stage/dialogs/RefStabPatternDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

// Control ids.
enum Id {
  kOk = 1,
  kCancel = 2,
  kNormal = 5364,
  kQuake = 5204,
  kFsp = 5208,
  kKh = 5210,
  kBottom = 5211,
  kWater = 5424,
  kGammaW = 5474,
  kFsReference = 5423,
  kKhReference = 5422,
  kBottomFromCase = 5425,
  kDetail = 5215,
  kDistance = 5317,
  kMagnitude = 5421,
};

constexpr const char* kNoModel = "計算モデルが選択されていません。\n計算モデルを入力してください。";
constexpr const char* kClearResults =
    "設定の変更により、すべての計算結果をクリアします。\nよろしいですか？";

const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};
const FrameMessage kClosedOk{FrameMsg::WM_CMD_STAB_PATTERN_CLOSE, 1, 0};
const FrameMessage kClosedCancel{FrameMsg::WM_CMD_STAB_PATTERN_CLOSE, 0, 0};

// A click on the box's indicator.
void ClickBox(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

// Every visible label and button of the dialog shows its whole text.
void ExpectUnclipped(QWidget& dialog) {
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    const bool text = qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QAbstractButton*>(w);
    if (text && w->isVisible()) {
      EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
    }
  }
}

std::vector<FrameMessage> Since(std::size_t before) {
  const std::vector<FrameMessage>& all = TestUi().FrameMessages();
  return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
}

// The dialog on the sample case (with its results), shown and active; the frame's close member
// is played by hand: hide, then delete later.
class PatternDlgTest : public SampleCaseTest {
 protected:
  PatternDlgTest() {
    TestUi().SetFrameReceiver(
        [this](FrameMsg message, std::uintptr_t, std::intptr_t) -> std::intptr_t {
          if (message == FrameMsg::WM_CMD_STAB_PATTERN_CLOSE && dlg_ != nullptr) {
            dlg_->hide();
            dlg_->deleteLater();
          }
          return 0;
        });
  }
  ~PatternDlgTest() override {
    TestUi().SetFrameReceiver({});
    delete dlg_.data();
  }

  CCmdStabPatternDlg& Open() {
    before_.Copy(Case().GetPrmStab());
    dlg_ = new CCmdStabPatternDlg;
    dlg_->BindCase(Case());
    EXPECT_TRUE(ShowActive(*dlg_));
    return *dlg_;
  }

  template <typename T>
  T* Control(int id) {
    return Ctl<T>(*dlg_, id);
  }
  void Press(int id) { QTest::mouseClick(Control<QPushButton>(id), Qt::LeftButton); }
  bool HasAnyResult() {
    return Case().IsResStab() || Case().IsResStabGyaku() || Case().IsResSlide() ||
           Case().IsResShear();
  }
  // The dialog was closed through the frame: hidden now, deleted later.
  bool Closed() {
    if (dlg_ == nullptr) return true;
    if (dlg_->isVisible()) return false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return dlg_ == nullptr;
  }

  QPointer<CCmdStabPatternDlg> dlg_;
  CPrmStab before_;
};

TEST_F(PatternDlgTest, OpeningShowsTheConditionsAndRedraws) {
  const std::size_t before = TestUi().FrameMessages().size();
  CCmdStabPatternDlg& dlg = Open();
  EXPECT_EQ(Since(before), std::vector<FrameMessage>{kRedraw});
  EXPECT_EQ(dlg.windowTitle(), "安定計算条件");
  const CPrmStab& stab = Case().GetPrmStab();
  EXPECT_EQ(Control<QCheckBox>(kNormal)->isChecked(), stab.normalOn != 0);
  EXPECT_EQ(Control<QCheckBox>(kQuake)->isChecked(), stab.quakeOn != 0);
  EXPECT_EQ(Control<QCheckBox>(kWater)->isChecked(), stab.waterOn != 0);
  EXPECT_EQ(Control<CExpEdit>(kFsp)->GetText(), FormatFixed(stab.planFsNormal, 3));
  EXPECT_EQ(Control<CExpEdit>(kKh)->GetText(), FormatFixed(stab.kh, 3));
  EXPECT_EQ(Control<CExpEdit>(kBottom)->GetText(),
            stab.bottomElevation == kNoValue ? "" : FormatFixed(stab.bottomElevation, 3));
  EXPECT_EQ(Control<CExpEdit>(kGammaW)->GetText(), FormatFixed(stab.gammaW, 3));
  ExpectUnclipped(dlg);
  SaveShot(dlg, "CCmdStabPatternDlg");
  Press(kCancel);
}

// Each switch enables its own field, labels and buttons at once, stores itself in the case (the
// view follows) and redraws.
TEST_F(PatternDlgTest, EachSwitchEnablesItsControlsStoresAndRedraws) {
  struct Row {
    Id box;
    std::vector<int> controls;
    int CPrmStab::*member;
  };
  const Row rows[] = {
      {kNormal, {kFsp, kFsReference, 5469, 5470}, &CPrmStab::normalOn},
      {kQuake,
       {kKh, kBottom, kKhReference, kBottomFromCase, 5426, 5427, 5429, 5430, 5431},
       &CPrmStab::quakeOn},
      {kWater, {kGammaW, 5472, 5473}, &CPrmStab::waterOn},
  };
  Open();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.box);
    QCheckBox* box = Control<QCheckBox>(row.box);
    for (int round = 0; round < 2; ++round) {
      const bool on = !box->isChecked();
      const std::size_t before = TestUi().FrameMessages().size();
      ClickBox(box);
      ASSERT_EQ(box->isChecked(), on);
      EXPECT_EQ(Case().GetPrmStab().*row.member, on ? 1 : 0);
      for (const int id : row.controls) EXPECT_EQ(Control<QWidget>(id)->isEnabled(), on) << id;
      EXPECT_EQ(Since(before), std::vector<FrameMessage>{kRedraw});
    }
  }
  Press(kCancel);
}

// OK and キャンセル against the conditions at opening: OK with nothing changed, or only with
// values typed as they were, stores nothing and marks nothing; any stored change asks, then marks
// the case modified and in use and clears every result (every stored condition is read by the
// calculations); No keeps the dialog open and the results. キャンセル and the title bar's close
// put back every condition, including those switched live.
TEST_F(PatternDlgTest, OkAndCancelAgainstTheConditionsAtOpening) {
  enum class End { Ok, Cancel, TitleBar };
  struct Row {
    const char* edit;
    std::function<void()> apply;
    bool changes;
  };
  const Row rows[] = {
      {"nothing", [] {}, false},
      {"Fsp retyped as shown", [this] { TypeField(Control<CExpEdit>(kFsp), "1.200"); }, false},
      {"Fsp", [this] { TypeField(Control<CExpEdit>(kFsp), "1.25"); }, true},
      {"kh", [this] { TypeField(Control<CExpEdit>(kKh), "0.2"); }, true},
      {"kh emptied", [this] { TypeField(Control<CExpEdit>(kKh), ""); }, true},
      {"bottom level", [this] { TypeField(Control<CExpEdit>(kBottom), "-12.5"); }, true},
      {"normal case off", [this] { ClickBox(Control<QCheckBox>(kNormal)); }, true},
      {"seismic case off", [this] { ClickBox(Control<QCheckBox>(kQuake)); }, true},
      {"water on and γw",
       [this] {
         ClickBox(Control<QCheckBox>(kWater));
         TypeField(Control<CExpEdit>(kGammaW), "9.81");
       },
       true},
      {"switched off and on again",
       [this] {
         ClickBox(Control<QCheckBox>(kQuake));
         ClickBox(Control<QCheckBox>(kQuake));
       },
       false},
  };
  ASSERT_EQ(Case().GetPrmStab().waterOn, 0);
  for (const Row& row : rows) {
    for (const End end : {End::Ok, End::Cancel, End::TitleBar}) {
      SCOPED_TRACE(std::string(row.edit) + " / " + std::to_string(static_cast<int>(end)));
      FillSampleCase(Case(), 0);
      Case().SetModify(false);
      Case().SetInUse(0);
      ASSERT_TRUE(HasAnyResult());
      Open();
      row.apply();
      const bool ok = end == End::Ok;
      if (ok && row.changes) TestUi().ExpectMessageBox(MsgResult::Yes, kClearResults);
      const std::size_t before = TestUi().FrameMessages().size();
      if (end == End::TitleBar) {
        dlg_->close();
      } else {
        Press(ok ? kOk : kCancel);
      }
      const bool stored = ok && row.changes;
      const std::vector<FrameMessage> sent = Since(before);
      ASSERT_FALSE(sent.empty());
      EXPECT_EQ(sent.back(), ok ? kClosedOk : kClosedCancel);
      EXPECT_TRUE(Closed());
      EXPECT_EQ(Case().GetPrmStab().IsSame(before_), !stored);
      EXPECT_EQ(Case().IsModified(), stored);
      EXPECT_EQ(Case().GetInUse(), stored ? 1 : 0);
      EXPECT_EQ(HasAnyResult(), !stored);
      if (stored) {
        const MessageBoxCall& box = TestUi().MessageBoxes().back();
        EXPECT_EQ(box.caption, GetAppTitle());
        EXPECT_EQ(box.buttons, MsgButtons::YesNo);
        EXPECT_EQ(box.icon, MsgIcon::Question);
      }
    }
  }
}

TEST_F(PatternDlgTest, NoToTheQuestionKeepsTheDialogAndTheResults) {
  Open();
  TypeField(Control<CExpEdit>(kFsp), "1.3");
  TestUi().ExpectMessageBox(MsgResult::No, kClearResults);
  const std::size_t before = TestUi().FrameMessages().size();
  Press(kOk);
  EXPECT_TRUE(Since(before).empty());
  EXPECT_TRUE(dlg_->isVisible());
  EXPECT_TRUE(HasAnyResult());
  EXPECT_FALSE(Case().IsModified());
  Press(kCancel);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(Case().GetPrmStab().IsSame(before_));
}

// A case without results has nothing to lose: a change is stored without the question.
TEST_F(PatternDlgTest, ACaseWithoutResultsIsNotAsked) {
  Case().ClearResult(true, true, true, true);
  Open();
  TypeField(Control<CExpEdit>(kKh), "0.18");
  Press(kOk);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(Case().GetPrmStab().kh, 0.18);
  EXPECT_TRUE(Case().IsModified());
}

// Values with more decimals than the fields show survive an OK without edits.
TEST_F(PatternDlgTest, UnchangedFieldsKeepValuesFinerThanShown) {
  CPrmStab& stab = Case().GetPrmStab();
  stab.planFsNormal = 1.23456;
  stab.kh = 0.123456;
  stab.bottomElevation = -3.14159;
  stab.gammaW = 9.80665;
  Open();
  Press(kOk);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(stab.IsSame(before_));
  EXPECT_FALSE(Case().IsModified());
  EXPECT_TRUE(HasAnyResult());
}

TEST_F(PatternDlgTest, OkWithoutAModelIsRefused) {
  Open();
  ClickBox(Control<QCheckBox>(kNormal));
  ClickBox(Control<QCheckBox>(kQuake));
  TestUi().ExpectMessageBox(MsgResult::Ok, kNoModel);
  const std::size_t before = TestUi().FrameMessages().size();
  Press(kOk);
  EXPECT_TRUE(Since(before).empty());
  EXPECT_TRUE(dlg_->isVisible());
  const MessageBoxCall& box = TestUi().MessageBoxes().back();
  EXPECT_EQ(box.caption, "RUrevavirazo");
  EXPECT_EQ(box.icon, MsgIcon::Warning);
  EXPECT_FALSE(Case().IsModified());
  Press(kCancel);
  EXPECT_TRUE(Case().GetPrmStab().IsSame(before_));
}

TEST_F(PatternDlgTest, OutOfRangeInputIsRefusedAndChangesNothing) {
  Open();
  CExpEdit* fsp = Control<CExpEdit>(kFsp);
  const QString shown = fsp->text();
  TestUi().ExpectMessageBox(MsgResult::Ok);  // the field's own range warning
  TypeField(fsp, "12");
  EXPECT_EQ(fsp->text(), shown);
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
  Press(kOk);
  EXPECT_TRUE(Closed());
  EXPECT_FALSE(Case().IsModified());
}

TEST_F(PatternDlgTest, BottomFromCaseShowsTheLowestGroundPoint) {
  Open();
  Press(kBottomFromCase);
  const double bottom = Case().GetBottomYPoint(false);
  ASSERT_NE(bottom, kNoValue);
  EXPECT_EQ(Control<CExpEdit>(kBottom)->GetText(), FormatFixed(bottom, 3));
  TestUi().ExpectMessageBox(MsgResult::Yes, kClearResults);
  Press(kOk);
  EXPECT_DOUBLE_EQ(Case().GetPrmStab().bottomElevation, bottom);
}

// Enter walks the controls in their order, skipping those switched off, and presses OK.
TEST_F(PatternDlgTest, EnterFollowsTheControlOrder) {
  Open();
  const int order[] = {kNormal, kQuake,          kFsp,   kFsReference, kKh, kKhReference,
                       kBottom, kBottomFromCase, kWater, kDetail,      kOk};
  Control<QWidget>(kNormal)->setFocus();
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    ASSERT_EQ(QApplication::focusWidget(), Control<QWidget>(order[i])) << order[i];
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }
  EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(kOk));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(Closed());
  EXPECT_FALSE(Case().IsModified());
}

// 参考値 beside Fsp: 代入 on the 現状安全率 row gives 1.0, on any other row 1.2; キャンセル
// leaves the field.
TEST_F(PatternDlgTest, TheFsReferenceGivesTheActiveRowsSafetyFactor) {
  struct Row {
    int row;
    int button;
    const char* shown;
  };
  const Row rows[] = {{1, kOk, "1.200"}, {2, kOk, "1.000"}, {2, kCancel, "1.250"}};
  Open();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.row);
    TypeField(Control<CExpEdit>(kFsp), "1.25");
    ExpectModal<CRefStabFsDlg>([row](CRefStabFsDlg& d) {
      EXPECT_EQ(d.windowTitle(), "参考値：計画安全率");
      CSheetGrid* grid = Ctl<CSheetGrid>(d, 7339);
      EXPECT_EQ(grid->ActiveRow(), 1);
      EXPECT_EQ(grid->Text(1, 1), "計画安全率");
      EXPECT_EQ(grid->Text(1, 2), "現状安全率");
      if (row.row == 2) {
        ASSERT_TRUE(ShowActive(d));
        ClickCell(*grid, 1, 2);
      }
      EXPECT_EQ(grid->ActiveRow(), row.row);
      if (row.row == 2 && row.button == kOk) {
        ExpectUnclipped(d);
        SaveShot(d, "CRefStabFsDlg");
      }
      QTest::mouseClick(Ctl<QPushButton>(d, row.button), Qt::LeftButton);
    });
    Press(kFsReference);
    EXPECT_EQ(Control<CExpEdit>(kFsp)->GetText(), row.shown);
  }
  Press(kCancel);
}

class KhCalculatorTest : public PatternDlgTest {
 protected:
  // Opens the calculator from 参考値 beside kh and runs the script in it.
  void RunCalculator(std::function<void(CRefStabKhDlg&)> script) {
    ExpectModal<CRefStabKhDlg>([script](CRefStabKhDlg& d) {
      // A dialog over an active window counts as active before its own activation arrives.
      ASSERT_TRUE(ShowActive(d));
      QCoreApplication::processEvents();
      ASSERT_TRUE(d.isActiveWindow());
      script(d);
    });
    Press(kKhReference);
  }
  static void Enter(CRefStabKhDlg& d, const char* magnitude, const char* distance) {
    TypeField(Ctl<CExpEdit>(d, kMagnitude), magnitude);
    TypeField(Ctl<CExpEdit>(d, kDistance), distance);
  }
  // The coefficient the conditions derive from the magnitude and distance.
  static double Derived(double magnitude, double distance) {
    CPrmStab stab;
    stab.magnitude = magnitude;
    stab.distance = distance;
    stab.CalcKh();
    return stab.khCalc;
  }
};

// Leaving MJ or D derives kh at once; 代入 makes it the design kh, shown in the kh field.
TEST_F(KhCalculatorTest, AssignMakesTheDerivedKhTheDesignKh) {
  Open();
  const double expected = Derived(7.0, 10.0);
  RunCalculator([expected](CRefStabKhDlg& d) {
    EXPECT_EQ(d.windowTitle(), "参考：設計水平震度");
    CExpEdit* kh = Ctl<CExpEdit>(d, kKh);
    EXPECT_TRUE(kh->isReadOnly());
    Enter(d, "7", "10");
    EXPECT_EQ(kh->GetText(), FormatFixed(expected, 3));
    ExpectUnclipped(d);
    SaveShot(d, "CRefStabKhDlg");
    QTest::mouseClick(Ctl<QPushButton>(d, kOk), Qt::LeftButton);
  });
  const CPrmStab& stab = Case().GetPrmStab();
  EXPECT_EQ(stab.kh, expected);
  EXPECT_EQ(stab.magnitude, 7.0);
  EXPECT_EQ(stab.distance, 10.0);
  EXPECT_EQ(Control<CExpEdit>(kKh)->GetText(), FormatFixed(expected, 3));
  TestUi().ExpectMessageBox(MsgResult::Yes, kClearResults);
  Press(kOk);
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(Case().IsModified());
}

// キャンセル in the calculator puts MJ, D and what was derived from them back, so that a
// cancelled calculation neither reaches the case nor clears its results.
TEST_F(KhCalculatorTest, CancelPutsTheInputsBack) {
  Open();
  const QString shownKh = Control<CExpEdit>(kKh)->text();
  RunCalculator([this](CRefStabKhDlg& d) {
    Enter(d, "7", "10");
    ASSERT_EQ(Case().GetPrmStab().magnitude, 7.0);  // left fields reach the conditions at once
    QTest::mouseClick(Ctl<QPushButton>(d, kCancel), Qt::LeftButton);
  });
  EXPECT_TRUE(Case().GetPrmStab().IsSame(before_));
  EXPECT_EQ(Control<CExpEdit>(kKh)->text(), shownKh);
  Press(kOk);
  EXPECT_TRUE(Closed());
  EXPECT_FALSE(Case().IsModified());
  EXPECT_TRUE(HasAnyResult());
}

// A magnitude far beyond any earthquake derives a kh that the kh field would refuse: 代入 refuses
// it in the field's words and keeps the design kh.
TEST_F(KhCalculatorTest, ADerivedKhBeyondTheFieldsRangeIsRefused) {
  Open();
  ASSERT_GT(Derived(20.0, 0.0), 9.999);
  TestUi().ExpectMessageBox(
      MsgResult::Ok, "数値が範囲外です。\n\n（0.000 ～ 9.999 までの範囲で入力してください。）");
  RunCalculator([](CRefStabKhDlg& d) {
    Enter(d, "20", "0");
    QTest::mouseClick(Ctl<QPushButton>(d, kOk), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    QTest::mouseClick(Ctl<QPushButton>(d, kCancel), Qt::LeftButton);
  });
  EXPECT_TRUE(Case().GetPrmStab().IsSame(before_));
  Press(kCancel);
}

// 計算条件の詳細設定 shows settings that the case does not hold: read-only, said so in the title,
// with 閉じる as its only button, and nothing in the case changes.
TEST_F(PatternDlgTest, TheDetailSettingsAreShownReadOnly) {
  Open();
  ExpectModal<CRefStabPatternDlg>([](CRefStabPatternDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    EXPECT_TRUE(d.windowTitle().startsWith("詳細設定"));
    EXPECT_TRUE(d.windowTitle().contains("保存されません"));
    for (const int id : {5266, 5267, 5269, 5270}) {
      EXPECT_FALSE(Ctl<QRadioButton>(d, id)->isEnabled()) << id;
    }
    for (const int id : {5268, 5271}) EXPECT_FALSE(Ctl<CExpEdit>(d, id)->isEnabled()) << id;
    const QList<QPushButton*> buttons = d.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.front()->text(), "閉じる");
    ExpectUnclipped(d);
    SaveShot(d, "CRefStabPatternDlg");
    QTest::mouseClick(Ctl<QPushButton>(d, kCancel), Qt::LeftButton);
  });
  Press(kDetail);
  EXPECT_TRUE(Case().GetPrmStab().IsSame(before_));
  Press(kOk);
  EXPECT_FALSE(Case().IsModified());
}

}  // namespace
