// How often the section view is redrawn once a stage command's dialog ends: through the real
// frame, with OK (id 1) and キャンセル (id 2) pressed on the sample document. A redraw is a
// WM_APP_REDRAW that reaches the frame (recorded by the scripted Ui) and a repaint of the view;
// one dialog end never brings two.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/frame/MainFrame.h"
#include "app/view/BrixoView.h"
#include "stage/controls/StageDialog.h"
#include "stage/dialogs/CmdCmnJobsiteDlg.h"
#include "stage/dialogs/CmdCmnShapeDlg.h"
#include "stage/dialogs/CmdCmnSoilDlg.h"
#include "stage/dialogs/CmdDrainArrangeDlg.h"
#include "stage/dialogs/CmdShearFitDlg.h"
#include "stage/dialogs/CmdShearFocusDlg.h"
#include "stage/dialogs/CmdShearReslutDlg.h"
#include "stage/dialogs/CmdSlidElementDlg.h"
#include "stage/dialogs/CmdSlideInputDlg.h"
#include "stage/dialogs/CmdSlideResultDlg.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "stage/dialogs/CmdStabMultiFsGyakuDlg.h"
#include "stage/dialogs/CmdStabPatternDlg.h"
#include "stage/dialogs/RefCmnGeologyListDlg.h"
#include "stage/dialogs/RefCondDlg.h"
#include "stage/dialogs/RefReinfStdBarDlg.h"
#include "stage/dialogs/RefUnitFilterDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

// Counts the paint events of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return QObject::eventFilter(watched, event);
  }
};

// Ends a dialog by pressing the button with the id; marks where "after the end" starts.
using EndDialog = std::function<void(StageDialog&)>;

template <class Dialog>
void ExpectModalEnd(const EndDialog& end) {
  ExpectModal<Dialog>([end](Dialog& d) {
    ASSERT_TRUE(ShowActive(d));
    end(d);
  });
}

// The modeless dialog a show command opened, ended.
template <class Dialog>
void EndModeless(TestProgram& p, const EndDialog& end) {
  auto* const dialog = p.Frame().findChild<Dialog*>();
  ASSERT_NE(dialog, nullptr);
  end(*dialog);
  FlushDeletes();
}

struct RedrawCase {
  const char* command;
  // Starts the command and ends its dialog with end.
  std::function<void(TestProgram&, const EndDialog&)> run;
  int afterOk;
  int afterCancel;
};

std::function<void(TestProgram&, const EndDialog&)> Modal(FrameMsg message,
                                                          void (*expect)(const EndDialog&)) {
  return [message, expect](TestProgram& p, const EndDialog& end) {
    expect(end);
    p.Send(message);
  };
}

std::function<void(TestProgram&, const EndDialog&)> Menu(int id, void (*expect)(const EndDialog&)) {
  return [id, expect](TestProgram& p, const EndDialog& end) {
    expect(end);
    p.Command(id)->trigger();
  };
}

std::function<void(TestProgram&, const EndDialog&)> Modeless(FrameMsg show,
                                                             void (*end)(TestProgram&,
                                                                         const EndDialog&)) {
  return [show, end](TestProgram& p, const EndDialog& ending) {
    p.Send(show);
    end(p, ending);
  };
}

