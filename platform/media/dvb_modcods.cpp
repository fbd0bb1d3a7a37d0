#include "platform/media/dvb_modcods.h"

#include <algorithm>
#include <array>

namespace dvb {
namespace {

struct ModcodEntry {
  Constellation constellation;
  CodeRate rate;
  double requiredEsN0Db;
};

using C = Constellation;

// Index + 1 is the MODCOD number.
constexpr std::array<ModcodEntry, 28> kModcods = {{
    {C::Qpsk, {1, 4}, -2.35},    {C::Qpsk, {1, 3}, -1.24},    {C::Qpsk, {2, 5}, -0.30},    {C::Qpsk, {1, 2}, 1.00},
    {C::Qpsk, {3, 5}, 2.23},     {C::Qpsk, {2, 3}, 3.10},     {C::Qpsk, {3, 4}, 4.03},     {C::Qpsk, {4, 5}, 4.68},
    {C::Qpsk, {5, 6}, 5.18},     {C::Qpsk, {8, 9}, 6.20},     {C::Qpsk, {9, 10}, 6.42},    {C::Psk8, {3, 5}, 5.50},
    {C::Psk8, {2, 3}, 6.62},     {C::Psk8, {3, 4}, 7.91},     {C::Psk8, {5, 6}, 9.35},     {C::Psk8, {8, 9}, 10.69},
    {C::Psk8, {9, 10}, 10.98},   {C::Apsk16, {2, 3}, 8.97},   {C::Apsk16, {3, 4}, 10.21},  {C::Apsk16, {4, 5}, 11.03},
    {C::Apsk16, {5, 6}, 11.61},  {C::Apsk16, {8, 9}, 12.89},  {C::Apsk16, {9, 10}, 13.13}, {C::Apsk32, {3, 4}, 12.73},
    {C::Apsk32, {4, 5}, 13.64},  {C::Apsk32, {5, 6}, 14.28},  {C::Apsk32, {8, 9}, 15.69},  {C::Apsk32, {9, 10}, 16.05},
}};

struct DvbsEntry {
  CodeRate rate;
  double requiredEsN0Db;
};

// Index order.
constexpr std::array<DvbsEntry, 8> kDvbsRates = {{
    {{1, 2}, 4.15}, {{2, 3}, 5.89}, {{3, 4}, 6.91}, {{4, 5}, 7.40},
    {{5, 6}, 7.86}, {{6, 7}, 8.20}, {{7, 8}, 8.48}, {{8, 9}, 8.90},
}};

}  // namespace

std::optional<std::uint32_t> Dvbs2Modcod(Constellation constellation, CodeRate rate) {
  const auto it = std::find_if(kModcods.begin(), kModcods.end(), [&](const ModcodEntry& e) {
    return e.constellation == constellation && e.rate == rate;
  });
  if (it == kModcods.end()) return std::nullopt;
  return static_cast<std::uint32_t>(it - kModcods.begin()) + 1;
}

std::optional<std::uint32_t> DvbsRateIndex(CodeRate rate) {
  const auto it = std::find_if(kDvbsRates.begin(), kDvbsRates.end(), [&](const DvbsEntry& e) { return e.rate == rate; });
  if (it == kDvbsRates.end()) return std::nullopt;
  return static_cast<std::uint32_t>(it - kDvbsRates.begin());
}

std::optional<double> RequiredEsN0ForModcod(std::uint32_t modcod) {
  if (modcod < 1 || modcod > kModcods.size()) return std::nullopt;
  return kModcods[modcod - 1].requiredEsN0Db;
}

std::optional<double> RequiredEsN0ForDvbsRate(std::uint32_t index) {
  if (index >= kDvbsRates.size()) return std::nullopt;
  return kDvbsRates[index].requiredEsN0Db;
}

}  // namespace dvb
