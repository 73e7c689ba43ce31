#pragma once
// One result of a circle search. A node point stands for one trial centre of the result mesh and
// owns one child per accepted slip surface of that centre; it copies the values of its
// representative child, the one the current key picks.
//
// The slip surface is held in shared ownership: a node shares its representative child's surface,
// so a node (or a copy of it) never refers to a surface that has been freed, whatever happens to
// the child or the mesh it came from. A point holds either a surface object or, as a search keeps
// its circles, a surface by number in the search's store of kept surfaces (KeptSurfaces.h). The
// children are shared too: a search makes them in blocks that many children share, and lists the
// children of all its nodes in one list that the nodes share (CRepChildren).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/DPoint.h"
#include "platform/DevTypes.h"

class Archive;
class CKeptSurfaces;
class CRepKey;
class CRepKeyHokyo;
class CSpSlideWork;
class CViewInfo;
class CRepPoint;

// The children of a node: a range of a list that several nodes may share. A search appends each
// node's children to one list of its own instead of giving every node a list, so that a node
// costs it no allocation; a node that gains a child where its range cannot grow in place (a list
// that others share, or a range before its list's end) first moves its children to a list of its
// own.
class CRepChildren {
 public:
  using Child = std::shared_ptr<CRepPoint>;
  using List = std::vector<Child>;

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  const Child* begin() const { return list_ != nullptr ? list_->data() + first_ : nullptr; }
  const Child* end() const { return begin() + count_; }
  // An index out of range throws std::out_of_range.
  const Child& at(std::size_t i) const;

  void push_back(Child child);
  void clear();
  // Appends the children to the shared list as this node's range (after its own children where
  // it has some); children is left empty.
  void Append(const std::shared_ptr<List>& shared, std::vector<Child>& children);

 private:
  std::shared_ptr<List> list_;
  std::uint32_t first_ = 0;
  std::uint32_t count_ = 0;
};

class CRepPoint {
 public:
  // The stability quantities, each for the normal (0) and the seismic (1) case.
  enum Quantity : int { kS = 0, kT, kFs, kFsAfter, kPr, kSixth, kQuantities };
  // The displacement values are numbered 8 to 22: 8 cumulative displacement, 9 after the work,
  // 10 Ky at peak, 11 Ky at immediate drop, 12 and 13 the two Ky after the work, 14 to 22 more.
  static constexpr int kFirstDisplacement = 8;
  static constexpr int kDisplacementCount = 15;
  // Values 8 to 19 are copied and stored; 20 to 22 are neither.
  static constexpr int kLastKept = 19;

  CRepPoint() { CRepPoint::ClearRes(); }
  CRepPoint(const CRepPoint&) = delete;
  CRepPoint& operator=(const CRepPoint&) = delete;
  virtual ~CRepPoint() = default;

  static std::unique_ptr<CRepPoint> CreateRepPoint(int /*kind*/) {
    return std::make_unique<CRepPoint>();
  }

  virtual int WhatKind() const { return 0; }
  // Identifier, marks, centre, radius and depth unset, the values cleared, the children deleted.
  virtual void Init();
  // Record by the circle-search record version; Load reads the whole record before it changes
  // anything.
  virtual void Store(Archive& ar, int version) const;
  virtual void Load(Archive& ar, int version);
  // Centre, radius, depth, marks, identifier, a share of the other's slip surface, the stability
  // values and the displacement values 8 to 19.
  virtual void CopyValue(const CRepPoint& other);
  virtual bool IsValid(const CRepKeyHokyo& key) const;
  virtual bool IsValid(const CRepKey& key) const;
  // The slip surface as a slip line, in the colour when given, else with the line's own pen.
  virtual void Draw(CViewInfo* view, bool bold, std::optional<Color> colour) const;
  // Every value unset and the slip surface let go.
  virtual void ClearRes();
  virtual void RemoveAll() { children_.clear(); }
  // RemoveAll, CopyValue, then a deep copy of the other's children, or, without children, a
  // copy of its slip surface of its own.
  virtual void CopyData(const CRepPoint& other);
  // Copies the representative child under the key into this node; clears it without one.
  virtual void SetTypicalPoint(const CRepKey& key);
  // The value of a result kind (see the result kinds in RepPoint.cpp); the case 0 normal, 1
  // seismic.
  virtual double GetKeyValue(int kind, int quakeCase) const;
  // The seismic case for the kinds 13 to 18, else the normal case.
  virtual double GetKeyValue(int kind) const;
  // The smallest normal Fs (0 < Fs < 100) of the valid children; kNoValue without one.
  virtual double GetFsMin(const CRepKey& key) const;
  // The children with the smallest Fs and largest Pr of both cases (seismic only with the key's
  // seismic group); -1 where there is none. Validity by the CRepKey test.
  virtual void GetShowResFsPrID(const CRepKey& key, int& fs, int& fsSeis, int& pr,
                                int& prSeis) const;
  // The children with the smallest Ky at peak and at immediate drop; -1 where there is none.
  virtual void GetShowResKyID(const CRepKey& key, int& peak, int& drop) const;
  // The value the contour map shows; kNoValue where it has none.
  virtual double GetContourValue(const CRepKey& key) const;
  virtual std::string GetContourStr(const CRepKey& key) const;

