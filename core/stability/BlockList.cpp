// CBlockList: settings, record, copies, totals, base sections and the shapes made from blocks.

#include "core/stability/BlockList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/base/CoreConfig.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"

namespace {

constexpr int kRoundSlideAngle = 112;
constexpr double kDegPerRad = 180.0 / std::numbers::pi;
// The first document version whose list record holds the confirmed flag.
constexpr int kConfirmedVersion = 2;
// Strength type of the points of the shapes made from blocks: the stratum's c and phi.
constexpr int kStratumStrength = 2;
// Segment styles of the slide line: straight, and the arc joint that rounds the head.
constexpr int kStyleStraight = 0;
constexpr int kStyleHeadArc = 2;
// The line from the head cut's base to the ground: its length, its angle rising to the right
// (direction flag set) or to the left, and the pitch its crossing is rounded to.
constexpr double kHeadLineLength = 1000;
constexpr double kHeadAngleRight = 70;
constexpr double kHeadAngleLeft = 110;
constexpr double kHeadPitch = 0.001;

std::int32_t ReadCount(Archive& ar, const char* what) {
  std::int32_t count = 0;
  ar >> count;
  if (count < 0) {
    throw ArchiveException(ArchiveException::Cause::BadFormat,
                           std::string("block list record: negative ") + what);
  }
  return count;
}

}  // namespace

CBlockList::CBlockList()
    : groundCopy_(std::make_unique<CSpGround>()), slideCopy_(std::make_unique<CSpSlide>()) {}

CBlockList::~CBlockList() = default;

void CBlockList::Init() {
  rightUpper_ = false;
  stratum_ = -1;
  startX_ = kNoValue;
  angle_ = 0;
  confirmed_ = false;
  xs_.clear();
  blocks_.clear();
  groundCopy_ = std::make_unique<CSpGround>();
  slideCopy_ = std::make_unique<CSpSlide>();
  section_ = nullptr;
  sectionStab_ = nullptr;
  slideWork_.reset();
}

// ---- Record ----

void CBlockList::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(xs_.size());
  for (const double x : xs_) ar << x;
  ar << static_cast<std::int32_t>(stratum_) << startX_ << angle_;
  groundCopy_->Store(ar, version);
  slideCopy_->Store(ar, version);
  ar << static_cast<std::int32_t>(blocks_.size());
  for (const CBlock& block : blocks_) block.Store(ar, version);
  if (version >= kConfirmedVersion) ar << confirmed_;
}

void CBlockList::Load(Archive& ar, int version) {
  const std::int32_t xCount = ReadCount(ar, "x position count");
  ar.RequireItems(static_cast<std::uint64_t>(xCount), sizeof(double));
  std::vector<double> xs(static_cast<std::size_t>(xCount));
  for (double& x : xs) ar >> x;
  std::int32_t stratum = 0;
  double startX = 0;
  double angle = 0;
  ar >> stratum >> startX >> angle;
  auto ground = std::make_unique<CSpGround>();
  ground->Load(ar, version);
  auto slide = std::make_unique<CSpSlide>();
  slide->Load(ar, version);
  const std::int32_t blockCount = ReadCount(ar, "block count");
  // Read one by one: a damaged count runs into the end of the data before it can allocate much.
  std::vector<CBlock> blocks;
  for (std::int32_t i = 0; i < blockCount; ++i) blocks.emplace_back().Load(ar, version);
  bool confirmed = confirmed_;
  if (version >= kConfirmedVersion) ar >> confirmed;

  xs_ = std::move(xs);
  stratum_ = stratum;
  startX_ = startX;
  angle_ = angle;
  groundCopy_ = std::move(ground);
  slideCopy_ = std::move(slide);
  blocks_ = std::move(blocks);
  confirmed_ = confirmed;
  // The surface belonged to the blocks that were replaced.
  slideWork_.reset();
}

// ---- Copies ----

void CBlockList::Copy(const CBlockList* other) {
  if (other == this) return;
  rightUpper_ = other->rightUpper_;
  xs_ = other->xs_;
  stratum_ = other->stratum_;
  startX_ = other->startX_;
  angle_ = other->angle_;
  groundCopy_ = std::make_unique<CSpGround>();
  groundCopy_->Copy(other->groundCopy_.get());
  slideCopy_ = std::make_unique<CSpSlide>();
  slideCopy_->CopySuberi(other->slideCopy_.get());
  blocks_ = other->blocks_;
  section_ = other->section_;
  sectionStab_ = other->sectionStab_;
  TakeSlideWork(other->slideWork_.get());
  confirmed_ = other->confirmed_;
}

