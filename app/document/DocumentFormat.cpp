#include "app/document/DocumentFormat.h"

#include <cstdint>
#include <system_error>

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

namespace {

// Why a document could not be read, in the user's words.
const char* LoadFailureReason(const ArchiveException& failure, const std::filesystem::path& path) {
  switch (failure.GetCause()) {
    case ArchiveException::Cause::FileError: {
      std::error_code ignored;
      return std::filesystem::exists(path, ignored) ? "ファイルを読み取ることができません。"
                                                    : "ファイルが見つかりません。";
    }
    case ArchiveException::Cause::EndOfFile:
      return "ファイルが途中で終わっています。";
    case ArchiveException::Cause::BadFormat:
      return "ファイルの内容が壊れています。";
    default:
      return "ファイルを読み込むことができません。";
  }
}

}  // namespace

std::string LoadFailedMessage(const ArchiveException& failure, const std::filesystem::path& path) {
  return std::string("File Load Failed.\n") + LoadFailureReason(failure, path);
}
