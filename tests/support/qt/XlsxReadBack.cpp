#include "tests/support/qt/XlsxReadBack.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

constexpr const char* kDumpScript = R"(
import json, sys
import openpyxl

def sides(border):
    found = [(name, side) for name, side in
             (("t", border.top), ("b", border.bottom), ("l", border.left), ("r", border.right))
             if side is not None and side.style]
    return "".join(name for name, _ in found), (found[0][1].color.rgb if found and found[0][1].color else None)

book = openpyxl.load_workbook(sys.argv[1])
out = {"sheetnames": book.sheetnames, "sheets": {}}
for sheet in book.worksheets:
    cells = {}
    for row in sheet.iter_rows():
        for cell in row:
            border, colour = sides(cell.border)
            fill = cell.fill.fgColor.rgb if cell.fill is not None and cell.fill.fill_type == "solid" else None
            entry = {"v": cell.value, "fill": fill, "fmt": cell.number_format, "border": border,
                     "borderColor": colour, "shrink": bool(cell.alignment.shrink_to_fit),
                     "h": cell.alignment.horizontal}
            if cell.value is None and fill is None and not border and cell.number_format == "General" \
                    and not entry["shrink"] and entry["h"] is None:
                continue
            cells[cell.coordinate] = entry
    selection = sheet.sheet_view.selection
    active = selection[0].activeCell if selection else None
    out["sheets"][sheet.title] = {"active": active, "cells": cells}
json.dump(out, sys.stdout)
)";

}  // namespace

QJsonObject ReadXlsxBack(const std::filesystem::path& workbook) {
  QProcess reader;
  reader.start(QStringLiteral(BRIXO_SYSTEM_PYTHON3),
               {QStringLiteral("-c"), QString::fromUtf8(kDumpScript),
                QString::fromStdString(workbook.string())});
  if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
    ADD_FAILURE() << "openpyxl could not read " << workbook << ": "
                  << reader.readAllStandardError().toStdString();
    return {};
  }
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(reader.readAllStandardOutput(), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  return document.object();
}

QJsonObject XlsxCell(const QJsonObject& book, const QString& sheet, const QString& cell) {
  return book[QStringLiteral("sheets")][sheet][QStringLiteral("cells")][cell].toObject();
}
