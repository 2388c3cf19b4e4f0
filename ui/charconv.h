// Locale-free conversions between doubles and text, for the number text and
// the text-file input. The standard's own (std::to_chars, std::from_chars)
// where the library has them for doubles; the browser's C library (always
// in the "C" locale) has them only for integers, and serves instead with
// its printf and strtod, which there never consult a locale.
#pragma once

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace ui::conv {

// v (finite, not negative) as "d.ddd...e+XX" with that many digits after the
// point, correctly rounded; returns the end of the text.
inline char* Scientific(char* first, char* last, double v, int digits_after_point) {
#ifdef __EMSCRIPTEN__
  const int n =
      std::snprintf(first, static_cast<size_t>(last - first), "%.*e", digits_after_point, v);
  return n < 0 || first + n >= last ? first : first + n;
#else
  return std::to_chars(first, last, v, std::chars_format::scientific, digits_after_point).ptr;
#endif
}

// Parses [first, last) (a decimal number, "digits e exponent") into value.
// errc::result_out_of_range when it is beyond a double, another error when
// it is no number.
inline std::errc ParseDouble(const char* first, const char* last, double& value) {
#ifdef __EMSCRIPTEN__
  const std::string text(first, last);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return std::errc::invalid_argument;
  // strtod returns an infinity, or 0 with ERANGE, for an overflow; the
  // standard's conversion reports both ways out of range.
  if (errno == ERANGE) return std::errc::result_out_of_range;
  value = v;
  return std::errc();
#else
  return std::from_chars(first, last, value).ec;
#endif
}

}  // namespace ui::conv
