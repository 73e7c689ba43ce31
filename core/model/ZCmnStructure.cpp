// The common terrain data model; its file is in ZCmnStructureXml.cpp.

#include "core/model/ZCmnStructure.h"

#include <cmath>

#include "core/base/Constants.h"
#include "platform/NumberText.h"

namespace {

constexpr char kGround[] = "FT_GROUND";
constexpr char kGroundHara[] = "FT_GROUND_HARA";
constexpr char kStratumLine[] = "FT_STRATUM_LINE";
constexpr char kStratumPolygon[] = "FT_STRATUM_POLYGON";
constexpr char kStratumPolygonHara[] = "FT_STRATUM_POLYGON_HARA";
constexpr char kSlide[] = "FT_SLIDE";
constexpr char kWater[] = "FT_WATERLINE";
constexpr char kLoad[] = "FT_LOAD";
constexpr char kTeikyaku[] = "FT_TEITYAKU";
constexpr char kCartoon[] = "FT_CARTOON";

// The value as the file holds it: formatted with three decimals and read back.
double ThreeDecimals(double value) {
  if (value == kNoValue) return value;
  const std::string text = FormatFixed(value, 3);
  const auto parsed = ParseDoublePrefix(text);
  return parsed ? parsed->value : value;
}

template <class T>
T* At(const std::vector<std::unique_ptr<T>>& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
  return list[static_cast<std::size_t>(index)].get();
}

template <class T>
int Append(std::vector<std::unique_ptr<T>>& list, const T& item) {
  list.push_back(std::make_unique<T>(item));
  return static_cast<int>(list.size()) - 1;
}

}  // namespace

// ---- CZCmnVertex, CZCmnShape

void CZCmnVertex::SetXY(int id, double x, double y) {
  id_ = id;
  x_ = x;
  y_ = y;
}

void CZCmnShape::SetVertexXY(double x, double y) {
  vertex_.SetXY(-1, ThreeDecimals(x), ThreeDecimals(y));
}

void CZCmnShape::SetType(int arcType, int strengthType) {
  arcType_ = arcType;
  strengthType_ = strengthType;
}

void CZCmnShape::GetType(int& arcType, int& strengthType) const {
  arcType = arcType_;
  strengthType = strengthType_;
}

void CZCmnShape::SetArc(double cx, double cy, double r) {
  arc_[0] = cx;
  arc_[1] = cy;
  arc_[2] = r;
}

void CZCmnShape::SetArc(double cx, double cy, double r, double start, double end) {
  arc_ = {cx, cy, r, start, end};
}

void CZCmnShape::GetArc(double& cx, double& cy, double& r) const {
  cx = arc_[0];
  cy = arc_[1];
  r = arc_[2];
}

void CZCmnShape::GetArc(double& cx, double& cy, double& r, double& start, double& end) const {
  GetArc(cx, cy, r);
  start = arc_[3];
  end = arc_[4];
}

// ---- CZCmnFeature

CZCmnFeature& CZCmnFeature::operator=(const CZCmnFeature& other) {
  SetData(other);
  return *this;
}

void CZCmnFeature::SetData(const CZCmnFeature& other) {
  if (&other == this) return;
  name_ = other.name_;
  type_ = other.type_;
  geology_ = other.geology_;
  lineColor_ = other.lineColor_;
  paintColor_ = other.paintColor_;
  gammaT_ = other.gammaT_;
  gammaS_ = other.gammaS_;
  c_ = other.c_;
  phi_ = other.phi_;
  gammaW_ = other.gammaW_;
  taupOnly_ = other.taupOnly_;
  frictionN_ = other.frictionN_;
  frictionTaup_ = other.frictionTaup_;
  loadKind_ = other.loadKind_;
  load_ = other.load_;
  loadModel_ = other.loadModel_;
  cartoonKind_ = other.cartoonKind_;
  circle_ = other.circle_;
  shapes_.clear();
  for (const auto& shape : other.shapes_) AddNewShape(*shape);
}

void CZCmnFeature::SetTyped(std::string_view type, const std::string& name,
                            std::uint32_t lineColor) {
  type_ = type;
  name_ = name;
  lineColor_ = lineColor;
}

void CZCmnFeature::SetGround(const std::string& name, std::uint32_t color) {
  SetTyped(kGround, name, color);
}

void CZCmnFeature::SetGroundHara(const std::string& name, std::uint32_t color) {
  SetTyped(kGroundHara, name, color);
}

void CZCmnFeature::SetStratumLine(const std::string& name, std::uint32_t color) {
  SetTyped(kStratumLine, name, color);
}

void CZCmnFeature::SetTypedPolygon(std::string_view type, const std::string& name,
                                   const std::string& geology, std::uint32_t lineColor,
                                   std::uint32_t paintColor) {
  SetTyped(type, name, lineColor);
  geology_ = geology;
  paintColor_ = paintColor;
}

