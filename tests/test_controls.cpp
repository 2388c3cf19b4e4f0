// The command bar: the hover table, clearing and rate change with their
// confirmation, and the histogram query under the mouse.
#include <cmath>

#include "fixture.h"

namespace {

class ControlsTest : public KestorTest {
 protected:
  // The six list widgets, as a string of 0/1 in the order of the hover table.
  std::string Lists() {
    std::string s;
    for (ui::Widget* w :
         {static_cast<ui::Widget*>(&k->LANCER_N), static_cast<ui::Widget*>(&k->Label31),
          static_cast<ui::Widget*>(&k->ACTIV), static_cast<ui::Widget*>(&k->Label32),
          static_cast<ui::Widget*>(&k->INFOS), static_cast<ui::Widget*>(&k->Label33)})
      s += w->Visible() ? '1' : '0';
    return s;
  }
  void SetLists(const std::string& v) {
    ui::Widget* ws[6] = {&k->LANCER_N, &k->Label31, &k->ACTIV, &k->Label32, &k->INFOS, &k->Label33};
    for (int i = 0; i < 6; ++i) ws[i]->SetVisible(v[static_cast<size_t>(i)] == '1');
  }
};

TEST_F(ControlsTest, HoverTable) {
  Start();
  k->EFFACER.SetEnabled(true);  // a disabled command reacts to nothing
  struct Row {
    const char* what;
    std::function<void()> act;
    const char* from_all_shown;
    const char* from_none_shown;
  };
  std::vector<Row> rows = {
      {"move LANCER", [&] { k->LANCER.FireMouseMove(); }, "110000", "110000"},
      {"move ACTIVITES", [&] { k->ACTIVITES.FireMouseMove(); }, "001100", "001100"},
      {"move INFORMATION", [&] { k->INFORMATION.FireMouseMove(); }, "000011", "000011"},
      {"move EFFACER", [&] { k->EFFACER.FireMouseMove(); }, "000000", "000000"},
      {"move TITRE", [&] { k->TITRE.FireMouseMove(); }, "000000", "000000"},
      {"move Picture1", [&] { k->Picture1.FireMouseMove(); }, "000000", "000000"},
      {"click window", [&] { k->FireClick(); }, "000000", "000000"},
      {"move window",
       [&] {
         k->FireMouseMove({0, 0, 100, 100});
       },
       "111111", "000000"},
      {"move FIN", [&] { k->FIN.FireMouseMove(); }, "010101", "000000"},
      {"click ACTIVITES", [&] { k->ACTIVITES.FireClick(); }, "011101", "001000"},
      {"click INFORMATION", [&] { k->INFORMATION.FireClick(); }, "010111", "000011"},
      {"click LANCER", [&] { k->LANCER.FireClick(); }, "110101", "100000"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SetLists("111111");
    r.act();
    EXPECT_EQ(Lists(), r.from_all_shown);
    SetLists("000000");
    r.act();
    EXPECT_EQ(Lists(), r.from_none_shown);
  }
}

TEST_F(ControlsTest, ADisabledCommandLeavesAnOpenListOpen) {
  Start();
  k->ACTIVITES.FireMouseMove();
  k->EFFACER.FireMouseMove();  // disabled at start-up
  EXPECT_EQ(Lists(), "001100");
}

TEST_F(ControlsTest, RateChangeWithoutCountsAppliesAtOnce) {
  Start();
  ChooseRate(3);
  EXPECT_EQ(k->ACTIV_I, 4);
  EXPECT_FALSE(k->ATTENTION.Shown());
  EXPECT_EQ(k->ACTIVIT.Caption(), " Taux de comptage = 4 imp/s ");
  ChooseRate(0);
  EXPECT_EQ(k->ACTIV_I, 50);
  EXPECT_EQ(k->ACTIVIT.Caption(), " Taux de comptage = .5 imp/s ");
  // The rate in force chosen again: nothing but closing the list.
  ChooseRate(0);
  EXPECT_EQ(k->ACTIV_I, 50);
  EXPECT_EQ(k->ACTIV.ListIndex(), -1);
}

TEST_F(ControlsTest, RateChangeWithCountsAsksAndNonKeepsEverything) {
  Start();
  Run(2);  // 5 counts
  ASSERT_EQ(k->SN_L, 5);
  auto classes = k->EFFECTIF_L;
  ChooseRate(5);  // 16.0
  EXPECT_TRUE(k->ATTENTION.Shown());
  for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION})
    EXPECT_FALSE(c->Enabled());
  EXPECT_TRUE(k->FIN.Enabled());
  k->NON.FireClick();
  EXPECT_FALSE(k->ATTENTION.Shown());
  EXPECT_EQ(k->ACTIV_I, 1);
  EXPECT_EQ(k->SN_L, 5);
  EXPECT_EQ(k->EFFECTIF_L, classes);
  EXPECT_TRUE(k->EFFACER.Enabled());
  // A later plain clear keeps the old rate, not the refused one.
  k->EFFACER.FireClick();
  EXPECT_TRUE(k->ATTENTION.Shown());
  k->OUI.FireClick();
  EXPECT_EQ(k->ACTIV_I, 1);
  EXPECT_EQ(k->SN_L, 0);
}

