#pragma once
// What every Qt test uses besides GoogleTest: scripted modal dialogs, controls found by their
// id, an active window to type into, and screenshots for a person to look at.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>

#include "platform/UiRegistry.h"
#include "platform/qt/QtUi.h"

// Queues a script for the next modal dialog that RunModal runs; that dialog must be a T. The
// scripted runner opens the dialog without an event loop, runs the script (which drives the
// widgets and ends the dialog), fails the test if the dialog is still open, and returns the
// dialog's result. A modal dialog without a script fails the test and is rejected.
void ExpectModalScript(const std::type_info& type, const char* className,
                       std::function<void(QDialog&)> script);

template <typename T>
void ExpectModal(std::function<void(T&)> script) {
  ExpectModalScript(
      typeid(T), T::staticMetaObject.className(),
      [script = std::move(script)](QDialog& dialog) { script(dynamic_cast<T&>(dialog)); });
}

// Puts the Qt services in place of the test's scripted ones for the life of the scope.
class WithQtUi {
 public:
  WithQtUi() : scripted_(InstallUi(std::make_unique<QtUi>())) {}
  ~WithQtUi() { InstallUi(std::move(scripted_)); }
  WithQtUi(const WithQtUi&) = delete;
  WithQtUi& operator=(const WithQtUi&) = delete;

 private:
  std::unique_ptr<UiServices> scripted_;
};

// Runs the action on the modal window of that class once the next modal event loop runs: for
// Qt's own boxes and dialogs behind the Qt Ui, which RunModal does not script. When no such window
// is up the test fails and whatever modal window is up is closed, so that no test hangs.
template <typename Window>
void OnNextModal(std::function<void(Window&)> action) {
  QTimer::singleShot(0, [action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* window = qobject_cast<Window*>(modal)) {
      action(*window);
      return;
    }
    ADD_FAILURE() << "no modal " << Window::staticMetaObject.className() << " is showing";
    if (modal != nullptr) modal->close();
  });
}

// The one child of parent whose object name is the control id; fails the test unless there is
// exactly one.
template <typename T>
T* Ctl(const QWidget& parent, int id) {
  const QList<T*> found = parent.findChildren<T*>(QString::number(id));
  EXPECT_EQ(found.size(), 1) << "controls with id " << id;
  return found.size() == 1 ? found.front() : nullptr;
}

// Types the text into the widget key by key, Japanese characters included (QTest::keyClicks
// takes ASCII only).
void TypeText(QWidget* widget, const QString& text);

// Shows the window and makes it the active one, so that focus and keys reach its controls.
::testing::AssertionResult ShowActive(QWidget& window);

// Saves what the widget shows as <name>.png in the screenshot folder ($BRIXO_SCREENSHOTS, else a
// folder inside the test's data folder); fails the test when the file cannot be written.
void SaveShot(QWidget& widget, const std::string& name);

// The listener of every Qt test: settings in the test's own folder, the scripted modal runner,
// an empty clipboard; at the end every queued script taken and no top-level widget left.
class QtTestListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& test) override;
  void OnTestEnd(const testing::TestInfo& test) override;
};

// Fails the running test on every Qt warning, except the offscreen platform's own notices.
void InstallQtMessageHandler();
