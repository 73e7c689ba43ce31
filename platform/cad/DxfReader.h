#pragma once
// Reads what the CAD import takes from an ASCII DXF file: the header's $ACADVER and
// $DWGCODEPAGE, the LAYER table and, in model space, LWPOLYLINE (bulges included), POLYLINE with
// its VERTEX entities, LINE and ARC, each on its layer. Every other entity, paper space and the
// entities inside blocks are passed over.
//
// The file is trusted for nothing: lines and group codes are read with bounds, counts in the file
// (an LWPOLYLINE's group 90) are not used to allocate or to stop, vertices are taken as they
// come, and a damaged file is refused as a whole with the reason and the line it was found on.
// Texts become UTF-8: from AC1021 on the file is UTF-8, before it the header's code page
// (ANSI_932 is CP932, ANSI_1252 and its kind are single-byte), and \U+XXXX escapes are decoded.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/cad/CadDrawing.h"

// An entity as the import takes it. A polyline (LWPOLYLINE, POLYLINE, LINE) is kind 1 with its
// points; a bulged segment contributes the middle point of its arc between its ends, and a closed
// polyline repeats its first point at the end. An arc is kind 2 with its circle and its angles.
struct DxfEntity {
  static constexpr int kPolyline = 1;
  static constexpr int kArc = 2;

  int kind = kPolyline;
  std::vector<CadPoint> points;
  CadPoint centre;
  double radius = 0;
  double start = 0;  // radians, counter-clockwise from start to end
  double end = 0;
};

struct DxfLayerContent {
  std::string name;  // UTF-8
  std::vector<DxfEntity> entities;
};

struct DxfContent {
  std::string version;  // $ACADVER, e.g. "AC1015"; empty when the header has none
  // The LAYER table's layers in its order, then layers that only entities name, in the order they
  // first appear.
  std::vector<DxfLayerContent> layers;
};

struct DxfReadError {
  int line = 0;        // 1-based line of the file where the fault was found
  std::string reason;  // in the system's words
};

using DxfReadResult = std::variant<DxfContent, DxfReadError>;

// Reads the bytes of a whole DXF file.
DxfReadResult ReadDxf(std::string_view bytes);
// Reads a DXF file from disk; a file that cannot be read, or one larger than kDxfMaxFileBytes,
// is refused.
DxfReadResult ReadDxfFile(const std::filesystem::path& path);

inline constexpr std::size_t kDxfMaxFileBytes = std::size_t{512} << 20;

// The refusal as the user reads it: the reason and its line.
std::string DxfReadErrorText(const DxfReadError& error);
