// CReinfArrange: the list of bars, their order, lengths and statistics, record and drawing.

#include "core/deformation/ReinfArrange.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

constexpr double kHigher = 1e-13;
// Heads closer in height than this count as level and are ordered by x.
constexpr double kLevel = 1e-9;
// A sum of squared deviations below this is no deviation.
constexpr double kNoDeviation = 1e-5;

// The smallest record of one bar: three int32 and five doubles, a sixth from version 7.
std::size_t BarRecordSize(int version) {
  constexpr int kExtraLengthVersion = 7;
  return 3 * sizeof(std::int32_t) + (version >= kExtraLengthVersion ? 6 : 5) * sizeof(double);
}

// Whether bar b belongs before bar a.
bool GoesBefore(const CReinforce& b, const CReinforce& a, int side) {
  const double dy = b.head.y - a.head.y;
  if (std::fabs(dy) < kLevel) {
    const double dx = b.head.x - a.head.x;
    return side != CReinforce::kSideMinusX ? dx > kHigher : dx < -kHigher;
  }
  return dy > kHigher;
}

}  // namespace

// ---- The bars ----

void CReinfArrange::Init() {
  bars_.clear();
  ClearH();
}

void CReinfArrange::Add(std::unique_ptr<CReinforce> bar) {
  if (bar == nullptr) throw std::out_of_range("CReinfArrange::Add: no bar");
  bars_.push_back(std::move(bar));
}

void CReinfArrange::Create(int n) {
  Init();
  for (int i = 0; i < n; ++i) bars_.push_back(std::make_unique<CReinforce>());
}

CReinforce* CReinfArrange::GetAt(int index) {
  if (index < 0 || index >= GetSize())
    throw std::out_of_range("CReinfArrange: no bar " + std::to_string(index));
  return bars_[static_cast<std::size_t>(index)].get();
}

const CReinforce* CReinfArrange::GetAt(int index) const {
  return const_cast<CReinfArrange*>(this)->GetAt(index);
}

void CReinfArrange::Copy(const CReinfArrange& other) {
  if (&other == this) return;
  std::vector<std::unique_ptr<CReinforce>> bars;
  for (const auto& bar : other.bars_) {
    auto copy = std::make_unique<CReinforce>();
    copy->Copy(*bar);
    bars.push_back(std::move(copy));
  }
  bars_ = std::move(bars);
  sumH_ = other.sumH_;
  meanH_ = other.meanH_;
  deviationH_ = other.deviationH_;
  meanPlusDeviation_ = other.meanPlusDeviation_;
  designLength_ = other.designLength_;
  graphRect_ = other.graphRect_;
}

bool CReinfArrange::IsSameUseCale(const CReinfArrange& other) const {
  if (GetSize() != other.GetSize()) return false;
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    if (!bars_[i]->IsSameUseCale(*other.bars_[i])) return false;
  }
  return true;
}

bool CReinfArrange::IsValid() const {
  for (const auto& bar : bars_) {
    if (!bar->IsValid()) return false;
  }
  return true;
}

void CReinfArrange::Normalize(int side) {
  // An exchange sort: every later bar that belongs before the one at i takes its place.
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    for (std::size_t j = i + 1; j < bars_.size(); ++j) {
      if (GoesBefore(*bars_[j], *bars_[i], side)) std::swap(bars_[i], bars_[j]);
    }
  }
  Numbering();
}

void CReinfArrange::Numbering() {
  for (std::size_t i = 0; i < bars_.size(); ++i) bars_[i]->number = static_cast<int>(i) + 1;
}

bool CReinfArrange::IsYotyoZero() const {
  for (const auto& bar : bars_) {
    if (bar->IsYotyoZero()) return true;
  }
  return false;
}

bool CReinfArrange::IsDrawSideRight() const {
  return bars_.empty() || bars_.front()->side == CReinforce::kSidePlusX;
}

void CReinfArrange::SetReinfActive(int index) {
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    bars_[i]->active = index >= 0 && static_cast<std::size_t>(index) == i;
  }
}

// ---- Lengths inside and beyond the slip surface ----

void CReinfArrange::ClearRes(int set) {
  for (const auto& bar : bars_) bar->ClearRes(set);
}

void CReinfArrange::CreateZoneStratum(CDPolyArray& strata) {
  for (const auto& bar : bars_) bar->CreateZoneStratum(strata);
}

void CReinfArrange::CreateZone(int set, const CSpSlideWork& slip) {
  for (const auto& bar : bars_) bar->CreateZone(set, slip);
}

void CReinfArrange::ClearH() {
  sumH_ = kNoValue;
  meanH_ = kNoValue;
  deviationH_ = kNoValue;
  meanPlusDeviation_ = kNoValue;
  designLength_ = kNoValue;
}

void CReinfArrange::CalcRealH(int set, CDPolyArray* strata, const CSpSlideWork* slip) {
  ClearH();
  if (strata == nullptr || slip == nullptr || bars_.empty()) return;
  ClearRes(set);
  CreateZoneStratum(*strata);
  CreateZone(set, *slip);

  std::vector<double> heights;
  for (const auto& bar : bars_) {
    const double h = bar->GetH(set);
    if (h != kNoValue && h > 0) heights.push_back(h);
  }
  // No bar reaches into the sliding mass: there is nothing to average.
  if (heights.empty()) return;
  const auto n = static_cast<double>(heights.size());
  double sum = 0.0;
  for (const double h : heights) sum += h;
  const double mean = RoundReinf(sum / n);
  double squares = 0.0;
  for (const double h : heights) squares += (h - mean) * (h - mean);
  const double deviation =
      std::fabs(squares) < kNoDeviation ? 0.0 : RoundReinf(std::sqrt(squares / n));

  sumH_ = sum;
  meanH_ = mean;
  deviationH_ = deviation;
  meanPlusDeviation_ = mean + deviation;
  const double extra = bars_.front()->extraLength;
  designLength_ = extra != kNoValue ? RoundReinf(2 * meanPlusDeviation_ + extra) : kNoValue;
}

// ---- Drawing ----

void CReinfArrange::Draw(CViewInfo* view, bool numbers, bool dotted) const {
  for (const auto& bar : bars_) bar->Draw(view, dotted);
  if (!numbers) return;

  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  const int m = view->GetFontMultiple();
  Font font;
  font.height = 12 * m;
  font.width = 6 * m;
  font.weight = 400;
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  canvas.SelectFont(font);
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  canvas.SetTextAlign((IsDrawSideRight() ? TextAlign::Left : TextAlign::Right) | TextAlign::Top);
  for (const auto& bar : bars_) {
    if (!bar->HasGeometry()) continue;
    canvas.TextOut(view->LPtoDP(bar->GetPointTail()), std::to_string(bar->number));
  }
}

// ---- Record ----

void CReinfArrange::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(bars_.size());
  for (const auto& bar : bars_) bar->Store(ar, version);
}

void CReinfArrange::Load(Archive& ar, int version) {
  const std::int32_t count = ReadCount(ar, BarRecordSize(version), "rock-bolt count");
  std::vector<std::unique_ptr<CReinforce>> bars;
  bars.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto bar = std::make_unique<CReinforce>();
    bar->Load(ar, version);
    bars.push_back(std::move(bar));
  }
  bars_ = std::move(bars);
  ClearH();
}
