#pragma once
// The results of a multi-plane calculation: one point per pair of a start and an end block.
// CMltPoint holds the forward result (S, T and Fs of the normal and the seismic case),
// CMltPointGyaku the back-analysed strength; CMltBlocks owns the points of one calculation, and
// CMltKey decides which of them the result lists show (excluded block ranges, case switches,
// contour settings).
//
// Key items, the numbers the lists, sorting and graphs use: -1 id; 0 and 1 the typical flags of
// the normal and the seismic case; 2 start block; 3 end block; 7, 8, 9 S, T and Fs of the case
// given with them; 10, 11, 12 the same of the seismic case; back-analysis points only: 13 c0,
// 14 c, 15 and 16 phi0, 17 phi. Other items give 0.

#include <array>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Utility.h"

class Archive;
class CMltKey;

// A key item and an order (0 ascending, any other descending).
struct tagMLTSORT {
  int item = 9;
  int order = 0;
};

class CMltPoint {
 public:
  static constexpr int kKindForward = 0;
  static constexpr int kKindGyaku = 1;

  CMltPoint() = default;
  CMltPoint(const CMltPoint&) = default;
  CMltPoint& operator=(const CMltPoint&) = default;
  virtual ~CMltPoint() = default;

  // A new point of the kind (0 forward, 1 back analysis); null for another kind.
  static std::unique_ptr<CMltPoint> CreateMltPoint(int kind);

  virtual int WhatKind() const { return kKindForward; }
  // id -1, flags 0, blocks -1, no results.
  virtual void Init();
  // Record: id, the two typical flags, start and end block, then S, T and Fs of the normal and of
  // the seismic case. A failed Load leaves the point as it was.
  virtual void Store(Archive& ar) const;
  virtual void Load(Archive& ar);
  // Takes every field of the other point that this kind holds.
  virtual void CopyData(const CMltPoint& other);
  // Shown under the key: a typical point of either case, or a run the key does not exclude.
  virtual bool IsValid(const CMltKey& key) const;
  // Every result back to no value.
  virtual void ClearRes();
  virtual bool IsSame(const CMltPoint& other) const;

  double GetKeyValue(int item) const { return GetKeyValue(item, item == 12 ? 1 : 0); }
  virtual double GetKeyValue(int item, int resultCase) const;
  // Whether this point, standing before the other, must be exchanged with it when sorting by
  // item in the order. Ascending exchanges when this is greater; descending when this is less or
  // equal, equal values included. Items 2 and 3 break ties of the block number by the id; items
  // without a value to compare never exchange.
  virtual bool IsSortValue(const CMltPoint& other, int order, int item, int resultCase) const;

  // The Fs of the key's contour case when the contour shows Fs and it lies in (0, 100); else
  // no value. The text is "%.3lf" (or "%.1lf" for another contour item), empty for no value.
  double GetContourValue(const CMltKey& key) const;
  std::string GetContourStr(const CMltKey& key) const;

  int id = -1;  // the running number, equal to the position in its CMltBlocks
  int typicalN = 0;
  int typicalQ = 0;
  int startBlock = -1;  // 0-based
  int endBlock = -1;
  double sN = kNoValue;
  double sQ = kNoValue;
  double tN = kNoValue;
  double tQ = kNoValue;
  double fsN = kNoValue;
  double fsQ = kNoValue;

 protected:
  // Whether to exchange by two values of the item (the rule of IsSortValue).
  static bool IsSortValue(double mine, double other, int order) {
    return order == 0 ? mine > other : mine <= other;
  }
  // The item compares a value of the point (not 2 and 3, which compare blocks and ids).
  virtual bool HasSortValue(int item) const;
  void StoreBase(Archive& ar) const;
  // Reads the record into a fresh point, so that nothing changes when it fails.
  static CMltPoint ReadBase(Archive& ar);
  void CopyBase(const CMltPoint& other) { CMltPoint::operator=(other); }
};

class CMltPointGyaku : public CMltPoint {
 public:
  int WhatKind() const override { return kKindGyaku; }
  void Init() override;
  // Record: c0, c, phi0, phi, tan(phi0), tan(phi), then the forward point's record.
  void Store(Archive& ar) const override;
  void Load(Archive& ar) override;
  void CopyData(const CMltPoint& other) override;
  bool IsValid(const CMltKey& /*key*/) const override { return true; }
  void ClearRes() override;
  bool IsSame(const CMltPoint& other) const override;
  using CMltPoint::GetKeyValue;
  double GetKeyValue(int item, int resultCase) const override;

  double c0 = kNoValue;       // cohesion that alone gives the planned Fs with tan(phi) = 0
  double c = kNoValue;        // cohesion that gives it with the chosen stratum's tan(phi)
  double phi0 = kNoValue;     // degrees, of tanPhi0
  double phi = kNoValue;      // degrees, of the chosen stratum
  double tanPhi0 = kNoValue;  // friction that alone gives the planned Fs with c = 0
  double tanPhi = kNoValue;

