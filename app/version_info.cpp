#include "app/version_info.h"

#include <elf.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

template <typename T>
bool ReadAt(std::ifstream& file, std::uint64_t offset, T* out, std::size_t count = 1) {
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(sizeof(T) * count));
  return static_cast<bool>(file);
}

}  // namespace

std::optional<ProductVersionStamp> ReadProductVersionStamp(const std::string& executablePath) {
  std::ifstream file(executablePath, std::ios::binary);
  Elf64_Ehdr header;
  if (!file || !ReadAt(file, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= header.e_shnum)
    return std::nullopt;

  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(file, header.e_shoff, sections.data(), sections.size())) return std::nullopt;
  const Elf64_Shdr& names = sections[header.e_shstrndx];
  std::vector<char> nameTable(names.sh_size + 1, '\0');
  if (!ReadAt(file, names.sh_offset, nameTable.data(), names.sh_size)) return std::nullopt;

  for (const auto& section : sections) {
    if (section.sh_name >= names.sh_size || std::strcmp(&nameTable[section.sh_name], kVersionSectionName) != 0) continue;
    ProductVersionStamp stamp;
    if (section.sh_size < sizeof stamp || !ReadAt(file, section.sh_offset, &stamp)) return std::nullopt;
    if (stamp.signature != kProductVersionSignature) return std::nullopt;
    return stamp;
  }
  return std::nullopt;
}

std::string FormatVersionText(const std::optional<ProductVersionStamp>& stamp) {
  if (!stamp) return {};
  char text[64];
  std::snprintf(text, sizeof text, " %d.%d.%d.%d ", static_cast<int>(stamp->productVersionMS >> 16),
                static_cast<int>(stamp->productVersionMS & 0xFFFF), static_cast<int>(stamp->productVersionLS >> 16),
                static_cast<int>(stamp->productVersionLS & 0xFFFF));
  return text;
}
