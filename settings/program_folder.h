// The folder the settings file, the city list, the satellite files and the
// help file are named from: the executable's folder, or the folder given
// with --data-dir. Set once at start-up; read anywhere afterwards.
#pragma once

#include <string>

// The folder part of a path: everything before the last '/', without it.
// A path without '/' stays whole.
std::string FolderOfPath(const std::string& path);

// A folder given with --data-dir: made when missing, with its missing
// parents, readable by the user alone (0700), as it holds the user's
// settings. False with the reason when it cannot be made or is no folder.
bool EnsureDataFolder(const std::string& folder, std::string* error);

const std::string& ProgramFolder();
void SetProgramFolder(std::string folder);
