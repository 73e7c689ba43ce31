// The program through its real main window, offscreen: start-up, the frame command messages and
// their refreshes, the commands that are unavailable in this build, the modeless dialog rules,
// closing with the save question, a document's way to disk and back, and printing.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDockWidget>
#include <QDropEvent>
#include <QEvent>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs/CaseCopyDlg.h"
#include "app/dialogs/CaseInfoDlg.h"
#include "app/document/DocumentFiles.h"
#include "app/frame/AboutDlg.h"
#include "app/frame/BrixoApp.h"
#include "app/frame/MainFrame.h"
#include "app/frame/SectionPrint.h"
#include "app/panes/PaneCase.h"
#include "app/panes/PaneFlow.h"
#include "app/panes/PaneInfo.h"
#include "app/view/BrixoView.h"
#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/case/ManageCore.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"
#include "stage/controls/ExpButton.h"
#include "stage/dialogs/CmdCmnSoilDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "tests/support/qt/QtTestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAskUnnamed = "データの内容が更新されています。保存しますか？";

fs::path TestFolder() { return fs::path(std::getenv("BRIXO_HOME")); }

bool SameCases(const CManageCore& a, const CManageCore& b) {
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) {
    if (!a.GetCaseArray().GetCase(i)->IsSame(b.GetCaseArray().GetCase(i))) return false;
  }
  return true;
}

// The points as the terrain file carries them: three decimals.
void ExpectSamePoints(const CDPoly& read, const CDPoly& written, const std::string& what) {
  ASSERT_EQ(read.GetSize(), written.GetSize()) << what;
  for (int i = 0; i < read.GetSize(); ++i) {
    EXPECT_NEAR(read.GetAt(i)->x, written.GetAt(i)->x, 0.0005) << what << " " << i;
    EXPECT_NEAR(read.GetAt(i)->y, written.GetAt(i)->y, 0.0005) << what << " " << i;
  }
}

// The section a terrain file holds of the case: the divided one while the case is divided by
// strata.
void ExpectSameSection(CCase& imported, CCase& exported) {
  const bool divided = exported.IsStratumBlockMode() != 0;
  const CSpGround& ground = divided ? exported.GetGroundDiv() : exported.GetGround();
  const CDPolyArray& strata = divided ? exported.GetStratumDiv() : exported.GetStratum();
  EXPECT_EQ(imported.GetPrmJobsite().names, exported.GetPrmJobsite().names);
  ExpectSamePoints(imported.GetGround(), ground, "ground");
  ASSERT_EQ(imported.GetStratum().GetSize(), strata.GetSize());
  for (int i = 0; i < strata.GetSize(); ++i) {
    EXPECT_EQ(imported.GetStratum().GetAt(i)->GetName(), strata.GetAt(i)->GetName()) << i;
    ExpectSamePoints(*imported.GetStratum().GetAt(i), *strata.GetAt(i), "stratum line");
  }
  ASSERT_NE(imported.GetGround().GetPolyArray(), nullptr);
  ASSERT_NE(ground.GetPolyArray(), nullptr);
  EXPECT_EQ(imported.GetGround().GetPolyArray()->GetSize(), ground.GetPolyArray()->GetSize());
  ExpectSamePoints(imported.GetWater(), exported.GetWater(), "water");
}

}  // namespace

TEST(MainFrame, StartsWithAnUnnamedDocumentOnCaseOneAndStepOne) {
  TestProgram p;
  CMainFrame& frame = p.Frame();
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(p.Title(), "無題 - " + GetAppFullTitle());
  EXPECT_EQ(p.Core().GetCaseArray().GetActiveCaseID(), 0);
  EXPECT_EQ(frame.CurrentStep(), 0);
  EXPECT_EQ(CCoreConfig::GetStageNo(), 0);
  EXPECT_FALSE(p.Core().IsModify());
  EXPECT_EQ(frame.centralWidget(), &frame.View());
  EXPECT_EQ(frame.FlowPane().GetStage(), 0);
  EXPECT_EQ(frame.CasePane().GetSelected(), 0);
  EXPECT_TRUE(frame.CasePane().CaseButton(0).m_bCheck);

  struct Dock {
    QDockWidget* dock;
    const char* caption;
    Qt::DockWidgetArea area;
  };
  for (const Dock& d : {Dock{&frame.FlowDock(), "フロー", Qt::LeftDockWidgetArea},
                        Dock{&frame.CaseDock(), "ケース", Qt::RightDockWidgetArea},
                        Dock{&frame.InfoDock(), "情報", Qt::TopDockWidgetArea}}) {
    EXPECT_EQ(d.dock->windowTitle().toStdString(), d.caption);
    EXPECT_EQ(frame.dockWidgetArea(d.dock), d.area) << d.caption;
    EXPECT_EQ(d.dock->features(), QDockWidget::NoDockWidgetFeatures) << d.caption;
  }
  EXPECT_EQ(frame.StandardBar().windowTitle().toStdString(), "標準");
  EXPECT_EQ(frame.ViewBar().windowTitle().toStdString(), "表示");
  SaveShot(frame, "MainFrame");
}

