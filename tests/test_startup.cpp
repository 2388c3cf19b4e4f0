// The window after start-up: widgets and their state, the drawn panel read
// back as pixels, the layout on the reference screen and a smaller one.
// (Every other screen size is covered by the robustness tests.)
#include <cmath>

#include "fixture.h"

namespace {

class StartupTest : public KestorTest {};

TEST_F(StartupTest, ShowsTheStartStateOfEveryWidgetAndDrawsThePanel) {
  Start();
  EXPECT_EQ(k->Caption(), "KESTOR");
  // The bitmaps are built in (the statistics pictures' sizes show on their
  // page); one that is not there has no size (and draws nothing).
  ui::Image& stat3 = k->STAT_Image3;
  EXPECT_EQ(std::make_pair(k->KESTOR_Image1.PictureWidth(), k->SIGMA2.PictureWidth()),
            std::make_pair(32, 90));
  stat3.SetPicture("missing.png");
  EXPECT_EQ(stat3.PictureWidth() + stat3.PictureHeight(), 0);
  // The captions, then the three lists' items, blanks included.
  std::string texts;
  for (ui::Label* l : {&k->TITRE, &k->FIN, &k->LANCER, &k->EFFACER, &k->INFORMATION, &k->ACTIVITES,
                       &k->Label34, &k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1})
    texts += l->Caption() + "|";
  for (int i : {0, 3, 15, 16}) texts += k->LANCER_N.List(i) + "|";
  for (int i = 0; i < 6; ++i) texts += k->ACTIV.List(i) + "|";
  for (int i = 0; i < 4; ++i) texts += k->INFOS.List(i) + "|";
  EXPECT_EQ(texts,
            "KESTOR : Comptage des impulsions liées à la radioactivité|  Quitter  |  Lancer  |"
            "Effacer|Informations| Taux de comptage |  Arrêter  | Taux de comptage = 1 imp/s |"
            " Nombre de comptage = 0 | Nmoyen = 0 | = 0 |"
            "                  1 |                10 |        100000 |   En continu |"
            "   0.5 |   1.0 |   2.0 |   4.0 |   8.0 | 16.0 |"
            " Utilisation | Radioactivité et comptage | Statistiques | A propos de KESTOR |");
  EXPECT_EQ(std::make_tuple(k->LANCER_N.ListCount(), k->ACTIV.ListCount(), k->INFOS.ListCount()),
            std::make_tuple(17, 6, 4));
  EXPECT_EQ(k->FIN.ToolTipText(), " Cliquez pour QUITTER ");

  // The title bar and the command bar without the stop command, the clear
  // disabled; no list, header, page or panel; the drawn labels hidden over
  // their copies.
  std::string shown;
  for (const ui::Container* c : std::initializer_list<const ui::Container*>{k.get(), &k->Picture1})
    for (const ui::Widget* w : c->Children())
      if (w->Shown()) shown += w->Name() + " ";
  EXPECT_EQ(
      shown,
      "Picture1 ACTIVIT NBCOMPTAGE LANCER EFFACER ACTIVITES INFORMATION KESTOR_Image1 TITRE FIN ");
  EXPECT_TRUE(k->LANCER.Enabled() && !k->EFFACER.Enabled());

  // Nothing selected in the lists; the rate in force and chosen 1; no data file yet.
  for (ui::ListBox* l : {&k->LANCER_N, &k->ACTIV, &k->INFOS}) EXPECT_EQ(l->ListIndex(), -1);
  EXPECT_EQ(std::make_tuple(k->ACTIV_I, k->ACT_I, k->FICHIER_T), std::make_tuple(1, 1, ""));

  // The measurement panel drawn on the reference screen.
  const ui::Rgb blue = ui::RGB(0, 0, 255), red = ui::RGB(255, 0, 0), white = ui::RGB(255, 255, 255);
  // The time axis light red at y = 200, the one-second bracket light blue
  // over it from x = 179 to 845, its ticks down to y = 217; the histogram's
  // base line at y = 633 from x = 92 to 912, nothing above it; under it the
  // ticks of classes at x = 102 + 20 x class, of three lengths: every class
  // (1, 4) to y = 640, every fifth (5, 15) to 647, every tenth (10, 40) to 653.
  const struct {
    int x, y;
    ui::Rgb colour;
  } points[] = {{1, 200, red},    {178, 200, red},   {179, 200, blue},  {500, 200, blue},
                {845, 200, blue}, {846, 200, red},   {1023, 200, red},  {500, 199, white},
                {179, 217, blue}, {845, 210, blue},  {179, 218, white}, {91, 633, white},
                {92, 633, blue},  {912, 633, blue},  {913, 633, white}, {500, 632, white},
                {122, 640, blue}, {122, 641, white}, {182, 640, blue},  {182, 641, white},
                {202, 647, blue}, {202, 648, white}, {402, 647, blue},  {402, 648, white},
                {302, 653, blue}, {302, 654, white}, {902, 653, blue},  {902, 654, white}};
  for (const auto& p : points)
    EXPECT_EQ(Describe(k->Pixel(p.x, p.y)), Describe(p.colour)) << p.x << "," << p.y;

  // The graduation "20" in dark blue, right of the white point that placed it.
  int dark = 0;
  for (int y = 650; y < 675; ++y)
    for (int x = (1530 - 170 + 20 * 300) / 15; x < (1530 - 170 + 20 * 300) / 15 + 25; ++x)
      if (k->Pixel(x, y).b > 100 && k->Pixel(x, y).r < 100) ++dark;
  EXPECT_GT(dark, 10);

  // A blue point at the top-left corner of each label drawn in place.
  for (ui::Label* l : {&k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1})
    EXPECT_EQ(Describe(k->Pixel(Px(l->Left()), Px(l->Top()))), Describe(blue)) << l->Name();
}

TEST_F(StartupTest, LaysOutTheReferenceScreenAndASmallerOne) {
  const float screens[][5] = {{1024, 768, 15, 9500, 16}, {800, 600, 11, 7422, 12}};
  for (const auto& [w, h, f, poshist, panel_font] : screens) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    Start(w, h);
    const float ev = h / 768.0f, sw = w * 15;
    EXPECT_FLOAT_EQ(k->Picture1.Height(), 800 * ev);
    for (float logo : {k->KESTOR_Image1.Height(), k->KESTOR_Image1.Width(),
                       10 * k->KESTOR_Image1.Left(), 8 * k->KESTOR_Image1.Top()})
      EXPECT_FLOAT_EQ(logo, 640 * ev);
    EXPECT_EQ(std::make_tuple(k->FIN.FontSize(), k->LANCER.FontSize(), k->POSHIST_I,
                              k->OUI.FontSize(), k->DISK_1.FontSize()),
              std::make_tuple(f, f, poshist, panel_font, 1.5f * f));

    // The quit command a margin of its own height from the right edge; the
    // title centred between the logo and it, and no wider than the gap.
    EXPECT_FLOAT_EQ(k->FIN.Left(), sw - k->FIN.Width() - k->FIN.Height());
    const float x0 = k->KESTOR_Image1.Left() + k->KESTOR_Image1.Width();
    EXPECT_LE(k->TITRE.Width(), k->FIN.Left() - 3 * k->FIN.Height() - x0);
    EXPECT_NEAR(k->TITRE.Left() - x0, k->FIN.Left() - (k->TITRE.Left() + k->TITRE.Width()), 0.01);
    // The largest size that fits: one point more would overflow the gap or
    // the bar's height.
    const float title = k->TITRE.FontSize();
    if (title < 40) {
      k->TITRE.SetFontSize(title + 1);
      EXPECT_TRUE(k->TITRE.Width() > k->FIN.Left() - 3 * k->FIN.Height() - x0 ||
                  k->TITRE.Height() > k->KESTOR_Image1.Height() - k->FIN.Height() / 4)
          << title;
      k->TITRE.SetFontSize(title);
    }

    // Commands side by side under the title bar.
    EXPECT_EQ(k->LANCER.Top(), k->Picture1.Height());
    const ui::Label* bar[] = {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION};
    for (int i = 1; i < 4; ++i) EXPECT_EQ(bar[i]->Left(), bar[i - 1]->Left() + bar[i - 1]->Width());
    EXPECT_EQ(k->Label34.Left(), k->LANCER.Width());

    // The number of counts keeps the left edge of its widest text.
    k->MOT1.SetCaption(" Nombre de comptages = 10000000 ");
    EXPECT_FLOAT_EQ(k->NBCOMPTAGE.Left(), sw - k->MOT1.Width() - 200 * k->ECHHORIZ_S);

    // Lists hang under their headers, on a common axis, whole rows high.
    const float r = k->LANCER_N.RowHeight();
    EXPECT_EQ(std::make_tuple(k->LANCER_N.Height(), k->ACTIV.Height(), k->INFOS.Height()),
              std::make_tuple(9 * r, 6 * r, 4 * r));
    EXPECT_NEAR(k->LANCER_N.Left() + k->LANCER_N.Width() / 2,
                k->Label31.Left() + k->Label31.Width() / 2, 0.01);
    EXPECT_LE(k->INFOS.Left() + k->INFOS.Width(), sw - k->Label33.Height() + 0.01);

    // The two equals signs of the rate and the mean line up.
    k->MOT1.SetCaption(" Nmoyen =");
    const float mean_sign = k->N1MOYEN.Left() + k->MOT1.Width();
    k->MOT1.SetCaption(" Taux de comptage =");
    EXPECT_NEAR(mean_sign, k->ACTIVIT.Left() + k->MOT1.Width(), 0.01);

    // The confirmation panel: OUI and NON border the last line.
    EXPECT_FLOAT_EQ(k->NON.Left() + k->NON.Width(), k->ATT_03.Left());
    EXPECT_FLOAT_EQ(k->OUI.Left(), k->ATT_03.Left() + k->ATT_03.Width());
    EXPECT_FLOAT_EQ(k->ATTENTION.Height(), 11 * k->ATT_01.Height());
  }
}

}  // namespace
