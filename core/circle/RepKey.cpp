#include "core/circle/RepKey.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "platform/Archive.h"

namespace {

constexpr Color kScaleRed{0x0000FF};
constexpr Color kScaleYellow{0x00FFFF};
constexpr Color kScaleGreen{0x00FF00};
constexpr Color kScaleCyan{0xFFFF00};
constexpr Color kScaleBlue{0xFF0000};

// Fields added at these record versions.
constexpr int kSeismicVersion = 8;
constexpr int kDashVersion = 16;

std::string Format(const char* format, double value) {
  char text[128];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Joins the items that are not empty.
std::string Join(std::initializer_list<std::string> items, const char* separator) {
  std::string joined;
  for (const std::string& item : items) {
    if (item.empty()) continue;
    if (!joined.empty()) joined += separator;
    joined += item;
  }
  return joined;
}

std::string If(int on, const char* format, double value) {
  return on != 0 ? Format(format, value) : std::string();
}

std::string If(int on, const char* text) { return on != 0 ? std::string(text) : std::string(); }

constexpr const char* kItems = ",  ";
constexpr const char* kParts = ", ";

void Put(Archive& ar, int v) { ar << static_cast<std::int32_t>(v); }

int GetInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

double GetDouble(Archive& ar) {
  double v = 0;
  ar >> v;
  return v;
}

// The key's record read over the given fields; items absent at the version keep their values.
tagREPKEY ReadRecord(Archive& ar, int version, tagREPKEY k) {
  const bool seismic = version >= kSeismicVersion;
  for (int* v : {&k.fsOn, &k.prOn, &k.tOn, &k.depthOn, &k.overhangOff, &k.abnormalOff}) {
    *v = GetInt(ar);
  }
  if (seismic) {
    for (int* v :
         {&k.fsSeisOn, &k.prSeisOn, &k.tSeisOn, &k.kyPeakOn, &k.kyDropOn, &k.displacementOn}) {
      *v = GetInt(ar);
    }
  }
  if (version >= kDashVersion) {
    k.further = GetInt(ar);
    k.dashOff = GetInt(ar);
  }
  for (double* v : {&k.fsLimit, &k.prLimit, &k.tLimit, &k.depthLimit}) *v = GetDouble(ar);
  if (seismic) {
    for (double* v : {&k.fsSeisLimit, &k.prSeisLimit, &k.tSeisLimit, &k.kyPeakLimit, &k.kyDropLimit,
                      &k.displacementLimit}) {
      *v = GetDouble(ar);
    }
  }
  k.listing = GetInt(ar);
  if (seismic) k.normalGroup = GetInt(ar);
  k.seismicGroup = GetInt(ar);
  if (seismic) {
    k.kyListing = GetInt(ar);
    k.displacementGroup = GetInt(ar);
  }
  k.contourKind = GetInt(ar);
  k.contourCase = GetInt(ar);
  k.fsPitch = GetDouble(ar);
  k.prPitch = GetDouble(ar);
  k.contourMap = GetInt(ar);
  k.labels = GetInt(ar);
  k.paint = GetInt(ar);
  for (auto& row : k.scale) {
    for (double& v : row) v = GetDouble(ar);
  }
  for (auto& row : k.colors) {
    for (Color& c : row) ar >> c;
  }
  k.allCircles = GetInt(ar);
  if (k.kyListing < 0 || k.kyListing > 2) k.kyListing = 0;
  return k;
}

// Writes what ReadRecord reads at the version, so that a record of any version loads whole.
void WriteRecord(Archive& ar, int version, const tagREPKEY& k) {
  const bool seismic = version >= kSeismicVersion;
  for (const int v : {k.fsOn, k.prOn, k.tOn, k.depthOn, k.overhangOff, k.abnormalOff}) Put(ar, v);
  if (seismic) {
    for (const int v :
         {k.fsSeisOn, k.prSeisOn, k.tSeisOn, k.kyPeakOn, k.kyDropOn, k.displacementOn}) {
      Put(ar, v);
    }
  }
  if (version >= kDashVersion) {
    Put(ar, k.further);
    Put(ar, k.dashOff);
  }
  for (const double v : {k.fsLimit, k.prLimit, k.tLimit, k.depthLimit}) ar << v;
  if (seismic) {
    for (const double v : {k.fsSeisLimit, k.prSeisLimit, k.tSeisLimit, k.kyPeakLimit, k.kyDropLimit,
                           k.displacementLimit}) {
      ar << v;
    }
  }
  Put(ar, k.listing);
  if (seismic) Put(ar, k.normalGroup);
  Put(ar, k.seismicGroup);
  if (seismic) {
    Put(ar, k.kyListing);
    Put(ar, k.displacementGroup);
  }
  for (const int v : {k.contourKind, k.contourCase}) Put(ar, v);
  ar << k.fsPitch << k.prPitch;
  for (const int v : {k.contourMap, k.labels, k.paint}) Put(ar, v);
  for (const auto& row : k.scale) {
    for (const double v : row) ar << v;
  }
  for (const auto& row : k.colors) {
    for (const Color c : row) ar << c;
  }
  Put(ar, k.allCircles);
}

// One channel of the colour between a and b at t (0..1), to 8 bits.
int Channel(int a, int b, double t) {
  return (a + static_cast<int>(std::trunc((b - a) * t))) & 0xFF;
}

Color Between(Color from, Color to, double t) {
  return Color::Rgb(Channel(from.Red(), to.Red(), t), Channel(from.Green(), to.Green(), t),
                    Channel(from.Blue(), to.Blue(), t));
}

}  // namespace

void CRepKey::Init() {
  data_ = tagREPKEY{};
  DefColor();
}

void CRepKey::DefColor() {
  data_.colors[0] = {kScaleRed, kScaleYellow, kScaleYellow, kScaleYellow, kScaleBlue};
  data_.colors[1] = {kScaleRed, kScaleYellow, kScaleGreen, kScaleCyan, kScaleBlue};
}

void CRepKey::Store(Archive& ar, int version) const { WriteRecord(ar, version, data_); }

void CRepKey::Load(Archive& ar, int version) { data_ = ReadRecord(ar, version, data_); }

void CRepKey::Copy(const CRepKey& other) { data_ = other.data_; }

bool CRepKey::IsSame(const CRepKey& other) const { return data_ == other.data_; }

int CRepKey::GetContourKey() const { return data_.contourKind == 1 ? kContourPr : kContourFs; }

double CRepKey::GetPitch() const { return data_.contourKind == 1 ? data_.prPitch : data_.fsPitch; }

const tagREPKEY::ScaleRow& CRepKey::ScaleRowOfKind() const {
  return data_.scale[data_.contourKind == 1 ? 1 : 0];
}

const tagREPKEY::ColorRow& CRepKey::ColorRowOfKind() const {
  return data_.colors[data_.contourKind == 1 ? 1 : 0];
}

Color CRepKey::GetColor(double value) const {
  const auto& s = ScaleRowOfKind();
  const auto& c = ColorRowOfKind();
  constexpr int kLast = tagREPKEY::kScaleSize - 1;
  const bool ascending = s[0] <= s[kLast];
  if (ascending ? value < s[0] : value > s[0]) return c[0];
  if (ascending ? value > s[kLast] : value < s[kLast]) return c[kLast];
  // The segment from the lower scale value k to its neighbour toward the other end.
  const int step = ascending ? 1 : -1;
  for (int k = ascending ? 0 : kLast; ascending ? k < kLast : k > 0; k += step) {
    const double low = s[static_cast<std::size_t>(k)];
    const double high = s[static_cast<std::size_t>(k + step)];
    if (low <= value && value <= high) {
      const Color from = c[static_cast<std::size_t>(k)];
      // Two equal scale values have no colours between them: the lower one's.
      if (high == low) return from;
      return Between(from, c[static_cast<std::size_t>(k + step)], (value - low) / (high - low));
    }
  }
  return c[kLast];
}

double CRepKey::RoundForContour(double value) const {
  const double pitch = GetPitch();
  if ((data_.contourKind != 0 && data_.contourKind != 1) || !(pitch > 0)) return value;
  const double q = std::trunc(value * 1.0000001 / pitch);
  return value >= 0 ? q * pitch : q * pitch - pitch;
}

int CRepKey::IsOutOfRage(double value) const {
  const auto& s = ScaleRowOfKind();
  const double first = s.front();
  const double last = s.back();
  if (first <= last) return value < first ? -1 : value > last ? 1 : 0;
  return value > first ? -1 : value < last ? 1 : 0;
}

int CRepKey::CheckContourColorVal() const {
  const auto& s = ScaleRowOfKind();
  const double mid = s[2];
  const bool inside = (s[0] <= mid && mid <= s[4]) || (s[4] <= mid && mid <= s[0]);
  return inside ? 1 : 0;
}

std::string CRepKey::GetToutisenMoji(bool temporary) const {
  std::string text = data_.contourCase == 1 ? "地震時(L1)" : temporary ? "仮設" : "異常降雨時";
  if (data_.contourKind == 1) {
    return text + " 最大抑止力 Prmax" + Format("  (間隔  %.0lf kN/m)", data_.prPitch);
  }
  return text + " 最小安全率 Fsmin" + Format("  (間隔  %.3lf)", data_.fsPitch);
}

std::string CRepKey::CommonHyoujiMoji() const {
  const tagREPKEY& k = data_;
  return Join({If(k.prOn, "異常降雨時Pr > %.1lfkN/m", k.prLimit),
               If(k.prSeisOn, "地震時Pr > %.1lfkN/m", k.prSeisLimit),
               If(k.tOn, "異常降雨時T > %.1lfkN/m", k.tLimit),
               If(k.tSeisOn, "地震時T > %.1lfkN/m", k.tSeisLimit),
               If(k.depthOn, "深度 > %.1lfm", k.depthLimit),
               If(k.overhangOff, "オーバーハング除外"), If(k.abnormalOff, "異常値除外")},
              kItems);
}

std::string CRepKey::CommonNewmarkMoji() const {
  const tagREPKEY& k = data_;
  return Join({If(k.kyPeakOn, "Ky(ピーク時) < %.3lf", k.kyPeakLimit),
               If(k.kyDropOn, "Ky(即時低下時) < %.3lf", k.kyDropLimit),
               If(k.depthOn, "深度 > %.1lfm", k.depthLimit),
               If(k.overhangOff, "オーバーハング除外"), If(k.dashOff, "累積変位量\"－\"を除外")},
              kItems);
}

std::string CRepKey::GetHyoujiMoji() const {
  const std::string first = Join({If(data_.fsOn, "異常降雨時Fs < %.3lf", data_.fsLimit),
                                  If(data_.fsSeisOn, "地震時Fs < %.3lf", data_.fsSeisLimit)},
                                 kItems);
  return Join({first, CommonHyoujiMoji()}, kParts);
}

std::string CRepKey::GetHyoujiMojiNewmark() const {
  return Join({If(data_.displacementOn, "累積変位量 > %.3lf", data_.displacementLimit),
               CommonNewmarkMoji()},
              kParts);
}

void CRepKeyHokyo::Init() {
  CRepKey::Init();
  hokyo_ = tagREPKEYHOKYO{};
  Data().fsType = 11;
}

void CRepKeyHokyo::Store(Archive& ar, int version) const {
  if (version >= kSeismicVersion) {
    for (const int v : {hokyo_.fsOn, hokyo_.fsSeisOn, hokyo_.displacementOn}) Put(ar, v);
    ar << hokyo_.fsLimit << hokyo_.fsSeisLimit << hokyo_.displacementLimit;
  }
  CRepKey::Store(ar, version);
}

void CRepKeyHokyo::Load(Archive& ar, int version) {
  tagREPKEYHOKYO h = hokyo_;
  if (version >= kSeismicVersion) {
    for (int* v : {&h.fsOn, &h.fsSeisOn, &h.displacementOn}) *v = GetInt(ar);
    for (double* v : {&h.fsLimit, &h.fsSeisLimit, &h.displacementLimit}) *v = GetDouble(ar);
  }
  Data() = ReadRecord(ar, version, Data());
  hokyo_ = h;
}

void CRepKeyHokyo::Copy(const CRepKey& other) {
  if (const auto* hokyo = dynamic_cast<const CRepKeyHokyo*>(&other)) hokyo_ = hokyo->hokyo_;
  CRepKey::Copy(other);
}

bool CRepKeyHokyo::IsSame(const CRepKey& other) const {
  const auto* hokyo = dynamic_cast<const CRepKeyHokyo*>(&other);
  return hokyo != nullptr && hokyo_ == hokyo->hokyo_ && CRepKey::IsSame(other);
}

std::string CRepKeyHokyo::GetHyoujiMoji() const {
  const tagREPKEY& k = Data();
  const std::string first = Join({If(k.fsOn, "異常降雨時Fs(補強前) < %.3lf", k.fsLimit),
                                  If(hokyo_.fsOn, "異常降雨時Fs < %.3lf", hokyo_.fsLimit),
                                  If(k.fsSeisOn, "地震時Fs(補強前) < %.3lf", k.fsSeisLimit),
                                  If(hokyo_.fsSeisOn, "地震時Fs < %.3lf", hokyo_.fsSeisLimit)},
                                 kItems);
  return Join({first, CommonHyoujiMoji()}, kParts);
}

std::string CRepKeyHokyo::GetHyoujiMojiNewmark() const {
  const tagREPKEY& k = Data();
  const std::string first =
      Join({If(k.displacementOn, "累積変位量(補強前) > %.3lf", k.displacementLimit),
            If(hokyo_.displacementOn, "累積変位量 > %.3lf", hokyo_.displacementLimit)},
           kItems);
  return Join({first, CommonNewmarkMoji()}, kParts);
}
