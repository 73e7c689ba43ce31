#include "platform/cad/DxfReader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/Text.h"

namespace {

// DXF strings hold at most 2049 bytes; a longer line is no DXF.
constexpr std::size_t kMaxLineBytes = 4096;
constexpr int kLowestGroupCode = -5;
constexpr int kHighestGroupCode = 1071;

// A refusal found while reading; ReadDxf turns it into its result.
struct Fault {
  int line;
  std::string reason;
};

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

struct Pair {
  int code = 0;
  std::string_view value;
  int line = 0;  // the line of the group code

  bool Is(int c, std::string_view v) const { return code == c && Trimmed(value) == v; }

  double Number() const {
    std::string_view text = Trimmed(value);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc::result_out_of_range) {
      throw Fault{line + 1, "数値が大きすぎます: " + std::string(text)};
    }
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
      throw Fault{line + 1, "数値として読めません: " + std::string(Trimmed(value))};
    }
    if (!std::isfinite(number))
      throw Fault{line + 1, "有限の数値ではありません: " + std::string(text)};
    return number;
  }

  int Integer() const {
    const std::string_view text = Trimmed(value);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
      throw Fault{line + 1, "整数として読めません: " + std::string(text)};
    }
    return number;
  }
};

// The file as group-code and value pairs, with one pair of look-ahead.
class PairReader {
 public:
  explicit PairReader(std::string_view bytes) : bytes_(bytes) {}

  // The next pair; none at the end of the file. A group code without its value is a fault.
  std::optional<Pair> Next() {
    if (pushed_) return std::exchange(pushed_, std::nullopt);
    const std::optional<std::string_view> codeLine = Line();
    if (!codeLine) return std::nullopt;
    Pair pair;
    pair.line = line_;
    pair.code = GroupCode(*codeLine);
    const std::optional<std::string_view> valueLine = Line();
    if (!valueLine) throw Fault{line_, "ファイルが途中で終わっています。"};
    pair.value = *valueLine;
    return pair;
  }

  // The next pair, which must exist inside a section.
  Pair Expect() {
    std::optional<Pair> pair = Next();
    if (!pair) throw Fault{line_, "ファイルが途中で終わっています。"};
    return *pair;
  }

  void PushBack(const Pair& pair) { pushed_ = pair; }

  int LineNumber() const { return line_; }

 private:
  std::optional<std::string_view> Line() {
    if (position_ >= bytes_.size()) return std::nullopt;
    std::size_t end = bytes_.find('\n', position_);
    if (end == std::string_view::npos) end = bytes_.size();
    std::string_view line = bytes_.substr(position_, end - position_);
    position_ = end + 1;
    ++line_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineBytes) throw Fault{line_, "行が長すぎます。"};
    return line;
  }

  int GroupCode(std::string_view text) const {
    const std::string_view trimmed = Trimmed(text);
    int code = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), code);
    if (error != std::errc() || end != trimmed.data() + trimmed.size() || trimmed.empty() ||
        code < kLowestGroupCode || code > kHighestGroupCode) {
      throw Fault{line_, "グループコードとして読めません: " + std::string(trimmed.substr(0, 40))};
    }
    return code;
  }

  std::string_view bytes_;
  std::size_t position_ = 0;
  int line_ = 0;
  std::optional<Pair> pushed_;
};

// The middle point of the arc that a bulge (the tangent of a quarter of the included angle,
// positive counter-clockwise) puts between two vertices.
CadPoint BulgeMiddle(const CadPoint& from, const CadPoint& to, double bulge) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  return {(from.x + to.x) / 2 + bulge / 2 * dy, (from.y + to.y) / 2 - bulge / 2 * dx};
}

struct Vertex {
  CadPoint at;
  double bulge = 0;
};

// A polyline's points: each bulged segment with its arc's middle point, and a closed polyline
// back to its first vertex.
std::vector<CadPoint> PolylinePoints(const std::vector<Vertex>& vertices, bool closed) {
  std::vector<CadPoint> points;
  points.reserve(vertices.size() * 2 + 1);
  const std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    points.push_back(vertices[i].at);
    if (i >= segments || vertices[i].bulge == 0) continue;
    const CadPoint& next = vertices[(i + 1) % vertices.size()].at;
    points.push_back(BulgeMiddle(vertices[i].at, next, vertices[i].bulge));
  }
  if (closed) points.push_back(vertices.front().at);
  return points;
}

// What an entity of the ENTITIES section holds while its pairs are read.
struct EntityDraft {
  std::string type;
  int line = 0;
  std::string layer = "0";  // raw bytes of the file
  bool paperSpace = false;
  int flags = 0;
  double extrusionZ = 1;
  std::vector<Vertex> vertices;
  CadPoint first;
  CadPoint second;
  double radius = 0;
  double bulge = 0;
  double startDegrees = 0;
  double endDegrees = 0;

  // The pairs that every entity may carry; false when the pair is none of them.
  bool TakeCommon(const Pair& pair) {
    switch (pair.code) {
      case 8:
        layer = std::string(Trimmed(pair.value));
        return true;
      case 67:
        paperSpace = pair.Integer() == 1;
        return true;
      case 230:
        extrusionZ = pair.Number();
        return true;
      default:
        return false;
    }
  }

