// The running executable's product version text: " 1.2.3.4 " (with the
// leading and trailing blank), or empty when the build carries no stamp.
#pragma once

#include <string>

std::string ApplicationVersionText();
// Where the version is read from; the running executable by default.
void SetApplicationExecutablePath(std::string path);
