#include "platform/cad/DxfWriter.h"

#include <dl_dxf.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <numbers>
#include <system_error>
#include <type_traits>
#include <variant>

#include "platform/Iconv.h"
#include "platform/ReplacingFile.h"
#include "platform/cad/CadDrawing.h"

namespace {

constexpr const char* kTextStyle = "Standard";
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The code point of the UTF-8 character at the start of text and its length in bytes; a broken
// sequence counts as one byte U+FFFD.
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (lead >= 0x80 && (lead < 0xC2 || lead > 0xF4 || length > text.size())) return {0xFFFD, 1};
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return {0xFFFD, 1};
    code = (code << 6) | (next & 0x3F);
  }
  return {code, length};
}

std::string UnicodeEscape(char32_t code) {
  char escape[16];
  std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(code));
  return escape;
}

DL_Attributes AttributesOf(const CadDrawing& drawing, int layer, int pen) {
  const CadPenColour colour = drawing.PenColour(pen);
  return DL_Attributes(drawing.LayerName(layer), colour.index,
                       colour.rgb ? static_cast<int>(*colour.rgb) : -1, -1, "BYLAYER");
}

// dxflib's writer hands out the file through a pointer that the caller owns.
struct WriterDeleter {
  void operator()(DL_WriterA* writer) const {
    writer->close();
    delete writer;
  }
};
using Writer = std::unique_ptr<DL_WriterA, WriterDeleter>;

void WriteHeader(DL_Dxf& dxf, DL_WriterA& out, const CadDrawing& drawing) {
  dxf.writeHeader(out);
  out.dxfString(9, "$DWGCODEPAGE");
  out.dxfString(3, "ANSI_932");
  out.dxfString(9, "$INSUNITS");
  out.dxfInt(70, 6);
  const auto [low, high] = drawing.PaperArea();
  out.dxfString(9, "$LIMMIN");
  out.dxfReal(10, low.x);
  out.dxfReal(20, low.y);
  out.dxfString(9, "$LIMMAX");
  out.dxfReal(10, high.x);
  out.dxfReal(20, high.y);
  out.sectionEnd();
}

