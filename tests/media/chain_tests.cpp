#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "platform/media/graph_order.h"
#include "platform/media/media_status.h"
#include "recording/framework/base_pin.h"
#include "platform/media/mem_allocator.h"
#include "platform/media/mpeg2_demux_filter.h"
#include "platform/media/tif_filter.h"
#include "platform/media/ts_stream_statistics.h"
#include "platform/sim/stream/sim_capture_filter.h"
#include "platform/sim/stream/sim_stream_writer.h"
#include "recording/dest_filter.h"
#include "recording/recording_state.h"
#include "tests/media/chain.h"
#include "tests/media/ts_reader.h"
#include "tests/support/file_contents.h"
#include "tests/support/instant_clock.h"

namespace {

namespace fs = std::filesystem;

class ChainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("chain_tests_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  static SimCaptureConfig Unpaced(std::uint64_t packets) {
    SimCaptureConfig config;
    config.pacing = SimPacing::Unpaced;
    config.packetLimit = packets;
    config.sampleBuffers = 4;
    return config;
  }
  // Records one whole run of a limited stream; returns the file's bytes.
  std::vector<std::uint8_t> RecordWholeRun(Chain& chain, const std::string& name) {
    SetRecordFilePath((dir / name).string());
    EXPECT_EQ(StartRecording(), S_OK);
    EXPECT_TRUE(chain.Capture()->WaitForEndOfStream());
    StopRecording();
    return FileBytes(dir / name);
  }

  fs::path dir;
};

TEST_F(ChainTest, RecordsTheCardsStreamByteForByteAndFeedsTheDemultiplexerBranch) {
  const SimCaptureConfig config = Unpaced(7 * 600);
  Chain chain(config);
  for (HRESULT hr : chain.connected) EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(static_cast<CBaseFilter*>(static_cast<IBaseFilter*>(chain.tee.Get()))->GetPinCount(), 4);  // one free output

  const std::vector<std::uint8_t> recorded = RecordWholeRun(chain, "capture.ts");
  ASSERT_EQ(WriteSimulatedStream(config, (dir / "reference.ts").string()), 0);
  EXPECT_EQ(recorded.size(), 7u * 600 * 188);
  EXPECT_TRUE(recorded == FileBytes(dir / "reference.ts"));
  EXPECT_EQ(chain.Capture()->LastDeliveryResult(), S_OK);

  const TsReport report = ReadTs(recorded);
  EXPECT_EQ(report.syncErrors, 0u);
  EXPECT_EQ(report.continuityErrors, 0u);
  EXPECT_EQ(report.crcErrors, 0u);
  EXPECT_GT(report.sections, 3u);
  EXPECT_EQ(report.pmtPid, config.content.pmtPid);
  EXPECT_EQ(report.videoPid, config.content.videoPid);
  EXPECT_EQ(report.serviceName, config.content.serviceName);
  EXPECT_GT(report.pcrs, 1u);
  EXPECT_EQ(report.pcrBackwards, 0u);

  // The other branch saw every packet too.
  EXPECT_EQ(chain.Demux()->PacketCounts().Counts(), report.perPid);
  EXPECT_EQ(chain.Tif()->PacketCounts().Counts(), report.perPid);
  EXPECT_EQ(chain.Tif()->PacketCounts().SyncLosses(), 0u);
  EXPECT_EQ(chain.Pool()->OutstandingSamples(), 0);
}