TEST(MainFrame, OpensTheDocumentNamedOnTheCommandLineAfterTheWindow) {
  const fs::path path = TestFolder() / "named.qxmd";
  {
    CManageCore source;
    source.InitCore(1);
    FillSampleDocument(source);
    CDocumentFiles files(source);
    ASSERT_TRUE(files.StoreDocument(path));
  }
  TestProgram p({QString::fromStdString(path.string())});
  EXPECT_EQ(p.Title(), "named.qxmd - " + GetAppFullTitle());
  EXPECT_EQ(p.Frame().Documents().GetPathName(), path);
  EXPECT_EQ(p.Core().GetCaseArray().GetActiveCaseID(), 4);
  EXPECT_TRUE(p.Core().GetCaseArray().GetCase(4)->GetInUse() != 0);
  EXPECT_EQ(p.Frame().CasePane().GetSelected(), 4);
  const std::string caseName = p.Core().GetActiveCase()->GetPrmJobsite().names[1];
  EXPECT_TRUE(
      Ctl<QLabel>(p.Frame().InfoPane(), 1032)->text().endsWith(QString::fromStdString(caseName)));
  QCoreApplication::sendPostedEvents();  // the panes' layouts take the new texts
  SaveShot(p.Frame(), "MainFrame-sample");
}

TEST(MainFrame, ADamagedDocumentOnTheCommandLineLeavesAnEmptyUnnamedDocument) {
  const fs::path path = TestFolder() / "cut.qxmd";
  WriteFileBytes(path, std::string("\xFF\xFE\xFF\x18", 4));
  TestUi().ExpectMessageBox(MsgResult::Ok, "File Load Failed.\nファイルが途中で終わっています。");
  TestProgram p({QString::fromStdString(path.string())});
  EXPECT_EQ(p.Title(), "無題 - " + GetAppFullTitle());
  EXPECT_TRUE(p.Frame().Documents().GetPathName().empty());
}

// Every step command whose dialog this build lacks: its message answers 0, changes nothing and
// sends nothing; the messages numbered but unused answer 0 alike.
TEST(MainFrame, CommandsWithoutTheirDialogAnswerZeroAndChangeNothing) {
  TestProgram p;
  FillSampleDocument(p.Core());
  p.Core().ResetModify();
  const std::vector<std::uint8_t> before = [&] {
    Archive ar;
    p.Core().StoreCore(ar, 10);
    return ar.Bytes();
  }();
  const unsigned base = kFrameMsgBase;
  for (const unsigned number :
       {base + 1001, base + 1002, base + 1003, base + 1004, base + 1024, base + 1040}) {
    const auto message = static_cast<FrameMsg>(number);
    std::intptr_t answer = -1;
    EXPECT_EQ(SentBy([&] { answer = p.Send(message); }),
              (std::vector<FrameMessage>{{message, 0, 0}}))
        << std::hex << number;
    EXPECT_EQ(answer, 0) << std::hex << number;
  }
  // WM_APP_PRINT_WORD with kind 4 (and every other kind while Word output is missing).
  EXPECT_EQ(p.Send(FrameMsg::WM_APP_PRINT_WORD, 4), 0);
  Archive after;
  p.Core().StoreCore(after, 10);
  EXPECT_EQ(after.Bytes(), before);
  EXPECT_FALSE(p.Core().IsModify());
  EXPECT_TRUE(p.Frame().StandardBar().isEnabled());

  for (const int id : {CMainFrame::kImportCad}) {
    EXPECT_FALSE(p.Command(id)->isEnabled()) << id;
  }
  for (const int id :
       {CMainFrame::kFileNew, CMainFrame::kFileOpen, CMainFrame::kFileSave, CMainFrame::kFileSaveAs,
        CMainFrame::kFilePrint, CMainFrame::kFilePrintPreview, CMainFrame::kAppAbout}) {
    EXPECT_TRUE(p.Command(id)->isEnabled()) << id;
  }
}

