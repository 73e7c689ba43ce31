#pragma once
// The file form that the soil table (*.sxg) and the standard-bar table (*.sxr) share: a settings
// document with the head of every settings file (the table's comment in COMMENT), the row count,
// and an element per row with a child element per value, texts first, then numbers.

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/model/SettingFile.h"
#include "core/model/SettingXml.h"
#include "platform/UiServices.h"

template <class Row>
struct RefTextColumn {
  const char* element;
  std::string Row::*member;
};

template <class Row>
struct RefNumberColumn {
  const char* element;
  double Row::*member;
  int decimals;  // written with as many, -9e32 as empty content
  int readCode;  // the StrToDouble digits code it is read with: its decimals, or -1 as written
};

// Which last-used file of SystemConfig a table remembers.
struct RefLastFile {
  std::string (*get)();
  void (*set)(const std::string&);
  void (*reset)();
};

template <class Row>
struct RefTableFormat {
  const char* fileInfo;     // FILE_INFO
  const char* sizeElement;  // the row count
  const char* rowElement;
  std::span<const RefTextColumn<Row>> texts;
  std::span<const RefNumberColumn<Row>> numbers;
  const char* filter;     // of the file dialog, "土質設定ファイル (*.sxg)|*.sxg||"
  const char* extension;  // added to a bare name, "sxg"
  RefLastFile last;
};

// The path to use: the one given, else one the user picks, starting in the folder of the last
// file; nothing when the user cancels the dialog.
std::optional<std::string> RefTablePath(const std::string& path, FileDialogKind kind,
                                        const char* filter, const char* extension,
                                        const RefLastFile& last);
// With `remember`, makes the path the last file of its kind and rewrites DefFile.sdxf.
void RememberRefTable(const RefLastFile& last, const std::string& path, bool remember);

// Writes the table; a failure shows "XML : " and the failed step, and remembers nothing.
template <class Row>
bool WriteRefTable(const RefTableFormat<Row>& format, const std::string& path, bool remember,
                   const std::string& comment, const std::vector<Row>& rows) {
  const std::optional<std::string> target =
      RefTablePath(path, FileDialogKind::Save, format.filter, format.extension, format.last);
  if (!target) return false;
  CSettingXml xml;
  AddSettingFileHead(xml, format.fileInfo, comment);
  xml.AddElement(format.sizeElement, IntToStr(static_cast<int>(rows.size())));
  for (const Row& row : rows) {
    xml.AddStartTag(format.rowElement);
    for (const RefTextColumn<Row>& column : format.texts) {
      xml.AddElement(column.element, row.*column.member);
    }
    for (const RefNumberColumn<Row>& column : format.numbers) {
      xml.AddElement(column.element, DoubleToStr(row.*column.member, column.decimals));
    }
    xml.AddEndTag();
  }
  xml.AddEndTag();
  if (!xml.SaveFile(*target)) {
    ShowSettingWriteError(xml);
    return false;
  }
  RememberRefTable(format.last, *target, remember);
  return true;
}

// Reads the table into `comment` and `rows`, which change only when the whole file was read. The
// row count is cut to the rows present; a missing or unreadable count gives no rows; an empty or
// unreadable number is -9e32. A failure shows nothing; with `remember` it empties the last file.
template <class Row>
bool ReadRefTable(const RefTableFormat<Row>& format, const std::string& path, bool remember,
                  std::string& comment, std::vector<Row>& rows) {
  const std::optional<std::string> target =
      RefTablePath(path, FileDialogKind::Open, format.filter, format.extension, format.last);
  if (!target) return false;
  CSettingXml xml;
  const int table = xml.AddTable(format.rowElement);
  int column = 0;
  for (const RefTextColumn<Row>& text : format.texts) xml.SetColumn(table, column++, text.element);
  for (const RefNumberColumn<Row>& number : format.numbers) {
    xml.SetColumn(table, column++, number.element);
  }
  xml.AddKey("COMMENT");
  xml.AddKey(format.sizeElement);
  if (!xml.LoadFile(*target)) {
    if (remember) format.last.reset();
    return false;
  }
  const int count = std::min(StrToInt(xml.GetValue(format.sizeElement), kNoValueInt),
                             xml.GetTableCount(format.rowElement));
  std::vector<Row> read;
  for (int i = 0; i < count; ++i) {
    Row& row = read.emplace_back();
    for (const RefTextColumn<Row>& text : format.texts) {
      row.*text.member = xml.GetTableValue(format.rowElement, text.element, i);
    }
    for (const RefNumberColumn<Row>& number : format.numbers) {
      row.*number.member =
          StrToDouble(xml.GetTableValue(format.rowElement, number.element, i), number.readCode);
    }
  }
  comment = xml.GetValue("COMMENT");
  rows = std::move(read);
  RememberRefTable(format.last, *target, remember);
  return true;
}
