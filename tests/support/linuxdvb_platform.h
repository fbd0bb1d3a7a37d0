// The whole platform as the program sets it up on a real card, with the
// kernel replaced by the fake one: device enumerator, media classes, tuning
// model with its store in a fresh folder, the adapter installed as the card,
// and an instant clock and message box recorder. The tuner context is
// emptied afterwards.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/devices/device_registry.h"
#include "platform/devices/removal_filter.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/platform_devices.h"
#include "platform/media/tuning/tuning_space_store.h"
#include "settings/program_folder.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/support/instant_clock.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

class LinuxDvbPlatform {
 public:
  explicit LinuxDvbPlatform(FakeFrontend frontend = {}, FakeDemux demux = {}) {
    static int instance = 0;
    m_folder = std::filesystem::temp_directory_path() /
               ("rx40-dvb-test-" + std::to_string(::getpid()) + "-" + std::to_string(++instance));
    std::filesystem::create_directories(m_folder);
    devices::DeviceRegistry::Instance().Clear();
    devices::RegisterSystemDeviceEnumerator();
    media::RegisterMediaPlatform();
    tuning::SetTuningSpaceStorePath((m_folder / "tuning-spaces.txt").string());
    SetProgramFolder(m_folder.string());
    m_kernel->AddAdapter(0, std::move(frontend), demux);
    linuxdvb::InstallResult installed = linuxdvb::LinuxDvbCard::Install(m_kernel, {});
    if (!installed.card) throw std::runtime_error(installed.refusal);
    m_card = std::move(installed.card);
  }
  ~LinuxDvbPlatform() {
    TunerContext& c = TheTunerContext();
    c.m_pKsCtrl = nullptr;
    c.m_pTunerFilter = nullptr;
    m_card.reset();
    devices::DeviceRegistry::Instance().Clear();
    devices::ClearCardSyspaths();
    tuning::SetTuningSpaceStorePath("");
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  FakeDvbKernel& Kernel() { return *m_kernel; }
  InstantClock& Clock() { return *m_clock; }
  MessageBoxRecorder& Boxes() { return m_boxes; }

 private:
  std::filesystem::path m_folder;
  ScopedInstantClock m_clock;
  MessageBoxRecorder m_boxes;
  std::shared_ptr<FakeDvbKernel> m_kernel = std::make_shared<FakeDvbKernel>();
  std::shared_ptr<linuxdvb::LinuxDvbCard> m_card;
};