TEST(MainFrame, StrataRecognitionNumbersTheStrataAndNamesTheirSoils) {
  TestProgram p;
  CCase& active = *p.Core().GetActiveCase();
  FillSampleCase(active, 0);
  active.SetModify(false);
  // The sample case is divided and calculated: the recognition asks before it drops both.
  TestUi().ExpectMessageBox(
      MsgResult::Yes,
      "地層認識の更新により、ブロック分割とすべての計算結果をクリアします。\nよろしいですか？");
  TestUi().ExpectMessageBox(MsgResult::Ok);
  std::intptr_t answer = -1;
  const std::vector<FrameMessage> sent =
      SentBy([&] { answer = p.Send(FrameMsg::WM_CMD_COMMON_POLYGON); });

  EXPECT_EQ(answer, 0);
  const CDPolyArray* strata = active.GetGround().GetPolyArray();
  ASSERT_NE(strata, nullptr);
  ASSERT_GT(strata->GetSize(), 0);
  for (int i = 0; i < strata->GetSize(); ++i) {
    const auto* stratum = dynamic_cast<const CSpStratumBlock*>(strata->GetAt(i));
    ASSERT_NE(stratum, nullptr);
    EXPECT_EQ(stratum->GetIndex(), i + 1);
    EXPECT_FALSE(stratum->GetPropPtr()->GetName().empty());
  }
  EXPECT_TRUE(active.IsModified());
  const MessageBoxCall& box = TestUi().MessageBoxes().back();
  EXPECT_EQ(box.caption, "RUrevavirazo");
  EXPECT_EQ(box.icon, MsgIcon::Information);
  EXPECT_EQ(box.text.find(std::to_string(strata->GetSize()) + "個の地層を認識しました。"), 0U)
      << box.text;
  const std::vector<FrameMessage> redraw{{FrameMsg::WM_CMD_COMMON_POLYGON, 0, 0},
                                         {FrameMsg::WM_APP_REDRAW, 0, 0}};
  EXPECT_EQ(sent, redraw);
}

TEST(MainFrame, ASelectedCaseTakesOverTheDisplayOptions) {
  TestProgram p;
  CCaseArray& cases = p.Core().GetCaseArray();
  p.Send(FrameMsg::WM_APP_SHOW_QUAKE, 1);
  p.Send(FrameMsg::WM_APP_SHOW_BLOCKS_ONLY, 1);
  cases.GetCase(0)->GetDrawSet().waterAll = 1;

  p.Send(FrameMsg::WM_APP_CASE_SELECT, 3);

  EXPECT_EQ(cases.GetActiveCaseID(), 3);
  EXPECT_EQ(p.Frame().CasePane().GetSelected(), 3);
  const CDrawSet& shown = cases.GetCase(3)->GetDrawSet();
  EXPECT_EQ(shown.loadCase, 1);
  EXPECT_EQ(shown.blocksOnly, 1);
  EXPECT_EQ(shown.waterAll, 1);
  // An index outside the list selects nothing.
  p.Send(FrameMsg::WM_APP_CASE_SELECT, 10);
  EXPECT_EQ(cases.GetActiveCaseID(), 3);
}

TEST(MainFrame, ClearingACaseInUseEmptiesItAndMarksTheDocumentModified) {
  struct Row {
    bool inUse;
    bool modified;
  };
  for (const Row row : {Row{true, true}, Row{false, false}}) {
    TestProgram p;
    CCase& active = *p.Core().GetActiveCase();
    FillSampleCase(active, 0);
    active.SetInUse(row.inUse ? 1 : 0);
    p.Core().ResetModify();
    p.Send(FrameMsg::WM_APP_CASE_CLEAR);
    CCase empty;
    EXPECT_TRUE(active.IsSame(&empty)) << row.inUse;
    EXPECT_EQ(p.Core().IsModify(), row.modified) << row.inUse;
  }
}

