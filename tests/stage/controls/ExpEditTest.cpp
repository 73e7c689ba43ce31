#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <string>
#include <string_view>

#include "stage/controls/ExpEdit.h"
#include "stage/controls/StageDialog.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// A window with the field under test, a second field, OK and Cancel, in this focus order.
class ExpEditTest : public testing::Test {
 protected:
  ExpEditTest() {
    auto* layout = new QVBoxLayout(&window_);
    for (QWidget* w : {static_cast<QWidget*>(edit_), static_cast<QWidget*>(other_),
                       static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_)}) {
      layout->addWidget(w);
    }
    SetId(ok_, 1);
    SetId(cancel_, 2);
  }

  void SetUp() override { ASSERT_TRUE(ShowActive(window_)); }

  // Gives the field the text, as if typed, and the focus, as on entering it.
  void Enter(const QString& text) {
    edit_->setFocus();
    edit_->selectAll();
    TypeText(edit_, text);
  }

  void Leave() { QTest::keyClick(edit_, Qt::Key_Tab); }

  QWidget window_;
  CExpEdit* edit_ = new CExpEdit;
  CExpEdit* other_ = new CExpEdit;
  QPushButton* ok_ = new QPushButton(QStringLiteral("OK"));
  QPushButton* cancel_ = new QPushButton(QStringLiteral("キャンセル"));
};

TEST_F(ExpEditTest, KeysAreFilteredByKind) {
  const struct {
    int kind;
    const char* before;
    int selectFrom;  // caret position, or the start of the selection
    int selectLength;
    char typed;
    const char* after;
  } cases[] = {
      {CExpEdit::kInteger, "12", 2, 0, '3', "123"},
      {CExpEdit::kInteger, "12", 2, 0, 'a', "12"},
      {CExpEdit::kInteger, "12", 1, 0, '-', "12"},  // a minus only in front
      {CExpEdit::kInteger, "12", 0, 0, '-', "-12"},
      {CExpEdit::kInteger, "-1", 0, 0, '-', "-1"},  // and only one
      {CExpEdit::kInteger, "12", 0, 0, '.', "12"},
      {CExpEdit::kDecimal, "1.5", 3, 0, '.', "1.5"},  // a second point
      {CExpEdit::kDecimal, "15", 1, 0, '.', "1.5"},
      {CExpEdit::kDecimal, "1.5", 1, 1, 'x', "1x5"},  // anything replaces the selected point
      {CExpEdit::kDecimal, "1.5", 3, 0, 'e', "1.5"},
      {CExpEdit::kText, "ab", 2, 0, '-', "ab-"},
  };
  for (const auto& c : cases) {
    edit_->m_nType = c.kind;
    edit_->setText(QString::fromLatin1(c.before));
    edit_->setFocus();
    edit_->setSelection(c.selectFrom, c.selectLength);
    if (c.selectLength == 0) edit_->setCursorPosition(c.selectFrom);
    const bool refused = std::string_view(c.before) == c.after;
    if (refused) TestUi().ExpectBeep();  // a refused key beeps
    QTest::keyClick(edit_, c.typed);
    EXPECT_EQ(edit_->GetText(), c.after) << c.before << " + " << c.typed;
    TestUi().VerifyAllAnswered();
  }
}

