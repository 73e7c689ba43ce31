#pragma once
// The recent-file list: up to ten document paths, the newest first, kept in the user's profile
// (organisation "ZELK", application "Brixo", group "Recent File List", values "File1" to
// "File10") so that it survives the session.

#include <QString>
#include <filesystem>
#include <vector>

inline constexpr int kRecentFileCount = 10;
// The menu shows a path in at most this many characters.
inline constexpr int kRecentFileDisplayLength = 30;

// The entries in order, the newest first; empty values end the list.
std::vector<std::filesystem::path> ReadRecentFiles();
// The path of entry index (0-based, "File" + (index + 1)); empty when there is none.
std::filesystem::path RecentFileEntry(int index);
// Puts the path at the top; an equal entry further down goes, and so does the eleventh.
void AddRecentFile(const std::filesystem::path& path);
// Takes the path out of the list; the entries below it move up.
void RemoveRecentFile(const std::filesystem::path& path);

// The path as the menu shows it: whole when it fits kRecentFileDisplayLength characters, else
// "…/" and as many of its last parts as fit, at least the file name.
QString RecentFileDisplayName(const std::filesystem::path& path);
