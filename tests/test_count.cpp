// One count on 1024 x 768: strip row 190, base line row 633, class c's bar at 102 + 20 c.

#include <clocale>

#include "fixture.h"

class CountTest : public KestorTest {
 protected:
  void StartWith(const std::string& s) { Start(1024, 768, {WriteScratchFile("count.ksq", s)}); }
  void Count(const char* mode = "C_1", int16_t marche = 0) {
    k->MODE_T = mode, k->MARCHE_I = marche, k->BANDE0(), k->COMPTAGE1();
  }
};

// Each case after a clearing; x 100 rounded half to even; the e.q.m. divides by k; a decimal
// comma locale keeps the point.
TEST_F(CountTest, TheMeanAndSquareOfTheEqmAndThePulsesCountedAndDrawnBlue) {
  Start();
  const std::pair<std::vector<int32_t>, const char*> sums[] = {
      {{3}, " Nombre de comptage = 1 | Nmoyen = 3 | = 0 "},
      {{1, 2}, " Nombre de comptages = 2 | Nmoyen = 1.5 | = .25 "},
      {{0, 0, 1}, " Nombre de comptages = 3 | Nmoyen = .33 | = .22 "},
      {{1, 0, 0, 0, 0, 0, 0, 0}, " Nombre de comptages = 8 | Nmoyen = .12 | = .11 "},  // 12.5
      {{1, 1, 1, 0, 0, 0, 0, 0}, " Nombre de comptages = 8 | Nmoyen = .38 | = .23 "},  // 37.5
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, " Nombre de comptages = 11 | Nmoyen = .09 | = .08 "},
      // A count above 50 enters the sums, not the histogram, and touches nothing else.
      {{16, 4001}, " Nombre de comptages = 2 | Nmoyen = 2008.5 | = 3970056.25 "},
      {{51, 50}, " Nombre de comptages = 2 | Nmoyen = 50.5 | = .25 "},
  };
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  ASSERT_TRUE(std::setlocale(LC_ALL, "fr_FR.UTF-8")) << "tools/install-deps.sh generates it";
  ASSERT_EQ(*std::localeconv()->decimal_point, ',');
  for (const auto& [counts, texts] : sums) {
    std::array<int32_t, 51> classes{};
    k->RAZ(), k->TEMPS_S = 5;
    for (int32_t n : counts)
      k->N1C_L = n, k->AJOUTER_COMPTAGE(), classes[size_t(std::min(n, 50))] += n <= 50;
    EXPECT_EQ(k->TEXTE_NBCOMPTAGE() + "|" + k->TEXTE_N1MOYEN(true) + "|" + k->TEXTE_VARI1(true),
              texts);
    EXPECT_EQ(std::make_tuple(k->EFFECTIF_L, k->TEMPS_S), std::make_tuple(classes, 5.0f)) << texts;
  }
  std::setlocale(LC_ALL, locale.c_str());
  // A value v is 40 v / rate twips, the window 2680 to 12680; one reaching 15360 ends the count,
  // lost; the file's end continues the count from its start. Each case: the file, the count's
  // value, the pulses (twips, colour; the last where the count stops), how many counts are made.
  using Pulses = std::vector<std::pair<float, std::string>>;
  const std::tuple<const char*, std::string, int32_t, Pulses, int32_t> cases[] = {
      {"1 px apart", "0.25\n0.25\n0.25\n0.25\n1000\n", 0, {{20, kRed}, {30, kRed}, {40, kRed}}, 1},
      {"left edge, blanks", " \t67 \t\n1000\n", 1, {{2680, kBlue}}, 1},
      {"before the left edge", "66.9975\n1000\n", 0, {{2679.9f, kRed}}, 1},
      {"right edge", "317\n1000\n", 1, {{12680, kBlue}}, 1},
      {"after the right edge", "317.0025\n1000\n", 0, {{12680.1f, kRed}}, 1},
      {"2^64 + 1: at once beyond the strip", "18446744073709551617\n", 0, {{0, kBlank}}, 1},
      // 4000, (15360 lost); the strip cleared, 3000. 4000, 12000, (16000); cleared, 8000, 12000.
      {"end lost", "100\n284\n75\n1000\n", 1, {{4000, kBlank}, {3000, kBlue}}, 2},
      {"end of file", "100\n200\n", 2, {{4000, kBlank}, {8000, kBlue}, {12000, kBlue}}, 2},
      // The file's only value ends a full block, with no line end: read whole, nothing past it.
      {"at a block's end", "250e\n" + std::string(65528, '\n') + "250", 1, {{10000, kBlue}}, 1},
  };
  for (const auto& [what, values, count, pulses, made] : cases) {
    SCOPED_TRACE(what);
    StartWith(values);
    for (int i = 0; i < made; ++i) Count();
    EXPECT_EQ(
        std::make_tuple(k->N1C_L, k->TEMPS_S, k->EFFECTIF_L[size_t(count)], k->N1COMPTE.Caption()),
        std::make_tuple(count, pulses.back().first, made,
                        " Valeur du comptage = " + std::to_string(count) + " "));
    for (const auto& [pos, colour] : pulses) EXPECT_EQ(At(Px(pos), 190), colour) << pos;
  }
  std::string backwards(60000, '\n');  // a count that never fills the strip ends as it stands
  for (size_t i = 0; i < backwards.size(); i += 3) backwards.replace(i, 2, "-1");
  StartWith(backwards), Count("C000010", 1);
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
  for (int n = 0; n <= 40; n += 5) {  // ink from x on, none in the 4 columns before; x white
    const int x = 96 + 20 * n - (n >= 10 ? 5 : 0);
    EXPECT_EQ(std::make_tuple(n, dark(x - 4, x), dark(x, x + 3) > 0,
                              dark(x, x + (n >= 10 ? 12 : 7)) > 4, At(x, 650)),
              std::make_tuple(n, 0, true, true, kBlank));
  }
  // The window's arrows, down to row 219: "<" from 2730 twips, " >" ending at 12680. The ink of
  // "    Limites temporelles du comptage (1 seconde)", centred over the window, from column 322
  // (after its four blanks), of " Histogramme des comptages", centred under the query's label,
  // from (385, 693): none in the 6 columns before, ink in the 6 from there.
  EXPECT_EQ(std::make_tuple(dark(182, 194, 215) > 4, dark(834, 846, 215) > 4, dark(316, 322, 215),
                            dark(322, 328, 215) > 4, dark(379, 385, 693), dark(385, 391, 693) > 4),
            std::make_tuple(true, true, 0, true, 0, true));
  k->EFFECTIF_L[0] = k->EFFECTIF_L[5] = 12, k->TRACEHISTO();  // bars 2400 twips tall at scale 1
  ASSERT_EQ(At(202, 633 - 150), kBlue);
  k->Line(2280, 8000, 2280, 8150, kLightRed);  // a mark between bars: x 152, rows 533 to 543
  k->EFFECTIF_L[50] = 28;  // the next count of 50, 29 x 200 twips tall, reaches the labels' 3760
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

