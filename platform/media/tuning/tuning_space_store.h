// The platform's persistent store of registered tuning spaces: one file in
// the user's configuration folder ($XDG_CONFIG_HOME/rx40-tessel, else
// ~/.config/rx40-tessel), "tuning-spaces.txt", one tuning space a line as
// tab-separated fields. Read and written whole; a line that cannot be read
// is skipped with a debug line, so a damaged store never stops the program.
#pragma once

#include <string>
#include <vector>

#include "platform/media/tuning/dvbs_tuning_space.h"

namespace tuning {

std::string DefaultTuningSpaceStorePath();
// Tests point the store elsewhere; an empty path restores the default.
void SetTuningSpaceStorePath(std::string path);
std::string TuningSpaceStorePath();

std::vector<DvbsTuningSpaceValues> LoadTuningSpaces(const std::string& path);
// 0 on success, else the errno. The file is replaced atomically.
int SaveTuningSpaces(const std::string& path, const std::vector<DvbsTuningSpaceValues>& spaces);

}  // namespace tuning
