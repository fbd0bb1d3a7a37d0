#include "tuner/tuner_records.h"

#include <cstring>

TUNER_DISEQC_MESSAGE MakeDiseqcMessage(const uint8_t* bytes, size_t length) {
  TUNER_DISEQC_MESSAGE message;
  std::memset(&message, 0, sizeof message);
  if (length > kMaxDiseqcMessageLength || (bytes == nullptr && length != 0)) return message;
  if (length != 0) std::memcpy(message.Message, bytes, length);
  message.Length = static_cast<uint8_t>(length);
  return message;
}
