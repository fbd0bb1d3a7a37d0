// A picture in 4:2:0: full-size luma, chroma half as wide and half as tall,
// 8-bit samples (video levels: luma 16-235, chroma 16-240).
#pragma once

#include <cstdint>
#include <vector>

struct YuvPicture {
  YuvPicture(int width, int height)
      : width(width), height(height), y(static_cast<std::size_t>(width) * height),
        cb(static_cast<std::size_t>(width / 2) * (height / 2)), cr(cb.size()) {}

  int width;
  int height;
  std::vector<std::uint8_t> y, cb, cr;

  std::uint8_t& Y(int x, int row) { return y[static_cast<std::size_t>(row) * width + x]; }
  std::uint8_t& Cb(int x, int row) { return cb[static_cast<std::size_t>(row) * (width / 2) + x]; }
  std::uint8_t& Cr(int x, int row) { return cr[static_cast<std::size_t>(row) * (width / 2) + x]; }
};
