#include "platform/qt/ModalRunner.h"

#include <QDialog>
#include <utility>

namespace {

ModalRunner& Installed() {
  static ModalRunner runner;
  return runner;
}

}  // namespace

int RunModal(QDialog& dialog) {
  const ModalRunner& runner = Installed();
  return runner ? runner(dialog) : dialog.exec();
}

ModalRunner InstallModalRunner(ModalRunner runner) {
  return std::exchange(Installed(), std::move(runner));
}
