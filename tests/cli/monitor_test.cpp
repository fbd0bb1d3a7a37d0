// rx40ctl monitor: the exposition it serves (checked by Prometheus' own
// promtool), where it may listen, and the exporter as its own process on the
// simulated card, answering a real HTTP client on 127.0.0.1: its values
// follow the card through a fade and an unplugging, a flood of bad clients
// does not stop the readings or the good client, and SIGTERM ends it
// cleanly.
#include <gtest/gtest.h>

#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <regex>
#include <thread>

#include "cli/cli_arguments.h"
#include "cli/monitor/listen_address.h"
#include "cli/monitor/metrics_text.h"
#include "tests/cli/rx40ctl_process.h"

namespace {

// promtool's verdict on an exposition: empty when it has nothing to say.
std::string PromtoolSays(const std::string& text) {
  const std::string path = std::filesystem::temp_directory_path() / ("rx40-metrics-" + std::to_string(::getpid()));
  std::ofstream(path) << text;
  const std::string command = std::string(RX40_PROMTOOL) + " check metrics < " + path + " 2>&1";
  std::string said;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) said += buffer;
    if (pclose(pipe) != 0 && said.empty()) said = "promtool failed";
  }
  std::filesystem::remove(path);
  return said;
}

MonitorSnapshot Everything() {
  MonitorSnapshot s;
  s.adapter = "0";
  s.cardPresent = true;
  s.carrier = TunedCarrier{11362, 'H', 22000};
  s.locked = true;
  s.strengthPercent = 94;
  s.qualityPercent = 90;
  s.marginDb = 11.4;
  s.levelDbm = -41.5;
  s.cnrDb = 14.2;
  s.info = CarrierInfo{"DVB-S2", "8PSK", "2/3", "0.20", 10};
  s.dishAngleDeg = -17.0;
  s.lockLosses = 2;
  s.scrapes = 7;
  s.recording = RecordingCounters{1880000, 10000, 1, 0, 0};
  return s;
}

TEST(MetricsText, PromtoolAcceptsTheExpositionWithEverythingOrWithoutACard) {
  const std::string full = MetricsText(Everything());
  EXPECT_EQ(PromtoolSays(full), "");
  for (const char* line :
       {"rx40_locked{adapter=\"0\",frequency_mhz=\"11362\",polarisation=\"H\",symbol_rate=\"22000\"} 1\n",
        "rx40_cnr_db{adapter=\"0\",frequency_mhz=\"11362\",polarisation=\"H\",symbol_rate=\"22000\"} 14.2\n",
        "modulation=\"8PSK\",fec=\"2/3\",roll_off=\"0.20\",isi=\"10\"} 1\n", "rx40_recorded_bytes_total{",
        "rx40_scrapes_total{adapter=\"0\"} 7\n", "# TYPE rx40_lock_losses_total counter\n"})
    EXPECT_NE(full.find(line), std::string::npos) << line << full;

  MonitorSnapshot gone = Everything();
  gone.cardPresent = false;
  gone.recording.reset();
  const std::string absent = MetricsText(gone);
  EXPECT_EQ(PromtoolSays(absent), "");
  EXPECT_NE(absent.find("rx40_card_present{adapter=\"0\"} 0\n"), std::string::npos) << absent;
  EXPECT_NE(absent.find("polarisation=\"H\",symbol_rate=\"22000\"} 0\n"), std::string::npos) << "not locked";
  EXPECT_EQ(absent.find("rx40_signal_quality_percent"), std::string::npos) << "no stale readings of a missing card";

  MonitorSnapshot odd = Everything();
  odd.adapter = "a\"b\\c\nd";
  EXPECT_EQ(PromtoolSays(MetricsText(odd)), "");
  EXPECT_NE(MetricsText(odd).find("adapter=\"a\\\"b\\\\c\\nd\""), std::string::npos);
}

