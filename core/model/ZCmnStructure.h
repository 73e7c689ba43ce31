#pragma once
// The common terrain data: one cross-section in the form the maker's design programs exchange,
// independent of the case model. Features (ground, stratum lines and polygons, slide line, water
// line, loads, drawing marks) refer through their shapes to a shared list of numbered vertices;
// the site record and the stability conditions come with them. A CZCmnStructure lives for one
// import or export: it is filled from a case or from a file, and written to a file or read into a
// case. It is never stored in a document.
//
// Unset values are kNoValue; ids, kinds and types use -1 for none. Every list owns its entries and
// every add copies, so the caller keeps what it passes in.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Utility.h"

class CXmlNode;

// One numbered point; id -1 is not numbered and never written.
class CZCmnVertex {
 public:
  void Init() { *this = CZCmnVertex(); }
  void SetData(const CZCmnVertex& other) { *this = other; }
  void SetXY(int id, double x, double y);
  int GetNum() const { return id_; }
  void SetNum(int id) { id_ = id; }
  double GetX() const { return x_; }
  double GetY() const { return y_; }

  // Reads a "VERTEX" element: id, x and y joined by commas.
  void ReadXML(const CXmlNode& vertex);
  // Adds its "VERTEX" element to the list; a vertex without id adds nothing.
  void WriteXML(CXmlNode& list) const;

 private:
  int id_ = -1;
  double x_ = kNoValue;
  double y_ = kNoValue;
};

// One point of a feature with what leads on to the next point: the segment kind, its strength
// kind, an arc and a free label.
class CZCmnShape {
 public:
  // The arc values: centre x, centre y, radius, start angle, end angle.
  using Arc = std::array<double, 5>;

  void Init() { *this = CZCmnShape(); }
  void SetData(const CZCmnShape& other) { *this = other; }

  CZCmnVertex* GetVertex() { return &vertex_; }
  const CZCmnVertex* GetVertex() const { return &vertex_; }
  int GetVertexNum() const { return vertex_.GetNum(); }
  void SetVertexNum(int id) { vertex_.SetNum(id); }
  double GetVertexX() const { return vertex_.GetX(); }
  double GetVertexY() const { return vertex_.GetY(); }
  void SetVertex(int id, double x, double y) { vertex_.SetXY(id, x, y); }
  // Each set coordinate rounded to three decimals as the file writes it ("%.3lf" read back), so
  // that shapes are matched to vertices as the file will hold them; the id becomes -1.
  void SetVertexXY(double x, double y);

  void SetType(int arcType, int strengthType);
  void GetType(int& arcType, int& strengthType) const;
  void SetArc(double cx, double cy, double r);
  void SetArc(double cx, double cy, double r, double start, double end);
  void GetArc(double& cx, double& cy, double& r) const;
  void GetArc(double& cx, double& cy, double& r, double& start, double& end) const;
  void SetText(const std::string& text) { text_ = text; }
  const std::string& GetText() const { return text_; }

  // Takes one element of the run that follows the shape's "VERTEX_NUM" inside "SHAPE"
  // ("ARC_TYPE", "STRENGTH_TYPE", "ARC", "TEXT"); any other element is passed over.
  void ReadXMLElement(CXmlNode& element);
  // Adds its run of elements to "SHAPE"; a shape without vertex id adds nothing.
  void WriteXML(CXmlNode& shape) const;

 private:
  CZCmnVertex vertex_;
  int arcType_ = -1;
  int strengthType_ = -1;
  Arc arc_{kNoValue, kNoValue, kNoValue, kNoValue, kNoValue};
  std::string text_;
};

// One drawn object of the section.
class CZCmnFeature {
 public:
  CZCmnFeature() = default;
  CZCmnFeature(const CZCmnFeature& other) { SetData(other); }
  CZCmnFeature& operator=(const CZCmnFeature& other);

  void Init() { *this = CZCmnFeature(); }
  // Copies every field and replaces the shapes by copies of the other's.
  void SetData(const CZCmnFeature& other);

