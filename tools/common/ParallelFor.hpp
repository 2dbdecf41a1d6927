#pragma once
/**
 * \file ParallelFor.hpp
 * \brief Independent pieces of work shared out among threads: the rows of a
 *   grid, the vertices of a chart's lines.
 *
 * Each piece writes only what belongs to it, so the result is the same,
 * byte for byte, for any number of threads.
 */

#include <cstddef>
#include <functional>
#include <string_view>

namespace norvane::tools {

/**
 * @return the number of threads the tools use when the user does not say:
 *   the machine's hardware threads, at least 1.
 */
unsigned HardwareThreads();

/// Most threads a user may ask for: more than any machine the tools meet
/// has, few enough that asking cannot exhaust the system.
constexpr unsigned kMaxThreads = 1024;

/**
 * Reads a number of threads, as the tools' --threads takes it.
 *
 * @param[in] text decimal digits.
 * @param[out] threads the number, 1 to kMaxThreads.
 * @return nullptr on success, else why not: "is not a whole number from 1
 *   to 1024".
 */
const char* ParseThreadCount(std::string_view text, unsigned& threads);

/**
 * Calls work(i) once for every i from 0 to count - 1, on up to `threads`
 * threads (the calling one among them).  Indices are handed out in
 * increasing order, one at a time, to whichever thread is free; work(i)
 * must write only what belongs to i.  If a thread cannot be started, the
 * others do its share.
 *
 * If calls throw, no further indices are handed out and, once every thread
 * has stopped, the exception of the lowest index that threw is rethrown:
 * the same one as with a single thread.
 *
 * @param[in] count the number of pieces, may be 0.
 * @param[in] threads at most this many threads; 0 counts as 1.
 * @param[in] work called with each index; may throw.
 */
void ParallelFor(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t)>& work);

}  // namespace norvane::tools
