#include "stage/output/WordPages.h"

#include "platform/word/WordTemplate.h"
#include "stage/output/WordKeys.h"

void WordPages::Block(std::string_view key, int lines) {
  word_.AddBlock(key);
  lines_ += lines;
}

void WordPages::PageReturn() {
  word_.AddBlock(kSetReturn);
  lines_ = 0;
}

void WordPages::BreakUnlessEmpty() {
  if (lines_ != 0) PageReturn();
}

void WordPages::PagePort() {
  word_.SetOrientation(WordTemplate::kPortrait);
  lines_ = 0;
}

void WordPages::PageLand() {
  word_.SetOrientation(WordTemplate::kLandscape);
  lines_ = 0;
}

void WordPages::SetPageMargin(bool landscape, const std::array<double, 7>& marginsMm) {
  constexpr double kTwipsPerMm = 56.7;
  const int orientation = landscape ? WordTemplate::kLandscape : WordTemplate::kPortrait;
  WordTemplate::Margins twips{};
  for (std::size_t i = 0; i < twips.size(); ++i) {
    twips[i] = static_cast<int>(marginsMm[i] * kTwipsPerMm);
  }
  word_.PageSetup(orientation, twips);
  word_.SetOrientation(orientation);
  lines_ = 0;
}

void WordPages::CheckPageReturn(int limit, int blank) {
  if (limit == 0) {
    BreakUnlessEmpty();
    return;
  }
  if (lines_ > limit) {
    PageReturn();
    return;
  }
  for (int i = 0; i < blank; ++i) Block(kSpaceLine, 1);
}

void WordPages::RowCheck(std::string_view head, int headLines) {
  if (Free() > 0) return;
  PageReturn();
  Block(head, headLines);
}

void WordPages::CheckPageOrient(int orientation, std::string_view key) {
  if (orientation_ != kNoOrientation && orientation_ != orientation) {
    word_.AddBlock(key);
    lines_ = 0;
  }
  orientation_ = orientation;
}
