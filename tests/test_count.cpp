// One count on 1024 x 768: strip row 190, base line row 633, class c's bar at 102 + 20 c.

#include "fixture.h"

class CountTest : public KestorTest {
 protected:
  void StartWith(const std::string& content) {
    Start(1024, 768, {WriteScratchFile("count.ksq", content)});
  }
  void Count(const char* mode = "C_1", int16_t marche = 0) {
    k->MODE_T = mode, k->MARCHE_I = marche;
    k->BANDE0(), k->COMPTAGE1();
  }
};

// Each case after a clearing; x 100 rounded half to even; the e.q.m. divides by k.
TEST_F(CountTest, TheMeanAndSquareOfTheEqmAndThePulsesCountedAndDrawnBlue) {
  Start();
  const std::pair<std::vector<int32_t>, const char*> sums[] = {
      {{3}, " Nombre de comptage = 1 | Nmoyen = 3 | = 0 "},
      {{1, 2}, " Nombre de comptages = 2 | Nmoyen = 1.5 | = .25 "},
      {{0, 0, 1}, " Nombre de comptages = 3 | Nmoyen = .33 | = .22 "},
      {{1, 0, 0, 0, 0, 0, 0, 0}, " Nombre de comptages = 8 | Nmoyen = .12 | = .11 "},  // 12.5
      {{1, 1, 1, 0, 0, 0, 0, 0}, " Nombre de comptages = 8 | Nmoyen = .38 | = .23 "},  // 37.5
      // A count above 50 enters the sums, not the histogram, and touches nothing else.
      {{16, 4001}, " Nombre de comptages = 2 | Nmoyen = 2008.5 | = 3970056.25 "},
      {{51, 50}, " Nombre de comptages = 2 | Nmoyen = 50.5 | = .25 "},
  };
  for (const auto& [counts, texts] : sums) {
    k->RAZ(), k->TEMPS_S = 5;
    for (int32_t n : counts) k->N1C_L = n, k->AJOUTER_COMPTAGE();
    EXPECT_EQ(k->TEXTE_NBCOMPTAGE() + "|" + k->TEXTE_N1MOYEN(true) + "|" + k->TEXTE_VARI1(true),
              texts);
    std::array<int32_t, 51> classes{};
    for (int32_t n : counts)
      if (n <= 50) ++classes[static_cast<size_t>(n)];
    EXPECT_EQ(std::make_tuple(k->EFFECTIF_L, k->TEMPS_S), std::make_tuple(classes, 5.0f)) << texts;
  }
  // A value v is 40 v / rate twips, the window 2680 to 12680; one reaching
  // 15360 ends the count, lost; the file's end continues the count from its start.
  const struct {
    const char* what;
    std::string values;
    int32_t count;
    std::vector<std::pair<float, std::string>> pulses;  // the last is where the count stops
    int32_t made = 1;                                   // counts of that value
  } cases[] = {
      {"a pixel apart", "0.25\n0.25\n0.25\n0.25\n1000\n", 0, {{20, kRed}, {30, kRed}, {40, kRed}}},
      {"left edge, blanks", " \t67 \t\n1000\n", 1, {{2680, kBlue}}},
      {"before the left edge", "66.9975\n1000\n", 0, {{2679.9f, kRed}}},
      {"right edge", "317\n1000\n", 1, {{12680, kBlue}}},
      {"after the right edge", "317.0025\n1000\n", 0, {{12680.1f, kRed}}},
      {"2^64 + 1: at once beyond the strip", "18446744073709551617\n", 0, {{0, kBlank}}},
      // 4000, (15360 lost); the strip cleared, 3000. 4000, 12000, (16000); cleared, 8000, 12000.
      {"end lost", "100\n284\n75\n1000\n", 1, {{4000, kBlank}, {3000, kBlue}}, 2},
      {"end of file", "100\n200\n", 2, {{4000, kBlank}, {8000, kBlue}, {12000, kBlue}}, 2},
      // The file's only value ends a full block, with no line end: read whole, nothing past it.
      {"at a block's end", "250e\n" + std::string(65528, '\n') + "250", 1, {{10000, kBlue}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartWith(c.values);
    for (int i = 0; i < c.made; ++i) Count();
    EXPECT_EQ(std::make_tuple(k->N1C_L, k->TEMPS_S, k->EFFECTIF_L[size_t(c.count)],
                              k->N1COMPTE.Caption()),
              std::make_tuple(c.count, c.pulses.back().first, c.made,
                              " Valeur du comptage = " + std::to_string(c.count) + " "));
    for (const auto& [pos, colour] : c.pulses) EXPECT_EQ(At(Px(pos), 190), colour) << pos;
  }
  std::string backwards(60000, '\n');  // a count that never fills the strip ends as it stands
  for (size_t i = 0; i < backwards.size(); i += 3) backwards.replace(i, 2, "-1");
  StartWith(backwards);
  Count("C000010", 1);
  EXPECT_EQ(std::make_tuple(k->SN_L, k->TEMPS_S), std::make_tuple(1, -40000000.0f));
}

// Graduations 0, 5, ..., 40 in dark blue from row 650 at pixel 96 + 20 n (less 5
// from 10 on). A bar reaching the labels shrinks the scale, once per count.
TEST_F(CountTest, GraduationsSitUnderTheirTicksAndABarReachingTheLabelsShrinksTheScale) {
  StartWith("5\n");  // every count is 50 (pulses 200 twips apart): the last class with a bar
  auto dark = [&](int x0, int x1, int y0 = 648, int n = 0) {
    for (int y = y0; y < y0 + 27; ++y)
      for (int x = x0; x < x1; ++x)
        n += k->Pixel(x, y).r < 100 && At(x, y) != kBlue && At(x, y) != kBlank;
    return n;
  };
  for (int n = 0; n <= 40; n += 5) {
    SCOPED_TRACE(n);
    const int x = 96 + 20 * n - (n >= 10 ? 5 : 0);
    EXPECT_GT(dark(x, x + (n >= 10 ? 12 : 7)), 4);
    EXPECT_EQ(std::make_pair(dark(x - 4, x), dark(x, x + 3) > 0), std::make_pair(0, true));
    EXPECT_EQ(At(x, 650), kBlank);  // the number's first point, white
  }  // the window's arrows, down to row 219: "<" from 2730 twips, " >" ending at 12680
  EXPECT_TRUE(dark(182, 194, 215) > 4 && dark(834, 846, 215) > 4);
  // Between them the caption centred over the window, its ink after its four blanks.
  const std::string limits = "    Limites temporelles du comptage (1 seconde)";
  const int ink = Px((10000 - Measure(limits, 15)) / 2 + 2680 + Measure("    ", 15));
  EXPECT_EQ(std::make_pair(dark(ink - 6, ink, 215), dark(ink, ink + 6, 215) > 4),
            std::make_pair(0, true));
  // The histogram's caption centred under the query's label.
  const std::string caption = " Histogramme des comptages";
  const int x = Px((15360 - Measure(caption, 15)) / 2 + Measure(" ", 15)),
            y = Px(k->EFF1.Top() + k->EFF1.Height());
  EXPECT_EQ(std::make_pair(dark(x - 6, x, y), dark(x, x + 6, y) > 4), std::make_pair(0, true));
  const float limit = k->N1MOYEN.Top() + k->N1MOYEN.Height() + 20;
  const auto reach = static_cast<int32_t>(std::ceil((9500 - limit) / 200.0));
  k->EFFECTIF_L[0] = k->EFFECTIF_L[5] = 12, k->TRACEHISTO();  // bars 2400 twips tall at scale 1
  ASSERT_EQ(At(202, 633 - 150), kBlue);
  k->Line(2280, 8000, 2280, 8150, kLightRed);  // a mark between bars: x 152, rows 533 to 543
  k->EFFECTIF_L[50] = reach - 1;               // the next count of 50 reaches the limit
  Count("C000010", 1);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, static_cast<float>(1 / 1.2));
  // Classes 5 and 0 now 2000 twips tall (rows 500 to 633), the mark erased, the base line again.
  EXPECT_EQ(Seen({202, 499, 202, 500, 202, 600, 102, 600, 152, 538, 152, 633}), "WBBBWB");
  Count("C000010", 1);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, static_cast<float>(1 / 1.2));  // below the limit at the new scale
  // 1280 wide, 1.25 twips a line: class 2's 121 lines cover columns 173 to 183.
  Start(1280, 1024, {WriteScratchFile("count.ksq", "100\n200\n250\n")}), Run(0);
  EXPECT_EQ(Seen({172, 840, 173, 840, 183, 840, 184, 840}), "WBBW");
}

