#include "app/media_info_text.h"

#include <array>
#include <cstdio>

namespace {

// A text per value, and one for every value past the table's end.
template <std::size_t N>
std::string FromTable(const std::array<const char*, N>& texts, std::uint32_t value, const char* beyond) {
  return value < N ? texts[value] : beyond;
}

}  // namespace

std::string MatypeText(std::uint32_t matype1, std::uint32_t matype2) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2X  %.2X", matype1 & 0xFFu, matype2 & 0xFFu);
  return text;
}

std::string StreamTypeText(std::uint32_t streamType) {
  static constexpr std::array<const char*, 4> kTexts = {"GENERIC_PACKETIZED_STREAM", "GENERIC_CONTINUOUS_STREAM",
                                                        "RESERVED_STREAM", "TRANSPORT_STREAM"};
  return FromTable(kTexts, streamType, "RESERVED_STREAM");
}

std::string ModulationText(std::uint32_t modulation) {
  static constexpr std::array<const char*, 4> kTexts = {"QPSK", "8PSK", "16APSK", "32APSK"};
  return FromTable(kTexts, modulation, "UNKNOWN");
}

std::string InputStreamText(std::uint32_t singleInputStream) {
  return singleInputStream != 0 ? "SINGLE_INPUT_STREAM" : "MULTIPLE_INPUT_STREAM";
}

std::string CodingModulationText(std::uint32_t constantCodingModulation) {
  return constantCodingModulation != 0 ? "CCM" : "ACM";
}

std::string InputSynchroText(std::uint32_t inputStreamSynchro) {
  return inputStreamSynchro == 1 ? "ISSYI_ENABLED" : "ISSYI_DISABLED";
}

std::string NullPacketDeletionText(std::uint32_t nullPacketDeletion) {
  return nullPacketDeletion == 1 ? "NPD_ENABLED" : "NPD_DISABLED";
}

std::string RollOffText(std::uint32_t rollOff) {
  static constexpr std::array<const char*, 3> kTexts = {"0.35", "0.25", "0.20"};
  return FromTable(kTexts, rollOff, "RESERVED");
}

std::string PilotsText(std::uint32_t pilots) { return pilots == 1 ? "Pilots On" : "Pilots Off"; }

std::string FrameLengthText(std::uint32_t shortFrame) { return shortFrame == 1 ? "Short Frame" : "Long Frame"; }

std::string SpectrumText(std::uint32_t spectrumInversion) {
  return spectrumInversion == 1 ? "IQ_SWAPPED" : "IQ_NORMAL";
}

// MODCOD 0 is the dummy frame; 1-11 QPSK, 12-17 8PSK, 18-23 16APSK, 24-28
// 32APSK, 29-31 reserved.
std::string Dvbs2CodeRateText(std::uint32_t modcod) {
  static constexpr std::array<const char*, 30> kTexts = {
      "NULL", "1/4",  "1/3", "2/5", "1/2", "3/5", "2/3", "3/4", "4/5", "5/6",  "8/9", "9/10", "3/5",  "2/3", "3/4",
      "5/6",  "8/9",  "9/10", "2/3", "3/4", "4/5", "5/6", "8/9", "9/10", "3/4", "4/5", "5/6", "8/9", "9/10", "UNKNOW"};
  return FromTable(kTexts, modcod, "NULL");
}

std::string DvbsCodeRateText(std::uint32_t dvbsCodeRate) {
  static constexpr std::array<const char*, 9> kTexts = {"1/2", "2/3", "3/4", "4/5", "5/6",
                                                        "6/7", "7/8", "8/9", "UNKNOWN"};
  return FromTable(kTexts, dvbsCodeRate, "NULL");
}

std::optional<DeliverySystemTexts> DeliveryTexts(std::uint32_t standard, std::uint32_t modcod,
                                                 std::uint32_t dvbsCodeRate) {
  switch (standard) {
    case 0: return DeliverySystemTexts{"DVB-S1", DvbsCodeRateText(dvbsCodeRate)};
    case 1: return DeliverySystemTexts{"DVB-S2", Dvbs2CodeRateText(modcod)};
    default: return std::nullopt;
  }
}
