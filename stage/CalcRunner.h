#pragma once
// Runs the process step of a long calculation on a worker thread while the GUI thread shows its
// progress in the progress dialog (CProgressInfoDlg): the two lines and the bar of the run's
// feedback, at most about 20 times a second however often the calculation reports, so reporting
// costs the calculation nothing. Until the run sets lines the dialog keeps saying that the
// calculation is being prepared. The window is application-modal: during a run the user can only
// cancel it, and the document and the case stay as the prepare step left them. Cancel (the button,
// Escape or closing the window) cancels the feedback, which the calculation sees at its next poll.
//
// The caller prepares on the GUI thread, hands the process step here and posts its result on the
// GUI thread after RunWithProgress returns; the process step must touch nothing but its input,
// its feedback and what it returns.

#include <functional>

class ProgressFeedback;

// Opens the dialog, runs `process` on a worker thread and returns when it has returned, with the
// dialog gone. An exception of `process` is thrown again here.
void RunWithProgress(const std::function<void(ProgressFeedback&)>& process);

// True while RunWithProgress runs a process step (GUI thread): the view then keeps its last
// picture instead of drawing the case the run reads.
bool RunActive();
