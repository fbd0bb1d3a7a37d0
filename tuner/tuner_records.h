#pragma once
// Records exchanged with the card driver through its tuner extension
// property set. They are copied byte for byte to and from the driver, so
// their sizes and field offsets are fixed; the asserts below hold them.

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "driver records are little-endian and copied as they lie in memory");

// Property ids of the tuner extension property set.
inline constexpr uint32_t KSPROPERTY_BDA_DISEQC_MESSAGE = 0;
inline constexpr uint32_t KSPROPERTY_BDA_GET_MEDIAINFO = 12;
inline constexpr uint32_t KSPROPERTY_BDA_STREAMTYPE_PARAMS = 13;
inline constexpr uint32_t KSPROPERTY_BDA_INPUTMULTISTREAMID = 14;

// Payload of property 0: one DiSEqC message as it goes on the bus, framing
// byte first, left-aligned, unused bytes zero.
struct TUNER_DISEQC_MESSAGE {
  uint8_t Message[10];
  uint8_t Length;  // 1 to 10
};

// Payload of property 13: which stream the card delivers.
struct TUNER_STREAMTYPE_PARAMS {
  uint8_t TransportStream;  // 1 = transport stream
  uint8_t GenericStream;    // 1 = generic stream
};

// Payload of properties 12 (read) and 14 (write: only InputStreamId counts).
struct TUNER_MEDIA_INFO {
  int32_t IntermediateFrequency;       // kHz
  int32_t SymbolRate;                  // Bd
  uint32_t Standard;                   // 0 DVB-S, 1 DVB-S2
  uint32_t Modcod;                     // DVB-S2 MODCOD 0..31
  uint32_t DvbsCodeRate;               // 0 1/2 .. 7 8/9, 8 unknown
  uint32_t Modulation;                 // 0 QPSK, 1 8PSK, 2 16APSK, 3 32APSK
  uint32_t StreamType;                 // MATYPE-1 TS/GS field: 0 GP, 1 GC, 3 TS
  uint32_t SingleInputStream;          // non-zero = single input stream
  uint32_t ConstantCodingModulation;   // non-zero = CCM
  uint32_t InputStreamSynchro;         // 1 = ISSYI active
  uint32_t NullPacketDeletion;         // 1 = NPD active
  uint32_t RollOff;                    // 0 0.35, 1 0.25, 2 0.20, 3 reserved
  int32_t InputStreamId;               // current ISI; the ISI to select in a write
  uint32_t Matype1;                    // low 8 bits
  uint32_t Matype2;                    // low 8 bits
  uint32_t SpectrumInversion;          // 1 = I/Q swapped
  uint32_t Pilots;                     // 1 = pilots on
  uint32_t ShortFrame;                 // 1 = short FECFRAME
};

static_assert(sizeof(TUNER_DISEQC_MESSAGE) == 11);
static_assert(offsetof(TUNER_DISEQC_MESSAGE, Length) == 10);
static_assert(sizeof(TUNER_STREAMTYPE_PARAMS) == 2);
static_assert(offsetof(TUNER_STREAMTYPE_PARAMS, GenericStream) == 1);
static_assert(sizeof(TUNER_MEDIA_INFO) == 72);
static_assert(offsetof(TUNER_MEDIA_INFO, IntermediateFrequency) == 0);
static_assert(offsetof(TUNER_MEDIA_INFO, SymbolRate) == 4);
static_assert(offsetof(TUNER_MEDIA_INFO, Standard) == 8);
static_assert(offsetof(TUNER_MEDIA_INFO, Modcod) == 12);
static_assert(offsetof(TUNER_MEDIA_INFO, DvbsCodeRate) == 16);
static_assert(offsetof(TUNER_MEDIA_INFO, Modulation) == 20);
static_assert(offsetof(TUNER_MEDIA_INFO, StreamType) == 24);
static_assert(offsetof(TUNER_MEDIA_INFO, SingleInputStream) == 28);
static_assert(offsetof(TUNER_MEDIA_INFO, ConstantCodingModulation) == 32);
static_assert(offsetof(TUNER_MEDIA_INFO, InputStreamSynchro) == 36);
static_assert(offsetof(TUNER_MEDIA_INFO, NullPacketDeletion) == 40);
static_assert(offsetof(TUNER_MEDIA_INFO, RollOff) == 44);
static_assert(offsetof(TUNER_MEDIA_INFO, InputStreamId) == 48);
static_assert(offsetof(TUNER_MEDIA_INFO, Matype1) == 52);
static_assert(offsetof(TUNER_MEDIA_INFO, Matype2) == 56);
static_assert(offsetof(TUNER_MEDIA_INFO, SpectrumInversion) == 60);
static_assert(offsetof(TUNER_MEDIA_INFO, Pilots) == 64);
static_assert(offsetof(TUNER_MEDIA_INFO, ShortFrame) == 68);

inline constexpr size_t kMaxDiseqcMessageLength = sizeof(TUNER_DISEQC_MESSAGE::Message);

// The record for one DiSEqC message: all 11 bytes cleared, the message at
// offset 0, its length at offset 10. A length above 10, or a null `bytes`
// with a non-zero length, cannot be sent whole and gives an all-zero record
// (Length 0): truncating a bus command would send a different command.
TUNER_DISEQC_MESSAGE MakeDiseqcMessage(const uint8_t* bytes, size_t length);
