#pragma once
// A forward-only reader of an XML document in memory, over libxml2's text reader. It reports the
// element starts, texts and element ends in document order and passes over everything else
// (white space between elements, comments, processing instructions, CDATA sections). An empty
// element (<A/>) is reported as a start and an end, as <A></A> is.
//
// The document must be well-formed to the end; the encoding comes from its declaration (UTF-8
// without one), and "Shift_JIS" reads as CP932. Nothing outside the document is ever loaded and
// no entity is expanded: a document with a document type declaration is refused, so neither
// external entities nor nested entity definitions can reach the file system, the network or the
// memory.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class XmlReader {
 public:
  enum class Result {
    Node,   // the reader stands on the next node
    End,    // the document ended, well-formed
    Error,  // the document is malformed, truncated, refused or not decodable; reading stops
  };
  enum class NodeKind { StartElement, Text, EndElement };

  // Reads the bytes, which must outlive the reader.
  explicit XmlReader(std::span<const std::uint8_t> document);
  ~XmlReader();
  XmlReader(const XmlReader&) = delete;
  XmlReader& operator=(const XmlReader&) = delete;

  // Moves to the next node. After End or Error every further call gives the same result.
  Result Read();

  // The node the reader stands on, after Read gave Node.
  NodeKind Kind() const { return kind_; }
  // The element's name without a namespace prefix (for starts and ends).
  const std::string& LocalName() const { return localName_; }
  // The text with its character and entity references resolved, in UTF-8 (for texts).
  const std::string& Value() const { return value_; }

 private:
  struct LibraryReader;
  // Takes the node libxml2 stands on; false when it is one the caller never sees.
  bool TakeNode();

  std::unique_ptr<LibraryReader> reader_;
  Result finished_ = Result::Node;  // End or Error once reading has stopped
  bool pendingEnd_ = false;         // an empty element was reported, its end is next
  NodeKind kind_ = NodeKind::StartElement;
  std::string localName_;
  std::string value_;
};