// What each command's dialog end brings: "redraw on OK" one after OK and none after キャンセル;
// a modeless dialog's close member redraws after either; the settings tables and unchanged
// rounding rules none. The standard values redraw after OK, as they may clear results; the two
// result tables store their edits on キャンセル too and drop the pick the view shows, so one
// redraw follows either end.
const RedrawCase kCases[] = {
    {"CmdCommonJobsite", Modal(FrameMsg::WM_CMD_COMMON_JOBSITE, &ExpectModalEnd<CCmdCmnJobsiteDlg>),
     1, 0},
    {"CmdCommonSoil", Modal(FrameMsg::WM_CMD_COMMON_SOIL, &ExpectModalEnd<CCmdCmnSoilDlg>), 1, 0},
    {"CmdStabStabilityGyaku",
     Modal(FrameMsg::WM_CMD_STAB_GYAKU, &ExpectModalEnd<CCmdStabMultiFsGyakuDlg>), 1, 1},
    {"CmdStabStability",
     Modal(FrameMsg::WM_CMD_STAB_STABILITY, &ExpectModalEnd<CCmdStabMultiFsDlg>), 1, 1},
    {"CmdSlideElement", Modal(FrameMsg::WM_CMD_SLIDE_ELEMENT, &ExpectModalEnd<CCmdSlidElementDlg>),
     1, 0},
    {"CmdSlidePattern", Modal(FrameMsg::WM_CMD_SLIDE_PATTERN, &ExpectModalEnd<CCmdSlideInputDlg>),
     1, 0},
    {"CmdSlideStability",
     Modal(FrameMsg::WM_CMD_SLIDE_STABILITY, &ExpectModalEnd<CCmdSlideResultDlg>), 1, 0},
    {"CmdShearFit", Modal(FrameMsg::WM_CMD_SHEAR_FIT, &ExpectModalEnd<CCmdShearFitDlg>), 1, 0},
    {"CmdShearStability",
     Modal(FrameMsg::WM_CMD_SHEAR_STABILITY, &ExpectModalEnd<CCmdShearReslutDlg>), 1, 0},
    {"CmdShearFocus", Modal(FrameMsg::WM_CMD_SHEAR_FOCUS, &ExpectModalEnd<CCmdShearFocusDlg>), 1,
     0},
    {"SetMenuGeology", Menu(CMainFrame::kGeology, &ExpectModalEnd<CRefCmnGeologyListDlg>), 0, 0},
    {"SetMenuRreinf", Menu(CMainFrame::kReinf, &ExpectModalEnd<CRefReinfStdBarDlg>), 0, 0},
    {"SetMenuUnitFilter", Menu(CMainFrame::kUnitFilter, &ExpectModalEnd<CRefUnitFilterDlg>), 0, 0},
    {"SetMenuRefCond", Menu(CMainFrame::kRefCond, &ExpectModalEnd<CRefCondDlg>), 1, 0},
    {"CmdCommonShapeClose",
     Modeless(FrameMsg::WM_CMD_COMMON_SHAPE_SHOW, &EndModeless<CCmdCmnShapeDlg>), 1, 1},
    {"CmdStabPatternClose",
     Modeless(FrameMsg::WM_CMD_STAB_PATTERN_SHOW, &EndModeless<CCmdStabPatternDlg>), 1, 1},
    {"CmdStabBlockClose",
     Modeless(FrameMsg::WM_CMD_STAB_BLOCK_SHOW, &EndModeless<CCmdStabBlockDlg>), 1, 1},
    {"CmdSlideArrangeClose",
     Modeless(FrameMsg::WM_CMD_SLIDE_ARRANGE_SHOW, &EndModeless<CCmdDrainArrangeDlg>), 1, 1},
};

struct Redraws {
  long messages;
  int repaints;
};

// Runs the command, ends its dialog with the button and counts what follows the press.
Redraws RedrawsAfter(const RedrawCase& c, int button) {
  TestProgram p;
  FillSampleDocument(p.Core());
  PaintCounter paints(p.Frame().View());
  QCoreApplication::processEvents();  // the start-up paints are not counted
  std::size_t mark = 0;
  const EndDialog end = [&mark, &paints, button](StageDialog& d) {
    QCoreApplication::processEvents();  // the paints the dialog's opening asked for
    mark = TestUi().FrameMessages().size();
    paints.count = 0;
    QTest::mouseClick(Ctl<QPushButton>(d, button), Qt::LeftButton);
  };
  c.run(p, end);
  QCoreApplication::processEvents();
  const std::vector<FrameMessage>& sent = TestUi().FrameMessages();
  const long messages =
      std::count(sent.begin() + static_cast<std::ptrdiff_t>(std::min(mark, sent.size())),
                 sent.end(), FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0});
  return {messages, paints.count};
}

TEST(RedrawCount, EachDialogEndBringsAtMostOneRedraw) {
  for (const RedrawCase& c : kCases) {
    SCOPED_TRACE(c.command);
    const Redraws ok = RedrawsAfter(c, kOk);
    EXPECT_EQ(ok.messages, c.afterOk) << "after OK";
    EXPECT_EQ(ok.repaints, c.afterOk) << "view repaints after OK";
    const Redraws cancel = RedrawsAfter(c, kCancel);
    EXPECT_EQ(cancel.messages, c.afterCancel) << "after キャンセル";
    EXPECT_EQ(cancel.repaints, c.afterCancel) << "view repaints after キャンセル";
  }
}

}  // namespace
