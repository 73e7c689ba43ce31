#pragma once
// The process-wide state as a freshly started program has it. It lives in the top layer of the
// core so that it reaches the reset of every layer below; a layer that keeps process-wide state
// has its own reset, and this one calls them all. The blocks, the deformation calculations and
// the circle search keep none: what a calculation decides belongs to the objects it fills.

// Resets the base, geometry, section and model layers (see their *State.h).
void ResetProcessWideState();
