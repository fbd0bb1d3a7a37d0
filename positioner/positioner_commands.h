#pragma once
// The DiSEqC 1.2 positioner commands behind the Motor/Positioner page's
// buttons. Each goes on the bus twice, back to back: first as a repeated
// transmission (framing 0xE1), then as a first transmission (0xE0), to the
// polar/azimuth positioner address 0x31. Sent through SendDiseqCommandRX40:
// without a tuner nothing happens; each refused message shows its own box.

#include <cstdint>
#include <string>
#include <vector>

#include "tuner/tuner_extension.h"

enum class PositionerCommand {
  StepEast,       // 68 FF: one step east
  StepWest,       // 69 FF: one step west
  DriveEast,      // 68 50: east for up to 80 seconds
  DriveWest,      // 69 50: west for up to 80 seconds
  Stop,           // 60: halt
  SetEastLimit,   // 66: east limit at the current position
  SetWestLimit,   // 67: west limit at the current position
  LimitsOff,      // 63
  GotoPosition,   // 6B nn: drive to stored position nn
  StorePosition,  // 6A nn: store the current position as nn
};

inline constexpr std::uint8_t kFramingFirst = 0xE0;
inline constexpr std::uint8_t kFramingRepeat = 0xE1;
inline constexpr std::uint8_t kPositionerAddress = 0x31;

// The message of `command` with the given framing byte; `position` is the
// data byte of GotoPosition and StorePosition and is ignored by the others.
std::vector<std::uint8_t> PositionerMessage(PositionerCommand command, std::uint8_t framing,
                                            std::uint8_t position = 0);

// The stored-position byte of the Position edit's text: the low 8 bits of
// its atoi value ("300" gives 0x2C, "-1" 0xFF, "" 0x00). No range check.
std::uint8_t StoredPositionByte(const std::string& text);

// Sends the command as 0xE1, then 0xE0, each with SendDiseqCommandRX40's
// steps and box. Sent when both went out; else what befell the last
// message that did not.
DiseqcSendResult SendPositionerCommand(PositionerCommand command, std::uint8_t position = 0);

// The two messages of a command: "E1 31 68 FF, E0 31 68 FF".
std::string PositionerMessagesText(PositionerCommand command, std::uint8_t position);
// What a command's send did, in the page's result line and rx40ctl's:
// "sent E1 31 68 FF, E0 31 68 FF", or the messages and why not.
std::string PositionerSentText(PositionerCommand command, std::uint8_t position, DiseqcSendResult sent);
