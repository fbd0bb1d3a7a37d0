#include "app/stream_info_panel.h"

#include <string>

#include "app/media_info_text.h"
#include "platform/com/clock.h"
#include "platform/ui/dialog.h"
#include "resources/resource_ids.h"
#include "tuner/matype_origin.h"
#include "tuner/text_numbers.h"

namespace {

constexpr char kDerivedMatypeNote[] =
    "Derived from the tuned parameters: the driver does not report the MATYPE bytes it received, so "
    "single or multiple input streams, the input stream id, CCM/ACM, ISSYI and NPD are not known";

}  // namespace

StreamInfoPanel::StreamInfoPanel(CDialog& window, std::function<void()> retune)
    : m_window(window), m_retune(std::move(retune)) {}

void StreamInfoPanel::Show(int id, const std::string& text) { m_window.SetDlgItemText(id, text); }

void StreamInfoPanel::ShowMediaInfo(const TUNER_MEDIA_INFO& info) {
  // No symbol rate: the demodulator lost the carrier between the monitor's
  // lock reading and this report (a retune, a stream selection) and reports
  // nothing. Shown, it would read as a QPSK multiple-stream carrier and list
  // a stream 0 that does not exist; the next cycle sees the lock as it is.
  if (info.SymbolRate == 0) return;
  Show(IDC_MATYPE, MatypeText(info.Matype1, info.Matype2));
  m_window.SetDlgItemToolTip(IDC_MATYPE, IsMatypeDerived() ? kDerivedMatypeNote : "");
  Show(IDC_STREAM_TYPE, StreamTypeText(info.StreamType));
  Show(IDC_MODULATION, ModulationText(info.Modulation));
  Show(IDC_INPUT_STREAM, InputStreamText(info.SingleInputStream));
  Show(IDC_CODING_MODULATION, CodingModulationText(info.ConstantCodingModulation));
  Show(IDC_INPUT_SYNCHRO, InputSynchroText(info.InputStreamSynchro));
  Show(IDC_NULL_PACKET_DELETION, NullPacketDeletionText(info.NullPacketDeletion));
  Show(IDC_ROLL_OFF, RollOffText(info.RollOff));
  // A delivery system the panel does not know leaves both boxes empty
  // rather than showing the last carrier's values beside this one's.
  const auto delivery = DeliveryTexts(info.Standard, info.Modcod, info.DvbsCodeRate);
  Show(IDC_DELIVERY_SYSTEM, delivery ? delivery->system : "");
  Show(IDC_FEC, delivery ? delivery->codeRate : "");
  Show(IDC_PILOTS, PilotsText(info.Pilots));
  Show(IDC_FRAME_LENGTH, FrameLengthText(info.ShortFrame));
  Show(IDC_SPECTRUM, SpectrumText(info.SpectrumInversion));
  if (info.SingleInputStream == 0) AddInputStream(info.InputStreamId);
  Show(IDC_INTERMEDIATE_FREQUENCY, std::to_string(info.IntermediateFrequency));
  Show(IDC_MEDIA_SYMBOL_RATE, std::to_string(info.SymbolRate));
}

void StreamInfoPanel::ClearMediaInfo() {
  for (int id : {IDC_STREAM_TYPE, IDC_DELIVERY_SYSTEM, IDC_MODULATION, IDC_INPUT_STREAM, IDC_CODING_MODULATION,
                 IDC_INPUT_SYNCHRO, IDC_NULL_PACKET_DELETION, IDC_ROLL_OFF, IDC_FEC, IDC_INTERMEDIATE_FREQUENCY,
                 IDC_MEDIA_SYMBOL_RATE, IDC_PILOTS, IDC_FRAME_LENGTH, IDC_SPECTRUM})
    Show(id, "");
}

// The list sorts its entries as texts, so 10 lands between 1 and 2.
void StreamInfoPanel::AddInputStream(std::int32_t inputStreamId) {
  const std::string text = std::to_string(inputStreamId);
  if (m_window.ComboFindStringExact(IDC_INPUT_STREAM_LIST, text) < 0)
    m_window.ComboAddString(IDC_INPUT_STREAM_LIST, text);
}

void StreamInfoPanel::Apply() {
  const int selected = m_window.ComboGetCurSel(IDC_INPUT_STREAM_LIST);
  const std::string text = selected < 0 ? std::string() : m_window.ComboGetLBText(IDC_INPUT_STREAM_LIST, selected);
  if (text.empty()) {
    MessageBox(&m_window, "NULL", AfxGetAppName());
    return;
  }
  if (!ApplyInputStreamId(&m_window, AtoiText(text))) return;
  Sleep(kInputStreamRetuneDelayMs);
  m_retune();
}
