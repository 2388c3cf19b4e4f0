// Number text: the one rule by which every number in a caption is written.
//
// A blank for a value of 0 or more, a minus sign otherwise; the value rounded
// to 15 significant digits; no thousands separator; "." as decimal point
// whatever the locale (the digits never come from a locale-aware printf);
// no 0 before the point below 1; no trailing zeros and no point for a whole
// value: 51 " 51", 56.25 " 56.25", 0.5 " .5", -0.5 "-.5".
//
// Outside what the program shows, our choices:
// - magnitudes of 1e15 and more, or below 1e-5 (after the rounding to 15
//   digits) are written with a mantissa and a signed exponent of at least two
//   digits: " 1E+15", " 1.5E+20", "-2.5E-07";
// - negative zero is written " 0"; a NaN " NaN"; infinities " Inf" and "-Inf".
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "ui/charconv.h"
#include "ui/ui.h"

namespace ui {

namespace {

constexpr int kDigits = 15;
constexpr int kFirstExponentForm = 15;  // 1e15 and above
constexpr int kLastPlainExponent = -5;  // 1e-5 and above are written in full

}  // namespace

std::string Str(double v) {
  if (std::isnan(v)) return " NaN";
  if (std::isinf(v)) return v > 0 ? " Inf" : "-Inf";
  if (v == 0) return " 0";
  std::string text(1, v < 0 ? '-' : ' ');

  // "d.dddddddddddddde+XX": the 15 significant digits, correctly rounded.
  char buf[40];
  const char* const end = conv::Scientific(buf, buf + sizeof buf, std::fabs(v), kDigits - 1);
  std::string digits(1, buf[0]);
  const char* p = buf + 1;
  if (*p == '.') {
    for (++p; *p != 'e'; ++p) digits += *p;
  }
  // Exponent: 'e', a sign, two or three digits.
  const bool exponent_negative = p[1] == '-';
  int exponent = 0;
  for (const char* q = p + 2; q < end; ++q) exponent = exponent * 10 + (*q - '0');
  if (exponent_negative) exponent = -exponent;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int n = static_cast<int>(digits.size());

  if (exponent >= kFirstExponentForm || exponent < kLastPlainExponent) {
    text += digits[0];
    if (n > 1) text += "." + digits.substr(1);
    const int e = std::abs(exponent);
    text += exponent < 0 ? "E-" : "E+";
    if (e < 10) text += '0';
    text += std::to_string(e);
  } else if (exponent >= 0) {
    const int whole = exponent + 1;  // digits before the point
    if (n <= whole) {
      text += digits + std::string(static_cast<size_t>(whole - n), '0');
    } else {
      text += digits.substr(0, static_cast<size_t>(whole)) + "." +
              digits.substr(static_cast<size_t>(whole));
    }
  } else {
    text += "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  }
  return text;
}

}  // namespace ui
