// Interfaces of the broadcast-driver side of the graph: the driver's property
// sets, signal statistics, and the tuning model (tuning spaces, locators,
// tune requests, the network provider's tuner interface).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/media/media_interfaces.h"

// Kernel-streaming property access on a pin.
struct IKsPropertySet : IUnknown {
  static constexpr GUID IID{0x31EFAC30, 0x515C, 0x11D0, {0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93}};
  using Base = IUnknown;
  virtual HRESULT Set(REFGUID propSet, DWORD id, void* instanceData, DWORD instanceLength, void* propertyData,
                      DWORD dataLength) = 0;
  virtual HRESULT Get(REFGUID propSet, DWORD id, void* instanceData, DWORD instanceLength, void* propertyData,
                      DWORD dataLength, DWORD* bytesReturned) = 0;
  virtual HRESULT QuerySupported(REFGUID propSet, DWORD id, DWORD* typeSupport) = 0;
};

constexpr DWORD KSPROPERTY_SUPPORT_GET = 1;
constexpr DWORD KSPROPERTY_SUPPORT_SET = 2;

struct IBDA_Topology : IUnknown {
  static constexpr GUID IID{0x79B56888, 0x7FEA, 0x4690, {0xB4, 0x5D, 0x38, 0xFD, 0x3C, 0x78, 0x49, 0xBE}};
  using Base = IUnknown;
  virtual HRESULT GetControlNode(ULONG inputPinId, ULONG outputPinId, ULONG nodeType, IUnknown** controlNode) = 0;
};

struct IBDA_SignalStatistics : IUnknown {
  static constexpr GUID IID{0x1347D106, 0xCF3A, 0x428A, {0xA5, 0xCB, 0xAC, 0x0D, 0x9A, 0x2A, 0x43, 0x38}};
  using Base = IUnknown;
  virtual HRESULT get_SignalStrength(LONG* strength) = 0;
  virtual HRESULT get_SignalQuality(LONG* quality) = 0;
  virtual HRESULT get_SignalLocked(BOOLEAN* locked) = 0;
};

// Beside the platform's statistics, on the same control node: how far the
// received carrier-to-noise ratio lies above what the carrier's modulation
// and code rate need. A node answers this interface only when its driver can
// measure the ratio.
struct ILinkMarginStatistics : IUnknown {
  static constexpr GUID IID{0x9E4C2B71, 0x5D3A, 0x4F86, {0xB2, 0x0E, 0x71, 0xC4, 0x8A, 0x3D, 0x56, 0x19}};
  using Base = IUnknown;
  // Hundredths of a dB, negative below the threshold. S_FALSE (and 0) while
  // there is no carrier to measure.
  virtual HRESULT get_LinkMargin(LONG* centiDb) = 0;
};

// Beside the platform's statistics, on the same control node: what the
// driver measures in physical units, each where it measures it (a real
// card's driver: some give the level in dBm or the C/N in dB, some count
// bit errors or uncorrected blocks, some none of these).
struct SignalMeasurements {
  std::optional<double> levelDbm;
  std::optional<double> cnrDb;
  std::optional<std::uint64_t> bitErrors;    // since the driver started counting
  std::optional<std::uint64_t> bitsCounted;  // the bits those errors are among
  std::optional<std::uint64_t> uncorrectedBlocks;
};

struct ISignalMeasurements : IUnknown {
  static constexpr GUID IID{0x4B7D2E90, 0x6A15, 0x4C3E, {0x9F, 0x81, 0x2D, 0x6B, 0x0C, 0x47, 0xE5, 0x38}};
  using Base = IUnknown;
  virtual HRESULT get_Measurements(SignalMeasurements* measurements) = 0;
};

// What the card's tuners can do, for the operator: every tuner of the card's
// kind the system has (a real card: each adapter's frontends), the card's
// own marked, each as a title and named facts in words ("delivery systems":
// "DVB-S, DVB-S2"). The tuner filter answers it.
struct CapabilityReport {
  std::string title;
  bool inUse = false;
  std::vector<std::pair<std::string, std::string>> facts;
};

