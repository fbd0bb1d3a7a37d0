#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "platform/com/com_object.h"
#include "platform/com/file_faults.h"
#include "recording/dest_filter.h"
#include "recording/dump_input_pin.h"
#include "recording/framework/media_type.h"
#include "recording/recording_state.h"
#include "tests/recording/fake_media_control.h"
#include "tests/recording/test_sample.h"
#include "tests/support/file_contents.h"
#include "tuner/tuner_context.h"

namespace {

namespace fs = std::filesystem;

class Sink : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("sink_tests_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    control = MakeComObject<FakeMediaControl>();
    HRESULT hr = E_FAIL;
    sink = new CDestFilter(nullptr, &SinkLock(), &hr);
    EXPECT_EQ(hr, S_OK);
    static_cast<IBaseFilter*>(sink)->AddRef();  // the tuner context's reference
    TheTunerContext().m_pMediaControl = control;
    TheTunerContext().m_pDestFilter = sink;
    SetRecordFilePath((dir / "capture.ts").string());
  }
  void TearDown() override {
    SetWriteFailureAfterBytes(std::nullopt);
    StopRecording();
    TheTunerContext().m_pMediaControl = nullptr;
    TheTunerContext().m_pDestFilter = nullptr;
    static_cast<IBaseFilter*>(sink)->Release();
    fs::remove_all(dir);
  }
  HRESULT Send(std::vector<BYTE> bytes) {
    auto sample = MakeComObject<TestSample>(std::move(bytes));
    return sink->InputPin()->Receive(sample.Get());
  }
  std::vector<BYTE> Recorded() { return FileBytes(dir / "capture.ts"); }

  fs::path dir;
  ComPtr<FakeMediaControl> control;
  CDestFilter* sink = nullptr;
};

