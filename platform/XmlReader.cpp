#include "platform/XmlReader.h"

#include <libxml/xmlreader.h>

#include <climits>
#include <string>

#include "platform/XmlLibrary.h"

namespace {

// Never XML_PARSE_NOENT (entity substitution), XML_PARSE_DTDLOAD, XML_PARSE_DTDATTR,
// XML_PARSE_DTDVALID, XML_PARSE_XINCLUDE or XML_PARSE_HUGE: the document alone is read, within
// libxml2's limits on depth and text size.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// libxml2 answers null where it has no text (or no memory for it).
std::string ToString(const xmlChar* text) {
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

}  // namespace

struct XmlReader::LibraryReader {
  explicit LibraryReader(xmlTextReaderPtr r) : reader(r) {}
  ~LibraryReader() { xmlFreeTextReader(reader); }
  LibraryReader(const LibraryReader&) = delete;
  LibraryReader& operator=(const LibraryReader&) = delete;

  xmlTextReaderPtr reader;
};

XmlReader::XmlReader(std::span<const std::uint8_t> document) {
  PrepareXmlLibrary();
  if (document.size() > static_cast<std::size_t>(INT_MAX)) {
    finished_ = Result::Error;
    return;
  }
  const QuietXmlErrors quiet;
  xmlTextReaderPtr reader =
      xmlReaderForMemory(reinterpret_cast<const char*>(document.data()),
                         static_cast<int>(document.size()), nullptr, nullptr, kParseOptions);
  if (reader == nullptr) {
    finished_ = Result::Error;
    return;
  }
  reader_ = std::make_unique<LibraryReader>(reader);
}

XmlReader::~XmlReader() = default;

XmlReader::Result XmlReader::Read() {
  if (finished_ != Result::Node) return finished_;
  if (pendingEnd_) {
    pendingEnd_ = false;
    kind_ = NodeKind::EndElement;
    return Result::Node;
  }
  const QuietXmlErrors quiet;
  for (;;) {
    const int step = xmlTextReaderRead(reader_->reader);
    if (step == 0) {
      finished_ = Result::End;
      return finished_;
    }
    if (step < 0) {
      finished_ = Result::Error;
      return finished_;
    }
    if (TakeNode()) return Result::Node;
    if (finished_ != Result::Node) return finished_;
  }
}

bool XmlReader::TakeNode() {
  xmlTextReaderPtr reader = reader_->reader;
  switch (xmlTextReaderNodeType(reader)) {
    case XML_READER_TYPE_ELEMENT:
      kind_ = NodeKind::StartElement;
      localName_ = ToString(xmlTextReaderConstLocalName(reader));
      value_.clear();
      pendingEnd_ = xmlTextReaderIsEmptyElement(reader) == 1;
      return true;
    case XML_READER_TYPE_END_ELEMENT:
      kind_ = NodeKind::EndElement;
      localName_ = ToString(xmlTextReaderConstLocalName(reader));
      value_.clear();
      return true;
    case XML_READER_TYPE_TEXT:
      kind_ = NodeKind::Text;
      localName_.clear();
      value_ = ToString(xmlTextReaderConstValue(reader));
      return true;
    // Where entities could be declared or used, the document is refused.
    case XML_READER_TYPE_DOCUMENT_TYPE:
    case XML_READER_TYPE_ENTITY_REFERENCE:
    case XML_READER_TYPE_ENTITY:
      finished_ = Result::Error;
      return false;
    default:
      return false;
  }
}
