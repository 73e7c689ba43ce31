#include <QApplication>
#include <memory>

#include "app/frame/BrixoApp.h"
#include "platform/UiRegistry.h"
#include "platform/qt/LookAndFeel.h"
#include "platform/qt/QtUi.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  InstallLookAndFeel();
  InstallUi(std::make_unique<QtUi>());
  int result = 1;
  {
    CBrixoApp app;
    if (app.InitInstance(QApplication::arguments())) result = QApplication::exec();
  }
  InstallUi(nullptr);
  return result;
}
