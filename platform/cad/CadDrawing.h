#pragma once
// CadDrawing: the drawing a CAD control holds, built by the calls of the CAD output dialog:
// layers, pens, polylines (closed with a fill colour), arcs and texts on a paper at a scale.
// Model space is in metres. The control's calls are its members, with the meanings this system
// gives the values the callers pass:
// - a text's height and width are millimetres on paper at the drawing's scale;
// - placement 6 is middle left, 18 middle right, 22 middle centre, anything else baseline left;
// - an arc runs counter-clockwise (y up) from its start to its end angle, in radians;
// - colours are COLORREF values (0x00BBGGRR);
// - pens 1 to 9 are the control's own (CadPenColour), DefinePen adds named pens after them.
// A polyline is begun, takes its vertices and is ended; EndLine without an open polyline does
// nothing, as after an arc or a text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct CadPaper {
  const char* text;  // as the paper list shows it
  double width;      // millimetres
  double height;
};

// The papers the control knows, by paper index.
inline constexpr std::array<CadPaper, 13> kCadPapers{{
    {"A0 1189 × 841", 1189, 841},
    {"A1  841 × 594", 841, 594},
    {"A2  594 × 420", 594, 420},
    {"A3  420 × 297", 420, 297},
    {"A4  297 × 210", 297, 210},
    {"JIS B1 1030 × 728", 1030, 728},
    {"JIS B2  728 × 515", 728, 515},
    {"JIS B3  515 × 364", 515, 364},
    {"JIS B4  364 × 257", 364, 257},
    {"ISO B1 1000 × 707", 1000, 707},
    {"ISO B2  707 × 500", 707, 500},
    {"ISO B3  500 × 353", 500, 353},
    {"ISO B4  353 × 250", 353, 250},
}};

struct CadPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const CadPoint&, const CadPoint&) = default;
};

// How a pen draws: a colour index of the DXF palette, or a true colour (0x00RRGGBB) that wins.
struct CadPenColour {
  int index = 7;
  std::optional<std::uint32_t> rgb;
};

struct CadPolyline {
  int layer = 0;
  int pen = 1;
  std::vector<CadPoint> points;
  std::optional<std::uint32_t> fill;  // COLORREF; a filled polyline is closed
};

struct CadArc {
  int layer = 0;
  int pen = 1;
  CadPoint centre;
  double radius = 0;
  double start = 0;  // radians, counter-clockwise from start to end
  double end = 0;
};

enum class CadTextPlace { BaselineLeft, MiddleLeft, MiddleRight, MiddleCentre };

struct CadText {
  int layer = 0;
  int pen = 1;
  std::string text;  // UTF-8
  CadPoint at;
  double height = 0;  // millimetres on paper
  double width = 0;
  double angle = 0;  // radians, counter-clockwise
  CadTextPlace place = CadTextPlace::BaselineLeft;
};

using CadEntity = std::variant<CadPolyline, CadArc, CadText>;

struct CadLayer {
  int number = 0;
  std::string name;
};

class CadDrawing {
 public:
  // The control's own pens.
  static constexpr int kOwnPens = 9;

  // Empties the drawing: no layers, no named pens, no entities; layer 0 and pen 1 current.
  // Paper, area and scale stay.
  void NewDrawing();
  // Paper index 0-12 of kCadPapers; another index is ignored.
  void SetPaper(int paper);
  // The paper's half width and half height in millimetres and the world point at its centre.
  void SetDrawingArea(double halfWidth, double halfHeight, double centreX, double centreY);
  void SetScale(int denominator);
  // Defines layer number n, or renames it.
  void DefineLayer(int number, const std::string& name);
  // Layer 0 becomes current.
  void ResetLayers();
  // A named pen; returns its number.
  int DefinePen(const std::string& name, std::uint32_t colour);
  void SelectPen(int pen);
  void SelectLayer(int layer);

  void BeginLine();
  void AddVertex(double x, double y);
  void SetFillColor(std::uint32_t colour);
  void EndLine();
  void AddArc(double cx, double cy, double radius, double start, double end);
  // placement: the control's code (6, 18, 22).
  void AddText(const std::string& text, double x, double y, double height, double width,
               double angle, int placement);

  int Paper() const { return paper_; }
  int Scale() const { return scale_; }
  // The paper's rectangle in world metres: lower left and upper right.
  std::array<CadPoint, 2> PaperArea() const;
  // World metres per millimetre on paper.
  double MetresPerMillimetre() const { return scale_ / 1000.0; }
  const std::vector<CadLayer>& Layers() const { return layers_; }
  // The layer's name; "0" for a layer nobody defined.
  std::string LayerName(int number) const;
  CadPenColour PenColour(int pen) const;
  const std::vector<CadEntity>& Entities() const { return entities_; }

 private:
  struct NamedPen {
    std::string name;
    std::uint32_t colour;
  };

  int paper_ = 1;
  int scale_ = 100;
  CadPoint centre_;
  double halfWidth_ = kCadPapers[1].width / 2;
  double halfHeight_ = kCadPapers[1].height / 2;
  std::vector<CadLayer> layers_;
  std::vector<NamedPen> pens_;
  int layer_ = 0;
  int pen_ = 1;
  std::optional<CadPolyline> open_;
  std::optional<std::uint32_t> fill_;
  std::vector<CadEntity> entities_;
};

// COLORREF (0x00BBGGRR) to 0x00RRGGBB.
constexpr std::uint32_t RgbOfColorref(std::uint32_t colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}
