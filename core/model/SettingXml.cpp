// CSettingXml: the settings document over the platform's XML reader and writer.

#include "core/model/SettingXml.h"

#include <algorithm>
#include <iterator>

#include "platform/Archive.h"
#include "platform/XmlReader.h"
#include "platform/XmlWriter.h"

namespace {

// The name under which the documents declare their encoding; the platform writes and reads it as
// CP932.
constexpr char kEncoding[] = "Shift_JIS";

template <class Names>
int IndexOf(const Names& names, const std::string& name) {
  const auto found = std::find(std::begin(names), std::end(names), name);
  return found == std::end(names) ? -1 : static_cast<int>(found - std::begin(names));
}

}  // namespace

void CSettingXml::AddStartTag(const std::string& tag) { nodes_.push_back({kStartTag, tag, {}}); }

void CSettingXml::AddElement(const std::string& tag, const std::string& value) {
  if (tag.empty() && value.empty()) return;
  nodes_.push_back({kElement, tag, value});
}

void CSettingXml::AddEndTag() { nodes_.push_back({kEndTag, {}, {}}); }

bool CSettingXml::SaveFile(const std::string& path) {
  error_.clear();
  if (nodes_.empty()) return true;
  Archive file;
  if (!WriteNodes(file)) return false;
  // The document is built in memory and goes to disk in one step: a file that cannot be created,
  // written or put in place fails as opening the stream on it.
  try {
    file.SaveToFile(path);
  } catch (const ArchiveException&) {
    return Fail("SHCreateStreamOnFile 失敗");
  }
  return true;
}

bool CSettingXml::WriteNodes(Archive& file) {
  XmlWriter writer(kEncoding);
  if (!writer.IsOpen()) return Fail("CreateXmlWriterOutputWithEncodingName 失敗");
  if (!writer.WriteStartDocument()) return Fail("WriteStartDocument 失敗");
  for (const Node& node : nodes_) {
    switch (node.kind) {
      case kStartTag:
        if (!writer.WriteStartElement(node.tag)) return Fail("WriteStartElement 失敗");
        break;
      case kElement:
        if (!writer.WriteElementString(node.tag, node.value)) {
          return Fail("WriteElementString 失敗");
        }
        break;
      case kEndTag:
        if (!writer.WriteFullEndElement()) return Fail("WriteFullEndElement 失敗");
        break;
    }
  }
  if (!writer.WriteEndDocument()) return Fail("WriteEndDocument 失敗");
  if (!writer.Flush()) return Fail("Flush 失敗");
  const std::span<const std::uint8_t> document = writer.Bytes();
  file.WriteBytes(document.data(), document.size());
  return true;
}

void CSettingXml::AddKey(const std::string& name) {
  keyNames_.push_back(name);
  keyValues_.emplace_back();
}

int CSettingXml::AddTable(const std::string& name) {
  if (static_cast<int>(tables_.size()) >= kMaxTables) return -1;
  tables_.push_back(Table{name, {}, {}});
  return static_cast<int>(tables_.size()) - 1;
}

void CSettingXml::SetColumn(int table, int column, const std::string& name) {
  if (table < 0 || table >= static_cast<int>(tables_.size())) return;
  if (column < 0 || column >= kColumnCount) return;
  tables_[static_cast<std::size_t>(table)].columns[static_cast<std::size_t>(column)] = name;
}

bool CSettingXml::LoadFile(const std::string& path) {
  error_.clear();
  Archive file;
  try {
    file = Archive::FromFile(path);
  } catch (const ArchiveException&) {
    return Fail("SHCreateStreamOnFile 失敗");
  }
  return LoadDocument(file.Bytes());
}

bool CSettingXml::LoadDocument(std::span<const std::uint8_t> document) {
  error_.clear();
  Reading reading;
  reading.values.resize(keyNames_.size());
  for (const Table& table : tables_) reading.rows.push_back(table.rows);
  if (!Scan(document, reading)) return Fail("Read 失敗");
  keyValues_ = std::move(reading.values);
  for (std::size_t t = 0; t < tables_.size(); ++t) tables_[t].rows = std::move(reading.rows[t]);
  return true;
}

// Element starts choose the key or the column their text goes to; a table element outside a table
// begins a row. With single keys only, the values are complete as soon as every key has had its
// text; the rest of the document is still read, so that a malformed one is refused whatever the
// place of its fault.
bool CSettingXml::Scan(std::span<const std::uint8_t> document, Reading& reading) const {
  XmlReader reader(document);
  std::vector<bool> keyRead(keyNames_.size(), false);
  std::size_t keysRead = 0;
  bool complete = false;
  int key = -1;
  int table = -1;
  int column = -1;
  for (;;) {
    switch (reader.Read()) {
      case XmlReader::Result::End:
        return true;
      case XmlReader::Result::Error:
        return false;
      case XmlReader::Result::Node:
        break;
    }
    if (complete) continue;
    const std::string& name = reader.LocalName();
    switch (reader.Kind()) {
      case XmlReader::NodeKind::StartElement:
        key = FindKey(name);
        column = -1;
        if (table < 0) {
          table = FindTable(name);
          if (table >= 0) reading.rows[static_cast<std::size_t>(table)].emplace_back();
        } else {
          column = FindColumn(table, name);
        }
        break;
      case XmlReader::NodeKind::Text:
        if (key >= 0) {
          const auto k = static_cast<std::size_t>(key);
          reading.values[k] = reader.Value();
          if (!keyRead[k]) {
            keyRead[k] = true;
            ++keysRead;
          }
          key = -1;
          complete = keysRead == keyNames_.size() && tables_.empty();
        } else if (column >= 0) {
          reading.rows[static_cast<std::size_t>(table)].back()[static_cast<std::size_t>(column)] =
              reader.Value();
        }
        break;
      case XmlReader::NodeKind::EndElement:
        // Text after an element's end is none of its content.
        key = -1;
        column = -1;
        if (table >= 0 && FindTable(name) >= 0) table = -1;
        break;
    }
  }
}

int CSettingXml::FindKey(const std::string& name) const { return IndexOf(keyNames_, name); }

int CSettingXml::FindTable(const std::string& name) const {
  const auto found = std::find_if(tables_.begin(), tables_.end(),
                                  [&](const Table& table) { return table.name == name; });
  return found == tables_.end() ? -1 : static_cast<int>(found - tables_.begin());
}

int CSettingXml::FindColumn(int table, const std::string& name) const {
  return IndexOf(tables_[static_cast<std::size_t>(table)].columns, name);
}

std::string CSettingXml::GetValue(const std::string& key) const {
  const int index = FindKey(key);
  return index < 0 ? std::string() : keyValues_[static_cast<std::size_t>(index)];
}

int CSettingXml::GetTableCount(const std::string& table) const {
  const int index = FindTable(table);
  return index < 0 ? 0 : static_cast<int>(tables_[static_cast<std::size_t>(index)].rows.size());
}

std::string CSettingXml::GetTableValue(const std::string& table, const std::string& column,
                                       int row) const {
  const int t = FindTable(table);
  if (t < 0) return {};
  const int c = FindColumn(t, column);
  const std::vector<Row>& rows = tables_[static_cast<std::size_t>(t)].rows;
  if (c < 0 || row < 0 || row >= static_cast<int>(rows.size())) return {};
  return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)];
}

bool CSettingXml::Fail(const char* step) {
  error_ = step;
  return false;
}