void CZCmnFeature::SetStratumPolygon(const std::string& name, const std::string& geology,
                                     std::uint32_t lineColor, std::uint32_t paintColor) {
  SetTypedPolygon(kStratumPolygon, name, geology, lineColor, paintColor);
}

void CZCmnFeature::SetStratumPolygonHara(const std::string& name, const std::string& geology,
                                         std::uint32_t lineColor, std::uint32_t paintColor) {
  SetTypedPolygon(kStratumPolygonHara, name, geology, lineColor, paintColor);
}

void CZCmnFeature::SetSlide(const std::string& name, std::uint32_t color) {
  SetTyped(kSlide, name, color);
}

void CZCmnFeature::SetWater(const std::string& name, std::uint32_t color, double gammaW) {
  SetTyped(kWater, name, color);
  gammaW_ = gammaW;
}

void CZCmnFeature::SetLoad(const std::string& name, std::uint32_t color) {
  SetTyped(kLoad, name, color);
}

void CZCmnFeature::SetTeikyaku(const std::string& name, std::uint32_t color) {
  SetTyped(kTeikyaku, name, color);
}

void CZCmnFeature::SetCartoon(const std::string& name, std::uint32_t color) {
  SetTyped(kCartoon, name, color);
}

void CZCmnFeature::SetStratumProp(double gammaT, double gammaS, double c, double phi,
                                  double frictionN, double frictionTaup, bool taupOnly) {
  gammaT_ = gammaT;
  gammaS_ = gammaS;
  c_ = c;
  phi_ = phi;
  frictionN_ = frictionN;
  frictionTaup_ = frictionTaup;
  taupOnly_ = taupOnly;
}

void CZCmnFeature::GetStratumProp(double& gammaT, double& gammaS, double& c, double& phi,
                                  double& frictionN, double& frictionTaup, bool& taupOnly) const {
  gammaT = gammaT_;
  gammaS = gammaS_;
  c = c_;
  phi = phi_;
  frictionN = frictionN_;
  frictionTaup = frictionTaup_;
  taupOnly = taupOnly_;
}

void CZCmnFeature::SetLoadDist(double x1, double x2, double q1, double q2) {
  loadKind_ = 0;
  load_[0] = x1;
  load_[1] = x2;
  load_[2] = q1;
  load_[3] = q2;
}

void CZCmnFeature::GetLoadDist(double& x1, double& x2, double& q1, double& q2) const {
  x1 = load_[0];
  x2 = load_[1];
  q1 = load_[2];
  q2 = load_[3];
}

void CZCmnFeature::SetLoadConcent(double position, double load, double further) {
  loadKind_ = 1;
  load_[0] = position;
  load_[2] = load;
  load_[4] = further;
}

void CZCmnFeature::GetLoadConcent(double& position, double& load, double& further) const {
  position = load_[0];
  load = load_[2];
  further = load_[4];
}

void CZCmnFeature::SetLoadModel(bool a, bool b, bool c) { loadModel_ = {a, b, c}; }

void CZCmnFeature::GetLoadModel(bool& a, bool& b, bool& c) const {
  a = loadModel_[0];
  b = loadModel_[1];
  c = loadModel_[2];
}

void CZCmnFeature::SetCartoonCircle(double x, double y, double r) {
  cartoonKind_ = 1;
  circle_ = {x, y, r};
}

void CZCmnFeature::GetCartoonCircle(double& x, double& y, double& r) const {
  x = circle_[0];
  y = circle_[1];
  r = circle_[2];
}

void CZCmnFeature::GetLine(std::string& name, std::uint32_t& color) const {
  name = name_;
  color = lineColor_;
}

void CZCmnFeature::GetStratumPolygon(std::string& name, std::string& geology,
                                     std::uint32_t& lineColor, std::uint32_t& paintColor) const {
  GetLine(name, lineColor);
  geology = geology_;
  paintColor = paintColor_;
}

void CZCmnFeature::GetWater(std::string& name, std::uint32_t& color, double& gammaW) const {
  GetLine(name, color);
  gammaW = gammaW_;
}

bool CZCmnFeature::IsGround() const { return type_ == kGround; }
bool CZCmnFeature::IsGroundHara() const { return type_ == kGroundHara; }
bool CZCmnFeature::IsStratumLine() const { return type_ == kStratumLine; }
bool CZCmnFeature::IsStratumPolygon() const { return type_ == kStratumPolygon; }
bool CZCmnFeature::IsStratumPolygonHara() const { return type_ == kStratumPolygonHara; }
bool CZCmnFeature::IsSlide() const { return type_ == kSlide; }
bool CZCmnFeature::IsWater() const { return type_ == kWater; }
bool CZCmnFeature::IsTeikyaku() const { return type_ == kTeikyaku; }
bool CZCmnFeature::IsLoad() const { return type_ == kLoad; }
bool CZCmnFeature::IsCartoon() const { return type_ == kCartoon; }
bool CZCmnFeature::IsKnownType() const {
  return IsGround() || IsGroundHara() || IsStratumLine() || IsStratumPolygon() ||
         IsStratumPolygonHara() || IsSlide() || IsWater() || IsLoad() || IsTeikyaku() ||
         IsCartoon();
}
bool CZCmnFeature::IsLoadDist() const { return IsLoad() && loadKind_ == 0; }
bool CZCmnFeature::IsLoadConcent() const { return IsLoad() && loadKind_ == 1; }
bool CZCmnFeature::IsCartoonLine() const { return IsCartoon() && cartoonKind_ == 0; }
bool CZCmnFeature::IsCartoonCircle() const { return IsCartoon() && cartoonKind_ == 1; }

