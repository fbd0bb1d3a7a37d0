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
void SendMotorMessage(const CDialog* owner, const MotorMessage& message);
// The positioner's sender: no support query, no mutex; always false.
bool SendDiseqCommandRX40(const std::uint8_t* bytes, std::size_t length);
