// The address an exporter listens on: "127.0.0.1:9740", "[::1]:9740" or
// "host.example:9740". A wildcard ("0.0.0.0", "::", or no host) opens the
// port to every network the machine is on, so it is refused unless asked
// for (--listen-any). Pure.
#pragma once

#include <optional>
#include <string>

struct ListenAddress {
  std::string host;  // without brackets
  int port = 0;
  bool wildcard = false;
};

// None, with the reason, when text is no HOST:PORT with a port 0 to 65535
// (0: any free port).
std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string* error);
