// What the whole-platform test setups (simulated_platform.h,
// linuxdvb_platform.h) share: the platform as the program sets it up before
// a card is installed. A fresh program folder that holds the settings and the
// tuning-space store, the device enumerator and media classes registered, an
// instant clock and a message box recorder.
//
// The derived setup installs its card, and in its destructor calls
// ReleaseTunerContext and lets its card go; then this empties the device
// registry and the card's device paths and removes the folder.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/devices/device_registry.h"
#include "platform/devices/removal_filter.h"
#include "platform/media/platform_devices.h"
#include "platform/media/tuning/tuning_space_store.h"
#include "settings/program_folder.h"
#include "tests/support/instant_clock.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

class ProgramPlatform {
 public:
  ProgramPlatform(const ProgramPlatform&) = delete;
  ProgramPlatform& operator=(const ProgramPlatform&) = delete;

  std::string Folder() const { return m_folder.string(); }
  std::string SettingsPath() const { return (m_folder / "Orvane-TScap.ini").string(); }
  InstantClock& Clock() { return *m_clock; }
  MessageBoxRecorder& Boxes() { return m_boxes; }

 protected:
  // The folder is named folderPrefix, the process id and a count.
  explicit ProgramPlatform(const std::string& folderPrefix) {
    static int instance = 0;
    m_folder = std::filesystem::temp_directory_path() /
               (folderPrefix + std::to_string(::getpid()) + "-" + std::to_string(++instance));
    std::filesystem::create_directories(m_folder);
    devices::DeviceRegistry::Instance().Clear();
    devices::RegisterSystemDeviceEnumerator();
    media::RegisterMediaPlatform();
    tuning::SetTuningSpaceStorePath((m_folder / "tuning-spaces.txt").string());
    SetProgramFolder(m_folder.string());
  }
  ~ProgramPlatform() {
    devices::DeviceRegistry::Instance().Clear();
    devices::ClearCardSyspaths();
    tuning::SetTuningSpaceStorePath("");
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  // Drops the tuner context's references into the card, before the card goes.
  static void ReleaseTunerContext() {
    TunerContext& c = TheTunerContext();
    c.m_pKsCtrl = nullptr;
    c.m_pTunerFilter = nullptr;
  }

 private:
  std::filesystem::path m_folder;
  ScopedInstantClock m_clock;
  MessageBoxRecorder m_boxes;
};
