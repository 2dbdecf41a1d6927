#pragma once
/**
 * \file Fuzz.hpp
 * \brief What every fuzz target uses: typed values read off the input bytes,
 *   and the check that turns a broken property into a finding.
 */

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace norvane::fuzz {

/**
 * \brief The input bytes as a stream of raw values, front to back.
 *
 * Every bit pattern is passed on as it is, so doubles include NaNs, the
 * infinities, denormals and negative zero.  Bytes missing at the end read as
 * zero, so every input, however short, gives values for everything.
 */
class FuzzInput {
 public:
  /**
   * @param[in] data the input bytes; must outlive the reader.
   * @param[in] size number of bytes.
   */
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : data_(data), size_(size) {}

  /**
   * The next sizeof(T) bytes as a T, in the machine's byte order.
   *
   * @tparam T an arithmetic type other than bool (not every byte is a bool).
   */
  template <typename T>
  T Take() {
    static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>);
    unsigned char bytes[sizeof(T)] = {};
    const std::size_t n = std::min(sizeof(T), size_);
    if (n != 0) std::memcpy(bytes, data_, n);
    data_ += n;
    size_ -= n;
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }

  /// Number of bytes not read yet.
  std::size_t Remaining() const { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

/**
 * Stops the run, as a finding, when a property does not hold: libFuzzer keeps
 * the input that broke it.
 *
 * @param[in] holds the property.
 * @param[in] what the property, for the report.
 */
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace norvane::fuzz
