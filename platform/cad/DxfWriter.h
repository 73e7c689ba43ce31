#pragma once
// Writes a CadDrawing as a DXF R2000 (AC1015) file through dxflib: model space in metres
// ($INSUNITS 6), the paper as $LIMMIN/$LIMMAX, the texts in the Japanese code page
// ($DWGCODEPAGE ANSI_932; a character it lacks as \U+XXXX), text heights in metres at the
// drawing's scale, a filled polyline as a solid HATCH in the fill's true colour under its closed
// outline. No OBJECTS section: dxflib's fixed dictionaries carry owner handles that readers
// have to repair.

#include <filesystem>
#include <string>
#include <string_view>

class CadDrawing;

// Writes the file to a unique temporary name in the target's folder and renames it over the
// target only when it was written whole, so a failure leaves an older file as it was. False when
// the file could not be written.
bool WriteDxf(const CadDrawing& drawing, const std::filesystem::path& path);

// The path names a DXF file: its extension is ".dxf" in any case.
bool IsDxfPath(const std::filesystem::path& path);

// UTF-8 to the bytes of a DXF text in CP932, with \U+XXXX for each character CP932 lacks.
std::string DxfTextCp932(std::string_view utf8);