TEST_F(Sink, FilterAndPinAnswerTheirFixedFacts) {
  EXPECT_EQ(sink->GetPinCount(), 1);
  EXPECT_EQ(sink->GetPin(0), sink->InputPin());
  EXPECT_EQ(sink->GetPin(1), nullptr);
  ComPtr<IPin> pin;
  ASSERT_EQ(sink->FindPin(L"Input", pin.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(pin.Get(), static_cast<IPin*>(sink->InputPin()));
  CLSID clsid;
  sink->GetClassID(&clsid);
  EXPECT_EQ(FormatGuid(clsid), "{90D647A7-DFBB-48F9-861F-33F3660C03FD}");

  void* face = reinterpret_cast<void*>(1);
  EXPECT_EQ(sink->QueryInterface(IAMovieSetup::IID, &face), E_NOINTERFACE);
  EXPECT_EQ(face, nullptr);
  EXPECT_EQ(sink->QueryInterface(IPin::IID, &face), E_NOINTERFACE);
  ComPtr<IPersist> persist;
  EXPECT_EQ(sink->QueryInterface(IID_PPV_ARGS(persist.ReleaseAndGetAddressOf())), S_OK);
  EXPECT_EQ(sink->Register(), S_FALSE);

  CMediaType mt;
  EXPECT_EQ(sink->InputPin()->GetMediaType(-1, &mt), E_INVALIDARG);
  EXPECT_EQ(sink->InputPin()->GetMediaType(1, &mt), VFW_S_NO_MORE_ITEMS);
  ASSERT_EQ(sink->InputPin()->GetMediaType(0, &mt), S_OK);
  EXPECT_EQ(mt.majortype, MEDIATYPE_Stream);
  EXPECT_EQ(mt.subtype, GUID_NULL);
  EXPECT_EQ(mt.formattype, GUID_NULL);
  EXPECT_TRUE(mt.bFixedSizeSamples);
  EXPECT_FALSE(mt.bTemporalCompression);
  EXPECT_EQ(mt.lSampleSize, 188u);
  EXPECT_EQ(mt.cbFormat, 0u);
  EXPECT_EQ(mt.pUnk, nullptr);

  AM_MEDIA_TYPE empty{};
  EXPECT_EQ(sink->InputPin()->CheckMediaType(&empty), S_OK);
  EXPECT_EQ(sink->InputPin()->ReceiveCanBlock(), S_FALSE);
}

TEST_F(Sink, RecordsSamplesByteForByteOnlyWhileARecordingIsOpen) {
  EXPECT_EQ(Send(Counting(188, 0)), S_OK);  // before the first start: dropped
  EXPECT_FALSE(fs::exists(dir / "capture.ts"));

  ASSERT_EQ(StartRecording(), S_OK);
  EXPECT_EQ(control->runs, 1);
  EXPECT_TRUE(sink->InputPin()->IsRecording());
  EXPECT_EQ(Send(Counting(1316, 1)), S_OK);
  EXPECT_EQ(Send({}), S_OK);
  EXPECT_EQ(sink->InputPin()->EndOfStream(), S_OK);
  EXPECT_EQ(Send(Counting(188, 50)), S_OK);  // end of stream closes nothing
  std::vector<BYTE> expected = Counting(1316, 1);
  const std::vector<BYTE> second = Counting(188, 50);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(Recorded(), expected);

  StopRecording();
  EXPECT_EQ(control->stops, 1);
  EXPECT_EQ(Send(Counting(188, 9)), S_OK);  // switch still on, but no file open
  EXPECT_EQ(Recorded().size(), 1504u);

  // A sample without a pointer fails alone; the next one is written.
  ASSERT_EQ(StartRecording(), S_OK);
  auto broken = MakeComObject<TestSample>(Counting(188, 0));
  broken->pointerFailure = E_UNEXPECTED;
  EXPECT_EQ(sink->InputPin()->Receive(broken.Get()), E_UNEXPECTED);
  auto lying = MakeComObject<TestSample>(Counting(188, 0));
  lying->SetActualDataLength(189);
  EXPECT_EQ(sink->InputPin()->Receive(lying.Get()), E_INVALIDARG);
  EXPECT_EQ(Send(Counting(188, 7)), S_OK);
  EXPECT_EQ(Recorded(), Counting(188, 7));
}

TEST_F(Sink, StartTruncatesAnExistingFileAndClosesAnOpenOneFirst) {
  { std::ofstream(dir / "capture.ts") << std::string(5000, 'x'); }
  ASSERT_EQ(StartRecording(), S_OK);
  EXPECT_EQ(fs::file_size(dir / "capture.ts"), 0u);
  Send(Counting(188, 3));

  SetRecordFilePath((dir / "second.ts").string());
  ASSERT_EQ(StartRecording(), S_OK);
  Send(Counting(188, 4));
  EXPECT_EQ(Recorded(), Counting(188, 3));
  EXPECT_EQ(FileBytes(dir / "second.ts"), Counting(188, 4));
  EXPECT_FALSE(RecordingCreateError());
}

TEST_F(Sink, RecordedKBytesReadsTheFileLengthIn64Bits) {
  ASSERT_EQ(StartRecording(), S_OK);
  const auto path = dir / "capture.ts";
  Send(std::vector<BYTE>(1023, 0));
  EXPECT_EQ(RecordedKBytes(), 0u);
  Send(std::vector<BYTE>(1, 0));
  EXPECT_EQ(RecordedKBytes(), 1u);
  ASSERT_EQ(::truncate(path.c_str(), 5ll << 30), 0);  // sparse: no disk needed
  Send(std::vector<BYTE>(1, 0));                      // the writer publishes the length
  EXPECT_EQ(RecordedKBytes(), 5'242'880u);
  StopRecording();
  EXPECT_EQ(RecordedKBytes(), 5'242'880u);  // the last value once closed
}

// A graph torn down during a recording leaves the file to the stop that
// follows: it is closed with everything written.
TEST_F(Sink, StopWithoutAGraphStillClosesAnOpenFile) {
  ASSERT_EQ(StartRecording(), S_OK);
  Send(Counting(376, 9));
  TheTunerContext().m_pMediaControl = nullptr;
  StopRecording();
  EXPECT_FALSE(TheRecordingState().IsFileOpen());
  EXPECT_EQ(RecordedBytes(), 376u);
  EXPECT_EQ(Recorded(), Counting(376, 9));
}

TEST_F(Sink, AnInjectedFullDiskTakesExactlyItsBytesInEachNewFile) {
  SetWriteFailureAfterBytes(1000);
  ASSERT_EQ(StartRecording(), S_OK);
  Send(Counting(752, 0));
  Send(Counting(752, 20));  // 248 of these fit: 1000 bytes, 5 whole packets and 60 more
  Send(Counting(188, 40));
  const auto error = RecordingWriteError();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->error, ENOSPC);
  std::vector<BYTE> expected = Counting(752, 0);
  const std::vector<BYTE> part = Counting(188, 20);
  expected.insert(expected.end(), part.begin(), part.end());
  EXPECT_EQ(Recorded(), expected) << "the partial packet is cut off: whole packets only";
  EXPECT_EQ(RecordedBytes(), 940u);

  SetRecordFilePath((dir / "second.ts").string());
  ASSERT_EQ(StartRecording(), S_OK);
  Send(Counting(940, 1));
  EXPECT_FALSE(RecordingWriteError()) << "a new file has the whole allowance again";
  SetWriteFailureAfterBytes(std::nullopt);
  Send(Counting(188, 5));
  EXPECT_EQ(RecordingWriteError()->error, ENOSPC) << "the fault applies from the file's creation";
}

TEST_F(Sink, WithoutAGraphStartAndStopDoNothing) {
  TheTunerContext().m_pMediaControl = nullptr;
  EXPECT_EQ(StartRecording(), S_FALSE);
  StopRecording();
  EXPECT_FALSE(fs::exists(dir / "capture.ts"));
  EXPECT_FALSE(sink->InputPin()->IsRecording());
  EXPECT_EQ(control->runs, 0);
}

TEST_F(Sink, AFileThatCannotBeCreatedIsKeptAsTheReasonAndNothingRuns) {
  ASSERT_EQ(StartRecording(), S_OK);
  Send(Counting(188, 1));

  const std::string missing = (dir / "no such folder" / "capture.ts").string();
  SetRecordFilePath(missing);
  EXPECT_EQ(StartRecording(), HResultFromErrno(ENOENT));
  auto error = RecordingCreateError();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->error, ENOENT);
  EXPECT_NE(DescribeCreateError(*error).find(missing), std::string::npos);
  EXPECT_NE(DescribeCreateError(*error).find(std::strerror(ENOENT)), std::string::npos);
  EXPECT_EQ(control->runs, 1);
  EXPECT_FALSE(TheRecordingState().IsFileOpen());
  EXPECT_EQ(Send(Counting(188, 2)), S_OK);
  EXPECT_EQ(Recorded(), Counting(188, 1));  // the earlier recording is closed intact

  fs::create_directory(dir / "folder.ts");
  SetRecordFilePath((dir / "folder.ts").string());
  EXPECT_EQ(StartRecording(), HResultFromErrno(EISDIR));
  error = RecordingCreateError();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->error, EISDIR);
  EXPECT_EQ(control->runs, 1);
}

