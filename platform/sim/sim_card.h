// The simulated Orvane RX40: registers the card's tuner and capture devices
// with the device enumerator under their friendly names, with the faults its
// options ask for, and can be unplugged (its devices vanish and a removal
// notification goes out).
//
// Install and Remove run on any thread; the card's filters are made when a
// device is bound.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/devices/device_registry.h"
#include "platform/sim/sim_card_options.h"

namespace sim {

inline constexpr wchar_t kSimTunerName[] = L"Orvane RX40 DVBS/S2 Tuner";
inline constexpr wchar_t kSimCaptureName[] = L"Orvane RX40 BDA Digital Capture DVBS";

class SimCard : public std::enable_shared_from_this<SimCard> {
 public:
  static std::shared_ptr<SimCard> Install(const SimCardOptions& options);
  ~SimCard();

  // Unplugs the card: its devices leave the enumerator and a device-removal
  // notification is published. Idempotent.
  void Remove();
  bool IsRemoved() const;

 private:
  explicit SimCard(const SimCardOptions& options);
  void RegisterDevices();
  void ScheduleRemoval(unsigned afterMs);

  SimCardOptions m_options;
  mutable std::mutex m_mutex;
  std::vector<devices::DeviceId> m_deviceIds;
  bool m_removed = false;
  std::condition_variable m_wake;
  bool m_stopping = false;
  std::thread m_removalTimer;
};

}  // namespace sim
