#pragma once
// The Word template filler over a .docx package (libzip) and its WordprocessingML (libxml2).
//
// Template markup: a block is a body-level content control (w:sdt) whose tag is the block key; a
// field is a run-level content control tagged with the field key; a picture is a picture content
// control tagged with the figure key, holding a drawing whose extent is the size the picture is
// shown at. An appended block is a plain copy of the block's content: the content controls are
// unwrapped, fields hold their values (empty when none was set) and pictures the PNG set for them
// (a picture place without one is dropped), so the document holds only paragraphs, tables and
// drawings. A block that begins with a table and follows a table of the same column grid adds its
// rows to that table, so the rows of a table head and its data rows form one table.
//
// The package is read whole into memory; the template's XML is parsed without loading anything
// from outside it (no network, no document type declaration). Blocks without pictures are made
// into markup with field places once, when the template opens, so that an append only joins
// texts; blocks with pictures are filled as small trees. The body is kept as markup text, so a
// document of tens of thousands of table rows never becomes one large tree.

#include <map>
#include <memory>
#include <set>

#include "platform/word/WordTemplate.h"

struct _xmlNode;
namespace docx_markup {
struct ElementMarkup;
}

class DocxTemplate final : public WordTemplate {
 public:
  DocxTemplate();
  ~DocxTemplate() override;
  DocxTemplate(const DocxTemplate&) = delete;
  DocxTemplate& operator=(const DocxTemplate&) = delete;

  bool Open(const std::filesystem::path& file) override;
  void PageSetup(int orientation, const Margins& margins) override;
  void SetOrientation(int orientation) override;
  void SetField(std::string_view key, std::string_view value) override;
  void InsertPicture(std::string_view key, std::vector<std::uint8_t> png, int width,
                     int height) override;
  void AddBlock(std::string_view key) override;
  bool SaveAs(const std::filesystem::path& file) override;
  void Quit() override;
  const std::vector<std::string>& MissingKeys() const override { return missing_; }

 private:
  struct Package;
  struct Picture {
    std::vector<std::uint8_t> png;
    int width = 0;
    int height = 0;
  };

  // A block with pictures: a copy filled with the values and pictures set, as markup.
  std::vector<docx_markup::ElementMarkup> FilledElements(_xmlNode* sdt);
  // Adds the markup to the body, the values set filling its field places.
  void Append(const std::vector<docx_markup::ElementMarkup>& elements);
  // Points the picture control's drawing at a new image part holding the PNG; false when the
  // control holds no drawing.
  bool PlacePicture(_xmlNode* sdt, const Picture& picture);
  void Record(std::string_view key);
  void Forget();

  std::unique_ptr<Package> package_;
  std::map<std::string, std::string, std::less<>> fields_;
  std::map<std::string, Picture, std::less<>> pictures_;
  std::vector<std::string> missing_;
  std::set<std::string, std::less<>> missingSet_;
};
