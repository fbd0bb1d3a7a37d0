#include "tuner/tuner_records.h"

#include <gtest/gtest.h>


namespace {

std::vector<uint8_t> BytesOf(const TUNER_DISEQC_MESSAGE& message) {
  const auto* raw = reinterpret_cast<const uint8_t*>(&message);
  return {raw, raw + sizeof message};
}

TEST(MakeDiseqcMessage, ClearsCopiesAndStoresLength) {
  const uint8_t switchCommand[] = {0xE0, 0x10, 0x38, 0xF3};
  EXPECT_EQ(BytesOf(MakeDiseqcMessage(switchCommand, 4)),
            (std::vector<uint8_t>{0xE0, 0x10, 0x38, 0xF3, 0, 0, 0, 0, 0, 0, 4}));

  const uint8_t ten[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(BytesOf(MakeDiseqcMessage(ten, 10)),
            (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10}));
}

TEST(MakeDiseqcMessage, RefusesWhatCannotBeSentWhole) {
  const std::vector<uint8_t> zeros(11, 0);
  const uint8_t eleven[11] = {0xE0, 0x31, 0x6E, 1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(BytesOf(MakeDiseqcMessage(eleven, 11)), zeros);
  EXPECT_EQ(BytesOf(MakeDiseqcMessage(nullptr, 3)), zeros);
  EXPECT_EQ(BytesOf(MakeDiseqcMessage(nullptr, 0)), zeros);
}

}  // namespace
