// One count (COMPTAGE1): pulses, the count window and its colours, labels,
// the histogram scale; and finding the data file (OUVERTURE).
#include <filesystem>
#include <tuple>

#include "fixture.h"

namespace {

const std::string kBlue = Describe(ui::QBColor(9));
const std::string kRed = Describe(ui::QBColor(12));
const std::string kWhite = Describe(ui::QBColor(15));

class CountTest : public KestorTest {
 protected:
  // content as the only data file, at midnight (nothing skipped).
  void StartWith(const std::string& content, int16_t rate = 1) {
    Start(1024, 768, {WriteScratchFile("count.ksq", content)});
    k->ACTIV_I = rate;
  }
  // One count as the runner prepares it.
  void Count(const char* mode = "C_1", int16_t marche = 0) {
    k->MODE_T = mode;
    k->MARCHE_I = marche;
    k->BANDE0();
    k->COMPTAGE1();
  }
  // The strip's colour at reference position pos, half-way up the band.
  std::string Strip(float pos) const {
    const int axis = Px(k->POSAXE_I * k->ECHVERTI_S);
    const int top = Px(k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height());
    return Describe(k->Pixel(Px(pos * k->ECHELLEX_S), (axis + top) / 2));
  }
};

// A value v is 40 v / rate twips; the window is 2680 to 12680. A value
// reaching 15360 ends a count and is lost; the end of the file, inside a
// count, continues it from the first value. The last count made is read.
TEST_F(CountTest, PulsesInTheWindowAreCountedAndDrawnBlue) {
  const struct {
    const char* what;
    int16_t rate;
    const char* values;
    int32_t count;
    std::vector<std::pair<float, std::string>> pulses;  // the last is where the count stops
    int32_t made = 1;                                   // counts of that value
  } cases[] = {
      {"rate 1", 1, "100\n200\n250\n", 2, {{4000, kBlue}, {12000, kBlue}}},
      {"left edge", 1, "67\n1000\n", 1, {{2680, kBlue}}},
      {"before the left edge", 1, "66.9975\n1000\n", 0, {{2679.9f, kRed}}},
      {"right edge", 1, "317\n1000\n", 1, {{12680, kBlue}}},
      {"after the right edge", 1, "317.0025\n1000\n", 0, {{12680.1f, kRed}}},
      {"not finite: 0, so 1", 1, "1e39\n-1e39\n1000\n", 0, {{40, kRed}, {80, kRed}}},
      // 4000, (15360); the strip cleared, 3000.
      {"the value reaching the end lost",
       1,
       "100\n284\n75\n1000\n",
       1,
       {{4000, kWhite}, {3000, kBlue}},
       2},
      // 4000, 12000, (16000); the strip cleared, 8000, 12000.
      {"the end of the file inside a count",
       1,
       "100\n200\n",
       2,
       {{4000, kWhite}, {8000, kBlue}, {12000, kBlue}},
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartWith(c.values, c.rate);
    for (int i = 0; i < c.made; ++i) Count();
    EXPECT_EQ(k->N1C_L, c.count);
    EXPECT_EQ(k->TEMPS_S, c.pulses.back().first);
    EXPECT_EQ(k->EFFECTIF_L[static_cast<size_t>(c.count)], c.made);
    EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage =" + ui::Str(c.count) + " ");
    for (const auto& [pos, colour] : c.pulses) EXPECT_EQ(Strip(pos), colour) << pos;
  }
}

TEST_F(CountTest, ACountThatNeverFillsTheStripEndsAsItStands) {
  std::string backwards;
  for (int i = 0; i < 20000; ++i) backwards += "-1\n";
  StartWith(backwards);
  Count("C000010", 1);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_EQ(k->TEMPS_S, -40000000);  // one million values of -40 twips
}

// One count (kind 0) and the continuous run (2) show the mean and e.q.m.
// with a trailing blank; a series (1) also the number of counts, all without
// it, and no pulse.
TEST_F(CountTest, ResultLabelsFollowTheKindOfRun) {
  for (const auto& [mode, marche, counts, mean, variance, value] :
       {std::make_tuple("C_1", 0, "-", " Nmoyen = 3 ", " = 0 ", " Valeur du comptage = 3 "),
        std::make_tuple("CONTINU", 2, "-", " Nmoyen = 3 ", " = 0 ", " Valeur du comptage = 3 "),
        std::make_tuple("C000010", 1, " Nombre de comptages = 1", " Nmoyen = 3", " = 0", "-")}) {
    SCOPED_TRACE(mode);
    StartWith("67\n1\n1\n1000\n");  // a count of 3: 2680, 2720, 2760
    for (ui::Label* l : {&k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1, &k->N1COMPTE}) l->SetCaption("-");
    for (ui::Widget* w : {&k->N1MOYEN, &k->VARI1}) w->SetVisible(false);
    k->SIGMA2.SetVisible(false);
    Count(mode, static_cast<int16_t>(marche));
    EXPECT_EQ(std::make_tuple(k->NBCOMPTAGE.Caption(), k->N1MOYEN.Caption(), k->VARI1.Caption(),
                              k->N1COMPTE.Caption()),
              std::make_tuple(counts, mean, variance, value));
    EXPECT_TRUE(k->N1MOYEN.Visible() && k->VARI1.Visible() && k->SIGMA2.Visible());
  }
}

TEST_F(CountTest, ABarReachingTheLabelsShrinksTheScaleOncePerCount) {
  StartWith("100\n200\n250\n");  // every count is 2
  const float limit = k->N1MOYEN.Top() + k->N1MOYEN.Height() + 20;
  const auto reach = static_cast<int32_t>(std::ceil((k->POSHIST_I - limit) / 200.0));
  k->EFFECTIF_L[5] = 12;  // a bar 2400 twips (160 pixels) tall at scale 1
  k->TRACEHISTO();
  const int x5 = Px((k->H1_I + 5 * k->UNITE_I) * k->ECHHORIZ_S), base = Px(k->POSHIST_I);
  ASSERT_EQ(Describe(k->Pixel(x5, base - 150)), kBlue);
  // A mark in the histogram area, away from every bar.
  const int xm = Px((k->H1_I + 2.5 * k->UNITE_I) * k->ECHHORIZ_S);
  k->Line(xm * 15.0f, (base - 100) * 15.0f, xm * 15.0f, (base - 90) * 15.0f, ui::QBColor(12));

  const float once = static_cast<float>(1 / 1.2);
  k->EFFECTIF_L[2] = reach - 1;  // the next count of 2 reaches the limit
  Count("C000010", 1);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, once);
  EXPECT_EQ(Describe(k->Pixel(x5, base - 150)), kWhite);  // now 2000 twips tall
  EXPECT_EQ(Describe(k->Pixel(x5, base - 125)), kBlue);
  EXPECT_EQ(Describe(k->Pixel(xm, base - 95)), kWhite);  // erased
  EXPECT_EQ(Describe(k->Pixel(xm, base)), kBlue);        // the base line again
  Count("C000010", 1);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, once);  // below the limit at the new scale
}

