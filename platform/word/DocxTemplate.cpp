#include "platform/word/DocxTemplate.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zip.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

#include "platform/ReplacingFile.h"

namespace docx_markup {

// Markup with fields: texts[0], the value of fields[0], texts[1], ... texts[n].
struct FieldMarkup {
  std::vector<std::string> texts;
  std::vector<std::string> fields;
};

// One top-level element of a block as markup: whole, and for a table its rows alone.
struct ElementMarkup {
  bool table = false;
  std::string grid;   // a table's column grid
  std::string close;  // a table's closing tag
  FieldMarkup whole;
  FieldMarkup rows;
};

// A template block: its content control, unlinked from the body, and unless it holds a picture,
// its markup with the field places, which an append only has to fill.
struct Block {
  xmlNode* sdt = nullptr;
  bool compiled = false;
  std::vector<ElementMarkup> elements;
};

}  // namespace docx_markup

using docx_markup::Block;
using docx_markup::ElementMarkup;
using docx_markup::FieldMarkup;

namespace {

constexpr const char* kDocumentPart = "word/document.xml";
constexpr const char* kRelsPart = "word/_rels/document.xml.rels";
constexpr const char* kContentTypesPart = "[Content_Types].xml";
const xmlChar* const kW = reinterpret_cast<const xmlChar*>(
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const xmlChar* const kR = reinterpret_cast<const xmlChar*>(
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships");
// A damaged package must not make us hold more than this in memory.
constexpr zip_uint64_t kMaxPackageBytes = 64u << 20;
// A4 in twips.
constexpr int kPageShort = 11906;
constexpr int kPageLong = 16838;
// The template alone is read: no entity substitution, no DTD, nothing from the network.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

// The short local name first: most nodes differ there, and the namespace is a long text.
bool IsW(const xmlNode* node, const char* name) {
  return node != nullptr && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, X(name)) &&
         node->ns != nullptr && xmlStrEqual(node->ns->href, kW);
}

xmlNode* ChildW(const xmlNode* parent, const char* name) {
  if (parent == nullptr) return nullptr;
  for (xmlNode* c = parent->children; c != nullptr; c = c->next) {
    if (IsW(c, name)) return c;
  }
  return nullptr;
}

// The first element below node (depth first) that the predicate accepts.
template <typename Accept>
xmlNode* FindDescendant(xmlNode* node, const Accept& accept) {
  for (xmlNode* c = node->children; c != nullptr; c = c->next) {
    if (c->type != XML_ELEMENT_NODE) continue;
    if (accept(c)) return c;
    if (xmlNode* found = FindDescendant(c, accept)) return found;
  }
  return nullptr;
}

xmlNode* FindLocal(xmlNode* node, const char* localName) {
  return FindDescendant(
      node, [localName](const xmlNode* n) { return xmlStrEqual(n->name, X(localName)) != 0; });
}

// The content controls below node in document order, without those inside another.
void CollectContentControls(xmlNode* node, std::vector<xmlNode*>& found) {
  for (xmlNode* c = node->children; c != nullptr; c = c->next) {
    if (c->type != XML_ELEMENT_NODE) continue;
    if (IsW(c, "sdt")) {
      found.push_back(c);
    } else {
      CollectContentControls(c, found);
    }
  }
}

std::string Attribute(const xmlNode* node, const char* name, const xmlChar* ns) {
  xmlChar* value = xmlGetNsProp(node, X(name), ns);
  if (value == nullptr) return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

void SetW(xmlNode* node, const char* name, const std::string& value) {
  xmlSetNsProp(node, xmlSearchNsByHref(node->doc, node, kW), X(name), X(value.c_str()));
}

xmlNode* GetOrAddW(xmlNode* parent, const char* name) {
  if (xmlNode* found = ChildW(parent, name)) return found;
  return xmlNewChild(parent, xmlSearchNsByHref(parent->doc, parent, kW), X(name), nullptr);
}

std::string TagOf(const xmlNode* sdt) {
  const xmlNode* tag = ChildW(ChildW(sdt, "sdtPr"), "tag");
  return tag != nullptr ? Attribute(tag, "val", kW) : std::string();
}

bool IsPictureControl(const xmlNode* sdt) { return ChildW(ChildW(sdt, "sdtPr"), "picture"); }

// Moves the content of a content control into its place and drops the control.
void Unwrap(xmlNode* sdt) {
  if (xmlNode* content = ChildW(sdt, "sdtContent")) {
    while (xmlNode* child = content->children) {
      xmlUnlinkNode(child);
      xmlAddPrevSibling(sdt, child);
    }
  }
  xmlUnlinkNode(sdt);
  xmlFreeNode(sdt);
}

void Drop(xmlNode* node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

// The column widths of a table's grid, as one text.
std::string GridOf(const xmlNode* table) {
  std::string grid;
  const xmlNode* tblGrid = ChildW(table, "tblGrid");
  if (tblGrid == nullptr) return grid;
  for (const xmlNode* c = tblGrid->children; c != nullptr; c = c->next) {
    if (IsW(c, "gridCol")) grid += Attribute(c, "w", kW) + ",";
  }
  return grid;
}

// The element's name as written: with its namespace prefix.
std::string QualifiedName(const xmlNode* node) {
  std::string name(reinterpret_cast<const char*>(node->name));
  if (node->ns != nullptr && node->ns->prefix != nullptr) {
    name = reinterpret_cast<const char*>(node->ns->prefix) + (":" + name);
  }
  return name;
}

// Appends the element's markup in UTF-8; its namespaces are those of the document element.
void AppendMarkup(std::string& text, xmlDoc* doc, xmlNode* node) {
  xmlOutputBuffer* out = xmlAllocOutputBuffer(nullptr);
  if (out == nullptr) return;
  xmlNodeDumpOutput(out, doc, node, 0, 0, "UTF-8");
  xmlOutputBufferFlush(out);
  text.append(reinterpret_cast<const char*>(xmlOutputBufferGetContent(out)),
              xmlOutputBufferGetSize(out));
  xmlOutputBufferClose(out);
}

std::string SerializeDocument(xmlDoc* doc) {
  xmlChar* buffer = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(doc, &buffer, &size, "UTF-8");
  std::string text(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
  xmlFree(buffer);
  return text;
}

// Reads every file of a package; false when it is no zip, is damaged or too large.
bool ReadPackage(const std::filesystem::path& file,
                 std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY, &error);
  if (archive == nullptr) return false;
  bool ok = true;
  zip_uint64_t total = 0;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; ok && i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        (stat.valid & ZIP_STAT_NAME) == 0) {
      ok = false;
      break;
    }
    total += stat.size;
    if (total > kMaxPackageBytes) {
      ok = false;
      break;
    }
    const std::string name(stat.name);
    if (!name.empty() && name.back() == '/') continue;
    std::string data(static_cast<std::size_t>(stat.size), '\0');
    zip_file_t* entry = zip_fopen_index(archive, index, 0);
    ok = entry != nullptr &&
         zip_fread(entry, data.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
    if (entry != nullptr) zip_fclose(entry);
    entries.emplace_back(name, std::move(data));
  }
  zip_discard(archive);
  return ok;
}

// A copy made outside the document declares the namespaces it uses on its own top element.
// Its nodes are pointed at the document element's declarations instead (declared there when
// missing), so that content moved out of the copy never refers to a declaration freed with it.
void AdoptDocumentNamespaces(xmlDoc* doc, xmlNode* copy) {
  xmlNode* root = xmlDocGetRootElement(doc);
  std::vector<std::pair<const xmlNs*, xmlNs*>> adopted;
  for (xmlNs* own = copy->nsDef; own != nullptr; own = own->next) {
    xmlNs* shared = xmlSearchNsByHref(doc, root, own->href);
    if (shared == nullptr) shared = xmlNewNs(root, own->href, own->prefix);
    adopted.emplace_back(own, shared);
  }
  const auto adopt = [&adopted](xmlNs*& ns) {
    for (const auto& [own, shared] : adopted) {
      if (ns == own) {
        ns = shared;
        return;
      }
    }
  };
  const auto walk = [&adopt](const auto& self, xmlNode* node) -> void {
    for (; node != nullptr; node = node->next) {
      if (node->type != XML_ELEMENT_NODE) continue;
      adopt(node->ns);
      for (xmlAttr* a = node->properties; a != nullptr; a = a->next) adopt(a->ns);
      self(self, node->children);
    }
  };
  adopt(copy->ns);
  for (xmlAttr* a = copy->properties; a != nullptr; a = a->next) adopt(a->ns);
  walk(walk, copy->children);
}

// The field control's text becomes the value.
void SetFieldText(xmlDoc* doc, xmlNode* sdt, const std::string& value) {
  xmlNode* content = ChildW(sdt, "sdtContent");
  xmlNode* text = content != nullptr
                      ? FindDescendant(content, [](const xmlNode* n) { return IsW(n, "t"); })
                      : nullptr;
  if (text == nullptr) return;
  while (text->children != nullptr) Drop(text->children);
  xmlAddChild(text, xmlNewDocText(doc, X(value.c_str())));
  xmlNodeSetSpacePreserve(text, 1);
}

// Field places are marked in the markup by characters of Unicode's private use area, which
// neither the templates nor XML escaping produce: U+E000, the field's number, U+E001.
constexpr std::string_view kMarkOpen = "\xEE\x80\x80";
constexpr std::string_view kMarkClose = "\xEE\x80\x81";

std::string FieldMark(std::size_t index) {
  return std::string(kMarkOpen) + std::to_string(index) + std::string(kMarkClose);
}

// Splits marked markup at its field marks.
FieldMarkup SplitAtMarks(const std::string& marked, const std::vector<std::string>& fields) {
  FieldMarkup markup;
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = marked.find(kMarkOpen, from);
    const std::size_t close =
        open == std::string::npos ? std::string::npos : marked.find(kMarkClose, open);
    if (close == std::string::npos) break;
    markup.texts.push_back(marked.substr(from, open - from));
    const std::string number =
        marked.substr(open + kMarkOpen.size(), close - open - kMarkOpen.size());
    markup.fields.push_back(fields.at(std::stoul(number)));
    from = close + kMarkClose.size();
  }
  markup.texts.push_back(marked.substr(from));
  return markup;
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
}

// The block content's top-level elements as markup, split at the field marks they hold.
std::vector<ElementMarkup> ElementsOf(xmlDoc* doc, xmlNode* content,
                                      const std::vector<std::string>& fields) {
  std::vector<ElementMarkup> elements;
  for (xmlNode* child = content->children; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) continue;
    ElementMarkup element;
    std::string whole;
    AppendMarkup(whole, doc, child);
    element.whole = SplitAtMarks(whole, fields);
    element.table = IsW(child, "tbl");
    if (element.table) {
      element.grid = GridOf(child);
      element.close = "</" + QualifiedName(child) + ">";
      std::string rows;
      for (xmlNode* row = child->children; row != nullptr; row = row->next) {
        if (IsW(row, "tr")) AppendMarkup(rows, doc, row);
      }
      element.rows = SplitAtMarks(rows, fields);
    }
    elements.push_back(std::move(element));
  }
  return elements;
}

// A block without pictures as markup with field places, made once when the template opens.
void Compile(xmlDoc* doc, Block& block) {
  xmlNode* copy = xmlDocCopyNode(block.sdt, doc, 1);
  AdoptDocumentNamespaces(doc, copy);
  if (xmlNode* content = ChildW(copy, "sdtContent")) {
    std::vector<xmlNode*> controls;
    CollectContentControls(content, controls);
    std::vector<std::string> fields;
    for (xmlNode* sdt : controls) {
      SetFieldText(doc, sdt, FieldMark(fields.size()));
      fields.push_back(TagOf(sdt));
      Unwrap(sdt);
    }
    block.elements = ElementsOf(doc, content, fields);
    block.compiled = true;
  }
  xmlFreeNode(copy);
}

// The package's bytes: libzip builds it in memory, so the file reaches the disk only through
// the replacing file, whole.
std::optional<std::string> ZipBytes(
    const std::vector<std::pair<std::string, std::string>>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* const memory = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  if (memory == nullptr) return std::nullopt;
  zip_source_keep(memory);  // the bytes stay readable after the archive is closed
  const std::unique_ptr<zip_source_t, decltype(&zip_source_free)> kept(memory, zip_source_free);
  zip_t* const archive = zip_open_from_source(memory, ZIP_TRUNCATE, nullptr);
  if (archive == nullptr) return std::nullopt;
  for (const auto& [name, data] : entries) {
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    const zip_int64_t index = source != nullptr ? zip_file_add(archive, name.c_str(), source,
                                                               ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                                                : -1;
    if (index < 0) {
      if (source != nullptr) zip_source_free(source);
      zip_discard(archive);
      return std::nullopt;
    }
    // The fastest deflate: a long list of blocks is mostly repeated markup, which it packs
    // nearly as well as the default level, in a fraction of the time.
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return std::nullopt;
  }
  zip_stat_t stat;
  if (zip_source_stat(memory, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
      zip_source_open(memory) != 0) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(stat.size), '\0');
  const zip_int64_t read = zip_source_read(memory, bytes.data(), bytes.size());
  zip_source_close(memory);
  if (read != static_cast<zip_int64_t>(bytes.size())) return std::nullopt;
  return bytes;
}

bool WriteFileWhole(const std::filesystem::path& target, const std::string& bytes) {
  std::error_code error;
  const std::unique_ptr<ReplacingFile> file = ReplacingFile::Create(target, error);
  return file != nullptr &&
         std::fwrite(bytes.data(), 1, bytes.size(), file->Stream()) == bytes.size() &&
         !file->Commit();
}

}  // namespace

struct DocxTemplate::Package {
  ~Package() {
    for (auto& [key, block] : blocks) xmlFreeNode(block.sdt);
    blocks.clear();
    if (doc != nullptr) xmlFreeDoc(doc);
  }

