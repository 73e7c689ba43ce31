#pragma once
// The figures of the Word reports: section drawings and result graphs, each named by its figure
// key and drawn by the case's own drawing code into a view in Word mode.

#include <string_view>

#include "platform/DevTypes.h"

class CCase;
class CViewInfo;

// Draws the figure of key for the figure group (1 multi-plane stability, 2 slide deformation,
// 3 shear deformation) into rect through view, whose canvas is set and already white. Keys are
// compared exactly; a key the group does not draw leaves the canvas untouched (a white figure)
// and false is returned. The case's own results and graph settings stay as they were.
bool PaintReportFigure(CCase& reported, int group, std::string_view key, CViewInfo& view,
                       DevRect rect);
