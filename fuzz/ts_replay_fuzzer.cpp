// The transport-stream replay reader on any file, and the packet counter
// the replayed bytes meet downstream: the reader hands on exactly the
// file's whole 188-byte packets in order (again from the start when it
// loops), and the counter counts the same however the bytes are cut into
// pieces.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/media/ts_packet_counter.h"
#include "platform/sim/stream/ts_file_replay.h"

namespace {

constexpr size_t kPacket = 188;

using fuzz::Check;

using fuzz::MemoryFile;

}  // namespace

// The input: a loop flag (bit 0), a seed for the read sizes, a seed for the
// piece sizes, then the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const bool loop = data[0] & 1;
  const uint8_t fillSeed = data[1];
  const uint8_t pieceSeed = data[2];
  const std::vector<uint8_t> file(data + 3, data + size);
  const size_t wholePackets = file.size() / kPacket;

  const MemoryFile memory(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
  TsFileReplay replay(memory.Path(), loop);
  Check(replay.OpenError() == 0);

  // Fill requests of 1 to 8 packets; looping, read the file about three times.
  std::vector<uint8_t> delivered;
  const size_t wanted = loop ? 3 * wholePackets : wholePackets;
  for (size_t call = 0; delivered.size() / kPacket < wanted; ++call) {
    const size_t request = 1 + (fillSeed + call) % 8;
    std::vector<uint8_t> buffer(request * kPacket);
    const size_t got = replay.Fill(buffer.data(), request);
    Check(got <= request);
    if (got == 0) break;
    delivered.insert(delivered.end(), buffer.begin(), buffer.begin() + got * kPacket);
  }
  Check(delivered.size() / kPacket >= wanted);
  for (size_t i = 0; i < delivered.size(); ++i) {
    Check(delivered[i] == file[i % (wholePackets * kPacket)]);
  }
  if (!loop) {
    uint8_t spare[kPacket];
    Check(replay.Fill(spare, 1) == 0);
  }

  // The counter downstream: the bytes whole, and cut into pieces of 1 to 400 bytes.
  TsPacketCounter whole, pieces;
  whole.Consume(file.data(), file.size());
  for (size_t at = 0, cut = 0; at < file.size(); ++cut) {
    const size_t piece = std::min<size_t>(file.size() - at, 1 + (pieceSeed * 37 + cut * 101) % 400);
    pieces.Consume(file.data() + at, piece);
    at += piece;
  }
  Check(whole.TotalPackets() == pieces.TotalPackets());
  Check(whole.SyncLosses() == pieces.SyncLosses());
  Check(whole.ContinuityErrors() == pieces.ContinuityErrors());
  Check(whole.Counts() == pieces.Counts());
  Check(whole.TotalPackets() <= file.size() / kPacket);
  return 0;
}