  // Setters by type: each sets the name, the type text and the colours it names.
  void SetGround(const std::string& name, std::uint32_t color);
  void SetGroundHara(const std::string& name, std::uint32_t color);
  void SetStratumLine(const std::string& name, std::uint32_t color);
  void SetStratumPolygon(const std::string& name, const std::string& geology,
                         std::uint32_t lineColor, std::uint32_t paintColor);
  void SetStratumPolygonHara(const std::string& name, const std::string& geology,
                             std::uint32_t lineColor, std::uint32_t paintColor);
  void SetSlide(const std::string& name, std::uint32_t color);
  void SetWater(const std::string& name, std::uint32_t color, double gammaW);
  void SetLoad(const std::string& name, std::uint32_t color);
  void SetTeikyaku(const std::string& name, std::uint32_t color);
  void SetCartoon(const std::string& name, std::uint32_t color);

  // The soil values of a stratum polygon (of either kind).
  void SetStratumProp(double gammaT, double gammaS, double c, double phi, double frictionN,
                      double frictionTaup, bool taupOnly);
  void GetStratumProp(double& gammaT, double& gammaS, double& c, double& phi, double& frictionN,
                      double& frictionTaup, bool& taupOnly) const;
  // Load kind 0 with the four values.
  void SetLoadDist(double x1, double x2, double q1, double q2);
  void GetLoadDist(double& x1, double& x2, double& q1, double& q2) const;
  // Load kind 1: the position, the load value and a further value, kept as load values 1, 3, 5.
  void SetLoadConcent(double position, double load, double further);
  void GetLoadConcent(double& position, double& load, double& further) const;
  void SetLoadModel(bool a, bool b, bool c);
  void GetLoadModel(bool& a, bool& b, bool& c) const;
  void SetCartoonLine() { cartoonKind_ = 0; }
  void SetCartoonCircle(double x, double y, double r);
  void GetCartoonCircle(double& x, double& y, double& r) const;
  void SetGeology(const std::string& geology) { geology_ = geology; }
  const std::string& GetGeology() const { return geology_; }

