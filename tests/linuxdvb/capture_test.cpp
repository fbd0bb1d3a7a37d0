// A real card's capture filter feeding the stream sink, against the fake
// kernel: the whole stream byte for byte, overflows counted, a stop that
// never waits on a read, and the refusals reported plainly.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/com/error_info.h"
#include "platform/com/runtime.h"
#include "platform/linuxdvb/capture_filter.h"
#include "platform/media/media_classes.h"
#include "recording/dest_filter.h"
#include "recording/recording_state.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/linuxdvb/log_recorder.h"
#include "tests/support/file_contents.h"
#include "tests/support/graph_pins.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

namespace linuxdvb {
namespace {

std::vector<std::uint8_t> Packets(int count, std::uint8_t fill) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * 188, fill);
  for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i) * 188] = 0x47;
  return bytes;
}

// capture -> stream sink in a graph, as the recording path has it.
class CaptureTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterMediaClasses();
    CoCreateInstance(CLSID_FilterGraph, graph.ReleaseAndGetAddressOf());
    kernel->AddAdapter(0, {}, demux);
    calls = std::make_shared<KernelCalls>(kernel, log.Sink());
    capture = ComPtr<IBaseFilter>(new CaptureFilter(
        calls, {"adapter 0 (Fake)", "/dev/dvb/adapter0/demux0", "/dev/dvb/adapter0/dvr0"}, RingBytes()));
    HRESULT hr;
    sink = new CDestFilter(nullptr, &SinkLock(), &hr);
    static_cast<IBaseFilter*>(sink)->AddRef();
    graph->AddFilter(capture.Get(), L"capture");
    graph->AddFilter(sink, L"Dest Filter");
    ASSERT_EQ(ConnectFreePins(graph.Get(), capture.Get(), sink), S_OK);
    TunerContext& context = TheTunerContext();
    context.m_pMediaControl = graph.As<IMediaControl>();
    context.m_pDestFilter = sink;
    SetRecordFilePath(path);
  }
  virtual std::size_t RingBytes() const { return 1u << 20; }
  void TearDown() override {
    StopRecording();
    TunerContext& context = TheTunerContext();
    graph->RemoveFilter(capture.Get());
    graph->RemoveFilter(sink);
    context.m_pMediaControl = nullptr;
    context.m_pDestFilter = nullptr;
    static_cast<IBaseFilter*>(sink)->Release();
    std::filesystem::remove(path);
  }
  CaptureSourceStatus Status() {
    CaptureSourceStatus status;
    capture.As<ICaptureSourceStatus>()->GetCaptureStatus(&status);
    return status;
  }
  std::vector<std::uint8_t> Recorded() { return FileBytes(path); }
  void RecordAcrossAnOverflow();

  FakeDemux demux;
  MessageBoxRecorder boxes;
  LogRecorder log;
  std::shared_ptr<FakeDvbKernel> kernel = std::make_shared<FakeDvbKernel>();
  std::shared_ptr<KernelCalls> calls;
  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> capture;
  CDestFilter* sink = nullptr;
  std::string path = testing::TempDir() + "/rx40-linuxdvb-" + std::to_string(::getpid()) + ".ts";
};

// Without a ring the reader delivers each read itself.
class RinglessCaptureTest : public CaptureTest {
 protected:
  std::size_t RingBytes() const override { return 0; }
};

TEST_F(CaptureTest, TheWholeStreamReachesTheSinkAndOverflowsAreCountedNotHidden) { RecordAcrossAnOverflow(); }
TEST_F(RinglessCaptureTest, TheWholeStreamReachesTheSinkWithoutARing) { RecordAcrossAnOverflow(); }

