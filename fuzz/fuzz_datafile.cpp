// libFuzzer target: arbitrary bytes as the pulse data file.
//
// Each input is written to a scratch file, read by the sequential reader in
// every way the program reads it, then counted by the real main window (one
// process-wide window on the offscreen platform) as a user counts: a single
// count, a series of five and two passes of the continuous run, at a rate and
// a time of day taken from the input. Whatever the bytes:
// - the reader is deterministic and its three reads agree with each other;
// - the window shows the missing-file panel exactly when the file cannot
//   feed the time-of-day skip, and otherwise makes every count asked for;
// - the statistics are true to the counts made (number, sum, classes);
// - every run ends with the command bar back, and the program never ends
//   (the file stays in place, so it can always be reopened).
// A broken property aborts, which libFuzzer reports with the input.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/textfile.h"
#include "ui/ui.h"
#include "window/KESTOR_11.h"

namespace {

constexpr int kDataFile = 2;   // the program's file number
constexpr int kCheckFile = 3;  // the reader checked on its own
constexpr size_t kMostValues = 1 << 16;
constexpr int kEntryOneCount = 0;
constexpr int kEntryFive = 2;
constexpr int kEntryContinuous = 16;
constexpr int kContinuousPasses = 2;
constexpr size_t kCountsPerInput = 1 + 5 + kContinuousPasses;

std::string g_dir;
std::string g_path;
// The toolkit application and the window, for the whole process. libFuzzer
// ends the process with exit(): they are destroyed by an exit handler
// registered once the toolkit is up, so that they go before the toolkit's
// own globals.
ui::Application* g_app = nullptr;
KESTOR_11* g_window = nullptr;

void CloseToolkit() {
  delete g_window;
  g_window = nullptr;
  ui::files::CloseAll();
  delete g_app;
  g_app = nullptr;
}
float g_clock = 0;

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "fuzz_datafile:%d: property broken: %s\n", line, what);
  std::abort();
}
#define CHECK(c)                  \
  do {                            \
    if (!(c)) Fail(#c, __LINE__); \
  } while (0)

void RemoveScratch() {
  std::error_code ec;
  std::filesystem::remove_all(g_dir, ec);
}

void WriteFile(const uint8_t* data, size_t size) {
  std::ofstream out(g_path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// ------------------------------------------------------------ the reader

// Every number of the file, as doubles (at most kMostValues of them).
std::vector<double> ReadAll() {
  std::vector<double> values;
  CHECK(ui::files::Open(kCheckFile, g_path));
  double v = 0;
  while (values.size() < kMostValues && ui::files::Input(kCheckFile, v)) {
    CHECK(!std::isnan(v));  // "nan" is a word, never a number
    values.push_back(v);
  }
  ui::files::Close(kCheckFile);
  CHECK(!ui::files::IsOpen(kCheckFile));
  return values;
}

// True when value v can be read into a 16-bit integer (the opening's skip).
bool Fits16(double v) {
  if (!std::isfinite(v)) return false;
  const double r = std::nearbyint(v);
  return r >= -32768.0 && r <= 32767.0;
}

// A second pass reads the same numbers, in single precision and as 16-bit
// integers, and ends where the first one ended.
void CheckReads(const std::vector<double>& values) {
  CHECK(ui::files::Open(kCheckFile, g_path));
  for (double v : values) {
    float f = -1.0f;
    CHECK(ui::files::InputSingle(kCheckFile, f));
    CHECK(f == static_cast<float>(v) || (std::isnan(f) && std::isnan(static_cast<float>(v))));
  }
  if (values.size() < kMostValues) {
    float f = 7.0f;
    CHECK(!ui::files::InputSingle(kCheckFile, f));
    CHECK(f == 7.0f);  // a failed read leaves the value
  }
  CHECK(ui::files::Open(kCheckFile, g_path));  // reopening starts again
  for (double v : values) {
    int16_t i = 12345;
    const bool fits = Fits16(v);
    CHECK(ui::files::InputInt16(kCheckFile, i) == fits);
    if (fits) CHECK(i == static_cast<int16_t>(std::nearbyint(v)));
  }
  ui::files::CloseAll();
}

// ------------------------------------------------------------ the window

void OpenWindow() {
  ui::seams::Reset();
  ui::seams::SetScreenTwips(640 * 15.0f, 480 * 15.0f);  // the smallest screen: fewer pixels to fill
  // The clock moves 100 s at every reading: each pause of the continuous
  // run ends at once, and every opening skips the same number of values.
  ui::seams::SetClock([] {
    const float t = g_clock;
    g_clock += 100.0f;
    return t;
  });
  ui::seams::SetDataFileCandidates({g_path});
  g_window = new KESTOR_11();
  ui::Application::LoadForm(*g_window);
  CHECK(!ui::Ended());
}

// The counts made, seen at the yields of the runs and after each run.
struct Tally {
  std::vector<int32_t> counts;
  int yields = 0;
  void See(const KESTOR_11& k) {
    const auto seen = static_cast<int32_t>(counts.size());
    if (k.SN_L == seen + 1) {
      counts.push_back(k.N1C_L);
    } else {
      CHECK(k.SN_L == seen);
    }
  }
};

void Run(KESTOR_11& k, int entry) {
  k.LANCER.FireClick();
  CHECK(k.LANCER_N.Shown());
  k.LANCER_N.SetListIndex(entry);
  k.LANCER_N.FireMouseUp();
  CHECK(!ui::Ended());
  CHECK(k.COMPTAGE_I == 0 && k.MARCHE_I == 0);
  CHECK(k.LANCER.Shown() && k.FIN.Shown() && !k.Label34.Shown());
}

void CheckStatistics(const KESTOR_11& k, const Tally& t) {
  CHECK(k.SN_L == static_cast<int32_t>(t.counts.size()));
  int64_t sum = 0;
  std::array<int32_t, 51> classes{};
  for (int32_t v : t.counts) {
    CHECK(v >= 0);
    sum += v;
    if (v <= 50) ++classes[static_cast<size_t>(v)];
  }
  CHECK(k.S1_L == sum);
  CHECK(k.EFFECTIF_L == classes);
}

// How much of the counting an input gets, by a bound on its cost. A count
// reads intervals until the strip is full: at most 6144 / a + 1 of them when
// every interval advances a pulse by at least a units (0 and values that are
// not finite count as 1), up to the count's cap of a million when some
// interval goes backwards or hardly forwards; on a file of n values, every
// n-th read reopens the file. Inputs whose counts are cheap get every run;
// dearer ones a single count; the dearest (a short file that never fills the
// strip: seconds a count) the reader alone, the test suite covering that
// count.
enum class Counting { kNone, kOneCount, kEveryRun };

Counting HowMuch(const std::vector<double>& values) {
  if (values.empty()) return Counting::kEveryRun;  // the missing-file panel: no read at all
  double advance = 1e30;
  for (double v : values) {
    float f = static_cast<float>(v);
    if (!std::isfinite(f) || f == 0.0f) f = 1.0f;
    advance = std::min(advance, static_cast<double>(f));
  }
  const double reads = advance < 1.0 ? 1e6 : 6144.0 / advance + 1.0;
  const double cost = reads + 50.0 * reads / static_cast<double>(values.size());
  if (cost <= 2e4) return Counting::kEveryRun;
  if (cost <= 2e6) return Counting::kOneCount;
  return Counting::kNone;
}

void Count(const uint8_t* data, size_t size, const std::vector<double>& values, Counting how) {
  KESTOR_11& k = *g_window;
  // A fresh start for this file: nothing open, empty statistics.
  ui::files::Close(kDataFile);
  k.FICHIER_T.clear();
  ui::Dispatch([&] { k.RAZ(); });
  CHECK(!ui::Ended());
  k.EFFECTIF_L.fill(0);
  // Rate and time of day from the input.
  const int rate = size > 0 ? data[0] % 6 : 1;
  const int skip = size > 0 ? data[size - 1] % 101 : 0;
  k.ACTIVITES.FireClick();
  k.ACTIV.SetListIndex(rate);
  k.ACTIV.FireClick();
  CHECK(!k.ATTENTION.Shown());
  g_clock = skip == 0 ? 0.5f : static_cast<float>(skip);  // 100.5 s skips none, 200 s 100

  // The opening skips `skip` values read as 16-bit integers.
  bool missing = values.empty() || values.size() < static_cast<size_t>(skip);
  for (size_t i = 0; i < values.size() && i < static_cast<size_t>(skip); ++i)
    missing = missing || !Fits16(values[i]);

  Tally t;
  int yields_in_run = 0;
  ui::seams::SetYieldHook([&] {
    t.See(k);
    ++t.yields;
    if (++yields_in_run == kContinuousPasses && k.MARCHE_I == 2) k.Label34.FireClick();
  });
  std::vector<int> entries = {kEntryOneCount};
  if (how == Counting::kEveryRun) entries = {kEntryOneCount, kEntryFive, kEntryContinuous};
  for (int entry : entries) {
    yields_in_run = 0;
    Run(k, entry);
    t.See(k);
  }
  ui::seams::SetYieldHook({});

  if (missing) {
    CHECK(t.counts.empty());
    // The series and the continuous run stop after their first pass.
    CHECK(t.yields == (how == Counting::kEveryRun ? 2 : 0));
    CHECK(k.ERREUR_I == 1 && k.DISK_0.Shown() && k.FICHIER_T.empty());
    CHECK(!ui::files::IsOpen(kDataFile));
  } else {
    CHECK(t.counts.size() == (how == Counting::kEveryRun ? kCountsPerInput : 1u));
    CHECK(k.ERREUR_I == 0 && !k.DISK_0.Shown() && k.FICHIER_T == g_path);
    CHECK(ui::files::IsOpen(kDataFile));
  }
  CheckStatistics(k, t);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  char dir[] = "/tmp/kestor-fuzz-XXXXXX";
  if (!mkdtemp(dir)) Fail("mkdtemp", __LINE__);
  g_dir = dir;
  g_path = g_dir + "/KESTOR_11.KSQ";
  std::atexit(RemoveScratch);
  // The toolkit gets arguments of its own: libFuzzer's flags are not for it.
  static int argc = 1;
  static char name[] = "fuzz_datafile";
  static char* argv[] = {name, nullptr};
  g_app = new ui::Application(argc, argv);
  OpenWindow();
  std::atexit(CloseToolkit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFile(data, size);
  const std::vector<double> values = ReadAll();
  CheckReads(values);
  const Counting how = HowMuch(values);
  if (how != Counting::kNone) Count(data, size, values, how);
  return 0;
}