// Modeless step dialogs: a plain dialog stands in for them here; the step dialogs' issues run
// their own through the flow pane.
TEST(MainFrame, AModelessDialogKeepsTheCaseAndTakesTheViewsClicks) {
  TestProgram p;
  CManageStage& stage = p.Stage();
  std::vector<std::pair<double, double>> taken;
  QPointer<QDialog> dialog = new QDialog(&p.Frame());
  stage.Attach(ModelessDialog::Shape, dialog,
               [&taken](double x, double y) { taken.emplace_back(x, y); });
  p.Frame().EnableWorkPanes(false);
  p.Frame().UpdateCommands();

  EXPECT_TRUE(stage.IsDlgMode());
  EXPECT_TRUE(stage.RaiseIfOpen(ModelessDialog::Shape));  // a second show makes no second dialog
  EXPECT_EQ(p.Frame().findChildren<QDialog*>().size(), 1);
  for (const int id : {CMainFrame::kFileNew, CMainFrame::kFileOpen, CMainFrame::kFilePrint,
                       CMainFrame::kFilePrintPreview}) {
    EXPECT_FALSE(p.Command(id)->isEnabled()) << id;
  }
  EXPECT_TRUE(p.Frame().View().isEnabled());
  EXPECT_FALSE(p.Frame().StandardBar().isEnabled());
  EXPECT_FALSE(p.Frame().FlowDock().widget()->isEnabled());
  EXPECT_FALSE(p.Frame().CaseDock().widget()->isEnabled());
  EXPECT_TRUE(p.Frame().ViewBar().isEnabled());

  p.Send(FrameMsg::WM_APP_CASE_SELECT, 2);
  EXPECT_EQ(p.Core().GetCaseArray().GetActiveCaseID(), 0);

  stage.OnLButtonDown(1.5, -2.25);
  stage.OnLButtonDown(-9e32, 3.0);
  EXPECT_EQ(taken, (std::vector<std::pair<double, double>>{{1.5, -2.25}}));

  // The dialog announces its closing from its own handler; the close member deletes it later.
  const std::vector<FrameMessage> sent =
      SentBy([&] { EXPECT_EQ(p.Send(FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 0), 0); });
  EXPECT_FALSE(stage.Exists(ModelessDialog::Shape));
  EXPECT_NE(dialog, nullptr);
  FlushDeletes();
  EXPECT_EQ(dialog, nullptr);
  EXPECT_TRUE(p.Frame().StandardBar().isEnabled());
  EXPECT_TRUE(p.Frame().FlowDock().widget()->isEnabled());
  EXPECT_TRUE(p.Command(CMainFrame::kFileNew)->isEnabled());
  // The stage manager's close redraws; a close after Cancel brings no redraw of the frame's own.
  const std::vector<FrameMessage> closing{{FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 0, 0},
                                          {FrameMsg::WM_APP_REDRAW, 0, 0}};
  EXPECT_EQ(sent, closing);
}

TEST(MainFrame, OnlyVisibleDialogsTakeClicksAndTheBlockDialogIsNoDialogMode) {
  TestProgram p;
  CManageStage& stage = p.Stage();
  std::vector<int> order;
  auto* block = new QDialog(&p.Frame());
  stage.Attach(ModelessDialog::Block, block, [&order](double, double) { order.push_back(0); });
  EXPECT_FALSE(stage.IsDlgMode());
  auto* arc = new QDialog(&p.Frame());
  stage.Attach(ModelessDialog::Arc, arc, [&order](double, double) { order.push_back(2); });
  auto* shape = new QDialog(&p.Frame());
  stage.Attach(ModelessDialog::Shape, shape, [&order](double, double) { order.push_back(1); });
  arc->hide();
  stage.OnLButtonDown(0.0, 0.0);
  EXPECT_EQ(order, (std::vector<int>{1, 0}));  // shape first, the hidden arc dialog not at all

  // In step 1 with strata, the double click asks for the soil dialog only without dialog mode.
  CCase& active = *p.Core().GetActiveCase();
  FillSampleCase(active, 0);
  ASSERT_NE(active.GetGround().GetPolyArray(), nullptr);
  const std::vector<FrameMessage> soil{{FrameMsg::WM_CMD_COMMON_SOIL, 0, 0}};
  EXPECT_TRUE(SentBy([&] { stage.OnLButtonDblClk(); }).empty());
  for (const ModelessDialog which :
       {ModelessDialog::Shape, ModelessDialog::Arc, ModelessDialog::Block}) {
    stage.Close(which, 0);
  }
  ExpectModal<CCmdCmnSoilDlg>([](CCmdCmnSoilDlg& d) { d.reject(); });
  EXPECT_EQ(SentBy([&] { stage.OnLButtonDblClk(); }), soil);
  p.Frame().FlowPane().SelectStage(1);
  EXPECT_EQ(CCoreConfig::GetStageNo(), 1);
  EXPECT_TRUE(SentBy([&] { stage.OnLButtonDblClk(); }).empty());
  FlushDeletes();
}

