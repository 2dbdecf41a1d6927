// Work shared among threads: every piece runs once whatever the number of
// threads, and a failure is reported as one thread would meet it.

#include "tools/common/ParallelFor.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>

namespace norvane::tools {
namespace {

TEST(ParallelForTest, RunsEveryPieceOnce) {
  for (const std::size_t count : {0u, 1u, 7u, 1000u}) {
    for (const unsigned threads : {0u, 1u, 2u, 8u}) {
      const auto runs = std::make_unique<std::atomic<int>[]>(count + 1);
      ParallelFor(count, threads, [&](std::size_t i) { ++runs[i]; });
      for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(runs[i].load(), 1) << "piece " << i << " of " << count << ", "
                                     << threads << " threads";
    }
  }
}

TEST(ParallelForTest, RethrowsTheLowestFailure) {
  for (const unsigned threads : {1u, 2u, 8u}) {
    std::atomic<int> ranAfter{0};
    try {
      ParallelFor(100000, threads, [&](std::size_t i) {
        if (i == 40 || i == 41 || i == 500)
          throw std::runtime_error("piece " + std::to_string(i));
        if (i > 1000) ++ranAfter;
      });
      ADD_FAILURE() << "no exception with " << threads << " threads";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "piece 40") << threads << " threads";
    }
    // Work stops soon after a failure rather than running to the end.
    EXPECT_LT(ranAfter.load(), 99000) << threads << " threads";
  }
}

}  // namespace
}  // namespace norvane::tools
