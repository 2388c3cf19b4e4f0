// Robustness: hostile pulse data files at every rate, every screen size,
// statistics pushed to their 32-bit limits, a continuous run of 10000 passes,
// and the window closed while a run goes. Each case ends as the counting
// rules say, with the statistics true to the counts actually made, and with
// no report from the sanitizers the suite runs under.
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "fixture.h"

namespace {

// Count-list entries.
constexpr int kEntryOneCount = 0;
constexpr int kEntryTen = 3;
constexpr int kEntry1000 = 9;
constexpr int kEntryContinuous = 16;
constexpr int32_t kSeries = 1000;

// Rate-list entries 0 to 5.
constexpr int kRates = 6;
const char* const kRateNames[kRates] = {"0.5", "1", "2", "4", "8", "16"};
const std::vector<int> kEveryRate = {0, 1, 2, 3, 4, 5};
const std::vector<int> kSlowestRate = {0};

// Time of day at the opening: 100 s skips 100 values (the most), 0 s none.
constexpr float kSkip100 = 100.0f;
constexpr float kSkipNone = 0.0f;

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

int Px(double twips) {
  return static_cast<int>(std::floor(twips / 15.0 + 0.5));
}

std::string Describe(ui::Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// ------------------------------------------------------ hostile contents

std::string Repeat(int n, const std::string& line) {
  std::string text;
  for (int i = 0; i < n; ++i) text += line;
  return text;
}

// A small fixed generator, so that the corpus is the same on every run.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1));
  }

 private:
  uint32_t state_;
};

// n integer intervals between lo and hi, one a line.
std::string Intervals(int n, int lo, int hi, uint32_t seed) {
  Lcg g(seed);
  std::string text;
  for (int i = 0; i < n; ++i) text += std::to_string(g.Between(lo, hi)) + "\n";
  return text;
}

// n bytes of every kind except digits, so that no field they make is a
// number: NUL, controls, separators, letters, signs, points, bytes >= 0x80.
std::string Garbage(int n, uint32_t seed) {
  Lcg g(seed);
  std::string text;
  while (static_cast<int>(text.size()) < n) {
    const char c = static_cast<char>(g.Between(0, 255));
    if (c < '0' || c > '9') text += c;
  }
  return text;
}

// 250 written in every shape a number may take: fractions, exponents,
// commas, CRLF, blank lines, blanks and tabs around, a sign, leading zeros,
// more digits than a double holds.
std::string ShapesOf250() {
  const std::string shapes =
      "250\r\n  250  \n\t250\t\r\n250.0\n250.\n.25e3\n2.5e2\n2.5E+2\n25000e-2\n+250\n0250\n"
      "250,250\n250 ,\t250\r\n\n\r\n  \n,,\n2.50e+0002\n250.0000000000000000000000000001\n";
  // A byte-order mark first, and no line end after the last value.
  return "\xEF\xBB\xBF" + Repeat(12, shapes) + "250";
}

// Words, bytes that are not text, and fields that look like numbers but are
// not, between values of 250.
std::string WordsAndGarbageAround250() {
  const std::string words =
      "deux cent cinquante\ne5\n-\n+\n.\n1e\n250abc\n0x10\n1.2.3\n--250\n2 50\n\xD9\xA3\n250e+\n"
      "\001250\n";
  std::string text;
  for (uint32_t i = 0; i < 150; ++i) {
    text += "250\n" + Garbage(7, i) + "\n";
    if (i % 10 == 0) text += words;
  }
  return text + std::string("\0\0\0", 3) + "\n250\n";
}

// The first 100 values of 250 that the opening may skip, then the body.
std::string After100(const std::string& body) {
  return Repeat(100, "250\n") + body;
}

// --------------------------------------------------------- the corpus

// How a series of 1000 counts ends on a file, by the counting rules.
enum class Outcome {
  kAllCounts,          // all 1000 counts are made
  kMissing,            // no count: the missing-file panel, the series ends after its first pass
  kCountsThenMissing,  // counts until the file gives nothing: the panel, the series stops
  kProgramEnds,        // the file cannot be reopened: the program ends, files closed
};

// What happens to the file after the first count of the series.
enum class During { kNothing, kDeleted, kEmptied, kCutMidValue };

constexpr std::array<int32_t, kRates> kVaries = {-1, -1, -1, -1, -1, -1};
// Every count when every interval is 250 (the pulses fall every 1/r s).
constexpr std::array<int32_t, kRates> kAll250 = {0, 1, 2, 4, 8, 16};
// Every count when every interval is 0, taken as 1: a pulse every 40 / r
// reference twips, thousands in the one-second window.
constexpr std::array<int32_t, kRates> kAllZero = {125, 251, 501, 1001, 2001, 4001};