  void TakeVertexCoordinate(const Pair& pair) {
    switch (pair.code) {
      case 10:
        vertices.push_back({{pair.Number(), 0}, 0});
        break;
      case 20:
        if (vertices.empty()) throw Fault{pair.line, "頂点のX座標がありません。"};
        vertices.back().at.y = pair.Number();
        break;
      case 42:
        if (vertices.empty()) throw Fault{pair.line, "頂点のX座標がありません。"};
        vertices.back().bulge = pair.Number();
        break;
      default:
        break;
    }
  }

  void Take(const Pair& pair) {
    if (TakeCommon(pair)) return;
    if (type == "LWPOLYLINE") {
      if (pair.code == 70) flags = pair.Integer();
      TakeVertexCoordinate(pair);
      return;
    }
    switch (pair.code) {
      case 10:
        first.x = pair.Number();
        break;
      case 20:
        first.y = pair.Number();
        break;
      case 11:
        second.x = pair.Number();
        break;
      case 21:
        second.y = pair.Number();
        break;
      case 40:
        radius = pair.Number();
        break;
      case 42:
        bulge = pair.Number();
        break;
      case 50:
        startDegrees = pair.Number();
        break;
      case 51:
        endDegrees = pair.Number();
        break;
      case 70:
        flags = pair.Integer();
        break;
      default:
        break;
    }
  }
};

bool AllFinite(const DxfEntity& entity) {
  for (const CadPoint& p : entity.points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  }
  return std::isfinite(entity.centre.x) && std::isfinite(entity.centre.y);
}

// A drawing seen from below (extrusion z negative) is mirrored in x.
void MirrorX(DxfEntity& entity) {
  for (CadPoint& p : entity.points) p.x = -p.x;
  entity.centre.x = -entity.centre.x;
  const double start = entity.start;
  entity.start = std::numbers::pi - entity.end;
  entity.end = std::numbers::pi - start;
}

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr int kPolylineClosed = 1;
constexpr int kPolylineMeshes = 16 | 64;  // a 3D polygon mesh or a polyface mesh
constexpr int kVertexFrameControl = 16;   // a spline's frame point, not on the curve

// The entity the import takes from a finished draft, if any.
std::optional<DxfEntity> Finish(const EntityDraft& draft) {
  if (draft.paperSpace) return std::nullopt;
  DxfEntity entity;
  bool inObjectCoordinates = true;
  if (draft.type == "LWPOLYLINE" || draft.type == "POLYLINE") {
    if (draft.type == "POLYLINE" && (draft.flags & kPolylineMeshes) != 0) return std::nullopt;
    if (draft.vertices.size() < 2) return std::nullopt;
    entity.points = PolylinePoints(draft.vertices, (draft.flags & kPolylineClosed) != 0);
  } else if (draft.type == "LINE") {
    entity.points = {draft.first, draft.second};
    inObjectCoordinates = false;
  } else if (draft.type == "ARC") {
    if (!(draft.radius > 0)) return std::nullopt;
    entity.kind = DxfEntity::kArc;
    entity.centre = draft.first;
    entity.radius = draft.radius;
    entity.start = draft.startDegrees * kRadiansPerDegree;
    entity.end = draft.endDegrees * kRadiansPerDegree;
  } else {
    return std::nullopt;
  }
  if (inObjectCoordinates && draft.extrusionZ < 0) MirrorX(entity);
  if (!AllFinite(entity)) throw Fault{draft.line, "座標が大きすぎます。"};
  return entity;
}

class Parser {
 public:
  explicit Parser(std::string_view bytes) : reader_(bytes) {}

  DxfContent Parse() {
    while (const std::optional<Pair> pair = reader_.Next()) {
      if (pair->code == 999) continue;
      if (pair->Is(0, "EOF")) return Finished();
      if (!pair->Is(0, "SECTION")) {
        throw Fault{pair->line, "セクションの外に読めないデータがあります。"};
      }
      const Pair name = reader_.Expect();
      if (name.code != 2) throw Fault{name.line, "セクション名がありません。"};
      Section(Trimmed(name.value));
    }
    throw Fault{reader_.LineNumber(), "ファイルが途中で終わっています (EOFがありません)。"};
  }

 private:
  void Section(std::string_view name) {
    if (name == "HEADER") {
      Header();
    } else if (name == "TABLES") {
      Tables();
    } else if (name == "ENTITIES") {
      Entities();
    } else {
      while (!EndOfSection(reader_.Expect())) {
      }
    }
  }

  static bool EndOfSection(const Pair& pair) { return pair.Is(0, "ENDSEC"); }

  void Header() {
    std::string_view variable;
    for (Pair pair = reader_.Expect(); !EndOfSection(pair); pair = reader_.Expect()) {
      if (pair.code == 9) {
        variable = Trimmed(pair.value);
      } else if (variable == "$ACADVER" && pair.code == 1) {
        version_ = std::string(Trimmed(pair.value));
      } else if (variable == "$DWGCODEPAGE" && pair.code == 3) {
        codePage_ = std::string(Trimmed(pair.value));
      }
    }
  }

