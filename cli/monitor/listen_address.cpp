#include "cli/monitor/listen_address.h"

#include "app/strict_numbers.h"

std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string* error) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) {
    *error = "--listen needs ADDRESS:PORT, e.g. 127.0.0.1:9740";
    return std::nullopt;
  }
  ListenAddress address;
  address.host = text.substr(0, colon);
  if (address.host.starts_with('[')) {
    if (!address.host.ends_with(']')) {
      *error = "--listen: an IPv6 address goes in brackets, e.g. [::1]:9740";
      return std::nullopt;
    }
    address.host = address.host.substr(1, address.host.size() - 2);
  } else if (address.host.find(':') != std::string::npos) {
    *error = "--listen: an IPv6 address goes in brackets, e.g. [::1]:9740";
    return std::nullopt;
  }
  // Port 0: a free port the system picks, printed at start (for tests and scripts).
  const auto port = StrictInteger(text.substr(colon + 1), 0, 65535);
  if (!port) {
    *error = "--listen needs a port from 0 to 65535 after the colon, e.g. 127.0.0.1:9740";
    return std::nullopt;
  }
  address.port = static_cast<int>(*port);
  address.wildcard = address.host.empty() || address.host == "0.0.0.0" || address.host == "::" || address.host == "*";
  if (address.host.empty() || address.host == "*") address.host = "0.0.0.0";
  return address;
}