struct HostileFile {
  const char* what;
  std::function<std::string()> content;  // none: a directory stands under the file's name
  float clock;                           // time of day at the opening
  During during;
  Outcome outcome;
  std::array<int32_t, kRates> value;  // every count's value at each rate, -1 when it varies
  std::vector<int> rates;             // the rate entries run
};

// The one table of hostile files, shared by the tests below.
const std::vector<HostileFile>& HostileFiles() {
  static const std::vector<HostileFile> files = {
      {"empty", [] { return std::string(); }, kSkip100, During::kNothing, Outcome::kMissing,
       kVaries, kEveryRate},
      {"one value, nothing skipped", [] { return std::string("250\n"); }, kSkipNone,
       During::kNothing, Outcome::kAllCounts, kAll250, kEveryRate},
      {"one value, 100 to skip", [] { return std::string("250\n"); }, kSkip100, During::kNothing,
       Outcome::kMissing, kVaries, kEveryRate},
      {"exactly 100 values, 100 skipped", [] { return Repeat(100, "250\n"); }, kSkip100,
       During::kNothing, Outcome::kAllCounts, kAll250, kEveryRate},
      {"101 values, 100 skipped", [] { return Repeat(101, "250\n"); }, kSkip100, During::kNothing,
       Outcome::kAllCounts, kAll250, kEveryRate},
      {"a value beyond 16 bits among the first 100",
       [] { return Repeat(49, "250\n") + "40000\n" + Repeat(150, "250\n"); }, kSkip100,
       During::kNothing, Outcome::kMissing, kVaries, kEveryRate},
      {"values beyond 16 bits after the first 100",
       [] { return After100("40000\n-40000\n1e6\n32768\n-32769\n" + Intervals(200, 0, 750, 1)); },
       kSkip100, During::kNothing, Outcome::kAllCounts, kVaries, kEveryRate},
      {"negative values", [] { return Intervals(3000, -300, 800, 2); }, kSkip100, During::kNothing,
       Outcome::kAllCounts, kVaries, kEveryRate},
      {"fractions, exponents, commas, CRLF, blank lines and blanks", ShapesOf250, kSkip100,
       During::kNothing, Outcome::kAllCounts, kAll250, kEveryRate},
      {"words and binary garbage between the values", WordsAndGarbageAround250, kSkip100,
       During::kNothing, Outcome::kAllCounts, kAll250, kEveryRate},
      {"only words and binary garbage", [] { return "zero\n" + Garbage(4000, 3); }, kSkipNone,
       During::kNothing, Outcome::kMissing, kVaries, kEveryRate},
      {"inf, nan, 1e30, 1e-30 and numbers beyond single precision",
       [] {
         return After100(Repeat(20,
                                "inf\n-inf\nnan\nNaN\ninfinity\n1e30\n250\n1e-30\n250\n1e39\n250\n"
                                "1e400\n-1e400\n1e-400\n250\n3.4028235e38\n-0\n250\n"));
       },
       kSkip100, During::kNothing, Outcome::kAllCounts, kVaries, kEveryRate},
      {"a field longer than the reader's block",
       [] { return After100(std::string(70000, '7') + "\n" + Repeat(100, "250\n")); }, kSkip100,
       During::kNothing, Outcome::kAllCounts, kAll250, kEveryRate},
      {"all zeros: thousands of pulses a count", [] { return Repeat(1000, "0\n"); }, kSkip100,
       During::kNothing, Outcome::kAllCounts, kAllZero, kEveryRate},
      // The one readable value is read again after every value, so each
      // pulse costs a reopening of the file: 192 a count at 0.5 pulse per
      // second, 6144 at 16. The slowest rate alone keeps the test quick under
      // the sanitizers; the rule does not depend on the rate.
      {"a file whose only readable value is 0", [] { return std::string("zéro\n0\nnan\n\n"); },
       kSkipNone, During::kNothing, Outcome::kAllCounts, kAllZero, kSlowestRate},
      {"a directory named like the file", nullptr, kSkipNone, During::kNothing, Outcome::kMissing,
       kVaries, kEveryRate},
      {"deleted while the series runs", [] { return Repeat(300, "250\n"); }, kSkip100,
       During::kDeleted, Outcome::kProgramEnds, kAll250, kEveryRate},
      {"emptied while the series runs", [] { return Repeat(300, "250\n"); }, kSkip100,
       During::kEmptied, Outcome::kCountsThenMissing, kAll250, kEveryRate},
      {"cut in the middle of a value while the series runs", [] { return Repeat(300, "250\n"); },
       kSkip100, During::kCutMidValue, Outcome::kAllCounts, kVaries, kEveryRate},
  };
  return files;
}