struct ICardCapabilities : IUnknown {
  static constexpr GUID IID{0x1F8A6C3D, 0x7B24, 0x4E59, {0xA6, 0x0C, 0x93, 0x5E, 0x2B, 0x71, 0xD8, 0x04}};
  using Base = IUnknown;
  virtual HRESULT GetCapabilities(std::vector<CapabilityReport>* reports) = 0;
};

enum Polarisation { BDA_POLARISATION_NOT_SET = -1, BDA_POLARISATION_NOT_DEFINED = 0, BDA_POLARISATION_LINEAR_H = 1,
                    BDA_POLARISATION_LINEAR_V = 2, BDA_POLARISATION_CIRCULAR_L = 3, BDA_POLARISATION_CIRCULAR_R = 4 };
enum FECMethod { BDA_FEC_METHOD_NOT_SET = -1, BDA_FEC_METHOD_NOT_DEFINED = 0, BDA_FEC_VITERBI = 1, BDA_FEC_RS_204_188 = 2 };
enum BinaryConvolutionCodeRate { BDA_BCC_RATE_NOT_SET = -1, BDA_BCC_RATE_NOT_DEFINED = 0 };
enum ModulationType { BDA_MOD_NOT_SET = -1, BDA_MOD_NOT_DEFINED = 0 };
enum SpectralInversion { BDA_SPECTRAL_INVERSION_NOT_SET = -1, BDA_SPECTRAL_INVERSION_NOT_DEFINED = 0,
                         BDA_SPECTRAL_INVERSION_AUTOMATIC = 1, BDA_SPECTRAL_INVERSION_NORMAL = 2,
                         BDA_SPECTRAL_INVERSION_INVERTED = 3 };
enum DVBSystemType { DVB_Cable = 0, DVB_Terrestrial = 1, DVB_Satellite = 2 };

struct ILocator : IUnknown {
  static constexpr GUID IID{0x286D7F89, 0x760C, 0x4F89, {0x80, 0xC4, 0x66, 0x84, 0x1D, 0x25, 0x07, 0xAA}};
  using Base = IUnknown;
  virtual HRESULT get_CarrierFrequency(LONG* frequencyKHz) = 0;
  virtual HRESULT put_CarrierFrequency(LONG frequencyKHz) = 0;
  virtual HRESULT get_InnerFEC(FECMethod* fec) = 0;
  virtual HRESULT put_InnerFEC(FECMethod fec) = 0;
  virtual HRESULT get_InnerFECRate(BinaryConvolutionCodeRate* rate) = 0;
  virtual HRESULT put_InnerFECRate(BinaryConvolutionCodeRate rate) = 0;
  virtual HRESULT get_OuterFEC(FECMethod* fec) = 0;
  virtual HRESULT put_OuterFEC(FECMethod fec) = 0;
  virtual HRESULT get_OuterFECRate(BinaryConvolutionCodeRate* rate) = 0;
  virtual HRESULT put_OuterFECRate(BinaryConvolutionCodeRate rate) = 0;
  virtual HRESULT get_Modulation(ModulationType* modulation) = 0;
  virtual HRESULT put_Modulation(ModulationType modulation) = 0;
  virtual HRESULT get_SymbolRate(LONG* rate) = 0;
  virtual HRESULT put_SymbolRate(LONG rate) = 0;
  virtual HRESULT Clone(ILocator** clone) = 0;
};