TEST(ListenAddress, HostAndPortWithWildcardsMarked) {
  struct Case {
    const char* text;
    bool reads;
    const char* host;
    int port;
    bool wildcard;
  } const cases[] = {
      {"127.0.0.1:9740", true, "127.0.0.1", 9740, false},
      {"[::1]:9740", true, "::1", 9740, false},
      {"monitor.example:80", true, "monitor.example", 80, false},
      {"0.0.0.0:9740", true, "0.0.0.0", 9740, true},
      {"[::]:9740", true, "::", 9740, true},
      {":9740", true, "0.0.0.0", 9740, true},
      {"127.0.0.1:0", true, "127.0.0.1", 0, false},
      {"127.0.0.1", false, "", 0, false},
      {"127.0.0.1:65536", false, "", 0, false},
      {"127.0.0.1:0x10", false, "", 0, false},
      {"::1:9740", false, "", 0, false},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto address = ParseListenAddress(c.text, &error);
    ASSERT_EQ(address.has_value(), c.reads) << c.text;
    if (!address) continue;
    EXPECT_EQ(address->host, c.host) << c.text;
    EXPECT_EQ(address->port, c.port) << c.text;
    EXPECT_EQ(address->wildcard, c.wildcard) << c.text;
  }
  EXPECT_FALSE(ParseCliArguments({"monitor"}).arguments) << "no port is opened by default";
  const CliParse any = ParseCliArguments({"monitor", "--listen", "0.0.0.0:9740"});
  EXPECT_NE(any.error.find("--listen-any"), std::string::npos) << any.error;
  EXPECT_TRUE(ParseCliArguments({"monitor", "--listen", "0.0.0.0:9740", "--listen-any"}).arguments);
  EXPECT_FALSE(ParseCliArguments({"monitor", "--listen", "127.0.0.1:1", "--split-mb", "5"}).arguments);
}

// The exporter as its own process on the simulated card.
class MonitorProcess : public Rx40ctlProcess {
 protected:
  ~MonitorProcess() override {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      Wait(m_pid);
    }
  }
  // Starts it on a free port and waits for the line that names it.
  void StartMonitor(const std::string& cardText, std::vector<std::string> more = {}) {
    std::ofstream(m_folder / "monitor.ini") << cardText;
    std::vector<std::string> args{"--simulate=" + (m_folder / "monitor.ini").string(), "monitor", "--listen",
                                  "127.0.0.1:0", "11362", "22000", "--pol", "H", "--lnb-low", "9750",
                                  "--lnb-high", "10600"};
    args.insert(args.end(), more.begin(), more.end());
    m_pid = Start(args);
    ASSERT_GT(m_pid, 0);
    const std::regex serving("serving http://127\\.0\\.0\\.1:([0-9]+)/metrics");
    std::smatch match;
    std::string out;  // the match points into it
    ASSERT_TRUE(Until([&] {
      out = Out();
      return std::regex_search(out, match, serving);
    })) << Out() << Err();
    m_port = std::stoi(match[1]);
  }
  // Polls until it holds (a safety net of 60 s, not a timing).
  static bool Until(const std::function<bool()>& holds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!holds()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }
  httplib::Result Get(const std::string& path = "/metrics") {
    httplib::Client client("127.0.0.1", m_port);
    client.set_read_timeout(30, 0);
    return client.Get(path.c_str());
  }
  std::string Metrics() {
    const httplib::Result result = Get();
    return result && result->status == 200 ? result->body : std::string();
  }
  // The value of the first sample whose line starts with prefix.
  std::optional<double> Value(const std::string& text, const std::string& prefix) {
    for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
      if (at != 0 && text[at - 1] != '\n') continue;
      const std::size_t space = text.find(' ', text.find('}', at));
      return std::stod(text.substr(space + 1));
    }
    return std::nullopt;
  }
  int Terminate() {
    kill(m_pid, SIGTERM);
    const int status = Wait(m_pid);
    m_pid = -1;
    return status;
  }

  pid_t m_pid = -1;
  int m_port = 0;
};

