#pragma once
/**
 * \file PartPool.hpp
 * \brief Shares the parts of a job among the calling thread and a few
 *   helper threads that live as long as the pool.
 */

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace norvane::tools {

/**
 * \brief Runs the parts of one job at a time on up to N threads.
 *
 * The calling thread works too, and the parts are handed out one by one, so
 * a helper that is slow to be scheduled (the machine busy with other work)
 * takes fewer parts instead of holding the job up; Run waits only for parts
 * already started.  Helpers are started on the first job of more than one
 * part and joined by the destructor.
 */
class PartPool {
 public:
  /**
   * @param[in] threads threads to use at most, the caller's included, at
   *   least 1; 1 runs every part on the calling thread.
   */
  explicit PartPool(unsigned threads);
  ~PartPool();
  PartPool(const PartPool&) = delete;
  PartPool& operator=(const PartPool&) = delete;

  /**
   * Calls work(part) once for every part in [0, count) and returns when all
   * calls have returned.  Calls for different parts may run at the same
   * time on different threads.
   *
   * @param[in] count how many parts.
   * @param[in] work what to do for one part; valid until Run returns.
   * @exception whatever the first failing call threw, after all calls.
   */
  void Run(std::size_t count, const std::function<void(std::size_t)>& work);

  /// @return the most threads a job runs on, the caller's included.
  unsigned Threads() const { return threads_; }

 private:
  void StartHelpers();
  void Help();
  // Takes and runs parts until none is left; `lock` is held between parts.
  void RunParts(std::unique_lock<std::mutex>& lock);

  unsigned threads_;
  bool started_ = false;  // helpers were started (as many as could be)
  std::vector<std::thread> helpers_;
  std::mutex mutex_;              // guards everything below
  std::condition_variable wake_;  // a job has parts to take, or stop
  std::condition_variable done_;  // the job's last part is done
  const std::function<void(std::size_t)>* work_ = nullptr;
  std::size_t count_ = 0;       // parts of the job
  std::size_t next_ = 0;        // first part nobody took yet
  std::size_t finished_ = 0;    // parts done
  std::exception_ptr failure_;  // the first call's exception
  bool stop_ = false;
};

}  // namespace norvane::tools