TEST_F(ExpEditTest, CheckTellsWhatIsWrongWithTheText) {
  const struct {
    int kind;
    int decimals;
    double min;
    double max;
    const char* text;
    int result;
  } cases[] = {
      {CExpEdit::kInteger, 0, 1, 10, "", CExpEdit::kValid},
      {CExpEdit::kInteger, 0, 1, 10, "10", CExpEdit::kValid},
      {CExpEdit::kInteger, 0, 1, 10, "11", CExpEdit::kOutOfRange},
      {CExpEdit::kInteger, 0, 1, 10, "0", CExpEdit::kOutOfRange},
      {CExpEdit::kInteger, 0, kNoValue, kNoValue, "-", CExpEdit::kNotNumber},
      {CExpEdit::kInteger, 0, kNoValue, kNoValue, "1-2", CExpEdit::kNotNumber},
      {CExpEdit::kInteger, 0, kNoValue, kNoValue, "99999999999", CExpEdit::kNotNumber},
      {CExpEdit::kInteger, 0, 1, 10, "99999999999", CExpEdit::kOutOfRange},
      {CExpEdit::kDecimal, 2, kNoValue, kNoValue, "1.234", CExpEdit::kTooManyDecimals},
      {CExpEdit::kDecimal, 2, kNoValue, kNoValue, "1.230", CExpEdit::kValid},
      {CExpEdit::kDecimal, 2, kNoValue, kNoValue, ".", CExpEdit::kNotNumber},
      {CExpEdit::kDecimal, 2, kNoValue, kNoValue, "-.", CExpEdit::kNotNumber},
      {CExpEdit::kDecimal, 2, kNoValue, kNoValue, "1.2.3", CExpEdit::kNotNumber},
      {CExpEdit::kDecimal, 2, kNoValue, kNoValue, "-.5", CExpEdit::kValid},
      {CExpEdit::kDecimal, 1, -9999.9, 9999.9, "-10000", CExpEdit::kOutOfRange},
      {CExpEdit::kDecimal, -2, kNoValue, kNoValue, "1200", CExpEdit::kValid},
      {CExpEdit::kDecimal, -2, kNoValue, kNoValue, "1200.0", CExpEdit::kValid},
      {CExpEdit::kDecimal, -2, kNoValue, kNoValue, "-1200", CExpEdit::kValid},
      {CExpEdit::kDecimal, -2, kNoValue, kNoValue, "1210", CExpEdit::kTooManyDecimals},
      {CExpEdit::kDecimal, -2, kNoValue, kNoValue, "1200.5", CExpEdit::kTooManyDecimals},
      {CExpEdit::kText, 0, 1, 10, "abc", CExpEdit::kValid},
  };
  for (const auto& c : cases) {
    edit_->m_nType = c.kind;
    edit_->m_nDecimals = c.decimals;
    edit_->m_dMin = c.min;
    edit_->m_dMax = c.max;
    edit_->setText(QString::fromLatin1(c.text));
    EXPECT_EQ(edit_->Check(), c.result) << '"' << c.text << "\" with " << c.decimals;
  }
}

// Leaving a changed field that fails its check names the fault, puts back the text it had on
// entering and keeps the focus.
TEST_F(ExpEditTest, AFailedCheckWarnsRestoresAndKeepsTheFocus) {
  const struct {
    int kind;
    int decimals;
    double max;
    const char* before;
    const char* typed;
    const char* message;
  } cases[] = {
      {CExpEdit::kInteger, 0, 10, "5", "11",
       "数値が範囲外です。\n\n（1 ～ 10 までの範囲で入力してください。）"},
      {CExpEdit::kDecimal, 2, 10, "5", "11",
       "数値が範囲外です。\n\n（1.00 ～ 10.00 までの範囲で入力してください。）"},
      {CExpEdit::kDecimal, 2, 10, "5", "1.234",
       "少数桁がオーバーしています。\n\n（少数 2桁 以内で入力してください。）"},
      {CExpEdit::kDecimal, -2, 9999, "1200", "1210", "整数部下 2桁 はゼロで入力してください。"},
      {CExpEdit::kDecimal, 2, 10, "5", "-",
       "値が正しくありません。\n\n（数値を入力してください。）"},
  };
  edit_->m_dMin = 1;
  other_->setFocus();
  for (const auto& c : cases) {
    edit_->m_nType = c.kind;
    edit_->m_nDecimals = c.decimals;
    edit_->m_dMax = c.max;
    edit_->setText(QString::fromLatin1(c.before));
    TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    Enter(QString::fromUtf8(c.typed));
    Leave();
    EXPECT_EQ(edit_->GetText(), c.before) << c.typed;
    EXPECT_EQ(QApplication::focusWidget(), edit_) << c.typed;
    ASSERT_FALSE(TestUi().MessageBoxes().empty());
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, "入力確認");
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
    TestUi().VerifyAllAnswered();
    other_->setFocus();  // the restored text passes, silently
    EXPECT_EQ(QApplication::focusWidget(), other_);
  }
}

TEST_F(ExpEditTest, ADecimalFieldShowsItsDecimalsOnLeaving) {
  edit_->m_nType = CExpEdit::kDecimal;
  edit_->m_nDecimals = 2;
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {{"1.230", "1.23"}, {"1.5", "1.50"}, {"-3", "-3.00"}};
  for (const auto& c : cases) {
    Enter(QString::fromLatin1(c.typed));
    Leave();
    EXPECT_EQ(edit_->GetText(), c.shown);
  }
  edit_->setFocus();
  edit_->clear();
  Leave();
  EXPECT_EQ(edit_->GetText(), "");
  EXPECT_EQ(edit_->GetDouble(), kNoValue);
}