TEST_F(MonitorProcess, ServesTheCardToAnHttpClientAndNothingElseThenEndsCleanlyOnSigterm) {
  StartMonitor(kOneCarrierSky);
  std::string metrics;
  ASSERT_TRUE(Until([&] { return Value(metrics = Metrics(), "rx40_locked{") == 1.0; })) << metrics;
  EXPECT_EQ(PromtoolSays(metrics), "");
  EXPECT_EQ(Value(metrics, "rx40_card_present{"), 1.0);
  EXPECT_EQ(Value(metrics, "rx40_signal_quality_percent{"), 90.0);
  EXPECT_EQ(Get("/")->status, 404);
  EXPECT_EQ(Get("/metrics/../etc/passwd")->status, 404);
  httplib::Client client("127.0.0.1", m_port);
  const httplib::Result post = client.Post("/metrics", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  EXPECT_EQ(post->get_header_value("Allow"), "GET, HEAD");
  const double scrapes = *Value(Metrics(), "rx40_scrapes_total{");
  EXPECT_EQ(Value(Metrics(), "rx40_scrapes_total{"), scrapes + 1);
  EXPECT_EQ(Terminate(), 0) << Err();
}

TEST_F(MonitorProcess, ALostLockAndAnUnpluggedCardShowAndTheCardIsTakenBack) {
  // The carrier fades 3 s after the first lock, for 2 s; the card is
  // unplugged 9 s after it starts.
  StartMonitor(std::string(kOneCarrierSky) + "[driver]\nfade_after_ms = 3000\nfade_ms = 2000\n"
                                             "[card]\nremoval_after_ms = 9000\n");
  std::string metrics;
  ASSERT_TRUE(Until([&] { return Value(metrics = Metrics(), "rx40_locked{") == 1.0; })) << metrics;
  ASSERT_TRUE(Until([&] { return Value(metrics = Metrics(), "rx40_locked{") == 0.0; })) << metrics;
  EXPECT_EQ(Value(metrics, "rx40_card_present{"), 1.0) << "a fade is no missing card";
  ASSERT_TRUE(Until([&] { return Value(metrics = Metrics(), "rx40_locked{") == 1.0; })) << metrics;
  EXPECT_EQ(Value(metrics, "rx40_lock_losses_total{"), 1.0);
  ASSERT_TRUE(Until([&] { return Value(metrics = Metrics(), "rx40_card_present{") == 0.0; })) << metrics;
  EXPECT_EQ(Value(metrics, "rx40_locked{"), 0.0);
  EXPECT_EQ(PromtoolSays(metrics), "");
  // The card comes back (a new installation of the simulated card) and is retuned.
  ASSERT_TRUE(Until([&] {
    metrics = Metrics();
    return Value(metrics, "rx40_card_present{") == 1.0 && Value(metrics, "rx40_locked{") == 1.0;
  })) << metrics;
  EXPECT_EQ(Terminate(), 0) << Err();
  EXPECT_NE(Err().find("the card is back and retuned"), std::string::npos) << Err();
}

TEST_F(MonitorProcess, ARecordingInTheSameProcessIsCountedAndKeepsEveryByte) {
  const std::filesystem::path take = m_folder / "monitored.ts";
  StartMonitor(kOneCarrierSky, {"--record", take.string()});
  std::string metrics;
  ASSERT_TRUE(Until([&] { return Value(metrics = Metrics(), "rx40_recorded_packets_total{").value_or(0) > 100; }))
      << metrics << Err();
  EXPECT_EQ(PromtoolSays(metrics), "");
  EXPECT_EQ(Value(metrics, "rx40_continuity_errors_total{"), 0.0);
  EXPECT_EQ(Terminate(), 0) << Err();
  const std::vector<std::uint8_t> recorded = FileBytes(take);
  EXPECT_GE(recorded.size(), *Value(metrics, "rx40_recorded_bytes_total{"));
  EXPECT_TRUE(IsWhatTheCardSent(kOneCarrierSky, recorded));
}

// A bounded flood on loopback: clients that stop mid-request, oversized
// headers and random bytes, while a good client keeps scraping.
TEST_F(MonitorProcess, AFloodOfBadClientsStopsNeitherTheReadingsNorTheGoodClient) {
  StartMonitor(kOneCarrierSky);
  ASSERT_TRUE(Until([&] { return Value(Metrics(), "rx40_locked{") == 1.0; }));
  const auto connect = [this] {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  };
  std::vector<int> held;
  std::mt19937 random(7);
  for (int i = 0; i < 30; ++i) {
    const int fd = connect();
    if (fd < 0) continue;
    std::string send;
    switch (i % 3) {
      case 0: send = "GET /metrics HTTP/1.1\r\nHost: x\r\nX-Slow: "; break;  // and then nothing
      case 1: send = "GET /metrics HTTP/1.1\r\nX-Big: " + std::string(64 * 1024, 'a') + "\r\n\r\n"; break;
      case 2:
        for (int b = 0; b < 4096; ++b) send += static_cast<char>(random());
        break;
    }
    (void)!::send(fd, send.data(), send.size(), MSG_NOSIGNAL);
    held.push_back(fd);
  }
  // The good client is answered, every time, while the flood is on.
  double before = *Value(Metrics(), "rx40_scrapes_total{");
  for (int i = 0; i < 5; ++i) {
    const std::string metrics = Metrics();
    ASSERT_FALSE(metrics.empty()) << "scrape " << i << " during the flood";
    EXPECT_EQ(Value(metrics, "rx40_locked{"), 1.0) << "the readings go on";
    EXPECT_EQ(Value(metrics, "rx40_scrapes_total{"), before + 1 + i);
  }
  for (const int fd : held) close(fd);
  EXPECT_EQ(Terminate(), 0) << Err();
}

}  // namespace
