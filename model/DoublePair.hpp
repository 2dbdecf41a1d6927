#pragma once
/**
 * \file DoublePair.hpp
 * \brief Two doubles operated on side by side.
 */

// SSE2 is part of every x86-64 target and of 32-bit x86 builds that ask for
// it; elsewhere, or when NORVANE_SCALAR_PAIRS is defined, two plain doubles
// give the same results.
#if !defined(NORVANE_SCALAR_PAIRS) &&        \
    (defined(__SSE2__) || defined(_M_X64) || \
     (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define NORVANE_PAIRS_SSE2 1
#include <emmintrin.h>
#endif

namespace norvane {

/**
 * \brief A pair of IEEE doubles with lane-wise arithmetic.
 *
 * Each operation acts on the two lanes independently and rounds exactly as
 * the scalar operation would, so results do not depend on whether the pair
 * maps to a vector register.
 */
class DoublePair {
 public:
  /**
   * @param[in] first value of lane 0.
   * @param[in] second value of lane 1.
   */
  DoublePair(double first, double second);

  /**
   * @param[in] value value of both lanes.
   * @return the pair (value, value).
   */
  static DoublePair Both(double value);

  /**
   * @param[in] two address of two adjacent doubles; need not be aligned.
   * @return the pair (two[0], two[1]).
   */
  static DoublePair Load(const double* two);

  /**
   * @param[out] two address of two adjacent doubles; need not be aligned.
   */
  void Store(double* two) const;

  /// @return lane 0.
  double first() const;
  /// @return lane 1.
  double second() const;

  friend DoublePair operator+(DoublePair x, DoublePair y);
  friend DoublePair operator-(DoublePair x, DoublePair y);
  friend DoublePair operator*(DoublePair x, DoublePair y);
  DoublePair& operator+=(DoublePair y) { return *this = *this + y; }

 private:
#ifdef NORVANE_PAIRS_SSE2
  explicit DoublePair(__m128d lanes) : lanes_(lanes) {}
  __m128d lanes_;
#else
  double first_;
  double second_;
#endif
};

#ifdef NORVANE_PAIRS_SSE2

inline DoublePair::DoublePair(double first, double second)
    : lanes_(_mm_set_pd(second, first)) {}
inline DoublePair DoublePair::Both(double value) {
  return DoublePair(_mm_set1_pd(value));
}
inline DoublePair DoublePair::Load(const double* two) {
  return DoublePair(_mm_loadu_pd(two));
}
inline void DoublePair::Store(double* two) const { _mm_storeu_pd(two, lanes_); }
inline double DoublePair::first() const { return _mm_cvtsd_f64(lanes_); }
inline double DoublePair::second() const {
  return _mm_cvtsd_f64(_mm_unpackhi_pd(lanes_, lanes_));
}
inline DoublePair operator+(DoublePair x, DoublePair y) {
  return DoublePair(_mm_add_pd(x.lanes_, y.lanes_));
}
inline DoublePair operator-(DoublePair x, DoublePair y) {
  return DoublePair(_mm_sub_pd(x.lanes_, y.lanes_));
}
inline DoublePair operator*(DoublePair x, DoublePair y) {
  return DoublePair(_mm_mul_pd(x.lanes_, y.lanes_));
}

#else

inline DoublePair::DoublePair(double first, double second)
    : first_(first), second_(second) {}
inline DoublePair DoublePair::Both(double value) {
  return DoublePair(value, value);
}
inline DoublePair DoublePair::Load(const double* two) {
  return DoublePair(two[0], two[1]);
}
inline void DoublePair::Store(double* two) const {
  two[0] = first_;
  two[1] = second_;
}
inline double DoublePair::first() const { return first_; }
inline double DoublePair::second() const { return second_; }
inline DoublePair operator+(DoublePair x, DoublePair y) {
  return DoublePair(x.first_ + y.first_, x.second_ + y.second_);
}
inline DoublePair operator-(DoublePair x, DoublePair y) {
  return DoublePair(x.first_ - y.first_, x.second_ - y.second_);
}
inline DoublePair operator*(DoublePair x, DoublePair y) {
  return DoublePair(x.first_ * y.first_, x.second_ * y.second_);
}

#endif

}  // namespace norvane
