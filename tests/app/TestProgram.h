#pragma once
// The program as main() starts it, offscreen, for tests that go through its real main window.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QEvent>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <cstdint>
#include <string>

#include "app/frame/BrixoApp.h"
#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "app/view/BrixoView.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpButton.h"
#include "tests/app/HandMapping.h"
#include "tests/support/qt/QtTestSupport.h"

class TestProgram {
 public:
  // The arguments after the program's name.
  explicit TestProgram(const QStringList& arguments = {}) {
    EXPECT_TRUE(app_.InitInstance(QStringList{QStringLiteral("Brixo")} + arguments));
  }
  CMainFrame& Frame() const { return *app_.MainFrame(); }
  CManageCore& Core() { return app_.Core(); }
  CManageStage& Stage() { return app_.Stage(); }
  std::intptr_t Send(FrameMsg message, std::uintptr_t wParam = 0) {
    return Ui().SendToFrame(message, wParam, 0);
  }
  QAction* Command(int id) const { return Frame().findChild<QAction*>(QString::number(id)); }
  // The title as the window shows it, with Qt's modified mark resolved.
  std::string Title() const { return Frame().windowHandle()->title().toStdString(); }
  // Clicks the flow pane's button of that step (0 to 3) on its page, the step's tab first, as a
  // user does; the button must be enabled.
  void ClickFlowButton(int step, int id) const {
    QTest::mouseClick(&Frame().FlowPane().Tab(step), Qt::LeftButton);
    CExpButton* button = Ctl<CExpButton>(Frame().FlowPane().Page(step), id);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // A left click on the real view at the device point, under the hand-set mapping on the active
  // case.
  void ClickView(QPoint device) {
    SetHandMapping(Frame().View(), Core().GetActiveCase()->GetViewInfo());
    QTest::mouseClick(&Frame().View(), Qt::LeftButton, Qt::NoModifier, device);
  }
  // While a modeless step dialog holds the case the frame disables toolbar 1, the flow and case
  // panes and File > New; the view, toolbar 2 and the information pane are never disabled.
  void ExpectWorkPanesEnabled(bool enabled) const {
    CMainFrame& frame = Frame();
    EXPECT_EQ(frame.StandardBar().isEnabled(), enabled);
    EXPECT_EQ(frame.FlowDock().widget()->isEnabled(), enabled);
    EXPECT_EQ(frame.CaseDock().widget()->isEnabled(), enabled);
    EXPECT_EQ(Command(CMainFrame::kFileNew)->isEnabled(), enabled);
    EXPECT_TRUE(frame.View().isEnabled());
    EXPECT_TRUE(frame.ViewBar().isEnabled());
    EXPECT_TRUE(frame.InfoDock().widget()->isEnabled());
  }

 private:
  CBrixoApp app_;
};

// Deletes what was handed to deleteLater, as the event loop would.
inline void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
