#pragma once
// The core's own small XML tree, through which the common terrain data is written and read: a
// tree of elements, each holding either child elements or one text, with a writer and a reader of
// exactly that subset. No attributes, comments, processing instructions (beyond the leading
// declaration) or CDATA; the reader refuses them.
//
// On disk: CP932 under the declaration encoding="Shift_JIS", CR LF line ends, one element per
// line indented by one space per ancestor, a text element and its text on one line; "&", "<" and
// ">" in texts are escaped. In memory all texts are UTF-8.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CXmlNode {
 public:
  // Reading refuses a document nested deeper than this: the root is level 0, its children 1.
  static constexpr int kMaxClassLevel = 255;

  CXmlNode() = default;
  CXmlNode(const CXmlNode&) = delete;
  CXmlNode& operator=(const CXmlNode&) = delete;
  ~CXmlNode() = default;

  // ---- Building; each returns the new child, which this node owns.

  // A child with that tag and parent flag; the data is kept only for a leaf (flag 0).
  CXmlNode* AddChildNode(const std::string& tag, int isParent, const std::string& data);
  // A child that holds further elements.
  CXmlNode* AddNodeTag(const std::string& tag);
  // A leaf holding the text.
  CXmlNode* AddNodeData(const std::string& tag, const std::string& text);
  // A leaf holding the value in fixed notation with that many decimals ("%.<decimals>lf").
  CXmlNode* AddNodeData(const std::string& tag, double value, int decimals);
  // A leaf holding the value in decimal ("%d").
  CXmlNode* AddNodeData(const std::string& tag, int value);

  // Renames the node and sets its flag; a leaf (flag 0) loses all its children.
  void SetTag(const std::string& tag, int isParent);
  void DeleteAllChild();

  // ---- Reading the tree

  const std::string& GetTag() const { return tag_; }
  const std::string& GetDataWord() const { return data_; }
  // 1 for a node of child elements, 0 for a leaf of text.
  int IsParent() const { return isParent_; }
  // The number of ancestors; 0 for a root.
  int GetClassLevel() const;
  std::size_t GetChildCount() const { return children_.size(); }

  // Walk over the children in order; null after the last. One walk per node at a time: a second
  // GetFirstChild starts over.
  CXmlNode* GetFirstChild();
  CXmlNode* GetNextChild();

  // This node when its tag is the one asked for, else the first match among its descendants in
  // document order; null when there is none. Searches never move a walk over the children.
  CXmlNode* FindTag(std::string_view tag);
  // As FindTag, and copies the found node's data into `data` (emptied when nothing is found).
  CXmlNode* FindData(std::string_view tag, std::string& data);
  // As FindTag, and splits the found node's data at commas into `words` (emptied first).
  CXmlNode* FindData(std::string_view tag, std::vector<std::string>& words);
  // Splits this node's data at commas into `words` (emptied first): "1,,2" gives "1", "" and "2";
  // empty data gives no words.
  void GetDataWord(std::vector<std::string>& words) const;
  // The next sibling after this node with the same tag; null when there is none or for a root.
  CXmlNode* GetTagBrother() const;
  // As GetTagBrother, and copies that sibling's data into `data` (empty when there is none).
  CXmlNode* GetBrother(std::string& data) const;

  // ---- Files

  // Reads the file into this node, replacing its tag, data and children. On failure (the file
  // cannot be read, is truncated, has mismatched or unclosed tags, is nested deeper than
  // kMaxClassLevel, holds what the subset does not) returns false, leaves the node as it was and
  // GetError says what and on which line.
  bool OpenXml(const std::string& path);
  // As OpenXml, from the bytes of a whole file held in memory.
  bool ReadXmlBytes(std::string_view bytes);
  // Writes this node and its subtree as a file, replacing it only once complete; false when the
  // file cannot be written, and GetError says why.
  bool FileSave(const std::string& path);
  // The bytes FileSave writes.
  std::string ToXmlBytes() const;
  // Why the last OpenXml, ReadXmlBytes or FileSave failed; empty after a success.
  const std::string& GetError() const { return error_; }

 private:
  friend class CXmlTextReader;

  CXmlNode* AddChild(std::unique_ptr<CXmlNode> child);
  void WriteNode(std::string& out, int level) const;
  // Takes over what `other` holds; the children come along and point at this node.
  void TakeContent(CXmlNode& other);

  std::string tag_;
  int isParent_ = 1;
  std::string data_;
  std::vector<std::unique_ptr<CXmlNode>> children_;
  CXmlNode* parent_ = nullptr;
  std::size_t index_ = 0;  // among the parent's children
  std::size_t nextChild_ = 0;
  std::string error_;
};

// The escapes of a text written between tags ("&" first, then "<" and ">"), and the reverse, which
// also takes "&quot;" and "&apos;"; an "&" that starts none of them stays as it is.
std::string XmlEscape(std::string_view text);
std::string XmlUnescape(std::string_view text);