TEST_F(Sink, AFullDeviceStopsTheFileGrowingAndKeepsTheError) {
  SetRecordFilePath("/dev/full");
  ASSERT_EQ(StartRecording(), S_OK);
  EXPECT_EQ(Send(Counting(188, 1)), S_OK);
  const auto error = RecordingWriteError();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->error, ENOSPC);
  EXPECT_EQ(error->path, "/dev/full");
  EXPECT_NE(DescribeWriteError(*error).find("/dev/full"), std::string::npos);
  StopRecording();

  SetRecordFilePath((dir / "capture.ts").string());
  ASSERT_EQ(StartRecording(), S_OK);
  EXPECT_FALSE(RecordingWriteError());  // a new file starts clean
}

TEST_F(Sink, AShortWriteIsCompletedOrEndsTheFileWithWhatWasWritten) {
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  ASSERT_EQ(StartRecording(), S_OK);  // also makes the size limit fail writes instead of the process
  rlimit limit = old;
  limit.rlim_cur = 2000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_EQ(Send(Counting(1316, 0)), S_OK);
  EXPECT_EQ(Send(Counting(1316, 100)), S_OK);  // 684 bytes fit, then the limit
  EXPECT_EQ(Send(Counting(188, 200)), S_OK);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);

  const auto error = RecordingWriteError();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->error, EFBIG);
  std::vector<BYTE> expected = Counting(1316, 0);
  const std::vector<BYTE> part = Counting(564, 100);  // 3 whole packets of the 684 bytes
  expected.insert(expected.end(), part.begin(), part.end());
  EXPECT_EQ(Recorded(), expected);
}

