#include "platform/linuxdvb/extension_property_set.h"

#include <cstring>


namespace linuxdvb {
namespace {

int32_t ReadInt32(const uint8_t* bytes) {
  return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                              static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

DWORD ExtensionPropertySet::Directions(DWORD id) const {
  // Without stream ids there is nothing to select.
  if (id == driver::kPropertyInputStreamId && !m_frontend->TakesStreamIds()) return 0;
  return driver::PropertyDirections(id);
}

HRESULT ExtensionPropertySet::Check(REFGUID set, DWORD id, DWORD direction) const {
  if (!(set == KSPROPSETID_TunerExtension)) return driver::E_PROP_SET_UNSUPPORTED;
  const DWORD directions = Directions(id);
  if (directions == 0) return driver::E_PROP_ID_UNSUPPORTED;
  return directions & direction ? S_OK : E_NOTIMPL;
}

HRESULT ExtensionPropertySet::QuerySupported(REFGUID set, DWORD id, DWORD* typeSupport) {
  if (!typeSupport) return E_POINTER;
  *typeSupport = 0;
  if (const HRESULT hr = Check(set, id, driver::kSupportGet | driver::kSupportSet); FAILED(hr)) return hr;
  *typeSupport = Directions(id);
  return S_OK;
}

HRESULT ExtensionPropertySet::Get(REFGUID set, DWORD id, void* propertyData, DWORD dataLength, DWORD* bytesReturned) {
  if (bytesReturned) *bytesReturned = 0;
  if (const HRESULT hr = Check(set, id, driver::kSupportGet); FAILED(hr)) return hr;
  if (!propertyData) return E_POINTER;
  const DWORD size = static_cast<DWORD>(driver::RecordSize(id));
  if (dataLength < size) {
    if (bytesReturned) *bytesReturned = size;
    return driver::E_INSUFFICIENT_BUFFER;
  }
  auto* record = static_cast<uint8_t*>(propertyData);
  if (id == driver::kPropertyStreamType) {
    record[0] = 1;  // transport stream
    record[1] = 0;
  } else {
    driver::MediaInfoReport report;
    if (const HRESULT hr = m_frontend->ReadMediaInfo(&report); FAILED(hr)) return hr;
    driver::EncodeMediaInfo(report, record);
  }
  if (bytesReturned) *bytesReturned = size;
  return S_OK;
}

HRESULT ExtensionPropertySet::Set(REFGUID set, DWORD id, const void* propertyData, DWORD dataLength) {
  if (const HRESULT hr = Check(set, id, driver::kSupportSet); FAILED(hr)) return hr;
  const auto* record = static_cast<const uint8_t*>(propertyData);
  if (!record) return E_POINTER;
  if (dataLength < driver::RecordSize(id)) return driver::E_INSUFFICIENT_BUFFER;
  switch (id) {
    case driver::kPropertyDiseqcMessage: {
      const size_t length = record[driver::kDiseqcLengthOffset];
      if (length > driver::kDiseqcMaxLength) return E_INVALIDARG;
      return m_frontend->SendDiseqc(record, length);
    }
    case driver::kPropertyStreamType: {
      const bool transport = record[0] != 0;
      const bool generic = record[1] != 0;
      if (transport && !generic) return S_OK;
      m_frontend->Log(std::string("only a transport stream can be delivered; the request for ") +
                      (generic ? "a generic stream" : "no stream") + " is refused");
      return E_NOTIMPL;
    }
    default: {
      const int32_t streamId = ReadInt32(record + driver::kInputStreamIdOffset);
      if (streamId < 0 || streamId > 255) return E_INVALIDARG;  // an input stream id is one byte
      return m_frontend->SelectInputStream(static_cast<uint32_t>(streamId));
    }
  }
}

}  // namespace linuxdvb