TEST_F(ControlsTest, OuiClearsAndTheNextCountStartsAgain) {
  Start();
  Run(3);  // 10 counts
  ChooseRate(5);
  k->OUI.FireClick();
  EXPECT_EQ(k->ACTIV_I, 16);
  EXPECT_EQ(k->SN_L, 0);
  EXPECT_EQ(k->S1_L, 0);
  for (int i = 0; i <= 40; ++i) EXPECT_EQ(k->EFFECTIF_L[static_cast<size_t>(i)], 0);
  EXPECT_FLOAT_EQ(k->ECHELLE_S, 1.0f);
  EXPECT_FALSE(k->EFFACER.Enabled());
  EXPECT_TRUE(k->NBCOMPTAGE.Shown());
  EXPECT_EQ(k->NBCOMPTAGE.Caption(), " Nombre de comptage = 0 ");
  EXPECT_FALSE(k->N1MOYEN.Shown());
  EXPECT_EQ(k->ACTIVIT.Caption(), " Taux de comptage = 16 imp/s ");
  // The panel is empty again: nothing above the base line.
  const int base = static_cast<int>(std::floor(k->POSHIST_I / 15.0 + 0.5));
  for (int c = 0; c <= 40; ++c)
    EXPECT_EQ(
        Describe(k->Pixel(static_cast<int>(std::floor((1530 + 300 * c) / 15.0 + 0.5)), base - 3)),
        Describe(ui::QBColor(15)));
  Run(0);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_EQ(k->NBCOMPTAGE.Caption(), " Nombre de comptage =" + ui::Str(1) + " ");
  EXPECT_TRUE(k->EFFACER.Enabled());
}

class QueryTest : public ControlsTest {
 protected:
  // Pointer x in screen twips for a position u in reference twips.
  float X(double u) { return static_cast<float>(u * k->ECHHORIZ_S); }
  float Y() { return k->POSHIST_I - 300.0f; }  // over the bars, below the mean label
  void Move(double u) { k->FireMouseMove({0, 0, X(u), Y()}); }
};

TEST_F(QueryTest, ShowsTheClassUnderThePointerAndHighlightsItsBar) {
  Start();
  Run(4);  // 20 counts at 1 imp/s
  const int cls = 1;
  Move(k->H1_I + 5 * 300);  // class 5 first
  Move(k->H1_I + cls * 300 + 40);
  EXPECT_TRUE(k->EFF1.Shown());
  EXPECT_EQ(k->EFF1.Caption(),
            " Effectif de (" + ui::Str(cls) + " ) =" + ui::Str(k->EFFECTIF_L[cls]) + " ");
  EXPECT_EQ(k->CURSEUR_I, cls);
  EXPECT_FLOAT_EQ(k->EFF1.Left(), X(k->H1_I + cls * 300 + 40));
  // The highlighted bar is light magenta; the one it left is light blue.
  const int base = static_cast<int>(std::floor(k->POSHIST_I / 15.0 + 0.5));
  auto column = [&](int c) { return static_cast<int>(std::floor((1530 + 300 * c) / 15.0 + 0.5)); };
  ASSERT_GT(k->EFFECTIF_L[cls], 0);
  EXPECT_EQ(Describe(k->Pixel(column(cls), base - 2)), Describe(ui::QBColor(13)));
  if (k->EFFECTIF_L[5] > 0) {
    EXPECT_EQ(Describe(k->Pixel(column(5), base - 2)), Describe(ui::QBColor(9)));
  }
  // An empty class reads 0.
  Move(k->H1_I + 30 * 300);
  EXPECT_EQ(k->EFF1.Caption(), " Effectif de ( 30 ) = 0 ");
}

TEST_F(QueryTest, TiesGoToTheEvenClassAndTheLabelStaysOnScreen) {
  Start();
  Run(4);
  struct Tie {
    double offset;
    int cls;
  };
  Move(k->H1_I + 10 * 300);
  for (Tie t : {Tie{150, 0}, Tie{450, 2}, Tie{750, 2}}) {
    SCOPED_TRACE(t.offset);
    Move(k->H1_I + 20 * 300);  // come from another class
    Move(k->H1_I + t.offset);
    EXPECT_EQ(k->CURSEUR_I, t.cls);
  }
  // The left end of the base line: class 0, the label at that end.
  Move(k->H1_I + 20 * 300);
  Move(k->H1_I - 150);
  EXPECT_EQ(k->CURSEUR_I, 0);
  EXPECT_FLOAT_EQ(k->EFF1.Left(), X(k->H1_I - 150));
  // Near the right edge the label is pulled in by its own height.
  Move(k->H1_I + 40 * 300 + 150);
  const float sw = ui::ScreenWidth();
  if (X(k->H1_I + 40 * 300 + 150) + k->EFF1.Width() > sw - k->EFF1.Height()) {
    EXPECT_FLOAT_EQ(k->EFF1.Left(), sw - k->EFF1.Height() - k->EFF1.Width());
  }
  // Outside the base line's span nothing changes.
  Move(k->H1_I + 41 * 300);
  EXPECT_EQ(k->CURSEUR_I, 40);
}

TEST_F(QueryTest, SilentWithAListHeaderNoCountsARunOrAboveTheMean) {
  Start();
  Move(k->H1_I + 3 * 300);
  EXPECT_FALSE(k->EFF1.Shown());  // no counts yet
  Run(4);
  k->ACTIVITES.FireMouseMove();
  k->FIN.FireMouseMove();  // the rate list closes, its header stays
  ASSERT_TRUE(k->Label32.Shown());
  Move(k->H1_I + 3 * 300);
  EXPECT_FALSE(k->EFF1.Shown());
  k->FireClick();
  k->FireMouseMove({0, 0, X(k->H1_I + 3 * 300), k->N1MOYEN.Top()});  // above the mean's bottom
  EXPECT_FALSE(k->EFF1.Shown());
  k->COMPTAGE_I = 1;
  Move(k->H1_I + 3 * 300);
  EXPECT_FALSE(k->EFF1.Shown());
  k->COMPTAGE_I = 0;
  Move(k->H1_I + 3 * 300);
  EXPECT_TRUE(k->EFF1.Shown());
}

}  // namespace
