// The common terrain XML file of CZCmnStructure: the element tree each class writes and reads.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>

#include "core/base/AppIdentity.h"
#include "core/model/XmlNode.h"
#include "core/model/ZCmnStructure.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"

namespace {

constexpr char kRootTag[] = "ZELKO_APP_COMMON_DATASTRUCTURE";
constexpr char kNotTerrainData[] = "ZELKO共通地形データ(XML形式) に対応したデータではありません。";
constexpr char kFilter[] = "ZELKO共通地形データ(XML形式) (*.xml)|*.xml||";
// FILE_VERSION is written as this number with two decimals.
constexpr double kFileVersion = 1.4;
// Below this version the geology names were not written: they are taken from the feature names.
constexpr int kGeologyNameVersion = 120;
// In this version the case name was kept as the line name.
constexpr int kLineNameVersion = 100;
// A read version is kept within this magnitude; any higher version is read as the newest.
constexpr double kVersionLimit = 1e9;

// ---- Reading values: an empty word or one that does not start with a number leaves the target
// as it was. Leading blanks are skipped; what follows the number is ignored.

std::string_view SkipBlanks(std::string_view word) {
  const std::size_t first = word.find_first_not_of(" \t\r\n");
  return first == std::string_view::npos ? std::string_view() : word.substr(first);
}

// A number that does not fit a double (an infinity) is no number either.
void ParseDouble(std::string_view word, double& target) {
  const auto parsed = ParseDoublePrefix(SkipBlanks(word));
  if (parsed && std::isfinite(parsed->value)) target = parsed->value;
}

void ParseInt(std::string_view word, int& target) {
  if (const auto parsed = ParseIntPrefix(SkipBlanks(word))) target = parsed->value;
}

void ParseBool(std::string_view word, bool& target) {
  int value = target ? 1 : 0;
  ParseInt(word, value);
  target = value != 0;
}

// Hexadecimal as "%x" reads it: an optional "0x", then the digits.
void ParseColor(std::string_view word, std::uint32_t& target) {
  std::string_view digits = SkipBlanks(word);
  if (digits.starts_with("0x") || digits.starts_with("0X")) digits.remove_prefix(2);
  std::uint32_t value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (result.ec == std::errc()) target = value;
}

void ReadText(CXmlNode& parent, std::string_view tag, std::string& target) {
  parent.FindData(tag, target);
}

void ReadDouble(CXmlNode& parent, std::string_view tag, double& target) {
  std::string text;
  if (parent.FindData(tag, text)) ParseDouble(text, target);
}

void ReadInt(CXmlNode& parent, std::string_view tag, int& target) {
  std::string text;
  if (parent.FindData(tag, text)) ParseInt(text, target);
}

void ReadBool(CXmlNode& parent, std::string_view tag, bool& target) {
  std::string text;
  if (parent.FindData(tag, text)) ParseBool(text, target);
}

void ReadColor(CXmlNode& parent, std::string_view tag, std::uint32_t& target) {
  std::string text;
  if (parent.FindData(tag, text)) ParseColor(text, target);
}

// The first words of the list, as many as there are targets; words beyond them are ignored.
void ReadDoubles(CXmlNode& parent, std::string_view tag, std::initializer_list<double*> targets) {
  std::vector<std::string> words;
  parent.FindData(tag, words);
  const std::size_t n = std::min(words.size(), targets.size());
  for (std::size_t i = 0; i < n; ++i) ParseDouble(words[i], *targets.begin()[i]);
}

template <std::size_t N>
void ReadDoubles(CXmlNode& parent, std::string_view tag, std::array<double, N>& targets) {
  std::vector<std::string> words;
  parent.FindData(tag, words);
  const std::size_t n = std::min(words.size(), N);
  for (std::size_t i = 0; i < n; ++i) ParseDouble(words[i], targets[i]);
}

// ---- Writing values: an unset number is an empty word.

std::string Fixed(double value, int decimals) {
  return value == kNoValue ? std::string() : FormatFixed(value, decimals);
}

std::string Words(std::initializer_list<std::string> words) {
  std::string joined;
  for (const std::string& word : words) {
    if (&word != words.begin()) joined += ',';
    joined += word;
  }
  return joined;
}

template <std::size_t N>
std::string Words(const std::array<double, N>& values, int decimals) {
  std::string joined;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) joined += ',';
    joined += Fixed(values[i], decimals);
  }
  return joined;
}

