#pragma once
// The page bookkeeping of a Word report run: the writer counts the body lines on the current page
// (46 on a portrait page) and breaks pages itself, since every template block is as many lines
// tall as the report counts for it.

#include <array>
#include <string_view>

class WordTemplate;

class WordPages {
 public:
  static constexpr int kLinesPerPage = 46;
  static constexpr int kNoOrientation = -1;

  explicit WordPages(WordTemplate& word) : word_(word) {}

  WordTemplate& Word() const { return word_; }
  int Lines() const { return lines_; }
  void SetLines(int lines) { lines_ = lines; }
  void AddLines(int lines) { lines_ += lines; }
  // Lines still free on the page.
  int Free() const { return kLinesPerPage - lines_; }

  // Appends the block and counts its lines.
  void Block(std::string_view key, int lines);
  // The page-break block; the counter starts again.
  void PageReturn();
  // A page break unless nothing was written on the page yet.
  void BreakUnlessEmpty();
  void PagePort();
  void PageLand();
  // Page set-up with the seven margins in mm (top, bottom, left, right, header, footer, gutter),
  // each sent as twips truncated toward zero; then the orientation.
  void SetPageMargin(bool landscape, const std::array<double, 7>& marginsMm);
  // Limit 0: a page break unless the page is empty. Otherwise a page break when more than limit
  // lines are written, else blank lines.
  void CheckPageReturn(int limit, int blank);
  // Before a table row: when the page is full, a page break and the table's head again.
  void RowCheck(std::string_view head, int headLines);
  // Appends the section-break block when the orientation changes from one that was set.
  void CheckPageOrient(int orientation, std::string_view key);

 private:
  WordTemplate& word_;
  int lines_ = 0;
  int orientation_ = kNoOrientation;
};
