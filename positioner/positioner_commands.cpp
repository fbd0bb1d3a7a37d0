#include "positioner/positioner_commands.h"

#include "positioner/usals_text.h"
#include "tuner/text_numbers.h"

namespace {

enum class Data { None, Fixed, StoredPosition };

// The command byte and where its data byte, if any, comes from.
struct CommandBytes {
  std::uint8_t command;
  Data data = Data::None;
  std::uint8_t fixed = 0;
};

CommandBytes BytesOf(PositionerCommand command) {
  switch (command) {
    case PositionerCommand::StepEast: return {0x68, Data::Fixed, 0xFF};
    case PositionerCommand::StepWest: return {0x69, Data::Fixed, 0xFF};
    case PositionerCommand::DriveEast: return {0x68, Data::Fixed, 0x50};
    case PositionerCommand::DriveWest: return {0x69, Data::Fixed, 0x50};
    case PositionerCommand::Stop: return {0x60};
    case PositionerCommand::SetEastLimit: return {0x66};
    case PositionerCommand::SetWestLimit: return {0x67};
    case PositionerCommand::LimitsOff: return {0x63};
    case PositionerCommand::GotoPosition: return {0x6B, Data::StoredPosition};
    case PositionerCommand::StorePosition: return {0x6A, Data::StoredPosition};
  }
  return {0x60};
}

}  // namespace

std::vector<std::uint8_t> PositionerMessage(PositionerCommand command, std::uint8_t framing, std::uint8_t position) {
  const CommandBytes bytes = BytesOf(command);
  std::vector<std::uint8_t> message{framing, kPositionerAddress, bytes.command};
  if (bytes.data == Data::Fixed) message.push_back(bytes.fixed);
  if (bytes.data == Data::StoredPosition) message.push_back(position);
  return message;
}

std::uint8_t StoredPositionByte(const std::string& text) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(AtoiText(text)) & 0xFF);
}

std::string PositionerMessagesText(PositionerCommand command, std::uint8_t position) {
  return HexBytesText(PositionerMessage(command, kFramingRepeat, position)) + ", " +
         HexBytesText(PositionerMessage(command, kFramingFirst, position));
}

std::string PositionerSentText(PositionerCommand command, std::uint8_t position, DiseqcSendResult sent) {
  const std::string messages = PositionerMessagesText(command, position);
  switch (sent) {
    case DiseqcSendResult::Sent: return "sent " + messages;
    case DiseqcSendResult::NoDriver: return messages + " not sent, no tuner";
    case DiseqcSendResult::Refused: return messages + " refused by the driver";
  }
  return messages;
}

DiseqcSendResult SendPositionerCommand(PositionerCommand command, std::uint8_t position) {
  DiseqcSendResult result = DiseqcSendResult::Sent;
  for (const std::uint8_t framing : {kFramingRepeat, kFramingFirst}) {
    const std::vector<std::uint8_t> message = PositionerMessage(command, framing, position);
    const DiseqcSendResult sent = SendPositionerMessage(message.data(), message.size());
    if (sent != DiseqcSendResult::Sent) result = sent;
  }
  return result;
}
