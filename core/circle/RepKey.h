#pragma once
// The display and selection setting of a circle search's results: which circles count as valid
// (filters with limits for the normal case, the seismic case and the displacement values), which
// circles of each centre are listed, which value the contour map shows with its pitch and colour
// scale, and the texts that describe this in legends and reports. CRepKeyHokyo adds the values
// after the work (after reinforcement) for the drainage and reinforcement searches.

#include <array>
#include <string>

#include "platform/DevTypes.h"

class Archive;

// The fields of a key in record order, with their initial values.
struct tagREPKEY {
  static constexpr int kScaleSize = 5;
  using ScaleRow = std::array<double, kScaleSize>;
  using ColorRow = std::array<Color, kScaleSize>;

  // Filters of the normal case: Fs below, Pr above, T above their limits; depth above its limit;
  // overhanging surfaces and abnormal values (Fs or T below 1e-9) excluded.
  int fsOn = 0;
  int prOn = 0;
  int tOn = 0;
  int depthOn = 0;
  int overhangOff = 0;
  int abnormalOff = 1;
  // Filters of the seismic case and of the displacement values (Ky below, displacement above).
  int fsSeisOn = 0;
  int prSeisOn = 0;
  int tSeisOn = 0;
  int kyPeakOn = 0;
  int kyDropOn = 0;
  int displacementOn = 0;
  int further = 1;  // stored, not read here
  int dashOff = 0;  // circles with a Ky set and below 1e-9 excluded
  double fsLimit = 1.4;
  double prLimit = 200.0;
  double tLimit = 100.0;
  double depthLimit = 3.0;
  double fsSeisLimit = 1.4;
  double prSeisLimit = 200.0;
  double tSeisLimit = 100.0;
  double kyPeakLimit = 1.0;
  double kyDropLimit = 1.0;
  double displacementLimit = 1.0;
  // 0 every valid circle; 1 minimum Fs of each centre; 2 maximum Pr; another value both.
  int listing = 0;
  int normalGroup = 0;
  int seismicGroup = 0;
  // 0 every valid circle; 1 minimum Ky at peak of each centre; 2 minimum Ky at immediate drop.
  int kyListing = 0;
  int displacementGroup = 0;
  int contourKind = 0;  // 0 minimum Fs, 1 maximum Pr
  int contourCase = 0;  // 0 normal, 1 seismic
  double fsPitch = 0.01;
  double prPitch = 5.0;
  int contourMap = 1;
  int labels = 1;
  int paint = 1;  // bands (1) or lines (0)
  std::array<ScaleRow, 2> scale{ScaleRow{0.8, 0.85, 0.9, 0.95, 1.0}, ScaleRow{100, 75, 50, 25, 0}};
  std::array<ColorRow, 2> colors{};
  int fsType = 10;  // 10 the plain safety factor, 11 the one after the work; not stored
  int allCircles = 0;

  friend bool operator==(const tagREPKEY&, const tagREPKEY&) = default;
};

// The fields of the values after the work.
struct tagREPKEYHOKYO {
  int fsOn = 0;
  int fsSeisOn = 0;
  int displacementOn = 0;
  double fsLimit = 1.4;
  double fsSeisLimit = 1.4;
  double displacementLimit = 1.0;

  friend bool operator==(const tagREPKEYHOKYO&, const tagREPKEYHOKYO&) = default;
};

class CRepKey {
 public:
  // The contour quantity codes of the result values.
  static constexpr int kContourFs = 10;
  static constexpr int kContourPr = 12;

  CRepKey() { CRepKey::Init(); }
  CRepKey(const CRepKey& other) : data_(other.data_) {}
  CRepKey& operator=(const CRepKey& other) {
    Copy(other);
    return *this;
  }
  virtual ~CRepKey() = default;

  virtual int WhatKind() const { return 0; }
  virtual void Init();
  // Record by the circle-search record version.
  virtual void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything.
  virtual void Load(Archive& ar, int version);
  virtual void Copy(const CRepKey& other);
  virtual bool IsSame(const CRepKey& other) const;
  // The contour legend title; temporary: the temporary state instead of the normal case.
  virtual std::string GetToutisenMoji(bool temporary) const;
  // The descriptions of the stability filters and of the displacement filters.
  virtual std::string GetHyoujiMoji() const;
  virtual std::string GetHyoujiMojiNewmark() const;
  virtual int GetContourKey() const;
  virtual double GetPitch() const;
  virtual bool IsHokyo() const { return false; }

  // The Fs row red, yellow, yellow, yellow, blue; the Pr row red, yellow, green, cyan, blue.
  void DefColor();
  // The colour of a value on the scale row of the contour kind.
  Color GetColor(double value) const;
  // The value rounded down to the pitch for the contour kinds; a pitch not above 0 leaves it.
  double RoundForContour(double value) const;
  // -1 before the first scale value, 1 beyond the last, 0 within.
  int IsOutOfRage(double value) const;
  // 1 when the middle scale value lies between the first and the last.
  int CheckContourColorVal() const;

  tagREPKEY& Data() { return data_; }
  const tagREPKEY& Data() const { return data_; }

 protected:
  // The filter descriptions common to both kinds of key.
  std::string CommonHyoujiMoji() const;
  std::string CommonNewmarkMoji() const;

 private:
  const tagREPKEY::ScaleRow& ScaleRowOfKind() const;
  const tagREPKEY::ColorRow& ColorRowOfKind() const;

  tagREPKEY data_;
};

class CRepKeyHokyo : public CRepKey {
 public:
  CRepKeyHokyo() { CRepKeyHokyo::Init(); }
  CRepKeyHokyo(const CRepKeyHokyo& other) : CRepKey(other), hokyo_(other.hokyo_) {}
  CRepKeyHokyo& operator=(const CRepKeyHokyo& other) {
    Copy(other);
    return *this;
  }

  int WhatKind() const override { return 2; }
  void Init() override;
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // The six fields after the work when the other is such a key too, then the base part.
  void Copy(const CRepKey& other) override;
  bool IsSame(const CRepKey& other) const override;
  std::string GetHyoujiMoji() const override;
  std::string GetHyoujiMojiNewmark() const override;
  int GetContourKey() const override { return 0; }
  bool IsHokyo() const override { return true; }

  tagREPKEYHOKYO& Hokyo() { return hokyo_; }
  const tagREPKEYHOKYO& Hokyo() const { return hokyo_; }

 private:
  tagREPKEYHOKYO hokyo_;
};