  // The template's files other than the document, its relationships and content types.
  std::vector<std::pair<std::string, std::string>> parts;
  std::string contentTypes;
  std::string relationships;
  xmlDoc* doc = nullptr;
  xmlNode* body = nullptr;
  xmlNode* sectPr = nullptr;
  // The template's blocks by key.
  std::map<std::string, Block, std::less<>> blocks;
  std::set<std::string, std::less<>> fieldKeys;
  std::set<std::string, std::less<>> pictureKeys;
  std::vector<std::pair<std::string, std::string>> media;
  int nextPicture = 1;
  // The markup of the appended blocks, and when it ends with a table, that table's column grid
  // and closing tag.
  std::string appended;
  std::string openTableGrid;
  std::string openTableClose;
};

DocxTemplate::DocxTemplate() = default;
DocxTemplate::~DocxTemplate() = default;

bool DocxTemplate::Open(const std::filesystem::path& file) {
  package_.reset();
  Forget();
  std::vector<std::pair<std::string, std::string>> entries;
  if (!ReadPackage(file, entries)) return false;

  auto package = std::make_unique<Package>();
  std::string document;
  bool hasRelationships = false;
  for (auto& [name, data] : entries) {
    if (name == kDocumentPart) {
      document = std::move(data);
    } else if (name == kRelsPart) {
      package->relationships = std::move(data);
      hasRelationships = true;
    } else if (name == kContentTypesPart) {
      package->contentTypes = std::move(data);
    } else {
      package->parts.emplace_back(name, std::move(data));
    }
  }
  if (document.empty() || package->contentTypes.find("</Types>") == std::string::npos ||
      !hasRelationships || package->relationships.find("</Relationships>") == std::string::npos) {
    return false;
  }

  package->doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), kDocumentPart,
                               nullptr, kParseOptions);
  if (package->doc == nullptr || package->doc->intSubset != nullptr) return false;
  xmlNode* root = xmlDocGetRootElement(package->doc);
  package->body = IsW(root, "document") ? ChildW(root, "body") : nullptr;
  package->sectPr = ChildW(package->body, "sectPr");
  if (package->sectPr == nullptr) return false;

  // Blocks leave the body; whatever else it holds but the section properties goes.
  for (xmlNode* c = package->body->children; c != nullptr;) {
    xmlNode* next = c->next;
    if (IsW(c, "sdt")) {
      xmlUnlinkNode(c);
      auto [it, added] =
          package->blocks.emplace(TagOf(c), Block{.sdt = c, .compiled = false, .elements = {}});
      if (!added) xmlFreeNode(c);
    } else if (c != package->sectPr) {
      Drop(c);
    }
    c = next;
  }
  for (auto& [key, block] : package->blocks) {
    std::vector<xmlNode*> controls;
    CollectContentControls(ChildW(block.sdt, "sdtContent"), controls);
    bool pictures = false;
    for (const xmlNode* control : controls) {
      pictures = pictures || IsPictureControl(control);
      (IsPictureControl(control) ? package->pictureKeys : package->fieldKeys)
          .insert(TagOf(control));
    }
    if (!pictures) Compile(package->doc, block);
  }
  package_ = std::move(package);
  return true;
}

