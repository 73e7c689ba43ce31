#include "core/model/SettingFile.h"

#include "core/base/AppIdentity.h"
#include "core/base/Utility.h"
#include "core/model/SettingXml.h"
#include "platform/UiRegistry.h"

void AddSettingFileHead(CSettingXml& xml, const std::string& fileInfo, const std::string& comment) {
  xml.AddStartTag("ZELKO_Brixo");
  xml.AddStartTag("FILE");
  xml.AddElement("FILE_INFO", fileInfo);
  xml.AddElement("FILE_VER", "1");
  xml.AddElement("COMMENT", comment);
  xml.AddEndTag();
  xml.AddStartTag("APPLICATION");
  xml.AddElement("APP_NAME", GetAppTitle());
  xml.AddElement("APP_VER", GetAppVersion(2));
  xml.AddElement("NOTE", GetAppSubTitle());
  xml.AddEndTag();
}

void ShowSettingWriteError(const CSettingXml& xml) {
  Ui().MessageBox("XML : " + xml.GetError(), GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
}

std::optional<std::string> ChooseSettingFile(FileDialogKind kind, const std::string& filter,
                                             const std::string& extension,
                                             const std::string& lastFile) {
  FileDialogRequest request;
  request.filter = filter;
  request.defaultExtension = extension;
  if (!lastFile.empty()) request.folder = GetFileDir(lastFile);
  const std::optional<std::filesystem::path> chosen = Ui().FileDialog(kind, request);
  if (!chosen) return std::nullopt;
  return chosen->string();
}
