#pragma once
// The display and editing switches of the shapes as a freshly started program has them:
// highlight off, no rubber band of a polyline or a line on screen.

void ResetGeometryState();
