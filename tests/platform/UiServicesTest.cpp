#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/HeadlessUi.h"
#include "platform/UiRegistry.h"
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

  EXPECT_EQ(Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 1, 2), 0);
  const WaitCursor wait;
}

// Nobody is there: no file is chosen, no viewer opens, the clipboard takes and holds nothing,
// an input box counts as cancelled. None of these is logged or fails.
TEST(UiServicesTest, HeadlessDefaultAnswersAsIfNobodyWereThere) {
  const WithoutScriptedUi headless;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Ui().FileDialog(FileDialogKind::Open, {"*.csv|*.csv||", "csv", "/tmp", "*.csv"}),
            std::nullopt);
  EXPECT_EQ(Ui().FileDialog(FileDialogKind::Save, {}), std::nullopt);
  EXPECT_FALSE(Ui().OpenInViewer("/tmp/manual.pdf"));
  EXPECT_FALSE(Ui().SetClipboardText("x\ty"));
  EXPECT_EQ(Ui().ClipboardText(), std::nullopt);
  EXPECT_EQ(Ui().InputBox("名前", "地層境界の追加", "層1"), std::nullopt);
  Ui().Beep();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
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
  EXPECT_EQ(Ui().SendToFrame(FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 1, 0), 0);
  Ui().SendToFrame(FrameMsg::WM_APP_PRINT_WORD, 3, 42);
  EXPECT_EQ(TestUi().FrameMessages(),
            (std::vector<FrameMessage>{{FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 1, 0},
                                       {FrameMsg::WM_APP_PRINT_WORD, 3, 42}}));
}

// A test through the real frame gets the frame's answers; the message is on record before the
// frame handles it, so a handler that sends further messages leaves them in the order sent.
TEST(ScriptedUiTest, DeliversFrameMessagesToTheRegisteredReceiverAfterRecordingThem) {
  std::vector<std::size_t> recordedBeforeHandling;
  Ui().SetFrameReceiver([&](FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) {
    recordedBeforeHandling.push_back(TestUi().FrameMessages().size());
    if (message == FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE) {
      Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0);
    }
    return static_cast<std::intptr_t>(wParam) + lParam;
  });

  EXPECT_EQ(Ui().SendToFrame(FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 1, 40), 41);
  EXPECT_EQ(TestUi().FrameMessages(),
            (std::vector<FrameMessage>{{FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 1, 40},
                                       {FrameMsg::WM_APP_REDRAW, 0, 0}}));
  EXPECT_EQ(recordedBeforeHandling, (std::vector<std::size_t>{1, 2}));

  Ui().SetFrameReceiver({});
  EXPECT_EQ(Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 7, 7), 0) << "unregistered";
}

// The frame may replace its receiver (say, on closing) from inside the one that runs; the running
// one stays alive until it returns.
TEST(UiServicesTest, AReceiverMayReplaceItselfWhileItRuns) {
  const auto check = [](UiServices& ui) {
    auto state = std::make_shared<int>(5);
    ui.SetFrameReceiver([&ui, state](FrameMsg, std::uintptr_t, std::intptr_t) {
      ui.SetFrameReceiver([](FrameMsg, std::uintptr_t, std::intptr_t) { return 2; });
      return static_cast<std::intptr_t>(*state);  // the captures of the replaced receiver
    });
    state.reset();
    EXPECT_EQ(ui.SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0), 5);
    EXPECT_EQ(ui.SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0), 2);
  };
  HeadlessUi headless;
  check(headless);
  check(TestUi());
}

