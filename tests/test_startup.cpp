// The window after start-up: widgets and their state, the layout on the
// reference screen and a smaller one, the drawn panel read back as pixels.
// (Every other screen size is covered by the robustness tests.)
#include <cmath>

#include "fixture.h"

namespace {

constexpr ui::Rgb kLightBlue = ui::RGB(0, 0, 255);
constexpr ui::Rgb kLightRed = ui::RGB(255, 0, 0);
constexpr ui::Rgb kWhite = ui::RGB(255, 255, 255);

#define EXPECT_PIXEL(x, y, colour) \
  EXPECT_EQ(Describe(k->Pixel(x, y)), Describe(colour)) << "pixel " << (x) << "," << (y)

class StartupTest : public KestorTest {};

TEST_F(StartupTest, ShowsTheStartStateOfEveryWidget) {
  Start();
  EXPECT_EQ(k->Caption(), "KESTOR");
  EXPECT_EQ(k->KESTOR_Image1.PictureWidth(), 32);  // the bitmaps are built in
  EXPECT_EQ(k->SIGMA2.PictureWidth(), 90);
  EXPECT_EQ(k->STAT_Image3.PictureWidth(), 1230);
  EXPECT_EQ(k->STAT_Image3.PictureHeight(), 660);
  // A bitmap that is not there has no size (and draws nothing).
  k->STAT_Image3.SetPicture("missing.png");
  EXPECT_EQ(k->STAT_Image3.PictureWidth() + k->STAT_Image3.PictureHeight(), 0);
  k->STAT_Image3.SetPicture("stat3.png");
  EXPECT_EQ(k->TITRE.Caption(), "KESTOR : Comptage des impulsions liées à la radioactivité");
  struct Caption {
    const ui::Label& label;
    const char* text;
  };
  for (Caption c : {Caption{k->FIN, "  Quitter  "}, Caption{k->LANCER, "  Lancer  "},
                    Caption{k->EFFACER, "Effacer"}, Caption{k->INFORMATION, "Informations"},
                    Caption{k->ACTIVITES, " Taux de comptage "}, Caption{k->Label34, "  Arrêter  "},
                    Caption{k->ACTIVIT, " Taux de comptage = 1 imp/s "},
                    Caption{k->NBCOMPTAGE, " Nombre de comptage = 0 "},
                    Caption{k->N1MOYEN, " Nmoyen = 0 "}, Caption{k->VARI1, " = 0 "}})
    EXPECT_EQ(c.label.Caption(), c.text) << c.label.Name();
  EXPECT_EQ(k->FIN.ToolTipText(), " Cliquez pour QUITTER ");

  // The command bar: everything but the stop command; the clear disabled.
  for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION, &k->FIN,
                       &k->ACTIVIT, &k->NBCOMPTAGE})
    EXPECT_TRUE(c->Shown()) << c->Name();
  EXPECT_FALSE(k->EFFACER.Enabled());
  EXPECT_TRUE(k->LANCER.Enabled());

  // No list, header, page, panel; the drawn labels hidden over their copies.
  std::vector<ui::Widget*> hidden = {
      &k->LANCER_N, &k->ACTIV,  &k->INFOS,     &k->Label31,     &k->Label32,  &k->Label33,
      &k->Picture2, &k->BLANCS, &k->ATTENTION, &k->DISK_0,      &k->N1COMPTE, &k->N1MOYEN,
      &k->VARI1,    &k->SIGMA2, &k->EFF1,      &k->HISTOGRAMME, &k->LIMITE,   &k->VERSG,
      &k->VERSD,    &k->MOT1,   &k->Label34};
  for (ui::Widget* w : hidden) EXPECT_FALSE(w->Shown()) << w->Name();

  // The three lists, item for item, blanks included; nothing selected.
  ASSERT_EQ(k->LANCER_N.ListCount(), 17);
  EXPECT_EQ(k->LANCER_N.List(0), "                  1 ");
  EXPECT_EQ(k->LANCER_N.List(3), "                10 ");
  EXPECT_EQ(k->LANCER_N.List(15), "        100000 ");
  EXPECT_EQ(k->LANCER_N.List(16), "   En continu ");
  std::vector<std::string> rates = {"   0.5 ", "   1.0 ", "   2.0 ",
                                    "   4.0 ", "   8.0 ", " 16.0 "};
  ASSERT_EQ(k->ACTIV.ListCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(k->ACTIV.List(i), rates[static_cast<size_t>(i)]);
  std::vector<std::string> infos = {" Utilisation ", " Radioactivité et comptage ",
                                    " Statistiques ", " A propos de KESTOR "};
  ASSERT_EQ(k->INFOS.ListCount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(k->INFOS.List(i), infos[static_cast<size_t>(i)]);
  for (ui::ListBox* l : {&k->LANCER_N, &k->ACTIV, &k->INFOS}) EXPECT_EQ(l->ListIndex(), -1);

  // Counting state.
  EXPECT_EQ(k->ACTIV_I, 1);
  EXPECT_EQ(k->ACT_I, 1);
  EXPECT_EQ(k->D1_I, 2680);
  EXPECT_EQ(k->H1_I, 1530);
  EXPECT_TRUE(k->FICHIER_T.empty());
}

struct ScreenCase {
  float w, h;
  float f;
  int16_t poshist;
  float panel_font;
};

TEST_F(StartupTest, LaysOutTheReferenceScreenAndASmallerOne) {
  for (ScreenCase c : {ScreenCase{1024, 768, 15, 9500, 16}, ScreenCase{800, 600, 11, 7422, 12}}) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    Start(c.w, c.h);
    const float ev = c.h / 768.0f;
    EXPECT_FLOAT_EQ(k->ECHVERTI_S, ev);
    EXPECT_FLOAT_EQ(k->Picture1.Height(), 800 * ev);
    EXPECT_FLOAT_EQ(k->KESTOR_Image1.Height(), 640 * ev);
    EXPECT_FLOAT_EQ(k->KESTOR_Image1.Width(), 640 * ev);
    EXPECT_FLOAT_EQ(k->KESTOR_Image1.Left(), 64 * ev);
    EXPECT_FLOAT_EQ(k->KESTOR_Image1.Top(), 80 * ev);
    EXPECT_EQ(k->FIN.FontSize(), c.f);
    EXPECT_EQ(k->LANCER.FontSize(), c.f);
    EXPECT_EQ(k->POSHIST_I, c.poshist);
    EXPECT_EQ(k->OUI.FontSize(), c.panel_font);
    EXPECT_FLOAT_EQ(k->DISK_1.FontSize(), 1.5f * c.f);

    // The quit command a margin of its own height from the right edge; the
    // title centred between the logo and it, and no wider than the gap.
    const float sw = c.w * 15;
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
    EXPECT_EQ(k->EFFACER.Left(), k->LANCER.Left() + k->LANCER.Width());
    EXPECT_EQ(k->ACTIVITES.Left(), k->EFFACER.Left() + k->EFFACER.Width());
    EXPECT_EQ(k->INFORMATION.Left(), k->ACTIVITES.Left() + k->ACTIVITES.Width());
    EXPECT_EQ(k->Label34.Left(), k->LANCER.Width());

    // The number of counts keeps the left edge of its widest text.
    k->MOT1.SetCaption(" Nombre de comptages = 10000000 ");
    EXPECT_FLOAT_EQ(k->NBCOMPTAGE.Left(), sw - k->MOT1.Width() - 200 * k->ECHHORIZ_S);

    // Lists hang under their headers, on a common axis, whole rows high.
    const float r = k->LANCER_N.RowHeight();
    EXPECT_FLOAT_EQ(k->LANCER_N.Height(), 9 * r);
    EXPECT_FLOAT_EQ(k->ACTIV.Height(), 6 * r);
    EXPECT_FLOAT_EQ(k->INFOS.Height(), 4 * r);
    EXPECT_NEAR(k->LANCER_N.Left() + k->LANCER_N.Width() / 2,
                k->Label31.Left() + k->Label31.Width() / 2, 0.01);
    EXPECT_LE(k->INFOS.Left() + k->INFOS.Width(), sw - k->Label33.Height() + 0.01);

    // The two equals signs of the rate and the mean line up.
    k->MOT1.SetCaption(" Taux de comptage =");
    EXPECT_NEAR(k->N1MOYEN.Left() + k->MOT1.Width(),
                k->ACTIVIT.Left() + k->MOT1.Width() + (k->N1MOYEN.Left() - k->ACTIVIT.Left()),
                0.01);

    // The confirmation panel: OUI and NON border the last line.
    EXPECT_FLOAT_EQ(k->NON.Left() + k->NON.Width(), k->ATT_03.Left());
    EXPECT_FLOAT_EQ(k->OUI.Left(), k->ATT_03.Left() + k->ATT_03.Width());
    EXPECT_FLOAT_EQ(k->ATTENTION.Height(), 11 * k->ATT_01.Height());
  }
}

