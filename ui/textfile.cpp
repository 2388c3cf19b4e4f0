// Sequential text input by file number, without the toolkit.
//
// Each open number owns a file descriptor and a 64 KiB block buffer. A read
// finds the next field (the bytes up to a comma, a line feed or a carriage
// return), trims blanks and tabs, and parses it by hand: optional sign,
// digits with an optional ".", an optional exponent (e or E, optional sign,
// digits). A field that is anything else (empty, a word, "inf", "nan",
// binary bytes) is skipped. The parse never consults the locale.
//
// Choices:
// - Only a regular file opens: a directory, a device or a pipe does not (a
//   device such as /dev/zero would never end a field).
// - A UTF-8 byte-order mark at the start of a file is ignored.
// - A field longer than one block (64 KiB) is taken as not a number.
// - A number too large for a double reads as an infinity of its sign (which
//   InputInt16 refuses); one too small reads as 0.
#include "ui/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "ui/charconv.h"

namespace ui::files {

namespace {

constexpr size_t kBlock = 64 * 1024;
constexpr int kMaxFile = 255;

// Byte classes of the field scanner.
constexpr bool IsSeparator(char c) {
  return c == '\n' || c == ',' || c == '\r';
}
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Exact powers of ten of a double: 10^0 to 10^22.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Parses [b, e) as one decimal number, blanks around allowed. Returns false
// for anything else; otherwise out is the nearest double to the number (a
// number written with more than 40 significant digits is read from its
// first 40).
bool ParseNumber(const char* b, const char* e, double& out) {
  while (b < e && IsBlank(*b)) ++b;
  while (e > b && IsBlank(e[-1])) --e;
  if (b == e) return false;
  const char* p = b;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Significant digits, and the power of ten that scales them as an integer.
  constexpr int kMaxSig = 40;
  char sig[kMaxSig + 24];
  int nsig = 0;
  long long exp10 = 0;
  bool any_digit = false;
  for (; p < e && IsDigit(*p); ++p) {
    any_digit = true;
    if (nsig == 0 && *p == '0') continue;
    if (nsig < kMaxSig) {
      sig[nsig++] = *p;
    } else {
      ++exp10;
    }
  }
  if (p < e && *p == '.') {
    for (++p; p < e && IsDigit(*p); ++p) {
      any_digit = true;
      if (nsig == 0 && *p == '0') {
        --exp10;
      } else if (nsig < kMaxSig) {
        sig[nsig++] = *p;
        --exp10;
      }
    }
  }
  if (!any_digit) return false;
  if (p < e && (*p == 'e' || *p == 'E')) {
    ++p;
    bool exp_negative = false;
    if (p < e && (*p == '+' || *p == '-')) {
      exp_negative = *p == '-';
      ++p;
    }
    if (p == e || !IsDigit(*p)) return false;
    long long written = 0;
    for (; p < e && IsDigit(*p); ++p) {
      if (written < 100000000) written = written * 10 + (*p - '0');
    }
    exp10 += exp_negative ? -written : written;
  }
  if (p != e) return false;

  double value = 0.0;
  if (nsig > 0) {
    // Up to 19 digits fit 64 bits; 10^22 is the largest exact power of ten.
    const bool fast = nsig <= 19 && exp10 >= -22 && exp10 <= 22;
    uint64_t mantissa = 0;
    for (int i = 0; fast && i < nsig; ++i)
      mantissa = mantissa * 10 + static_cast<uint64_t>(sig[i] - '0');
    if (fast && mantissa <= (uint64_t{1} << 53)) {
      // Both operands are exact, so the one rounding is the correct one.
      const double m = static_cast<double>(mantissa);
      value = exp10 >= 0 ? m * kPow10[exp10] : m / kPow10[-exp10];
    } else {
      // Long or far-scaled numbers: the standard's locale-free conversion.
      char* const text_end = sig + sizeof sig;
      char* q = sig + nsig;
      *q++ = 'e';
      q = std::to_chars(q, text_end, exp10).ptr;
      const std::errc ec = conv::ParseDouble(sig, q, value);
      if (ec == std::errc::result_out_of_range) {
        value = exp10 > 0 ? std::numeric_limits<double>::infinity() : 0.0;
      } else if (ec != std::errc()) {
        return false;
      }
    }
  }
  out = negative ? -value : value;
  return true;
}

// One open file: a descriptor and its block buffer. The buffer holds the
// unread bytes [pos, end); a partial field is moved to the front before the
// next block is read behind it, so a number split by a block boundary is
// parsed whole.
class Reader {
 public:
  explicit Reader(int fd) : fd_(fd), buf_(new char[kBlock]) {}
  ~Reader() { ::close(fd_); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // Next number of the file; false at the end or on a read error.
  bool Next(double& value) {
    const char* b;
    const char* e;
    while (NextField(b, e)) {
      if (ParseNumber(b, e, value)) return true;
    }
    return false;
  }

 private:
  // Finds the next field [b, e); false when the file has no more bytes.
  // Fields longer than the buffer come back empty (not a number).
  bool NextField(const char*& b, const char*& e) {
    size_t scan = pos_;  // bytes [pos_, scan) belong to the field already
    bool overlong = false;
    for (;;) {
      const char* p = buf_.get() + scan;
      const char* const stop = buf_.get() + end_;
      while (p < stop && !IsSeparator(*p)) ++p;
      if (p < stop) {
        b = buf_.get() + pos_;
        e = p;
        pos_ = static_cast<size_t>(p - buf_.get()) + 1;
        if (overlong) e = b;
        return true;
      }
      if (eof_) {
        if (pos_ == end_ && !overlong) return false;
        b = buf_.get() + pos_;
        e = overlong ? b : stop;
        pos_ = end_;
        return true;
      }
      // Keep the partial field at the front and read a block behind it.
      size_t partial = end_ - pos_;
      if (partial == kBlock) {
        overlong = true;  // no number is this long: drop what was seen
        partial = 0;
      }
      std::memmove(buf_.get(), buf_.get() + pos_, partial);
      pos_ = 0;
      end_ = partial;
      Fill();
      scan = partial > pos_ ? partial : pos_;
    }
  }

  // Reads bytes behind end_ until the buffer is full or the file ends.
  void Fill() {
    while (end_ < kBlock) {
      const ssize_t n = ::read(fd_, buf_.get() + end_, kBlock - end_);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        eof_ = true;  // a read error ends the input like the end of the file
        break;
      }
      end_ += static_cast<size_t>(n);
      if (at_start_) SkipByteOrderMark();
    }
  }

