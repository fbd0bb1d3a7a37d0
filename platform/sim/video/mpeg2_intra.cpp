#include "platform/sim/video/mpeg2_intra.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "platform/sim/video/bit_writer.h"

namespace mpeg2 {
namespace {

struct Code {
  std::uint16_t bits;
  std::uint8_t length;
};

// macroblock_address_increment 1 to 33.
constexpr Code kAddressIncrement[34] = {
    {0, 0},      {0x1, 1},    {0x3, 3},    {0x2, 3},    {0x3, 4},    {0x2, 4},    {0x3, 5},    {0x2, 5},    {0x7, 7},
    {0x6, 7},    {0xB, 8},    {0xA, 8},    {0x9, 8},    {0x8, 8},    {0x7, 8},    {0x6, 8},    {0x17, 10},  {0x16, 10},
    {0x15, 10},  {0x14, 10},  {0x13, 10},  {0x12, 10},  {0x23, 11},  {0x22, 11},  {0x21, 11},  {0x20, 11},  {0x1F, 11},
    {0x1E, 11},  {0x1D, 11},  {0x1C, 11},  {0x1B, 11},  {0x1A, 11},  {0x19, 11},  {0x18, 11}};
constexpr Code kAddressEscape{0x8, 11};

// dct_dc_size_luminance and dct_dc_size_chrominance, sizes 0 to 11.
constexpr Code kLumaDcSize[12] = {{0x4, 3}, {0x0, 2},  {0x1, 2},  {0x5, 3},   {0x6, 3},   {0xE, 4},
                                  {0x1E, 5}, {0x3E, 6}, {0x7E, 7}, {0xFE, 8}, {0x1FE, 9}, {0x1FF, 9}};
constexpr Code kChromaDcSize[12] = {{0x0, 2},  {0x1, 2},  {0x2, 2},   {0x6, 3},   {0xE, 4},   {0x1E, 5},
                                    {0x3E, 6}, {0x7E, 7}, {0xFE, 8}, {0x1FE, 9}, {0x3FE, 10}, {0x3FF, 10}};

// DCT coefficient table zero, for the coefficients after an intra block's
// DC: run, level, then the code without its sign bit.
struct RunLevelCode {
  std::uint8_t run;
  std::uint8_t level;
  Code code;
};
constexpr RunLevelCode kCoefficients[] = {
    {0, 1, {0x3, 2}},    {1, 1, {0x3, 3}},    {0, 2, {0x4, 4}},    {2, 1, {0x5, 4}},    {0, 3, {0x5, 5}},
    {4, 1, {0x6, 5}},    {3, 1, {0x7, 5}},    {7, 1, {0x4, 6}},    {6, 1, {0x5, 6}},    {1, 2, {0x6, 6}},
    {5, 1, {0x7, 6}},    {2, 2, {0x4, 7}},    {9, 1, {0x5, 7}},    {0, 4, {0x6, 7}},    {8, 1, {0x7, 7}},
    {13, 1, {0x20, 8}},  {0, 6, {0x21, 8}},   {12, 1, {0x22, 8}},  {11, 1, {0x23, 8}},  {3, 2, {0x24, 8}},
    {1, 3, {0x25, 8}},   {0, 5, {0x26, 8}},   {10, 1, {0x27, 8}},  {16, 1, {0x8, 10}},  {5, 2, {0x9, 10}},
    {0, 7, {0xA, 10}},   {2, 3, {0xB, 10}},   {1, 4, {0xC, 10}},   {15, 1, {0xD, 10}},  {14, 1, {0xE, 10}},
    {4, 2, {0xF, 10}},   {0, 11, {0x10, 12}}, {8, 2, {0x11, 12}},  {4, 3, {0x12, 12}},  {0, 10, {0x13, 12}},
    {2, 4, {0x14, 12}},  {7, 2, {0x15, 12}},  {21, 1, {0x16, 12}}, {20, 1, {0x17, 12}}, {0, 9, {0x18, 12}},
    {19, 1, {0x19, 12}}, {18, 1, {0x1A, 12}}, {1, 5, {0x1B, 12}},  {3, 3, {0x1C, 12}},  {0, 8, {0x1D, 12}},
    {6, 2, {0x1E, 12}},  {17, 1, {0x1F, 12}}, {10, 2, {0x10, 13}}, {9, 2, {0x11, 13}},  {5, 3, {0x12, 13}},
    {3, 4, {0x13, 13}},  {2, 5, {0x14, 13}},  {1, 7, {0x15, 13}},  {1, 6, {0x16, 13}},  {0, 15, {0x17, 13}},
    {0, 14, {0x18, 13}}, {0, 13, {0x19, 13}}, {0, 12, {0x1A, 13}}, {26, 1, {0x1B, 13}}, {25, 1, {0x1C, 13}},
    {24, 1, {0x1D, 13}}, {23, 1, {0x1E, 13}}, {22, 1, {0x1F, 13}},
};
constexpr Code kEndOfBlock{0x2, 2};
constexpr Code kEscape{0x1, 6};

// The default intra quantiser matrix, in raster order.
constexpr std::uint8_t kIntraMatrix[64] = {
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37, 19, 22, 26, 27, 29, 34,
    34, 38, 22, 22, 26, 27, 29, 34, 37, 40, 22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32,
    35, 40, 48, 58, 26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};

// Zigzag scan: raster position of the n-th coefficient.
constexpr std::uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                      12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                      35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                      58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

void Put(BitWriter& out, Code code) { out.Put(code.bits, code.length); }

const Code* FindCoefficient(int run, int level) {
  for (const auto& entry : kCoefficients)
    if (entry.run == run && entry.level == level) return &entry.code;
  return nullptr;
}

// The forward DCT of one 8x8 block, F(u,v) = C(u)C(v)/4 sum f cos cos.
std::array<double, 64> ForwardDct(const std::array<double, 64>& block) {
  static const auto basis = [] {
    std::array<double, 64> b{};
    for (int u = 0; u < 8; ++u)
      for (int x = 0; x < 8; ++x)
        b[u * 8 + x] = (u == 0 ? std::sqrt(0.5) : 1.0) * std::cos((2 * x + 1) * u * M_PI / 16) / 2;
    return b;
  }();
  std::array<double, 64> rows{}, out{};
  for (int y = 0; y < 8; ++y)
    for (int u = 0; u < 8; ++u) {
      double sum = 0;
      for (int x = 0; x < 8; ++x) sum += basis[u * 8 + x] * block[y * 8 + x];
      rows[y * 8 + u] = sum;
    }
  for (int u = 0; u < 8; ++u)
    for (int v = 0; v < 8; ++v) {
      double sum = 0;
      for (int y = 0; y < 8; ++y) sum += basis[v * 8 + y] * rows[y * 8 + u];
      out[v * 8 + u] = sum;
    }
  return out;
}

int DcSize(int difference) {
  int size = 0;
  for (int magnitude = std::abs(difference); magnitude > 0; magnitude >>= 1) ++size;
  return size;
}

class SliceCoder {
 public:
  SliceCoder(BitWriter& out, int quantiserScale) : m_out(out), m_scale(quantiserScale) {}

