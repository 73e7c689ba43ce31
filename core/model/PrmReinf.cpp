// CPrmReinf: the rock-bolt conditions and their record.

#include "core/model/PrmReinf.h"

#include <cstdint>

#include "platform/Archive.h"

namespace {

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

}  // namespace

void CPrmReinf::Init() {
  CReinfRanges keep = std::move(ranges);
  *this = CPrmReinf();
  ranges = std::move(keep);
  InitRanges(ranges);
}

void CPrmReinf::Copy(const CPrmReinf& other) {
  CReinfRanges keep = std::move(ranges);
  *this = other;
  ranges = std::move(keep);
  CopyRanges(ranges, other.ranges);
}

bool CPrmReinf::IsSame(const CPrmReinf& other) const {
  return stdBar.IsSame(other.stdBar) && tauC == other.tauC && fsa == other.fsa &&
         IsSameRanges(ranges, other.ranges) && IsSameUseCale(other);
}

bool CPrmReinf::IsSameUseCale(const CPrmReinf& other) const {
  return barKind == other.barKind && stdBar.IsSameUseCale(other.stdBar) && tauCQ == other.tauCQ &&
         fsaQ == other.fsaQ && tdFactor == other.tdFactor && reduction == other.reduction &&
         myu == other.myu && tauP1 == other.tauP1 && tauP2 == other.tauP2 &&
         shClamp == other.shClamp && arrangeCheck == other.arrangeCheck &&
         IsSameUseCaleRanges(ranges, other.ranges);
}

bool CPrmReinf::IsValid() const {
  if (barKind != 0 && barKind != 1) return false;
  if (!stdBar.IsValid()) return false;
  if (tauCQ == kNoValue || fsaQ == kNoValue || tdFactor == kNoValue) return false;
  if (reduction && myu == kNoValue) return false;
  if (tauP1 == kNoValue || tauP2 == kNoValue) return false;
  return shClamp >= 0 && shClamp <= 2 && arrangeCheck >= 0 && arrangeCheck <= 1;
}

bool CPrmReinf::IsValidShear() const {
  return stdBar.IsValid() && tauP1 != kNoValue && tauP2 != kNoValue;
}

void CPrmReinf::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(barKind);
  stdBar.Store(ar, version);
  ar << tauC << fsa << tauCQ << fsaQ << tdFactor;
  ar << reduction;
  ar << myu << tauP1 << tauP2;
  ar << static_cast<std::int32_t>(shClamp) << static_cast<std::int32_t>(arrangeCheck);
  StoreRanges(ranges, ar, version);
}

void CPrmReinf::Load(Archive& ar, int version) {
  CPrmReinf read = *this;
  read.barKind = ReadInt(ar);
  read.stdBar.Load(ar, version);
  ar >> read.tauC >> read.fsa >> read.tauCQ >> read.fsaQ >> read.tdFactor;
  ar >> read.reduction;
  ar >> read.myu >> read.tauP1 >> read.tauP2;
  read.shClamp = ReadInt(ar);
  read.arrangeCheck = ReadInt(ar);
  LoadRanges(read.ranges, ar, version);
  *this = std::move(read);
}
