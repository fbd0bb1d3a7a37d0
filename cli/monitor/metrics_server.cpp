#include "cli/monitor/metrics_server.h"

#include <httplib.h>

#include <cerrno>
#include <cstring>

#include "cli/monitor/metrics_text.h"

namespace {

constexpr char kPath[] = "/metrics";

}  // namespace

MetricsServer::MetricsServer(Scrape scrape) : m_scrape(std::move(scrape)) {}

MetricsServer::~MetricsServer() { Stop(); }

bool MetricsServer::Start(const ListenAddress& address, std::string* error) {
  m_server = std::make_unique<httplib::Server>();
  httplib::Server& server = *m_server;
  server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server.set_read_timeout(kClientTimeoutSeconds, 0);
  server.set_write_timeout(kClientTimeoutSeconds, 0);
  server.set_keep_alive_timeout(kClientTimeoutSeconds);
  server.set_keep_alive_max_count(20);
  server.set_payload_max_length(0);
  // Everything but GET or HEAD of the one path is answered before routing.
  server.set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
    if (request.path != kPath) {
      response.status = 404;
      response.set_content("not found: this exporter serves " + std::string(kPath) + " only\n", "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    if (request.method != "GET" && request.method != "HEAD") {
      response.status = 405;
      response.set_header("Allow", "GET, HEAD");
      response.set_content("method not allowed\n", "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get(kPath, [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(m_scrape(), kMetricsContentType);
  });
  const int port = address.port == 0 ? server.bind_to_any_port(address.host) : address.port;
  if (port <= 0 || (address.port != 0 && !server.bind_to_port(address.host, address.port))) {
    *error = "--listen " + address.host + ":" + std::to_string(address.port) + ": cannot listen there" +
             (errno ? std::string(" (") + std::strerror(errno) + ")" : std::string()) +
             "; is the port in use, or the address not this machine's?";
    m_server.reset();
    return false;
  }
  m_port = port;
  m_thread = std::thread([&server] { server.listen_after_bind(); });
  return true;
}

void MetricsServer::Stop() {
  if (!m_server) return;
  m_server->stop();
  if (m_thread.joinable()) m_thread.join();
  m_server.reset();
}