TEST(MainFrame, ClosingCancelsTheOpenDialogThenAsksToSave) {
  TestProgram p;
  auto* dialog = new QDialog(&p.Frame());
  p.Stage().Attach(ModelessDialog::Pattern, dialog, {});
  p.Core().SetModify(true);
  TestUi().ExpectMessageBox(MsgResult::Cancel, kAskUnnamed);
  EXPECT_FALSE(p.Frame().close());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(p.Frame().isVisible());
}

// A save that does not happen stops the close, so nothing unsaved is lost.
TEST(MainFrame, ClosingGoesOnOnlyWhenNothingUnsavedIsLost) {
  struct Row {
    MsgResult answer;
    bool saveAsChosen;
    bool closes;
  };
  for (const Row row : {Row{MsgResult::Cancel, false, false}, Row{MsgResult::Yes, false, false},
                        Row{MsgResult::Yes, true, true}, Row{MsgResult::No, false, true}}) {
    TestProgram p;
    p.Core().SetModify(true);
    TestUi().ExpectMessageBox(row.answer, kAskUnnamed);
    if (row.answer == MsgResult::Yes) {
      TestUi().ExpectFileDialog(row.saveAsChosen ? std::optional(TestFolder() / "kept.qxmd")
                                                 : std::nullopt);
    }
    EXPECT_EQ(p.Frame().close(), row.closes);
    EXPECT_EQ(p.Frame().isVisible(), !row.closes);
  }
}

