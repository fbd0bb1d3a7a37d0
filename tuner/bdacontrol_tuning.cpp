// "Lock TP": the Tuner Setting page brings the card onto its transponder.
#include <algorithm>
#include <limits>

#include "platform/com/runtime.h"
#include "platform/ui/message_box.h"
#include "resources/resource_ids.h"
#include "tuner/bdacontrol_dlg.h"
#include "tuner/text_numbers.h"
#include "tuner/tuner_context.h"
#include "tuner/tuner_extension.h"

namespace {

// MHz to the kHz the platform takes. Typed values can be far beyond any
// real frequency; they saturate instead of wrapping round.
LONG KHz(std::int64_t mhz) {
  return static_cast<LONG>(std::clamp<std::int64_t>(mhz * 1000, std::numeric_limits<LONG>::min(),
                                                    std::numeric_limits<LONG>::max()));
}

}  // namespace

TransponderParams& TheTransponderParams() {
  static TransponderParams params{};
  return params;
}

void CBdacontrolDlg::OnOK() {
  SaveSettings();
  EnableTuningButtons(false);

  TransponderParams& p = TheTransponderParams();
  p.frequency = AtoiText(GetDlgItemText(IDC_FREQUENCY));
  p.symbolRate = AtoiText(GetDlgItemText(IDC_SYMBOL_RATE));
  p.lnbLow = AtoiText(GetDlgItemText(IDC_LNB_LOW));
  p.lnbHigh = AtoiText(GetDlgItemText(IDC_LNB_HIGH));
  p.polarisation = static_cast<std::uint8_t>(m_nPolarity & 0xFF);

  const bool highBand = DecideHighBand(p.frequency, p.lnbLow, p.lnbHigh);

  if (!StreamTypeParamsMatch(this, m_StreamType)) SetStreamTypeParams(this, m_StreamType);

  if (m_nDiseqc > 0) {
    const CommittedSwitchMessage message = MakeCommittedSwitchMessage(highBand, p.polarisation, m_nDiseqc);
    SendDiseqCommand(this, message.data(), message.size());
  }

  std::string reason;
  ComPtr<IDVBTuneRequest> request = CreateDVBTuneRequest(p, &reason);
  if (!request) AfxMessageBox("CreateDVBTuneRequest is invalid!");

  TunerContext& context = TheTunerContext();
  HRESULT submitted = E_FAIL;
  {
    std::lock_guard driver(context.m_hDriverMutex);
    // Without a provider (graph construction failed) the submission counts
    // as refused, so the operator learns the card was not tuned.
    if (ComPtr<ITuner> tuner = context.m_pNetworkProvider.As<ITuner>()) submitted = tuner->put_TuneRequest(request.Get());
  }
  if (FAILED(submitted)) MessageBox(this, "KSPROPERTY_CTRL_TUNER set channel_change false", "error");

  EnableTuningButtons(true);
}

ComPtr<IDVBTuneRequest> CBdacontrolDlg::CreateDVBTuneRequest(const TransponderParams& p, std::string* reason) {
  if (!m_pTuningSpace) {
    *reason = "CreateTuneRequest: Can't create tune request.\n";
    return nullptr;
  }
  ComPtr<IDVBSTuningSpace> space = m_pTuningSpace.As<IDVBSTuningSpace>();
  if (!space) {
    *reason = "Cannot QI for an IDVBSTuningSpace\n";
    return nullptr;
  }
  space->put_LNBSwitch(KHz(SelectLNBOscillator(p.frequency, p.lnbHigh, p.lnbLow)));
  space->put_HighOscillator(KHz(p.lnbHigh));
  space->put_LowOscillator(KHz(p.lnbLow));

  ComPtr<ITuneRequest> request;
  if (FAILED(m_pTuningSpace->CreateTuneRequest(request.ReleaseAndGetAddressOf())) || !request) {
    *reason = "CreateTuneRequest: Can't create tune request.\n";
    return nullptr;
  }
  ComPtr<IDVBTuneRequest> dvbRequest = request.As<IDVBTuneRequest>();
  if (!dvbRequest) {
    *reason = "CreateDVBTuneRequest: Can't QI for IChannelTuneRequest.\n";
    return nullptr;
  }
  ComPtr<IDVBSLocator> locator;
  if (FAILED(CoCreateInstance(CLSID_DVBSLocator, nullptr, CLSCTX_ALL, IDVBSLocator::IID,
                              reinterpret_cast<void**>(locator.ReleaseAndGetAddressOf())))) {
    *reason = "Cannot create the DVBS locator failed\n";
    return nullptr;
  }
  locator->put_OuterFEC(BDA_FEC_VITERBI);
  locator->put_CarrierFrequency(KHz(p.frequency));
  locator->put_SignalPolarisation(p.polarisation == 0 ? BDA_POLARISATION_LINEAR_H : BDA_POLARISATION_LINEAR_V);
  locator->put_SymbolRate(p.symbolRate);
  if (FAILED(dvbRequest->put_Locator(locator.Get()))) {
    *reason = "Cannot put the locator\n";
    return nullptr;
  }
  return dvbRequest;
}
