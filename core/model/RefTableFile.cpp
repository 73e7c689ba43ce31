#include "core/model/RefTableFile.h"

#include "core/model/SystemConfig.h"

std::optional<std::string> RefTablePath(const std::string& path, FileDialogKind kind,
                                        const char* filter, const char* extension,
                                        const RefLastFile& last) {
  if (!path.empty()) return path;
  return ChooseSettingFile(kind, filter, extension, last.get());
}

void RememberRefTable(const RefLastFile& last, const std::string& path, bool remember) {
  if (!remember) return;
  last.set(path);
  SystemConfig::Update_DefFile();
}
