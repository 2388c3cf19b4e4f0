// The series runner, driven as a user drives it; the stop command is clicked
// from the yield hook, the only place where a run lets events in. Also the
// 2-second pause.
#include <functional>
#include <tuple>
#include <utility>

#include "fixture.h"

namespace {

class RunnerTest : public KestorTest {
 protected:
  // Runs on_yield(n) at the n-th yield (from 1).
  void OnYield(std::function<void(int)> on_yield) {
    ui::seams::SetYieldHook([this, on_yield] { on_yield(++yields_); });
  }
  int StripRow() const {
    return (Px(k->POSAXE_I * k->ECHVERTI_S) + Px(k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height())) / 2;
  }
  int InkOnStrip() const {
    int ink = 0;
    for (int x = 0; x < k->SurfaceWidth(); ++x) ink += k->Pixel(x, StripRow()) != ui::QBColor(15);
    return ink;
  }
  bool LastPulseDrawn() const {
    return k->Pixel(Px(k->TEMPS_S * k->ECHELLEX_S), StripRow()) != ui::QBColor(15);
  }
  // Back at rest, with the three results as a finished run writes them.
  void ExpectIdle(const std::string& counts) {
    for (ui::Label* l :
         {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->ACTIVIT, &k->INFORMATION, &k->FIN})
      EXPECT_TRUE(l->Shown()) << l->Name();
    EXPECT_EQ(std::make_tuple(k->Label34.Shown(), k->COMPTAGE_I + k->MARCHE_I, k->MousePointer()),
              std::make_tuple(false, 0, ui::Pointer::Arrow));
    EXPECT_EQ(k->NBCOMPTAGE.Caption() + "|" + k->N1MOYEN.Caption() + "|" + k->VARI1.Caption(),
              counts + "| Nmoyen =" + ui::Str(k->MOY1_L / 100.0) +
                  " | =" + ui::Str(k->VAR1_L / 100.0) + " ");
    EXPECT_TRUE(k->NBCOMPTAGE.Shown() && k->N1MOYEN.Shown() && k->VARI1.Shown());
  }
  int yields_ = 0;
};

// Released with no entry selected, the list only closes. One count draws
// its pulses and never yields. A series of 100000 stopped at its fourth
// yield counts without drawing, its labels showing the counts made, and ends
// after the count in progress.
TEST_F(RunnerTest, OneCountThenASeriesStoppedAtItsFourthYield) {
  Start();
  k->LANCER.FireClick();
  k->LANCER_N.FireMouseUp();
  EXPECT_FALSE(k->LANCER_N.Shown());
  EXPECT_EQ(std::make_tuple(k->SN_L, k->FICHIER_T), std::make_tuple(0, ""));
  OnYield([this](int n) {
    EXPECT_TRUE(k->Label34.Shown() && !k->LANCER.Shown() && !k->FIN.Shown() && k->COMPTAGE_I == 1 &&
                k->MARCHE_I == 1);
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), " Nombre de comptages =" + ui::Str(n + 1));
    EXPECT_EQ(k->N1MOYEN.Caption(), " Nmoyen =" + ui::Str(k->MOY1_L / 100.0));
    if (n == 4) k->Label34.FireClick();
  });
  Run(0);
  ExpectIdle(" Nombre de comptage = 1 ");
  EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage =" + ui::Str(k->N1C_L) + " ");
  EXPECT_TRUE(LastPulseDrawn());
  Run(15);
  EXPECT_EQ(yields_, 4);
  EXPECT_EQ(k->N0C_L, 100000);
  ExpectIdle(" Nombre de comptages = 5 ");
  EXPECT_FALSE(k->N1COMPTE.Shown());
  EXPECT_EQ(InkOnStrip(), 0);
}

// With a clock that moves 0.25 s a reading: the pass counter cycles 1 to 499,
// each count is followed by a 2-second pause, and the stop, seen after the
// count in progress, leaves that count's pulses on the strip.
TEST_F(RunnerTest, TheContinuousRunPausesCyclesItsCounterAndStops) {
  Start();
  k->ACTIV_I = 16;
  ui::seams::SetClock([this] { return clock_ += 0.25f; });
  float last = -2.0f;
  OnYield([&](int n) {
    EXPECT_EQ(k->BOUCLE_L, (n - 1) % 499 + 1) << n;
    EXPECT_GE(clock_ - std::exchange(last, clock_), 2.0f) << n;
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), k->TEXTE_NBCOMPTAGE());
    EXPECT_EQ(k->N1MOYEN.Caption(), k->TEXTE_N1MOYEN(true));
    if (n == 510) k->Label34.FireClick();
  });
  Run(16);
  ASSERT_EQ(yields_, 510);
  ExpectIdle(" Nombre de comptages = 510 ");
  EXPECT_TRUE(k->N1COMPTE.Shown());
  EXPECT_TRUE(LastPulseDrawn());
}

// A missing file ends the continuous run after one pass, its pause and the
// clearing of the strip.
TEST_F(RunnerTest, AMissingFileEndsTheContinuousRunAfterItsPauseAndClearing) {
  Start(1024, 768, {ScratchDir() + "/nowhere.ksq"});
  ui::seams::SetClock([this] { return clock_ += 0.25f; });
  float at_yield = 0;
  OnYield([&](int) {
    at_yield = clock_;
    k->Line(7500, StripRow() * 15.0f - 30, 7500, StripRow() * 15.0f + 30, ui::QBColor(12));
  });
  Run(16);
  EXPECT_EQ(yields_, 1);
  EXPECT_GE(clock_ - at_yield, 2.0f);
  EXPECT_EQ(InkOnStrip(), 0);
  EXPECT_TRUE(k->DISK_0.Shown());
  ExpectIdle(" Nombre de comptage = 0 ");
}

// The pause ends 2 seconds after its first reading of the clock, also when
// the clock passes midnight meanwhile or is set back.
TEST_F(RunnerTest, ThePauseEndsTwoSecondsLaterEvenAcrossMidnight) {
  const struct {
    float start;  // -1: 5000, then 1
    int readings;
    float last;
  } cases[] = {{50000.0f, 9, 50002.0f}, {86399.5f, 9, 1.5f}, {-1.0f, 2, 1.0f}};
  Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    int readings = 0;
    float last = 0;
    ui::seams::SetClock([&] {
      float t = c.start >= 0 ? c.start + 0.25f * readings : (readings == 0 ? 5000.0f : 1.0f);
      ++readings;
      return last = t >= 86400.0f ? t - 86400.0f : t;
    });
    k->PAUSE2();
    EXPECT_EQ(readings, c.readings);
    EXPECT_EQ(last, c.last);
  }
}

}  // namespace