void DocxTemplate::PageSetup(int orientation, const Margins& margins) {
  if (!package_) return;
  SetOrientation(orientation);
  xmlNode* pgMar = GetOrAddW(package_->sectPr, "pgMar");
  static constexpr std::array<const char*, 7> kNames = {"top",    "bottom", "left",  "right",
                                                        "header", "footer", "gutter"};
  for (std::size_t i = 0; i < kNames.size(); ++i)
    SetW(pgMar, kNames[i], std::to_string(margins[i]));
}

void DocxTemplate::SetOrientation(int orientation) {
  if (!package_) return;
  xmlNode* pgSz = GetOrAddW(package_->sectPr, "pgSz");
  const bool landscape = orientation == kLandscape;
  SetW(pgSz, "w", std::to_string(landscape ? kPageLong : kPageShort));
  SetW(pgSz, "h", std::to_string(landscape ? kPageShort : kPageLong));
  if (landscape) {
    SetW(pgSz, "orient", "landscape");
  } else if (xmlAttr* orient = xmlHasNsProp(pgSz, X("orient"), kW)) {
    xmlRemoveProp(orient);
  }
}

void DocxTemplate::SetField(std::string_view key, std::string_view value) {
  if (package_ && !package_->fieldKeys.contains(key)) Record(key);
  fields_.insert_or_assign(std::string(key), std::string(value));
}