void WriteTables(DL_Dxf& dxf, DL_WriterA& out, const CadDrawing& drawing) {
  out.sectionTables();
  dxf.writeVPort(out);
  out.tableLinetypes(3);
  dxf.writeLinetype(out, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(out, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(out, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  out.tableEnd();
  out.tableLayers(static_cast<int>(drawing.Layers().size()) + 1);
  dxf.writeLayer(out, DL_LayerData("0", 0), DL_Attributes("", 7, -3, "CONTINUOUS", 1.0));
  for (const CadLayer& layer : drawing.Layers()) {
    dxf.writeLayer(out, DL_LayerData(layer.name, 0), DL_Attributes("", 7, -3, "CONTINUOUS", 1.0));
  }
  out.tableEnd();
  out.tableStyle(1);
  dxf.writeStyle(out, DL_StyleData(kTextStyle, 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
  out.tableEnd();
  dxf.writeView(out);
  dxf.writeUcs(out);
  out.tableAppid(1);
  dxf.writeAppid(out, "ACAD");
  out.tableEnd();
  dxf.writeDimStyle(out, 1, 1, 1, 1, 1);
  dxf.writeBlockRecord(out);
  out.tableEnd();
  out.sectionEnd();
  out.sectionBlocks();
  for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf.writeBlock(out, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(out, block);
  }
  out.sectionEnd();
}

void WriteOutline(DL_Dxf& dxf, DL_WriterA& out, const CadPolyline& line,
                  const DL_Attributes& attributes) {
  const int closed = line.fill ? 1 : 0;
  dxf.writePolyline(out, DL_PolylineData(static_cast<int>(line.points.size()), 0, 0, closed),
                    attributes);
  for (const CadPoint& p : line.points) dxf.writeVertex(out, DL_VertexData(p.x, p.y));
  dxf.writePolylineEnd(out);
}

void WriteHatch(DL_Dxf& dxf, DL_WriterA& out, const CadPolyline& line, DL_Attributes attributes) {
  attributes.setColor24(static_cast<int>(RgbOfColorref(*line.fill)));
  dxf.writeHatch1(out, DL_HatchData(1, true, 1.0, 0.0, "SOLID"), attributes);
  const std::size_t n = line.points.size();
  dxf.writeHatchLoop1(out, DL_HatchLoopData(static_cast<int>(n)));
  for (std::size_t i = 0; i < n; ++i) {
    const CadPoint& a = line.points[i];
    const CadPoint& b = line.points[(i + 1) % n];
    DL_HatchEdgeData edge(a.x, a.y, b.x, b.y);
    dxf.writeHatchEdge(out, edge);
  }
  dxf.writeHatchLoop2(out, DL_HatchLoopData(static_cast<int>(n)));
  dxf.writeHatch2(out, DL_HatchData(1, true, 1.0, 0.0, "SOLID"), attributes);
}

void WritePolyline(DL_Dxf& dxf, DL_WriterA& out, const CadDrawing& drawing,
                   const CadPolyline& line) {
  // A polyline of fewer than two points draws nothing and is no valid DXF entity.
  if (line.points.size() < 2) return;
  const DL_Attributes attributes = AttributesOf(drawing, line.layer, line.pen);
  if (line.fill && line.points.size() >= 3) WriteHatch(dxf, out, line, attributes);
  WriteOutline(dxf, out, line, attributes);
}

void WriteArc(DL_Dxf& dxf, DL_WriterA& out, const CadDrawing& drawing, const CadArc& arc) {
  dxf.writeArc(out,
               DL_ArcData(arc.centre.x, arc.centre.y, 0.0, arc.radius,
                          arc.start * kDegreesPerRadian, arc.end * kDegreesPerRadian),
               AttributesOf(drawing, arc.layer, arc.pen));
}

// dxflib's justification codes: horizontal 0 left, 1 centre, 2 right; vertical 0 baseline,
// 2 middle.
std::pair<int, int> JustificationOf(CadTextPlace place) {
  switch (place) {
    case CadTextPlace::MiddleLeft:
      return {0, 2};
    case CadTextPlace::MiddleRight:
      return {2, 2};
    case CadTextPlace::MiddleCentre:
      return {1, 2};
    case CadTextPlace::BaselineLeft:
      break;
  }
  return {0, 0};
}

void WriteText(DL_Dxf& dxf, DL_WriterA& out, const CadDrawing& drawing, const CadText& text) {
  const double height = text.height * drawing.MetresPerMillimetre();
  const double widthFactor = text.height > 0 ? text.width / text.height : 1.0;
  const auto [horizontal, vertical] = JustificationOf(text.place);
  dxf.writeText(
      out,
      DL_TextData(text.at.x, text.at.y, 0.0, text.at.x, text.at.y, 0.0, height, widthFactor, 0,
                  horizontal, vertical, DxfTextCp932(text.text), kTextStyle, text.angle),
      AttributesOf(drawing, text.layer, text.pen));
}

void WriteEntities(DL_Dxf& dxf, DL_WriterA& out, const CadDrawing& drawing) {
  out.sectionEntities();
  for (const CadEntity& entity : drawing.Entities()) {
    std::visit(
        [&](const auto& e) {
          using T = std::decay_t<decltype(e)>;
          if constexpr (std::is_same_v<T, CadPolyline>) {
            WritePolyline(dxf, out, drawing, e);
          } else if constexpr (std::is_same_v<T, CadArc>) {
            WriteArc(dxf, out, drawing, e);
          } else {
            WriteText(dxf, out, drawing, e);
          }
        },
        entity);
  }
  out.sectionEnd();
}

// dxflib's writer reports no failure after opening; a file that does not end in the end marker
// was cut short.
bool EndsWithEof(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  constexpr std::string_view kEnd = "EOF\n";
  const std::streamoff size = in.tellg();
  if (size < static_cast<std::streamoff>(kEnd.size())) return false;
  in.seekg(size - static_cast<std::streamoff>(kEnd.size()));
  std::string tail(kEnd.size(), '\0');
  in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  return in && tail == kEnd;
}

bool WriteDxfFile(const CadDrawing& drawing, const std::filesystem::path& path) {
  DL_Dxf dxf;
  const Writer out(dxf.out(path.c_str(), DL_Codes::AC1015));
  if (!out) return false;
  WriteHeader(dxf, *out, drawing);
  WriteTables(dxf, *out, drawing);
  WriteEntities(dxf, *out, drawing);
  out->dxfEOF();
  return true;
}

}  // namespace

bool IsDxfPath(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".dxf";
}

std::string DxfTextCp932(std::string_view utf8) {
  Iconv toCp932("CP932", "UTF-8");
  std::string result;
  char buffer[8];
  while (!utf8.empty()) {
    const auto [code, length] = DecodeUtf8(utf8);
    const Iconv::Step step = toCp932.Convert(std::span(utf8.data(), length), std::span(buffer));
    if (step.stop == Iconv::Stop::Done && step.read == length) {
      result.append(buffer, step.written);
    } else {
      toCp932.Reset();
      result += UnicodeEscape(code);
    }
    utf8.remove_prefix(length);
  }
  return result;
}

bool WriteDxf(const CadDrawing& drawing, const std::filesystem::path& path) {
  std::error_code error;
  const std::unique_ptr<ReplacingFile> file = ReplacingFile::Create(path, error);
  // dxflib writes by name and reports nothing after opening: the file counts only when it ends
  // in the end marker. Anything else leaves an older file whole.
  return file != nullptr && WriteDxfFile(drawing, file->TemporaryPath()) &&
         EndsWithEof(file->TemporaryPath()) && !file->Commit();
}