TEST_F(StartupTest, DrawsTheMeasurementPanelOnTheReferenceScreen) {
  Start(1024, 768);
  // Time axis light red at y = 200, the one-second bracket light blue over it.
  EXPECT_PIXEL(1, 200, kLightRed);
  EXPECT_PIXEL(100, 200, kLightRed);
  EXPECT_PIXEL(178, 200, kLightRed);
  EXPECT_PIXEL(179, 200, kLightBlue);
  EXPECT_PIXEL(500, 200, kLightBlue);
  EXPECT_PIXEL(845, 200, kLightBlue);
  EXPECT_PIXEL(846, 200, kLightRed);
  EXPECT_PIXEL(1023, 200, kLightRed);
  EXPECT_PIXEL(500, 199, kWhite);
  // The bracket's ticks go down to y = 217.
  EXPECT_PIXEL(179, 217, kLightBlue);
  EXPECT_PIXEL(845, 210, kLightBlue);
  EXPECT_PIXEL(179, 218, kWhite);

  // Histogram base line at y = 633 from x = 92 to 912.
  EXPECT_PIXEL(91, 633, kWhite);
  EXPECT_PIXEL(92, 633, kLightBlue);
  EXPECT_PIXEL(500, 633, kLightBlue);
  EXPECT_PIXEL(912, 633, kLightBlue);
  EXPECT_PIXEL(913, 633, kWhite);
  EXPECT_PIXEL(500, 632, kWhite);  // empty classes: nothing above the line

  // Ticks of three lengths: every class, every fifth, every tenth.
  struct Tick {
    int cls, last_y;
  };
  for (Tick t :
       {Tick{1, 640}, Tick{4, 640}, Tick{5, 647}, Tick{15, 647}, Tick{10, 653}, Tick{40, 653}}) {
    SCOPED_TRACE("class " + std::to_string(t.cls));
    const int x = static_cast<int>(std::floor((1530 + 300 * t.cls) / 15.0 + 0.5));
    EXPECT_PIXEL(x, t.last_y, kLightBlue);
    EXPECT_PIXEL(x, t.last_y + 1, kWhite);
  }

  // The graduation "20" in dark blue, right of the white point that placed it.
  int dark = 0;
  for (int y = 650; y < 675; ++y)
    for (int x = (1530 - 170 + 20 * 300) / 15; x < (1530 - 170 + 20 * 300) / 15 + 25; ++x)
      if (k->Pixel(x, y).b > 100 && k->Pixel(x, y).r < 100) ++dark;
  EXPECT_GT(dark, 10);

  // A blue point at the top-left corner of each label drawn in place.
  for (ui::Label* l : {&k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1}) {
    SCOPED_TRACE(l->Name());
    EXPECT_PIXEL(static_cast<int>(std::floor(l->Left() / 15 + 0.5)),
                 static_cast<int>(std::floor(l->Top() / 15 + 0.5)), kLightBlue);
  }
}

}  // namespace