TEST(MainFrame, ADocumentGoesToDiskAndComesBackEqual) {
  TestProgram p;
  p.Frame().Documents().OnFileNew();
  FillSampleDocument(p.Core());
  p.Core().GetActiveCase()->SetModify(true);
  const fs::path path = TestFolder() / "round.qxmd";
  TestUi().ExpectFileDialog(path);
  p.Command(CMainFrame::kFileSaveAs)->trigger();
  EXPECT_EQ(p.Title(), "round.qxmd - " + GetAppFullTitle());

  const std::string bytes = ReadFileBytes(path);
  const std::vector<std::uint8_t> envelope =
      RecordBytes().Text(u"ZELKO_SOFTWARE_BRIXO_DOC").Int(10).Text(u"Version 1.03").Get();
  ASSERT_GE(bytes.size(), envelope.size());
  EXPECT_EQ(bytes.substr(0, envelope.size()), std::string(envelope.begin(), envelope.end()));

  CManageCore saved;
  saved.InitCore(1);
  FillSampleDocument(saved);

  p.Command(CMainFrame::kFileNew)->trigger();
  EXPECT_EQ(p.Title(), "無題 - " + GetAppFullTitle());
  EXPECT_FALSE(SameCases(p.Core(), saved));
  TestUi().ExpectFileDialog(path);
  p.Command(CMainFrame::kFileOpen)->trigger();
  EXPECT_TRUE(SameCases(p.Core(), saved));
  EXPECT_EQ(p.Title(), "round.qxmd - " + GetAppFullTitle());
  EXPECT_EQ(p.Frame().CurrentStep(), 0);

  // Ctrl+S saves under the name the document has.
  fs::remove(path);
  p.Frame().show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&p.Frame()));
  QTest::keyClick(&p.Frame(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST(MainFrame, APreviewShowsTheSectionOnOnePage) {
  TestProgram p;
  FillSampleDocument(p.Core());
  ExpectModal<QPrintPreviewDialog>([](QPrintPreviewDialog& d) {
    auto* preview = d.findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_EQ(preview->orientation(), QPageLayout::Landscape);
    SaveShot(d, "PrintPreview");
    d.reject();
  });
  p.Command(CMainFrame::kFilePrintPreview)->trigger();
}

TEST(MainFrame, PrintAsksForThePrinterAndACancelPrintsNothing) {
  TestProgram p;
  ExpectModal<QPrintDialog>([](QPrintDialog& d) {
    EXPECT_EQ(d.printer()->pageLayout().orientation(), QPageLayout::Landscape);
    d.reject();
  });
  p.Command(CMainFrame::kFilePrint)->trigger();
  EXPECT_EQ(p.Command(CMainFrame::kFilePrint)->shortcut(), QKeySequence(QKeySequence::Print));
}

TEST(MainFrame, PrintingToAPdfFileGivesOnePage) {
  TestProgram p;
  FillSampleDocument(p.Core());
  p.Core().GetPrnInfo().SetShowPage(1);
  const QString pdf = QString::fromStdString((TestFolder() / "section.pdf").string());
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  const CViewInfo before = p.Core().GetActiveCase()->GetViewInfo();
  ASSERT_TRUE(p.Frame().PrintOn(printer));

  QProcess info;
  info.start(QStringLiteral(BRIXO_PDFINFO), {pdf});
  ASSERT_TRUE(info.waitForFinished());
  const QString text = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << text.toStdString();
  EXPECT_TRUE(
      text.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12][.0-9]* x 595"))))
      << text.toStdString();
  // The screen's mapping comes back after the print.
  const CViewInfo& after = p.Core().GetActiveCase()->GetViewInfo();
  EXPECT_TRUE(after.IsDraw());
  EXPECT_EQ(after.width, before.width);
  EXPECT_EQ(after.centreX, before.centreX);
  EXPECT_EQ(after.dc, nullptr);
}

TEST(MainFrame, TheAboutBoxShowsTheVersionRightAfterTheWord) {
  TestProgram p;
  EXPECT_EQ(AboutVersionText().toStdString(), " Version1.03");
  ExpectModal<CAboutDlg>([](CAboutDlg& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "バージョン情報");
    TestUi().ExpectOpenInViewer(false);
    Ctl<QPushButton>(d, CAboutDlg::kIdReadme)->click();
    ASSERT_EQ(TestUi().ViewerOpens().size(), 1U);
    EXPECT_EQ(TestUi().ViewerOpens()[0].filename(), "Readme.txt");
    Ctl<QPushButton>(d, 1)->click();
  });
  p.Command(CMainFrame::kAppAbout)->trigger();
}

TEST(MainFrame, NewShowsCaseOneOnStepOneAgain) {
  TestProgram p;
  FillSampleDocument(p.Core());
  p.Core().ResetModify();
  p.Frame().FlowPane().SelectStage(2);
  p.Send(FrameMsg::WM_APP_CASE_SELECT, 4);
  ASSERT_EQ(p.Frame().CasePane().GetSelected(), 4);

  p.Command(CMainFrame::kFileNew)->trigger();

  EXPECT_EQ(p.Core().GetCaseArray().GetActiveCaseID(), 0);
  EXPECT_EQ(p.Frame().CasePane().GetSelected(), 0);
  EXPECT_EQ(p.Frame().CasePane().GetQuakeChoice(), 0);
  EXPECT_EQ(p.Frame().FlowPane().GetStage(), 0);
  EXPECT_EQ(CCoreConfig::GetStageNo(), 0);
  EXPECT_EQ(p.Title(), "無題 - " + GetAppFullTitle());
}

TEST(MainFrame, TheCaseDialogsRunThroughTheFrame) {
  TestProgram p;
  FillSampleDocument(p.Core());
  ExpectModal<CCaseCopyDlg>([](CCaseCopyDlg& d) { Ctl<QPushButton>(d, 2)->click(); });
  const std::vector<FrameMessage> copyCancelled =
      SentBy([&] { p.Send(FrameMsg::WM_APP_CASE_COPY); });
  EXPECT_EQ(copyCancelled, (std::vector<FrameMessage>{{FrameMsg::WM_APP_CASE_COPY, 0, 0}}));

  ExpectModal<CCaseInfoDlg>([](CCaseInfoDlg& d) { Ctl<QPushButton>(d, 1)->click(); });
  const std::vector<FrameMessage> info = SentBy([&] { p.Send(FrameMsg::WM_APP_CASE_INFO); });
  ASSERT_GE(info.size(), 2U);
  EXPECT_EQ(info[1].message, FrameMsg::WM_APP_CASE_SELECT);
  EXPECT_EQ(static_cast<int>(info[1].wParam), p.Core().GetCaseArray().GetActiveCaseID());
}

TEST(MainFrame, TheInformationPaneShowsTheCursorsWorldPoint) {
  TestProgram p;
  EXPECT_TRUE(p.Frame().InfoPane().CoordText().isEmpty());
  QWidget& view = p.Frame().View();
  // The event goes to the view itself: QTest::mouseMove delivers nothing when the cursor already
  // stands at the point, as it does after an earlier test moved it there.
  const QPoint centre(view.width() / 2, view.height() / 2);
  QMouseEvent move(QEvent::MouseMove, centre, view.mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  EXPECT_TRUE(p.Frame().InfoPane().CoordText().startsWith(QStringLiteral("(X , Y) = (")))
      << p.Frame().InfoPane().CoordText().toStdString();
}

// A drop replaces the document, so it is refused while a modeless dialog holds the active case.
TEST(MainFrame, ADropOpensTheFileUnlessADialogHoldsTheCase) {
  const fs::path path = TestFolder() / "dropped.qxmd";
  {
    CManageCore source;
    source.InitCore(1);
    FillSampleDocument(source);
    CDocumentFiles files(source);
    ASSERT_TRUE(files.StoreDocument(path));
  }
  for (const bool dialogOpen : {true, false}) {
    TestProgram p;
    if (dialogOpen) p.Stage().Attach(ModelessDialog::Shape, new QDialog(&p.Frame()), {});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p.Frame(), &enter);
    EXPECT_EQ(enter.isAccepted(), !dialogOpen) << dialogOpen;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p.Frame(), &drop);
    EXPECT_EQ(p.Frame().Documents().GetPathName().empty(), dialogOpen) << dialogOpen;
    EXPECT_EQ(p.Core().GetCaseArray().GetActiveCaseID(), dialogOpen ? 0 : 4) << dialogOpen;
  }
}