TEST_F(ChainTest, RunsAndStopsRepeatedlyWithNothingInFlightAfterStop) {
  SimCaptureConfig config = Unpaced(0);  // endless
  Chain chain(config);
  std::uint64_t before = 0;
  for (int round = 0; round < 3; ++round) {
    const std::string name = "round" + std::to_string(round) + ".ts";
    SetRecordFilePath((dir / name).string());
    ASSERT_EQ(StartRecording(), S_OK);
    while (chain.Capture()->PacketsDelivered() < before + 7 * 40) std::this_thread::yield();
    StopRecording();

    // Stop returned with no sample in flight: everything delivered is in the
    // file and nothing is delivered afterwards.
    const std::uint64_t delivered = chain.Capture()->PacketsDelivered();
    const std::vector<std::uint8_t> recorded = FileBytes(dir / name);
    EXPECT_EQ(recorded.size(), (delivered - before) * 188);
    EXPECT_EQ(chain.Pool()->OutstandingSamples(), 0);
    EXPECT_EQ(chain.Pool()->PoolBytes(), 0);  // decommitted and freed
    const TsReport report = ReadTs(recorded);
    EXPECT_EQ(report.syncErrors, 0u);
    EXPECT_EQ(report.continuityErrors, 0u);
    EXPECT_EQ(report.crcErrors, 0u);
    EXPECT_EQ(chain.Capture()->PacketsDelivered(), delivered);

    // The demultiplexer branch counted this run alone.
    ComPtr<ITsStreamStatistics> statistics = chain.demux.As<ITsStreamStatistics>();
    ASSERT_TRUE(statistics);
    TsStreamStatistics counted;
    ASSERT_EQ(statistics->GetStreamStatistics(&counted), S_OK);
    EXPECT_EQ(counted.packets, delivered - before);
    EXPECT_EQ(counted.continuityErrors, 0u);
    EXPECT_EQ(counted.syncLosses, 0u);
    before = delivered;
  }
}

TEST_F(ChainTest, PacedStreamFollowsTheBitRateOnTheInjectedClock) {
  ScopedInstantClock clock;
  SimCaptureConfig config = Unpaced(7 * 20);
  config.pacing = SimPacing::BitRate;
  config.bitRate = 7 * 188 * 8 * 10;  // ten samples a second
  Chain chain(config);
  const std::uint64_t start = clock->NowMs();
  const std::vector<std::uint8_t> recorded = RecordWholeRun(chain, "paced.ts");
  EXPECT_EQ(recorded.size(), 7u * 20 * 188);
  // The last sample was due after 19 sample periods of virtual time.
  EXPECT_GE(clock->NowMs() - start, 1900u);
  EXPECT_EQ(ReadTs(recorded).continuityErrors, 0u);
}

TEST_F(ChainTest, ReplaysAFileInWholePacketsAndEnds) {
  ASSERT_EQ(WriteSimulatedStream(Unpaced(701), (dir / "source.ts").string()), 0);
  std::vector<std::uint8_t> source = FileBytes(dir / "source.ts");
  { std::ofstream(dir / "source.ts", std::ios::app | std::ios::binary) << "12345"; }  // a torn last packet

  SimCaptureConfig config = Unpaced(0);
  config.replayPath = (dir / "source.ts").string();
  config.replayLoop = false;
  config.packetsPerSample = 10;
  Chain chain(config);
  EXPECT_TRUE(RecordWholeRun(chain, "replayed.ts") == source);
}

// Packets replayed from memory loop round whatever the sample size, and a
// recycled sample that already holds its packets keeps them.
TEST_F(ChainTest, ReplaysPacketsFromMemoryLooped) {
  auto packets = std::make_shared<std::vector<std::uint8_t>>(5 * 188);
  for (std::size_t i = 0; i < packets->size(); ++i) (*packets)[i] = static_cast<std::uint8_t>(i / 188 * 16 + i % 7);
  for (int perSample : {5, 3}) {
    SimCaptureConfig config = Unpaced(12);
    config.replayPackets = packets;
    config.packetsPerSample = perSample;
    Chain chain(config);
    const std::vector<std::uint8_t> recorded = RecordWholeRun(chain, "memory" + std::to_string(perSample) + ".ts");
    ASSERT_EQ(recorded.size(), 12u * 188) << perSample;
    for (std::size_t packet = 0; packet < 12; ++packet)
      EXPECT_TRUE(std::equal(recorded.begin() + packet * 188, recorded.begin() + (packet + 1) * 188,
                             packets->begin() + (packet % 5) * 188))
          << "packet " << packet << " in samples of " << perSample;
  }
}

