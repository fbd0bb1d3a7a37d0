// The transponders of a satellite file: an optional section beside
// "SATTYPE" that the satellite list never reads.
//
//   [TRANSPONDERS]
//   1=11362,H,22000,DVB-S2     frequency MHz, polarisation, symbol rate kS/s, system
//   2=10758,V,22000,DVB-S
//
// Keys count from 1 without gaps; the first transponder is the satellite's
// reference, the one a move is verified on. Polarisation is H, V, L or R
// (circular left goes with horizontal, right with vertical: the LNB voltage
// is the same); the system DVB-S or DVB-S2. Pure, apart from reading the
// file.
#pragma once

#include <optional>
#include <string>
#include <vector>

inline constexpr char kTransponderSection[] = "TRANSPONDERS";

struct ListedTransponder {
  int frequencyMHz = 0;
  char polarisation = 'H';  // H, V, L or R
  int symbolRateKs = 0;
  bool dvbs2 = false;

  // 0 horizontal (or left), 1 vertical (or right), as the tuner takes it.
  int Polarity() const { return polarisation == 'H' || polarisation == 'L' ? 0 : 1; }
};

struct TransponderList {
  std::vector<ListedTransponder> transponders;
  // "0192.ini [TRANSPONDERS] 3: ..." for each entry that does not read; the
  // entries after it are still read.
  std::vector<std::string> errors;
};

// One entry's value; none with the reason when it does not read.
std::optional<ListedTransponder> ParseListedTransponder(const std::string& value, std::string* error);

TransponderList ReadTransponderList(const std::string& path);

// The satellite file in folder whose position (SATTYPE key 1) is
// positionDigits ("0192"); none when no file has it.
std::optional<std::string> FindSatelliteFile(const std::string& folder, const std::string& positionDigits);

// "11 362 H 22 000": thousands apart, as a transponder is read aloud.
std::string ListedTransponderText(const ListedTransponder& transponder);
