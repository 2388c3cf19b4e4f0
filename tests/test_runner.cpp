// The series runner, driven as a user drives it: open the count list, select
// an entry, release the button; the stop command is clicked from the yield
// hook, the only place where a run lets events in. Also the 2-second pause.
#include <cmath>
#include <functional>
#include <vector>

#include "fixture.h"

namespace {

class RunnerTest : public KestorTest {
 protected:
  // Runs on_yield(n) at the n-th yield (from 1).
  void OnYield(std::function<void(int)> on_yield) {
    ui::seams::SetYieldHook([this, on_yield] { on_yield(++yields_); });
  }
  // A clock that moves on by step seconds at every reading.
  void TickingClock(float step) {
    ui::seams::SetClock([this, step] { return clock_ += step; });
  }
  // Row of the strip half-way up the band in which pulses are drawn.
  int StripRow() const {
    return (Px(k->POSAXE_I * k->ECHVERTI_S) + Px(k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height())) / 2;
  }
  int InkOnStrip() const {
    int ink = 0;
    for (int x = 0; x < k->SurfaceWidth(); ++x) ink += k->Pixel(x, StripRow()) != ui::QBColor(15);
    return ink;
  }
  void ExpectIdle() {
    for (ui::Label* l :
         {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->ACTIVIT, &k->INFORMATION, &k->FIN})
      EXPECT_TRUE(l->Shown()) << l->Name();
    EXPECT_FALSE(k->Label34.Shown());
    EXPECT_EQ(k->COMPTAGE_I, 0);
    EXPECT_EQ(k->MARCHE_I, 0);
    EXPECT_EQ(k->MousePointer(), ui::Pointer::Arrow);
  }
  void ExpectResults(const std::string& counts) {
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), counts);
    EXPECT_EQ(k->N1MOYEN.Caption(), " Nmoyen =" + ui::Str(k->MOY1_L / 100.0) + " ");
    EXPECT_EQ(k->VARI1.Caption(), " =" + ui::Str(k->VAR1_L / 100.0) + " ");
    for (ui::Widget* w :
         {static_cast<ui::Widget*>(&k->NBCOMPTAGE), static_cast<ui::Widget*>(&k->N1MOYEN),
          static_cast<ui::Widget*>(&k->VARI1)})
      EXPECT_TRUE(w->Shown()) << w->Name();
  }
  int yields_ = 0;
};

TEST_F(RunnerTest, OneCountDrawsItsPulsesAndNeverYields) {
  Start();
  OnYield([](int) {});
  Run(0);
  EXPECT_EQ(yields_, 0);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_EQ(k->N0C_L, 1);
  EXPECT_EQ(k->MODE_T, "C_1");
  ExpectIdle();
  ExpectResults(" Nombre de comptage = 1 ");
  EXPECT_TRUE(k->N1COMPTE.Shown());
  EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage =" + ui::Str(k->N1C_L) + " ");
  EXPECT_NE(Describe(k->Pixel(Px(k->TEMPS_S * k->ECHELLEX_S), StripRow())),
            Describe(ui::QBColor(15)));
  Run(0);
  EXPECT_EQ(k->SN_L, 2);
  ExpectResults(" Nombre de comptages = 2 ");
}

TEST_F(RunnerTest, ASeriesCountsWithoutDrawingAndYieldsOncePerCount) {
  Start();
  OnYield([this](int n) {
    // Between two counts of the series.
    EXPECT_TRUE(k->Label34.Shown());
    EXPECT_FALSE(k->LANCER.Shown());
    EXPECT_FALSE(k->FIN.Shown());
    EXPECT_EQ(k->COMPTAGE_I, 1);
    EXPECT_EQ(k->MARCHE_I, 1);
    EXPECT_EQ(k->BOUCLE_L, n);
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), " Nombre de comptages =" + ui::Str(n));
    EXPECT_EQ(k->N1MOYEN.Caption(), " Nmoyen =" + ui::Str(k->MOY1_L / 100.0));
  });
  Run(3);
  EXPECT_EQ(yields_, 10);
  EXPECT_EQ(k->SN_L, 10);
  EXPECT_EQ(k->N0C_L, 10);
  EXPECT_EQ(k->MODE_T, "C000010");
  ExpectIdle();
  ExpectResults(" Nombre de comptages = 10 ");
  EXPECT_FALSE(k->N1COMPTE.Shown());
  EXPECT_EQ(InkOnStrip(), 0);
}

TEST_F(RunnerTest, TheStopEndsALongSeriesAfterTheCountInProgress) {
  Start();
  OnYield([this](int n) {
    if (n == 4) k->Label34.FireClick();
  });
  Run(15);
  EXPECT_EQ(yields_, 4);
  EXPECT_EQ(k->N0C_L, 100000);
  EXPECT_EQ(k->SN_L, 4);
  ExpectIdle();
  ExpectResults(" Nombre de comptages = 4 ");
}

TEST_F(RunnerTest, AMissingFileEndsASeriesAfterItsFirstPass) {
  Start(1024, 768, {ScratchDir() + "/nowhere.ksq"});
  OnYield([](int) {});
  Run(6);
  EXPECT_EQ(yields_, 1);
  EXPECT_EQ(k->SN_L, 0);
  EXPECT_EQ(k->ERREUR_I, 1);
  EXPECT_TRUE(k->DISK_0.Shown());
  ExpectIdle();
  ExpectResults(" Nombre de comptage = 0 ");
}

