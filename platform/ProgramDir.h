#pragma once
// Where the program's own files live, and small file-system helpers. An installed program may
// sit in a folder nobody can write to, so two folders stand in for "the program's folder":
// - the resource folder, read-only: beside the executable; the shipped defaults of the settings
//   files, the report templates, the manual;
// - the data folder, writable: the settings files in use, print and report work files.

#include <filesystem>

// The folder of the running executable.
std::filesystem::path ResourceDir();
// $BRIXO_HOME when it is set and not empty; else $XDG_DATA_HOME/Brixo when that is an absolute
// path; else Brixo in the user's ~/.local/share. Created when missing (a folder that cannot be
// created shows when its files are written).
std::filesystem::path DataDir();

bool IsDirectory(const std::filesystem::path& path);
bool IsFile(const std::filesystem::path& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateDirectories(const std::filesystem::path& path);