// The clock brought into 0 to 100 by steps of 100: its whole part is skipped.
TEST_F(CountTest, TheTimeOfDayChoosesWhereReadingStarts) {
  std::string numbered;
  for (int i = 1; i <= 300; ++i) numbered += std::to_string(i) + "\n";
  const std::string path = WriteScratchFile("numbered.ksq", numbered);
  for (auto [clock, first] : std::vector<std::pair<float, double>>{
           {100.0f, 101}, {200.0f, 101}, {100.5f, 1}, {99.9f, 100}, {86399.9f, 100}}) {
    SCOPED_TRACE(clock);
    Start(1024, 768, {path}, clock);
    k->OUVERTURE();
    double v = 0;
    EXPECT_TRUE(ui::files::Input(2, v) && v == first) << v;
  }
}

// Eleven places are tried (a directory fails too): the file at the twelfth
// is not found; put at the eleventh, the next count finds it.
TEST_F(CountTest, TheDataFileIsSearchedAtElevenPlacesThenAgainAtTheNextCount) {
  std::vector<std::string> places = {ScratchDir()};
  for (int i = 1; i < 10; ++i) places.push_back(ScratchDir() + "/missing-" + std::to_string(i));
  places.push_back(ScratchDir() + "/eleventh.ksq");
  places.push_back(WriteScratchFile("twelfth.ksq", "250\n"));
  std::filesystem::remove(places[10]);
  Start(1024, 768, places);
  auto state = [&] {
    return std::make_tuple(k->ERREUR_I, k->DISK_0.Shown(), k->FICHIER_T, ui::files::IsOpen(2),
                           k->SN_L, k->EFFACER.Enabled());
  };
  Run(0);
  EXPECT_EQ(state(), std::make_tuple(1, true, "", false, 0, false));
  WriteScratchFile("eleventh.ksq", "250\n");
  Run(0);
  EXPECT_EQ(state(), std::make_tuple(0, false, places[10], true, 1, true));
}

}  // namespace
