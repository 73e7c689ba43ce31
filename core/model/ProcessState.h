#pragma once
// The process-wide state as a freshly started program has it. It lives in the top layer so that
// it reaches the switches of every layer below.

// Makes the default settings current and resets the display and editing switches of the shapes:
// highlight off, no rubber band on screen, stratum names shown, slide lines not fitted to a
// ground and fitted pieces drawn first only; the reference values back at their defaults; no
// last-used folder or reference file.
void ResetProcessWideState();
