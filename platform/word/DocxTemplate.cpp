#include "platform/word/DocxTemplate.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zip.h>

#include <atomic>
#include <functional>
#include <random>
#include <system_error>

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

bool IsW(const xmlNode* node, const char* name) {
  return node != nullptr && node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
         xmlStrEqual(node->ns->href, kW) && xmlStrEqual(node->name, X(name));
}

xmlNode* ChildW(const xmlNode* parent, const char* name) {
  if (parent == nullptr) return nullptr;
  for (xmlNode* c = parent->children; c != nullptr; c = c->next) {
    if (IsW(c, name)) return c;
  }
  return nullptr;
}

// The first element below node (depth first) that the predicate accepts.
xmlNode* FindDescendant(xmlNode* node, const std::function<bool(const xmlNode*)>& accept) {
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

xmlNode* LastElementBefore(xmlNode* node) {
  for (xmlNode* p = node->prev; p != nullptr; p = p->prev) {
    if (p->type == XML_ELEMENT_NODE) return p;
  }
  return nullptr;
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

// A name in the target's folder that no file has yet.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::random_device seed;
  for (;;) {
    std::filesystem::path candidate = target;
    candidate += ".~" + std::to_string(seed()) + "-" + std::to_string(counter++) + ".tmp";
    std::error_code ec;
    if (!std::filesystem::exists(candidate, ec) && !ec) return candidate;
    if (ec) return candidate;
  }
}

bool WriteZip(const std::filesystem::path& file,
              const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_EXCL, &error);
  if (archive == nullptr) return false;
  for (const auto& [name, data] : entries) {
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    if (source == nullptr ||
        zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
      if (source != nullptr) zip_source_free(source);
      zip_discard(archive);
      return false;
    }
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    return false;
  }
  return true;
}

}  // namespace

struct DocxTemplate::Package {
  ~Package() {
    for (auto& [key, sdt] : blocks) xmlFreeNode(sdt);
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
  // The template's blocks, unlinked from the body, by key.
  std::map<std::string, xmlNode*, std::less<>> blocks;
  std::set<std::string, std::less<>> fieldKeys;
  std::set<std::string, std::less<>> pictureKeys;
  std::vector<std::pair<std::string, std::string>> media;
  int nextPicture = 1;
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
      auto [it, added] = package->blocks.emplace(TagOf(c), c);
      if (!added) xmlFreeNode(c);
    } else if (c != package->sectPr) {
      Drop(c);
    }
    c = next;
  }
  for (const auto& [key, sdt] : package->blocks) {
    FindDescendant(sdt, [&package](const xmlNode* n) {
      if (IsW(n, "sdt")) {
        (IsPictureControl(n) ? package->pictureKeys : package->fieldKeys).insert(TagOf(n));
      }
      return false;
    });
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
    Forget();
    return;
  }
  Package& p = *package_;
  xmlNode* copy = xmlDocCopyNode(block->second, p.doc, 1);
  // Fill and unwrap every content control inside the block.
  while (xmlNode* sdt = FindDescendant(copy, [](const xmlNode* n) { return IsW(n, "sdt"); })) {
    const std::string tag = TagOf(sdt);
    xmlNode* content = ChildW(sdt, "sdtContent");
    if (IsPictureControl(sdt)) {
      const auto picture = pictures_.find(tag);
      xmlNode* blip = content != nullptr ? FindLocal(content, "blip") : nullptr;
      if (picture == pictures_.end() || blip == nullptr) {
        Drop(sdt);
        continue;
      }
      const int number = p.nextPicture++;
      const std::string id = "rIdBrixoPicture" + std::to_string(number);
      const std::string target = "media/picture" + std::to_string(number) + ".png";
      // The block's copy stands outside the document until it is appended, so the
      // relationship namespace is the one the document element declares.
      xmlNs* relationships = xmlSearchNsByHref(p.doc, xmlDocGetRootElement(p.doc), kR);
      if (relationships == nullptr) {
        Drop(sdt);
        continue;
      }
      xmlSetNsProp(blip, relationships, X("embed"), X(id.c_str()));
      if (xmlNode* docPr = FindLocal(content, "docPr")) {
        xmlSetProp(docPr, X("id"), X(std::to_string(1000 + number).c_str()));
      }
      const std::vector<std::uint8_t>& png = picture->second.png;
      p.media.emplace_back("word/" + target, std::string(png.begin(), png.end()));
      p.relationships.insert(
          p.relationships.rfind("</Relationships>"),
          "<Relationship Id=\"" + id +
              "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
              "image\" Target=\"" +
              target + "\"/>");
    } else if (xmlNode* text =
                   content != nullptr
                       ? FindDescendant(content, [](const xmlNode* n) { return IsW(n, "t"); })
                       : nullptr) {
      const auto field = fields_.find(tag);
      const std::string value = field != fields_.end() ? field->second : std::string();
      while (text->children != nullptr) Drop(text->children);
      xmlAddChild(text, xmlNewDocText(p.doc, X(value.c_str())));
      xmlNodeSetSpacePreserve(text, 1);
    }
    Unwrap(sdt);
  }

  // The block's content goes before the section properties; a leading table continues a table
  // of the same grid that ends the document.
  xmlNode* content = ChildW(copy, "sdtContent");
  xmlNode* first = content != nullptr ? content->children : nullptr;
  while (first != nullptr && first->type != XML_ELEMENT_NODE) first = first->next;
  xmlNode* last = LastElementBefore(p.sectPr);
  if (IsW(first, "tbl") && IsW(last, "tbl") && GridOf(first) == GridOf(last)) {
    for (xmlNode* row = first->children; row != nullptr;) {
      xmlNode* next = row->next;
      if (IsW(row, "tr")) {
        xmlUnlinkNode(row);
        xmlAddChild(last, row);
        xmlReconciliateNs(p.doc, row);
      }
      row = next;
    }
    Drop(first);
  }
  while (content != nullptr && content->children != nullptr) {
    xmlNode* child = content->children;
    xmlUnlinkNode(child);
    if (child->type == XML_ELEMENT_NODE) {
      xmlAddPrevSibling(p.sectPr, child);
      xmlReconciliateNs(p.doc, child);
    } else {
      xmlFreeNode(child);
    }
  }
  // The copy declared the namespaces it took along; the moved content now uses the document's
  // own declarations, so the copy can go.
  xmlFreeNode(copy);
  Forget();
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
  entries.emplace_back(kDocumentPart, SerializeDocument(p.doc));
  entries.emplace_back(kRelsPart, p.relationships);
  entries.insert(entries.end(), p.media.begin(), p.media.end());

  const std::filesystem::path temporary = TemporaryBeside(file);
  std::error_code ec;
  if (!WriteZip(temporary, entries)) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  std::filesystem::rename(temporary, file, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
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
