#pragma once
// What the settings files of the system share: the head every file starts with, the message a
// failed write shows, and the file dialog that picks a reference-table file.

#include <optional>
#include <string>

#include "platform/UiServices.h"

class CSettingXml;

// The root element ZELKO_Brixo (left open) and its first two children: FILE (FILE_INFO, FILE_VER
// "1", COMMENT) and APPLICATION (APP_NAME, APP_VER, NOTE: the product's title, version and
// subtitle).
void AddSettingFileHead(CSettingXml& xml, const std::string& fileInfo, const std::string& comment);

// "XML : " and the step the write failed in, in a message box under the product title.
void ShowSettingWriteError(const CSettingXml& xml);

// A reference-table file from the file dialog of the kind, offering the filter ("土質設定ファイル
// (*.sxg)|*.sxg||") and adding the extension to a bare name; it starts in the folder of
// `lastFile` when that is not empty. Nothing when the user cancels.
std::optional<std::string> ChooseSettingFile(FileDialogKind kind, const std::string& filter,
                                             const std::string& extension,
                                             const std::string& lastFile);
