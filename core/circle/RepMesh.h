#pragma once
// The result mesh of a circle search: one node point per trial centre, by column (x) and row (y)
// as the centre mesh lays them out. It builds the serial list of results under a key, finds the
// representative circle of every centre, traces the contour map of the chosen quantity over the
// centres (lines, or bands painted in the key's colour scale) and draws circles and contours.

#include <array>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "core/circle/RepContours.h"
#include "core/circle/RepPoint.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"

class Archive;
class CArcSetRadius;
class CRepKey;
class CRepKeyHokyo;
class CViewInfo;

class CRepMesh {
 public:
  // The four corner nodes of one cell, in the order (j, i), (j+1, i), (j+1, i+1), (j, i+1).
  using Cell = std::array<const CRepPoint*, 4>;
  using SerialList = std::vector<CRepPoint*>;
  // A contour segment from one crossing of a cell's sides to another.
  using Segment = std::pair<CDPoint, CDPoint>;

  CRepMesh() = default;
  CRepMesh(int nx, int ny) { SetSize(nx, ny); }
  CRepMesh(const CRepMesh&) = delete;
  CRepMesh& operator=(const CRepMesh&) = delete;

  void Init() {
    RemoveAll();
    RemoveContour();
  }
  // nx columns of ny empty nodes.
  void SetSize(int nx, int ny);
  // Deletes every node; no current point.
  void RemoveAll();
  void RemoveContour() { contours_.reset(); }

  // Index out of range: std::out_of_range. The node may be null.
  CRepPoint* GetRepPoint(int i, int j) const;
  void SetRepPoint(int i, int j, std::shared_ptr<CRepPoint> point);
  int GetSizeX() const { return sizeX_; }
  int GetSizeY() const { return sizeY_; }
  int GetTotalSize() const { return totalSize_; }
  int GetRepType() const { return repType_; }
  void SetRepType(int type) { repType_ = type; }
  void SetInterrupt(bool on) { interrupt_ = on; }
  bool IsInterrupt() const { return interrupt_; }
  void SetCurrentPoint(const CRepPoint* point) { current_ = point; }
  const CRepContours* GetContours() const { return contours_.get(); }
  int GetContourCode() const { return contourCode_; }
  // The ground of the search rises to the right: decides how the four crossings of a saddle
  // cell pair up. The run that fills the mesh sets it.
  bool IsRightUp() const { return rightUp_; }
  void SetRightUp(bool rightUp) { rightUp_ = rightUp; }
  // Draws the marked circles (DrawArc).
  int IsDrawEnko() const { return drawEnko_; }
  void SetDrawEnko(int on) { drawEnko_ = on; }

  // One node per centre of the set's mesh (the last column and row on the range's ends), or for
  // the set through two points one node per trial radius at its circle's centre; the nodes are
  // made in one block that they share.
  void CreateResultPoint(const CArcSetRadius& set);
  void CreateResultPointPass2(const CArcSetRadius& set);

  // The results listed under the key; returns the list's length.
  int SerialCopy(SerialList& list, const CRepKey* key);
  int SerialCopy(SerialList& list, const CRepKeyHokyo* key);
  // Appends every child with a selection mark; returns the list's length.
  int SerialCurrentChoice(SerialList& list) const;
  // Clears the marks of every marked child that is not in the list.
  void CheckOffHideRes(const SerialList& list) const;
  // The smallest / largest value of the result kind over the nodes; 9e32 / -9e32 for none.
  double GetMinVal(int kind) const;
  double GetMaxVal(int kind) const;
  void SetTypicalPoint(const CRepKey& key);
  // The first node (columns outer, rows inner) at the point.
  bool Find(const CDPoint& p, int& i, int& j, CRepPoint*& node) const;
  bool IsSucceed() const;
  // A deep copy of the other's nodes and ground direction; key, type, interrupt flag and
  // contours are not copied.
  void CopyData(const CRepMesh& other);

  // Chooses the representatives under the key and traces its contour map; null (and no map)
  // for a pitch not above 0.
  const CRepContours* CreateContour(const CRepKey& key);
  std::unique_ptr<CRepContours> ContourPrimitive(int paint, double pitch) const;
  void ContourGridPrimLine(double pitch, const Cell& cell, CRepContours& out) const;
  // The segments of one level in one cell, in out's front; returns their number (0, 1 or 2).
  int ContourGridPrimOne(double level, const Cell& cell, std::array<Segment, 2>& out) const;

  void Draw(CViewInfo* view, bool lines, bool labels) const;
  void DrawArc(CViewInfo* view) const;
  void DrawContour(CViewInfo* view, bool lines, bool labels) const;

  // Record: nx, ny, then every node, columns outer; a null node is stored as an empty point.
  // Load reads the whole record before it changes anything.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

 private:
  // The working storage of painting one cell after another, kept from cell to cell: the cell's
  // outline followed by the cell's contour lines, and the points of the outline and the lines with
  // their values.
  struct PaintStorage {
    struct Recorded {
      CDPoint p;
      double value;
    };
    CDPolyArray work;
    std::vector<Recorded> recorded;
    // Puts the cell's outline, alone, at the front of work.
    void StartCell(const Cell& cell);
  };

  // The bands of one cell painted into out.
  void ContourGridPrimPaint(double pitch, const Cell& cell, CRepContours& out,
                            PaintStorage& storage) const;
  // Visits the nodes by rows (outer) and columns (inner), skipping empty ones.
  template <class Visit>
  void ForEachNodeByRows(Visit visit) const;
  // The per-centre choices of the listing for one node.
  void AppendChoices(const CRepPoint& node, const CRepKey& key, SerialList& list) const;
  // Steps 5 and 6 of the listing: the marked circles, then the marks of hidden ones cleared.
  int FinishSerial(SerialList& list, const CRepKey* key) const;
  // The first level of a cell's contours.
  static double FirstLevel(double lo, double pitch);
  // Where node (i, j) lies in nodes_; an index out of range throws std::out_of_range.
  std::size_t NodeIndex(int i, int j) const;

  // The nodes column after column, each column's rows in turn: node (i, j) at i * sizeY_ + j.
  std::vector<std::shared_ptr<CRepPoint>> nodes_;
  // Without columns there are no rows.
  int sizeX_ = 0;
  int sizeY_ = 0;
  const CRepKey* key_ = nullptr;  // observed; the key of the last evaluation
  int repType_ = 0;
  int totalSize_ = 0;
  const CRepPoint* current_ = nullptr;
  bool interrupt_ = false;
  std::unique_ptr<CRepContours> contours_;
  int contourCode_ = 0;
  bool rightUp_ = false;
  int drawEnko_ = 0;
};