// File menu, common terrain data: the sample case goes out to a file and comes back into the
// empty case of a new document, which is then in use and modified, drawn and named in the panes.
TEST(MainFrame, TheTerrainDataGoesOutAndComesBackIntoAnEmptyCase) {
  CCase source;
  FillSampleCase(source, 0);
  source.GetPrmStab().quakeOn = 0;  // unlike a new case, which offers the seismic case
  TestProgram p;
  FillSampleCase(*p.Core().GetActiveCase(), 0);
  p.Core().GetActiveCase()->GetPrmStab().quakeOn = 0;
  p.Core().ResetModify();
  const fs::path path = TestFolder() / "terrain.xml";
  TestUi().ExpectFileDialog(path);
  EXPECT_TRUE(SentBy([&] { p.Command(CMainFrame::kExportXml)->trigger(); }).empty());
  ASSERT_EQ(TestUi().FileDialogs().size(), 1U);
  EXPECT_EQ(TestUi().FileDialogs()[0].kind, FileDialogKind::Save);
  ASSERT_TRUE(fs::is_regular_file(path));
  EXPECT_FALSE(p.Core().IsModify());

  p.Command(CMainFrame::kFileNew)->trigger();
  p.Frame().FlowPane().SelectStage(1);  // step 2 offers the load cases of the conditions
  CCase& active = *p.Core().GetActiveCase();
  ASSERT_EQ(active.GetInUse(), 0);
  const QRadioButton* quake = Ctl<QRadioButton>(p.Frame().CasePane(), 1055);
  ASSERT_TRUE(quake->isEnabled());
  const QImage empty = p.Frame().View().grab().toImage();

  TestUi().ExpectFileDialog(path);  // an empty case is not asked about
  const std::vector<FrameMessage> sent =
      SentBy([&] { p.Command(CMainFrame::kImportXml)->trigger(); });

  // The case redraws; the case pane, offered the normal case alone, shows it.
  EXPECT_EQ(sent, (std::vector<FrameMessage>{{FrameMsg::WM_APP_REDRAW, 0, 0},
                                             {FrameMsg::WM_APP_SHOW_QUAKE, 0, 0}}));
  EXPECT_EQ(TestUi().FileDialogs().back().kind, FileDialogKind::Open);
  ExpectSameSection(active, source);
  EXPECT_EQ(active.GetInUse(), 1);
  EXPECT_TRUE(p.Core().IsModify());
  EXPECT_NE(p.Frame().View().grab().toImage(), empty);
  const QString caseName = QString::fromStdString(source.GetPrmJobsite().names[1]);
  EXPECT_EQ(p.Frame().CasePane().CaseButton(0).text(), QStringLiteral("1: ") + caseName);
  EXPECT_TRUE(p.Frame().CasePane().CaseButton(0).m_bLamp);
  EXPECT_TRUE(Ctl<QLabel>(p.Frame().InfoPane(), 1032)->text().endsWith(caseName));
  EXPECT_FALSE(quake->isEnabled());
  // The imported case is not saved yet: the title marks the document modified.
  EXPECT_EQ(p.Title(), "無題* - " + GetAppFullTitle());
  QCoreApplication::sendPostedEvents();  // the panes' layouts take the new texts
  SaveShot(p.Frame(), "MainFrame-terrain-import");
}