struct IDVBSLocator : ILocator {
  static constexpr GUID IID{0x3D7C353C, 0x0D04, 0x45F1, {0xA7, 0x42, 0xF9, 0x7C, 0xC1, 0x18, 0x8D, 0xC8}};
  using Base = ILocator;
  virtual HRESULT get_SignalPolarisation(Polarisation* polarisation) = 0;
  virtual HRESULT put_SignalPolarisation(Polarisation polarisation) = 0;
  virtual HRESULT get_WestPosition(BOOL* west) = 0;
  virtual HRESULT put_WestPosition(BOOL west) = 0;
  virtual HRESULT get_OrbitalPosition(LONG* position) = 0;
  virtual HRESULT put_OrbitalPosition(LONG position) = 0;
};

// Our locator's extension: the satellite equipment of one tune, as the
// application decided it, and the carrier's physical-layer scrambling. The
// band drives the 22 kHz tone and the oscillator the IF is computed from, so
// that tone, IF and the DiSEqC band bit agree; the burst selects a
// mini-DiSEqC (tone burst) switch's input; the scrambling code is the DVB-S2
// Gold code index (-1: the default sequence).
enum LNBBand { BDA_LNB_BAND_NOT_SET = -1, BDA_LNB_BAND_LOW = 0, BDA_LNB_BAND_HIGH = 1 };
enum ToneBurst { BDA_TONE_BURST_NONE = 0, BDA_TONE_BURST_A = 1, BDA_TONE_BURST_B = 2 };

struct IDVBSLocator2 : IDVBSLocator {
  static constexpr GUID IID{0x6E3B0F52, 0x91A4, 0x4C7D, {0xB2, 0x58, 0x3F, 0x0A, 0x6D, 0x21, 0xC4, 0x97}};
  using Base = IDVBSLocator;
  virtual HRESULT get_LNBBand(LNBBand* band) = 0;
  virtual HRESULT put_LNBBand(LNBBand band) = 0;
  virtual HRESULT get_ToneBurst(ToneBurst* burst) = 0;
  virtual HRESULT put_ToneBurst(ToneBurst burst) = 0;
  virtual HRESULT get_ScramblingCode(LONG* gold) = 0;
  virtual HRESULT put_ScramblingCode(LONG gold) = 0;
};

struct ITuningSpace;

struct ITuneRequest : IUnknown {
  static constexpr GUID IID{0x07DDC146, 0xFC3D, 0x11D2, {0x9D, 0x8C, 0x00, 0xC0, 0x4F, 0x72, 0xD9, 0x80}};
  using Base = IUnknown;
  virtual HRESULT get_TuningSpace(ITuningSpace** space) = 0;
  virtual HRESULT get_Locator(ILocator** locator) = 0;
  virtual HRESULT put_Locator(ILocator* locator) = 0;
  virtual HRESULT Clone(ITuneRequest** clone) = 0;
};

struct IDVBTuneRequest : ITuneRequest {
  static constexpr GUID IID{0x0D6F567E, 0xA636, 0x42BB, {0x83, 0xBA, 0xCE, 0x4C, 0x17, 0x04, 0xAF, 0xA2}};
  using Base = ITuneRequest;
  virtual HRESULT get_ONID(LONG* onid) = 0;
  virtual HRESULT put_ONID(LONG onid) = 0;
  virtual HRESULT get_TSID(LONG* tsid) = 0;
  virtual HRESULT put_TSID(LONG tsid) = 0;
  virtual HRESULT get_SID(LONG* sid) = 0;
  virtual HRESULT put_SID(LONG sid) = 0;
};

