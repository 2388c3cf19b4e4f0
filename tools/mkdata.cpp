// mkdata OUTPUT_PATH
//
// Writes the pulse data file KESTOR_11.KSQ: independent intervals between
// detector pulses, drawn from an exponential distribution of mean 250, one
// integer per line. The file is the same byte for byte on every machine and
// compiler: the generator is std::mt19937 with a fixed seed (its output
// sequence is fixed by the C++ standard), and the standard distributions,
// whose algorithms differ between libraries, are not used. Each raw 32-bit
// output x becomes u = (x + 0.5) / 2^32 in (0, 1), exactly, and the interval
// -250 ln(u), rounded to the nearest integer.
#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

constexpr std::uint32_t kSeed = 20261205;
constexpr double kMean = 250.0;
// One pass of the file must feed a series of 100000 counts at 16 pulses per
// second, about 1.536 x 16 + 1 = 25.6 values a count: 2.56 million values.
constexpr long kValues = 2800000;
// The reader takes its first values into a 16-bit signed integer.
constexpr long kSmallValues = 100;
// Rounding stays the same under any logarithm accurate to far better than
// this: no interval of the sequence lies closer than this to a half-integer.
constexpr double kTieMargin = 1e-8;
constexpr std::size_t kChunk = 1 << 20;

std::FILE* out = nullptr;
const char* path = nullptr;
bool regular_file = false;  // only a regular file is removed on failure

// Reports an error in one line and leaves no partial file behind, so that a
// failed run is not taken for a finished one by the next build.
[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "mkdata: %s\n", message.c_str());
  if (out != nullptr) {
    std::fclose(out);
    if (regular_file) std::remove(path);
  }
  std::exit(1);
}

[[noreturn]] void FailIo(const char* what) {
  Fail(std::string(what) + " " + path + ": " + std::strerror(errno));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkdata OUTPUT_PATH\n");
    return 2;
  }
  path = argv[1];
  out = std::fopen(path, "wb");
  if (out == nullptr) FailIo("cannot create");
  struct stat status;
  regular_file = fstat(fileno(out), &status) == 0 && S_ISREG(status.st_mode);

  std::mt19937 gen(kSeed);
  std::string buffer;
  buffer.reserve(kChunk + 64);
  char digits[32];
  for (long n = 0; n < kValues; ++n) {
    const double u = (static_cast<double>(gen()) + 0.5) / 4294967296.0;
    const double v = -kMean * std::log(u);
    const double rounded = std::floor(v + 0.5);
    if (std::fabs(v - std::floor(v) - 0.5) < kTieMargin) {
      Fail("value " + std::to_string(n) + " lies too close to a rounding tie");
    }
    const long value = static_cast<long>(rounded);
    if (n < kSmallValues && (value < INT16_MIN || value > INT16_MAX)) {
      Fail("value " + std::to_string(n) + " (" + std::to_string(value) +
           ") does not fit a 16-bit integer");
    }
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer.append(digits, result.ptr);
    buffer.push_back('\n');
    if (buffer.size() >= kChunk) {
      if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size()) {
        FailIo("cannot write");
      }
      buffer.clear();
    }
  }
  if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size()) {
    FailIo("cannot write");
  }
  const int closed = std::fclose(out);
  out = nullptr;
  if (closed != 0) {
    const int error = errno;
    if (regular_file) std::remove(path);
    errno = error;
    FailIo("cannot close");
  }
  return 0;
}