std::unique_ptr<CBlockList> CBlockList::CreateBlockList(int i, int j) const {
  if (i < 0 || j >= GetBlockSize() || i >= j) return nullptr;
  auto run = std::make_unique<CBlockList>();
  run->rightUpper_ = rightUpper_;
  run->stratum_ = stratum_;
  run->startX_ = startX_;
  run->angle_ = angle_;
  run->section_ = section_;
  run->sectionStab_ = sectionStab_;
  run->blocks_.assign(blocks_.begin() + i, blocks_.begin() + j + 1);
  // Its own surface, so that the run's base links never outlive this list's.
  run->TakeSlideWork(slideWork_.get());
  return run;
}

void CBlockList::TakeSlideWork(const CSpSlideWork* other) {
  std::unique_ptr<CSpSlideWork> copy;
  if (other != nullptr) {
    copy = std::make_unique<CSpSlideWork>();
    copy->CopySlideWork(other);
  }
  for (CBlock& block : blocks_) block.ReplaceShape(other, copy.get());
  slideWork_ = std::move(copy);
}

// ---- x positions and blocks ----

double CBlockList::GetX(int i) const {
  if (i < 0 || i >= GetXSize())
    throw std::out_of_range("CBlockList::GetX: no x position " + std::to_string(i));
  return xs_[static_cast<std::size_t>(i)];
}

CBlock* CBlockList::GetBlockPtr(int i) {
  return i >= 0 && i < GetBlockSize() ? &blocks_[static_cast<std::size_t>(i)] : nullptr;
}

const CBlock* CBlockList::GetBlockPtr(int i) const {
  return i >= 0 && i < GetBlockSize() ? &blocks_[static_cast<std::size_t>(i)] : nullptr;
}

int CBlockList::GetBlockCalcSize() const {
  const int n = GetBlockSize();
  return n * (n - 1) / 2;
}

bool CBlockList::GetCF(int i, double& c, double& phi) const {
  const CBlock* block = GetBlockPtr(i);
  return block != nullptr && block->GetCF(c, phi);
}

// ---- Strength of the slide mass ----

int CBlockList::IsValidCFai() const {
  // A block whose strength type takes nothing from its stratum keeps the block before's.
  double c = kNoValue;
  double phi = kNoValue;
  for (const CBlock& block : blocks_) {
    if (!block.GetCF(c, phi) || c == kNoValue || phi == kNoValue) return 0;
  }
  return 1;
}

const CDPoly* CBlockList::ChosenPolygon() const {
  const CDPolyArray* strata = section_ != nullptr ? section_->GetTisoBlockArray() : nullptr;
  if (strata == nullptr || stratum_ < 0 || stratum_ >= strata->GetSize()) return nullptr;
  return strata->GetAt(stratum_);
}

const CSpStratumBlock* CBlockList::ChosenStratum() const {
  return dynamic_cast<const CSpStratumBlock*>(ChosenPolygon());
}

double CBlockList::GetSouFai() const {
  const CSpStratumBlock* stratum = ChosenStratum();
  return stratum != nullptr ? stratum->GetPropStructure()->phi : kNoValue;
}

void CBlockList::GetSouGanmmaCFai(double& gammaT, double& gammaSat, double& c, double& phi) const {
  const CSpStratumBlock* stratum = ChosenStratum();
  const tagSATURATE soil = stratum != nullptr ? *stratum->GetPropStructure() : tagSATURATE{};
  gammaT = soil.gammaT;
  gammaSat = soil.gammaSat;
  c = soil.c;
  phi = soil.phi;
}

// ---- Totals and surcharge ----

void CBlockList::GetRect(double& left, double& top, double& right, double& bottom) const {
  left = top = right = bottom = 0;
  if (blocks_.empty()) return;
  left = kAreaNotSet;
  top = -kAreaNotSet;
  right = -kAreaNotSet;
  bottom = kAreaNotSet;
  for (const CBlock& block : blocks_) {
    left = std::min(left, block.GetLeftX());
    top = std::max({top, block.GetLeftTopY(), block.GetRightTopY()});
    right = std::max(right, block.GetRightX());
    bottom = std::min({bottom, block.GetLeftBottomY(), block.GetRightBottomY()});
  }
}

