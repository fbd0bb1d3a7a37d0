#include "platform/sim/sim_card.h"

#include "platform/com/clock.h"
#include "platform/com/file_faults.h"
#include "platform/devices/device_notifications.h"
#include "platform/media/bda_interfaces.h"
#include "platform/sim/sim_filters.h"

namespace sim {

std::shared_ptr<SimCard> SimCard::Install(const SimConfig& config, std::string* error) {
  std::unique_ptr<DriverTrace> trace;
  if (!config.card.traceFile.empty()) {
    trace = DriverTrace::Open(config.card.traceFile, error);
    if (!trace) return nullptr;
  }
  auto driver = std::make_shared<TunerDriver>(config.sky, config.driver.faults, std::move(trace), config.motor);
  std::shared_ptr<SimCard> card(new SimCard(config, std::move(driver)));
  // The full disk of the FILE holds while the card does.
  if (config.stream.writeFailsAfterBytes) SetWriteFailureAfterBytes(config.stream.writeFailsAfterBytes);
  if (config.stream.writeStallMs)
    SetWriteStall(WriteStall{config.stream.writeStallAfterBytes, config.stream.writeStallMs});
  const SimCardOptions& options = config.card;
  if (options.present) card->RegisterDevices();
  if (options.present && options.removalAfterMs > 0) card->ScheduleRemoval(options.removalAfterMs);
  return card;
}

SimCard::SimCard(const SimConfig& config, std::shared_ptr<TunerDriver> driver)
    : m_options(config.card), m_stream(config.stream), m_driver(std::move(driver)) {}

SimCard::~SimCard() {
  if (m_stream.writeFailsAfterBytes) SetWriteFailureAfterBytes(std::nullopt);
  if (m_stream.writeStallMs) SetWriteStall(std::nullopt);
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  if (m_removalTimer.joinable()) m_removalTimer.join();
  auto& registry = devices::DeviceRegistry::Instance();
  for (auto id : m_deviceIds) registry.Remove(id);
}

void SimCard::RegisterDevices() {
  auto& registry = devices::DeviceRegistry::Instance();
  std::weak_ptr<SimCard> weak = weak_from_this();
  m_deviceIds.push_back(registry.Add({KSCATEGORY_BDA_NETWORK_TUNER, kSimTunerName,
                                      [weak](REFIID riid, void** ppv) { return BindTunerFilter(weak.lock(), riid, ppv); },
                                      m_options.tunerFaults}));
  m_deviceIds.push_back(registry.Add({KSCATEGORY_BDA_RECEIVER_COMPONENT, kSimCaptureName,
                                      [weak](REFIID riid, void** ppv) { return BindCaptureFilter(weak.lock(), riid, ppv); },
                                      m_options.captureFaults}));
}

void SimCard::ScheduleRemoval(unsigned afterMs) {
  // Real time on purpose: an unplug is an outside event, not a program wait.
  m_removalTimer = std::thread([this, afterMs] {
    std::unique_lock lock(m_mutex);
    if (m_wake.wait_for(lock, std::chrono::milliseconds(afterMs), [this] { return m_stopping; })) return;
    lock.unlock();
    Remove();
  });
}

void SimCard::Remove() {
  {
    std::lock_guard lock(m_mutex);
    if (m_removed) return;
    m_removed = true;
    auto& registry = devices::DeviceRegistry::Instance();
    for (auto id : m_deviceIds) registry.Remove(id);
    m_deviceIds.clear();
  }
  devices::PublishDeviceChange(devices::DBT_DEVICEREMOVECOMPLETE);
}

bool SimCard::IsRemoved() const {
  std::lock_guard lock(m_mutex);
  return m_removed;
}

}  // namespace sim
