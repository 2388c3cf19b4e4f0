// The runner, the stop clicked from the yield hook; the 2-second pause. Every
// count of "100 200 250" at 1 imp/s is 2, pulses at pixels 267 and 800 of the
// strip row 190, above the axis row 200.
#include <functional>
#include <tuple>
#include <utility>

#include "fixture.h"

namespace {

class RunnerTest : public KestorTest {
 protected:
  void StartTwos(const std::string& file = WriteScratchFile("twos.ksq", "100\n200\n250\n")) {
    Start(1024, 768, {file});
    ui::seams::SetYieldHook([this] { on_yield(++yields_); });
  }
  int InkOnStrip(int ink = 0) const {
    for (int x = 0; x < k->SurfaceWidth(); ++x) ink += k->Pixel(x, 190) != kWhite;
    return ink;
  }
  void ExpectIdle(const std::string& results) {
    for (ui::Label* l :
         {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->ACTIVIT, &k->INFORMATION, &k->FIN})
      EXPECT_TRUE(l->Shown()) << l->Name();
    EXPECT_EQ(std::make_tuple(
                  k->Label34.Shown(), k->COMPTAGE_I + k->MARCHE_I, k->MousePointer(),
                  k->NBCOMPTAGE.Caption() + "|" + k->N1MOYEN.Caption() + "|" + k->VARI1.Caption()),
              std::make_tuple(false, 0, ui::Pointer::Arrow, results));
    EXPECT_TRUE(k->NBCOMPTAGE.Shown() && k->N1MOYEN.Shown() && k->VARI1.Shown());
  }
  std::function<void(int)> on_yield = [](int) {};
  int yields_ = 0;
};

// One count: the strip erased, its axis light blue, the pulses, the bar of
// class 2 (columns 138 to 146, from row 620). A clear. A series stopped at
// its fourth yield ends after that count, no pulse drawn (4 counts: from row 580).
TEST_F(RunnerTest, OneCountAClearAndASeriesStoppedAtItsFourthYield) {
  StartTwos();
  EXPECT_EQ(Seen({{50, 200}, {500, 200}, {1000, 200}}), "RBR");
  k->LANCER.FireClick();
  k->LANCER_N.FireMouseUp();
  EXPECT_EQ(std::make_tuple(k->LANCER_N.Shown(), k->SN_L, k->FICHIER_T),
            std::make_tuple(false, 0, ""));
  k->Line(9000, 2700, 9000, 2900, kLightRed);  // a mark on the strip
  Run(0);
  ExpectIdle(" Nombre de comptage = 1 | Nmoyen = 2 | = 0 ");
  EXPECT_EQ(std::make_tuple(k->N1COMPTE.Caption(), yields_, k->N0C_L),
            std::make_tuple(" Valeur du comptage = 2 ", 0, 1));
  EXPECT_EQ(Seen({{600, 190}, {50, 200}, {1000, 200}, {267, 190}, {800, 190}}), "WBBBB");
  EXPECT_EQ(Seen({{142, 618}, {142, 621}, {137, 625}, {138, 625}, {146, 625}, {147, 625}}),
            "WBWBBW");
  k->EFFACER.FireClick();
  k->OUI.FireClick();
  EXPECT_EQ(Seen({{142, 625}, {142, 633}, {50, 200}, {500, 200}}), "WBRB");
  EXPECT_EQ(k->NBCOMPTAGE.Caption(), " Nombre de comptage = 0 ");
  EXPECT_TRUE(k->NBCOMPTAGE.Shown() && !k->N1MOYEN.Shown() && !k->VARI1.Shown() &&
              !k->N1COMPTE.Shown() && !k->SIGMA2.Shown());
  on_yield = [this](int n) {
    EXPECT_TRUE(k->Label34.Shown() && !k->LANCER.Shown() && !k->FIN.Shown() && k->COMPTAGE_I == 1 &&
                k->MARCHE_I == 1 && k->SIGMA2.Shown() && k->N1MOYEN.Shown() && k->VARI1.Shown());
    EXPECT_EQ(k->NBCOMPTAGE.Caption() + "|" + k->N1MOYEN.Caption() + "|" + k->VARI1.Caption(),
              " Nombre de comptages = " + std::to_string(n) + "| Nmoyen = 2| = 0");
    if (n == 4) k->Label34.FireClick();
  };
  Run(15);
  EXPECT_EQ(std::make_tuple(yields_, k->N0C_L, k->N1COMPTE.Shown(), InkOnStrip()),
            std::make_tuple(4, 100000, false, 0));
  ExpectIdle(" Nombre de comptages = 4 | Nmoyen = 2 | = 0 ");
  EXPECT_EQ(Seen({{50, 200}, {142, 578}, {142, 581}}), "BWB");
}

// The pass counter cycles 1 to 499, a 2-second pause after each count; the
// stop leaves the last count's pulses.
TEST_F(RunnerTest, TheContinuousRunPausesCyclesItsCounterAndStops) {
  StartTwos();
  ui::seams::SetClock([this] { return clock_ += 0.25f; });
  float last = -2.0f;
  on_yield = [&](int n) {
    EXPECT_EQ(k->BOUCLE_L, (n - 1) % 499 + 1) << n;
    EXPECT_GE(clock_ - std::exchange(last, clock_), 2.0f) << n;
    EXPECT_EQ(k->N1MOYEN.Caption() + "|" + k->VARI1.Caption() + "|" + k->N1COMPTE.Caption(),
              " Nmoyen = 2 | = 0 | Valeur du comptage = 2 ");
    if (n == 510) k->Label34.FireClick();
  };
  Run(16);
  ASSERT_EQ(yields_, 510);
  ExpectIdle(" Nombre de comptages = 510 | Nmoyen = 2 | = 0 ");
  EXPECT_EQ(std::make_tuple(k->N1COMPTE.Shown(), At(267, 190), At(800, 190)),
            std::make_tuple(true, kBlue, kBlue));
}

// A missing file ends it after one pass, its pause and the strip's clearing.
TEST_F(RunnerTest, AMissingFileEndsTheContinuousRunAfterItsPauseAndClearing) {
  StartTwos(ScratchDir() + "/nowhere.ksq");
  ui::seams::SetClock([this] { return clock_ += 0.25f; });
  float at_yield = 0;
  on_yield = [&](int) {
    at_yield = clock_;
    k->Line(7500, 2700, 7500, 2900, kLightRed);
  };
  Run(16);
  EXPECT_EQ(std::make_tuple(yields_, InkOnStrip(), k->DISK_0.Shown()), std::make_tuple(1, 0, true));
  EXPECT_GE(clock_ - at_yield, 2.0f);
  ExpectIdle(" Nombre de comptage = 0 | Nmoyen = 0 | = 0 ");
  EXPECT_TRUE(k->EFFACER.Enabled());
}

// Two seconds after its first reading, across midnight; at once when set back.
TEST_F(RunnerTest, ThePauseEndsTwoSecondsLaterEvenAcrossMidnight) {
  Start();  // start (-1: 5000, then 1), readings, last reading
  const std::tuple<float, int, float> cases[] = {
      {50000, 9, 50002}, {86399.5f, 9, 1.5f}, {-1, 2, 1}};
  for (const auto& [start, count, end] : cases) {
    SCOPED_TRACE(start);
    int readings = 0;
    float last = 0;
    ui::seams::SetClock([&, s = start] {
      float t = s >= 0 ? s + 0.25f * readings : (readings == 0 ? 5000.0f : 1.0f);
      ++readings;
      return last = t >= 86400.0f ? t - 86400.0f : t;
    });
    k->PAUSE2();
    EXPECT_EQ(std::make_tuple(readings, last), std::make_tuple(count, end));
  }
}

}  // namespace
