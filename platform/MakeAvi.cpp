#include "platform/MakeAvi.h"

// A recorder holds an open recording only once the movie file writer has opened one; until then
// there is no frame to append and no file to release.
void CMakeAvi::CaptureFrame(PlatformWindow& /*window*/) {}

void CMakeAvi::Close() {}
