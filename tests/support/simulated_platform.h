// The whole platform as the program sets it up, on the simulated card, for
// tests that build the receive graph: device enumerator, media classes,
// tuning model with its store in a fresh folder, the card itself, and an
// instant clock and message box recorder. The tuner context is emptied
// afterwards.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/com/runtime.h"
#include "platform/devices/device_registry.h"
#include "platform/media/platform_devices.h"
#include "platform/media/tuning/tuning_space_store.h"
#include "platform/sim/sim_card.h"
#include "platform/sim/sim_file.h"
#include "settings/program_folder.h"
#include "tests/support/instant_clock.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

class SimulatedPlatform {
 public:
  explicit SimulatedPlatform(const sim::SimConfig& config = {}) {
    static int instance = 0;
    m_folder = std::filesystem::temp_directory_path() /
               ("rx40-test-" + std::to_string(::getpid()) + "-" + std::to_string(++instance));
    std::filesystem::create_directories(m_folder);
    devices::DeviceRegistry::Instance().Clear();
    devices::RegisterSystemDeviceEnumerator();
    media::RegisterMediaPlatform();
    tuning::SetTuningSpaceStorePath((m_folder / "tuning-spaces.txt").string());
    SetProgramFolder(m_folder.string());
    std::string error;
    m_card = sim::SimCard::Install(config, &error);
    if (!m_card) throw std::runtime_error(error);
  }
  ~SimulatedPlatform() {
    TunerContext& c = TheTunerContext();
    c.m_pKsCtrl = nullptr;
    c.m_pTunerFilter = nullptr;
    m_card.reset();
    devices::DeviceRegistry::Instance().Clear();
    tuning::SetTuningSpaceStorePath("");
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  std::string Folder() const { return m_folder.string(); }
  std::string SettingsPath() const { return (m_folder / "Orvane-TScap.ini").string(); }
  sim::SimCard& Card() { return *m_card; }
  InstantClock& Clock() { return *m_clock; }
  MessageBoxRecorder& Boxes() { return m_boxes; }

 private:
  std::filesystem::path m_folder;
  ScopedInstantClock m_clock;
  MessageBoxRecorder m_boxes;
  std::shared_ptr<sim::SimCard> m_card;
};