int CZCmnFeature::AddNewShape(const CZCmnShape& shape) { return Append(shapes_, shape); }

CZCmnShape* CZCmnFeature::GetAtShape(int index) { return At(shapes_, index); }

const CZCmnShape* CZCmnFeature::GetAtShape(int index) const { return At(shapes_, index); }

// ---- CZCmnJobSite

std::string CZCmnJobSite::GetComment(int i) const {
  if (i < 0 || i >= kComments) return {};
  return comments_[static_cast<std::size_t>(i)];
}

void CZCmnJobSite::SetComment(int i, const std::string& text) {
  if (i < 0 || i >= kComments) return;
  comments_[static_cast<std::size_t>(i)] = text;
}

void CZCmnJobSite::GetSiteArea(double& x1, double& x2, double& y1, double& y2) const {
  x1 = area_[0];
  x2 = area_[1];
  y1 = area_[2];
  y2 = area_[3];
}

void CZCmnJobSite::SetSiteArea(double x1, double x2, double y1, double y2) {
  area_ = {x1, x2, y1, y2};
}

void CZCmnJobSite::GetSiteGrid(double& g1, double& g2, double& g3, double& g4) const {
  g1 = grid_[0];
  g2 = grid_[1];
  g3 = grid_[2];
  g4 = grid_[3];
}

void CZCmnJobSite::SetSiteGrid(double g1, double g2, double g3, double g4) {
  grid_ = {g1, g2, g3, g4};
}

void CZCmnJobSite::GetSiteAutoGrid(int& flag, double& deltaY) const {
  flag = autoArea_ != 0 ? 1 : 0;
  deltaY = deltaY_;
}

void CZCmnJobSite::SetSiteAutoGrid(int flag, double deltaY) {
  autoArea_ = flag;
  deltaY_ = deltaY;
}

// ---- CZCmnStructure

void CZCmnStructure::Init() {
  path_.clear();
  readVersion_ = kWriteVersion;
  appName_.clear();
  appVersion_.clear();
  appNote_.clear();
  site_.Init();
  vertices_.clear();
  features_.clear();
}

void CZCmnStructure::SetApp(const std::string& name, const std::string& version,
                            const std::string& note) {
  appName_ = name;
  appVersion_ = version;
  appNote_ = note;
}

void CZCmnStructure::GetApp(std::string& name, std::string& version, std::string& note) const {
  name = appName_;
  version = appVersion_;
  note = appNote_;
}

int CZCmnStructure::AddNewVertex(const CZCmnVertex& vertex) { return Append(vertices_, vertex); }

CZCmnVertex* CZCmnStructure::GetAtVertex(int index) { return At(vertices_, index); }

const CZCmnVertex* CZCmnStructure::GetAtVertex(int index) const { return At(vertices_, index); }

int CZCmnStructure::AddNewFeature(const CZCmnFeature& feature) {
  return Append(features_, feature);
}

CZCmnFeature* CZCmnStructure::GetAtFeature(int index) { return At(features_, index); }

const CZCmnFeature* CZCmnStructure::GetAtFeature(int index) const { return At(features_, index); }

void CZCmnStructure::MakeVertex() {
  vertices_.clear();
  for (const auto& feature : features_) {
    for (int s = 0; s < feature->GetSizeShape(); ++s) {
      CZCmnShape& shape = *feature->GetAtShape(s);
      const double x = shape.GetVertexX();
      const double y = shape.GetVertexY();
      int id = FindSameXY(x, y);
      if (id < 0) {
        id = GetSizeVertex();
        CZCmnVertex vertex;
        vertex.SetXY(id, x, y);
        AddNewVertex(vertex);
      }
      shape.SetVertexNum(id);
    }
  }
}

int CZCmnStructure::FindSameXY(double x, double y) const {
  for (int i = 0; i < GetSizeVertex(); ++i) {
    const CZCmnVertex& v = *vertices_[static_cast<std::size_t>(i)];
    if (std::fabs(v.GetX() - x) < kSamePoint && std::fabs(v.GetY() - y) < kSamePoint) return i;
  }
  return -1;
}
