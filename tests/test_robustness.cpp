// Hostile data files at every rate, 32-bit limits, the window closed during a run.
#include <random>

#include "fixture.h"

constexpr int32_t kMax = INT32_MAX;

static std::string Repeat(int n, const std::string& line, std::string text = "") {
  while (n-- > 0) text += line;
  return text;
}
// n random bytes with the digits made letters: no field they make is a number.
static std::string Garbage(int n, unsigned seed) {
  std::minstd_rand g(seed);
  std::string text(static_cast<size_t>(n), ' ');
  for (char& c : text) c = static_cast<char>(g() % 256), c = c >= '0' && c <= '9' ? 'x' : c;
  return text;
}

// Every count's value at each rate (0.5 to 16); -1 when it varies.
using Values = std::array<int32_t, 6>;
constexpr Values kVaries = {-1, -1, -1, -1, -1, -1}, kAll250 = {0, 1, 2, 4, 8, 16},
                 kAllZero = {125, 251, 501, 1001, 2001, 4001};  // 0 read as 1

class HostileFileTest : public KestorTest, public ::testing::WithParamInterface<int> {};

// A series of 1000 on each file, started as a user starts it.
TEST_P(HostileFileTest, ASeriesOf1000EndsAsTheRulesSay) {
  const int rate = GetParam();
  const std::string k100 = Repeat(100, "250\n"), k300 = Repeat(300, "250\n");
  const std::string words =
      "250\r\n  250  \n\t250\t\r\n250.0\n250.\n.25e3\n2.5E+2\n25000e-2\n+250\n0250\n250,250\n"
      "250 ,\t250\r\n\n\r\n  \n,,\n250.00000000000000000001\ndeux\ne5\n-\n+\n.\n1e\n250abc\n"
      "0x10\n1.2.3\n--250\n2 50\n\xD9\xA3\n250e+\n\001250\n";
  const struct {
    const char* what;
    std::string content;
    float clock;  // 100 s skips 100 values, 0 s none
    char twist;   // at the first yield the file is Deleted, Emptied or Cut, or the Window closed
    int made;     // of a series of 1000; -1: some, then the missing-file panel (deleted: the end)
    Values value;
  } files[] = {
      {"one value, nothing skipped", "250\n", 0, ' ', 1000, kAll250},
      {"one value, 100 to skip", "250\n", 100, ' ', 0, kVaries},
      {"exactly 100 values, 100 skipped", k100, 100, ' ', 1000, kAll250},
      {"beyond 16 bits in the skip", Repeat(49, "250\n") + "40000\n" + k300, 100, ' ', 0, kVaries},
      {"16 bits' least in the skip", Repeat(49, "250\n") + "-32768\n" + k300, 100, ' ', 1000,
       kVaries},
      {"infinite in the skip", Repeat(49, "250\n") + "1e400\n" + k300, 100, ' ', 0, kVaries},
      {"every shape of 250 after a byte-order mark, words, binary garbage, a field longer than "
       "a block, no final line end",
       "\xEF\xBB\xBF" + Repeat(150, "250\n" + Garbage(7, 1) + "\n" + words) +
           std::string("\0\0\0\n", 4) + std::string(70000, '7') + "\n250",
       100, ' ', 1000, kAll250},
      {"values beyond 16 bits, negative, tiny, beyond single precision",
       k100 + Repeat(20, "40000\n-40000\n32768\n-32769\n1e30\n1e-30\n1e-400\n3.4028235e38\n-0\n") +
           Repeat(300, "-300\n800\n-1\n0\n17\n250\n-250\n799\n"),
       100, ' ', 1000, kVaries},
      {"only words and binary garbage", "zero\n" + Garbage(4000, 3), 0, ' ', 0, kVaries},
      {"zeros, then values not finite in single precision: all read as 1",
       Repeat(100, "0\n") + Repeat(100, "0\ninf\n-inf\nnan\n-nan\n1e39\n1e400\n-1e400\n"), 100, ' ',
       1000, kAllZero},
      {"deleted during the series", k300, 100, 'D', -1, kAll250},
      {"emptied during the series", k300, 100, 'E', -1, kAll250},
      {"cut mid-value during the series", k300, 100, 'C', 1000, kVaries},
      {"window closed during the series", k300, 100, 'W', 1, kAll250},
      {"empty, window closed over the missing-file panel", "", 0, 'W', 0, kVaries},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    const std::string path = WriteScratchFile("hostile.ksq", f.content);
    Start(1024, 768, {path}, f.clock);
    ChooseRate(rate);
    int yields = 0;
    ui::seams::SetYieldHook([&] {  // at the first yield; cut: "250\n25"
      if (++yields > 1) return;
      if (f.twist == 'D') std::filesystem::remove(path);
      if (f.twist == 'W') k->CloseRequested();
      if (f.twist == 'E' || f.twist == 'C')
        std::filesystem::resize_file(path, f.twist == 'C' ? 6 : 0);
    });
    Run(9);  // 1000 counts
    const int32_t made = k->SN_L, v = f.value[static_cast<size_t>(rate)];
    const bool panel = f.made == 0 || (f.made < 0 && f.twist != 'D');
    EXPECT_TRUE(f.made >= 0 ? made == f.made : made > 0 && made < 1000) << made;
    EXPECT_EQ(yields, made + panel);  // a failed pass yields too
    if (f.twist == 'D' || f.twist == 'W')
      EXPECT_EQ(ui::EndReason(), f.twist == 'W' ? "window closed" : "data file cannot be reopened");
    else
      EXPECT_EQ(std::make_tuple(ui::Ended(), k->Label34.Shown(), k->COMPTAGE_I + k->MARCHE_I,
                                k->ERREUR_I, k->DISK_0.Shown(), k->FICHIER_T, ui::files::IsOpen(2)),
                std::make_tuple(false, false, 0, int{panel}, panel, panel ? "" : path, !panel));
    if (v < 0 || made == 0) continue;  // every count v: the statistics of made counts of v
    std::array<int32_t, 51> classes{};
    if (v <= 50) classes[static_cast<size_t>(v)] = made;
    EXPECT_EQ(std::make_tuple(k->S1_L, k->S2N1_D, k->EFFECTIF_L),
              std::make_tuple(made * v, double(made) * v * v, classes));
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRate, HostileFileTest, ::testing::Range(0, 6));

// Ten counts below the 32-bit limits saturate; counts of 4001 (zeros at 16/s)
// keep class 20 and the scale; counts of 1 fill class 1, shrinking the scale.
TEST_F(KestorTest, StatisticsAtTheir32BitLimitsSaturate) {
  for (const bool classless : {true, false}) {
    SCOPED_TRACE(classless ? "counts of 4001" : "counts of 1");
    Start(1024, 768, {WriteScratchFile("limits.ksq", Repeat(300, classless ? "0\n" : "250\n"))});
    ChooseRate(classless ? 5 : 1);
    const size_t cls = classless ? 20 : 1;
    const int32_t in_class = classless ? 10737418 : kMax;  // after the ten counts
    k->SN_L = k->S1_L = kMax - 4, k->S2N1_D = kMax - 4;
    k->EFFECTIF_L[cls] = classless ? in_class : kMax - 4;
    Run(3);  // ten counts
    EXPECT_FLOAT_EQ(k->ECHELLE_S, classless ? 1.0f : static_cast<float>(std::pow(1 / 1.2, 10)));
    k->FireMouseMove({1530.0f + 300 * cls, 9470});
    EXPECT_EQ(std::make_tuple(k->SN_L, k->S1_L, k->EFFECTIF_L[cls], k->MOY1_L, k->EFF1.Caption(),
                              At(102 + 20 * int(cls), 631)),
              std::make_tuple(kMax, kMax, in_class, 100,
                              classless ? " Effectif de ( 20 ) = 10737418 "
                                        : " Effectif de ( 1 ) = 2147483647 ",
                              kMagenta));
  }
}

// Closed outside a run, over the confirmation panel: the program ends at once.
TEST_F(KestorTest, TheWindowClosedOverAPanelEndsTheProgram) {
  Start(), Run(0);
  k->EFFACER.FireClick(), k->CloseRequested();
  EXPECT_TRUE(ui::Ended() && ui::EndReason() == "window closed") << ui::EndReason();
}
