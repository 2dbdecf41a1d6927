#pragma once
/**
 * \file PiecesInOrder.hpp
 * \brief A long run of items (the points of a grid, the lines of an input)
 *   worked out on several threads and taken back in their order, a bounded
 *   block at a time, so that the output streams and is the same for any
 *   number of threads.
 */

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tools/common/ParallelFor.hpp"

namespace norvane::tools {

/// Pieces in one block per thread: enough that a slow piece does not keep
/// the other threads idle, few enough that a block's results stay small.
constexpr unsigned kPiecesPerThread = 4;

/**
 * Works through items 0 to count - 1 in pieces of `pieceSize` consecutive
 * items (the last piece may be shorter).  A block of pieces at a time (at
 * least kPiecesPerThread x threads pieces, and at least `blockItems` items
 * if the count has them), each piece is worked out on one of up to
 * `threads` threads into a State of its own; then the block's states are
 * taken, one after another, in the order of their items.  At most one
 * block's states exist at once, whatever the count.  Each state is kept
 * from block to block, so that buffers keep their memory: a piece gets the
 * state its slot's last piece left, default-constructed at first, and
 * starts by clearing it.
 *
 * @param[in] count the number of items, may be 0.
 * @param[in] pieceSize items per piece, at least 1.
 * @param[in] threads at most this many threads; 0 counts as 1.
 * @param[in] blockItems items a block should hold at least: the threads
 *   are started and joined once a block, which on a busy machine may cost
 *   a scheduling delay, so a block should hold far more work than that, as
 *   far as its states' memory allows.
 * @param[in] work called as work(state, begin, end) for the items begin to
 *   end - 1 of a piece, to clear the state and fill it; may run on any
 *   thread, together with other pieces' calls, so it must write only its
 *   state.  If it throws, the exception of the lowest piece that threw
 *   leaves this function (see ParallelFor) and that block's states are not
 *   taken.
 * @param[in] take called as take(state) on the calling thread, piece by
 *   piece in order; false stops the run there: no later piece is taken and
 *   no later block is worked out.
 */
template <typename State, typename Work, typename Take>
void PiecesInOrder(std::uint64_t count, std::uint64_t pieceSize,
                   unsigned threads, std::uint64_t blockItems, const Work& work,
                   const Take& take) {
  const std::uint64_t perBlock =
      std::max(std::uint64_t{kPiecesPerThread} * std::max(1u, threads),
               std::min(count, blockItems) / pieceSize);
  std::vector<State> states(static_cast<std::size_t>(perBlock));
  for (std::uint64_t first = 0; first < count;) {
    const std::uint64_t pieces =
        std::min(perBlock, (count - first + pieceSize - 1) / pieceSize);
    ParallelFor(static_cast<std::size_t>(pieces), threads, [&](std::size_t p) {
      const std::uint64_t begin = first + p * pieceSize;
      work(states[p], begin, std::min(begin + pieceSize, count));
    });
    for (std::uint64_t p = 0; p < pieces; ++p)
      if (!take(states[static_cast<std::size_t>(p)])) return;
    first = std::min(count, first + pieces * pieceSize);
  }
}

}  // namespace norvane::tools
