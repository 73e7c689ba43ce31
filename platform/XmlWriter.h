#pragma once
// A writer of an XML document into memory, over libxml2's text writer: elements and texts only,
// one element to a line, indented by two spaces per level of nesting. Texts are escaped as XML
// requires; a character the document's encoding cannot hold is written as a character reference.
// Every step answers whether it succeeded; after a failed step the document is unusable.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class XmlWriter {
 public:
  // A document in the named encoding; "Shift_JIS" writes CP932.
  explicit XmlWriter(const std::string& encoding);
  ~XmlWriter();
  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;

  // False when libxml2 knows no such encoding: nothing can be written then.
  bool IsOpen() const { return writer_ != nullptr; }

  // The XML declaration: version 1.0 and the encoding under the name given, no standalone part.
  bool WriteStartDocument();
  bool WriteStartElement(const std::string& name);
  // A whole element with the text as its content; an empty text gives <NAME></NAME>. Fails for a
  // name that is no XML name and for a text that is no UTF-8 or holds a character XML cannot
  // carry (a control character other than tab, line feed and carriage return).
  bool WriteElementString(const std::string& name, const std::string& text);
  // The end tag of the innermost open element, written out in full even when it has no content.
  bool WriteFullEndElement();
  // Closes every element still open.
  bool WriteEndDocument();
  // Makes everything written so far part of Bytes().
  bool Flush();

  // The document's bytes in its encoding, as far as they are flushed.
  std::span<const std::uint8_t> Bytes() const;

 private:
  struct LibraryWriter;

  std::string encoding_;
  std::unique_ptr<LibraryWriter> writer_;
};
