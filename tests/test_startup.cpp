// The window after start-up: state, the panel and colours as pixels, the layout.
#include "fixture.h"

class StartupTest : public KestorTest {};

TEST_F(StartupTest, ShowsTheStartStateAndThePanelInItsColoursAndLaysOutTheWindow) {
  Start(), k->STAT_Image3.SetPicture("missing.png");
  EXPECT_EQ(std::make_tuple(k->Caption(), k->KESTOR_Image1.PictureWidth(), k->SIGMA2.PictureWidth(),
                            k->STAT_Image3.PictureWidth() + k->STAT_Image3.PictureHeight(),
                            k->ACTIV_I, k->ACT_I, k->FICHIER_T),
            std::make_tuple("KESTOR", 32, 90, 0, 1, 1, ""));
  // Captions, lists (every third count) and selections, tooltips, widgets shown; axis y 200 light
  // red, bracket light blue 179 to 845, ticks to 217; base line y 633 from 92 to 912, ticks at 102
  // + 20 c to 640, 647 (5s), 653 (10s); light blue at the top left of the four result labels.
  std::string texts =
      Captions({&k->TITRE, &k->FIN, &k->LANCER, &k->EFFACER, &k->INFORMATION, &k->ACTIVITES,
                &k->Label34, &k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1}) +
      "|";
  for (ui::ListBox* l : {&k->LANCER_N, &k->ACTIV, &k->INFOS}) {
    for (int i = 0; i < l->ListCount(); i += l == &k->LANCER_N ? 3 : 1) texts += l->List(i) + "|";
    texts += std::to_string(l->ListIndex()) + "|";
  }
  for (const ui::Widget* w : std::initializer_list<const ui::Widget*>{
           &k->FIN, &k->Picture2, &k->BLANCS, &k->LANCER_N, &k->ACTIV, &k->INFOS, &k->NON, &k->OUI})
    texts += w->ToolTipText() + "|";
  EXPECT_EQ(
      texts + ShownNames() +
          Seen({1,   200, 178, 200, 179, 200, 500, 200, 845, 200, 846, 200, 1023, 200, 500, 199,
                179, 217, 845, 210, 179, 218, 91,  633, 92,  633, 912, 633, 913,  633, 500, 632,
                122, 640, 122, 641, 182, 640, 182, 641, 202, 647, 202, 648, 402,  647, 402, 648,
                302, 653, 302, 654, 902, 653, 902, 654, 46,  76,  686, 76,  134,  226, 362, 226}),
      "KESTOR : Comptage des impulsions liées à la radioactivité|  Quitter  |  Lancer  |"
      "Effacer|Informations| Taux de comptage |  Arrêter  | Taux de comptage = 1 imp/s |"
      " Nombre de comptage = 0 | Nmoyen = 0 | = 0 |                  1 |                10 |"
      "              100 |            1000 |          10000 |        100000 |-1|   0.5 |"
      "   1.0 |   2.0 |   4.0 |   8.0 | 16.0 |-1| Utilisation | Radioactivité et comptage |"
      " Statistiques | A propos de KESTOR |-1| Cliquez pour QUITTER |Cliquez sur cette page "
      "pour en sortir | Cliquez sur cette page pour en sortir | Cliquez sur votre choix | "
      "Cliquez sur votre choix | Cliquez sur votre choix | Cliquez pour Annuler | Cliquez "
      "pour Effacer |ACTIVIT ACTIVITES EFFACER FIN INFORMATION KESTOR_Image1 LANCER "
      "NBCOMPTAGE Picture1 TITRE RRBBBRRWBBWWBBWWBWBWBWBWBWBWBBBB");
  // Shown: a background pixel inside each part's corner; black borders, left and bottom; ink (+)
  // of the title dark blue, "Quitter" white, "Effacer" grey, the logo blue (stretched: over the 512
  // pixels of its 32 x 32 source), rate red, counts black, mean dark green, variance blue.
  k->ACTIVITES.FireMouseMove(), k->EFF1.SetVisible(true), k->ATTENTION.SetVisible(true);
  k->N1MOYEN.SetVisible(true), k->VARI1.SetVisible(true), Show();  // and the rate list
  QImage shot = Grab(*k);
  auto at = [&](const ui::Widget& w, int x, int y) {
    return QColor(shot.pixel(Origin(w) + QPoint(x, y))).name().toStdString();
  };
  std::string seen;
  for (const ui::Widget* w : std::initializer_list<const ui::Widget*>{
           &k->Picture1, &k->FIN, &k->LANCER, &k->Label32, &k->ACTIV, &k->EFF1, &k->ATTENTION,
           &k->OUI, &k->ACTIVIT})
    seen += at(*w, 3, 3);
  for (const ui::Widget* w : {&k->LANCER, &k->EFF1})
    seen += at(*w, 0, 5) + at(*w, 5, Px(w->Height()) - 1);
  const std::tuple<const ui::Widget*, QRgb, int> inks[] = {
      {&k->TITRE, qRgb(0, 0, 192), 100},      {&k->FIN, qRgb(255, 255, 255), 20},
      {&k->EFFACER, qRgb(128, 128, 128), 20}, {&k->KESTOR_Image1, qRgb(0, 0, 255), 560},
      {&k->ACTIVIT, qRgb(255, 0, 0), 20},     {&k->NBCOMPTAGE, qRgb(0, 0, 0), 20},
      {&k->N1MOYEN, qRgb(0, 128, 0), 20},     {&k->VARI1, qRgb(0, 0, 255), 5}};
  for (const auto& [w, colour, n] : inks)
    seen +=
        "-+"[CountOf(shot, QRect(Origin(*w), QSize(Px(w->Width()), Px(w->Height()))), colour) > n];
  OpenPage(0), shot = Grab(*k);  // a page: the blue frame, the white sheet
  EXPECT_EQ(seen + at(k->Picture2, 3, 3) + at(k->BLANCS, 3, 3),
            "#c0c0ff#ff0000#c0c0c0#c0c0c0#e0e0e0#ffffc0#ff0000#c0c0c0#ffffff#000000#000000#000000"
            "#000000++++++++#0000ff#ffffff");
  k->peer()->view->hide();
  // At 800 x 600 (ev = h / 768): font floor(15 ev) = 11, a line 255; bar 800 ev = 625, logo 640 ev
  // = 500, base line round(9500 ev) = 7422, panel font 12; the title the largest size that fits.
  Start(800, 600);
  EXPECT_EQ(std::make_tuple(k->POSHIST_I, k->TITRE.FontSize(), k->OUI.FontSize(),
                            k->DISK_1.FontSize(), k->N1COMPTE.FontSize()),
            std::make_tuple(int16_t(7422), 18.f, 12.f, 16.5f, 11.f));
  const std::tuple<const ui::Widget*, float, float, float, float> boxes[] = {
      {&k->Picture1, 0, 0, 12000, 625},        {&k->Picture2, 0, 625, 12000, 9000},
      {&k->KESTOR_Image1, 50, 62.5, 500, 500}, {&k->TITRE, 1115, 110, 9135, 405},
      {&k->FIN, 10815, 185, 930, 255},         {&k->Label34, 945, 625, 930, 255},
      {&k->LANCER, 0, 625, 945, 255},          {&k->EFFACER, 945, 625, 960, 255},
      {&k->ACTIVITES, 1905, 625, 1965, 255},   {&k->INFORMATION, 3870, 625, 1500, 255},
      {&k->ACTIVIT, 510, 880, 2940, 255},      {&k->NBCOMPTAGE, 8183.75, 880, 2670, 255},
      {&k->Label31, 255, 1390, 4410, 255},     {&k->LANCER_N, 1582.5, 1670.5, 1755, 2565},
      {&k->Label32, 997.5, 1390, 3780, 255},   {&k->ACTIV, 2512.5, 1670.5, 750, 1710},
      {&k->Label33, 3105, 1390, 3030, 255},    {&k->INFOS, 3232.5, 1670.5, 2775, 1140},
      {&k->SIGMA2, 3810, 2637.8125, 255, 255}, {&k->N1MOYEN, 1515, 2637.8125, 1350, 255},
      {&k->VARI1, 4065, 2637.8125, 450, 255},  {&k->ATTENTION, 3082.5, 3015, 5835, 2970},
      {&k->ATT_01, 0, 810, 5835, 270},         {&k->ATT_00, 2235, 270, 1365, 270},
      {&k->ATT_02, 217.5, 1350, 5400, 270},    {&k->ATT_03, 1897.5, 1890, 2040, 270},
      {&k->NON, 1222.5, 2430, 675, 270},       {&k->OUI, 3937.5, 2430, 630, 270},
      {&k->DISK_0, 3337.5, 3360, 5325, 2280},  {&k->DISK_1, 1725, 375, 1875, 375},
      {&k->DISK_2, 1597.5, 1005, 2130, 255},   {&k->DISK_3, 255, 1515, 4815, 255},
      {&k->EFF1, 0, 7830, 2595, 255},          {&k->HISTOGRAMME, 4507.5, 8085, 2985, 255}};
  for (const auto& [w, x, y, width, height] : boxes)
    EXPECT_EQ(BoxOf(*w), Box(x, y, width, height)) << w->Name();
  // Both panels in Arial (a face of its own where the system has it).
  EXPECT_EQ(Captions({&k->ATT_00, &k->ATT_03, &k->OUI, &k->DISK_1, &k->DISK_2, &k->DISK_3}) +
                k->ATT_02.FontName() + k->OUI.FontName() + k->DISK_3.FontName(),
            "ATTENTION|Le désirez-vous ?| OUI  |ATTENTION|Il manque un fichier|"
            "Cliquez sur QUITTER et réinstallez TARQEN1ArialArialArial");
}
