#include "app/document/DocumentFormat.h"

#include <cstdint>

#include "core/base/AppIdentity.h"
#include "platform/Archive.h"
#include "platform/NumberText.h"

void WriteDocumentEnvelope(Archive& ar) {
  ar.WriteString(kDocumentMagic);
  ar << static_cast<std::int32_t>(kDocumentVersion);
  ar.WriteString("Version " + GetAppVersion(2) + GetAppSubTitle());
}

DocumentEnvelope ReadDocumentEnvelope(Archive& ar) {
  DocumentEnvelope envelope;
  envelope.magic = ar.ReadString();
  std::int32_t version = 0;
  ar >> version;
  envelope.version = version;
  envelope.versionText = ar.ReadString();
  return envelope;
}

std::string ForeignFileMessage() {
  return "このファイルは「" + GetAppTitle() + "」のものではありません。";
}

std::string NewerVersionMessage(int fileVersion) {
  return "このファイルは「" + GetAppTitle() +
         "」で対応できません。\n\nIN = " + FormatInt(fileVersion) +
         " , MAX = " + FormatInt(kDocumentVersion);
}
