#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/HeadlessUi.h"
#include "platform/UiServices.h"
#include "tests/support/ScriptedUi.h"

namespace {

TEST(UiServicesTest, DefaultButtonIsTheFirstOfTheSet) {
  const std::pair<MsgButtons, MsgResult> cases[] = {
      {MsgButtons::Ok, MsgResult::Ok},
      {MsgButtons::OkCancel, MsgResult::Ok},
      {MsgButtons::YesNo, MsgResult::Yes},
      {MsgButtons::YesNoCancel, MsgResult::Yes},
      {MsgButtons::RetryCancel, MsgResult::Retry},
      {MsgButtons::AbortRetryIgnore, MsgResult::Abort},
  };
  for (const auto& [buttons, result] : cases) {
    EXPECT_EQ(DefaultButton(buttons), result) << static_cast<int>(buttons);
  }
}

// Takes the test's ScriptedUi out for the life of the scope, so that the headless default
// serves, and puts it back afterwards.
class WithoutScriptedUi {
 public:
  WithoutScriptedUi() : scripted_(InstallUi(nullptr)) {}
  ~WithoutScriptedUi() { InstallUi(std::move(scripted_)); }
  WithoutScriptedUi(const WithoutScriptedUi&) = delete;
  WithoutScriptedUi& operator=(const WithoutScriptedUi&) = delete;

 private:
  std::unique_ptr<UiServices> scripted_;
};

TEST(UiServicesTest, HeadlessDefaultAnswersTheDefaultButtonAndLogs) {
  const WithoutScriptedUi headless;
  EXPECT_EQ(dynamic_cast<ScriptedUi*>(&Ui()), nullptr);

  testing::internal::CaptureStderr();
  const MsgResult answer =
      Ui().MessageBox("保存しますか?", "Brixo", MsgButtons::YesNoCancel, MsgIcon::Question);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Brixo: 保存しますか?\n");
  EXPECT_EQ(answer, MsgResult::Yes);

  EXPECT_EQ(Ui().SendToFrame(0x8001, 1, 2), 0);
  Ui().PumpEvents();
  const WaitCursor wait;
}

TEST(UiServicesTest, HeadlessProgressWindowKeepsItsState) {
  const WithoutScriptedUi headless;
  const std::unique_ptr<ProgressWindow> window = Ui().CreateProgressWindow();
  EXPECT_FALSE(window->IsVisible());
  window->Show();
  window->SetRange(5, 50);
  EXPECT_TRUE(window->IsVisible());
  EXPECT_EQ(window->RangeLow(), 5);
  EXPECT_EQ(window->RangeHigh(), 50);
  window->Hide();
  EXPECT_FALSE(window->IsVisible());
}

TEST(UiServicesTest, InstallUiReturnsTheServicesItReplaces) {
  auto headless = std::make_unique<HeadlessUi>();
  UiServices* const installed = headless.get();
  std::unique_ptr<UiServices> scripted = InstallUi(std::move(headless));
  EXPECT_NE(dynamic_cast<ScriptedUi*>(scripted.get()), nullptr);
  EXPECT_EQ(&Ui(), installed);
  EXPECT_EQ(InstallUi(std::move(scripted)).get(), installed);
}

TEST(ScriptedUiTest, EveryTestRunsWithAFreshScriptedUi) {
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
  EXPECT_EQ(TestUi().PumpCount(), 0);
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
}

TEST(ScriptedUiTest, AnUnexpectedMessageBoxFailsTheTest) {
  MsgResult answer = MsgResult::Cancel;
  EXPECT_NONFATAL_FAILURE(
      answer = Ui().MessageBox("計算できません", "Brixo", MsgButtons::OkCancel, MsgIcon::Error),
      "計算できません");
  EXPECT_EQ(answer, MsgResult::Ok) << "an unexpected box still gets its default button";
  ASSERT_EQ(TestUi().MessageBoxes().size(), 1u);
}

TEST(ScriptedUiTest, ExpectedBoxesTakeTheQueuedAnswersInOrder) {
  TestUi().ExpectMessageBox(MsgResult::No, "上書きしますか?");
  TestUi().ExpectMessageBox(MsgResult::Cancel);
  EXPECT_EQ(Ui().MessageBox("上書きしますか?", "Brixo", MsgButtons::YesNo, MsgIcon::Question),
            MsgResult::No);
  EXPECT_EQ(Ui().MessageBox("any text", "", MsgButtons::RetryCancel, MsgIcon::Warning),
            MsgResult::Cancel);

  const auto& boxes = TestUi().MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "上書きしますか?");
  EXPECT_EQ(boxes[0].caption, "Brixo");
  EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(boxes[0].icon, MsgIcon::Question);
  EXPECT_EQ(boxes[1].buttons, MsgButtons::RetryCancel);
  EXPECT_EQ(boxes[1].icon, MsgIcon::Warning);
}

TEST(ScriptedUiTest, MistakesInTheScriptFailTheTest) {
  TestUi().ExpectMessageBox(MsgResult::Ok, "expected text");
  EXPECT_NONFATAL_FAILURE(Ui().MessageBox("other text", "", MsgButtons::Ok, MsgIcon::None),
                          "expected text");

  TestUi().ExpectMessageBox(MsgResult::Retry);
  EXPECT_NONFATAL_FAILURE(Ui().MessageBox("box", "", MsgButtons::YesNo, MsgIcon::None),
                          "not a button");

  TestUi().ExpectMessageBox(MsgResult::Ok, "never shown");
  EXPECT_NONFATAL_FAILURE(TestUi().VerifyAllAnswered(), "never shown");
}

TEST(ScriptedUiTest, RecordsFrameMessages) {
  EXPECT_EQ(Ui().SendToFrame(0x8010, 3, -1), 0);
  Ui().SendToFrame(0x8011, 0, 42);
  EXPECT_EQ(TestUi().FrameMessages(),
            (std::vector<FrameMessage>{{0x8010, 3, -1}, {0x8011, 0, 42}}));
}

// A calculation shows its progress window and pumps events until it is done or cancelled.
TEST(ScriptedUiTest, CancelPressedWhilePumpingStopsTheCalculation) {
  TestUi().OnPumpEvents([] {
    if (TestUi().PumpCount() == 3) TestUi().PressCancel();
  });
  int steps = 0;
  {
    const std::unique_ptr<ProgressWindow> window = Ui().CreateProgressWindow();
    window->SetLines("安定計算", "円弧 1/100");
    window->SetRange(0, 100);
    window->Show();
    while (window->IsVisible() && steps < 100) {
      window->SetPosition(++steps);
      Ui().PumpEvents();
    }
  }
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(TestUi().PumpCount(), 3);

  ASSERT_EQ(TestUi().ProgressWindowCount(), 1u);
  const ProgressState& state = TestUi().Progress(0);  // still readable after the window is gone
  EXPECT_FALSE(state.visible);
  EXPECT_EQ(state.line1, "安定計算");
  EXPECT_EQ(state.line2, "円弧 1/100");
  EXPECT_EQ(state.rangeHigh, 100);
  EXPECT_EQ(state.position, 3);
}

TEST(ScriptedUiTest, CancelNeedsAVisibleWindowWithCancelEnabled) {
  EXPECT_NONFATAL_FAILURE(TestUi().PressCancel(), "no progress window");

  const std::unique_ptr<ProgressWindow> window = Ui().CreateProgressWindow();
  window->Show();
  window->EnableCancel(false);
  EXPECT_NONFATAL_FAILURE(TestUi().PressCancel(), "cancel disabled");
  EXPECT_TRUE(window->IsVisible());
}

}  // namespace
