#pragma once
// The process-wide records of the model layer as a freshly started program has them: the
// reference conditions at their defaults, no last-used folder or reference file.

void ResetModelState();
