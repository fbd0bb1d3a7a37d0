#include "cli/stop_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

namespace {

sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

bool BlockStopSignals() {
  const sigset_t set = StopSignalSet();
  return pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0;
}

StopSignals::StopSignals(StopRequest& stop) : m_stop(stop) {
  const sigset_t set = StopSignalSet();
  m_signalFd = signalfd(-1, &set, SFD_CLOEXEC);
  if (m_signalFd < 0) return;
  if (pipe2(m_quitPipe, O_CLOEXEC) != 0) {
    close(m_signalFd);
    m_signalFd = -1;
    return;
  }
  m_thread = std::thread(&StopSignals::Watch, this);
}

StopSignals::~StopSignals() {
  if (m_thread.joinable()) {
    const char quit = 'q';
    while (write(m_quitPipe[1], &quit, 1) < 0 && errno == EINTR) {
    }
    m_thread.join();
  }
  for (int fd : {m_signalFd, m_quitPipe[0], m_quitPipe[1]})
    if (fd >= 0) close(fd);
}

void StopSignals::Watch() {
  pollfd fds[2] = {{m_signalFd, POLLIN, 0}, {m_quitPipe[0], POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    signalfd_siginfo info;
    if (read(m_signalFd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    m_stop.Request(StopRequest::Reason::Interrupted);
    // A second Ctrl-C reaches this thread, the only one that lets it in,
    // with its default action.
    signal(SIGINT, SIG_DFL);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
  }
}
