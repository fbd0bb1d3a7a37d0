// The program's own CPU time while it records: the real main window,
// headless, on the simulated card with its built-in sky, paced at the
// carrier's real rate. It tunes a transponder with "Lock TP", waits for the
// signal monitor to see the lock, presses "Start Record" on the Capture
// Control page, lets it record for the given time, presses "Cancel Record"
// and prints the process's CPU time (every thread) over that span.
//
//   record_cpu [--seconds S] [--dir DIR] [--frequency MHZ] [--symbol-rate KS] [--polarity 0|1]
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/application_setup.h"
#include "bench/bench_options.h"
#include "app/bda_util_app.h"
#include "app/bda_util_dlg.h"
#include "recording/recording_state.h"
#include "resources/resource_ids.h"
#include "tuner/tuner_context.h"

namespace {

struct Options {
  int seconds = 30;
  std::string dir = "/dev/shm";
  std::string frequency = "11362";
  std::string symbolRate = "22000";
  int polarity = 0;
};

constexpr char kUsage[] =
    "usage: record_cpu [--seconds S] [--dir DIR] [--frequency MHZ] [--symbol-rate KS] [--polarity 0|1]\n"
    "  --seconds S       how long to record (default 30)\n"
    "  --dir DIR         folder of the recording, removed afterwards (default /dev/shm)\n"
    "  --frequency MHZ   the built-in sky's carrier to record (default 11362)\n"
    "  --symbol-rate KS  its symbol rate (default 22000)\n"
    "  --polarity 0|1    its polarisation, 0 horizontal (default) or 1 vertical\n";

Options Parse(int argc, char** argv) {
  Options options;
  ReadBenchOptions(argc, argv, 1, kUsage, [&](const std::string& key, const std::string& value) {
    if (key == "--seconds") options.seconds = std::max(1, std::atoi(value.c_str()));
    else if (key == "--dir") options.dir = value;
    else if (key == "--frequency") options.frequency = value;
    else if (key == "--symbol-rate") options.symbolRate = value;
    else if (key == "--polarity") options.polarity = std::atoi(value.c_str());
    else return false;
    return true;
  });
  return options;
}

// CPU seconds of each thread of the process now, by thread id.
std::map<std::string, double> ThreadCpuSeconds() {
  std::map<std::string, double> threads;
  const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
      if (i == 14) utime = std::stoull(field);
      if (i == 15) stime = std::stoull(field);
    }
    threads[entry.path().filename().string()] = (utime + stime) / tick;
  }
  return threads;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Serves the window's events for a while, or until done holds (checked every
// 100 ms), sleeping in between as the program's own event loop does.
void Serve(double seconds, const std::function<bool()>& done = [] { return false; }) {
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  check.start(100);
  loop.exec();
}

CBDAUtilDlg* MainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* dialog = static_cast<CDialog*>(widget->property("rx40.dialog").value<void*>());
        dialog && dialog->Template().id == IDD_MAIN_DIALOG)
      return static_cast<CBDAUtilDlg*>(dialog);
  return nullptr;
}

void Click(CDialog& page, int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(page.GetDlgItem(id))) button->click();
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("record-cpu-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string recordPath = options.dir + "/record_cpu.ts";

  CommandLine commandLine;
  commandLine.simulate = true;
  ApplicationSetup setup;
  std::string error;
  if (setup.Start(commandLine, &error) != SetupResult::Ready) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  int status = 1;
  // The script runs once the main window is up.
  QTimer poll;
  poll.setInterval(50);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    CBDAUtilDlg* window = MainWindow();
    if (!window || !window->Widget()->isVisible()) return;
    poll.stop();
    CBdacontrolDlg& tuner = window->TunerPage();
    tuner.SetDlgItemText(IDC_FREQUENCY, options.frequency);
    tuner.SetDlgItemText(IDC_SYMBOL_RATE, options.symbolRate);
    tuner.SetDlgItemText(IDC_LNB_LOW, "9750");
    tuner.SetDlgItemText(IDC_LNB_HIGH, "10600");
    tuner.ComboSetCurSel(IDC_POLARITY, options.polarity);
    tuner.OnSelchangePolarity();
    tuner.OnOK();
    Serve(10, [] { return SignalLockedFlag().load() == 1; });
    if (SignalLockedFlag().load() != 1) {
      std::fprintf(stderr, "no lock on %s MHz\n", options.frequency.c_str());
      window->OnCancel();
      return;
    }
    window->Sheet().SetActivePage(1);
    CDialog& capture = *window->Sheet().GetPage(1);
    capture.SetDlgItemText(IDC_RECORD_PATH, recordPath);
    // A time limit beyond the run: the cancel ends it, and only what the run records must fit.
    Click(capture, IDC_USE_TIME_LIMIT);
    capture.SetDlgItemText(IDC_TIME_LIMIT, std::to_string(options.seconds + 60));

    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    const auto threadsBefore = ThreadCpuSeconds();
    Click(capture, IDC_START_RECORD);
    Serve(options.seconds);
    const auto threadsAfter = ThreadCpuSeconds();
    Click(capture, IDC_CANCEL_RECORD);
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const std::uint64_t bytes = std::filesystem::file_size(recordPath);
    std::printf("recorded %llu bytes in %.1f s (%.2f Mbit/s) into %s\n", static_cast<unsigned long long>(bytes), wall,
                bytes * 8 / wall / 1e6, recordPath.c_str());
    std::printf("status: %s; %s\n", capture.GetDlgItemText(IDC_RECORD_STATUS).c_str(),
                capture.GetDlgItemText(IDC_RECORD_HEALTH).c_str());
    std::printf("process CPU time: %.3f s = %.2f %% of one core\n", cpu, 100 * cpu / wall);
    const std::string uiThread = std::to_string(::getpid());
    for (const auto& [thread, seconds] : threadsAfter) {
      const auto before = threadsBefore.find(thread);
      const double used = seconds - (before == threadsBefore.end() ? 0.0 : before->second);
      if (used > 0) std::printf("  thread %s%s: %.2f s\n", thread.c_str(), thread == uiThread ? " (UI)" : "", used);
    }
    std::filesystem::remove(recordPath);
    status = 0;
    window->OnCancel();
  });
  poll.start();
  CBDAUtilApp app(folder.string());
  app.InitInstance();
  std::filesystem::remove_all(folder);
  return status;
}
