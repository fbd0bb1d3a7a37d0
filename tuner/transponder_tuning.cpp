#include "tuner/transponder_tuning.h"

#include <algorithm>
#include <limits>
#include <mutex>

#include "platform/com/runtime.h"
#include "platform/ui/message_box.h"
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

TransponderParams TransponderFromTexts(const std::string& frequency, const std::string& symbolRate,
                                       const std::string& lnbLow, const std::string& lnbHigh, int polarity) {
  TransponderParams p{};
  p.frequency = AtoiText(frequency);
  p.symbolRate = AtoiText(symbolRate);
  p.lnbLow = AtoiText(lnbLow);
  p.lnbHigh = AtoiText(lnbHigh);
  p.polarisation = static_cast<std::uint8_t>(polarity & 0xFF);
  return p;
}

TuneChoices WithToolSettings(TuneChoices choices, const ToolSettings& settings) {
  choices.burst = settings.burst;
  choices.uncommittedPort = settings.uncommittedPort;
  return choices;
}

std::array<std::uint8_t, 4> MakeUncommittedSwitchMessage(int port) {
  return {0xE0, 0x10, 0x39, static_cast<std::uint8_t>(0xF0 | ((port - 1) & 0x0F))};
}

namespace {

// The tone burst and the scrambling code go with the request's locator: the
// card sends the burst in the tune's own switching sequence.
void AddEquipmentChoices(IDVBTuneRequest* request, const TuneChoices& choices) {
  ComPtr<ILocator> locator;
  request->get_Locator(locator.ReleaseAndGetAddressOf());
  ComPtr<IDVBSLocator2> equipment = locator.As<IDVBSLocator2>();
  if (!equipment) return;
  switch (choices.burst) {
    case ToneBurstInput::A: equipment->put_ToneBurst(BDA_TONE_BURST_A); break;
    case ToneBurstInput::B: equipment->put_ToneBurst(BDA_TONE_BURST_B); break;
    case ToneBurstInput::None: break;
  }
  if (choices.plsGold) equipment->put_ScramblingCode(static_cast<LONG>(*choices.plsGold));
}

}  // namespace

TuneOutcome LockTransponder(const CDialog* owner, ITuningSpace* tuningSpace, const TransponderParams& params,
                            const TuneChoices& choices) {
  TransponderParams& p = TheTransponderParams();
  p = params;
  TuneOutcome outcome;
  outcome.highBand = DecideHighBand(p.frequency, p.lnbLow, p.lnbHigh);

  if (!StreamTypeParamsMatch(owner, choices.streamType)) SetStreamTypeParams(owner, choices.streamType);

  if (choices.diseqcPort > 0) {
    const CommittedSwitchMessage message =
        MakeCommittedSwitchMessage(outcome.highBand, p.polarisation, choices.diseqcPort);
    SendDiseqCommand(owner, message.data(), message.size());
  }
  // A DiSEqC 1.1 switch behind the committed one takes its input next.
  if (choices.uncommittedPort > 0) {
    const auto message = MakeUncommittedSwitchMessage(choices.uncommittedPort);
    SendDiseqCommand(owner, message.data(), message.size());
  }

  std::string reason;
  ComPtr<IDVBTuneRequest> request = CreateDVBTuneRequest(tuningSpace, p, &reason);
  if (!request) AfxMessageBox("CreateDVBTuneRequest is invalid!");
  else AddEquipmentChoices(request.Get(), choices);

  TunerContext& context = TheTunerContext();
  HRESULT submitted = E_FAIL;
  {
    std::lock_guard driver(context.m_hDriverMutex);
    // Without a provider (graph construction failed) the submission counts
    // as refused, so the operator learns the card was not tuned.
    if (ComPtr<ITuner> tuner = context.m_pNetworkProvider.As<ITuner>()) submitted = tuner->put_TuneRequest(request.Get());
  }
  if (FAILED(submitted)) MessageBox(owner, "KSPROPERTY_CTRL_TUNER set channel_change false", "error");
  outcome.submitted = SUCCEEDED(submitted);
  return outcome;
}

ComPtr<IDVBTuneRequest> CreateDVBTuneRequest(ITuningSpace* tuningSpace, const TransponderParams& p,
                                             std::string* reason) {
  if (!tuningSpace) {
    *reason = "CreateTuneRequest: Can't create tune request.\n";
    return nullptr;
  }
  ComPtr<IDVBSTuningSpace> space = ComPtr<ITuningSpace>(tuningSpace).As<IDVBSTuningSpace>();
  if (!space) {
    *reason = "Cannot QI for an IDVBSTuningSpace\n";
    return nullptr;
  }
  // The oscillator of the decided band, so that the tone, the IF and the
  // switch message's band bit agree (a universal LNB's 11600 MHz is low band
  // though 10600 would give the nearer IF).
  space->put_LNBSwitch(KHz(BandOscillator(p.frequency, p.lnbLow, p.lnbHigh)));
  space->put_HighOscillator(KHz(p.lnbHigh));
  space->put_LowOscillator(KHz(p.lnbLow));

  ComPtr<ITuneRequest> request;
  if (FAILED(tuningSpace->CreateTuneRequest(request.ReleaseAndGetAddressOf())) || !request) {
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
  if (ComPtr<IDVBSLocator2> equipment = locator.As<IDVBSLocator2>())
    equipment->put_LNBBand(DecideHighBand(p.frequency, p.lnbLow, p.lnbHigh) ? BDA_LNB_BAND_HIGH : BDA_LNB_BAND_LOW);
  if (FAILED(dvbRequest->put_Locator(locator.Get()))) {
    *reason = "Cannot put the locator\n";
    return nullptr;
  }
  return dvbRequest;
}