  // One block of samples (stride in samples); component 0 luma, 1 Cb, 2 Cr.
  void Block(const std::uint8_t* samples, int stride, int component) {
    std::array<double, 64> block{};
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) block[y * 8 + x] = samples[y * stride + x];
    const std::array<double, 64> f = ForwardDct(block);

    // DC: 8-bit precision, the quantised value is F/8 (the block's mean).
    const int dc = std::clamp(static_cast<int>(std::lround(f[0] / 8)), 0, 255);
    const int difference = dc - m_dcPredictor[component];
    m_dcPredictor[component] = dc;
    const int size = DcSize(difference);
    Put(m_out, component == 0 ? kLumaDcSize[size] : kChromaDcSize[size]);
    if (size > 0) m_out.Put(static_cast<std::uint32_t>(difference > 0 ? difference : difference + (1 << size) - 1), size);

    int run = 0;
    for (int n = 1; n < 64; ++n) {
      const int at = kZigzag[n];
      // Intra reconstruction is F = QF * W * scale / 16.
      const int level = std::clamp(static_cast<int>(std::lround(16 * f[at] / (kIntraMatrix[at] * m_scale))), -2047, 2047);
      if (level == 0) {
        ++run;
        continue;
      }
      if (const Code* code = FindCoefficient(run, std::abs(level))) {
        Put(m_out, *code);
        m_out.Put(level < 0 ? 1 : 0, 1);
      } else {
        Put(m_out, kEscape);
        m_out.Put(static_cast<std::uint32_t>(run), 6);
        m_out.Put(static_cast<std::uint32_t>(level) & 0xFFF, 12);
      }
      run = 0;
    }
    Put(m_out, kEndOfBlock);
  }

 private:
  BitWriter& m_out;
  int m_scale;
  int m_dcPredictor[3] = {128, 128, 128};
};

void PutAddressIncrement(BitWriter& out, int increment) {
  while (increment > 33) {
    Put(out, kAddressEscape);
    increment -= 33;
  }
  Put(out, kAddressIncrement[increment]);
}

}  // namespace

