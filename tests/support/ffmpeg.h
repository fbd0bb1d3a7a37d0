// ffmpeg, where the build found it (scripts/setup.sh installs it), for
// tests that check what a player would make of a stream: its error output
// and the decoded pictures.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/file_contents.h"

#ifdef RX40_FFMPEG
constexpr bool kHaveFfmpeg = true;
constexpr const char* kFfmpeg = RX40_FFMPEG;
#else
constexpr bool kHaveFfmpeg = false;
constexpr const char* kFfmpeg = "ffmpeg";
#endif

// Runs ffmpeg with arguments; returns what it printed (both streams), or
// none when it could not be run or failed.
inline std::optional<std::string> RunFfmpeg(const std::string& arguments) {
  const std::string command = std::string(kFfmpeg) + " -nostdin -hide_banner " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string output;
  char buffer[512];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  if (::pclose(pipe) != 0) return std::nullopt;
  return output;
}

// What `ffmpeg -v error` says decoding the whole file: empty when clean.
inline std::optional<std::string> DecodeErrors(const std::string& path) {
  return RunFfmpeg("-v error -i '" + path + "' -f null -");
}

// The first count pictures of the file as planar 4:2:0 bytes, one after another.
inline std::optional<std::vector<std::uint8_t>> DecodePictures(const std::string& path, int count) {
  const std::string out = path + ".yuv";
  if (!RunFfmpeg("-v error -y -i '" + path + "' -frames:v " + std::to_string(count) +
                 " -f rawvideo -pix_fmt yuv420p '" + out + "'"))
    return std::nullopt;
  std::vector<std::uint8_t> bytes = FileBytes(out);
  std::remove(out.c_str());
  return bytes;
}
