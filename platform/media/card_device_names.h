// The friendly names under which a card backend registers the card's tuner
// and capture devices with the device enumerator; the program looks the
// devices up by these names (a longer name with the same beginning matches).
#pragma once

inline constexpr wchar_t kCardTunerName[] = L"Orvane RX40 DVBS/S2 Tuner";
inline constexpr wchar_t kCardCaptureName[] = L"Orvane RX40 BDA Digital Capture DVBS";