 protected:
  bool HasSortValue(int item) const override;

 private:
  std::array<double, 6> Values() const { return {c0, c, phi0, phi, tanPhi0, tanPhi}; }
};

class CMltKey {
 public:
  static constexpr int kExceptSize = 20;
  static constexpr int kOpen = INT_MIN;

  struct Range {
    int from = kOpen;  // 1-based block numbers; kOpen: open end
    int to = kOpen;
    bool operator==(const Range&) const = default;
  };

  CMltKey() { Init(); }
  virtual ~CMltKey() = default;
  CMltKey(const CMltKey&) = default;
  CMltKey& operator=(const CMltKey&) = default;

  virtual int WhatKind() const { return 0; }
  virtual void Init();
  // The record by document version (see the .cpp). A failed Load leaves the key as it was.
  virtual void Store(Archive& ar, int version) const;
  virtual void Load(Archive& ar, int version);
  virtual void Copy(const CMltKey& other) { *this = other; }
  virtual bool IsSame(const CMltKey& other) const;

  int GetExceptBlockSize() const { return kExceptSize; }
  // Whether the block, or the run start..end (0-based), overlaps an excluded range while the
  // exclusion switch is on.
  bool IsExceptBlock(int block) const { return IsExceptBlock2(block, block); }
  bool IsExceptBlock2(int start, int end) const;

  int exceptOn = 0;
  std::array<Range, kExceptSize> except{};
  // Kept for the result dialogs, which edit them; only initialised, copied, compared and stored.
  std::array<std::array<int, 2>, 5> pairs{};
  std::array<double, 8> doubles{};
  int typicalMode = 0;
  int normalOn = 1;
  int quakeOn = 0;
  int contourItem = 0;  // 0: Fs
  int contourCase = 0;  // 0 normal, 1 seismic
  double contourPitch = 0.01;
  std::array<int, 3> flags{};
  std::array<double, 10> levels{};
  std::array<int, 10> levelInts{};
  int unstored = 9;
  int lastInt = 0;
};

// The owning list of the points of one calculation. Slots may be empty.
class CMltBlocks {
 public:
  CMltBlocks() = default;
  CMltBlocks(const CMltBlocks&) = delete;
  CMltBlocks& operator=(const CMltBlocks&) = delete;

  // Deletes every point and clears the total size.
  void RemoveAll();
  void Init() { RemoveAll(); }
  // RemoveAll, then n empty slots.
  void SetSize(int n);
  int GetSize() const { return static_cast<int>(points_.size()); }
  // Throws std::out_of_range outside the list.
  CMltPoint* GetMltPoint(int i) const;
  void SetMltPoint(int i, std::unique_ptr<CMltPoint> point);
  void Add(std::unique_ptr<CMltPoint> point) { points_.push_back(std::move(point)); }
  // True when a slot holds a point.
  bool IsSucceed() const;
  // A deep copy of the other list's points and settings, each slot a point of this list's kind.
  void CopyData(const CMltBlocks& other);
  bool IsSame(const CMltBlocks& other) const;

  int GetMltType() const { return kind_; }
  void SetMltType(int kind) { kind_ = kind; }
  const CMltKey* GetKey() const { return key_; }
  void SetTypicalPoint(const CMltKey* key) { key_ = key; }
  int GetTotalSize() const { return totalSize_; }
  bool IsInterrupt() const { return interrupted_; }
  void SetInterrupt(bool interrupted) { interrupted_ = interrupted; }

  // Whether the view draws the blocks of the chosen result.
  bool IsDrawBlock() const { return drawBlock_; }
  void SetDrawBlock(bool draw) { drawBlock_ = draw; }

  // The points the key lets through, in list order (see the .cpp); returns their number. Typical
  // flags of points left out are cleared.
  int SerialCopy(std::vector<CMltPoint*>& list, const CMltKey& key);
  // Every point, in order.
  int SerialCopyNoKey(std::vector<CMltPoint*>& list) const;
  // Appends every point with a typical flag of either case to the list, in list order; returns
  // the list's length.
  int SerialCurrentChoice(std::vector<CMltPoint*>& list) const;
  // Clears both typical flags of every point that is not in the list.
  void CheckOffHideRes(const std::vector<CMltPoint*>& list);

  // Record: kind, count, then the points' records. A failed Load leaves the list as it was.
  void Store(Archive& ar) const;
  void Load(Archive& ar);

 private:
  std::vector<std::unique_ptr<CMltPoint>> points_;
  const CMltKey* key_ = nullptr;
  int kind_ = CMltPoint::kKindForward;
  int totalSize_ = 0;
  bool interrupted_ = false;
  bool drawBlock_ = false;
};
