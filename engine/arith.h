// Arithmetic at the width of the counting-state members.
//
// Members carry their width in their suffix (_I 16-bit, _L 32-bit). Every
// sum, product and conversion into such a member goes through these helpers:
// an overflow saturates at the member's limit (32767, 2147483647 and their
// negatives) instead of wrapping, and a conversion of a value that is not a
// number gives 0. No operation here has undefined behaviour.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace arith {

template <class T>
constexpr T Saturate(long long v) {
  if (v > std::numeric_limits<T>::max()) return std::numeric_limits<T>::max();
  if (v < std::numeric_limits<T>::min()) return std::numeric_limits<T>::min();
  return static_cast<T>(v);
}

// a + b at the width of T.
template <class T>
constexpr T Add(T a, long long b) {
  return Saturate<T>(static_cast<long long>(a) + b);
}

// a * b at the width of T (operands small enough for 64 bits: |b| < 2^31).
template <class T>
constexpr T Mul(T a, long long b) {
  return Saturate<T>(static_cast<long long>(a) * b);
}

// Rounds to the nearest integer, halves to the even neighbour, then
// saturates at the width of T. NaN gives 0.
template <class T>
T Round(double v) {
  if (std::isnan(v)) return 0;
  const double lo = std::numeric_limits<T>::min(), hi = std::numeric_limits<T>::max();
  // The default rounding mode: to nearest, ties to even.
  return static_cast<T>(std::nearbyint(std::clamp(v, lo, hi)));
}

// Rounds down (Int), saturating at the width of T. NaN gives 0.
template <class T>
T Floor(double v) {
  if (std::isnan(v)) return 0;
  return Round<T>(std::floor(v));
}

}  // namespace arith
