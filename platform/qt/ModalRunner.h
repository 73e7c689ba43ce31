#pragma once
// The one place where a modal dialog runs. The program runs it with exec(); a test installs a
// runner that drives the dialog from a script instead, so no test waits for a person.

#include <functional>

class QDialog;

// Runs the dialog modally and returns its result (QDialog::Accepted or Rejected).
int RunModal(QDialog& dialog);

// Replaces the way RunModal runs a dialog and returns the runner it replaces; an empty runner
// restores exec().
using ModalRunner = std::function<int(QDialog&)>;
ModalRunner InstallModalRunner(ModalRunner runner);
