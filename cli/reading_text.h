// One reading of the card as rx40ctl writes it: lock, strength and quality
// (and the link margin where the tuner measures it), the demodulator's
// media information decoded with the stream-information
// panel's texts, and the dish where the driver reports it. Pure.
#pragma once

#include <optional>
#include <string>

#include "cli/json_line.h"
#include "positioner/dish_motion.h"
#include "tuner/signal_statistics.h"
#include "tuner/tuner_records.h"

struct CardReading {
  SignalReading signal;
  // Only with lock and a report that describes a carrier.
  std::optional<TUNER_MEDIA_INFO> media;
  bool matypeDerived = false;  // the driver works the MATYPE out instead of receiving it
  std::optional<DishMotion> dish;
};

// "LOCKED strength 85 quality 78 margin 11.4 dB | IF: 1612000 KHz | SymbolRate: 22000000
// Bds | DVB-S2 | 8PSK | FEC: 2/3 | ... | MATYPE: F2  00", one line.
std::string ReadingText(const CardReading& reading);
// The carrier as the demodulator decoded it, short: "DVB-S2 8PSK 2/3 0.20";
// empty without media information.
std::string DecodedCarrierText(const CardReading& reading);
// locked, strength, quality, margin_db when known, then "media" and "dish"
// objects when known.
JsonObject ReadingJson(const CardReading& reading);
