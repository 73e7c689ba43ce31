// CDrawResGraphSet: the settings record of a result graph and its item captions.

#include "core/model/DrawResGraphSet.h"

#include <algorithm>
#include <cstdint>

#include "platform/Archive.h"

namespace {

struct ItemHead {
  int item;
  const char* name;
  const char* unit;
};

constexpr ItemHead kHeads[] = {
    {3, "中心X", "(m)"},
    {4, "中心Y", "(m)"},
    {5, "半径r", "(m)"},
    {6, "深度", "(m)"},
    {7, "異常降雨時抵抗力S", "(kN/m)"},
    {8, "異常降雨時滑動力T", "(kN/m)"},
    {10, "異常降雨時安全率Fs", ""},
    {12, "異常降雨時抑止力Pr", "(kN/m)"},
    {13, "地震時L1抵抗力S", "(kN/m)"},
    {14, "地震時L1滑動力T", "(kN/m)"},
    {16, "地震時L1安全率Fs", ""},
    {18, "地震時L1抑止力Pr", "(kN/m)"},
    {19, "累計変位量", "(m)"},
    {20, "", "(m)"},
    {21, "降伏震度ピーク時", ""},
    {22, "降伏震度即時低下時", ""},
    {25, "滑動モーメント", "(kN・m)"},
    {26, "抵抗モーメント", "(kN・m)"},
    {27, "慣性モーメント", "(kN・m・s2)"},
};

// Captions of the comparison graphs that differ from the plain ones, in the drainage and in the
// reinforcement wording.
struct ItemHeadAfter {
  int item;
  const char* drainage;
  const char* reinforcement;
};

constexpr ItemHeadAfter kHeadsAfter[] = {
    {9, "異常降雨時補強材抵抗力Sr", "異常降雨時補強材抵抗力Sr"},
    {10, "異常降雨時排水前安全率Fs", "異常降雨時排水後安全率Fs"},
    {11, "異常降雨時排水後安全率Fs", "異常降雨時補強後安全率Fs"},
    {15, "地震時L1補強材抵抗力Sr", "地震時L1補強材抵抗力Sr"},
    {16, "地震時L1排水前安全率Fs", "地震時L1排水後安全率Fs"},
    {17, "地震時L1排水後安全率Fs", "地震時L1補強後安全率Fs"},
    {19, "排水前累計変位量", "排水後累計変位量"},
    {20, "排水後累計変位量", "補強後累計変位量"},
    {23, "降伏震度ピーク時", "降伏震度ピーク時"},
    {24, "降伏震度即時低下時", "降伏震度即時低下時"},
};

// The comparison graphs take these items' plain captions.
constexpr int kPlainAfterItems[] = {3, 4, 5, 6, 7, 8, 13, 14, 25, 26, 27};

const ItemHead* FindHead(int item) {
  const auto* found = std::find_if(std::begin(kHeads), std::end(kHeads),
                                   [item](const ItemHead& h) { return h.item == item; });
  return found == std::end(kHeads) ? nullptr : found;
}

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

}  // namespace

void CDrawResGraphSet::Init() { *this = CDrawResGraphSet(); }

void CDrawResGraphSet::Store(Archive& ar, int /*version*/) const {
  ar << static_cast<std::int32_t>(itemX) << static_cast<std::int32_t>(itemY);
  for (const int s : autoRange) ar << static_cast<std::int32_t>(s);
  ar << maxX << maxY << minX << minY << pitchX << pitchY;
  ar << background;
  for (const Color c : lineColors) ar << c;
}

void CDrawResGraphSet::Load(Archive& ar, int /*version*/) {
  CDrawResGraphSet read;
  read.itemX = ReadInt(ar);
  read.itemY = ReadInt(ar);
  for (int& s : read.autoRange) s = ReadInt(ar);
  ar >> read.maxX >> read.maxY >> read.minX >> read.minY >> read.pitchX >> read.pitchY;
  ar >> read.background;
  for (Color& c : read.lineColors) ar >> c;
  *this = read;
}

void CDrawResGraphSet::Copy(const CDrawResGraphSet& other) {
  const auto keep = refValues;
  *this = other;
  refValues = keep;
}

bool CDrawResGraphSet::IsSame(const CDrawResGraphSet& other) const {
  return itemX == other.itemX && itemY == other.itemY && markerSize == other.markerSize &&
         autoRange == other.autoRange && maxX == other.maxX && maxY == other.maxY &&
         minX == other.minX && minY == other.minY && pitchX == other.pitchX &&
         pitchY == other.pitchY && currentApart == other.currentApart &&
         background == other.background && lineColors == other.lineColors &&
         allowMode == other.allowMode;
}

void CDrawResGraphSet::ResetIndex(int resultCase, bool flag) {
  switch (resultCase) {
    case -1:
      itemX = -1;
      itemY = -1;
      break;
    case 0:
      itemY = 5;
      itemX = flag ? 11 : 10;
      break;
    case 1:
      itemY = 5;
      itemX = flag ? 17 : 16;
      break;
    default:
      break;
  }
}

std::string CDrawResGraphSet::GetHeadName(int item) {
  const ItemHead* head = FindHead(item);
  return head != nullptr ? head->name : "";
}

std::string CDrawResGraphSet::GetHeadUnit(int item) {
  const ItemHead* head = FindHead(item);
  return head != nullptr ? head->unit : "";
}

std::string CDrawResGraphSet::GetHeadNameAfter(int item, bool reinforcement) {
  for (const ItemHeadAfter& head : kHeadsAfter) {
    if (head.item == item) return reinforcement ? head.reinforcement : head.drainage;
  }
  if (std::find(std::begin(kPlainAfterItems), std::end(kPlainAfterItems), item) !=
      std::end(kPlainAfterItems)) {
    return GetHeadName(item);
  }
  return "";
}
