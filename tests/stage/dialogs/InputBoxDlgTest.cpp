#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/dialogs/InputBoxDlg.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

struct InputCase {
  const char* name;
  QString typed;
  int button;  // 1 OK, 2 キャンセル
  int result;
  std::string text;
};

class InputBoxDlgTest : public ::testing::TestWithParam<InputCase> {};

// The caption, prompt and initial text are shown; OK hands back the text without the blanks
// around it, Cancel hands back nothing.
TEST_P(InputBoxDlgTest, ReturnsTheTrimmedText) {
  const InputCase& c = GetParam();
  ExpectModal<CInputBoxDlg>([&c](CInputBoxDlg& d) {
    EXPECT_EQ(d.windowTitle(), "地層境界の追加");
    EXPECT_EQ(Ctl<QLabel>(d, 3001)->text(), "追加する境界線名を入力してください");
    CExpEdit* edit = Ctl<CExpEdit>(d, 3000);
    EXPECT_EQ(edit->text(), "地層線1");
    edit->clear();
    TypeText(edit, c.typed);
    QTest::mouseClick(Ctl<QPushButton>(d, c.button), Qt::LeftButton);
  });
  CInputBoxDlg box;
  box.SetText("地層境界の追加", "追加する境界線名を入力してください", "地層線1");
  EXPECT_EQ(RunModal(box), c.result);
  EXPECT_EQ(box.Result(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputBoxDlgTest,
    ::testing::Values(
        InputCase{"BlanksAround", QStringLiteral("  abc  "), 1, QDialog::Accepted, "abc"},
        InputCase{"Japanese", QStringLiteral("砂礫層"), 1, QDialog::Accepted, "砂礫層"},
        InputCase{"OnlyBlanks", QStringLiteral("   "), 1, QDialog::Accepted, ""},
        InputCase{"Cancel", QStringLiteral("abc"), 2, QDialog::Rejected, ""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(InputBoxDlgShot, ShowsThePromptUnclipped) {
  CInputBoxDlg box;
  box.SetText("地層境界名の変更", "変更したい地層境界名を入力してください", "地層線2");
  ASSERT_TRUE(ShowActive(box));
  const QLabel* prompt = Ctl<QLabel>(box, 3001);
  EXPECT_GE(prompt->width(), prompt->sizeHint().width());
  SaveShot(box, "CInputBoxDlg");
  box.close();
}

}  // namespace