// Keeps what the pin hands it, and whether another thread found the sink
// lock taken at each hand-over.
class KeepingWriter final : public SampleWriter {
 public:
  explicit KeepingWriter(CCritSec& lock) : m_lock(lock) {}
  void AppendLocked(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const BYTE*>(data);
    samples.emplace_back(bytes, bytes + size);
    bool taken = true;
    std::thread([&] {
      if (m_lock.try_lock()) {
        taken = false;
        m_lock.unlock();
      }
    }).join();
    lockHeld.push_back(taken);
  }
  std::vector<std::vector<BYTE>> samples;
  std::vector<bool> lockHeld;

 private:
  CCritSec& m_lock;
};

TEST(SinkPin, HandsEachSampleToTheWriterItRecordsIntoUnderTheSinkLock) {
  CCritSec lock;
  KeepingWriter first(lock), second(lock);
  HRESULT hr = E_FAIL;
  auto* sink = new CDestFilter(nullptr, &lock, &hr);
  ComPtr<IBaseFilter> owner(sink);
  CDumpInputPin& pin = *sink->InputPin();
  auto send = [&](std::vector<BYTE> bytes) { return pin.Receive(MakeComObject<TestSample>(std::move(bytes)).Get()); };

  EXPECT_EQ(send(Counting(188, 0)), S_OK);  // not recording: nobody is handed it
  pin.SetRecording(first);
  EXPECT_TRUE(pin.IsRecording());
  EXPECT_EQ(send(Counting(188, 1)), S_OK);
  EXPECT_EQ(send({}), S_OK);  // an empty sample is the writer's to drop
  auto lying = MakeComObject<TestSample>(Counting(188, 0));
  lying->SetActualDataLength(189);
  EXPECT_EQ(pin.Receive(lying.Get()), E_INVALIDARG);
  EXPECT_EQ(send(Counting(376, 2)), S_OK);
  EXPECT_EQ(first.samples, (std::vector<std::vector<BYTE>>{Counting(188, 1), {}, Counting(376, 2)}));
  EXPECT_EQ(first.lockHeld, (std::vector<bool>{true, true, true}));

  pin.SetRecording(second);  // the next recording's writer takes over
  EXPECT_EQ(send(Counting(188, 3)), S_OK);
  EXPECT_EQ(first.samples.size(), 3u);
  EXPECT_EQ(second.samples, (std::vector<std::vector<BYTE>>{Counting(188, 3)}));
}

TEST(SinkLifetime, PinDiesWithItsFilter) {
  HRESULT hr;
  auto* sink = new CDestFilter(nullptr, &SinkLock(), &hr);
  EXPECT_EQ(sink->NonDelegatingAddRef(), 1u);  // created at 0
  IPin* pin = sink->InputPin();
  EXPECT_EQ(pin->AddRef(), 2u);
  EXPECT_EQ(pin->Release(), 1u);
  EXPECT_EQ(static_cast<IBaseFilter*>(sink)->Release(), 0u);
}

}  // namespace
