#pragma once
// Names in the settings file of the Tuner Setting page.

#include <array>
#include <string_view>

inline constexpr std::string_view kSettingsFileName = "Orvane-TScap.ini";
inline constexpr std::string_view kSettingsSection = "Config";

inline constexpr std::string_view kKeyPolarity = "polarity";
inline constexpr std::string_view kKeyDiseqc = "diseqc";
inline constexpr std::string_view kKeyMotor0 = "motor0";
inline constexpr std::string_view kKeyMotor1 = "motor1";
inline constexpr std::string_view kKeyMotor2 = "motor2";
inline constexpr std::string_view kKeyMotor3 = "motor3";
inline constexpr std::string_view kKeyMotor4 = "motor4";
inline constexpr std::string_view kKeyFrequency = "freq";
inline constexpr std::string_view kKeySymbolRate = "symbol";
inline constexpr std::string_view kKeyLnbLow = "lnblow";
inline constexpr std::string_view kKeyLnbHigh = "lnbhigh";

// The motor bytes' keys, for motor edits 1024 to 1028 in that order.
inline constexpr std::array<std::string_view, 5> kMotorKeys = {kKeyMotor0, kKeyMotor1, kKeyMotor2,
                                                               kKeyMotor3, kKeyMotor4};

// Every key, in the order a save writes them.
inline constexpr std::array<std::string_view, 11> kSettingsKeysInSaveOrder = {
    kKeyPolarity, kKeyDiseqc,    kKeyMotor0,     kKeyMotor1, kKeyMotor2,  kKeyMotor3,
    kKeyMotor4,   kKeyFrequency, kKeySymbolRate, kKeyLnbLow, kKeyLnbHigh};
