#include "core/model/XmlNode.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Archive.h"
#include "platform/NumberText.h"
#include "platform/Text.h"

namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>";
constexpr char kLineEnd[] = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return IsBlank(c); });
}

}  // namespace

// Reads a document of the subset the writer produces, recursively, one element per call, never
// deeper than CXmlNode::kMaxClassLevel. Works on the whole document converted to UTF-8; no CP932
// character holds the bytes of "<", ">", "/" or "&", so the conversion keeps the markup as it is.
class CXmlTextReader {
 public:
  explicit CXmlTextReader(std::string_view text) : text_(text) {}

  bool ReadDocument(CXmlNode& root) {
    std::string tag;
    if (!ReadTag(tag)) return Fail("要素がありません。");
    if (tag.starts_with('?') && !ReadTag(tag)) return Fail("要素がありません。");
    if (!ReadElement(root, tag, 0)) return false;
    if (!IsBlank(text_.substr(pos_))) return Fail("ルート要素の後にデータがあります。");
    return true;
  }

  const std::string& Error() const { return error_; }

 private:
  // The text between the next "<" and its ">"; false when the document ends before them, and a
  // failure is then reported on the line of the unfinished tag or the last line. The text before
  // the "<" is passed over here and kept in textBefore_.
  bool ReadTag(std::string& tag) {
    const std::size_t open = text_.find('<', pos_);
    tagStart_ = open == std::string_view::npos ? text_.size() : open;
    if (open == std::string_view::npos) return false;
    const std::size_t close = text_.find('>', open);
    if (close == std::string_view::npos) return false;
    textBefore_ = text_.substr(pos_, open - pos_);
    tag.assign(text_.substr(open + 1, close - open - 1));
    pos_ = close + 1;
    return true;
  }

  // Reads the element whose start tag has just been read, with all it holds up to its end tag.
  bool ReadElement(CXmlNode& node, const std::string& startTag, int level) {
    if (!CheckStartTag(startTag)) return false;
    node.SetTag(startTag, 1);
    if (startTag.ends_with('/')) return true;  // self-closing: the tag keeps its slash
    for (;;) {
      std::string tag;
      if (!ReadTag(tag)) return Fail("ファイルが要素 <" + startTag + "> の途中で終わっています。");
      const std::string_view text = textBefore_;
      if (tag.starts_with('/')) {
        if (std::string_view(tag).substr(1) != startTag) {
          return Fail("終了タグ <" + tag + "> が開始タグ <" + startTag + "> と対応していません。");
        }
        return TakeText(node, text);
      }
      if (!IsBlank(text)) return FailMixed(startTag);
      if (level >= CXmlNode::kMaxClassLevel) {
        return Fail("要素の入れ子が深すぎます（" + FormatInt(CXmlNode::kMaxClassLevel + 1) +
                    " 段以上）。");
      }
      if (!ReadElement(*node.AddNodeTag(tag), tag, level + 1)) return false;
    }
  }

  // A node without children takes its text as data and becomes a leaf unless the text is empty;
  // between child elements only white space may stand.
  bool TakeText(CXmlNode& node, std::string_view text) {
    if (node.GetChildCount() > 0) return IsBlank(text) || FailMixed(node.GetTag());
    if (!text.empty()) {
      node.isParent_ = 0;
      node.data_ = XmlUnescape(text);
    }
    return true;
  }

  bool CheckStartTag(const std::string& tag) {
    if (tag.starts_with('/')) return Fail("開始タグのない終了タグ <" + tag + "> があります。");
    if (tag.starts_with('?') || tag.starts_with('!')) {
      return Fail("対応していない構文 <" + tag + "> があります。");
    }
    const std::string_view name =
        tag.ends_with('/') ? std::string_view(tag).substr(0, tag.size() - 1) : tag;
    const bool bad = name.empty() || std::any_of(name.begin(), name.end(), [](char c) {
                       return IsBlank(c) || c == '<' || c == '/' || c == '&';
                     });
    if (bad) return Fail("タグ <" + tag + "> は読めません。");
    return true;
  }

  bool FailMixed(const std::string& tag) {
    return Fail("要素 <" + tag + "> に文字列と子要素が混在しています。");
  }

