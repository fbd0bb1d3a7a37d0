// The lower half of the main window: what the demodulator reports about the
// received carrier (IF, symbol rate, the MATYPE bytes and their fields,
// delivery system, modulation, code rate, pilots, frame length, spectrum),
// and the choice of an input stream of a multiple-input-stream carrier.
//
// Threads: ShowMediaInfo and ClearMediaInfo run on the monitor thread and
// write the boxes through the window's synchronous control calls; Apply runs
// on the UI thread. Only the monitor adds to the input stream list, and
// nothing ever removes from it.
#pragma once

#include <cstdint>
#include <functional>

#include "tuner/tuner_extension.h"

class CDialog;

class StreamInfoPanel final : public MediaInfoDisplay {
 public:
  // window holds the panel's controls and owns its boxes; retune is the
  // Tuner Setting page's "Lock TP".
  StreamInfoPanel(CDialog& window, std::function<void()> retune);

  // The boxes in their fixed order; the input stream of a multiple-input-
  // stream carrier joins the list unless its text is already listed. The
  // MATYPE box's tooltip says when the driver derived the bytes. A
  // report without a symbol rate describes no carrier and changes nothing.
  void ShowMediaInfo(const TUNER_MEDIA_INFO& info) override;
  // Every box but MATYPE emptied; the list stays as it is.
  void ClearMediaInfo() override;

  // "Apply": selects the listed input stream chosen in the driver and, once
  // the driver took it, tunes again half a second later. Without a chosen
  // entry only the box "NULL" is shown.
  void Apply();

 private:
  void Show(int id, const std::string& text);
  void AddInputStream(std::int32_t inputStreamId);

  CDialog& m_window;
  const std::function<void()> m_retune;
};
