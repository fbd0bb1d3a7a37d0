// The card's tuner extension property set as the driver sees it on the wire:
// property ids, record sizes and the offsets the driver reads or writes.
// Records are little-endian and arrive as raw bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/media/bda_interfaces.h"

namespace sim {

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

// The directions a property of the set has (KSPROPERTY_SUPPORT_GET/SET
// flags); 0 for an id the set lacks.
constexpr DWORD PropertyDirections(uint32_t id) {
  switch (id) {
    case kPropertyDiseqcMessage: return KSPROPERTY_SUPPORT_SET;
    case kPropertyMediaInfo: return KSPROPERTY_SUPPORT_GET;
    case kPropertyStreamType: return KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    case kPropertyInputStreamId: return KSPROPERTY_SUPPORT_SET;
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

}  // namespace sim
