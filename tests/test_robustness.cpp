// Hostile data files at every rate, 32-bit limits, the window closed during a run.
#include <random>

#include "fixture.h"

static std::string Repeat(int n, const std::string& line) {
  return n > 0 ? line + Repeat(n - 1, line) : "";
}

constexpr std::array<int32_t, 6> kVaries = {-1, -1, -1, -1, -1, -1}, kAll250 = {0, 1, 2, 4, 8, 16},
                                 kAllZero = {125, 251, 501, 1001, 2001, 4001};  // 0 read as 1

class HostileFileTest : public KestorTest, public ::testing::WithParamInterface<int> {};

// A series of 1000 on each file, started as a user starts it. Each file: what it holds, its
// content; the clock (100 s skips 100 values, 0 s none); at the first yield the file is Deleted,
// Emptied or Cut, or the Window closed; the counts made (-1: some, then the missing-file panel, or
// the end if deleted); every count's value at each rate (0.5 to 16), -1 when it varies.
TEST_P(HostileFileTest, ASeriesOf1000EndsAsTheRulesSay) {
  const int rate = GetParam();
  const std::string k49 = Repeat(49, "250\n"), k100 = Repeat(100, "250\n"), k300 = Repeat(3, k100);
  std::minstd_rand g(1);
  std::string garbage(4000, ' ');  // random bytes, the digits made letters: no field is a number
  for (char& c : garbage) c = static_cast<char>(g() % 256), c = c >= '0' && c <= '9' ? 'x' : c;
  const std::string words =
      "250\r\n  250  \n\t250\t\r\n250.0\n250.\n.25e3\n2.5E+2\n25000e-2\n+250\n0250\n250,250\n"
      "250 ,\t250\r\n\n\r\n  \n,,\n250.00000000000000000001\ndeux\ne5\n-\n+\n.\n1e\n250abc\n"
      "0x10\n1.2.3\n--250\n2 50\n\xD9\xA3\n250e+\n\001250\n";
  const std::tuple<const char*, std::string, float, char, int, std::array<int32_t, 6>> files[] = {
      {"one value, nothing skipped", "250\n", 0, ' ', 1000, kAll250},
      {"one value, 100 to skip", "250\n", 100, ' ', 0, kVaries},
      {"exactly 100 values, 100 skipped", k100, 100, ' ', 1000, kAll250},
      {"beyond 16 bits in the skip", k49 + "40000\n" + k300, 100, ' ', 0, kVaries},
      {"16 bits' least in the skip", k49 + "-32768\n" + k300, 100, ' ', 1000, kVaries},
      {"infinite in the skip", k49 + "1e400\n" + k300, 100, ' ', 0, kVaries},
      {"every shape of 250 after a byte-order mark, words, binary garbage, a field longer than "
       "a block, no final line end",
       "\xEF\xBB\xBF" + Repeat(150, "250\n" + garbage.substr(0, 7) + "\n" + words) +
           std::string("\0\0\0\n", 4) + std::string(70000, '7') + "\n250",
       100, ' ', 1000, kAll250},
      {"values beyond 16 bits, negative, tiny, beyond single precision",
       k100 + Repeat(20, "40000\n-40000\n32768\n-32769\n1e30\n1e-30\n1e-400\n3.4028235e38\n-0\n") +
           Repeat(300, "-300\n800\n-1\n0\n17\n250\n-250\n799\n"),
       100, ' ', 1000, kVaries},
      {"only words and binary garbage", "zero\n" + garbage, 0, ' ', 0, kVaries},
      {"zeros, then values not finite in single precision: all read as 1",
       Repeat(100, "0\n") + Repeat(100, "0\ninf\n-inf\nnan\n-nan\n1e39\n1e400\n-1e400\n"), 100, ' ',
       1000, kAllZero},
      {"deleted during the series", k300, 100, 'D', -1, kAll250},
      {"emptied during the series", k300, 100, 'E', -1, kAll250},
      {"cut mid-value during the series", k300, 100, 'C', 1000, kVaries},
      {"window closed during the series", k300, 100, 'W', 1, kAll250},
      {"empty, window closed over the missing-file panel", "", 0, 'W', 0, kVaries},
  };
  for (const auto& [what, content, clock, twist, counts, values] : files) {
    SCOPED_TRACE(what);
    const std::string path = WriteScratchFile("hostile.ksq", content);
    Start(1024, 768, {path}, clock), ChooseRate(rate);
    int yields = 0;
    ui::seams::SetYieldHook([&, t = twist] {  // at the first yield; cut: "250\n25"
      if (++yields > 1 || t == ' ') return;
      if (t == 'W') return k->CloseRequested();
      if (t == 'D') return void(std::filesystem::remove(path));
      std::filesystem::resize_file(path, t == 'C' ? 6 : 0);
    });
    Run(9);  // 1000 counts
    const int32_t made = k->SN_L, v = values[static_cast<size_t>(rate)];
    const bool panel = counts == 0 || (counts < 0 && twist != 'D');
    EXPECT_TRUE(counts >= 0 ? made == counts : made > 0 && made < 1000) << made;
    EXPECT_EQ(yields, made + panel);  // a failed pass yields too
    if (twist == 'D' || twist == 'W')
      EXPECT_EQ(ui::EndReason(), twist == 'W' ? "window closed" : "data file cannot be reopened");
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

// Ten counts below the 32-bit limits saturate; counts of 4001 (zeros at 16/s) keep class 20 and
// the scale; counts of 1 fill class 1, shrinking the scale. Closed outside a run, over the
// clearing's panel, the window ends the program at once.
TEST_F(KestorTest, StatisticsAtTheir32BitLimitsSaturateAndTheWindowClosedOverAPanelEndsIt) {
  for (const bool classless : {true, false}) {
    Start(1024, 768, {WriteScratchFile("limits.ksq", Repeat(300, classless ? "0\n" : "250\n"))});
    ChooseRate(classless ? 5 : 1);
    const size_t cls = classless ? 20 : 1;
    k->SN_L = k->S1_L = INT32_MAX - 4, k->S2N1_D = INT32_MAX - 4;
    k->EFFECTIF_L[cls] = classless ? 10737418 : INT32_MAX - 4;
    Run(3);  // ten counts
    EXPECT_FLOAT_EQ(k->ECHELLE_S, classless ? 1.0f : static_cast<float>(std::pow(1 / 1.2, 10)));
    k->FireMouseMove({1530.0f + 300 * cls, 9470});  // the query's caption shows the class
    EXPECT_EQ(std::make_tuple(k->SN_L, k->S1_L, k->MOY1_L, k->EFF1.Caption(),
                              At(102 + 20 * int(cls), 631)),
              std::make_tuple(INT32_MAX, INT32_MAX, 100,
                              classless ? " Effectif de ( 20 ) = 10737418 "
                                        : " Effectif de ( 1 ) = 2147483647 ",
                              kMagenta));
  }
  k->EFFACER.FireClick(), k->CloseRequested();
  EXPECT_TRUE(ui::Ended() && ui::EndReason() == "window closed") << ui::EndReason();
}
