// The card driver's side of the tuner extension property set: property ids,
// record sizes and offsets, the directions each property has, the status
// codes of the property calls, and the media-information record's field
// order. Records travel as little-endian raw bytes. Every card backend (the
// simulated card, real cards) reads and writes these same layouts, which are
// the ones the program's records (tuner/tuner_records.h) expect.
//
// Pure definitions and byte codecs; no state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/hresult.h"

namespace driver {

inline constexpr uint32_t kPropertyDiseqcMessage = 0;
inline constexpr uint32_t kPropertyMediaInfo = 12;
inline constexpr uint32_t kPropertyStreamType = 13;
inline constexpr uint32_t kPropertyInputStreamId = 14;

// DiSEqC message: 10 message bytes, then the length at byte 10.
inline constexpr size_t kDiseqcRecordSize = 11;
inline constexpr size_t kDiseqcLengthOffset = 10;
inline constexpr size_t kDiseqcMaxLength = 10;
// Output stream type pair: transport stream byte, generic stream byte.
inline constexpr size_t kStreamTypeRecordSize = 2;
// Media information (also the input stream selection request).
inline constexpr size_t kMediaInfoSize = 72;
inline constexpr size_t kInputStreamIdOffset = 48;

// Support flags as a support query reports them (the platform's
// KSPROPERTY_SUPPORT_GET and KSPROPERTY_SUPPORT_SET).
inline constexpr DWORD kSupportGet = 1;
inline constexpr DWORD kSupportSet = 2;

// The directions a property of the set has; 0 for an id the set lacks.
constexpr DWORD PropertyDirections(uint32_t id) {
  switch (id) {
    case kPropertyDiseqcMessage: return kSupportSet;
    case kPropertyMediaInfo: return kSupportGet;
    case kPropertyStreamType: return kSupportGet | kSupportSet;
    case kPropertyInputStreamId: return kSupportSet;
    default: return 0;
  }
}

// Size of the property's record; 0 for an id the set lacks.
constexpr size_t RecordSize(uint32_t id) {
  switch (id) {
    case kPropertyDiseqcMessage: return kDiseqcRecordSize;
    case kPropertyMediaInfo: return kMediaInfoSize;
    case kPropertyStreamType: return kStreamTypeRecordSize;
    case kPropertyInputStreamId: return kMediaInfoSize;
    default: return 0;
  }
}

// Status codes of the kernel-streaming property calls.
inline constexpr HRESULT E_PROP_ID_UNSUPPORTED = MakeHResult(0x80070490u);   // no such property
inline constexpr HRESULT E_PROP_SET_UNSUPPORTED = MakeHResult(0x80070492u);  // no such property set
inline constexpr HRESULT E_INSUFFICIENT_BUFFER = MakeHResult(0x8007007Au);   // record does not fit

// The media-information record: eighteen little-endian 32-bit fields in this
// order.
struct MediaInfoReport {
  int32_t intermediateFrequencyKHz = 0;
  int32_t symbolRateBd = 0;
  uint32_t standard = 0;                  // 0 DVB-S, 1 DVB-S2
  uint32_t modcod = 0;                    // DVB-S2 MODCOD 1..28; 0 for DVB-S
  uint32_t dvbsCodeRate = 0;              // 0..7; 8 (unknown) for DVB-S2
  uint32_t modulation = 0;                // 0 QPSK, 1 8PSK, 2 16APSK, 3 32APSK
  uint32_t streamType = 0;                // MATYPE-1 bits 7-6
  uint32_t singleInputStream = 0;         // MATYPE-1 bit 5
  uint32_t constantCodingModulation = 0;  // MATYPE-1 bit 4
  uint32_t inputStreamSynchro = 0;        // MATYPE-1 bit 3
  uint32_t nullPacketDeletion = 0;        // MATYPE-1 bit 2
  uint32_t rollOff = 0;                   // MATYPE-1 bits 1-0
  int32_t inputStreamId = 0;
  uint32_t matype1 = 0;
  uint32_t matype2 = 0;
  uint32_t spectrumInversion = 0;
  uint32_t pilots = 0;
  uint32_t shortFrame = 0;
};

inline constexpr size_t kMediaInfoRecordSize = kMediaInfoSize;

void EncodeMediaInfo(const MediaInfoReport& report, uint8_t out[kMediaInfoRecordSize]);
MediaInfoReport DecodeMediaInfo(const uint8_t in[kMediaInfoRecordSize]);

}  // namespace driver