TEST(ScriptedUiTest, QueuedAnswersAreTakenInOrderAndEveryCallIsRecorded) {
  ScriptedUi& ui = TestUi();
  ui.ExpectFileDialog("/data/site.sxg");
  ui.ExpectFileDialog(std::nullopt);
  ui.ExpectOpenInViewer(true);
  ui.ExpectSetClipboardText(false);
  ui.ExpectClipboardText("1.0\t2.0");
  ui.ExpectInputBox("層2");
  ui.ExpectInputBox(std::nullopt);
  ui.ExpectBeep();

  const FileDialogRequest soil{"土質設定ファイル (*.sxg)|*.sxg||", "sxg", "/data", ""};
  EXPECT_EQ(Ui().FileDialog(FileDialogKind::Open, soil), std::filesystem::path("/data/site.sxg"));
  EXPECT_EQ(Ui().FileDialog(FileDialogKind::Save, soil), std::nullopt);
  EXPECT_TRUE(Ui().OpenInViewer("/res/manual.pdf"));
  EXPECT_FALSE(Ui().SetClipboardText("座標"));
  EXPECT_EQ(Ui().ClipboardText(), "1.0\t2.0");
  EXPECT_EQ(Ui().InputBox("境界線名", "地層境界の追加", "層1"), "層2");
  EXPECT_EQ(Ui().InputBox("境界線名", "地層境界名の変更", "層2"), std::nullopt);
  Ui().Beep();

  ASSERT_EQ(ui.FileDialogs().size(), 2u);
  EXPECT_EQ(ui.FileDialogs()[0].kind, FileDialogKind::Open);
  EXPECT_EQ(ui.FileDialogs()[1].kind, FileDialogKind::Save);
  EXPECT_EQ(ui.FileDialogs()[1].request, soil);
  EXPECT_EQ(ui.ViewerOpens(), std::vector<std::filesystem::path>{"/res/manual.pdf"});
  EXPECT_EQ(ui.ClipboardWrites(), std::vector<std::string>{"座標"});
  ASSERT_EQ(ui.InputBoxes().size(), 2u);
  EXPECT_EQ(ui.InputBoxes()[0].prompt, "境界線名");
  EXPECT_EQ(ui.InputBoxes()[0].caption, "地層境界の追加");
  EXPECT_EQ(ui.InputBoxes()[0].initial, "層1");
  EXPECT_EQ(ui.BeepCount(), 1);
}

struct StrictCase {
  const char* name;
  std::function<void()> call;  // makes the call and checks it got the headless answer
  const char* failure;         // part of the failure message
};

TEST(ScriptedUiTest, AnUnexpectedCallFailsTheTestAndGetsTheHeadlessAnswer) {
  const StrictCase cases[] = {
      {"file dialog",
       [] {
         EXPECT_EQ(Ui().FileDialog(FileDialogKind::Save, {"Excel|*.xlsx||", "xlsx", "", "a"}),
                   std::nullopt);
       },
       "save file dialog \"Excel|*.xlsx||\""},
      {"viewer", [] { EXPECT_FALSE(Ui().OpenInViewer("/res/manual.pdf")); }, "manual.pdf"},
      {"clipboard write", [] { EXPECT_FALSE(Ui().SetClipboardText("座標")); }, "座標"},
      {"clipboard read", [] { EXPECT_EQ(Ui().ClipboardText(), std::nullopt); }, "clipboard read"},
      {"input box", [] { EXPECT_EQ(Ui().InputBox("名前", "追加", ""), std::nullopt); }, "名前"},
      {"beep", [] { Ui().Beep(); }, "unexpected beep"},
  };
  for (const StrictCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NONFATAL_FAILURE(c.call(), c.failure);
  }
}

TEST(ScriptedUiTest, AnswersNoCallTookFailTheTest) {
  const StrictCase cases[] = {
      {"file dialog", [] { TestUi().ExpectFileDialog("/a.csv"); }, "file dialog never happened"},
      {"viewer", [] { TestUi().ExpectOpenInViewer(true); }, "viewer never happened"},
      {"clipboard write", [] { TestUi().ExpectSetClipboardText(true); }, "clipboard write"},
      {"clipboard read", [] { TestUi().ExpectClipboardText("x"); }, "clipboard read"},
      {"input box", [] { TestUi().ExpectInputBox("x"); }, "input box never happened"},
      {"beep", [] { TestUi().ExpectBeep(); }, "beep never happened"},
  };
  for (const StrictCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.call();
    EXPECT_NONFATAL_FAILURE(TestUi().VerifyAllAnswered(), c.failure);
  }
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
