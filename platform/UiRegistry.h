#pragma once
// The user-interface services installed for the whole process, and how to reach them. The
// program installs its Qt services at start-up and tests install a scripted double; until then,
// and after they are taken out, a headless default serves. GUI thread only, as the services are.

#include <memory>

#include "platform/UiServices.h"

// The process-wide services.
UiServices& Ui();
// Installs services for the whole process and returns the ones they replace (null when the
// headless default served); passing null restores the headless default.
std::unique_ptr<UiServices> InstallUi(std::unique_ptr<UiServices> services);

// Holds the wait cursor for the life of the scope.
class WaitCursor {
 public:
  WaitCursor() { Ui().BeginWaitCursor(); }
  ~WaitCursor() { Ui().EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};
