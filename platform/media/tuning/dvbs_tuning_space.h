// A DVB-S tuning space: names, network type, system type, default locator
// and the LNB values (oscillators and switch frequency in kHz). A plain
// value object; not thread-safe.
#pragma once

#include <string>

#include "platform/com/com_object.h"
#include "platform/com/property_access.h"
#include "platform/media/bda_interfaces.h"

namespace tuning {

struct DvbsTuningSpaceValues {
  std::wstring uniqueName;
  std::wstring friendlyName;
  GUID networkType = GUID_NULL;
  DVBSystemType systemType = DVB_Satellite;
  std::wstring frequencyMapping;
  LONG networkId = -1;
  LONG lowOscillator = -1;
  LONG highOscillator = -1;
  LONG lnbSwitch = -1;
  std::wstring inputRange;
  SpectralInversion spectralInversion = BDA_SPECTRAL_INVERSION_NOT_SET;
};

class DvbsTuningSpace final : public ComObject<DvbsTuningSpace, IDVBSTuningSpace> {
 public:
  DvbsTuningSpace() = default;
  explicit DvbsTuningSpace(DvbsTuningSpaceValues values) : m_values(std::move(values)) {}
  const DvbsTuningSpaceValues& Values() const { return m_values; }

  HRESULT get_UniqueName(std::wstring* v) override { return GetProperty(m_values.uniqueName, v); }
  HRESULT put_UniqueName(const std::wstring& v) override { return PutProperty(m_values.uniqueName, v); }
  HRESULT get_FriendlyName(std::wstring* v) override { return GetProperty(m_values.friendlyName, v); }
  HRESULT put_FriendlyName(const std::wstring& v) override { return PutProperty(m_values.friendlyName, v); }
  HRESULT get_NetworkType(std::wstring* clsidText) override;
  HRESULT put_NetworkType(const std::wstring& clsidText) override;
  HRESULT get__NetworkType(GUID* v) override { return GetProperty(m_values.networkType, v); }
  HRESULT put__NetworkType(REFGUID v) override { return PutProperty(m_values.networkType, v); }
  HRESULT get_FrequencyMapping(std::wstring* v) override { return GetProperty(m_values.frequencyMapping, v); }
  HRESULT put_FrequencyMapping(const std::wstring& v) override { return PutProperty(m_values.frequencyMapping, v); }
  HRESULT get_DefaultLocator(ILocator** locator) override;
  HRESULT put_DefaultLocator(ILocator* locator) override;
  HRESULT CreateTuneRequest(ITuneRequest** request) override;
  HRESULT Clone(ITuningSpace** clone) override;
  HRESULT get_SystemType(DVBSystemType* v) override { return GetProperty(m_values.systemType, v); }
  HRESULT put_SystemType(DVBSystemType v) override { return PutProperty(m_values.systemType, v); }
  HRESULT get_NetworkID(LONG* v) override { return GetProperty(m_values.networkId, v); }
  HRESULT put_NetworkID(LONG v) override { return PutProperty(m_values.networkId, v); }
  HRESULT get_LowOscillator(LONG* v) override { return GetProperty(m_values.lowOscillator, v); }
  HRESULT put_LowOscillator(LONG v) override { return PutProperty(m_values.lowOscillator, v); }
  HRESULT get_HighOscillator(LONG* v) override { return GetProperty(m_values.highOscillator, v); }
  HRESULT put_HighOscillator(LONG v) override { return PutProperty(m_values.highOscillator, v); }
  HRESULT get_LNBSwitch(LONG* v) override { return GetProperty(m_values.lnbSwitch, v); }
  HRESULT put_LNBSwitch(LONG v) override { return PutProperty(m_values.lnbSwitch, v); }
  HRESULT get_InputRange(std::wstring* v) override { return GetProperty(m_values.inputRange, v); }
  HRESULT put_InputRange(const std::wstring& v) override { return PutProperty(m_values.inputRange, v); }
  HRESULT get_SpectralInversion(SpectralInversion* v) override { return GetProperty(m_values.spectralInversion, v); }
  HRESULT put_SpectralInversion(SpectralInversion v) override { return PutProperty(m_values.spectralInversion, v); }

 private:
  DvbsTuningSpaceValues m_values;
  ComPtr<ILocator> m_defaultLocator;
};

}  // namespace tuning