// "%06x": at least six lower-case hexadecimal digits.
std::string Hex(std::uint32_t color) {
  char digits[8];
  const auto result = std::to_chars(std::begin(digits), std::end(digits), color, 16);
  const std::string text(digits, result.ptr);
  return std::string(text.size() < 6 ? 6 - text.size() : 0, '0') + text;
}

void WriteSetDouble(CXmlNode& parent, const std::string& tag, double value, int decimals) {
  if (value != kNoValue) parent.AddNodeData(tag, value, decimals);
}

}  // namespace

// ---- CZCmnVertex, CZCmnShape

void CZCmnVertex::ReadXML(const CXmlNode& vertex) {
  std::vector<std::string> words;
  vertex.GetDataWord(words);
  if (words.size() > 0) ParseInt(words[0], id_);
  if (words.size() > 1) ParseDouble(words[1], x_);
  if (words.size() > 2) ParseDouble(words[2], y_);
}

void CZCmnVertex::WriteXML(CXmlNode& list) const {
  if (id_ == -1) return;
  list.AddNodeData("VERTEX", Words({FormatInt(id_), Fixed(x_, 3), Fixed(y_, 3)}));
}

void CZCmnShape::ReadXMLElement(CXmlNode& element) {
  const std::string& tag = element.GetTag();
  if (tag == "ARC_TYPE") {
    ParseInt(element.GetDataWord(), arcType_);
  } else if (tag == "STRENGTH_TYPE") {
    ParseInt(element.GetDataWord(), strengthType_);
  } else if (tag == "ARC") {
    ReadDoubles(element, "CENTER_RADIUS", {&arc_[0], &arc_[1], &arc_[2]});
    ReadDoubles(element, "ANGLE", {&arc_[3], &arc_[4]});
  } else if (tag == "TEXT") {
    text_ = element.GetDataWord();
  }
}

void CZCmnShape::WriteXML(CXmlNode& shape) const {
  if (GetVertexNum() == -1) return;
  shape.AddNodeData("VERTEX_NUM", GetVertexNum());
  if (arcType_ != -1) shape.AddNodeData("ARC_TYPE", arcType_);
  if (strengthType_ != -1) shape.AddNodeData("STRENGTH_TYPE", strengthType_);
  const bool circle = arc_[0] != kNoValue && arc_[1] != kNoValue && arc_[2] != kNoValue;
  if (arcType_ == 0 && circle) {
    CXmlNode* arc = shape.AddNodeTag("ARC");
    arc->AddNodeData("CENTER_RADIUS",
                     Words({Fixed(arc_[0], 3), Fixed(arc_[1], 3), Fixed(arc_[2], 3)}));
    if (arc_[3] != kNoValue && arc_[4] != kNoValue) {
      arc->AddNodeData("ANGLE", Words({Fixed(arc_[3], 5), Fixed(arc_[4], 5)}));
    }
  }
  if (!text_.empty()) shape.AddNodeData("TEXT", text_);
}

// ---- CZCmnFeature

void CZCmnFeature::ReadXML(CXmlNode& feature) {
  ReadText(feature, "NAME", name_);
  ReadText(feature, "FEATURE_TYPE", type_);
  if (CXmlNode* property = feature.FindTag("PROPERTY")) ReadProperty(*property);
  if (CXmlNode* shape = feature.FindTag("SHAPE")) ReadShapes(*shape);
}

void CZCmnFeature::ReadProperty(CXmlNode& property) {
  if (!IsKnownType()) return;
  ReadColor(property, "LINE_COLOR", lineColor_);
  if (IsStratumPolygon() || IsStratumPolygonHara()) {
    ReadColor(property, "PAINT_COLOR", paintColor_);
    ReadDouble(property, "GAMMA_T", gammaT_);
    ReadDouble(property, "GAMMA_S", gammaS_);
    ReadDouble(property, "STRENGTH_C", c_);
    ReadDouble(property, "STRENGTH_PHI", phi_);
    ReadDouble(property, "MASATU_N", frictionN_);
    ReadDouble(property, "MASATU_TAUP", frictionTaup_);
    ReadBool(property, "TAUP_ONLY", taupOnly_);
    ReadText(property, "GEOLOGY_NAME", geology_);
  } else if (IsWater()) {
    ReadDouble(property, "GAMMA_W", gammaW_);
  } else if (IsLoad()) {
    ReadLoad(property);
  } else if (IsCartoon()) {
    if (property.FindTag("CARTOON_LINE") != nullptr) {
      cartoonKind_ = 0;
    } else if (property.FindTag("CARTOON_CIRCLE") != nullptr) {
      cartoonKind_ = 1;
      ReadDoubles(property, "CARTOON_CIRCLE", circle_);
    }
  }
}

