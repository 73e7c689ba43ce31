#include "platform/XmlWriter.h"

#include <libxml/chvalid.h>
#include <libxml/encoding.h>
#include <libxml/tree.h>
#include <libxml/xmlstring.h>
#include <libxml/xmlwriter.h>

#include <climits>
#include <string_view>

#include "platform/XmlLibrary.h"

namespace {

const xmlChar* AsXmlChars(const std::string& text) {
  return reinterpret_cast<const xmlChar*>(text.c_str());
}

bool IsXmlName(const std::string& name) { return xmlValidateNCName(AsXmlChars(name), 0) == 0; }

// Well-formed UTF-8 of characters that an XML 1.0 document may hold.
bool IsXmlText(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const xmlChar* rest = AsXmlChars(text);
  int left = static_cast<int>(text.size());
  while (left > 0) {
    int length = left;
    const int c = xmlGetUTF8Char(rest, &length);
    if (c < 0 || !xmlIsCharQ(c)) return false;
    rest += length;
    left -= length;
  }
  return true;
}

}  // namespace

// The text writer writes through an output buffer that encodes into a memory buffer; the writer
// owns the output buffer, we own the memory buffer, which outlives both.
struct XmlWriter::LibraryWriter {
  LibraryWriter(xmlBufferPtr b, xmlTextWriterPtr w) : buffer(b), writer(w) {}
  ~LibraryWriter() {
    xmlFreeTextWriter(writer);
    xmlBufferFree(buffer);
  }
  LibraryWriter(const LibraryWriter&) = delete;
  LibraryWriter& operator=(const LibraryWriter&) = delete;

  xmlBufferPtr buffer;
  xmlTextWriterPtr writer;
};

XmlWriter::XmlWriter(const std::string& encoding) : encoding_(encoding) {
  PrepareXmlLibrary();
  const QuietXmlErrors quiet;
  xmlCharEncodingHandlerPtr encoder = xmlFindCharEncodingHandler(encoding.c_str());
  if (encoder == nullptr) return;
  xmlBufferPtr buffer = xmlBufferCreate();
  xmlOutputBufferPtr output =
      buffer != nullptr ? xmlOutputBufferCreateBuffer(buffer, encoder) : nullptr;
  if (output == nullptr) {
    xmlCharEncCloseFunc(encoder);
    xmlBufferFree(buffer);
    return;
  }
  xmlTextWriterPtr writer = xmlNewTextWriter(output);
  if (writer == nullptr) {
    xmlOutputBufferClose(output);
    xmlBufferFree(buffer);
    return;
  }
  writer_ = std::make_unique<LibraryWriter>(buffer, writer);
  xmlTextWriterSetIndent(writer, 1);
  xmlTextWriterSetIndentString(writer, reinterpret_cast<const xmlChar*>("  "));
}

XmlWriter::~XmlWriter() {
  const QuietXmlErrors quiet;
  writer_.reset();
}

// libxml2's own declaration would name the encoding as it registered it, in capitals; ours names
// it as the caller did.
bool XmlWriter::WriteStartDocument() {
  if (!IsOpen()) return false;
  const QuietXmlErrors quiet;
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"" + encoding_ + "\"?>\n";
  return xmlTextWriterWriteRaw(writer_->writer, AsXmlChars(declaration)) >= 0;
}

bool XmlWriter::WriteStartElement(const std::string& name) {
  if (!IsOpen() || !IsXmlName(name)) return false;
  const QuietXmlErrors quiet;
  return xmlTextWriterStartElement(writer_->writer, AsXmlChars(name)) >= 0;
}

bool XmlWriter::WriteElementString(const std::string& name, const std::string& text) {
  if (!IsOpen() || !IsXmlName(name) || !IsXmlText(text)) return false;
  const QuietXmlErrors quiet;
  return xmlTextWriterWriteElement(writer_->writer, AsXmlChars(name), AsXmlChars(text)) >= 0;
}

bool XmlWriter::WriteFullEndElement() {
  if (!IsOpen()) return false;
  const QuietXmlErrors quiet;
  return xmlTextWriterFullEndElement(writer_->writer) >= 0;
}

bool XmlWriter::WriteEndDocument() {
  if (!IsOpen()) return false;
  const QuietXmlErrors quiet;
  return xmlTextWriterEndDocument(writer_->writer) >= 0;
}

bool XmlWriter::Flush() {
  if (!IsOpen()) return false;
  const QuietXmlErrors quiet;
  return xmlTextWriterFlush(writer_->writer) >= 0;
}

std::span<const std::uint8_t> XmlWriter::Bytes() const {
  if (!IsOpen()) return {};
  return {xmlBufferContent(writer_->buffer),
          static_cast<std::size_t>(xmlBufferLength(writer_->buffer))};
}
