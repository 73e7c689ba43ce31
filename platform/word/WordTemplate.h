#pragma once
// The operations a Word report is written through: open a template, set the page up, fill the
// fields and pictures of the next block, append blocks, save. A run calls them in this order:
// Open, PageSetup, SetOrientation, then per block its SetField and InsertPicture calls followed
// by AddBlock, the closing block, SaveAs, Quit. A value or picture applies only to the next
// appended block.
//
// DocxTemplate is the one the program uses; tests put a recording one in its place.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class WordTemplate {
 public:
  static constexpr int kPortrait = 1;
  static constexpr int kLandscape = 2;
  // Margins in twips: top, bottom, left, right, header, footer, gutter.
  using Margins = std::array<int, 7>;

  virtual ~WordTemplate() = default;

  // False when the template cannot be read; nothing can be appended then.
  virtual bool Open(const std::filesystem::path& file) = 0;
  virtual void PageSetup(int orientation, const Margins& margins) = 0;
  virtual void SetOrientation(int orientation) = 0;
  // Empty text leaves the field empty.
  virtual void SetField(std::string_view key, std::string_view value) = 0;
  // A PNG picture of width x height pixels, shown at the size its place in the block gives.
  virtual void InsertPicture(std::string_view key, std::vector<std::uint8_t> png, int width,
                             int height) = 0;
  // Appends a copy of the block with the values and pictures set since the last append, which
  // are then forgotten. A key the template lacks appends nothing and joins MissingKeys.
  virtual void AddBlock(std::string_view key) = 0;
  // Writes the document; the file at that path stays as it was when this fails.
  virtual bool SaveAs(const std::filesystem::path& file) = 0;
  virtual void Quit() = 0;

  // The block, field and picture keys the template lacked, each once, in the order they were
  // first asked for.
  virtual const std::vector<std::string>& MissingKeys() const = 0;
};
