#pragma once
// CZ_Tv5Gen6: the CAD control. It holds one CadDrawing (platform/cad), builds it through the
// members the dialogs call, shows it on its paper in a preview and saves it as DXF. The output
// side is built here; reading drawings comes with the CAD import.
//
// Strings are UTF-8. Coordinates are world metres, angles radians, colours COLORREF
// (0x00BBGGRR); CadDrawing.h says what the values mean.

#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "platform/cad/CadDrawing.h"

class CZ_Tv5Gen6 : public QWidget {
  Q_OBJECT

 public:
  explicit CZ_Tv5Gen6(QWidget* parent = nullptr);

  // Called once when a dialog opens; 1 is the output dialog's drawing mode, the only one built.
  void CadSetMode48(long mode);
  // Called once after CadSetMode48 by the output dialog: an empty drawing.
  void CadInit();
  void CadNewDrawing();
  // The constant arguments after the paper index are the callers' and carry no meaning here.
  void CadSetPaper(short paper, short, double, double, double);
  // Mode 1: the paper's half width and height in millimetres and the world point at its centre.
  void CadSetDrawingArea(short mode, double halfWidth, double halfHeight, double centreX,
                         double centreY);
  void CadSetScale(short denominator);
  // The control takes the layer's name twice; both are the same.
  void CadDefineLayer(short number, const std::string& name, const std::string& description);
  void CadResetLayers();
  // A named pen drawn in the first colour; the two numbers (line style and width) and the second
  // colour are kept by no file format built here. Returns the pen's number.
  short CadDefinePen(const std::string& name, short style, short width, long colour, long fill);
  void CadSelectPen(short pen);
  void CadSelectLayer(short layer);
  void CadBeginLine();
  void CadAddVertex(double x, double y);
  void CadEndLine();
  void CadSetFillColor(long colour);
  void CadAddArc(double centreX, double centreY, double radius, double start, double end);
  // The fifth number is the callers' and carries no meaning here.
  void CadAddText(const std::string& text, double x, double y, double height, double width, double,
                  double angle, short placement);
  // The preview shows the whole paper.
  void CadZoomFit();
  void CadRefresh();
  // Writes the drawing in the format of the path's extension; only ".dxf" (any case) is built.
  // 1 when the file was written whole, 0 otherwise (an older file then stays as it was).
  short CadSaveFile(const std::string& path);

  const CadDrawing& Drawing() const { return drawing_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CadDrawing drawing_;
  // The world rectangle the preview shows: lower left and upper right.
  std::array<CadPoint, 2> window_{CadPoint{0, 0}, CadPoint{1, 1}};
};