// The clock brought into 0 to 100 by steps of 100: its whole part is skipped. Eleven places
// searched, the user data folder following XDG_DATA_HOME (set and not empty).
TEST_F(CountTest, TheTimeOfDayChoosesWhereReadingStartsInTheFileFoundAtOneOfElevenPlaces) {
  std::string numbered;
  for (int i = 1; i <= 300; ++i) numbered += std::to_string(i) + "\n";
  for (auto [clock, first] : std::vector<std::pair<float, double>>{
           {100.0f, 101}, {200.0f, 101}, {100.5f, 1}, {99.9f, 100}, {86399.9f, 100}}) {
    Start(1024, 768, {WriteScratchFile("numbered.ksq", numbered)}, clock), k->OUVERTURE();
    double v = 0;
    EXPECT_TRUE(ui::files::Input(2, v) && v == first) << clock << ": " << v;
  }
  // Eleven places (a directory fails): put at the eleventh, the next count finds it.
  std::vector<std::string> places = {ScratchDir()};
  for (int i = 1; i < 10; ++i) places.push_back(ScratchDir() + "/missing-" + std::to_string(i));
  places.insert(places.end(), {ScratchDir() + "/11.ksq", WriteScratchFile("12.ksq", "1")});
  std::filesystem::remove(places[10]);
  auto state = [&] {  // the panel, the file found, the results shown as they stand
    return std::make_tuple(
        k->DISK_0.Shown(), k->FICHIER_T, k->SN_L, k->EFFACER.Enabled(),
        Flags({&k->N1MOYEN, &k->SIGMA2}) + Captions({&k->N1MOYEN, &k->N1COMPTE}));
  };
  Start(1024, 768, places), Run(0);
  EXPECT_EQ(state(), std::make_tuple(true, "", 0, false, "10 Nmoyen = 0 | Valeur du comptage = "));
  WriteScratchFile("11.ksq", "250\n"), Run(0);
  EXPECT_EQ(state(),
            std::make_tuple(false, places[10], 1, true, "11 Nmoyen = 1 | Valeur du comptage = 1 "));
  StartWith(""), Run(0);  // a file found but holding no number: the panel after a single count too
  EXPECT_EQ(std::make_tuple(k->DISK_0.Shown(), k->SN_L), std::make_tuple(true, 0));
  ScopedEnv home("HOME", "/home/someone");  // the user data folder follows XDG_DATA_HOME
  for (const char* data : {static_cast<const char*>(nullptr), "", "/srv/data"}) {
    ScopedEnv xdg("XDG_DATA_HOME", data);
    ui::seams::Reset();
    const std::vector<std::string> l = ui::DataFileCandidates();
    EXPECT_EQ(std::make_tuple(l.size(), l.at(0), l.at(4), l.at(5), l.at(10)),
              std::make_tuple(11u, "KESTOR_11.KSQ",
                              data && *data ? "/srv/data/kestor/KESTOR_11.KSQ"
                                            : "/home/someone/.local/share/kestor/KESTOR_11.KSQ",
                              "/home/someone/KESTOR_11.KSQ", "/mnt/KESTOR_11.KSQ"))
        << (data ? data : "unset");
  }
}
