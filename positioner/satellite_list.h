#pragma once
// The satellite files: every "*.ini" file (the extension's letter case
// ignored) in the folder "Transponders" of the program folder, one
// satellite each, read through CIniFile. Section "SATTYPE": key "1" the
// orbital position as four digits in tenths of a degree east (west written
// as 3600 minus the tenths west: 3300 is 30.0 degrees west), key "2" the
// name. Other sections and keys are not read. Only read; each use reads
// afresh.

#include <string>
#include <vector>

inline constexpr char kTransponderFolderName[] = "Transponders";
inline constexpr char kSatelliteSection[] = "SATTYPE";

// The folder of the satellite files under `programFolder`.
std::string TransponderFolder(const std::string& programFolder);

// The names of the satellite files in the folder, in the order the file
// system lists them; none when the folder is missing or unreadable.
std::vector<std::string> SatelliteFileNames(const std::string& folder);

// The Satellite list's entry for one file: key "1", two spaces, key "2"
// (as UTF-8, list_text.h). Missing keys, or a file that cannot be read,
// give empty texts, so such a file's entry is two spaces.
std::string SatelliteEntryText(const std::string& path);

// The Satellite list's entries of every satellite file in the folder, in
// the order SatelliteFileNames gives; none without files.
std::vector<std::string> SatelliteEntries(const std::string& folder);