  void SkipByteOrderMark() {
    if (end_ < 3) return;
    at_start_ = false;
    if (std::memcmp(buf_.get(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
  }

  int fd_;
  std::unique_ptr<char[]> buf_;
  size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool at_start_ = true;
};

std::array<std::unique_ptr<Reader>, kMaxFile + 1>& Files() {
  static std::array<std::unique_ptr<Reader>, kMaxFile + 1> files;
  return files;
}

Reader* Get(int num) {
  if (num < 1 || num > kMaxFile) return nullptr;
  return Files()[static_cast<size_t>(num)].get();
}

}  // namespace

bool Open(int num, const std::string& path) {
  if (num < 1 || num > kMaxFile) return false;
  Close(num);
  if (path.empty()) return false;
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  Files()[static_cast<size_t>(num)] = std::make_unique<Reader>(fd);
  return true;
}

bool IsOpen(int num) {
  return Get(num) != nullptr;
}

void Close(int num) {
  if (num < 1 || num > kMaxFile) return;
  Files()[static_cast<size_t>(num)].reset();
}

void CloseAll() {
  for (auto& f : Files()) f.reset();
}

bool Input(int num, double& value) {
  Reader* r = Get(num);
  return r != nullptr && r->Next(value);
}

bool InputSingle(int num, float& value) {
  double v;
  if (!Input(num, v)) return false;
  value = static_cast<float>(v);
  return true;
}

bool InputInt16(int num, int16_t& value) {
  double v;
  if (!Input(num, v)) return false;
  if (!std::isfinite(v)) return false;
  const double r = std::nearbyint(v);  // to nearest, halves to even
  if (r < -32768.0 || r > 32767.0) return false;
  value = static_cast<int16_t>(r);
  return true;
}

}  // namespace ui::files
