// The simulated Orvane RX40: registers the card's tuner and capture devices
// with the device enumerator under their friendly names, with the faults its
// options ask for, and can be unplugged (its devices vanish and a removal
// notification goes out).
//
// The card owns its one driver; every filter bound from the card shares it
// (and keeps it alive while the filter lives).
//
// Install and Remove run on any thread; the card's filters are made when a
// device is bound.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/devices/device_registry.h"
#include "platform/media/card_device_names.h"
#include "platform/sim/driver/tuner_driver.h"
#include "platform/sim/sim_file.h"

namespace sim {

inline constexpr auto& kSimTunerName = kCardTunerName;
inline constexpr auto& kSimCaptureName = kCardCaptureName;

class SimCard : public std::enable_shared_from_this<SimCard> {
 public:
  // None, with the reason, when the driver's trace file cannot be written.
  static std::shared_ptr<SimCard> Install(const SimConfig& config, std::string* error);
  ~SimCard();

  const std::shared_ptr<TunerDriver>& Driver() const { return m_driver; }
  const SimCardOptions& Options() const { return m_options; }
  // How the capture filter is to deliver the stream.
  const StreamOptions& Stream() const { return m_stream; }

  // Unplugs the card: its devices leave the enumerator and a device-removal
  // notification is published. Idempotent.
  void Remove();
  bool IsRemoved() const;

 private:
  SimCard(const SimConfig& config, std::shared_ptr<TunerDriver> driver);
  void RegisterDevices();
  void ScheduleRemoval(unsigned afterMs);

  const SimCardOptions m_options;
  const StreamOptions m_stream;
  const std::shared_ptr<TunerDriver> m_driver;
  mutable std::mutex m_mutex;
  std::vector<devices::DeviceId> m_deviceIds;
  bool m_removed = false;
  std::condition_variable m_wake;
  bool m_stopping = false;
  std::thread m_removalTimer;
};

}  // namespace sim