// Escape, or moving to Cancel, skips the check: a dialog being cancelled says nothing.
TEST_F(ExpEditTest, CancelAndEscapeSkipTheCheck) {
  edit_->m_nType = CExpEdit::kInteger;
  edit_->m_dMin = 1;
  edit_->m_dMax = 10;
  Enter(QStringLiteral("99"));
  QTest::mouseClick(cancel_, Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), cancel_);
  Enter(QStringLiteral("98"));
  QTest::keyClick(edit_, Qt::Key_Escape);
  Leave();
  EXPECT_EQ(QApplication::focusWidget(), other_);
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
  // The next leaving checks again.
  TestUi().ExpectMessageBox(MsgResult::Ok);
  Enter(QStringLiteral("97"));
  Leave();
  EXPECT_EQ(QApplication::focusWidget(), edit_);
  // Closing the window by its title bar says nothing either.
  TestUi().VerifyAllAnswered();
  Enter(QStringLiteral("96"));
  window_.close();
  EXPECT_EQ(TestUi().MessageBoxes().size(), 1u);
}

// The limit counts bytes of the Japanese code page: a full-width character takes two, and one
// that does not fit is refused without taking the next character of this or another field.
TEST_F(ExpEditTest, TheLengthLimitCountsCp932Bytes) {
  edit_->m_nMaxBytes = 4;
  Enter(QStringLiteral("12あい"));
  EXPECT_EQ(edit_->GetText(), "12あ");

  edit_->m_nMaxBytes = 3;
  Enter(QStringLiteral("12あ3"));
  EXPECT_EQ(edit_->GetText(), "123");
  other_->m_nMaxBytes = 3;
  other_->setFocus();
  TypeText(other_, QStringLiteral("ab"));
  EXPECT_EQ(other_->GetText(), "ab");

  // Typing over a selection counts the bytes it frees.
  edit_->m_nMaxBytes = 4;
  edit_->setText(QStringLiteral("あい"));
  edit_->setFocus();
  edit_->setSelection(1, 1);
  TypeText(edit_, QStringLiteral("う"));
  EXPECT_EQ(edit_->GetText(), "あう");
}

TEST_F(ExpEditTest, APasteTooLongForTheRoomPastesNothing) {
  edit_->m_nMaxBytes = 5;
  edit_->setText(QStringLiteral("12"));
  edit_->setFocus();
  edit_->setCursorPosition(2);
  QGuiApplication::clipboard()->setText(QStringLiteral("あい"));
  TestUi().ExpectBeep();  // a paste that does not fit beeps
  QTest::keyClick(edit_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit_->GetText(), "12");
  QGuiApplication::clipboard()->setText(QStringLiteral("3あ"));
  QTest::keyClick(edit_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit_->GetText(), "123あ");

  // The context menu's paste keeps to the same room.
  edit_->setText(QStringLiteral("12"));
  QGuiApplication::clipboard()->setText(QStringLiteral("あい"));
  TestUi().ExpectBeep();
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2),
                            edit_->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(edit_, &request);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  for (QAction* action : menu->actions()) {
    // Qt's own text of the entry, in the language its translations give it.
    if (action->text().startsWith(QLineEdit::tr("&Paste"))) action->trigger();
  }
  menu->close();
  EXPECT_EQ(edit_->GetText(), "12");
}

TEST_F(ExpEditTest, EnteringSelectsTheWholeTextAndRemembersIt) {
  edit_->setText(QStringLiteral("4.5"));
  other_->setFocus();
  QTest::mouseClick(edit_, Qt::LeftButton, {}, QPoint(2, edit_->height() / 2));
  QCoreApplication::processEvents();  // the selection follows the click
  EXPECT_EQ(edit_->selectedText(), "4.5");
}

TEST_F(ExpEditTest, AReadOnlyFieldTakesNoFocus) {
  edit_->SetReadOnly(true);
  other_->setFocus();
  QTest::mouseClick(edit_, Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), other_);
  QTest::keyClick(other_, Qt::Key_Backtab);
  EXPECT_NE(QApplication::focusWidget(), edit_);
}

TEST_F(ExpEditTest, ValuesShowAsTextWithTheEmptyValueEmpty) {
  edit_->m_nDecimals = 3;
  edit_->SetDouble(kNoValue);
  EXPECT_EQ(edit_->GetText(), "");
  edit_->SetDouble(2.0 / 3.0);
  EXPECT_EQ(edit_->GetText(), "0.667");
  EXPECT_DOUBLE_EQ(edit_->GetDouble(), 0.667);
  edit_->m_dNull = 0;
  edit_->SetInt(0);
  EXPECT_EQ(edit_->GetText(), "");
  EXPECT_EQ(edit_->GetDouble(), 0.0);
  edit_->SetInt(-7);
  EXPECT_EQ(edit_->GetText(), "-7");
}

}  // namespace