  // Records the message with the line of the tag read last.
  bool Fail(const std::string& message) {
    const auto line =
        std::count(text_.begin(),
                   text_.begin() + static_cast<std::ptrdiff_t>(std::min(tagStart_, text_.size())),
                   '\n') +
        1;
    error_ = FormatInt(static_cast<int>(line)) + " 行目: " + message;
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t tagStart_ = 0;
  std::string_view textBefore_;
  std::string error_;
};

CXmlNode* CXmlNode::AddChild(std::unique_ptr<CXmlNode> child) {
  child->parent_ = this;
  child->index_ = children_.size();
  children_.push_back(std::move(child));
  return children_.back().get();
}

CXmlNode* CXmlNode::AddChildNode(const std::string& tag, int isParent, const std::string& data) {
  auto child = std::make_unique<CXmlNode>();
  child->tag_ = tag;
  child->isParent_ = isParent;
  if (isParent == 0) child->data_ = data;
  return AddChild(std::move(child));
}

CXmlNode* CXmlNode::AddNodeTag(const std::string& tag) { return AddChildNode(tag, 1, {}); }

CXmlNode* CXmlNode::AddNodeData(const std::string& tag, const std::string& text) {
  return AddChildNode(tag, 0, text);
}

CXmlNode* CXmlNode::AddNodeData(const std::string& tag, double value, int decimals) {
  return AddNodeData(tag, FormatFixed(value, decimals));
}

CXmlNode* CXmlNode::AddNodeData(const std::string& tag, int value) {
  return AddNodeData(tag, FormatInt(value));
}

void CXmlNode::SetTag(const std::string& tag, int isParent) {
  tag_ = tag;
  isParent_ = isParent;
  if (isParent == 0) DeleteAllChild();
}

void CXmlNode::DeleteAllChild() {
  children_.clear();
  nextChild_ = 0;
}

int CXmlNode::GetClassLevel() const {
  int level = 0;
  for (const CXmlNode* up = parent_; up != nullptr; up = up->parent_) ++level;
  return level;
}

CXmlNode* CXmlNode::GetFirstChild() {
  nextChild_ = 0;
  return GetNextChild();
}

CXmlNode* CXmlNode::GetNextChild() {
  if (nextChild_ >= children_.size()) return nullptr;
  return children_[nextChild_++].get();
}

CXmlNode* CXmlNode::FindTag(std::string_view tag) {
  if (tag_ == tag) return this;
  for (const auto& child : children_) {
    if (CXmlNode* found = child->FindTag(tag)) return found;
  }
  return nullptr;
}

CXmlNode* CXmlNode::FindData(std::string_view tag, std::string& data) {
  CXmlNode* found = FindTag(tag);
  data = found != nullptr ? found->data_ : std::string();
  return found;
}

CXmlNode* CXmlNode::FindData(std::string_view tag, std::vector<std::string>& words) {
  CXmlNode* found = FindTag(tag);
  if (found != nullptr) {
    found->GetDataWord(words);
  } else {
    words.clear();
  }
  return found;
}

void CXmlNode::GetDataWord(std::vector<std::string>& words) const {
  words.clear();
  if (data_.empty()) return;
  words.emplace_back();
  for (const char c : data_) {
    if (c == ',') {
      words.emplace_back();
    } else {
      words.back() += c;
    }
  }
}

CXmlNode* CXmlNode::GetTagBrother() const {
  if (parent_ == nullptr) return nullptr;
  const auto& siblings = parent_->children_;
  for (std::size_t i = index_ + 1; i < siblings.size(); ++i) {
    if (siblings[i]->tag_ == tag_) return siblings[i].get();
  }
  return nullptr;
}

CXmlNode* CXmlNode::GetBrother(std::string& data) const {
  CXmlNode* brother = GetTagBrother();
  data = brother != nullptr ? brother->data_ : std::string();
  return brother;
}

bool CXmlNode::OpenXml(const std::string& path) {
  Archive file;
  try {
    file = Archive::FromFile(path);
  } catch (const ArchiveException&) {
    error_ = "ファイルを読めません: " + path;
    return false;
  }
  const std::vector<std::uint8_t>& bytes = file.Bytes();
  return ReadXmlBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool CXmlNode::ReadXmlBytes(std::string_view bytes) {
  const std::string text = Cp932ToUtf8(bytes);
  CXmlNode read;
  CXmlTextReader reader(text);
  if (!reader.ReadDocument(read)) {
    error_ = reader.Error();
    return false;
  }
  TakeContent(read);
  error_.clear();
  return true;
}

void CXmlNode::TakeContent(CXmlNode& other) {
  tag_ = std::move(other.tag_);
  isParent_ = other.isParent_;
  data_ = std::move(other.data_);
  children_ = std::move(other.children_);
  for (const auto& child : children_) child->parent_ = this;
  nextChild_ = 0;
}

bool CXmlNode::FileSave(const std::string& path) {
  const std::string bytes = ToXmlBytes();
  Archive file;
  file.WriteBytes(bytes.data(), bytes.size());
  try {
    file.SaveToFile(path);
  } catch (const ArchiveException&) {
    error_ = "ファイルを書き込めません: " + path;
    return false;
  }
  error_.clear();
  return true;
}

std::string CXmlNode::ToXmlBytes() const {
  std::string text = std::string(kDeclaration) + kLineEnd;
  WriteNode(text, GetClassLevel());
  return Utf8ToCp932(text);
}

void CXmlNode::WriteNode(std::string& out, int level) const {
  const std::string indent(static_cast<std::size_t>(level), ' ');
  if (isParent_ == 0) {
    out += indent + "<" + tag_ + ">" + XmlEscape(data_) + "</" + tag_ + ">" + kLineEnd;
    return;
  }
  out += indent + "<" + tag_ + ">" + kLineEnd;
  for (const auto& child : children_) child->WriteNode(out, level + 1);
  out += indent + "</" + tag_ + ">" + kLineEnd;
}

std::string XmlEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string XmlUnescape(std::string_view text) {
  struct Entity {
    std::string_view name;
    char c;
  };
  static constexpr Entity kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::string_view rest = text.substr(i);
    const auto entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                     [rest](const Entity& e) { return rest.starts_with(e.name); });
    if (entity != std::end(kEntities)) {
      plain += entity->c;
      i += entity->name.size();
    } else {
      plain += text[i++];
    }
  }
  return plain;
}
