#include "platform/sim/stream/ts_source.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "platform/sim/stream/ts_file_replay.h"
#include "platform/sim/stream/ts_generator.h"
#include "platform/sim/stream/ts_memory_replay.h"

std::unique_ptr<TsSource> MakeTsSource(const SimCaptureConfig& config, TsGenerator** generator) {
  *generator = nullptr;
  if (config.replayPackets) return std::make_unique<TsMemoryReplay>(config.replayPackets);
  if (!config.replayPath.empty()) {
    auto replay = std::make_unique<TsFileReplay>(config.replayPath, config.replayLoop);
    if (replay->OpenError() != 0)
      std::cerr << "simulated capture: cannot open \"" << config.replayPath << "\": " << std::strerror(replay->OpenError())
                << std::endl;
    return replay;
  }
  auto made = std::make_unique<TsGenerator>(config.content, config.bitRate, static_cast<std::size_t>(std::max(config.packetsPerSample, 1)),
                                            config.continuityErrorEvery);
  *generator = made.get();
  return made;
}
