#pragma once
/**
 * \file HeapCount.hpp
 * \brief Counting the heap allocations a benchmark binary makes.
 *
 * Linking HeapCount.cpp into a binary replaces the C allocation functions
 * with counting ones that hand over to the C library's own allocator, so
 * every allocation is seen: malloc and its relatives as well as operator
 * new, which allocates through malloc.  Needs the GNU C library; not for
 * sanitizer builds, whose runtime replaces the same functions.
 */

#include <cstddef>

namespace norvane::bench {

/// Number of successful heap allocations and reallocations since the
/// process started.
std::size_t HeapAllocations();

}  // namespace norvane::bench