// Puts the file (or the directory) in place at path.
void Make(const HostileFile& f, const std::string& path) {
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  if (!f.content) {
    std::filesystem::create_directories(path);
    return;
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc) << f.content();
}

void Disturb(During d, const std::string& path) {
  switch (d) {
    case During::kNothing:
      break;
    case During::kDeleted:
      std::filesystem::remove(path);
      break;
    case During::kEmptied:
      std::filesystem::resize_file(path, 0);
      break;
    case During::kCutMidValue:
      std::filesystem::resize_file(path, 6);  // "250\n25"
      break;
  }
}

// ------------------------------------------------------------ the fixture

// The counts a window made, seen one by one at the yields between counts.
struct Tally {
  std::vector<int32_t> since_clearing;
  std::array<int32_t, 51> by_value{};  // since the window started: RAZ leaves 41 to 50
  int yields = 0;

  // At a yield: takes the count just made, if any (none when the file failed).
  void See(const KESTOR_11& k) {
    ++yields;
    const auto made = static_cast<int32_t>(since_clearing.size());
    if (k.SN_L == made + 1) {
      since_clearing.push_back(k.N1C_L);
      if (k.N1C_L >= 0 && k.N1C_L <= 50) ++by_value[static_cast<size_t>(k.N1C_L)];
    } else {
      EXPECT_EQ(k.SN_L, made) << "at yield " << yields;
    }
  }
  void Cleared() {
    since_clearing.clear();
    yields = 0;
  }
};

class RobustTest : public KestorTest {
 protected:
  // Opens the count list and releases the button over entry i.
  void Run(int entry) {
    k->LANCER.FireClick();
    k->LANCER_N.SetListIndex(entry);
    k->LANCER_N.FireMouseUp();
  }
  // Chooses a rate in the rate list, confirming the clearing when asked.
  void ChooseRate(int entry) {
    k->ACTIVITES.FireClick();
    k->ACTIV.SetListIndex(entry);
    k->ACTIV.FireClick();
    if (k->ATTENTION.Shown()) k->OUI.FireClick();
  }
  void ExpectIdle() {
    for (ui::Label* l : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION, &k->FIN})
      EXPECT_TRUE(l->Shown()) << l->Name();
    EXPECT_FALSE(k->Label34.Shown());
    EXPECT_EQ(k->COMPTAGE_I, 0);
    EXPECT_EQ(k->MARCHE_I, 0);
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), k->TEXTE_NBCOMPTAGE());
  }
  // SN_L, S1_L, S2N1_D and the histogram agree with the counts seen.
  void ExpectStatistics(const Tally& t) {
    const std::vector<int32_t>& c = t.since_clearing;
    EXPECT_EQ(k->SN_L, static_cast<int32_t>(c.size()));
    EXPECT_EQ(k->S1_L, std::accumulate(c.begin(), c.end(), int32_t{0}));
    double squares = 0;
    for (int32_t v : c) squares += static_cast<double>(v) * v;
    EXPECT_EQ(k->S2N1_D, squares);
    std::array<int32_t, 51> classes{};
    for (int32_t v : c)
      if (v >= 0 && v <= 40) ++classes[static_cast<size_t>(v)];
    for (size_t i = 41; i <= 50; ++i) classes[i] = t.by_value[i];
    EXPECT_EQ(k->EFFECTIF_L, classes);
  }
  // The file is closed and the program has ended for the reason given.
  void ExpectEnded(const std::string& reason) {
    EXPECT_TRUE(ui::Ended());
    EXPECT_EQ(ui::EndReason(), reason);
    EXPECT_FALSE(ui::files::IsOpen(2));
    EXPECT_EQ(k->COMPTAGE_I, 0);
    EXPECT_EQ(k->MARCHE_I, 0);
  }
  void ExpectMissingPanel() {
    EXPECT_EQ(k->ERREUR_I, 1);
    EXPECT_TRUE(k->DISK_0.Shown());
    EXPECT_EQ(k->FICHIER_T, "");
    EXPECT_FALSE(ui::files::IsOpen(2));
  }
};

// ---------------------------------------------------- hostile data files

