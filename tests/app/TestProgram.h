#pragma once
// The program as main() starts it, offscreen, for tests that go through its real main window.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

#include "app/frame/BrixoApp.h"
#include "app/frame/MainFrame.h"
#include "platform/UiRegistry.h"

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
  std::string Title() const { return Frame().windowTitle().toStdString(); }

 private:
  CBrixoApp app_;
};

// Deletes what was handed to deleteLater, as the event loop would.
inline void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
