// The exporter's HTTP side: GET (and HEAD) /metrics on one address, and
// nothing else: 404 for other paths, 405 for other methods, no files. Only
// the request line and headers are read, within the library's bounds
// (8 KiB each); a request body is refused; a client that stops sending is
// cut off after kClientTimeoutSeconds. Requests are served by a few threads
// of their own, so a slow or malformed client never holds up the card's
// readings, and the others wait at most for those threads to come free.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "cli/monitor/listen_address.h"

namespace httplib {
class Server;
}

class MetricsServer {
 public:
  static constexpr int kClientTimeoutSeconds = 1;
  static constexpr int kThreads = 8;

  // Called on a server thread for each scrape; returns the exposition text.
  using Scrape = std::function<std::string()>;

  explicit MetricsServer(Scrape scrape);
  ~MetricsServer();
  MetricsServer(const MetricsServer&) = delete;
  MetricsServer& operator=(const MetricsServer&) = delete;

  // Binds and starts serving; false with the reason when the address cannot
  // be bound (in use, not this machine's, no permission).
  bool Start(const ListenAddress& address, std::string* error);
  // The port bound (the one asked for, or the one given for port 0).
  int Port() const { return m_port; }
  // Stops serving and waits for the server threads; idempotent.
  void Stop();

 private:
  Scrape m_scrape;
  std::unique_ptr<httplib::Server> m_server;
  std::thread m_thread;
  int m_port = 0;
};