void CaptureTest::RecordAcrossAnOverflow() {
  ASSERT_EQ(StartRecording(), S_OK);
  EXPECT_EQ(kernel->CallsStartingWith("DMX_SET_PES_FILTER"),
            std::vector<std::string>({"DMX_SET_PES_FILTER pid=8192 TS_TAP start"}));
  EXPECT_EQ(kernel->DvrBufferSize(0), kDvrBufferBytes);

  const auto first = Packets(400, 0x11);  // more than one sample
  const auto second = Packets(5, 0x22);
  kernel->PushStream(0, first);
  kernel->PushOverflow(0);
  kernel->PushStream(0, second);
  ASSERT_TRUE(kernel->WaitUntilRead(0));
  StopRecording();

  std::vector<std::uint8_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(Recorded(), expected) << "what came before and after the overflow, byte for byte";
  const CaptureSourceStatus status = Status();
  EXPECT_EQ(status.overflows, 1u);
  EXPECT_EQ(status.bytesRead, expected.size());
  EXPECT_TRUE(status.fault.empty()) << status.fault;
  EXPECT_EQ(kernel->CallsStartingWith("DMX_STOP").size(), 1u);
  EXPECT_EQ(kernel->OpenCount(), 0) << "the demultiplexer, DVR device and event counter are closed";
  EXPECT_TRUE(boxes.Texts().empty());

  // A second recording opens everything again.
  ASSERT_EQ(StartRecording(), S_OK);
  kernel->PushStream(0, second);
  ASSERT_TRUE(kernel->WaitUntilRead(0));
  StopRecording();
  EXPECT_EQ(Recorded(), second);
}

TEST_F(CaptureTest, StopDoesNotWaitForDataThatNeverComes) {
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(StartRecording(), S_OK);
    StopRecording();  // the reader sits in poll(): the event counter wakes it
  }
  EXPECT_EQ(kernel->OpenCount(), 0);
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(CaptureTest, AnUnpluggedAdapterEndsCaptureWithItsReason) {
  ASSERT_EQ(StartRecording(), S_OK);
  kernel->FailReads(0, ENODEV);
  // The reader ends on its own; the fault is there for the page to show.
  for (int i = 0; i < 5000 && Status().fault.empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(Status().fault, "adapter 0 (Fake): read on /dev/dvb/adapter0/dvr0: No such device (ENODEV)");
  StopRecording();
  EXPECT_EQ(kernel->OpenCount(), 0);
}

class RefusingCaptureTest : public CaptureTest {
 protected:
  void SetUp() override {
    demux.refusesWholeStream = true;
    CaptureTest::SetUp();
  }
};

TEST_F(RefusingCaptureTest, ADemultiplexerThatRefusesTheWholeStreamIsReportedPlainly) {
  ClearErrorDescription();
  EXPECT_LT(StartRecording(), 0);
  const std::string expected =
      "adapter 0 (Fake): its demultiplexer does not pass the whole transport stream (PID 0x2000), so nothing can be "
      "recorded from this adapter: DMX_SET_PES_FILTER on /dev/dvb/adapter0/demux0: Invalid argument (EINVAL)";
  EXPECT_EQ(TakeErrorDescription(), expected) << "for the page or rx40ctl to show";
  EXPECT_TRUE(boxes.Texts().empty()) << "the backend raises no box itself";
  EXPECT_TRUE(log.Has(expected)) << log.Text();
  EXPECT_EQ(Status().fault, expected);
  EXPECT_EQ(kernel->OpenCount(), 0) << "nothing left open";
}

class BusyCaptureTest : public CaptureTest {
 protected:
  void SetUp() override {
    demux.dvrOpenError = EBUSY;
    CaptureTest::SetUp();
    kernel->SetHolders("/dev/dvb/adapter0/dvr0", {{4242, "recorder"}});
  }
};

TEST_F(BusyCaptureTest, ADvrDeviceReadByAnotherProgramNamesThatProgram) {
  ClearErrorDescription();
  EXPECT_LT(StartRecording(), 0);
  EXPECT_EQ(TakeErrorDescription(),
            "adapter 0 (Fake): the stream cannot be read: open on /dev/dvb/adapter0/dvr0: Device or resource busy "
            "(EBUSY); it is held by recorder (pid 4242)");
}

}  // namespace
}  // namespace linuxdvb
