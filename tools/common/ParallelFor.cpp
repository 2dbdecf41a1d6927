#include "tools/common/ParallelFor.hpp"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace norvane::tools {

unsigned HardwareThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}

const char* ParseThreadCount(std::string_view text, unsigned& threads) {
  unsigned value = 0;
  const char* const last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(text.data(), last, value);
  // from_chars reads no sign, so "-1" and "+1" stop at once.
  if (ec != std::errc() || end != last || value < 1 || value > kMaxThreads)
    return "is not a whole number from 1 to 1024";
  threads = value;
  return nullptr;
}

namespace {

// What the threads share: the next index to hand out and the first failure.
class SharedWork {
 public:
  SharedWork(std::size_t count, const std::function<void(std::size_t)>& work)
      : count_(count), work_(work) {}

  // Runs pieces until none are left or one has failed.
  void Run() {
    for (;;) {
      if (failed_.load(std::memory_order_relaxed)) return;
      const std::size_t i = next_.fetch_add(1, std::memory_order_relaxed);
      if (i >= count_) return;
      try {
        work_(i);
      } catch (...) {
        Fail(i, std::current_exception());
      }
    }
  }

  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  // Indices are handed out in increasing order, so every index below the
  // one that failed first has already been handed out and runs to its end:
  // the lowest failure is the one a single thread meets.
  void Fail(std::size_t i, std::exception_ptr failure) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!failure_ || i < failedIndex_) {
      failure_ = failure;
      failedIndex_ = i;
    }
    failed_.store(true, std::memory_order_relaxed);
  }

  const std::size_t count_;
  const std::function<void(std::size_t)>& work_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::exception_ptr failure_;
  std::size_t failedIndex_ = 0;
};

}  // namespace

void ParallelFor(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t)>& work) {
  SharedWork shared(count, work);
  const std::size_t helpers =
      std::min<std::size_t>(std::max(1u, threads), count) - (count > 0);
  std::vector<std::thread> pool;
  pool.reserve(helpers);
  for (std::size_t t = 0; t < helpers; ++t) {
    try {
      pool.emplace_back([&shared] { shared.Run(); });
    } catch (const std::system_error&) {
      break;
    }
  }
  shared.Run();
  for (std::thread& thread : pool) thread.join();
  shared.RethrowFailure();
}

}  // namespace norvane::tools