class HostileFileTest : public RobustTest, public ::testing::WithParamInterface<int> {};

// A series of 1000 counts at one rate on each file of the table, started as
// a user starts it; then, when every count was made, a confirmed clearing
// and ten counts more.
TEST_P(HostileFileTest, ASeriesOf1000EndsAsTheRulesSay) {
  const int rate = GetParam();
  int n = 0;
  for (const HostileFile& f : HostileFiles()) {
    const std::string path = ScratchDir() + "/hostile-" + std::to_string(rate) + "-" +
                             std::to_string(n++) + "/KESTOR_11.KSQ";
    bool runs = false;
    for (int r : f.rates) runs = runs || r == rate;
    if (!runs) continue;
    SCOPED_TRACE(std::string(f.what) + " at " + kRateNames[rate] + " pulses per second");
    Make(f, path);
    Start(1024, 768, {path}, f.clock);
    ChooseRate(rate);
    ASSERT_FALSE(k->ATTENTION.Shown());
    Tally t;
    ui::seams::SetYieldHook([&] {
      t.See(*k);
      if (t.yields == 1) Disturb(f.during, path);
    });
    Run(kEntry1000);
    const auto made = static_cast<int32_t>(t.since_clearing.size());
    ExpectStatistics(t);
    switch (f.outcome) {
      case Outcome::kAllCounts:
        EXPECT_EQ(made, kSeries);
        EXPECT_EQ(t.yields, kSeries);
        EXPECT_EQ(k->ERREUR_I, 0);
        EXPECT_FALSE(k->DISK_0.Shown());
        EXPECT_EQ(k->FICHIER_T, path);
        EXPECT_TRUE(ui::files::IsOpen(2));
        ExpectIdle();
        break;
      case Outcome::kMissing:
        EXPECT_EQ(made, 0);
        EXPECT_EQ(t.yields, 1);
        ExpectMissingPanel();
        ExpectIdle();
        break;
      case Outcome::kCountsThenMissing:
        EXPECT_GT(made, 0);
        EXPECT_LT(made, kSeries);
        EXPECT_EQ(t.yields, made + 1);
        ExpectMissingPanel();
        ExpectIdle();
        break;
      case Outcome::kProgramEnds:
        EXPECT_GT(made, 0);
        EXPECT_LT(made, kSeries);
        EXPECT_EQ(t.yields, made);
        ExpectEnded("data file cannot be reopened");
        break;
    }
    const int32_t value = f.value[static_cast<size_t>(rate)];
    if (value >= 0) {
      int others = 0;
      for (int32_t v : t.since_clearing) others += v != value;
      EXPECT_EQ(others, 0) << "counts other than " << value;
    }
    if (f.outcome == Outcome::kAllCounts) {
      // What a clearing leaves is true to the counts made after it.
      k->EFFACER.FireClick();
      k->OUI.FireClick();
      t.Cleared();
      ExpectStatistics(t);
      Run(kEntryTen);
      EXPECT_EQ(t.yields, 10);
      ExpectStatistics(t);
      ExpectIdle();
    }
    ui::seams::SetYieldHook({});
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
  }
}

std::string RateName(const ::testing::TestParamInfo<int>& i) {
  const char* const names[kRates] = {"Half", "One", "Two", "Four", "Eight", "Sixteen"};
  return names[i.param];
}

INSTANTIATE_TEST_SUITE_P(EveryRate, HostileFileTest, ::testing::Range(0, kRates), RateName);

// ---------------------------------------------------------------- screens

