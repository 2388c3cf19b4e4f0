// One count (COMPTAGE1): placing pulses from the data file, the count window
// and its colours on the strip, the result labels, the histogram bar and its
// scale, reading past the end of the file; and the search for the data file
// with its time-of-day skip (OUVERTURE).
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "fixture.h"

namespace {

const ui::Rgb kBlue = ui::QBColor(9);
const ui::Rgb kRed = ui::QBColor(12);
const ui::Rgb kWhite = ui::QBColor(15);

class CountTest : public KestorTest {
 protected:
  // Starts on a 1024 x 768 screen with content as the only data file, at
  // midnight (no value skipped), at the given rate code.
  void StartWith(const std::string& content, int16_t rate = 1) {
    path_ = WriteScratchFile("count-" + std::to_string(++files_) + ".ksq", content);
    Start(1024, 768, {path_}, 0.0f);
    k->ACTIV_I = rate;
  }
  // One count as the runner prepares it.
  void Count(const char* mode = "C_1", int16_t marche = 0) {
    k->MODE_T = mode;
    k->MARCHE_I = marche;
    k->BANDE0();
    k->COMPTAGE1();
  }
  // Colour of the strip at reference position pos, half-way up the band in
  // which pulses are drawn.
  ui::Rgb Strip(float pos) const {
    const int axis = Px(k->POSAXE_I * k->ECHVERTI_S);
    const int top = Px(k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height());
    return k->Pixel(Px(pos * k->ECHELLEX_S), (axis + top) / 2);
  }
  std::string path_;
  int files_ = 0;
};

TEST_F(CountTest, PulsesInTheWindowAreCountedAndDrawnBlue) {
  const struct {
    const char* what;
    int16_t rate;
    const char* values;
    int32_t count;
    std::vector<std::pair<float, ui::Rgb>> pulses;
  } cases[] = {
      {"rate 1", 1, "100\n200\n250\n", 2, {{4000, kBlue}, {12000, kBlue}}},
      {"rate 0.5", 50, "30\n100\n100\n", 1, {{2400, kRed}, {10400, kBlue}}},
      {"left edge", 1, "67\n1000\n", 1, {{2680, kBlue}}},
      {"before the left edge", 1, "66.9975\n1000\n", 0, {{2679.9f, kRed}}},
      {"right edge", 1, "317\n1000\n", 1, {{12680, kBlue}}},
      {"after the right edge", 1, "317.0025\n1000\n", 0, {{12680.1f, kRed}}},
      {"0 read as 1 at rate 16", 16, "0\n100000\n", 0, {{2.5f, kRed}}},
      {"rate 0.5 moves 80 v", 50, "1\n1000\n", 0, {{80, kRed}}},
      {"no finite single: 0, so 1", 1, "1e39\n-1e39\n1000\n", 0, {{40, kRed}, {80, kRed}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartWith(c.values, c.rate);
    Count();
    EXPECT_EQ(k->N1C_L, c.count);
    EXPECT_EQ(k->TEMPS_S, c.pulses.back().first);
    EXPECT_EQ(k->SN_L, 1);
    EXPECT_EQ(k->EFFECTIF_L[static_cast<size_t>(c.count)], 1);
    EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage =" + ui::Str(c.count) + " ");
    for (const auto& [pos, colour] : c.pulses) {
      SCOPED_TRACE(pos);
      EXPECT_EQ(Describe(Strip(pos)), Describe(colour));
    }
    EXPECT_TRUE(k->EFFACER.Enabled());
  }
}

TEST_F(CountTest, AValueReachingTheStripEndIsTheNextCountsLoss) {
  StartWith("100\n284\n75\n1000\n");
  Count();
  EXPECT_EQ(k->N1C_L, 1);
  EXPECT_EQ(k->TEMPS_S, 4000);  // the pulse at exactly 15360 was dropped
  Count();
  EXPECT_EQ(k->N1C_L, 1);
  EXPECT_EQ(k->TEMPS_S, 3000);  // the next count starts with the value 75
  EXPECT_EQ(Describe(Strip(3000)), Describe(kBlue));
  EXPECT_EQ(Describe(Strip(4000)), Describe(kWhite));  // cleared between counts
}

TEST_F(CountTest, TheEndOfTheFileContinuesTheCountFromTheFirstValue) {
  StartWith("100\n200\n");
  Count();
  EXPECT_EQ(k->N1C_L, 2);  // 4000, 12000, then 100 again: 16000 ends it
  Count();
  EXPECT_EQ(k->N1C_L, 2);  // 200 (8000), then 100 (12000), then 200 ends it
  EXPECT_EQ(k->TEMPS_S, 12000);
  EXPECT_EQ(k->FICHIER_T, path_);
  EXPECT_TRUE(ui::files::IsOpen(2));
}

TEST_F(CountTest, ACountThatNeverFillsTheStripEndsAsItStands) {
  std::string backwards;
  for (int i = 0; i < 20000; ++i) backwards += "-1\n";
  StartWith(backwards);
  Count("C000010", 1);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_EQ(k->N1C_L, 0);
  EXPECT_EQ(k->TEMPS_S, -40000000);  // one million values of -40 twips
}

TEST_F(CountTest, ACountAboveFiftyHasNoClass) {
  std::string zeros;
  for (int i = 0; i < 100; ++i) zeros += "0\n";
  StartWith(zeros, 16);
  Count();
  // Pulses every 2.5 twips: 2680 to 12680 holds 4001 of them.
  EXPECT_EQ(k->N1C_L, 4001);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_EQ(k->S1_L, 4001);
  EXPECT_EQ(k->MOY1_L, 400100);
  EXPECT_EQ(k->EFFECTIF_L, (std::array<int32_t, 51>{}));
  EXPECT_EQ(k->ECHELLE_S, 1.0f);
  EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage = 4001 ");
}

TEST_F(CountTest, ResultLabelsFollowTheKindOfRun) {
  // One count of value 3: pulses at 2680, 2720 and 2760.
  const struct {
    const char* mode;
    int16_t marche;
    bool draws;
    const char* counts;
    const char* mean;
    const char* variance;
  } cases[] = {
      {"C_1", 0, true, "sentinel", " Nmoyen = 3 ", " = 0 "},
      {"CONTINU", 2, true, "sentinel", " Nmoyen = 3 ", " = 0 "},
      {"C000010", 1, false, " Nombre de comptages = 1", " Nmoyen = 3", " = 0"},
      {"C000010", 7, false, "sentinel", "sentinel", "sentinel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.marche));
    StartWith("67\n1\n1\n1000\n");
    for (ui::Label* l : {&k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1, &k->N1COMPTE}) {
      l->SetCaption("sentinel");
      l->SetVisible(false);
    }
    k->SIGMA2.SetVisible(false);
    Count(c.mode, c.marche);
    EXPECT_EQ(k->N1C_L, 3);
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), c.counts);
    EXPECT_EQ(k->N1MOYEN.Caption(), c.mean);
    EXPECT_EQ(k->VARI1.Caption(), c.variance);
    const bool refreshed = c.marche <= 2;
    EXPECT_EQ(k->N1MOYEN.Visible(), refreshed);
    EXPECT_EQ(k->VARI1.Visible(), refreshed);
    EXPECT_EQ(k->SIGMA2.Visible(), refreshed);
    EXPECT_FALSE(k->NBCOMPTAGE.Visible());
    EXPECT_EQ(k->N1COMPTE.Caption(), c.draws ? " Valeur du comptage = 3 " : "sentinel");
    EXPECT_EQ(Describe(Strip(2720)), Describe(c.draws ? kBlue : kWhite));
    EXPECT_EQ(k->EFFECTIF_L[3], 1);
  }
}

TEST_F(CountTest, ABarReachingTheLabelsShrinksTheScaleOncePerCount) {
  StartWith("100\n200\n250\n");  // every count is 2
  const float limit = k->N1MOYEN.Top() + k->N1MOYEN.Height() + 20;
  const int32_t reach = static_cast<int32_t>(std::ceil((k->POSHIST_I - limit) / 200.0));
  // A bar of class 5 at scale 1, 2400 twips (160 pixels) tall.
  k->EFFECTIF_L[5] = 12;
  k->TRACEHISTO();
  const int x5 = Px((k->H1_I + 5 * k->UNITE_I) * k->ECHHORIZ_S), base = Px(k->POSHIST_I);
  ASSERT_EQ(Describe(k->Pixel(x5, base - 150)), Describe(kBlue));
  // A mark in the histogram area, away from every bar.
  const int xm = Px((k->H1_I + 2.5 * k->UNITE_I) * k->ECHHORIZ_S);
  k->Line(xm * 15.0f, (base - 100) * 15.0f, xm * 15.0f, (base - 90) * 15.0f, kRed);

  k->EFFECTIF_L[2] = reach - 1;  // the next count of 2 reaches the limit
  Count("C000010", 1);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, static_cast<float>(1 / 1.2));
  EXPECT_EQ(Describe(k->Pixel(x5, base - 150)), Describe(kWhite));  // now 2000 twips
  EXPECT_EQ(Describe(k->Pixel(x5, base - 125)), Describe(kBlue));
  EXPECT_EQ(Describe(k->Pixel(xm, base - 95)), Describe(kWhite));  // erased
  EXPECT_EQ(Describe(k->Pixel(xm, base)), Describe(kBlue));        // base line again
  EXPECT_EQ(k->K_I, 61);  // TRACE_BARRE's offset counter after the new bar
  EXPECT_EQ(k->A_I, 61);  // TRACEHISTO's offset counter

  Count("C000010", 1);  // still below the limit at the new scale
  EXPECT_FLOAT_EQ(k->ECHELLE_S, static_cast<float>(1 / 1.2));

  k->EFFECTIF_L[2] = 10 * reach;  // far above: still one division only
  Count("C000010", 1);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, static_cast<float>(static_cast<float>(1 / 1.2) / 1.2));
  EXPECT_EQ(k->SN_L, 3);
}

