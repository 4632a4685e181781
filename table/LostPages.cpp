#include "table/LostPages.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace {
// A handful of files are mapped at a time (one table, and the tests' own); the handler may only
// look at memory that needs no lock.
constexpr size_t kSlots = 64;

struct Watched {
  std::atomic<uintptr_t> start{0};
  std::atomic<uintptr_t> end{0};  // rounded up to whole pages
  std::atomic<bool> lost{false};
};

Watched watched[kSlots];
uintptr_t pageSize = 4096;
struct sigaction previous;
std::once_flag installed;
std::mutex changing;

void PassOn(int signal, siginfo_t* info, void* context) {
  if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
    previous.sa_sigaction(signal, info, context);
    return;
  }
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
    return;
  }
  // The fault happens again on return and ends the process as it would have without us.
  struct sigaction fallback = {};
  fallback.sa_handler = SIG_DFL;
  sigaction(SIGBUS, &fallback, nullptr);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  auto at = reinterpret_cast<uintptr_t>(info->si_addr);
  for (Watched& w : watched) {
    uintptr_t start = w.start.load(std::memory_order_acquire);
    uintptr_t end = w.end.load(std::memory_order_acquire);
    if (start == 0 || at < start || at >= end)
      continue;
    // A file is cut short at its end, so every page from this one on is lost, or soon will be.
    uintptr_t page = at & ~(pageSize - 1);
    void* zeros = mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros == MAP_FAILED)
      break;
    w.lost.store(true, std::memory_order_release);
    return;
  }
  PassOn(signal, info, context);
}

void Install() {
  pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  struct sigaction action = {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_RESTART | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &previous);
}
}  // namespace

int WatchMapping(const void* start, size_t size) {
  std::call_once(installed, Install);
  auto from = reinterpret_cast<uintptr_t>(start);
  std::lock_guard<std::mutex> lock(changing);
  for (size_t slot = 0; slot < kSlots; ++slot) {
    if (watched[slot].start.load() != 0)
      continue;
    // The end first: the handler takes a slot with a start as whole.
    watched[slot].lost.store(false);
    watched[slot].end.store((from + size + pageSize - 1) & ~(pageSize - 1));
    watched[slot].start.store(from, std::memory_order_release);
    return static_cast<int>(slot);
  }
  return -1;
}

void UnwatchMapping(int slot) {
  if (slot < 0)
    return;
  std::lock_guard<std::mutex> lock(changing);
  watched[slot].start.store(0);
  watched[slot].end.store(0);
}

bool MappingLostPages(int slot) {
  return slot >= 0 && watched[slot].lost.load(std::memory_order_acquire);
}
