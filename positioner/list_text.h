#pragma once
// Texts of the city list and the satellite files as the list boxes show
// them. The files are 8-bit text from any system: UTF-8 passes unchanged,
// anything else is read as Latin-1 (the Western 8-bit code page), so that
// a name like "Zürich" written either way shows the same.

#include <string>
#include <string_view>

std::string ListTextToUtf8(std::string_view text);
