#pragma once
// The process-wide state of the base layer as a freshly started program has it: the default
// settings current (rounding rules, design step, slide stretch settings and display switch).

void ResetBaseState();