// The clock brought into 0 to 100 by steps of 100: its whole part is skipped.
TEST_F(CountTest, TheTimeOfDayChoosesWhereReadingStartsInTheFileFoundAtOneOfElevenPlaces) {
  std::string numbered;
  for (int i = 1; i <= 300; ++i) numbered += std::to_string(i) + "\n";
  const std::string path = WriteScratchFile("numbered.ksq", numbered);
  for (auto [clock, first] : std::vector<std::pair<float, double>>{
           {100.0f, 101}, {200.0f, 101}, {100.5f, 1}, {99.9f, 100}, {86399.9f, 100}}) {
    Start(1024, 768, {path}, clock), k->OUVERTURE();
    double v = 0;
    EXPECT_TRUE(ui::files::Input(2, v) && v == first) << clock << ": " << v;
  }
  // Eleven places (a directory fails): put at the eleventh, the next count finds it.
  std::vector<std::string> places = {ScratchDir()};
  for (int i = 1; i < 10; ++i) places.push_back(ScratchDir() + "/missing-" + std::to_string(i));
  places.insert(places.end(), {ScratchDir() + "/11.ksq", WriteScratchFile("12.ksq", "1")});
  std::filesystem::remove(places[10]);
  Start(1024, 768, places);
  auto state = [&] {  // the panel, the file found, the results shown as they stand
    return std::make_tuple(
        k->DISK_0.Shown(), k->FICHIER_T, k->SN_L, k->EFFACER.Enabled(),
        Flags({&k->N1MOYEN, &k->SIGMA2}) + Captions({&k->N1MOYEN, &k->N1COMPTE}));
  };
  Run(0);
  EXPECT_EQ(state(), std::make_tuple(true, "", 0, false, "10 Nmoyen = 0 | Valeur du comptage = "));
  WriteScratchFile("11.ksq", "250\n"), Run(0);
  EXPECT_EQ(state(),
            std::make_tuple(false, places[10], 1, true, "11 Nmoyen = 1 | Valeur du comptage = 1 "));
  Start(1024, 768, {WriteScratchFile("empty.ksq", "")});
  Run(0);  // a file found but holding no number: the panel after a single count too
  EXPECT_EQ(std::make_tuple(k->DISK_0.Shown(), k->SN_L), std::make_tuple(true, 0));
}

// The places searched: the user data folder follows XDG_DATA_HOME (set and not empty).
TEST(DataFileCandidates, TheUserDataFolderFollowsXdgDataHome) {
  ScopedEnv home("HOME", "/home/someone");
  const std::string local = "/home/someone/.local/share/kestor/KESTOR_11.KSQ";
  for (const auto& c : {std::pair<const char*, std::string>{nullptr, local},
                        {"", local},
                        {"/srv/data", "/srv/data/kestor/KESTOR_11.KSQ"}}) {
    SCOPED_TRACE(c.first ? c.first : "(unset)");
    ScopedEnv xdg("XDG_DATA_HOME", c.first);
    ui::seams::Reset();
    const std::vector<std::string> l = ui::DataFileCandidates();
    EXPECT_EQ(std::make_tuple(l.size(), l.at(0), l.at(4), l.at(5), l.at(10)),
              std::make_tuple(11u, "KESTOR_11.KSQ", c.second, "/home/someone/KESTOR_11.KSQ",
                              "/mnt/KESTOR_11.KSQ"));
  }
}
