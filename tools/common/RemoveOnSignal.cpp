#include "tools/common/RemoveOnSignal.hpp"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <mutex>

namespace norvane::tools {
namespace {

// The handler may only unlink and raise; the list is of lock-free atomic
// pointers, so it reads a consistent entry whenever it interrupts.
static_assert(ATOMIC_POINTER_LOCK_FREE == 2);
constexpr int kSlots = 32;
std::atomic<const char*> listed[kSlots];

// SIGPIPE too: a reader of a FIFO or pipe output that goes away ends the run.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void RemoveListed(int signal) {
  for (std::atomic<const char*>& slot : listed) {
    if (const char* path = slot.load()) ::unlink(path);
  }
  // SA_RESETHAND restored the default action: the raised signal ends the
  // process as it would have without the handler.
  std::raise(signal);
}

void InstallHandlers() {
  for (const int signal : kSignals) {
    struct sigaction action {};
    if (::sigaction(signal, nullptr, &action) != 0 ||
        action.sa_handler == SIG_IGN)
      continue;
    action = {};
    action.sa_handler = RemoveListed;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

bool RemoveOnSignal(const char* path) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  for (std::atomic<const char*>& slot : listed) {
    const char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, path)) return true;
  }
  return false;
}

void KeepOnSignal(const char* path) {
  for (std::atomic<const char*>& slot : listed) {
    const char* expected = path;
    if (slot.compare_exchange_strong(expected, nullptr)) return;
  }
}

}  // namespace norvane::tools
