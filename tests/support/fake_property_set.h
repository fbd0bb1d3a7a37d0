// A driver property set for tests: remembers every call with its record
// bytes and answers with the results a test sets per property.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/com/com_object.h"
#include "platform/media/bda_interfaces.h"
#include "platform/media/media_info_origin.h"

class FakePropertySet final : public ComObject<FakePropertySet, IKsPropertySet, IMediaInfoOrigin> {
 public:
  struct Call {
    std::string op;  // "QuerySupported", "Get" or "Set"
    DWORD id;
    std::vector<std::uint8_t> bytes;  // the record as passed (Set) or returned (Get)
    bool sameBuffers;                 // instance and property data were one buffer of one size
  };

  // Results per property id; S_OK unless set.
  std::map<DWORD, HRESULT> supportResult, getResult, setResult;
  // Where the MATYPE bytes come from, as the driver says.
  MatypeOrigin matypeOrigin = MatypeOrigin::Received;
  // What a Get copies into the caller's record, per property id.
  std::map<DWORD, std::vector<std::uint8_t>> getData;
  std::vector<Call> calls;

  HRESULT Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD length) override {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    calls.push_back({"Set", id, {bytes, bytes + length}, instance == data && instanceLength == length});
    if (set != KSPROPSETID_TunerExtension) return E_INVALIDARG;
    return Result(setResult, id);
  }
  HRESULT Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD length,
              DWORD* returned) override {
    auto* bytes = static_cast<std::uint8_t*>(data);
    const HRESULT hr = Result(getResult, id);
    if (SUCCEEDED(hr) && getData.count(id))
      for (std::size_t i = 0; i < length && i < getData[id].size(); ++i) bytes[i] = getData[id][i];
    if (returned) *returned = length;
    calls.push_back({"Get", id, {bytes, bytes + length}, instance == data && instanceLength == length});
    return hr;
  }
  HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
    calls.push_back({"QuerySupported", id, {}, true});
    *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    return Result(supportResult, id);
  }

  HRESULT GetMatypeOrigin(MatypeOrigin* origin) override {
    if (!origin) return E_POINTER;
    *origin = matypeOrigin;
    return S_OK;
  }

  std::vector<Call> CallsOf(const std::string& op) const {
    std::vector<Call> matching;
    for (const auto& call : calls)
      if (call.op == op) matching.push_back(call);
    return matching;
  }

 private:
  static HRESULT Result(const std::map<DWORD, HRESULT>& results, DWORD id) {
    auto it = results.find(id);
    return it == results.end() ? S_OK : it->second;
  }
};
