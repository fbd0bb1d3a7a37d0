// "Lock TP": bringing the card onto one transponder, for the Tuner Setting
// page and for rx40ctl alike. In order: the LNB band is decided, the card's
// output stream type is brought in line (which stops the graph when it has
// to change), the DiSEqC 1.0 committed-switch message goes out when a port
// is chosen, and a DVB-S tune request made from the tuning space is
// submitted to the network provider under the driver mutex. Nothing waits
// for lock here.
//
// Failures show the window's boxes, those captioned "error" owned by
// `owner` (none for a caller without a window); no step is retried. UI
// thread (the caller's thread) only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/bda_interfaces.h"
#include "settings/tool_settings.h"
#include "tuner/band_decision.h"
#include "tuner/tuner_records.h"

class CDialog;

// What the operator chose beside the transponder.
struct TuneChoices {
  int diseqcPort = 0;  // 0 none ("Diseqc NULL"), 1..4 ports A..D; -1 no selection
  TUNER_STREAMTYPE_PARAMS streamType{1, 0};
  // Beyond the page's controls (the tool's settings section, rx40ctl):
  ToneBurstInput burst = ToneBurstInput::None;  // a tone-burst switch's input
  int uncommittedPort = 0;                      // a DiSEqC 1.1 switch's input 1..16; 0 none
  std::optional<std::uint32_t> plsGold;         // the carrier's scrambling Gold code
};

// The choices the tool's settings section adds to the page's.
TuneChoices WithToolSettings(TuneChoices choices, const ToolSettings& settings);

// The DiSEqC 1.1 uncommitted-switch write E0 10 39 F(port - 1), port 1..16.
std::array<std::uint8_t, 4> MakeUncommittedSwitchMessage(int port);

struct TuneOutcome {
  bool highBand = false;
  bool submitted = false;  // the network provider took the tune request
};

// The parameters of the last tune, rewritten whole by every LockTransponder.
TransponderParams& TheTransponderParams();

// The transponder from the texts typed for it, with the C library's atoi
// rule (text that is no number counts as 0), and the polarisation from the
// polarity selection (0 horizontal, anything else vertical, -1 none).
TransponderParams TransponderFromTexts(const std::string& frequency, const std::string& symbolRate,
                                       const std::string& lnbLow, const std::string& lnbHigh, int polarity);

TuneOutcome LockTransponder(const CDialog* owner, ITuningSpace* tuningSpace, const TransponderParams& params,
                            const TuneChoices& choices);

// A DVB-S tune request for params from the tuning space (whose LNB switch
// and oscillators it sets first), or none with the reason (not shown).
ComPtr<IDVBTuneRequest> CreateDVBTuneRequest(ITuningSpace* tuningSpace, const TransponderParams& params,
                                             std::string* reason);