// From the smallest screen to 7680 x 4320, across the 16-bit limit of the
// window width (2184 / 2185 pixels) and of the base line (2648 / 2649), and
// very flat or very tall ones: start-up completes, nothing lies over the title
// bar, the panel is drawn, and a count works.
TEST_F(RobustTest, EveryScreenStartsDrawsItsPanelAndCounts) {
  struct Screen {
    float w, h;
  };
  for (Screen s : {Screen{640, 480}, Screen{800, 600}, Screen{1024, 768}, Screen{1366, 768},
                   Screen{1920, 1080}, Screen{2184, 1200}, Screen{2185, 1200}, Screen{2184, 2648},
                   Screen{2184, 2649}, Screen{2560, 1600}, Screen{3840, 2160}, Screen{7680, 4320},
                   Screen{3000, 300}, Screen{7680, 480}, Screen{600, 4000}, Screen{640, 4320}}) {
    SCOPED_TRACE(std::to_string(static_cast<int>(s.w)) + "x" +
                 std::to_string(static_cast<int>(s.h)));
    Start(s.w, s.h);
    ASSERT_FALSE(ui::Ended());
    const int scale = ui::ScreenScale();
    EXPECT_NEAR(k->SurfaceWidth() * scale, s.w, scale);
    EXPECT_NEAR(k->SurfaceHeight() * scale, s.h, scale);
    EXPECT_NEAR(k->LARGEUR_I, ui::ScreenWidth(), 1);
    EXPECT_GT(k->POSHIST_I, 0);

    // Nothing on the window lies over the title bar, shown now or later
    // (lists, panels, pages, the stop command); what the bar holds stays in it.
    const float bar = k->Picture1.Top() + k->Picture1.Height();
    for (ui::Widget* w : k->Children()) {
      if (w == &k->Picture1 || w == &k->MOT1 || w == &k->MOT2 || w == &k->MOT3) continue;
      EXPECT_GE(w->Top(), bar) << w->Name();
    }
    for (ui::Widget* w : k->Picture1.Children()) {
      EXPECT_GE(w->Left(), 0) << w->Name();
      EXPECT_GE(w->Top(), 0) << w->Name();
      EXPECT_LE(w->Left() + w->Width(), k->Picture1.Width()) << w->Name();
      EXPECT_LE(w->Top() + w->Height(), k->Picture1.Height()) << w->Name();
    }

    // The panel is drawn: the base line of the histogram and the strip's axis.
    const ui::Rgb blue = ui::QBColor(9);
    const int base = Px(k->POSHIST_I);
    auto column = [&](int cls) { return Px((k->H1_I + cls * k->UNITE_I) * k->ECHHORIZ_S); };
    EXPECT_EQ(Describe(k->Pixel(column(20), base)), Describe(blue));
    EXPECT_EQ(Describe(k->Pixel(k->SurfaceWidth() / 2, Px(k->POSAXE_I * k->ECHVERTI_S))),
              Describe(blue));

    // One count, shown in its label and raising the bar of its class.
    Run(kEntryOneCount);
    EXPECT_EQ(k->SN_L, 1);
    ExpectIdle();
    EXPECT_TRUE(k->N1COMPTE.Shown());
    EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage =" + ui::Str(k->N1C_L) + " ");
    ASSERT_LE(k->N1C_L, 40);
    EXPECT_EQ(k->EFFECTIF_L[static_cast<size_t>(k->N1C_L)], 1);
    EXPECT_EQ(Describe(k->Pixel(column(k->N1C_L), Px(k->POSHIST_I - 100 * k->ECHELLE_S))),
              Describe(blue));
  }
}

// ------------------------------------------------------ 32-bit limits

// Statistics set just below their 32-bit limits, then ten counts: every sum
// and product saturates at 2147483647 (a bar of 200 x count twips included)
// and the histogram query still reads the class.
TEST_F(RobustTest, StatisticsAtTheir32BitLimitsSaturate) {
  const struct {
    const char* what;
    std::string content;
    int rate;  // rate entry
    int32_t counts, sum;
    size_t cls;  // the class set near the limit
    int32_t in_class;
    // After ten counts.
    int32_t counts_after, sum_after, in_class_after, mean_x100;
    float scale_after;
  } cases[] = {
      {"all zeros at 16 pulses per second: counts of 4001", Repeat(1000, "0\n"), 5, kInt32Max - 3,
       kInt32Max - 10000, 20, 10737418, kInt32Max, kInt32Max, 10737418, 100, 1.0f},
      {"counts of 1 into a class whose bar passes 2^31 twips", Repeat(300, "250\n"), 1, 10737417,
       10737417, 1, 10737417, 10737427, 10737427, 10737427, 100,
       [] {
         float e = 1.0f;
         for (int i = 0; i < 10; ++i) e = static_cast<float>(e / 1.2);
         return e;
       }()},
      {"counts of 1 into a class at the 32-bit limit", Repeat(300, "250\n"), 1, kInt32Max - 4,
       kInt32Max - 4, 1, kInt32Max - 4, kInt32Max, kInt32Max, kInt32Max, 100, -1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start(1024, 768, {WriteScratchFile("limits.ksq", c.content)}, kSkipNone);
    ChooseRate(c.rate);
    k->SN_L = c.counts;
    k->S1_L = c.sum;
    k->S2N1_D = c.sum;
    k->EFFECTIF_L[c.cls] = c.in_class;
    Run(kEntryTen);
    EXPECT_EQ(k->SN_L, c.counts_after);
    EXPECT_EQ(k->S1_L, c.sum_after);
    EXPECT_EQ(k->EFFECTIF_L[c.cls], c.in_class_after);
    EXPECT_EQ(k->MOY1_L, c.mean_x100);
    if (c.scale_after > 0) {
      EXPECT_FLOAT_EQ(k->ECHELLE_S, c.scale_after);
    }
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), " Nombre de comptages =" + ui::Str(c.counts_after) + " ");
    ExpectIdle();
    // The query over that class reads it and highlights its bar.
    const float x = (k->H1_I + static_cast<float>(c.cls) * k->UNITE_I) * k->ECHHORIZ_S;
    k->FireMouseMove({0, 0, x, k->POSHIST_I - 30.0f});
    EXPECT_EQ(k->EFF1.Caption(), " Effectif de (" + ui::Str(static_cast<double>(c.cls)) +
                                     " ) =" + ui::Str(c.in_class_after) + " ");
    EXPECT_EQ(Describe(k->Pixel(Px(x), Px(k->POSHIST_I) - 2)), Describe(ui::QBColor(13)));
  }
}