// A concentrated load is read in the order it is written: position, further value, load value.
void CZCmnFeature::ReadLoad(CXmlNode& property) {
  if (property.FindTag("LOAD_DIST") != nullptr) {
    loadKind_ = 0;
    ReadDoubles(property, "LOAD_DIST", {&load_[0], &load_[1], &load_[2], &load_[3]});
  } else if (property.FindTag("LOAD_CONCENT") != nullptr) {
    loadKind_ = 1;
    ReadDoubles(property, "LOAD_CONCENT", {&load_[0], &load_[4], &load_[2]});
  }
  std::vector<std::string> words;
  property.FindData("LOAD_MODEL", words);
  for (std::size_t i = 0; i < std::min(words.size(), loadModel_.size()); ++i) {
    bool flag = loadModel_[i];
    ParseBool(words[i], flag);
    loadModel_[i] = flag;
  }
}

// Each "VERTEX_NUM" starts a shape, and the elements up to the next one fill it; elements before
// the first are passed over.
void CZCmnFeature::ReadShapes(CXmlNode& shape) {
  std::unique_ptr<CZCmnShape> current;
  for (CXmlNode* element = shape.GetFirstChild(); element != nullptr;
       element = shape.GetNextChild()) {
    if (element->GetTag() == "VERTEX_NUM") {
      if (current) shapes_.push_back(std::move(current));
      current = std::make_unique<CZCmnShape>();
      int id = -1;
      ParseInt(element->GetDataWord(), id);
      current->SetVertexNum(id);
    } else if (current) {
      current->ReadXMLElement(*element);
    }
  }
  if (current) shapes_.push_back(std::move(current));
}

void CZCmnFeature::WriteXML(CXmlNode& root) const {
  CXmlNode* feature = root.AddNodeTag("FEATURE");
  feature->AddNodeData("NAME", name_);
  feature->AddNodeData("FEATURE_TYPE", type_);
  WriteProperty(*feature->AddNodeTag("PROPERTY"));
  if (shapes_.empty()) return;
  CXmlNode* shape = feature->AddNodeTag("SHAPE");
  for (const auto& s : shapes_) s->WriteXML(*shape);
}

void CZCmnFeature::WriteProperty(CXmlNode& property) const {
  if (!IsKnownType()) return;
  property.AddNodeData("LINE_COLOR", Hex(lineColor_));
  if (IsStratumPolygon() || IsStratumPolygonHara()) {
    property.AddNodeData("PAINT_COLOR", Hex(paintColor_));
    WriteSetDouble(property, "GAMMA_T", gammaT_, 3);
    WriteSetDouble(property, "GAMMA_S", gammaS_, 3);
    WriteSetDouble(property, "STRENGTH_C", c_, 3);
    WriteSetDouble(property, "STRENGTH_PHI", phi_, 4);
    WriteSetDouble(property, "MASATU_N", frictionN_, 0);
    WriteSetDouble(property, "MASATU_TAUP", frictionTaup_, 3);
    property.AddNodeData("TAUP_ONLY", taupOnly_ ? 1 : 0);
    property.AddNodeData("GEOLOGY_NAME", geology_);
  } else if (IsWater()) {
    WriteSetDouble(property, "GAMMA_W", gammaW_, 3);
  } else if (IsLoad()) {
    WriteLoad(property);
  } else if (IsCartoonLine()) {
    property.AddNodeData("CARTOON_LINE", std::string());
  } else if (IsCartoonCircle() &&
             std::none_of(circle_.begin(), circle_.end(), [](double v) { return v == kNoValue; })) {
    property.AddNodeData("CARTOON_CIRCLE", Words(circle_, 3));
  }
}