TEST_F(CountTest, ProgramEnds) {
  {
    SCOPED_TRACE("the file is gone when it must be reopened");
    StartWith("100\n200\n");
    Count();  // leaves the file after its first value, read again
    std::filesystem::remove(path_);
    EXPECT_FALSE(ui::Dispatch([&] { Count(); }));
    EXPECT_TRUE(ui::Ended());
    EXPECT_EQ(ui::EndReason(), "data file cannot be reopened");
    EXPECT_FALSE(ui::files::IsOpen(2));
    EXPECT_EQ(k->SN_L, 1);
  }
  {
    SCOPED_TRACE("the window was closed");
    StartWith("100\n200\n");
    k->CloseRequested();
    EXPECT_FALSE(ui::Dispatch([&] { Count(); }));
    EXPECT_TRUE(ui::Ended());
    EXPECT_EQ(ui::EndReason(), "window closed");
    EXPECT_EQ(k->SN_L, 0);
  }
}

// ------------------------------------------------------- finding the file

class OpeningTest : public KestorTest {
 protected:
  static std::string Numbered(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) text += std::to_string(i) + "\n";
    return text;
  }
  static std::string Missing(int i) { return ScratchDir() + "/missing-" + std::to_string(i); }
};

TEST_F(OpeningTest, TheTimeOfDayChoosesWhereReadingStarts) {
  const std::string path = WriteScratchFile("numbered.ksq", Numbered(300));
  const struct {
    float clock;
    int16_t last_skipped;  // A_I; 0 when nothing was skipped
    double first_read;
  } cases[] = {{100.0f, 100, 101}, {200.0f, 100, 101}, {100.5f, 0, 1},     {99.9f, 99, 100},
               {0.0f, 0, 1},       {45296.5f, 96, 97}, {86399.9f, 99, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clock);
    Start(1024, 768, {path}, c.clock);
    k->A_I = 0;
    k->OUVERTURE();
    EXPECT_EQ(k->FICHIER_T, path);
    EXPECT_EQ(k->ERREUR_I, 0);
    EXPECT_FALSE(k->DISK_0.Shown());
    EXPECT_EQ(k->A_I, c.last_skipped);
    double v = 0;
    ASSERT_TRUE(ui::files::Input(2, v));
    EXPECT_EQ(v, c.first_read);
  }
}

