#pragma once
// The small XML document through which the core writes and reads its settings files: the two
// configuration files, the soil tables and the standard-bar tables. Used as a local object for
// one write or one read.
//
// A writer lists its nodes in document order and writes them at once. A reader first registers
// what it wants, single keys by element name and tables (an element per row, a child element per
// column), then reads the file once and asks for the values by name.
//
// On disk: CP932 under the declaration encoding="Shift_JIS", elements only, one to a line,
// indented by nesting depth.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class Archive;

class CSettingXml {
 public:
  static constexpr int kMaxTables = 20;
  static constexpr int kColumnCount = 10;

  // ---- Writing

  void AddStartTag(const std::string& tag);
  // An element with the value as its text; nothing is added when both are empty.
  void AddElement(const std::string& tag, const std::string& value);
  // Ends the innermost open element.
  void AddEndTag();
  // Writes the nodes to the file; elements still open at the end are closed. The document is
  // written beside the file and replaces it only when complete, so a failed write leaves the file
  // that was there. An empty node list writes nothing, creates no file and succeeds. On failure
  // GetError names the step that failed.
  bool SaveFile(const std::string& path);

  // The step the last write or read failed in; empty after a success.
  const std::string& GetError() const { return error_; }

  // ---- Reading

  void AddKey(const std::string& name);
  // Registers a table while fewer than kMaxTables are; gives its index, or -1 when refused.
  int AddTable(const std::string& name);
  // Names column 0..kColumnCount-1 of a registered table; anything else is ignored.
  void SetColumn(int table, int column, const std::string& name);

  // Reads the file. Only a document that is well-formed to its end counts as read; on failure
  // every value stays as it was before the read. With single keys only, a key takes no text after
  // every key has had its text once.
  bool LoadFile(const std::string& path);
  // Reads a document held in memory, as LoadFile reads a file's bytes.
  bool LoadDocument(std::span<const std::uint8_t> document);

  // The text read for the key; empty when the key is not registered or had no text.
  std::string GetValue(const std::string& key) const;
  // The rows read for the table; 0 for a table that is not registered.
  int GetTableCount(const std::string& table) const;
  // A cell; empty when the table or column is not registered or the row is outside the table.
  std::string GetTableValue(const std::string& table, const std::string& column, int row) const;

 private:
  enum NodeKind : unsigned {
    kStartTag = 1,
    kElement = 99,
    kEndTag = 15,
  };
  struct Node {
    NodeKind kind;
    std::string tag;
    std::string value;  // kElement only
  };
  using Row = std::array<std::string, kColumnCount>;
  struct Table {
    std::string name;
    std::array<std::string, kColumnCount> columns;
    std::vector<Row> rows;
  };
  // What a read gathers before it is taken over.
  struct Reading {
    std::vector<std::string> values;     // per key
    std::vector<std::vector<Row>> rows;  // per table
  };

  // Writes the document into the archive that becomes the file.
  bool WriteNodes(Archive& file);
  bool Scan(std::span<const std::uint8_t> document, Reading& reading) const;
  int FindKey(const std::string& name) const;
  int FindTable(const std::string& name) const;
  int FindColumn(int table, const std::string& name) const;
  bool Fail(const char* step);

  std::vector<Node> nodes_;
  std::vector<std::string> keyNames_;
  std::vector<std::string> keyValues_;
  std::vector<Table> tables_;
  std::string error_;
};
