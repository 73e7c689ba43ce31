#include "app/document/RecentFileList.h"

#include <QSettings>
#include <QStringList>
#include <algorithm>

namespace {

constexpr const char* kProfileOrganization = "ZELK";
constexpr const char* kProfileApplication = "Brixo";
constexpr const char* kRecentGroup = "Recent File List";

QString EntryName(int index) { return QStringLiteral("File%1").arg(index + 1); }

QString ToQString(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

void WriteRecentFiles(const std::vector<std::filesystem::path>& files) {
  QSettings profile(kProfileOrganization, kProfileApplication);
  profile.beginGroup(kRecentGroup);
  for (int i = 0; i < kRecentFileCount; ++i) {
    if (i < static_cast<int>(files.size())) {
      profile.setValue(EntryName(i), ToQString(files[static_cast<std::size_t>(i)]));
    } else {
      profile.remove(EntryName(i));
    }
  }
}

}  // namespace

std::vector<std::filesystem::path> ReadRecentFiles() {
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < kRecentFileCount; ++i) {
    std::filesystem::path entry = RecentFileEntry(i);
    if (entry.empty()) break;
    files.push_back(std::move(entry));
  }
  return files;
}

std::filesystem::path RecentFileEntry(int index) {
  QSettings profile(kProfileOrganization, kProfileApplication);
  profile.beginGroup(kRecentGroup);
  return profile.value(EntryName(index)).toString().toStdString();
}

void AddRecentFile(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> files = ReadRecentFiles();
  std::erase(files, path);
  files.insert(files.begin(), path);
  if (files.size() > static_cast<std::size_t>(kRecentFileCount)) {
    files.resize(static_cast<std::size_t>(kRecentFileCount));
  }
  WriteRecentFiles(files);
}

void RemoveRecentFile(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> files = ReadRecentFiles();
  std::erase(files, path);
  WriteRecentFiles(files);
}

QString RecentFileDisplayName(const std::filesystem::path& path) {
  const QString whole = ToQString(path);
  if (whole.size() <= kRecentFileDisplayLength) return whole;
  const QString ellipsis = QStringLiteral("…/");
  const QStringList parts = whole.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString tail = parts.isEmpty() ? whole : parts.last();
  for (qsizetype i = parts.size() - 2; i >= 0; --i) {
    const QString longer = parts[i] + QLatin1Char('/') + tail;
    if (ellipsis.size() + longer.size() > kRecentFileDisplayLength) break;
    tail = longer;
  }
  return ellipsis + tail;
}