void CZCmnFeature::WriteLoad(CXmlNode& property) const {
  const auto set = [this](std::size_t i) { return load_[i] != kNoValue; };
  if (IsLoadDist() && set(0) && set(1) && set(2) && set(3)) {
    property.AddNodeData("LOAD_DIST", Words({Fixed(load_[0], 3), Fixed(load_[1], 3),
                                             Fixed(load_[2], 2), Fixed(load_[3], 2)}));
  } else if (IsLoadConcent() && set(0) && set(2)) {
    property.AddNodeData("LOAD_CONCENT",
                         Words({Fixed(load_[0], 3), Fixed(load_[4], 1), Fixed(load_[2], 2)}));
  }
  property.AddNodeData("LOAD_MODEL",
                       Words({FormatInt(loadModel_[0] ? 1 : 0), FormatInt(loadModel_[1] ? 1 : 0),
                              FormatInt(loadModel_[2] ? 1 : 0)}));
}

// ---- CZCmnJobSite, CZCmnCondition

void CZCmnJobSite::ReadXML(CXmlNode& site, int version) {
  ReadText(site, "SITE_NAME", siteName_);
  ReadText(site, "LINE_NAME", lineName_);
  ReadText(site, "CASE_NAME", caseName_);
  ReadText(site, "NOTE", note_);
  if (CXmlNode* list = site.FindTag("COMMENT_LIST")) {
    std::size_t n = 0;
    for (CXmlNode* comment = list->GetFirstChild(); comment != nullptr && n < comments_.size();
         comment = list->GetNextChild()) {
      if (comment->GetTag() == "COMMENT") comments_[n++] = comment->GetDataWord();
    }
  }
  ReadDoubles(site, "AREA", area_);
  ReadDoubles(site, "GRID", grid_);
  ReadInt(site, "AUTOAREA", autoArea_);
  ReadDouble(site, "DELTAY", deltaY_);
  if (version == kLineNameVersion) caseName_ = lineName_;
}

void CZCmnJobSite::WriteXML(CXmlNode& site) const {
  site.AddNodeData("SITE_NAME", siteName_);
  site.AddNodeData("LINE_NAME", lineName_);
  site.AddNodeData("CASE_NAME", caseName_);
  site.AddNodeData("NOTE", note_);
  CXmlNode* list = site.AddNodeTag("COMMENT_LIST");
  for (const std::string& comment : comments_) list->AddNodeData("COMMENT", comment);
  site.AddNodeData("AREA", Words(area_, 3));
  site.AddNodeData("GRID", Words(grid_, 1));
  site.AddNodeData("AUTOAREA", autoArea_ != 0 ? 1 : 0);
  WriteSetDouble(site, "DELTAY", deltaY_, 1);
}

void CZCmnCondition::ReadXML(CXmlNode& cond) {
  ReadInt(cond, "QUAKEFLAG", quake_);
  ReadDoubles(cond, "FSP", {&fsp_, &fspQ_});
  ReadDouble(cond, "KH", kh_);
  ReadInt(cond, "QXMETHOD", method_);
}

void CZCmnCondition::WriteXML(CXmlNode& cond) const {
  cond.AddNodeData("QUAKEFLAG", quake_ != 0 ? 1 : 0);
  cond.AddNodeData("FSP", Words({Fixed(fsp_, 3), Fixed(fspQ_, 3)}));
  WriteSetDouble(cond, "KH", kh_, 3);
  cond.AddNodeData("QXMETHOD", method_ != 0 ? 1 : 0);
}

// ---- CZCmnStructure

bool CZCmnStructure::ReadXML(const std::string& folder) {
  FileDialogRequest request;
  request.filter = kFilter;
  request.defaultExtension = "xml";
  request.folder = folder;
  request.defaultName = "*.xml";
  const auto chosen = Ui().FileDialog(FileDialogKind::Open, request);
  return chosen && ReadXMLDirect(chosen->string());
}

