#include "tests/support/qt/QtTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QSettings>
#include <QStringList>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>

#include "platform/qt/ModalRunner.h"

namespace {

struct ModalScript {
  const std::type_info* type;
  std::string className;
  std::function<void(QDialog&)> script;
};

std::deque<ModalScript>& Scripts() {
  static std::deque<ModalScript> scripts;
  return scripts;
}

int RunScripted(QDialog& dialog) {
  const char* shown = dialog.metaObject()->className();
  if (Scripts().empty()) {
    ADD_FAILURE() << "modal dialog " << shown << " was run, but no test script expected it";
    return QDialog::Rejected;
  }
  const ModalScript next = std::move(Scripts().front());
  Scripts().pop_front();
  if (typeid(dialog) != *next.type) {
    ADD_FAILURE() << "modal dialog " << shown << " was run where the test expected "
                  << next.className;
    return QDialog::Rejected;
  }
  dialog.open();
  next.script(dialog);
  if (dialog.isVisible()) {
    ADD_FAILURE() << "the script of " << shown << " left the dialog open";
    dialog.reject();
  }
  return dialog.result();
}

// Notices of the offscreen platform that say nothing about the code under test.
bool IsPlatformNotice(const QString& message) {
  static const QStringList notices = {
      QStringLiteral("This plugin does not support"),
      QStringLiteral("propagateSizeHints"),
  };
  for (const QString& notice : notices) {
    if (message.contains(notice)) return true;
  }
  return false;
}

void FailOnWarning(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || IsPlatformNotice(message)) return;
  const QByteArray text = message.toUtf8();
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "Qt fatal: %s\n", text.constData());
    std::abort();
  }
  if (testing::UnitTest::GetInstance()->current_test_info() != nullptr) {
    ADD_FAILURE() << "Qt warning: " << text.constData();
  } else {
    std::fprintf(stderr, "Qt warning outside a test: %s\n", text.constData());
  }
}

std::filesystem::path TestHome() {
  const char* home = std::getenv("BRIXO_HOME");
  return home != nullptr ? std::filesystem::path(home) : std::filesystem::temp_directory_path();
}

}  // namespace

void ExpectModalScript(const std::type_info& type, const char* className,
                       std::function<void(QDialog&)> script) {
  Scripts().push_back(ModalScript{&type, className, std::move(script)});
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, static_cast<char>(c.unicode()));
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

::testing::AssertionResult ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) {
    return ::testing::AssertionFailure() << "the window did not become active";
  }
  return ::testing::AssertionSuccess();
}

void SaveShot(QWidget& widget, const std::string& name) {
  const char* folder = std::getenv("BRIXO_SCREENSHOTS");
  const std::filesystem::path dir =
      folder != nullptr && *folder != '\0' ? std::filesystem::path(folder) : TestHome() / "shots";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  const std::filesystem::path file = dir / (name + ".png");
  EXPECT_TRUE(widget.grab().save(QString::fromStdString(file.string()), "PNG"))
      << "cannot write " << file;
}

void QtTestListener::OnTestStart(const testing::TestInfo& /*test*/) {
  const QString settings = QString::fromStdString((TestHome() / "settings").string());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
  QGuiApplication::clipboard()->clear();
  Scripts().clear();
  InstallModalRunner(&RunScripted);
}

void QtTestListener::OnTestEnd(const testing::TestInfo& /*test*/) {
  for (const ModalScript& left : Scripts()) {
    ADD_FAILURE() << "an expected modal dialog " << left.className << " was never run";
  }
  Scripts().clear();
  InstallModalRunner(nullptr);

  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const QWidgetList left = QApplication::topLevelWidgets();
  for (QWidget* widget : left) {
    ADD_FAILURE() << "a top-level widget outlived the test: " << widget->metaObject()->className()
                  << " \"" << widget->objectName().toStdString() << '"';
  }
  qDeleteAll(left);  // so that the next test starts clean all the same
}

void InstallQtMessageHandler() { qInstallMessageHandler(&FailOnWarning); }
