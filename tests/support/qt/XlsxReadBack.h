#pragma once
// Reads an .xlsx workbook back with an independent reader, openpyxl, run by the system's own
// python3, and hands the tests what it found as JSON:
// {"sheetnames": [...], "sheets": {name: {"active": "A1", "cells": {"B3": cell, ...}}}}
// where a cell that holds a value or any attribute is
// {"v": value or null, "fill": "FFFFCC00" or null, "fmt": number format, "border": sides of
//  "tblr" that have a line, "borderColor": the colour of its first line or null,
//  "shrink": bool, "h": horizontal alignment or null}.

#include <QJsonObject>
#include <filesystem>

// Fails the running test (and gives an empty object) when the reader cannot read the file.
QJsonObject ReadXlsxBack(const std::filesystem::path& workbook);

// The cell of a sheet, an empty object when the reader found nothing in it.
QJsonObject XlsxCell(const QJsonObject& book, const QString& sheet, const QString& cell);
