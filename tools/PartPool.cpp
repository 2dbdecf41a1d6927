#include "tools/PartPool.hpp"

#include <system_error>
#include <utility>

namespace norvane::tools {

PartPool::PartPool(unsigned threads) : threads_(threads) {}

PartPool::~PartPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

void PartPool::Run(std::size_t count,
                   const std::function<void(std::size_t)>& work) {
  if (count > 1 && !started_) StartHelpers();
  std::unique_lock<std::mutex> lock(mutex_);
  work_ = &work;
  count_ = count;
  next_ = 0;
  finished_ = 0;
  wake_.notify_all();
  RunParts(lock);
  done_.wait(lock, [this] { return finished_ == count_; });
  work_ = nullptr;
  const std::exception_ptr failure = std::exchange(failure_, nullptr);
  lock.unlock();
  if (failure) std::rethrow_exception(failure);
}

void PartPool::StartHelpers() {
  started_ = true;
  for (unsigned i = 1; i < threads_; ++i) {
    try {
      helpers_.emplace_back(&PartPool::Help, this);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: fewer do the work
    }
  }
}

void PartPool::Help() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stop_ || next_ < count_; });
    if (stop_) return;
    RunParts(lock);
  }
}

void PartPool::RunParts(std::unique_lock<std::mutex>& lock) {
  while (next_ < count_) {
    const std::size_t part = next_++;
    const std::function<void(std::size_t)>& work = *work_;
    lock.unlock();
    std::exception_ptr failure;
    try {
      work(part);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    if (++finished_ == count_) done_.notify_one();
  }
}

}  // namespace norvane::tools
