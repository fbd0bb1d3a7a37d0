// A DVB-S locator: where a carrier is (frequency, polarisation, symbol rate,
// FEC, modulation, orbital data). A plain value object; not thread-safe.
#pragma once

#include "platform/com/com_object.h"
#include "platform/com/property_access.h"
#include "platform/media/bda_interfaces.h"

namespace tuning {

class DvbsLocator final : public ComObject<DvbsLocator, IDVBSLocator2> {
 public:
  HRESULT get_CarrierFrequency(LONG* v) override { return GetProperty(m_frequency, v); }
  HRESULT put_CarrierFrequency(LONG v) override { return PutProperty(m_frequency, v); }
  HRESULT get_InnerFEC(FECMethod* v) override { return GetProperty(m_innerFec, v); }
  HRESULT put_InnerFEC(FECMethod v) override { return PutProperty(m_innerFec, v); }
  HRESULT get_InnerFECRate(BinaryConvolutionCodeRate* v) override { return GetProperty(m_innerRate, v); }
  HRESULT put_InnerFECRate(BinaryConvolutionCodeRate v) override { return PutProperty(m_innerRate, v); }
  HRESULT get_OuterFEC(FECMethod* v) override { return GetProperty(m_outerFec, v); }
  HRESULT put_OuterFEC(FECMethod v) override { return PutProperty(m_outerFec, v); }
  HRESULT get_OuterFECRate(BinaryConvolutionCodeRate* v) override { return GetProperty(m_outerRate, v); }
  HRESULT put_OuterFECRate(BinaryConvolutionCodeRate v) override { return PutProperty(m_outerRate, v); }
  HRESULT get_Modulation(ModulationType* v) override { return GetProperty(m_modulation, v); }
  HRESULT put_Modulation(ModulationType v) override { return PutProperty(m_modulation, v); }
  HRESULT get_SymbolRate(LONG* v) override { return GetProperty(m_symbolRate, v); }
  HRESULT put_SymbolRate(LONG v) override { return PutProperty(m_symbolRate, v); }
  HRESULT get_SignalPolarisation(Polarisation* v) override { return GetProperty(m_polarisation, v); }
  HRESULT put_SignalPolarisation(Polarisation v) override { return PutProperty(m_polarisation, v); }
  HRESULT get_WestPosition(BOOL* v) override { return GetProperty(m_west, v); }
  HRESULT put_WestPosition(BOOL v) override { return PutProperty(m_west, v); }
  HRESULT get_OrbitalPosition(LONG* v) override { return GetProperty(m_orbitalPosition, v); }
  HRESULT put_OrbitalPosition(LONG v) override { return PutProperty(m_orbitalPosition, v); }
  HRESULT get_LNBBand(LNBBand* v) override { return GetProperty(m_band, v); }
  HRESULT put_LNBBand(LNBBand v) override { return PutProperty(m_band, v); }
  HRESULT get_ToneBurst(ToneBurst* v) override { return GetProperty(m_burst, v); }
  HRESULT put_ToneBurst(ToneBurst v) override { return PutProperty(m_burst, v); }
  HRESULT get_ScramblingCode(LONG* v) override { return GetProperty(m_plsGold, v); }
  HRESULT put_ScramblingCode(LONG v) override { return PutProperty(m_plsGold, v); }
  HRESULT Clone(ILocator** clone) override;

 private:
  // A new locator says "not set" everywhere.
  LONG m_frequency = -1;
  FECMethod m_innerFec = BDA_FEC_METHOD_NOT_SET;
  BinaryConvolutionCodeRate m_innerRate = BDA_BCC_RATE_NOT_SET;
  FECMethod m_outerFec = BDA_FEC_METHOD_NOT_SET;
  BinaryConvolutionCodeRate m_outerRate = BDA_BCC_RATE_NOT_SET;
  ModulationType m_modulation = BDA_MOD_NOT_SET;
  LONG m_symbolRate = -1;
  Polarisation m_polarisation = BDA_POLARISATION_NOT_SET;
  BOOL m_west = 0;
  LONG m_orbitalPosition = -1;
  LNBBand m_band = BDA_LNB_BAND_NOT_SET;
  ToneBurst m_burst = BDA_TONE_BURST_NONE;
  LONG m_plsGold = -1;
};

}  // namespace tuning
