// rx40ctl run in the test's process, as main() runs it, with the platform
// registered afresh, a folder of its own for the settings file and the
// tuning-space store, and an instant clock: the waits for lock, the record
// timer's ticks and the --watch interval cost nothing. Stdout's lines are
// parsed as JSON where they are JSON.
#pragma once

#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/card_setup.h"
#include "cli/console.h"
#include "cli/rx40ctl.h"
#include "platform/devices/device_registry.h"
#include "platform/media/tuning/tuning_space_store.h"
#include "tests/support/file_contents.h"
#include "tests/support/instant_clock.h"

struct CliOutcome {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> outLines;
  // Every stdout line that is a JSON object, in order.
  std::vector<QJsonObject> json;
  // Lines of stdout that were not JSON objects.
  int notJson = 0;

  std::vector<QJsonObject> OfType(const char* type) const {
    std::vector<QJsonObject> found;
    for (const QJsonObject& object : json)
      if (object.value("type").toString() == type) found.push_back(object);
    return found;
  }
};

// A string buffer that asks for a stop once it holds `lines` lines, as
// SIGINT would after that many readings. rx40ctl flushes after every line.
class StopAfterLines : public std::stringbuf {
 public:
  StopAfterLines(StopRequest& stop, int lines) : m_stop(stop), m_lines(lines) {}

 protected:
  int sync() override {
    const std::string text = str();
    if (std::count(text.begin(), text.end(), '\n') >= m_lines) m_stop.Request(StopRequest::Reason::Interrupted);
    return 0;
  }

 private:
  StopRequest& m_stop;
  const int m_lines;
};

class CliRun : public testing::Test {
 protected:
  CliRun() {
    static int instance = 0;
    m_folder = std::filesystem::temp_directory_path() /
               ("rx40ctl-test-" + std::to_string(::getpid()) + "-" + std::to_string(++instance));
    std::filesystem::create_directories(m_folder);
    devices::DeviceRegistry::Instance().Clear();
    RegisterPlatformServices();
    tuning::SetTuningSpaceStorePath((m_folder / "tuning-spaces.txt").string());
  }
  ~CliRun() override {
    devices::DeviceRegistry::Instance().Clear();
    tuning::SetTuningSpaceStorePath("");
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  // rx40ctl ARGS --data-dir FOLDER; out may stop the run after some lines.
  CliOutcome Run(std::vector<std::string> args, std::stringbuf* out = nullptr) {
    args.push_back("--data-dir");
    args.push_back(m_folder.string());
    std::stringbuf ownOut;
    std::stringbuf* outBuffer = out ? out : &ownOut;
    std::ostream outStream(outBuffer);
    std::ostringstream errStream;
    CliOutcome outcome;
    outcome.status = RunRx40ctl(args, {outStream, errStream, false}, m_stop, "/nonexistent");
    outcome.out = outBuffer->str();
    outcome.err = errStream.str();
    std::istringstream lines(outcome.out);
    for (std::string line; std::getline(lines, line);) {
      outcome.outLines.push_back(line);
      const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line));
      if (document.isObject()) outcome.json.push_back(document.object());
      else ++outcome.notJson;
    }
    return outcome;
  }

  // "--simulate=FILE" for a card described by text.
  std::string Simulate(const std::string& text) {
    const std::string path = (m_folder / "card.ini").string();
    std::ofstream(path) << text;
    return "--simulate=" + path;
  }
  std::string Path(const std::string& name) const { return (m_folder / name).string(); }
  std::string SettingsText() const { return FileText(m_folder / "Orvane-TScap.ini"); }

  ScopedInstantClock m_clock;
  StopRequest m_stop;
  std::filesystem::path m_folder;
};
