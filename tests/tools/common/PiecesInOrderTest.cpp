// Items worked out in pieces on several threads come back in their order,
// a bounded block at a time, and a stop or a failure ends the run there.

#include "tools/common/PiecesInOrder.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/common/ParallelFor.hpp"

namespace norvane::tools {
namespace {

using Items = std::vector<std::uint64_t>;

TEST(PiecesInOrderTest, TakesEveryItemOnceInOrder) {
  for (const std::uint64_t count : {0u, 1u, 5u, 1000u, 1001u}) {
    for (const std::uint64_t pieceSize : {1u, 7u, 256u}) {
      for (const unsigned threads : {0u, 1u, 2u, 8u}) {
        Items taken;
        PiecesInOrder<Items>(
            count, pieceSize, threads, count / 3,
            [pieceSize](Items& piece, std::uint64_t begin, std::uint64_t end) {
              piece.clear();
              EXPECT_LE(end - begin, pieceSize);
              for (std::uint64_t i = begin; i < end; ++i) piece.push_back(i);
            },
            [&taken](const Items& piece) {
              taken.insert(taken.end(), piece.begin(), piece.end());
              return true;
            });
        ASSERT_EQ(taken.size(), count)
            << pieceSize << " a piece, " << threads << " threads";
        for (std::uint64_t i = 0; i < count; ++i) ASSERT_EQ(taken[i], i);
      }
    }
  }
}

// A stop in the first block leaves the later blocks unworked: at most one
// block's pieces are ever worked out ahead of what is taken.
TEST(PiecesInOrderTest, StopsWhereTheTakerSays) {
  for (const unsigned threads : {1u, 2u, 8u}) {
    std::atomic<std::uint64_t> worked{0};
    Items taken;
    PiecesInOrder<Items>(
        100000, 1, threads, 0,
        [&worked](Items& piece, std::uint64_t begin, std::uint64_t) {
          ++worked;
          piece.assign(1, begin);
        },
        [&taken](const Items& piece) {
          taken.push_back(piece.front());
          return piece.front() < 2;
        });
    EXPECT_EQ(taken, (Items{0, 1, 2}));
    EXPECT_LE(worked.load(), std::uint64_t{kPiecesPerThread} * threads);
  }
}

TEST(PiecesInOrderTest, AFailureLeavesItsBlockUntaken) {
  for (const unsigned threads : {1u, 2u, 8u}) {
    Items taken;
    EXPECT_THROW(PiecesInOrder<Items>(
                     1000, 10, threads, 0,
                     [](Items& piece, std::uint64_t begin, std::uint64_t) {
                       if (begin >= 500) throw std::runtime_error("full");
                       piece.assign(1, begin);
                     },
                     [&taken](const Items& piece) {
                       taken.push_back(piece.front());
                       return true;
                     }),
                 std::runtime_error);
    // Everything taken lies before the failure, in order.
    for (std::size_t k = 0; k < taken.size(); ++k) EXPECT_EQ(taken[k], 10 * k);
    EXPECT_LT(taken.size(), 50u);
  }
}

TEST(ParseThreadCountTest, TakesWholeNumbersFromOneTo1024) {
  const struct {
    const char* text;
    unsigned threads;  // 0: refused
  } cases[] = {{"1", 1},
               {"2", 2},
               {"1024", 1024},
               {"0", 0},
               {"1025", 0},
               {"-1", 0},
               {"+2", 0},
               {"1.5", 0},
               {"2x", 0},
               {" 2", 0},
               {"", 0},
               {"many", 0},
               {"99999999999999999999", 0}};
  for (const auto& c : cases) {
    unsigned threads = 77;
    const char* problem = ParseThreadCount(c.text, threads);
    if (c.threads == 0) {
      EXPECT_STREQ(problem, "is not a whole number from 1 to 1024") << c.text;
      EXPECT_EQ(threads, 77u) << c.text;
    } else {
      EXPECT_EQ(problem, nullptr) << c.text;
      EXPECT_EQ(threads, c.threads) << c.text;
    }
  }
}

}  // namespace
}  // namespace norvane::tools
