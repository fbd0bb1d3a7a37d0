#include "cli/reading_text.h"

#include <cstdio>
#include <vector>

#include "app/media_info_text.h"

namespace {

struct MediaTexts {
  std::optional<DeliverySystemTexts> delivery;
  std::string modulation, rollOff, pilots, frameLength, spectrum;
  std::string streamType, inputStream, codingModulation, inputSynchro, nullPacketDeletion, matype;
};

MediaTexts TextsOf(const TUNER_MEDIA_INFO& info) {
  return {DeliveryTexts(info.Standard, info.Modcod, info.DvbsCodeRate),
          ModulationText(info.Modulation),
          RollOffText(info.RollOff),
          PilotsText(info.Pilots),
          FrameLengthText(info.ShortFrame),
          SpectrumText(info.SpectrumInversion),
          StreamTypeText(info.StreamType),
          InputStreamText(info.SingleInputStream),
          CodingModulationText(info.ConstantCodingModulation),
          InputSynchroText(info.InputStreamSynchro),
          NullPacketDeletionText(info.NullPacketDeletion),
          MatypeText(info.Matype1, info.Matype2)};
}

// " level -45.0 dBm C/N 12.0 dB bit errors 0 of 2750000 uncorrected 0", each where measured.
std::string MeasurementsText(const SignalMeasurements& m) {
  std::string text;
  char number[64];
  if (m.levelDbm) {
    std::snprintf(number, sizeof number, " level %.1f dBm", *m.levelDbm);
    text += number;
  }
  if (m.cnrDb) {
    std::snprintf(number, sizeof number, " C/N %.1f dB", *m.cnrDb);
    text += number;
  }
  if (m.bitErrors) {
    text += " bit errors " + std::to_string(*m.bitErrors);
    if (m.bitsCounted) text += " of " + std::to_string(*m.bitsCounted);
  }
  if (m.uncorrectedBlocks) text += " uncorrected " + std::to_string(*m.uncorrectedBlocks);
  return text;
}

}  // namespace

std::string ReadingText(const CardReading& reading) {
  const SignalReading& signal = reading.signal;
  std::string first = std::string(signal.Locked() ? "LOCKED" : "UNLOCKED") + " strength " +
                      std::to_string(signal.strength) + " quality " + std::to_string(signal.quality);
  if (signal.marginDb) {
    char margin[48];
    std::snprintf(margin, sizeof margin, " margin %.1f dB", *signal.marginDb);
    first += margin;
  }
  first += MeasurementsText(signal.measured);
  std::vector<std::string> fields{first};
  if (reading.media) {
    const TUNER_MEDIA_INFO& info = *reading.media;
    const MediaTexts t = TextsOf(info);
    fields.push_back("IF: " + std::to_string(info.IntermediateFrequency) + " KHz");
    fields.push_back("SymbolRate: " + std::to_string(info.SymbolRate) + " Bds");
    if (t.delivery) fields.push_back(t.delivery->system);
    fields.push_back(t.modulation);
    if (t.delivery) fields.push_back("FEC: " + t.delivery->codeRate);
    fields.push_back("Roll Off: " + t.rollOff);
    for (const std::string* text : {&t.pilots, &t.frameLength, &t.spectrum, &t.streamType, &t.inputStream})
      fields.push_back(*text);
    if (info.SingleInputStream == 0) fields.push_back("ISI: " + std::to_string(info.InputStreamId));
    for (const std::string* text : {&t.codingModulation, &t.inputSynchro, &t.nullPacketDeletion})
      fields.push_back(*text);
    fields.push_back("MATYPE: " + t.matype + (reading.matypeDerived ? " (derived)" : ""));
  }
  if (reading.dish) fields.push_back(DishMotionText(*reading.dish));
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : " | ") + field;
  return line;
}

std::string DecodedCarrierText(const CardReading& reading) {
  if (!reading.media) return {};
  const MediaTexts t = TextsOf(*reading.media);
  std::string text = t.delivery ? t.delivery->system + " " : "";
  text += t.modulation;
  if (t.delivery) text += " " + t.delivery->codeRate;
  return text + " " + t.rollOff;
}

JsonObject ReadingJson(const CardReading& reading) {
  JsonObject json;
  json.Bool("locked", reading.signal.Locked())
      .Integer("strength", reading.signal.strength)
      .Integer("quality", reading.signal.quality);
  if (reading.signal.marginDb) json.Real("margin_db", *reading.signal.marginDb, 2);
  const SignalMeasurements& measured = reading.signal.measured;
  if (measured.levelDbm) json.Real("level_dbm", *measured.levelDbm, 1);
  if (measured.cnrDb) json.Real("cnr_db", *measured.cnrDb, 1);
  if (measured.bitErrors) json.Integer("bit_errors", static_cast<long long>(*measured.bitErrors));
  if (measured.bitsCounted) json.Integer("bits_counted", static_cast<long long>(*measured.bitsCounted));
  if (measured.uncorrectedBlocks) json.Integer("uncorrected_blocks", static_cast<long long>(*measured.uncorrectedBlocks));
  if (reading.media) {
    const TUNER_MEDIA_INFO& info = *reading.media;
    const MediaTexts t = TextsOf(info);
    JsonObject media;
    media.Integer("if_khz", info.IntermediateFrequency).Integer("symbol_rate_bd", info.SymbolRate);
    if (t.delivery) media.Text("system", t.delivery->system);
    media.Text("modulation", t.modulation);
    if (t.delivery) media.Text("fec", t.delivery->codeRate);
    media.Text("roll_off", t.rollOff)
        .Text("pilots", t.pilots)
        .Text("frame_length", t.frameLength)
        .Text("spectrum", t.spectrum)
        .Text("stream_type", t.streamType)
        .Text("input_stream", t.inputStream);
    if (info.SingleInputStream == 0) media.Integer("input_stream_id", info.InputStreamId);
    media.Text("coding_modulation", t.codingModulation)
        .Text("input_synchro", t.inputSynchro)
        .Text("null_packet_deletion", t.nullPacketDeletion)
        .Text("matype", t.matype)
        .Integer("matype1", info.Matype1 & 0xFF)
        .Integer("matype2", info.Matype2 & 0xFF)
        .Bool("matype_derived", reading.matypeDerived);
    json.Object("media", media);
  }
  if (reading.dish) {
    json.Object("dish", JsonObject().Real("angle_deg", reading.dish->angleDeg, 2).Bool("moving", reading.dish->moving));
  }
  return json;
}