void DocxTemplate::InsertPicture(std::string_view key, std::vector<std::uint8_t> png, int width,
                                 int height) {
  if (package_ && !package_->pictureKeys.contains(key)) Record(key);
  pictures_.insert_or_assign(std::string(key), Picture{std::move(png), width, height});
}

void DocxTemplate::AddBlock(std::string_view key) {
  if (!package_) return;
  const auto block = package_->blocks.find(key);
  if (block == package_->blocks.end()) {
    Record(key);
  } else if (block->second.compiled) {
    Append(block->second.elements);
  } else {
    Append(FilledElements(block->second.sdt));
  }
  Forget();
}

std::vector<ElementMarkup> DocxTemplate::FilledElements(xmlNode* sdt) {
  Package& p = *package_;
  xmlNode* copy = xmlDocCopyNode(sdt, p.doc, 1);
  AdoptDocumentNamespaces(p.doc, copy);
  std::vector<ElementMarkup> elements;
  if (xmlNode* content = ChildW(copy, "sdtContent")) {
    std::vector<xmlNode*> controls;
    CollectContentControls(content, controls);
    for (xmlNode* control : controls) {
      const std::string tag = TagOf(control);
      if (IsPictureControl(control)) {
        const auto picture = pictures_.find(tag);
        if (picture == pictures_.end() || !PlacePicture(control, picture->second)) {
          Drop(control);
          continue;
        }
      } else {
        const auto field = fields_.find(tag);
        SetFieldText(p.doc, control, field != fields_.end() ? field->second : std::string());
      }
      Unwrap(control);
    }
    elements = ElementsOf(p.doc, content, {});
  }
  xmlFreeNode(copy);
  return elements;
}

