#pragma once
// The result dialogs' Word output button: asks the main window for the report of its step, or
// says that there is nothing to report yet.

// Sends WM_APP_PRINT_WORD (kind, sub) to the main window when the step has a result; otherwise
// tells the user that there is none and sends nothing.
void RequestWordReport(bool hasResult, int kind, int sub);