struct ITuningSpace : IUnknown {
  static constexpr GUID IID{0x061C6E30, 0xE622, 0x11D2, {0x94, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xD9, 0x80}};
  using Base = IUnknown;
  virtual HRESULT get_UniqueName(std::wstring* name) = 0;
  virtual HRESULT put_UniqueName(const std::wstring& name) = 0;
  virtual HRESULT get_FriendlyName(std::wstring* name) = 0;
  virtual HRESULT put_FriendlyName(const std::wstring& name) = 0;
  // The network type as a class-identifier string, and as a GUID.
  virtual HRESULT get_NetworkType(std::wstring* clsidText) = 0;
  virtual HRESULT put_NetworkType(const std::wstring& clsidText) = 0;
  virtual HRESULT get__NetworkType(GUID* networkType) = 0;
  virtual HRESULT put__NetworkType(REFGUID networkType) = 0;
  virtual HRESULT get_FrequencyMapping(std::wstring* mapping) = 0;
  virtual HRESULT put_FrequencyMapping(const std::wstring& mapping) = 0;
  virtual HRESULT get_DefaultLocator(ILocator** locator) = 0;
  virtual HRESULT put_DefaultLocator(ILocator* locator) = 0;
  virtual HRESULT CreateTuneRequest(ITuneRequest** request) = 0;
  virtual HRESULT Clone(ITuningSpace** clone) = 0;
};

struct IDVBTuningSpace : ITuningSpace {
  static constexpr GUID IID{0xADA0B268, 0x3B19, 0x4E5B, {0xAC, 0xC4, 0x49, 0xF8, 0x52, 0xBE, 0x13, 0xBA}};
  using Base = ITuningSpace;
  virtual HRESULT get_SystemType(DVBSystemType* type) = 0;
  virtual HRESULT put_SystemType(DVBSystemType type) = 0;
};

struct IDVBTuningSpace2 : IDVBTuningSpace {
  static constexpr GUID IID{0x843188B4, 0xCE62, 0x43DB, {0x96, 0x6B, 0x81, 0x45, 0xA0, 0x94, 0xE0, 0x40}};
  using Base = IDVBTuningSpace;
  virtual HRESULT get_NetworkID(LONG* id) = 0;
  virtual HRESULT put_NetworkID(LONG id) = 0;
};

struct IDVBSTuningSpace : IDVBTuningSpace2 {
  static constexpr GUID IID{0xCDF7BE60, 0xD954, 0x42FD, {0xA9, 0x72, 0x78, 0x97, 0x19, 0x58, 0xE4, 0x70}};
  using Base = IDVBTuningSpace2;
  virtual HRESULT get_LowOscillator(LONG* kHz) = 0;
  virtual HRESULT put_LowOscillator(LONG kHz) = 0;
  virtual HRESULT get_HighOscillator(LONG* kHz) = 0;
  virtual HRESULT put_HighOscillator(LONG kHz) = 0;
  virtual HRESULT get_LNBSwitch(LONG* kHz) = 0;
  virtual HRESULT put_LNBSwitch(LONG kHz) = 0;
  virtual HRESULT get_InputRange(std::wstring* range) = 0;
  virtual HRESULT put_InputRange(const std::wstring& range) = 0;
  virtual HRESULT get_SpectralInversion(SpectralInversion* inversion) = 0;
  virtual HRESULT put_SpectralInversion(SpectralInversion inversion) = 0;
};

struct IEnumTuningSpaces : IUnknown {
  static constexpr GUID IID{0x8B8EB248, 0xFC2B, 0x11D2, {0x9D, 0x8C, 0x00, 0xC0, 0x4F, 0x72, 0xD9, 0x80}};
  using Base = IUnknown;
  virtual HRESULT Next(ULONG count, ITuningSpace** spaces, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumTuningSpaces** clone) = 0;
};

struct ITuningSpaceContainer : IUnknown {
  static constexpr GUID IID{0x5B692E84, 0xE2F1, 0x11D2, {0x94, 0x93, 0x00, 0xC0, 0x4F, 0x72, 0xD9, 0x80}};
  using Base = IUnknown;
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_EnumTuningSpaces(IEnumTuningSpaces** spaces) = 0;
  virtual HRESULT Add(ITuningSpace* space, LONG* newIndex) = 0;
};