void DocxTemplate::Append(const std::vector<ElementMarkup>& elements) {
  Package& p = *package_;
  const auto fill = [this, &p](const FieldMarkup& markup) {
    p.appended += markup.texts.front();
    for (std::size_t i = 0; i < markup.fields.size(); ++i) {
      if (const auto value = fields_.find(markup.fields[i]); value != fields_.end()) {
        AppendEscaped(p.appended, value->second);
      }
      p.appended += markup.texts[i + 1];
    }
  };
  // A leading table continues a table of the same grid that ends the body.
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const ElementMarkup& element = elements[i];
    if (i == 0 && element.table && !p.openTableGrid.empty() && element.grid == p.openTableGrid) {
      p.appended.resize(p.appended.size() - p.openTableClose.size());
      fill(element.rows);
      p.appended += p.openTableClose;
    } else {
      fill(element.whole);
      p.openTableGrid = element.grid;
      p.openTableClose = element.close;
    }
  }
}

bool DocxTemplate::PlacePicture(xmlNode* sdt, const Picture& picture) {
  Package& p = *package_;
  xmlNode* content = ChildW(sdt, "sdtContent");
  xmlNode* blip = content != nullptr ? FindLocal(content, "blip") : nullptr;
  // The block's copy stands outside the document until it is appended, so the relationship
  // namespace is the one the document element declares.
  xmlNs* relationships = xmlSearchNsByHref(p.doc, xmlDocGetRootElement(p.doc), kR);
  if (blip == nullptr || relationships == nullptr) return false;
  const int number = p.nextPicture++;
  const std::string id = "rIdBrixoPicture" + std::to_string(number);
  const std::string target = "media/picture" + std::to_string(number) + ".png";
  xmlSetNsProp(blip, relationships, X("embed"), X(id.c_str()));
  if (xmlNode* docPr = FindLocal(content, "docPr")) {
    xmlSetProp(docPr, X("id"), X(std::to_string(1000 + number).c_str()));
  }
  p.media.emplace_back("word/" + target, std::string(picture.png.begin(), picture.png.end()));
  p.relationships.insert(
      p.relationships.rfind("</Relationships>"),
      "<Relationship Id=\"" + id +
          "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
          "Target=\"" +
          target + "\"/>");
  return true;
}

