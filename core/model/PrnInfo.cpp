// CPrnInfo: the print settings of a document and their record.

#include "core/model/PrnInfo.h"

#include <cstdint>

#include "platform/Archive.h"

namespace {

// The record is in documents from this version on.
constexpr int kRecordVersion = 8;
// Before this version the list output switch was not kept: it reads as on.
constexpr int kListOutVersion = 9;

// A negative index becomes a huge one, which at() refuses as well.
std::size_t Index(int index) { return static_cast<std::size_t>(index); }

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

}  // namespace

void CPrnInfo::Copy(const CPrnInfo& other) {
  prnMode_ = other.prnMode_;
  prnMultiNQ_ = other.prnMultiNQ_;
  listOutFs_ = other.listOutFs_;
  showPage_ = other.showPage_;
}

void CPrnInfo::Store(Archive& ar, int version) const {
  if (version < kRecordVersion) return;
  for (const int mode : prnMode_) ar << static_cast<std::int32_t>(mode);
  for (const int choice : prnMultiNQ_) ar << static_cast<std::int32_t>(choice);
  ar << static_cast<std::int32_t>(listOutFs_);
}

void CPrnInfo::Load(Archive& ar, int version) {
  if (version < kRecordVersion) return;
  CPrnInfo read = *this;
  for (int& mode : read.prnMode_) mode = ReadInt(ar);
  for (int& choice : read.prnMultiNQ_) choice = ReadInt(ar);
  read.listOutFs_ = ReadInt(ar);
  if (version < kListOutVersion) read.listOutFs_ = 1;
  *this = read;
}

int CPrnInfo::GetPrnMode(int index) const { return prnMode_.at(Index(index)); }

void CPrnInfo::SetPrnMode(int index, int mode) { prnMode_.at(Index(index)) = mode; }

int CPrnInfo::GetPrnMultiNQ(int index) const { return prnMultiNQ_.at(Index(index)); }

void CPrnInfo::SetPrnMultiNQ(int index, int choice) { prnMultiNQ_.at(Index(index)) = choice; }