bool CZCmnStructure::ReadXMLDirect(const std::string& path) {
  CXmlNode root;
  const bool read = root.OpenXml(path) ? ReadTree(root) : Refuse(root.GetError());
  if (!read) {
    Ui().MessageBox(error_, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return false;
  }
  path_ = path;
  return true;
}

bool CZCmnStructure::LoadDocument(std::string_view bytes) {
  CXmlNode root;
  return root.ReadXmlBytes(bytes) ? ReadTree(root) : Refuse(root.GetError());
}

bool CZCmnStructure::Refuse(const std::string& reason) {
  error_ = kNotTerrainData;
  if (!reason.empty()) error_ += "\n" + reason;
  return false;
}

// The structure takes the file's content only once the whole tree has been read; a file without
// conditions keeps the conditions the structure held.
bool CZCmnStructure::ReadTree(CXmlNode& root) {
  if (root.GetTag() != kRootTag) return Refuse({});
  CZCmnStructure read;
  read.cond_ = cond_;
  read.ReadHead(root);
  read.ReadApplication(root);
  if (CXmlNode* site = root.FindTag("SITE")) read.site_.ReadXML(*site, read.readVersion_);
  read.ReadVertices(root);
  read.ReadFeatures(root);
  if (CXmlNode* cond = root.FindTag("COND")) read.cond_.ReadXML(*cond);

  readVersion_ = read.readVersion_;
  appName_ = std::move(read.appName_);
  appVersion_ = std::move(read.appVersion_);
  appNote_ = std::move(read.appNote_);
  site_ = read.site_;
  vertices_ = std::move(read.vertices_);
  features_ = std::move(read.features_);
  cond_ = read.cond_;
  error_.clear();
  return true;
}

// The version is the number of FILE_VERSION times 100, rounded: 1.15 is version 115. Without a
// number the file is read as one of this writer's version.
void CZCmnStructure::ReadHead(CXmlNode& root) {
  double version = kNoValue;
  ReadDouble(root, "FILE_VERSION", version);
  if (version == kNoValue) return;
  const double hundredths = std::clamp(version * 100.0, -kVersionLimit, kVersionLimit);
  readVersion_ = static_cast<int>(std::lround(hundredths));
}

void CZCmnStructure::ReadApplication(CXmlNode& root) {
  CXmlNode* application = root.FindTag("APPLICATION");
  if (application == nullptr) return;
  ReadText(*application, "APP_NAME", appName_);
  ReadText(*application, "APP_VER", appVersion_);
  ReadText(*application, "NOTE", appNote_);
}

void CZCmnStructure::ReadVertices(CXmlNode& root) {
  CXmlNode* list = root.FindTag("VERTEX_LIST");
  if (list == nullptr) return;
  for (CXmlNode* element = list->GetFirstChild(); element != nullptr;
       element = list->GetNextChild()) {
    if (element->GetTag() != "VERTEX") continue;
    auto vertex = std::make_unique<CZCmnVertex>();
    vertex->ReadXML(*element);
    vertices_.push_back(std::move(vertex));
  }
}

void CZCmnStructure::ReadFeatures(CXmlNode& root) {
  for (CXmlNode* element = root.FindTag("FEATURE"); element != nullptr;
       element = element->GetTagBrother()) {
    auto feature = std::make_unique<CZCmnFeature>();
    feature->ReadXML(*element);
    if (readVersion_ < kGeologyNameVersion) feature->SetGeology(feature->GetName());
    features_.push_back(std::move(feature));
  }
}

bool CZCmnStructure::WriteXML(const std::string& folder) {
  FileDialogRequest request;
  request.filter = kFilter;
  request.defaultExtension = "xml";
  request.folder = folder;
  request.defaultName = "*.xml";
  const auto chosen = Ui().FileDialog(FileDialogKind::Save, request);
  if (!chosen) return false;
  if (WriteXMLDirect(chosen->string())) return true;
  Ui().MessageBox(error_, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
  return false;
}

bool CZCmnStructure::WriteXMLDirect(const std::string& path) {
  CXmlNode root;
  BuildTree(root);
  if (!root.FileSave(path)) {
    error_ = root.GetError();
    return false;
  }
  error_.clear();
  path_ = path;
  return true;
}

std::string CZCmnStructure::ToXmlBytes() const {
  CXmlNode root;
  BuildTree(root);
  return root.ToXmlBytes();
}

void CZCmnStructure::BuildTree(CXmlNode& root) const {
  root.SetTag(kRootTag, 1);
  root.AddNodeData("FILE_VERSION", kFileVersion, 2);
  CXmlNode* application = root.AddNodeTag("APPLICATION");
  application->AddNodeData("APP_NAME", appName_);
  application->AddNodeData("APP_VER", appVersion_);
  application->AddNodeData("NOTE", appNote_);
  site_.WriteXML(*root.AddNodeTag("SITE"));
  CXmlNode* list = root.AddNodeTag("VERTEX_LIST");
  for (const auto& vertex : vertices_) vertex->WriteXML(*list);
  for (const auto& feature : features_) feature->WriteXML(root);
  cond_.WriteXML(*root.AddNodeTag("COND"));
}
