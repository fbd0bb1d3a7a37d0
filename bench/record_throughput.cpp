// Recording throughput: the simulated card's stream, unpaced, through the
// tee into the stream sink (with the demultiplexer branch connected) into a
// file, against a plain loop of write() calls of the same sizes into the
// same folder. Two comparisons in one run: the generated stream, and samples
// replayed from memory (one sample's packets, looped without copying), which
// leaves the graph's own cost alone. The capture ring is in the path, as
// when recording from a card. Prints the median rates and ratios of the
// rounds.
//
//   record_throughput [--bytes N] [--dir DIR] [--out FILE] [--packets P] [--repeat R] [--cpu C]
//
// --out keeps the generated stream's recording in FILE (the from-memory run
// uses a scratch file beside it, removed).
// --cpu keeps the whole process (and so the streaming thread) on one CPU, so
// that both loops run on the same core; on a shared machine the scheduler's
// placement otherwise swamps the difference being measured.
#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>
#include <vector>

#include "bench/bench_options.h"
#include "platform/com/runtime.h"
#include "platform/media/media_classes.h"
#include "platform/media/mem_allocator.h"
#include "platform/sim/stream/sim_capture_filter.h"
#include "platform/sim/stream/ts_generator.h"
#include "recording/dest_filter.h"
#include "recording/recording_state.h"
#include "tuner/tuner_context.h"

namespace {

struct Options {
  std::uint64_t bytes = 512ull << 20;
  std::string dir = "/dev/shm";
  std::string out;
  int packets = 348;  // about 64 KB per sample
  int buffers = 16;   // samples in the capture pool
  int repeat = 5;
  int cpu = -1;
};

constexpr char kUsage[] =
    "usage: record_throughput [--bytes N] [--dir DIR] [--out FILE] [--packets P] [--buffers B] [--repeat R] [--cpu C]\n"
    "  --bytes N    bytes per run (default 536870912)\n"
    "  --dir DIR    folder of the files written (default /dev/shm)\n"
    "  --out FILE   keep the generated stream's recording here\n"
    "  --packets P  packets per sample (default 348)\n"
    "  --buffers B  samples in the capture pool (default 16)\n"
    "  --repeat R   rounds; the medians are reported (default 5)\n"
    "  --cpu C      run on CPU C alone\n";

Options Parse(int argc, char** argv) {
  Options options;
  ReadBenchOptions(argc, argv, 1, kUsage, [&](const std::string& key, const std::string& value) {
    if (key == "--bytes") options.bytes = std::strtoull(value.c_str(), nullptr, 10);
    else if (key == "--dir") options.dir = value;
    else if (key == "--out") options.out = value;
    else if (key == "--packets") options.packets = std::max(1, std::atoi(value.c_str()));
    else if (key == "--buffers") options.buffers = std::max(1, std::atoi(value.c_str()));
    else if (key == "--repeat") options.repeat = std::max(1, std::atoi(value.c_str()));
    else if (key == "--cpu") options.cpu = std::atoi(value.c_str());
    else return false;
    return true;
  });
  return options;
}

// Wall time and the process's CPU time (every thread) of one loop. The CPU
// time is what the loop itself cost; on a busy machine it varies much less
// than the wall time.
struct Elapsed {
  double wall = 1e30;
  double cpu = 1e30;
};

class Span {
 public:
  Span() : m_wall(std::chrono::steady_clock::now()), m_cpu(CpuSeconds()) {}
  Elapsed Stop() const {
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wall).count(), CpuSeconds() - m_cpu};
  }

 private:
  static double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  std::chrono::steady_clock::time_point m_wall;
  double m_cpu;
};

// The median of each measure over the rounds: steadier than the best on a
// machine that is not idle, and not flattered by one lucky round.
struct Runs {
  std::vector<double> wall, cpu;
  void Add(const Elapsed& run) {
    wall.push_back(run.wall);
    cpu.push_back(run.cpu);
  }
  Elapsed Median() const { return {MedianOf(wall), MedianOf(cpu)}; }
  static double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  }
};

// The baseline: the same samples written by a bare loop.
Elapsed PlainWrite(const Options& options, std::uint64_t samples, std::size_t sampleBytes) {
  std::vector<std::uint8_t> buffer(sampleBytes);
  TsGenerator(SimStreamContent{}, 38'000'000, sampleBytes / 188).Fill(buffer.data(), sampleBytes / 188);
  const std::string path = options.dir + "/plain_write.bin";
  const Span span;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  for (std::uint64_t i = 0; i < samples; ++i) {
    if (::write(fd, buffer.data(), sampleBytes) != static_cast<ssize_t>(sampleBytes)) {
      std::perror("write");
      std::exit(1);
    }
  }
  // As the recording's stop does: what was written is on the disk.
  ::fsync(fd);
  ::close(fd);
  const Elapsed elapsed = span.Stop();
  ::unlink(path.c_str());
  return elapsed;
}

ComPtr<IPin> Pin(IBaseFilter* filter, const wchar_t* name) {
  ComPtr<IPin> pin;
  filter->FindPin(name, pin.ReleaseAndGetAddressOf());
  return pin;
}