  // Getters by type: name and line colour (polygons: also geology and paint colour, water: also
  // its unit weight). They read the fields whatever the type.
  void GetGround(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetGroundHara(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetStratumLine(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetSlide(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetLoad(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetTeikyaku(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetCartoon(std::string& name, std::uint32_t& color) const { GetLine(name, color); }
  void GetStratumPolygon(std::string& name, std::string& geology, std::uint32_t& lineColor,
                         std::uint32_t& paintColor) const;
  void GetStratumPolygonHara(std::string& name, std::string& geology, std::uint32_t& lineColor,
                             std::uint32_t& paintColor) const {
    GetStratumPolygon(name, geology, lineColor, paintColor);
  }
  void GetWater(std::string& name, std::uint32_t& color, double& gammaW) const;
  const std::string& GetName() const { return name_; }
  const std::string& GetType() const { return type_; }

  // Type tests compare the type text exactly.
  bool IsGround() const;
  bool IsGroundHara() const;
  bool IsStratumLine() const;
  bool IsStratumPolygon() const;
  bool IsStratumPolygonHara() const;
  bool IsSlide() const;
  bool IsWater() const;
  bool IsTeikyaku() const;
  bool IsLoadDist() const;
  bool IsLoadConcent() const;
  bool IsCartoonLine() const;
  bool IsCartoonCircle() const;

  // Appends a copy; gives its index.
  int AddNewShape(const CZCmnShape& shape);
  // Null outside 0..size-1.
  CZCmnShape* GetAtShape(int index);
  const CZCmnShape* GetAtShape(int index) const;
  int GetSizeShape() const { return static_cast<int>(shapes_.size()); }
  void RemoveShape() { shapes_.clear(); }

  // Reads a "FEATURE" element; the read version decides nothing here.
  void ReadXML(CXmlNode& feature);
  // Adds its "FEATURE" element to the root.
  void WriteXML(CXmlNode& root) const;

 private:
  static constexpr int kLoadValues = 5;

  void SetTyped(std::string_view type, const std::string& name, std::uint32_t lineColor);
  void SetTypedPolygon(std::string_view type, const std::string& name, const std::string& geology,
                       std::uint32_t lineColor, std::uint32_t paintColor);
  void GetLine(std::string& name, std::uint32_t& color) const;
  bool IsLoad() const;
  bool IsCartoon() const;
  // One of the types the file gives properties to.
  bool IsKnownType() const;
  void ReadProperty(CXmlNode& property);
  void ReadLoad(CXmlNode& property);
  void ReadShapes(CXmlNode& shape);
  void WriteProperty(CXmlNode& property) const;
  void WriteLoad(CXmlNode& property) const;

  std::string name_;
  std::string type_;
  std::string geology_;
  std::uint32_t lineColor_ = 0;
  std::uint32_t paintColor_ = 0xFFFFFF;
  double gammaT_ = kNoValue;
  double gammaS_ = kNoValue;
  double c_ = kNoValue;
  double phi_ = kNoValue;
  double gammaW_ = kNoValue;
  bool taupOnly_ = false;
  double frictionN_ = kNoValue;
  double frictionTaup_ = kNoValue;
  int loadKind_ = -1;
  std::array<double, kLoadValues> load_{kNoValue, kNoValue, kNoValue, kNoValue, kNoValue};
  std::array<bool, 3> loadModel_{true, true, true};
  int cartoonKind_ = -1;
  std::array<double, 3> circle_{kNoValue, kNoValue, kNoValue};
  std::vector<std::unique_ptr<CZCmnShape>> shapes_;
};

// The site record.
class CZCmnJobSite {
 public:
  static constexpr int kComments = 10;

  void Init() { *this = CZCmnJobSite(); }
  const std::string& GetSiteName() const { return siteName_; }
  void SetSiteName(const std::string& text) { siteName_ = text; }
  const std::string& GetLineName() const { return lineName_; }
  void SetLineName(const std::string& text) { lineName_ = text; }
  const std::string& GetCaseName() const { return caseName_; }
  void SetCaseName(const std::string& text) { caseName_ = text; }
  const std::string& GetSiteNote() const { return note_; }
  void SetSiteNote(const std::string& text) { note_ = text; }
  // Comment lines 0..9; empty text outside, and a set outside changes nothing.
  std::string GetComment(int i) const;
  void SetComment(int i, const std::string& text);
  void GetSiteArea(double& x1, double& x2, double& y1, double& y2) const;
  void SetSiteArea(double x1, double x2, double y1, double y2);
  void GetSiteGrid(double& g1, double& g2, double& g3, double& g4) const;
  void SetSiteGrid(double g1, double g2, double g3, double g4);
  // The automatic-area flag as 0 or 1, and the depth below.
  void GetSiteAutoGrid(int& flag, double& deltaY) const;
  void SetSiteAutoGrid(int flag, double deltaY);

  // Reads the children of a "SITE" element; the case name becomes the line name for version 100.
  void ReadXML(CXmlNode& site, int version);
  // Writes its children into the "SITE" element.
  void WriteXML(CXmlNode& site) const;

 private:
  std::string siteName_;
  std::string lineName_;
  std::string caseName_;
  std::string note_;
  std::array<std::string, kComments> comments_;
  int autoArea_ = 0;
  double deltaY_ = kNoValue;
  std::array<double, 4> area_{kNoValue, kNoValue, kNoValue, kNoValue};
  std::array<double, 4> grid_{kNoValue, kNoValue, kNoValue, kNoValue};
};

// The stability conditions.
class CZCmnCondition {
 public:
  void Init() { *this = CZCmnCondition(); }
  // 1 when the quake flag is exactly 1, else 0.
  int GetQuake() const { return quake_ == 1 ? 1 : 0; }
  void SetQuake(int flag) { quake_ = flag; }
  // 1 when the method flag is exactly 1, else 0.
  int GetQXMethod() const { return method_ == 1 ? 1 : 0; }
  void SetQXMethod(int flag) { method_ = flag; }
  double GetFsp() const { return fsp_; }
  void SetFsp(double fs) { fsp_ = fs; }
  double GetFspQ() const { return fspQ_; }
  void SetFspQ(double fs) { fspQ_ = fs; }
  double GetKh() const { return kh_; }
  void SetKh(double kh) { kh_ = kh; }

  // Reads the children of a "COND" element.
  void ReadXML(CXmlNode& cond);
  // Writes its children into the "COND" element.
  void WriteXML(CXmlNode& cond) const;

 private:
  int quake_ = 0;
  double fsp_ = kNoValue;
  double fspQ_ = kNoValue;
  double kh_ = kNoValue;
  int method_ = 0;
};

// One section in the common terrain form, with its file.
class CZCmnStructure {
 public:
  // The version a file of this writer carries (FILE_VERSION 1.40).
  static constexpr int kWriteVersion = 140;

  CZCmnStructure() = default;
  CZCmnStructure(const CZCmnStructure&) = delete;
  CZCmnStructure& operator=(const CZCmnStructure&) = delete;

  // Empties everything but the condition record.
  void Init();
  void SetApp(const std::string& name, const std::string& version, const std::string& note);
  void GetApp(std::string& name, std::string& version, std::string& note) const;
  void SetSite(const CZCmnJobSite& site) { site_ = site; }
  void GetSite(CZCmnJobSite& site) const { site = site_; }
  void SetCond(const CZCmnCondition& cond) { cond_ = cond; }
  void GetCond(CZCmnCondition& cond) const { cond = cond_; }

  int AddNewVertex(const CZCmnVertex& vertex);
  CZCmnVertex* GetAtVertex(int index);
  const CZCmnVertex* GetAtVertex(int index) const;
  int GetSizeVertex() const { return static_cast<int>(vertices_.size()); }
  void RemoveVertex() { vertices_.clear(); }
  int AddNewFeature(const CZCmnFeature& feature);
  CZCmnFeature* GetAtFeature(int index);
  const CZCmnFeature* GetAtFeature(int index) const;
  int GetSizeFeature() const { return static_cast<int>(features_.size()); }
  void RemoveFeature() { features_.clear(); }

  // Numbers the vertices anew: every shape of every feature, in order, gets the index of the
  // first vertex within the same-point tolerance of its coordinates, or a new vertex.
  void MakeVertex();
  // The index of the first vertex closer than 1e-4 in x and in y; -1 when there is none.
  int FindSameXY(double x, double y) const;

  int GetReadVersion() const { return readVersion_; }
  const std::string& GetXmlFile() const { return path_; }

  // ---- The file

  // Lets the user choose a file in the folder and reads it; false when the dialog is cancelled or
  // the file is refused (with a message).
  bool ReadXML(const std::string& folder);
  // Reads the file; a file that cannot be read, is not well-formed in the node tree's subset, or
  // whose root is not the common terrain root is refused with a message box and changes nothing.
  // On success the structure holds the file's content and the path becomes the file path.
  bool ReadXMLDirect(const std::string& path);
  // The reading of ReadXMLDirect over a whole file held in memory, without message and without
  // changing the file path; on failure GetError says why.
  bool LoadDocument(std::string_view bytes);
  // Lets the user choose a file in the folder and writes it; nothing on cancel; a file that cannot
  // be written is reported in a message box and gives false.
  bool WriteXML(const std::string& folder);
  // Writes the file; on success the path becomes the file path. Run MakeVertex first.
  bool WriteXMLDirect(const std::string& path);
  // The bytes WriteXMLDirect writes.
  std::string ToXmlBytes() const;
  // Why the last read or write failed; empty after a success.
  const std::string& GetError() const { return error_; }

 private:
  // Reads a parsed file into a fresh structure and takes it over; false, with the error set and
  // nothing changed, when the root is not the common terrain root.
  bool ReadTree(CXmlNode& root);
  // Sets the error for a refused file and gives false.
  bool Refuse(const std::string& reason);
  void ReadHead(CXmlNode& root);
  void ReadApplication(CXmlNode& root);
  void ReadVertices(CXmlNode& root);
  void ReadFeatures(CXmlNode& root);
  void BuildTree(CXmlNode& root) const;

  std::string path_;
  int readVersion_ = kWriteVersion;
  std::string appName_;
  std::string appVersion_;
  std::string appNote_;
  CZCmnJobSite site_;
  std::vector<std::unique_ptr<CZCmnVertex>> vertices_;
  std::vector<std::unique_ptr<CZCmnFeature>> features_;
  CZCmnCondition cond_;
  std::string error_;
};
