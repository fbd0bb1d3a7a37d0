#pragma once
// The simulated card's sky: the satellites the dish can see, their
// transponders, the site on the ground, the LNB on the dish and where the
// dish starts out pointed. Plain data; DefaultSky() is the built-in one,
// sky_file.h reads one from a file.

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class Polarisation : uint8_t { Horizontal, Vertical };

enum class DeliverySystem : uint8_t { DvbS, DvbS2 };

// Numbered as the demodulator reports them.
enum class Modulation : uint8_t { Qpsk = 0, Psk8 = 1, Apsk16 = 2, Apsk32 = 3 };

enum class CodeRate : uint8_t { R1_4, R1_3, R2_5, R1_2, R3_5, R2_3, R3_4, R4_5, R5_6, R6_7, R7_8, R8_9, R9_10 };

// Numbered as MATYPE-1 bits 1-0.
enum class RollOff : uint8_t { R0_35 = 0, R0_25 = 1, R0_20 = 2 };

// Numbered as MATYPE-1 bits 7-6.
enum class StreamType : uint8_t { GenericPacketized = 0, GenericContinuous = 1, Transport = 3 };

struct Transponder {
  double frequencyMHz = 0;
  Polarisation polarisation = Polarisation::Horizontal;
  int symbolRateKs = 0;
  DeliverySystem system = DeliverySystem::DvbS;
  Modulation modulation = Modulation::Qpsk;
  CodeRate codeRate = CodeRate::R3_4;
  RollOff rollOff = RollOff::R0_35;
  bool pilots = false;
  bool shortFrame = false;
  StreamType streamType = StreamType::Transport;
  bool ccm = true;                  // false: adaptive coding and modulation
  bool issy = false;                // input stream synchronisation indicator
  bool npd = false;                 // null packet deletion
  std::vector<int> inputStreamIds{};  // none or one: single stream; several: MIS
  bool spectralInversion = false;
  std::uint32_t plsGold = 0;  // the physical-layer scrambling Gold code (0: the default)

  bool IsMultipleInputStream() const { return inputStreamIds.size() > 1; }
};

struct Satellite {
  std::string name;
  double orbitalEastDeg = 0;  // east positive, west negative
  std::vector<Transponder> transponders;
};

struct Site {
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive
};

// The LNB's real oscillators, whatever the operator types on the page.
struct Lnb {
  int lowOscillatorMHz = 9750;
  int highOscillatorMHz = 10600;
};

struct Sky {
  std::vector<Satellite> satellites;
  Site site;
  Lnb lnb;
  int pointedSatelliteIndex = 0;  // into `satellites`: where the dish starts
};

// Four satellites with a mix of carriers: DVB-S QPSK, DVB-S2 8PSK, 16APSK
// and 32APSK, a multiple-input-stream carrier, generic and ACM carriers, on
// both polarisations and both LNB bands. The satellite the dish starts at
// carries every kind the stream-information panel tells apart: DVB-S,
// DVB-S2 single and multiple input streams, short and long frames, pilots
// on and off, normal and inverted spectrum, CCM and ACM, ISSYI and NPD.
Sky DefaultSky();

}  // namespace sim
