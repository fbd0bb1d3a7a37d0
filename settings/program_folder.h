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

// The program folder when no --data-dir is given. A program run from its
// build folder (the lists lie next to it) keeps everything there; an
// installed one keeps what it writes in the user's configuration folder,
// $XDG_CONFIG_HOME/rx40-tessel (~/.config/rx40-tessel when that is not set),
// since /usr/bin is nobody's to write. Empty when neither is known (no HOME).
std::string DefaultDataFolder(const std::string& executableFolder);

const std::string& ProgramFolder();
void SetProgramFolder(std::string folder);

// Where the tool's own lists ship (the city list, the satellite files):
// next to the executable in a build, <prefix>/share/rx40-tessel once
// installed. A list the program folder lacks (a new --data-dir) is read
// from there. Empty: none known.
const std::string& ShippedDataFolder();
void SetShippedDataFolder(std::string folder);
// The shipped folder for an executable in executableFolder: that folder when
// it holds the city list, else ../share/rx40-tessel beside it.
std::string ShippedDataFolderFor(const std::string& executableFolder);
// `name` (a file or folder) in the program folder when it is there, else in
// the shipped folder when it is there, else in the program folder.
std::string ProgramFile(const std::string& name);
