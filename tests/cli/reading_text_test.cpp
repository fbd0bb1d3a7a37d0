// A reading as rx40ctl writes it: the stream-information panel's words for
// each kind of carrier, and nothing of the media when there is no lock.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "cli/reading_text.h"

namespace {

SignalReading Locked() {
  SignalReading signal;
  signal.strength = 85;
  signal.quality = 78;
  signal.lockByte = 1;
  return signal;
}

TUNER_MEDIA_INFO Dvbs2Mis() {
  TUNER_MEDIA_INFO info{};
  info.IntermediateFrequency = 1568000;
  info.SymbolRate = 27500000;
  info.Standard = 1;
  info.Modcod = 12;  // 8PSK 3/5
  info.Modulation = 1;
  info.StreamType = 3;
  info.SingleInputStream = 0;
  info.ConstantCodingModulation = 1;
  info.RollOff = 2;
  info.InputStreamId = 10;
  info.Matype1 = 0xD2;
  info.Matype2 = 0x0A;
  info.Pilots = 1;
  return info;
}

TEST(ReadingText, EachKindOfCarrierInThePanelsWords) {
  TUNER_MEDIA_INFO dvbs{};
  dvbs.IntermediateFrequency = 1008000;
  dvbs.SymbolRate = 22000000;
  dvbs.Standard = 0;
  dvbs.DvbsCodeRate = 4;
  dvbs.StreamType = 3;
  dvbs.SingleInputStream = 1;
  dvbs.ConstantCodingModulation = 1;
  dvbs.Matype1 = 0xF0;
  TUNER_MEDIA_INFO unknownSystem = Dvbs2Mis();
  unknownSystem.Standard = 2;
  unknownSystem.Modulation = 4;
  unknownSystem.SpectrumInversion = 1;

  const struct {
    TUNER_MEDIA_INFO info;
    bool derived;
    const char* text;
  } cases[] = {
      {Dvbs2Mis(), false,
       "LOCKED strength 85 quality 78 margin 11.4 dB | IF: 1568000 KHz | SymbolRate: 27500000 Bds | DVB-S2 | 8PSK | FEC: 3/5 | "
       "Roll Off: 0.20 | Pilots On | Long Frame | IQ_NORMAL | TRANSPORT_STREAM | MULTIPLE_INPUT_STREAM | ISI: 10 | "
       "CCM | ISSYI_DISABLED | NPD_DISABLED | MATYPE: D2  0A"},
      {dvbs, true,
       "LOCKED strength 85 quality 78 margin 11.4 dB | IF: 1008000 KHz | SymbolRate: 22000000 Bds | DVB-S1 | QPSK | FEC: 5/6 | "
       "Roll Off: 0.35 | Pilots Off | Long Frame | IQ_NORMAL | TRANSPORT_STREAM | SINGLE_INPUT_STREAM | CCM | "
       "ISSYI_DISABLED | NPD_DISABLED | MATYPE: F0  00 (derived)"},
      // A delivery system the panel does not know: no system, no code rate.
      {unknownSystem, false,
       "LOCKED strength 85 quality 78 margin 11.4 dB | IF: 1568000 KHz | SymbolRate: 27500000 Bds | UNKNOWN | Roll Off: 0.20 | "
       "Pilots On | Long Frame | IQ_SWAPPED | TRANSPORT_STREAM | MULTIPLE_INPUT_STREAM | ISI: 10 | CCM | "
       "ISSYI_DISABLED | NPD_DISABLED | MATYPE: D2  0A"},
  };
  for (const auto& c : cases) {
    CardReading reading;
    reading.signal = Locked();
    reading.signal.marginDb = 11.38;
    reading.media = c.info;
    reading.matypeDerived = c.derived;
    EXPECT_EQ(ReadingText(reading), c.text);
  }
}

TEST(ReadingText, WithoutLockOnlyTheSignalAndTheDishAndTheJsonSaysAsMuch) {
  CardReading reading;
  reading.signal.strength = 12;
  reading.dish = DishMotion{-17.0, true};
  EXPECT_EQ(ReadingText(reading), "UNLOCKED strength 12 quality 0 | Dish -17.00\u00B0, moving");
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(ReadingJson(reading).Line())).object();
  EXPECT_FALSE(json["locked"].toBool());
  EXPECT_EQ(json["strength"].toInt(), 12);
  EXPECT_FALSE(json.contains("media"));
  EXPECT_FALSE(json.contains("margin_db")) << "the tuner measures none";
  EXPECT_DOUBLE_EQ(json["dish"].toObject()["angle_deg"].toDouble(), -17.0);
  EXPECT_TRUE(json["dish"].toObject()["moving"].toBool());

  reading.signal = Locked();
  reading.media = Dvbs2Mis();
  reading.dish.reset();
  const QJsonObject media =
      QJsonDocument::fromJson(QByteArray::fromStdString(ReadingJson(reading).Line())).object()["media"].toObject();
  EXPECT_EQ(media["system"].toString(), "DVB-S2");
  EXPECT_EQ(media["fec"].toString(), "3/5");
  EXPECT_EQ(media["input_stream_id"].toInt(), 10);
  EXPECT_EQ(media["matype"].toString(), "D2  0A");
  EXPECT_EQ(media["matype1"].toInt(), 0xD2);
}

// A real card's driver may measure the level, the C/N and its errors; each
// is shown where it is measured, and only then.
TEST(ReadingText, WhatTheDriverMeasuresIsShownWhereItMeasuresIt) {
  CardReading reading;
  reading.signal = Locked();
  reading.signal.measured.cnrDb = 12.04;
  reading.signal.measured.bitErrors = 3;
  reading.signal.measured.bitsCounted = 2750000;
  EXPECT_EQ(ReadingText(reading), "LOCKED strength 85 quality 78 C/N 12.0 dB bit errors 3 of 2750000");
  reading.signal.measured = {-45.5, std::nullopt, 7, std::nullopt, 2};
  EXPECT_EQ(ReadingText(reading), "LOCKED strength 85 quality 78 level -45.5 dBm bit errors 7 uncorrected 2");
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(ReadingJson(reading).Line())).object();
  EXPECT_DOUBLE_EQ(json["level_dbm"].toDouble(), -45.5);
  EXPECT_FALSE(json.contains("cnr_db"));
  EXPECT_EQ(json["bit_errors"].toInt(), 7);
  EXPECT_FALSE(json.contains("bits_counted"));
  EXPECT_EQ(json["uncorrected_blocks"].toInt(), 2);
}

}  // namespace
