// The command bar's hover table, clearing and rate change, the histogram query.
#include "fixture.h"

using ControlsTest = KestorTest;

// The lists a move or click leaves shown, from all six lists shown and none; what each step leaves
// shown, the count value after the rate label, the histogram's ends emptied by a rate change. The
// query: silent with no counts, a header shown, above the mean or during a run; else the nearest
// class under the pointer (also on a magnified screen), its bar magenta.
TEST_F(ControlsTest, HoverTableRateChangeClearingAndTheHistogramQuery) {
  // Over the bars at class c (reference screen: class 0 at 1530 twips, 300 a class).
  auto Move = [&](double c) { k->FireMouseMove({static_cast<float>(1530 + c * 300), 9200}); };
  Start(1024, 768, {WriteScratchFile("hundreds.ksq", "100\r\n100\r100\n")});
  k->EFFACER.SetEnabled(true);  // a disabled command reacts to nothing
  ui::Widget* lists[] = {&k->LANCER_N, &k->Label31, &k->ACTIV, &k->Label32, &k->INFOS, &k->Label33};
  const std::tuple<ui::Widget*, bool, const char*, const char*> rows[] = {
      {&k->LANCER, false, "110000", "110000"},      {&k->ACTIVITES, false, "001100", "001100"},
      {&k->INFORMATION, false, "000011", "000011"}, {&k->EFFACER, false, "000000", "000000"},
      {&k->TITRE, false, "000000", "000000"},       {&k->Picture1, false, "000000", "000000"},
      {k.get(), true, "000000", "000000"},          {k.get(), false, "111111", "000000"},
      {&k->FIN, false, "010101", "000000"},         {&k->ACTIVITES, true, "011101", "001000"},
      {&k->INFORMATION, true, "010111", "000011"},  {&k->LANCER, true, "110101", "100000"},
      {&k->EFFACER, true, "101111", "000000"},  // asks, the commands disabled: last
  };
  for (const auto& [widget, click, from_all, from_none] : rows)
    for (bool all : {true, false}) {
      for (ui::Widget* w : lists) w->SetVisible(all);
      click ? widget->FireClick() : widget->FireMouseMove({100, 100});
      EXPECT_EQ(Flags({lists[0], lists[1], lists[2], lists[3], lists[4], lists[5]}),
                all ? from_all : from_none)
          << widget->Name() << click;
    }
  k->NON.FireClick(), k->EFFACER.SetEnabled(false);
  auto state = [&] {  // rate, counts, the panel asking, the rate list open, the commands enabled
    std::string s = std::to_string(k->ACTIV_I) + " " + std::to_string(k->SN_L) +
                    (k->ATTENTION.Shown() ? " asks " : " ") +
                    (k->ACTIV.Shown() || k->Label32.Shown() ? "list " : "");
    for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION, &k->FIN})
      s += c->Enabled() ? c->Name()[0] : '-';
    return s;
  };
  ChooseRate(0), Move(3);  // no counts: no query
  EXPECT_EQ(state() + Flags({&k->EFF1}) + k->ACTIVIT.Caption(),
            "50 0 L-AIF0 Taux de comptage = .5 imp/s ");
  ChooseRate(1), Run(2);          // 5 counts of 3
  ChooseRate(-1), ChooseRate(1);  // no entry, the rate in force: nothing but closing the list
  EXPECT_EQ(state() + std::to_string(k->ACTIV.ListIndex()), "1 5 LEAIF-1");
  ChooseRate(5);  // 16.0
  EXPECT_EQ(state(), "1 5 asks ----F");
  k->NON.FireClick();
  EXPECT_EQ(state() + std::to_string(k->EFFECTIF_L[3]), "1 5 LEAIF5");
  k->EFFACER.FireClick();
  EXPECT_EQ(state(), "1 5 asks ----F");
  k->OUI.FireClick();  // a plain clear keeps the rate, not the refused one
  EXPECT_EQ(state(), "1 0 L-AIF");
  for (int entry = 1; entry <= 13; ++entry) Run(entry);  // 2 + 5 + 10 + ... + 20000 counts
  EXPECT_EQ(state(), "1 38887 LEAIF");
  Run(0), k->ACTIVITES.FireMouseMove(), Move(3);  // a single count after a series; a list: no query
  EXPECT_EQ(ShownNames() + k->N1COMPTE.Caption(),
            "ACTIV ACTIVIT ACTIVITES EFFACER FIN INFORMATION KESTOR_Image1 LANCER Label32 N1COMPTE "
            "N1MOYEN NBCOMPTAGE Picture1 SIGMA2 TITRE VARI1  Valeur du comptage = 3 ");
  k->FIN.FireMouseMove(), k->FireClick(), Move(3);  // the list closed: the query, cleared next
  k->EFFECTIF_L[0] = k->EFFECTIF_L[40] = 7;
  ChooseRate(5, true);  // a new rate confirmed: all starts again at that rate
  EXPECT_EQ(std::make_tuple(state(), k->S1_L, k->ECHELLE_S, ShownNames(), k->ACTIVIT.Caption(),
                            k->NBCOMPTAGE.Caption()),
            std::make_tuple("16 0 L-AIF", 0, 1.0f,
                            "ACTIVIT ACTIVITES EFFACER FIN INFORMATION KESTOR_Image1 LANCER "
                            "NBCOMPTAGE Picture1 TITRE ",
                            " Taux de comptage = 16 imp/s ", " Nombre de comptage = 0 "));
  Run(0);  // the count value a label height after the rate, itself two label heights from the edge
  EXPECT_EQ(
      std::make_tuple(state(), ShownNames(), k->N1COMPTE.Left(), k->N1COMPTE.Top()),
      std::make_tuple("16 1 LEAIF",
                      "ACTIVIT ACTIVITES EFFACER FIN INFORMATION KESTOR_Image1 LANCER N1COMPTE "
                      "N1MOYEN NBCOMPTAGE Picture1 SIGMA2 TITRE VARI1 ",
                      3 * Measure("x", 15, false) + Measure(" Taux de comptage = 16 imp/s ", 15),
                      k->ACTIVIT.Top()));
  std::string seen = k->N1COMPTE.Caption();  // class 40 holds the new count, class 0 nothing
  for (double c : {40.0, 0.0}) Move(c), seen += k->EFF1.Caption();
  EXPECT_EQ(seen, " Valeur du comptage = 40  Effectif de ( 40 ) = 1  Effectif de ( 0 ) = 0 ");
  Start(), Run(4);                                       // 20 counts at 1 imp/s: 10 of 1, 1 of 5
  k->ACTIVITES.FireMouseMove(), k->FIN.FireMouseMove();  // the rate list closes, its header stays
  Move(3), k->FireClick();
  k->FireMouseMove({1530 + 3 * 300, k->N1MOYEN.Top()});  // above the mean's bottom
  k->COMPTAGE_I = 1, Move(3);
  EXPECT_FALSE(k->EFF1.Shown());
  k->COMPTAGE_I = 0, Move(5);
  const auto [five, narrow] = std::make_pair(k->EFF1.Caption(), k->EFF1.Width());
  Move(1.13);  // as wide as its text, under the pointer
  EXPECT_EQ(std::make_tuple(five, k->EFF1.Shown(), k->EFF1.Caption(), k->CURSEUR_I,
                            k->EFF1.Width() > narrow, k->EFF1.Left(), k->EFF1.Top()),
            std::make_tuple(" Effectif de ( 5 ) = 1 ", true, " Effectif de ( 1 ) = 10 ", 1, true,
                            1530 + 1.13f * 300, 9500 + 1.6f * k->FIN.Height()));
  EXPECT_EQ(Seen({118, 631, 122, 631, 126, 631, 127, 631, 202, 631}), "MMMWB");
  // Half-way the even class (coming from another class); class 0's label at the base line's left.
  std::string ties;
  for (double at : {0.5, 1.5, 2.5, -0.5}) Move(20), Move(at), ties += std::to_string(k->CURSEUR_I);
  EXPECT_EQ(std::make_tuple(ties, k->EFF1.Left()), std::make_tuple("0220", 1380.0f));
  Move(40.5);
  EXPECT_EQ(
      std::make_tuple(k->EFF1.Left(), k->EFF1.Caption()),
      std::make_tuple(15360 - k->EFF1.Height() - k->EFF1.Width(), " Effectif de ( 40 ) = 0 "));
  Move(41), Run(0);  // beyond the base line nothing changes; a run hides it
  EXPECT_FALSE(k->EFF1.Shown());
  Move(40);  // over the class it showed last
  EXPECT_EQ(std::make_tuple(k->CURSEUR_I, k->EFF1.Shown()), std::make_tuple(40, true));
  // 3840 x 2160 is 1920 x 1080 at a device pixel ratio of 2: class c under device pixel 382.5 +
  // 75 c ((1530 + 300 c) x 1.875 / 15 x 2), the base line at 1781; input in logical pixels, half.
  Start(3840, 2160), Run(4);
  QWindow* w = Show();
  for (int c : {1, 7, 20, 35, 40}) {
    QTest::mouseMove(w, QPoint(383 + 75 * (40 - c), 1765) / 2);  // from another class
    QTest::mouseMove(w, QPoint(383 + 75 * c, 1765) / 2);
    EXPECT_EQ(std::make_tuple(k->EFF1.Shown(), k->CURSEUR_I), std::make_tuple(true, c)) << c;
  }
}
