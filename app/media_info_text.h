// The texts the stream-information panel shows for the fields of the
// driver's media-information record. Pure functions: every value a field
// can hold has a text, those outside the field's range included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// MATYPE-1 and MATYPE-2 in upper-case hexadecimal, two blanks between:
// "F2  00". Only the low 8 bits of each field are the byte.
std::string MatypeText(std::uint32_t matype1, std::uint32_t matype2);

std::string StreamTypeText(std::uint32_t streamType);
std::string ModulationText(std::uint32_t modulation);
std::string InputStreamText(std::uint32_t singleInputStream);
std::string CodingModulationText(std::uint32_t constantCodingModulation);
std::string InputSynchroText(std::uint32_t inputStreamSynchro);
std::string NullPacketDeletionText(std::uint32_t nullPacketDeletion);
std::string RollOffText(std::uint32_t rollOff);
std::string PilotsText(std::uint32_t pilots);
std::string FrameLengthText(std::uint32_t shortFrame);
std::string SpectrumText(std::uint32_t spectrumInversion);

// The code rate of a DVB-S2 MODCOD, and of a DVB-S code-rate index.
std::string Dvbs2CodeRateText(std::uint32_t modcod);
std::string DvbsCodeRateText(std::uint32_t dvbsCodeRate);

// The delivery system and its code rate, for Standard 0 (DVB-S) and 1
// (DVB-S2); nothing for any other value.
struct DeliverySystemTexts {
  std::string system;
  std::string codeRate;
};
std::optional<DeliverySystemTexts> DeliveryTexts(std::uint32_t standard, std::uint32_t modcod,
                                                 std::uint32_t dvbsCodeRate);