TEST_F(OpeningTest, CandidatesAreTriedInOrderElevenInAll) {
  const std::string path = WriteScratchFile("found.ksq", Numbered(200));
  const struct {
    const char* what;
    int missing_before;  // candidates that fail before the file
    bool found;
  } cases[] = {
      {"first", 0, true}, {"fourth", 3, true}, {"eleventh", 10, true}, {"twelfth", 11, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> candidates;
    for (int i = 0; i < c.missing_before; ++i)
      candidates.push_back(i == 1 ? ScratchDir() : Missing(i));  // a directory fails too
    candidates.push_back(path);
    Start(1024, 768, candidates, 0.0f);
    k->OUVERTURE();
    EXPECT_EQ(k->FICHIER_T, c.found ? path : "");
    EXPECT_EQ(k->ERREUR_I, c.found ? 0 : 1);
    EXPECT_EQ(k->DISK_0.Shown(), !c.found);
    EXPECT_EQ(ui::files::IsOpen(2), c.found);
  }
}

TEST_F(OpeningTest, FilesThatGiveNoUsableValueAreTreatedAsMissing) {
  const struct {
    const char* what;
    std::string content;
    float clock;
  } cases[] = {{"shorter than the skip", Numbered(40), 50.0f},
               {"a value beyond 16 bits in the skip", "1\n40000\n" + Numbered(100), 50.0f},
               {"no number, when skipping", "abc\n", 50.0f},
               {"no number, when counting", "abc\n", 0.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start(1024, 768, {WriteScratchFile("unusable.ksq", c.content)}, c.clock);
    ASSERT_TRUE(ui::files::Open(5, WriteScratchFile("other.txt", "1\n")));
    k->COMPTAGE1();
    EXPECT_EQ(k->FICHIER_T, "");
    EXPECT_EQ(k->ERREUR_I, 1);
    EXPECT_TRUE(k->DISK_0.Shown());
    EXPECT_FALSE(ui::files::IsOpen(2));
    EXPECT_FALSE(ui::files::IsOpen(5));  // no file left open at all
    EXPECT_EQ(k->SN_L, 0);
  }
}

TEST_F(OpeningTest, AFilePutInPlaceIsFoundByTheNextCount) {
  const std::string path = ScratchDir() + "/later.ksq";
  std::filesystem::remove(path);
  Start(1024, 768, {path}, 0.0f);
  k->MODE_T = "C_1";
  k->COMPTAGE1();
  EXPECT_EQ(k->ERREUR_I, 1);
  EXPECT_TRUE(k->DISK_0.Shown());
  EXPECT_EQ(k->SN_L, 0);
  EXPECT_FALSE(k->EFFACER.Enabled());
  WriteScratchFile("later.ksq", Numbered(200));
  k->COMPTAGE1();
  EXPECT_EQ(k->FICHIER_T, path);
  EXPECT_EQ(k->ERREUR_I, 0);
  EXPECT_FALSE(k->DISK_0.Shown());
  EXPECT_EQ(k->SN_L, 1);
}

}  // namespace
