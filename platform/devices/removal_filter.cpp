#include "platform/devices/removal_filter.h"

#include <mutex>

namespace devices {
namespace {

constexpr char kVirtualDevices[] = "/sys/devices/virtual/";

bool IsVirtual(const std::string& syspath) { return syspath.starts_with(kVirtualDevices); }

// Whether ancestor is path itself or one of its parent folders.
bool IsSelfOrParent(const std::string& ancestor, const std::string& path) {
  if (ancestor.empty() || !path.starts_with(ancestor)) return false;
  return path.size() == ancestor.size() || path[ancestor.size()] == '/';
}

struct CardPaths {
  std::mutex mutex;
  std::vector<std::string> paths;
};

CardPaths& TheCardPaths() {
  static CardPaths paths;
  return paths;
}

}  // namespace

bool RemovalClosesWindow(const RemovalEvent& event, const std::vector<std::string>& cardSyspaths) {
  for (const auto& card : cardSyspaths)
    if (IsSelfOrParent(event.syspath, card)) return true;
  if (IsVirtual(event.syspath)) return false;  // loop, ram, tun, veth, virtual consoles
  if (event.subsystem == "block") return !event.fsType.empty();
  return event.subsystem == "tty";
}

void AddCardSyspath(const std::string& syspath) {
  auto& c = TheCardPaths();
  std::lock_guard lock(c.mutex);
  c.paths.push_back(syspath);
}

void ClearCardSyspaths() {
  auto& c = TheCardPaths();
  std::lock_guard lock(c.mutex);
  c.paths.clear();
}

std::vector<std::string> CardSyspaths() {
  auto& c = TheCardPaths();
  std::lock_guard lock(c.mutex);
  return c.paths;
}

}  // namespace devices