double CBlockList::GetTotalWidth() const {
  double sum = 0;
  for (const CBlock& block : blocks_) sum += block.GetWidth();
  return sum;
}

double CBlockList::GetTotalHight() const {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  GetRect(left, top, right, bottom);
  return top - bottom;
}

double CBlockList::GetTotalBottom() const {
  double bottom = kAreaNotSet;
  for (const CBlock& block : blocks_) {
    bottom = std::min({bottom, block.GetLeftBottomY(), block.GetRightBottomY()});
  }
  return bottom;
}

double CBlockList::GetTotalL() const {
  if (blocks_.empty()) return 0;
  double sum = 0;
  for (std::size_t k = 0; k + 1 < blocks_.size(); ++k) sum += blocks_[k].GetLength();
  return sum + blocks_.back().GetEndLength(rightUpper_);
}

double CBlockList::GetTotalArea() const {
  if (blocks_.empty()) return 0;
  double sum = 0;
  for (std::size_t k = 0; k + 1 < blocks_.size(); ++k) sum += blocks_[k].GetArea(-1);
  return sum + blocks_.back().GetEndArea(rightUpper_, -1);
}

double CBlockList::GetSuberiAngle() const {
  if (blocks_.empty()) return kNoValue;
  const CBlock& first = blocks_.front();
  const CBlock& last = blocks_.back();
  const double angle = rightUpper_ ? std::atan2(first.GetRightBottomY() - last.GetRightBottomY(),
                                                first.GetRightX() - last.GetRightX())
                                   : -std::atan2(last.GetLeftBottomY() - first.GetLeftBottomY(),
                                                 last.GetLeftX() - first.GetLeftX());
  return CCoreConfig::GetRound(angle * kDegPerRad, kRoundSlideAngle);
}

double CBlockList::GetH(bool greatest) const {
  if (blocks_.empty()) return 0;
  if (greatest) {
    double height = 0;
    for (const CBlock& block : blocks_)
      height = std::max({height, block.GetH(true), block.GetH(false)});
    return height;
  }
  double area = 0;
  for (const CBlock& block : blocks_) area += block.GetArea(-1);
  const double width = GetTotalWidth();
  return width == 0 ? 0 : area / width;
}

void CBlockList::CalcKaju() {
  for (CBlock& block : blocks_) block.CalcKajuSeibun(rightUpper_);
}

bool CBlockList::IsKajuExist(int kind) const {
  for (const CBlock& block : blocks_) {
    for (int c = 0; c < tagBLOCKRESULTSLICE::kLoadComponentCount; ++c) {
      const double sum = block.GetResult().LoadSum(kind, c);
      if (sum != kNoValue && sum != 0) return true;
    }
  }
  return false;
}

// ---- Base sections ----

bool CBlockList::IsSameGroup(int i, int j) const {
  const CBlock* a = GetBlockPtr(i);
  const CBlock* b = GetBlockPtr(j);
  if (a == nullptr || b == nullptr || a->GetStrengthType() != b->GetStrengthType()) return false;
  const CDArc* arcA = a->GetBaseArc();
  const CDArc* arcB = b->GetBaseArc();
  if ((arcA == nullptr) != (arcB == nullptr)) return false;
  if (arcA != nullptr && !arcA->IsSameGroup(arcB)) return false;
  double cA = kNoValue;
  double phiA = kNoValue;
  double cB = kNoValue;
  double phiB = kNoValue;
  a->GetCF(cA, phiA);
  b->GetCF(cB, phiB);
  if (cA != cB || phiA != phiB) return false;
  const auto piece = [this](const CBlock* block) {
    return slideWork_ != nullptr ? slideWork_->GetPointIndex(block->GetCenterX()) : -1;
  };
  return piece(a) == piece(b);
}

bool CBlockList::IsGroupHead(int i) const {
  if (i < 0 || i >= GetBlockSize()) return false;
  return i == 0 || !IsSameGroup(i - 1, i);
}

int CBlockList::GetKukanSize() const {
  int heads = 0;
  for (int i = 0; i < GetBlockSize(); ++i) heads += IsGroupHead(i) ? 1 : 0;
  return heads;
}

