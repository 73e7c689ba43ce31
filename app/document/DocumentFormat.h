#pragma once
// The envelope of a document file (*.qxmd): the magic, the version and the version text that
// stand in front of the document body, which CManageCore stores and loads by that version; the
// file dialogs' filters; and the messages for a file that is not ours, too new or unreadable.

#include <filesystem>
#include <string>

class Archive;
class ArchiveException;

inline constexpr const char* kDocumentMagic = "ZELKO_SOFTWARE_BRIXO_DOC";
// The version every save writes and the newest one a load reads.
inline constexpr int kDocumentVersion = 10;
inline constexpr const char* kDocumentExtension = "qxmd";
inline constexpr const char* kDocumentOpenFilter =
    "RUrevavirazo ファイル (*.qxmd)|*.qxmd|All Files (*.*)|*.*||";
inline constexpr const char* kDocumentSaveFilter = "RUrevavirazo ファイル (*.qxmd)|*.qxmd||";

struct DocumentEnvelope {
  std::string magic;
  int version = 0;
  std::string versionText;  // shown nowhere, compared with nothing
};

// The magic, kDocumentVersion and "Version " with the full version number and the subtitle.
void WriteDocumentEnvelope(Archive& ar);
// Reads the three fields in their order; throws ArchiveException when the file ends before them.
DocumentEnvelope ReadDocumentEnvelope(Archive& ar);

// "This file is not one of the product's."
std::string ForeignFileMessage();
// "The product cannot read this file", with the file's version and the newest one it reads.
std::string NewerVersionMessage(int fileVersion);
// "File Load Failed." and, on a second line, why the file at path could not be read.
std::string LoadFailedMessage(const ArchiveException& failure, const std::filesystem::path& path);
