#include "tools/PartPool.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace norvane::tools {
namespace {

TEST(PartPoolTest, RunsEveryPartOnceForJobAfterJob) {
  for (const unsigned threads : {1u, 4u}) {
    PartPool pool(threads);
    for (const std::size_t count : {0, 1, 7, 1000, 3}) {
      std::vector<std::atomic<int>> runs(count);
      pool.Run(count, [&](std::size_t part) { ++runs[part]; });
      for (std::size_t part = 0; part < count; ++part)
        EXPECT_EQ(runs[part], 1) << threads << " " << count << " " << part;
    }
  }
}

TEST(PartPoolTest, RethrowsAfterEveryPartHasRun) {
  PartPool pool(3);
  std::atomic<int> runs{0};
  EXPECT_THROW(pool.Run(100,
                        [&](std::size_t part) {
                          ++runs;
                          if (part % 10 == 3) throw std::runtime_error("no");
                        }),
               std::runtime_error);
  EXPECT_EQ(runs, 100);
  pool.Run(5, [&](std::size_t) { ++runs; });  // still usable
  EXPECT_EQ(runs, 105);
}

}  // namespace
}  // namespace norvane::tools