bool CBlockList::GetKukanInfo(int k, int& first, int& last, CDPoint& start, CDPoint& end,
                              bool& isArc, CDArc& arc) const {
  first = -1;
  last = -1;
  isArc = false;
  std::vector<int> heads;
  for (int i = 0; i < GetBlockSize(); ++i) {
    if (IsGroupHead(i)) heads.push_back(i);
  }
  if (k < 0 || k >= static_cast<int>(heads.size())) return false;
  const auto index = static_cast<std::size_t>(k);
  first = heads[index];
  last = index + 1 < heads.size() ? heads[index + 1] - 1 : GetBlockSize() - 1;
  const CBlock& firstBlock = blocks_[static_cast<std::size_t>(first)];
  const CBlock& lastBlock = blocks_[static_cast<std::size_t>(last)];
  start = CDPoint(firstBlock.GetLeftX(), firstBlock.GetLeftBottomY());
  end = CDPoint(lastBlock.GetRightX(), lastBlock.GetRightBottomY());
  if (const CDArc* firstArc = firstBlock.GetBaseArc()) {
    const CDArc* lastArc = lastBlock.GetBaseArc();
    isArc = true;
    arc = CDArc(firstArc->centre, firstArc->R, firstArc->start,
                lastArc != nullptr ? lastArc->end : firstArc->end);
  }
  return true;
}

// ---- Shapes from the blocks ----

CDPoint CBlockList::StartCorner(const CBlock& block, bool top) const {
  return rightUpper_
             ? CDPoint(block.GetRightX(), top ? block.GetRightTopY() : block.GetRightBottomY())
             : CDPoint(block.GetLeftX(), top ? block.GetLeftTopY() : block.GetLeftBottomY());
}

CDPoint CBlockList::FarCorner(const CBlock& block, bool top) const {
  return rightUpper_
             ? CDPoint(block.GetLeftX(), top ? block.GetLeftTopY() : block.GetLeftBottomY())
             : CDPoint(block.GetRightX(), top ? block.GetRightTopY() : block.GetRightBottomY());
}

std::unique_ptr<CSpSlide> CBlockList::CreateSlideLine(int i, int j, bool topArc) const {
  const CBlock* headBlock = GetBlockPtr(i);
  const CBlock* toeBlock = GetBlockPtr(j);
  if (headBlock == nullptr || toeBlock == nullptr) return nullptr;
  const CDPoint headBase = StartCorner(*headBlock, false);
  CDPoint head = StartCorner(*headBlock, true);
  int headStyle = kStyleStraight;
  if (topArc) {
    const double angle = (rightUpper_ ? kHeadAngleRight : kHeadAngleLeft) / kDegPerRad;
    const CDPoint far(headBase.x + kHeadLineLength * std::cos(angle),
                      headBase.y + kHeadLineLength * std::sin(angle));
    CDPoint cross;
    if (groundCopy_->CheckCross(&headBase, &far, cross, 0)) {
      head = CDPoint(RoundOff(cross.x, kHeadPitch), RoundOff(cross.y, kHeadPitch));
      headStyle = kStyleHeadArc;
    }
  }
  auto line = std::make_unique<CSpSlide>();
  line->AddNewPoint(head, headStyle, kStratumStrength);
  line->AddNewPoint(headBase, kStyleStraight, kStratumStrength);
  for (int k = i + 1; k <= j; ++k) {
    line->AddNewPoint(StartCorner(blocks_[static_cast<std::size_t>(k)], false), kStyleStraight,
                      kStratumStrength);
  }
  line->AddNewPoint(FarCorner(*toeBlock, true), kStyleStraight, kStratumStrength);
  return line;
}

std::unique_ptr<CSpSlideWork> CBlockList::CreateDrawObj() const {
  if (blocks_.size() < 2) return nullptr;
  std::vector<CDPoint> points;
  const CBlock& first = blocks_.front();
  points.push_back(StartCorner(first, true));
  points.push_back(StartCorner(first, false));
  points.push_back(FarCorner(first, false));
  for (std::size_t k = 1; k < blocks_.size(); ++k) {
    const bool last = k + 1 == blocks_.size();
    points.push_back(FarCorner(blocks_[k], last));
  }
  auto work = std::make_unique<CSpSlideWork>();
  for (const CDPoint& p : points) work->AddNewPoint(p, nullptr, kStratumStrength);
  work->LeftToRight();
  return work;
}
