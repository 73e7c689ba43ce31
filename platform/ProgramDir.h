#pragma once
// Where the program's own files live, and small file-system helpers.

#include <filesystem>

// The program's folder: $BRIXO_HOME when it is set and not empty, else the folder of the
// running executable.
std::filesystem::path ProgramDir();

bool IsDirectory(const std::filesystem::path& path);
bool IsFile(const std::filesystem::path& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateDirectories(const std::filesystem::path& path);
