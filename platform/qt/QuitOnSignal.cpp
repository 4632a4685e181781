#include "platform/qt/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#if defined(__unix__)
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace {
// A signal handler may do almost nothing: it writes one byte, and the event loop reads it.
int wakeFds[2] = {-1, -1};

void OnSignal(int /*signal*/) {
  char byte = 1;
  [[maybe_unused]] ssize_t written = write(wakeFds[0], &byte, 1);
}

const int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
}  // namespace

QuitOnSignal::QuitOnSignal() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeFds) != 0)
    return;
  notifier_ = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [] {
    char byte;
    [[maybe_unused]] ssize_t got = read(wakeFds[1], &byte, 1);
    QCoreApplication::exit(0);
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals)
    sigaction(signal, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal() {
  if (!notifier_)
    return;
  for (int signal : kSignals)
    std::signal(signal, SIG_DFL);
  delete notifier_;
  close(wakeFds[0]);
  close(wakeFds[1]);
  wakeFds[0] = wakeFds[1] = -1;
}
#else
QuitOnSignal::QuitOnSignal() = default;
QuitOnSignal::~QuitOnSignal() = default;
#endif