  // ---- Children ----

  int AddChild(std::shared_ptr<CRepPoint> child);
  // Appends the children in their order to the list that the nodes of a search share, as this
  // node's children; children is left empty.
  void AddChildren(const std::shared_ptr<CRepChildren::List>& shared,
                   std::vector<std::shared_ptr<CRepPoint>>& children);
  int GetChildSize() const { return static_cast<int>(children_.size()); }
  // An index out of range throws std::out_of_range.
  CRepPoint& GetChild(int i) const { return *children_.at(static_cast<std::size_t>(i)); }

  // ---- Values ----

  int GetId() const { return id_; }
  void SetId(int id) { id_ = id; }
  int GetMark(int quakeCase) const { return marks_.at(static_cast<std::size_t>(quakeCase)); }
  void SetMark(int quakeCase, int mark) { marks_.at(static_cast<std::size_t>(quakeCase)) = mark; }
  const CDPoint& GetCenter() const { return centre_; }
  void SetCenter(const CDPoint& centre) { centre_ = centre; }
  double GetRadius() const { return radius_; }
  void SetRadius(double r) { radius_ = r; }
  double GetDepth() const { return depth_; }
  void SetDepth(double d) { depth_ = d; }
  double GetStab(Quantity q, int quakeCase) const;
  void SetStab(Quantity q, int quakeCase, double v);
  // Value n of the value numbering: 0 to 7 the Fs, Fs after, Pr and sixth value pairs, 8 to 22
  // the displacement values.
  double GetValue(int n) const;
  void SetValue(int n, double v);
  // The accepted slip surface: the object the point shares, or a new one made from the kept
  // surface; null without one.
  std::shared_ptr<const CSpSlideWork> GetSlideWork() const;
  bool HasSlideWork() const { return surface_ != nullptr || kept_ != nullptr; }
  // Shared, as the point keeps it; a surface made with make_shared comes without a second
  // allocation for its count.
  void SetSlideWork(std::shared_ptr<const CSpSlideWork> surface);
  // Surface n of the store, in place of a surface object.
  void SetKeptSurface(std::shared_ptr<const CKeptSurfaces> store, int n);

  // The slip surface's highest point lies more than 0.001 above the centre of its first arc.
  bool IsOverhung() const;
  // Ky at peak < 0, or with drop also Ky at immediate drop < 0; After: the values after the work.
  bool IsKyMinus(int drop) const;
  bool IsKyMinusAfter(int drop) const;

 private:
  // The value of a stability quantity that the value numbering addresses (n < 8).
  static Quantity QuantityOfValue(int n) { return static_cast<Quantity>(n / 2 + 2); }
  // The displacement rule of the validity test with the values it judges.
  bool DisplacementInvalid(const CRepKey& key, double displacement, double peak, double drop) const;
  // Rules of the validity test that both kinds of key share: T, abnormal values, depth,
  // overhang.
  bool CommonInvalid(const CRepKey& key) const;
  // Load of a record nested at the depth; too deep a nesting is a damaged record.
  void LoadRecord(Archive& ar, int version, int depth);
  // A surface object of the point's own with its slip surface; null without one.
  std::unique_ptr<CSpSlideWork> CopyOfSurface() const;
  // The index of the valid child with the best value of the result kind; -1 without one.
  int BestChild(const CRepKey& key, int kind, int quakeCase, bool smallest, double low,
                double high) const;

  int id_ = -1;
  std::array<int, 2> marks_{0, 0};
  CDPoint centre_;
  double radius_ = kNoValue;
  double depth_ = kNoValue;
  std::array<std::array<double, 2>, kQuantities> stab_{};
  std::array<double, kDisplacementCount> displacement_{};
  // The slip surface: an object, or number keptIndex_ of a store; at most one of the two.
  std::shared_ptr<const CSpSlideWork> surface_;
  std::shared_ptr<const CKeptSurfaces> kept_;
  int keptIndex_ = -1;
  CRepChildren children_;
};