  void Tables() {
    std::string_view table;
    std::string_view object;
    for (Pair pair = reader_.Expect(); !EndOfSection(pair); pair = reader_.Expect()) {
      if (pair.code == 0) {
        object = Trimmed(pair.value);
        if (object == "ENDTAB") table = {};
      } else if (pair.code == 2 && object == "TABLE") {
        table = Trimmed(pair.value);
      } else if (pair.code == 2 && object == "LAYER" && table == "LAYER") {
        LayerIndex(std::string(Trimmed(pair.value)));
      }
    }
  }

  void Entities() {
    Pair pair = reader_.Expect();
    while (!EndOfSection(pair)) {
      if (pair.code != 0) throw Fault{pair.line, "図形の始まりがありません。"};
      EntityDraft draft;
      draft.type = std::string(Trimmed(pair.value));
      draft.line = pair.line;
      pair = ReadEntityPairs(draft);
      if (draft.type == "POLYLINE") pair = ReadVertices(draft, pair);
      if (std::optional<DxfEntity> entity = Finish(draft)) {
        layers_[LayerIndex(draft.layer)].entities.push_back(std::move(*entity));
      }
    }
  }

  // Reads the pairs of one entity; returns the pair that begins the next one.
  Pair ReadEntityPairs(EntityDraft& draft) {
    for (Pair pair = reader_.Expect();; pair = reader_.Expect()) {
      if (pair.code == 0) return pair;
      draft.Take(pair);
    }
  }

  // The VERTEX entities after a POLYLINE up to its SEQEND; returns the pair after the SEQEND.
  Pair ReadVertices(EntityDraft& polyline, Pair pair) {
    while (pair.Is(0, "VERTEX")) {
      EntityDraft vertex;
      vertex.type = "VERTEX";
      vertex.line = pair.line;
      pair = ReadEntityPairs(vertex);
      if ((vertex.flags & kVertexFrameControl) == 0) {
        polyline.vertices.push_back({vertex.first, vertex.bulge});
      }
    }
    if (!pair.Is(0, "SEQEND")) throw Fault{pair.line, "POLYLINEの終わり (SEQEND) がありません。"};
    EntityDraft end;
    return ReadEntityPairs(end);
  }

  std::size_t LayerIndex(const std::string& raw) {
    const auto [found, added] = layerIndex_.try_emplace(raw, layers_.size());
    if (added) layers_.push_back({raw, {}});
    return found->second;
  }

  DxfContent Finished() {
    DxfContent content;
    content.version = version_;
    content.layers = std::move(layers_);
    for (DxfLayerContent& layer : content.layers) layer.name = DecodeText(layer.name);
    return content;
  }

  std::string DecodeText(std::string_view raw) const;

  PairReader reader_;
  std::string version_;
  std::string codePage_;
  std::vector<DxfLayerContent> layers_;
  std::unordered_map<std::string, std::size_t> layerIndex_;
};

bool IsUtf8Version(std::string_view version) {
  // AutoCAD versions compare as text: AC1021 (2007) and later hold UTF-8.
  return version.size() == 6 && version.starts_with("AC") && version >= "AC1021";
}

// "\U+XXXX" escapes to their characters.
std::string DecodeEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned code = 0;
    const bool escape = text.substr(i, 3) == "\\U+" && text.size() >= i + 7 &&
                        std::from_chars(text.data() + i + 3, text.data() + i + 7, code, 16).ptr ==
                            text.data() + i + 7;
    if (escape) {
      out += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(code)));
      i += 7;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string Parser::DecodeText(std::string_view raw) const {
  std::string utf8;
  if (IsUtf8Version(version_)) {
    utf8 = Utf16ToUtf8(Utf8ToUtf16(raw));  // malformed sequences become U+FFFD
  } else if (codePage_ == "ANSI_932") {
    utf8 = Cp932ToUtf8(raw);
  } else {
    const std::string number = codePage_.starts_with("ANSI_") ? codePage_.substr(5) : "1252";
    utf8 = SingleByteToUtf8(raw, ("CP" + number).c_str());
  }
  return DecodeEscapes(utf8);
}

}  // namespace

DxfReadResult ReadDxf(std::string_view bytes) {
  try {
    return Parser(bytes).Parse();
  } catch (const Fault& fault) {
    return DxfReadError{fault.line, fault.reason};
  }
}

DxfReadResult ReadDxfFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return DxfReadError{0, "ファイルを開けません。"};
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0) return DxfReadError{0, "ファイルを読めません。"};
  if (static_cast<std::size_t>(size) > kDxfMaxFileBytes) {
    return DxfReadError{0, "ファイルが大きすぎます。"};
  }
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) return DxfReadError{0, "ファイルを読めません。"};
  return ReadDxf(bytes);
}

std::string DxfReadErrorText(const DxfReadError& error) {
  std::string text = "DXFファイルとして読めません。\n";
  if (error.line > 0) text += std::to_string(error.line) + "行目: ";
  return text + error.reason;
}