std::vector<std::uint8_t> SequenceHeader(int width, int height, std::uint32_t bitRate) {
  BitWriter out;
  out.StartCode(0xB3);
  out.Put(static_cast<std::uint32_t>(width) & 0xFFF, 12);
  out.Put(static_cast<std::uint32_t>(height) & 0xFFF, 12);
  out.Put(2, 4);  // 4:3
  out.Put(3, 4);  // 25 Hz
  const std::uint32_t rate = (bitRate + 399) / 400;
  out.Put(rate & 0x3FFFF, 18);
  out.Put(1, 1);    // marker
  out.Put(112, 10);  // VBV buffer: 112 x 16 kbit, the level's largest
  out.Put(0, 1);    // constrained parameters
  out.Put(0, 1);    // default intra matrix
  out.Put(0, 1);    // default non-intra matrix
  out.StartCode(0xB5);
  out.Put(1, 4);     // sequence extension
  out.Put(0x48, 8);  // Main Profile, Main Level
  out.Put(1, 1);     // progressive sequence
  out.Put(1, 2);     // 4:2:0
  out.Put(0, 2);     // horizontal size extension
  out.Put(0, 2);     // vertical size extension
  out.Put((rate >> 18) & 0xFFF, 12);
  out.Put(1, 1);  // marker
  out.Put(0, 8);  // VBV buffer size extension
  out.Put(0, 1);  // low delay
  out.Put(0, 2);  // frame rate extension n
  out.Put(0, 5);  // frame rate extension d
  return out.Take();
}

std::vector<std::uint8_t> GroupHeader(const TimeCode& time) {
  BitWriter out;
  out.StartCode(0xB8);
  out.Put(0, 1);  // drop frame
  out.Put(static_cast<std::uint32_t>(time.hours % 24), 5);
  out.Put(static_cast<std::uint32_t>(time.minutes), 6);
  out.Put(1, 1);  // marker
  out.Put(static_cast<std::uint32_t>(time.seconds), 6);
  out.Put(static_cast<std::uint32_t>(time.pictures), 6);
  out.Put(1, 1);  // closed: no picture refers outside
  out.Put(0, 1);  // broken link
  return out.Take();
}

std::vector<std::uint8_t> IntraPictureHeader(int temporalReference) {
  BitWriter out;
  out.StartCode(0x00);
  out.Put(static_cast<std::uint32_t>(temporalReference) & 0x3FF, 10);
  out.Put(1, 3);        // I picture
  out.Put(0xFFFF, 16);  // VBV delay: not given
  out.Put(0, 1);        // no extra information
  out.StartCode(0xB5);
  out.Put(8, 4);       // picture coding extension
  out.Put(0xFFFF, 16);  // f codes: none (intra)
  out.Put(0, 2);       // intra DC precision: 8 bits
  out.Put(3, 2);       // frame picture
  out.Put(0, 1);       // top field first
  out.Put(1, 1);       // frame prediction and frame DCT
  out.Put(0, 1);       // no concealment motion vectors
  out.Put(0, 1);       // linear quantiser scale
  out.Put(0, 1);       // intra VLC format: table zero
  out.Put(0, 1);       // zigzag scan
  out.Put(0, 1);       // repeat first field
  out.Put(1, 1);       // chroma 4:2:0 type
  out.Put(1, 1);       // progressive frame
  out.Put(0, 1);       // no composite display information
  return out.Take();
}

std::vector<std::uint8_t> IntraSlice(const YuvPicture& picture, int row, int firstColumn, int count,
                                     int quantiserScaleCode) {
  BitWriter out;
  out.StartCode(static_cast<std::uint8_t>(row + 1));
  out.Put(static_cast<std::uint32_t>(quantiserScaleCode), 5);
  out.Put(0, 1);  // no extra slice information
  SliceCoder coder(out, 2 * quantiserScaleCode);
  const int chromaStride = picture.width / 2;
  for (int column = firstColumn; column < firstColumn + count; ++column) {
    // The first macroblock's increment places the slice; the rest follow on.
    PutAddressIncrement(out, column == firstColumn ? firstColumn + 1 : 1);
    out.Put(1, 1);  // macroblock type: intra
    const int x = column * kMacroblock;
    const int y = row * kMacroblock;
    for (int block = 0; block < 4; ++block)
      coder.Block(&picture.y[static_cast<std::size_t>(y + (block / 2) * 8) * picture.width + x + (block % 2) * 8],
                  picture.width, 0);
    coder.Block(&picture.cb[static_cast<std::size_t>(y / 2) * chromaStride + x / 2], chromaStride, 1);
    coder.Block(&picture.cr[static_cast<std::size_t>(y / 2) * chromaStride + x / 2], chromaStride, 2);
  }
  return out.Take();
}

}  // namespace mpeg2
