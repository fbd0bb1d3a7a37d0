// The driver's tuner extension property set, as each call site uses it:
// the call orders, the success rules (some writes accept only 0, others any
// non-negative result) and the message boxes. Every operation first checks
// that the tuner context holds m_pKsCtrl.
//
// Boxes captioned "error" belong to `owner`, the window that made the call.
// UI thread, except where noted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tuner/text_numbers.h"
#include "tuner/tuner_records.h"

class CDialog;

// Reads the driver's output stream type into params (the page's start).
bool GetStreamTypeParams(const CDialog* owner, TUNER_STREAMTYPE_PARAMS* params);
// True when the driver's pair equals wanted (the first step of tuning).
bool StreamTypeParamsMatch(const CDialog* owner, const TUNER_STREAMTYPE_PARAMS& wanted);
// Stops the graph, then writes params to the driver.
bool SetStreamTypeParams(const CDialog* owner, const TUNER_STREAMTYPE_PARAMS& params);
// Sends a DiSEqC message; only a write result of exactly 0 is success.
bool SendDiseqCommand(const CDialog* owner, const std::uint8_t* bytes, std::size_t length);
// "Set Motor"'s driver steps, under the driver mutex; message.length >= 2.
// True when the driver took the message (its write gave 0).
bool SendMotorMessage(const CDialog* owner, const MotorMessage& message);
// The positioner's sender: no support query, no mutex; always false.
bool SendDiseqCommandRX40(const std::uint8_t* bytes, std::size_t length);

// What became of one positioner message, for callers that show it.
enum class DiseqcSendResult { Sent, NoDriver, Refused };
// SendDiseqCommandRX40's steps and box, with their outcome: NoDriver when no
// tuner is open (nothing sent, nothing shown), Refused when the write gave
// anything but 0 (after the box).
DiseqcSendResult SendPositionerMessage(const std::uint8_t* bytes, std::size_t length);

// Where the demodulator's report is shown (the main window's panel). Called
// on the monitor thread.
class MediaInfoDisplay {
 public:
  virtual ~MediaInfoDisplay() = default;
  virtual void ShowMediaInfo(const TUNER_MEDIA_INFO& info) = 0;
  virtual void ClearMediaInfo() = 0;
};

// The process-wide media information record, overwritten whole by each read.
// Written and read only by the monitor thread.
TUNER_MEDIA_INFO& TheMediaInfo();

enum class MediaInfoResult { NoDriver = 0, Done = 1, ReadFailed = 2 };
// Once per monitor cycle: without lock the display is cleared; with lock
// the driver's report is read and shown. A refused support query gives
// NoDriver after its box, as the driver interface is then of no use.
MediaInfoResult QueryMediaInfo(const CDialog* owner, bool locked, MediaInfoDisplay* display);

// Selects an input stream of a multiple-input-stream carrier; true when the
// driver took it (the caller then waits 500 ms and tunes again).
bool ApplyInputStreamId(const CDialog* owner, int inputStreamId);
// How long the driver is given to settle on a selected input stream before
// the transponder is tuned again.
inline constexpr std::uint32_t kInputStreamRetuneDelayMs = 500;