bool DocxTemplate::SaveAs(const std::filesystem::path& file) {
  if (!package_) return false;
  const Package& p = *package_;
  std::string contentTypes = p.contentTypes;
  if (contentTypes.find("Extension=\"png\"") == std::string::npos) {
    contentTypes.insert(contentTypes.rfind("</Types>"),
                        "<Default Extension=\"png\" ContentType=\"image/png\"/>");
  }
  std::vector<std::pair<std::string, std::string>> entries;
  entries.emplace_back(kContentTypesPart, std::move(contentTypes));
  entries.insert(entries.end(), p.parts.begin(), p.parts.end());
  // The body goes in front of the section properties, which end it.
  std::string document = SerializeDocument(p.doc);
  std::string sectionProperties;
  AppendMarkup(sectionProperties, p.doc, p.sectPr);
  const std::size_t at = document.find(sectionProperties);
  if (sectionProperties.empty() || at == std::string::npos) return false;
  document.insert(at, p.appended);
  entries.emplace_back(kDocumentPart, std::move(document));
  entries.emplace_back(kRelsPart, p.relationships);
  entries.insert(entries.end(), p.media.begin(), p.media.end());

  const std::optional<std::string> bytes = ZipBytes(entries);
  return bytes && WriteFileWhole(file, *bytes);
}

void DocxTemplate::Quit() {
  package_.reset();
  Forget();
}

void DocxTemplate::Record(std::string_view key) {
  if (missingSet_.emplace(key).second) missing_.emplace_back(key);
}

void DocxTemplate::Forget() {
  fields_.clear();
  pictures_.clear();
}