// The network provider's face towards the application.
struct ITuner : IUnknown {
  static constexpr GUID IID{0x28C52640, 0x018A, 0x11D3, {0x9D, 0x8E, 0x00, 0xC0, 0x4F, 0x72, 0xD9, 0x80}};
  using Base = IUnknown;
  virtual HRESULT get_TuningSpace(ITuningSpace** space) = 0;
  virtual HRESULT put_TuningSpace(ITuningSpace* space) = 0;
  virtual HRESULT get_TuneRequest(ITuneRequest** request) = 0;
  virtual HRESULT put_TuneRequest(ITuneRequest* request) = 0;
  virtual HRESULT Validate(ITuneRequest* request) = 0;
};

// Device categories.
inline constexpr GUID KSCATEGORY_BDA_NETWORK_TUNER{0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
inline constexpr GUID KSCATEGORY_BDA_RECEIVER_COMPONENT{0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
inline constexpr GUID KSCATEGORY_BDA_TRANSPORT_INFORMATION{0xA2E3074F, 0x6C3D, 0x11D3, {0xB6, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0x49, 0x8E}};

// Classes of the tuning model.
inline constexpr GUID CLSID_SystemTuningSpaces{0xD02AAC50, 0x027E, 0x11D3, {0x9D, 0x8E, 0x00, 0xC0, 0x4F, 0x72, 0xD9, 0x80}};
inline constexpr GUID CLSID_DVBSTuningSpace{0xB64016F3, 0xC9A2, 0x4066, {0x96, 0xF0, 0xBD, 0x95, 0x63, 0x31, 0x47, 0x26}};
inline constexpr GUID CLSID_DVBSLocator{0x1DF7D126, 0x4050, 0x47F0, {0xA7, 0xCF, 0x4C, 0x4C, 0xA9, 0x24, 0x13, 0x33}};
inline constexpr GUID DVB_SATELLITE_TV_NETWORK_TYPE{0xFA4B375A, 0x45B4, 0x4D45, {0x84, 0x40, 0x26, 0x39, 0x57, 0xB1, 0x16, 0x23}};

// What a DVB-S network provider hands the tuner filter when a tune request
// is put: the locator's and the tuning space's values, frequencies in kHz.
struct DvbsTuneParameters {
  LONG carrierFrequencyKHz;
  LONG lowOscillatorKHz;
  LONG highOscillatorKHz;
  // The oscillator the application chose for this frequency; 0 when none fits.
  LONG lnbSwitchKHz;
  Polarisation polarisation;
  LONG symbolRate;  // as the locator carries it (kilosymbols per second)
  SpectralInversion inversion;
  LNBBand band = BDA_LNB_BAND_NOT_SET;  // not set: a locator without the extension
  ToneBurst burst = BDA_TONE_BURST_NONE;
  LONG plsGold = -1;  // the DVB-S2 scrambling Gold code; -1 the default
};

// The 22 kHz tone a request asks for: its band, or for a request that says
// none, whether the chosen oscillator is the high one of a two-oscillator LNB.
inline bool WantsHighBand(const DvbsTuneParameters& p) {
  if (p.band != BDA_LNB_BAND_NOT_SET) return p.band == BDA_LNB_BAND_HIGH;
  return p.lnbSwitchKHz > 0 && p.lnbSwitchKHz == p.highOscillatorKHz && p.lowOscillatorKHz != p.highOscillatorKHz;
}

// The tuner filter's face towards the network provider connected to its
// input pin.
struct IBDA_DvbsTuning : IUnknown {
  static constexpr GUID IID{0x6B1D5B0E, 0x2C47, 0x4F0A, {0x9E, 0x31, 0x5A, 0x77, 0x0C, 0x2D, 0x81, 0x4B}};
  using Base = IUnknown;
  // Negative when the tuner cannot take the request.
  virtual HRESULT SubmitTune(const DvbsTuneParameters& parameters) = 0;
};

// The tuner extension property set of the card's driver.
inline constexpr GUID KSPROPSETID_TunerExtension{0xFAA8F3E5, 0x31D4, 0x4E41, {0x88, 0xEF, 0xD9, 0xEB, 0x71, 0x6F, 0x6E, 0xC9}};
