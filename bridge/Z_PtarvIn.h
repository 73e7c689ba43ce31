#pragma once
// Z_PtarvIn9's exports: the CAD import that the stage manager runs and the shape queries on what
// it produced. Behind them lives one module state per process (BridgeState.h): the default CAD
// extension, the model bottom, at most one case with a shape list per kind and the last slip
// surface with its drawing object.
//
// Shape kinds: 0 terrain, 1 stratum lines, 2 water level, 3 slip surfaces; 6 (the terrain's
// stratum polygons) is accepted and always empty here. Strings are UTF-8. No export throws:
// refusals are -1 (or 0 where the export says so). Queries return -1 until a case is selected,
// that is until an import ended with OK or a shape was added.

#include <functional>

class QDialog;

// The arc of a slip surface as its drawing object keeps it: the three points it runs through.
struct ZPtarvInArc {
  double x[3];
  double y[3];
};

extern "C" {

// Empties the module state; no case is selected.
void Z_PtarvIn_Init();
void Z_PtarvIn_SetDefaultExt(const char* extension);
// Runs the CAD import dialog. The eight ints: show the terrain, stratum, water and slip-surface
// rows; offer SXF/STEP and DWG in the file filter (only DXF is read, so the filter offers DXF
// whatever they say); show the bottom-level controls; the control mode. 1 after OK (the shapes
// then stand in the selected case), else 0.
int Z_PtarvIn_OpenCadFile(const char* initialPath, int terrainRow, int stratumRow, int waterRow,
                          int slideRow, int sxfStep, int dwg, int bottomLevel, int controlMode);
int Z_PtarvIn_GetShapeCount(int kind);
// Copies the points of shape n into x and y (and, for a slip surface, the point styles into a
// non-null styles); the arrays must hold the point count. With x or y null nothing is copied:
// the caller learns the count and sizes its arrays. Returns the point count.
int Z_PtarvIn_GetCoordinats(int kind, int n, double* x, double* y, int* styles);
// Empties the module state; harmless when already empty.
void Z_PtarvIn_Exit();

// Copies "Z_PtarvIn.dll Test" into a buffer of `size` bytes (cut to fit, always terminated);
// returns 1.
int Z_PtarvIn_Test(char* buffer, int size);
// The name of shape n, cut to a buffer of `size` bytes; the name's length in bytes, or -1.
int Z_PtarvIn_GetShapeName(int kind, int n, char* buffer, int size);
// As Z_PtarvIn_GetCoordinats, with the slip surface's point styles and strength types (each 0
// here); null arrays are not written.
int Z_PtarvIn_GetSlideCoordinats(int kind, int n, double* x, double* y, int* styles,
                                 int* strengthTypes);
// Adds a terrain (0), stratum line (1, named "地層境界") or water level (2); creates and selects
// the case when there is none. The new shape's index, or -1 for another kind or a negative count.
int Z_PtarvIn_AddShape(int kind, int count, const double* x, const double* y);
// Makes the points the module's slip surface (style 1 begins an arc through it and the next two
// points) and rebuilds its drawing object. Returns the point count, or -1.
int Z_PtarvIn_SetSlideShape(int count, const double* x, const double* y, const int* styles);
// The points of the slip surface's drawing object; 0 without one.
int Z_PtarvIn_GetSlidePointsCount();
// Point i of the drawing object, and whether it belongs to an arc (then the arc too). 1, or 0
// without a slip surface or for i out of range.
int Z_PtarvIn_GetSlidePoint(int i, double* x, double* y, int* onArc, ZPtarvInArc* arc);
// The bottom level that the import dialog set.
double Z_PtarvIn_GetModelBottom();
}

// How Z_PtarvIn_OpenCadFile runs its dialog modally: the stage manager hands over its own modal
// runner, so that tests script the dialog and nothing here calls exec(). Without one the dialog
// is not shown and the import ends as cancelled.
void Z_PtarvIn_SetModalRunner(std::function<int(QDialog&)> runner);