// An import that does not happen leaves the case as it was, results included, and unmodified.
TEST(MainFrame, AnImportThatDoesNotHappenChangesNothing) {
  const fs::path other = TestFolder() / "other.xml";
  WriteFileBytes(other,
                 "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<OTHER>\r\n</OTHER>\r\n");
  struct Row {
    const char* what;
    bool inUse;
    std::optional<MsgResult> question;   // asked only about a case in use
    std::optional<fs::path> file;        // nothing: the file dialog cancelled
    std::optional<std::string> refusal;  // the message of a refused file, when it is checked
  };
  // Its ground has a vertex at x = 200000: taken, it would make the document unopenable.
  const fs::path far = fs::path(BRIXO_TEST_DATA) / "terrain-far-vertex.xml";
  const Row rows[] = {
      {"a case not in use, the file dialog cancelled", false, std::nullopt, std::nullopt, {}},
      {"a case in use, the question cancelled", true, MsgResult::Cancel, std::nullopt, {}},
      {"a case in use, a file that is no terrain data", true, MsgResult::Ok, other, {}},
      {"a case in use, a vertex beyond the coordinate limit", true, MsgResult::Ok, far,
       "ファイルの読み込みに失敗しました。\n\n頂点 1 の座標が ±100000 の範囲を超えています。"},
      // Drawing a grid with a pitch and no area never ended.
      {"a case in use, a grid pitch without an area",
       true,
       MsgResult::Ok,
       fs::path(BRIXO_TEST_DATA) / "grid-unset-area.xml",
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TestProgram p;
    CCase& active = *p.Core().GetActiveCase();
    FillSampleCase(active, 0);
    active.SetInUse(row.inUse ? 1 : 0);
    p.Core().ResetModify();
    p.Frame().UpdateCasePane();
    CCase before;
    before.Copy(&active);
    if (row.question) TestUi().ExpectMessageBox(*row.question);
    if (!row.question || *row.question == MsgResult::Ok) TestUi().ExpectFileDialog(row.file);
    if (row.file) TestUi().ExpectMessageBox(MsgResult::Ok, row.refusal);  // the file is refused

    EXPECT_TRUE(SentBy([&] { p.Command(CMainFrame::kImportXml)->trigger(); }).empty());

    TestUi().VerifyAllAnswered();
    EXPECT_TRUE(active.IsSame(&before));
    EXPECT_EQ(active.GetInUse(), row.inUse ? 1 : 0);
    EXPECT_NE(active.GetResStab2().GetSelectRepPt(0), nullptr);
    EXPECT_FALSE(p.Core().IsModify());
    EXPECT_EQ(p.Frame().CasePane().CaseButton(0).m_bLamp, row.inUse);
  }
}

// A modeless dialog holds pointers into the active case: no import may replace it meanwhile,
// even before the commands were refreshed. The export only reads the case and stays.
TEST(MainFrame, TheImportsWaitWhileAModelessDialogHoldsTheCase) {
  TestProgram p;
  CCase& active = *p.Core().GetActiveCase();
  FillSampleCase(active, 0);
  p.Core().ResetModify();
  CCase before;
  before.Copy(&active);
  QPointer<QDialog> dialog = new QDialog(&p.Frame());
  p.Stage().Attach(ModelessDialog::Shape, dialog, {});

  p.Command(CMainFrame::kImportXml)->trigger();  // the strict Ui fails on any question or dialog
  EXPECT_TRUE(active.IsSame(&before));
  EXPECT_FALSE(p.Core().IsModify());
  EXPECT_FALSE(p.Command(CMainFrame::kImportXml)->isEnabled());
  EXPECT_TRUE(p.Command(CMainFrame::kExportXml)->isEnabled());

  const fs::path path = TestFolder() / "while-open.xml";
  TestUi().ExpectFileDialog(path);
  p.Command(CMainFrame::kExportXml)->trigger();
  EXPECT_TRUE(fs::is_regular_file(path));

  p.Send(FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE, 0);
  EXPECT_TRUE(p.Command(CMainFrame::kImportXml)->isEnabled());
  FlushDeletes();
  EXPECT_EQ(dialog, nullptr);
}