// The receive chain from the capture filter on, recording one whole run.
// replay: packets to replay from memory; none: the generated stream.
Elapsed GraphRecord(const Options& options, std::uint64_t samples, const std::string& path, std::uint64_t* fileBytes,
                   std::shared_ptr<const std::vector<std::uint8_t>> replay) {
  SimCaptureConfig config;
  config.replayPackets = std::move(replay);
  config.pacing = SimPacing::Unpaced;
  config.packetsPerSample = options.packets;
  config.sampleBuffers = options.buffers;
  config.packetLimit = samples * static_cast<std::uint64_t>(options.packets);

  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> tee, demux, tif;
  CoCreateInstance(CLSID_FilterGraph, graph.ReleaseAndGetAddressOf());
  CoCreateInstance(CLSID_InfTee, tee.ReleaseAndGetAddressOf());
  CoCreateInstance(CLSID_MPEG2Demultiplexer, demux.ReleaseAndGetAddressOf());
  CoCreateInstance(CLSID_TransportInformationFilter, tif.ReleaseAndGetAddressOf());
  const ComPtr<IBaseFilter> capture = CSimCaptureFilter::Create(config);
  HRESULT hr;
  ComPtr<IBaseFilter> sink(new CDestFilter(nullptr, &SinkLock(), &hr));
  graph->AddFilter(capture.Get(), kSimCaptureFriendlyName);
  graph->AddFilter(tee.Get(), L"Infinite pin tee splitter");
  graph->AddFilter(demux.Get(), L"MPEG2 Demultiplexer");
  graph->AddFilter(tif.Get(), L"transport information filter");
  graph->AddFilter(sink.Get(), L"Dest Filter");
  const HRESULT links[] = {
      graph->Connect(Pin(capture.Get(), L"Output").Get(), Pin(tee.Get(), L"Input").Get()),
      graph->Connect(Pin(tee.Get(), L"Output1").Get(), Pin(demux.Get(), L"Input").Get()),
      graph->Connect(Pin(tee.Get(), L"Output2").Get(), Pin(sink.Get(), L"Input").Get()),
      graph->Connect(Pin(demux.Get(), L"Output").Get(), Pin(tif.Get(), L"Input").Get()),
  };
  for (HRESULT link : links) {
    if (FAILED(link)) {
      std::fprintf(stderr, "connection failed: 0x%08X\n", static_cast<unsigned>(link));
      std::exit(1);
    }
  }
  TunerContext& context = TheTunerContext();
  context.m_pMediaControl = graph.As<IMediaControl>();
  context.m_pDestFilter = static_cast<CDestFilter*>(sink.Get());

  SetRecordFilePath(path);
  const Span span;
  if (StartRecording() != S_OK) std::exit(1);
  static_cast<CSimCaptureFilter*>(capture.Get())->WaitForEndOfStream();
  StopRecording();
  const Elapsed elapsed = span.Stop();

  struct stat info {};
  *fileBytes = ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  if (RecordingWriteError()) {
    std::fprintf(stderr, "%s\n", DescribeWriteError(*RecordingWriteError()).c_str());
    std::exit(1);
  }
  context.m_pMediaControl = nullptr;
  context.m_pDestFilter = nullptr;
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  if (options.cpu >= 0) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(options.cpu, &set);
    if (sched_setaffinity(0, sizeof(set), &set) != 0) std::perror("sched_setaffinity");
  }
  RegisterMediaClasses();
  const std::size_t sampleBytes = static_cast<std::size_t>(options.packets) * 188;
  const std::uint64_t samples = std::max<std::uint64_t>(options.bytes / sampleBytes, 1);
  const std::uint64_t bytes = samples * sampleBytes;
  const std::string recordPath = options.out.empty() ? options.dir + "/record_throughput.ts" : options.out;
  const std::string scratchPath = options.dir + "/record_throughput_memory.ts";
  auto oneSample = std::make_shared<std::vector<std::uint8_t>>(sampleBytes);
  TsGenerator(SimStreamContent{}, 38'000'000, sampleBytes / 188).Fill(oneSample->data(), sampleBytes / 188);

  // Rounds interleave the three loops, so that a busy spell of the machine
  // falls on all of them.
  Runs plainRuns, graphRuns, replayRuns;
  for (int round = 0; round < options.repeat; ++round) {
    plainRuns.Add(PlainWrite(options, samples, sampleBytes));
    for (const bool fromMemory : {false, true}) {
      std::uint64_t recorded = 0;
      const std::string& path = fromMemory ? scratchPath : recordPath;
      (fromMemory ? replayRuns : graphRuns)
          .Add(GraphRecord(options, samples, path, &recorded, fromMemory ? oneSample : nullptr));
      if (recorded != bytes) {
        std::fprintf(stderr, "recorded %llu bytes, expected %llu\n", static_cast<unsigned long long>(recorded),
                     static_cast<unsigned long long>(bytes));
        return 1;
      }
      if (options.out.empty() || fromMemory) ::unlink(path.c_str());
    }
  }
  const Elapsed plain = plainRuns.Median(), graph = graphRuns.Median(), replay = replayRuns.Median();
  const double megabytes = bytes / 1e6;
  std::printf("bytes %llu in samples of %zu bytes, medians of %d rounds, into %s\n", static_cast<unsigned long long>(bytes),
              sampleBytes, options.repeat, options.dir.c_str());
  std::printf("                                 by wall time   by CPU time\n");
  std::printf("plain write():                  %9.1f MB/s  %9.1f MB/s\n", megabytes / plain.wall, megabytes / plain.cpu);
  std::printf("graph recording, generated:     %9.1f MB/s  %9.1f MB/s\n", megabytes / graph.wall, megabytes / graph.cpu);
  std::printf("graph recording, from memory:   %9.1f MB/s  %9.1f MB/s\n", megabytes / replay.wall, megabytes / replay.cpu);
  std::printf("ratio graph/plain, generated:   %9.3f       %9.3f\n", plain.wall / graph.wall, plain.cpu / graph.cpu);
  std::printf("ratio graph/plain, from memory: %9.3f       %9.3f\n", plain.wall / replay.wall, plain.cpu / replay.cpu);
  std::printf("allocator pool limit: %ld bytes\n", static_cast<long>(CMemAllocator::kMaxPoolBytes));
  return 0;
}