TEST_F(RunnerTest, ReleasingWithNoEntrySelectedOnlyClosesTheList) {
  Start();
  k->EFF1.SetVisible(true);
  k->LANCER.FireClick();
  k->Label31.SetVisible(true);
  k->LANCER_N.SetListIndex(-1);
  k->LANCER_N.FireMouseUp();
  EXPECT_FALSE(k->LANCER_N.Shown());
  EXPECT_FALSE(k->Label31.Shown());
  EXPECT_FALSE(k->EFF1.Shown());
  EXPECT_EQ(k->NUM_LIST, -1);
  EXPECT_EQ(k->SN_L, 0);
  EXPECT_EQ(k->MODE_T, "");
  EXPECT_EQ(k->FICHIER_T, "");
  ExpectIdle();
}

TEST_F(RunnerTest, TheContinuousRunPausesCyclesItsCounterAndStops) {
  Start();
  k->ACTIV_I = 16;
  TickingClock(0.25f);
  std::vector<int32_t> passes;
  std::vector<float> clocks;
  OnYield([&](int n) {
    passes.push_back(k->BOUCLE_L);
    clocks.push_back(clock_);
    EXPECT_EQ(k->NBCOMPTAGE.Caption(), k->TEXTE_NBCOMPTAGE());
    EXPECT_TRUE(k->NBCOMPTAGE.Shown());
    EXPECT_EQ(k->N1MOYEN.Caption(), k->TEXTE_N1MOYEN(true));
    if (n == 510) k->Label34.FireClick();
  });
  Run(16);
  ASSERT_EQ(yields_, 510);
  EXPECT_EQ(k->SN_L, 510);
  for (size_t i = 0; i < passes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(passes[i], static_cast<int32_t>(i % 499 + 1));  // 1 to 499, then 1 again
    if (i > 0) {
      EXPECT_GE(clocks[i] - clocks[i - 1], 2.0f);  // the pause between counts
    }
  }
  EXPECT_EQ(k->BOUCLE_L, 1001);
  ExpectIdle();
  ExpectResults(" Nombre de comptages = 510 ");
  EXPECT_EQ(k->LANCER.Caption(), "  Lancer  ");
  EXPECT_TRUE(k->EFFACER.Enabled());
  EXPECT_TRUE(k->N1COMPTE.Shown());
  // Stopped without a pause or a clearing: the last count's pulses stay.
  EXPECT_GT(InkOnStrip(), 0);
  EXPECT_NE(Describe(k->Pixel(Px(k->TEMPS_S * k->ECHELLEX_S), StripRow())),
            Describe(ui::QBColor(15)));
}

TEST_F(RunnerTest, AMissingFileEndsTheContinuousRunAfterItsPauseAndClearing) {
  Start(1024, 768, {ScratchDir() + "/nowhere.ksq"});
  TickingClock(0.25f);
  float at_yield = 0;
  OnYield([&](int) {
    at_yield = clock_;
    // A mark on the strip: the clearing after the pause must erase it.
    k->Line(500 * 15.0f, StripRow() * 15.0f - 30, 500 * 15.0f, StripRow() * 15.0f + 30,
            ui::QBColor(12));
  });
  Run(16);
  EXPECT_EQ(yields_, 1);
  EXPECT_GE(clock_ - at_yield, 2.0f);
  EXPECT_EQ(InkOnStrip(), 0);
  EXPECT_TRUE(k->DISK_0.Shown());
  EXPECT_EQ(k->SN_L, 0);
  ExpectIdle();
  EXPECT_TRUE(k->EFFACER.Enabled());  // REPOS enables it even without a count
  ExpectResults(" Nombre de comptage = 0 ");
}

TEST_F(RunnerTest, TheEndOfTheProgramUnwindsARun) {
  const struct {
    const char* what;
    std::function<void(KESTOR_11&)> end;
    int32_t counts;
    const char* reason;
  } cases[] = {
      {"window closed between counts", [](KESTOR_11& w) { w.CloseRequested(); }, 3,
       "window closed"},
      {"ended during a yield", [](KESTOR_11&) { ui::End("test end"); }, 3, "test end"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start();
    yields_ = 0;
    OnYield([&](int n) {
      if (n == 3) c.end(*k);
    });
    Run(15);
    EXPECT_TRUE(ui::Ended());
    EXPECT_EQ(ui::EndReason(), c.reason);
    EXPECT_EQ(k->SN_L, c.counts);
    EXPECT_EQ(k->COMPTAGE_I, 0);
    EXPECT_EQ(k->MARCHE_I, 0);
    EXPECT_FALSE(ui::files::IsOpen(2));
  }
}

// The pause ends 2 seconds after its first reading of the clock, also when
// the clock passes midnight meanwhile or is set back.
TEST_F(RunnerTest, ThePauseEndsTwoSecondsLaterEvenAcrossMidnight) {
  const struct {
    const char* what;
    float start;
    int readings;
    float last;
  } cases[] = {
      {"afternoon", 50000.0f, 9, 50002.0f},
      {"just before midnight", 86399.5f, 9, 1.5f},
      {"set back by hand", -1.0f, 2, 1.0f},
  };
  Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int readings = 0;
    float last = 0;
    ui::seams::SetClock([&] {
      // A quarter of a second per reading, the day wrapping at midnight; or
      // a clock that jumps from 5000 back to 1.
      float t = c.start >= 0 ? c.start + 0.25f * readings : (readings == 0 ? 5000.0f : 1.0f);
      if (t >= 86400.0f) t -= 86400.0f;
      ++readings;
      return last = t;
    });
    k->PAUSE2();
    EXPECT_EQ(readings, c.readings);
    EXPECT_EQ(last, c.last);
  }
}

}  // namespace