// ------------------------------------------------------- a long run

// 10000 passes of the continuous run, across midnight, with a clock that
// moves 2.5 s at every reading so that each 2-second pause ends at its first
// poll; stopped between counts at pass 10000.
TEST_F(RobustTest, AContinuousRunOf10000Passes) {
  Start(1024, 768, {}, 86000.0f);
  ui::seams::SetClock([this] {
    clock_ += 2.5f;
    if (clock_ >= 86400.0f) clock_ -= 86400.0f;
    return clock_;
  });
  Tally t;
  int32_t highest_pass = 0;
  bool bar_hidden = true;
  ui::seams::SetYieldHook([&] {
    t.See(*k);
    highest_pass = std::max(highest_pass, k->BOUCLE_L);
    bar_hidden = bar_hidden && !k->LANCER.Shown() && !k->FIN.Shown() && k->Label34.Shown() &&
                 k->COMPTAGE_I == 1 && k->MARCHE_I == 2;
    if (t.yields == 10000) k->Label34.FireClick();
  });
  Run(kEntryContinuous);
  EXPECT_EQ(t.yields, 10000);
  EXPECT_EQ(highest_pass, 499);
  EXPECT_TRUE(bar_hidden);
  ExpectStatistics(t);
  ExpectIdle();
  EXPECT_FALSE(ui::Ended());
  EXPECT_TRUE(ui::files::IsOpen(2));
  // Ten thousand counts at one pulse a second average one pulse a count.
  EXPECT_NEAR(k->MOY1_L / 100.0, 1.0, 0.05);
}

// ---------------------------------------------- the window closed

// The window manager closes the window while a run goes: the run stops at
// the next count, the program ends with the data file closed, and the
// counts made before stay as they were.
TEST_F(RobustTest, TheWindowClosedDuringARunEndsTheProgramCleanly) {
  const struct {
    const char* what;
    int entry;
    bool file_missing;
    int close_at_yield;  // 0: from the clock, during the pause after the second count
    int32_t counts;
  } cases[] = {
      {"a series of 1000, between two counts", kEntry1000, false, 5, 5},
      {"the continuous run, between two counts", kEntryContinuous, false, 3, 3},
      {"the continuous run, during its pause", kEntryContinuous, false, 0, 2},
      {"a series whose data file is missing", kEntry1000, true, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start(1024, 768, {c.file_missing ? ScratchDir() + "/nowhere.ksq" : GeneratedDataFile()});
    int yields = 0;
    bool close_in_pause = false;
    ui::seams::SetClock([&] {
      if (close_in_pause) k->CloseRequested();
      close_in_pause = false;
      return clock_ += 2.5f;
    });
    ui::seams::SetYieldHook([&] {
      ++yields;
      if (yields == c.close_at_yield) k->CloseRequested();
      if (c.close_at_yield == 0 && yields == 2) close_in_pause = true;
    });
    Run(c.entry);
    ExpectEnded("window closed");
    EXPECT_EQ(k->SN_L, c.counts);
    EXPECT_FALSE(k->Alive());
  }
  // Outside a run, the program ends at once, whatever panel is open.
  Start();
  Run(kEntryOneCount);
  k->EFFACER.FireClick();
  ASSERT_TRUE(k->ATTENTION.Shown());
  k->CloseRequested();
  ExpectEnded("window closed");
  EXPECT_EQ(k->SN_L, 1);
}

}  // namespace