TEST_F(ChainTest, StatesChangeUpstreamFirstOnStopAndDownstreamFirstOnRun) {
  Chain chain(Unpaced(7));
  const std::vector<ComPtr<IBaseFilter>> scrambled = {chain.tif, ComPtr<IBaseFilter>(chain.sink), chain.demux,
                                                      chain.tee, chain.capture};
  const auto order = SortUpstreamFirst(scrambled);
  const auto at = [&](const ComPtr<IBaseFilter>& filter) {
    return std::find(order.begin(), order.end(), filter) - order.begin();
  };
  ASSERT_EQ(order.size(), 5u);
  EXPECT_EQ(at(chain.capture), 0);
  EXPECT_EQ(at(chain.tee), 1);
  EXPECT_LT(at(chain.demux), at(chain.tif));
  EXPECT_GT(at(ComPtr<IBaseFilter>(chain.sink)), at(chain.tee));
}

TEST_F(ChainTest, GraphNamesFindsAndRemovesFiltersWithTheirConnections) {
  Chain chain(Unpaced(7));
  ComPtr<IBaseFilter> found;
  ASSERT_EQ(chain.graph->FindFilterByName(L"Dest Filter", found.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(found.Get(), static_cast<IBaseFilter*>(chain.sink));
  EXPECT_EQ(chain.graph->FindFilterByName(L"dest filter", found.ReleaseAndGetAddressOf()), VFW_E_NOT_FOUND);

  HRESULT hr;
  ComPtr<IBaseFilter> second(new CDestFilter(nullptr, &SinkLock(), &hr));
  ASSERT_EQ(chain.graph->AddFilter(second.Get(), L"Dest Filter"), S_OK);
  FILTER_INFO info;
  second->QueryFilterInfo(&info);
  EXPECT_STREQ(info.achName, L"Dest Filter 0001");
  EXPECT_EQ(info.pGraph, chain.graph.Get());
  info.pGraph->Release();
  EXPECT_EQ(chain.graph->RemoveFilter(second.Get()), S_OK);
  EXPECT_EQ(chain.graph->RemoveFilter(second.Get()), VFW_E_NOT_FOUND);

  // A pin of a filter outside the graph cannot be connected through it.
  ComPtr<IPin> sinkInput;
  second->FindPin(L"Input", sinkInput.ReleaseAndGetAddressOf());
  ComPtr<IPin> demuxOut;
  chain.demux->FindPin(L"Output", demuxOut.ReleaseAndGetAddressOf());
  EXPECT_EQ(chain.graph->ConnectDirect(demuxOut.Get(), sinkInput.Get(), nullptr), VFW_E_NOT_IN_GRAPH);

  // Removing the tee breaks both ends of its connections.
  ComPtr<IPin> peer;
  ASSERT_EQ(chain.graph->RemoveFilter(chain.tee.Get()), S_OK);
  EXPECT_FALSE(chain.sink->GetPin(0)->IsConnected());
  ComPtr<IPin> captureOut;
  chain.capture->FindPin(L"Output", captureOut.ReleaseAndGetAddressOf());
  EXPECT_EQ(captureOut->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
}

TEST_F(ChainTest, ReleasingTheGraphFreesEveryFilter) {
  ComPtr<IBaseFilter> capture;
  CDestFilter* sink;
  {
    Chain chain(Unpaced(7 * 10));
    RecordWholeRun(chain, "short.ts");
    capture = chain.capture;
    sink = chain.sink;
    static_cast<IBaseFilter*>(sink)->AddRef();
  }
  // Only our own references are left: the connections were broken.
  EXPECT_EQ(capture->AddRef(), 2u);
  EXPECT_EQ(capture->Release(), 1u);
  EXPECT_EQ(static_cast<IBaseFilter*>(sink)->Release(), 0u);
}

}  // namespace
