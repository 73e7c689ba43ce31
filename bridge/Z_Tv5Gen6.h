#pragma once
// CZ_Tv5Gen6: the CAD control. It holds one CadDrawing (platform/cad), builds it through the
// members the dialogs call, shows it on its paper in a preview and saves it as DXF. For the CAD
// import it reads a DXF file (platform/cad/DxfReader.h), shows it whole and hands out its layers
// and the entities on them.
//
// Strings are UTF-8. Coordinates are world metres, angles radians, colours COLORREF
// (0x00BBGGRR); CadDrawing.h says what the values mean.

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/cad/CadDrawing.h"
#include "platform/cad/DxfReader.h"

// What the import dialog passes to the entity members: CadSelectLayerEntities fills the
// selection, CadGetEntity copies one of its entities into `entity`, CadReleaseEntities empties
// both. The selection points into the loaded file and lives until the next CadOpenFile.
struct CadEntityRecord {
  DxfEntity entity;
  std::vector<const DxfEntity*> selection;
};

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
  // The import's mode 0 (before a DXF file is opened) changes nothing.
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
  // The preview shows the whole paper, or a loaded file whole.
  void CadZoomFit();
  void CadRefresh();
  // Writes the drawing in the format of the path's extension; only ".dxf" (any case) is built.
  // 1 when the file was written whole, 0 otherwise (an older file then stays as it was).
  short CadSaveFile(const std::string& path);

  // Reads a DXF file; 1 when it was read (it replaces the drawing), else 0 with the reason in
  // OpenError and the drawing as it was.
  short CadOpenFile(const std::string& path);
  const std::string& OpenError() const { return openError_; }
  // The name of layer n of the loaded file and the number of entities the import can take from
  // it; an empty name and 0 beyond its layers.
  std::string CadGetLayerInfo(short layer, long& count) const;
  // Selects the entities of the named layer; the mode is the callers' and carries no meaning
  // here. Returns their number.
  long CadSelectLayerEntities(CadEntityRecord& record, short mode, const std::string& layer) const;
  // Copies entity i of the selection into the record; 1, or 0 for i out of range.
  short CadGetEntity(long index, CadEntityRecord& record) const;
  void CadReleaseEntities(CadEntityRecord& record) const;

  const CadDrawing& Drawing() const { return drawing_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ShowLoaded();

  CadDrawing drawing_;
  // The file the import read; while there is one the preview shows it whole on white.
  std::optional<DxfContent> loaded_;
  std::string openError_;
  // The world rectangle the preview shows: lower left and upper right.
  std::array<CadPoint, 2> window_{CadPoint{0, 0}, CadPoint{1, 1}};
};
