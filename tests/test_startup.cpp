// The window after start-up: state, the panel and colours as pixels, the layout.
#include "fixture.h"

class StartupTest : public KestorTest {};

const char kCountHeader[] = " Choix du nombre de comptage(s) a ajouter ";

TEST_F(StartupTest, ShowsTheStartStateAndThePanelInItsColoursAndLaysOutTheWindow) {
  Start();
  k->STAT_Image3.SetPicture("missing.png");
  EXPECT_EQ(std::make_tuple(k->Caption(), k->KESTOR_Image1.PictureWidth(), k->SIGMA2.PictureWidth(),
                            k->STAT_Image3.PictureWidth() + k->STAT_Image3.PictureHeight(),
                            k->ACTIV_I, k->ACT_I, k->FICHIER_T),
            std::make_tuple("KESTOR", 32, 90, 0, 1, 1, ""));
  std::string texts =
      Captions({&k->TITRE, &k->FIN, &k->LANCER, &k->EFFACER, &k->INFORMATION, &k->ACTIVITES,
                &k->Label34, &k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1}) +
      "|";
  for (ui::ListBox* l : {&k->LANCER_N, &k->ACTIV, &k->INFOS}) {
    for (int i = 0; i < l->ListCount(); ++i)
      if (l != &k->LANCER_N || i % 3 == 0) texts += l->List(i) + "|";
    texts += std::to_string(l->ListIndex()) + "|";
  }
  for (const ui::Widget* w : std::initializer_list<const ui::Widget*>{
           &k->FIN, &k->Picture2, &k->BLANCS, &k->LANCER_N, &k->ACTIV, &k->INFOS, &k->NON, &k->OUI})
    texts += w->ToolTipText() + "|";  // the tooltips
  EXPECT_EQ(texts,
            "KESTOR : Comptage des impulsions liées à la radioactivité|  Quitter  |  Lancer  |"
            "Effacer|Informations| Taux de comptage |  Arrêter  | Taux de comptage = 1 imp/s |"
            " Nombre de comptage = 0 | Nmoyen = 0 | = 0 |                  1 |                10 |"
            "              100 |            1000 |          10000 |        100000 |-1|   0.5 |"
            "   1.0 |   2.0 |   4.0 |   8.0 | 16.0 |-1| Utilisation | Radioactivité et comptage |"
            " Statistiques | A propos de KESTOR |-1| Cliquez pour QUITTER |Cliquez sur cette page "
            "pour en sortir | Cliquez sur cette page pour en sortir | Cliquez sur votre choix | "
            "Cliquez sur votre choix | Cliquez sur votre choix | Cliquez pour Annuler | Cliquez "
            "pour Effacer |");
  EXPECT_EQ(
      ShownNames(),
      "ACTIVIT ACTIVITES EFFACER FIN INFORMATION KESTOR_Image1 LANCER NBCOMPTAGE Picture1 TITRE ");
  // Axis y 200 light red, the bracket light blue 179 to 845, ticks to 217; the
  // base line y 633 from 92 to 912; ticks at 102 + 20 c to 640, 647 (5s), 653 (10s).
  EXPECT_EQ(Seen({1,   200, 178, 200, 179, 200, 500, 200, 845, 200, 846, 200, 1023, 200,
                  500, 199, 179, 217, 845, 210, 179, 218, 91,  633, 92,  633, 912,  633,
                  913, 633, 500, 632, 122, 640, 122, 641, 182, 640, 182, 641, 202,  647,
                  202, 648, 402, 647, 402, 648, 302, 653, 302, 654, 902, 653, 902,  654}),
            "RRBBBRRWBBWWBBWWBWBWBWBWBWBW");
  for (ui::Label* l : {&k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1})
    EXPECT_EQ(At(Px(l->Left()), Px(l->Top())), kBlue) << l->Name();
  // A background pixel just inside each part's corner, the ink of two captions.
  k->ACTIVITES.FireMouseMove();  // the rate list and its header
  for (ui::Widget* w :
       std::initializer_list<ui::Widget*>{&k->EFF1, &k->ATTENTION, &k->N1MOYEN, &k->VARI1})
    w->SetVisible(true);
  Show();
  QImage shot = Grab(*k);
  auto corner = [&](const ui::Widget& w) {
    const QRgb c = shot.pixel(Origin(w) + QPoint(3, 3));
    return Describe(ui::RGB(qRed(c), qGreen(c), qBlue(c)));
  };
  auto ink = [&](const ui::Widget& w, QRgb colour) {
    return CountOf(shot, QRect(Origin(w), QSize(Px(w.Width()), Px(w.Height()))), colour);
  };
  std::string seen;
  for (const ui::Widget* w : std::initializer_list<const ui::Widget*>{
           &k->Picture1, &k->FIN, &k->LANCER, &k->Label32, &k->ACTIV, &k->EFF1, &k->ATTENTION,
           &k->OUI, &k->ACTIVIT})
    seen += corner(*w);
  EXPECT_EQ(seen,
            "(192,192,255)(255,0,0)(192,192,192)(192,192,192)(224,224,224)(255,255,192)(255,0,0)"
            "(192,192,192)(255,255,255)");
  for (const ui::Widget* w : {&k->LANCER, &k->EFF1})  // a border, left and bottom
    for (QPoint p : {QPoint(0, 5), QPoint(5, Px(w->Height()) - 1)})
      EXPECT_EQ(QColor(shot.pixel(Origin(*w) + p)), QColor(0, 0, 0)) << w->Name();
  // Ink of the captions' and the logo's colours: the title dark blue, "Quitter" white,
  // "Effacer" disabled grey, the logo blue (stretched: more than the 512 pixels of its
  // 32 x 32 source), the rate red, the counts black, the mean dark green, the variance blue.
  const std::tuple<const ui::Widget*, QRgb, int> inks[] = {
      {&k->TITRE, qRgb(0, 0, 192), 100},      {&k->FIN, qRgb(255, 255, 255), 20},
      {&k->EFFACER, qRgb(128, 128, 128), 20}, {&k->KESTOR_Image1, qRgb(0, 0, 255), 560},
      {&k->ACTIVIT, qRgb(255, 0, 0), 20},     {&k->NBCOMPTAGE, qRgb(0, 0, 0), 20},
      {&k->N1MOYEN, qRgb(0, 128, 0), 20},     {&k->VARI1, qRgb(0, 0, 255), 5}};
  for (const auto& [w, colour, n] : inks) EXPECT_GT(ink(*w, colour), n) << w->Name();
  OpenPage(0);  // a page: the blue frame, the white sheet
  shot = Grab(*k);
  EXPECT_EQ(corner(k->Picture2) + corner(k->BLANCS), "(0,0,255)(255,255,255)");
  k->peer()->view->hide();
  // The layout from its formulas at 800 x 600 (at 1024 x 768 ev is 1 and hides
  // a factor): ev = h / 768 = 0.78125, the base font f = floor(15 ev) = 11, the
  // title bar 800 ev = 625 high, the logo 640 ev = 500 square at (50, 62.5), the
  // base line at round(9500 ev) = 7422, the panel font floor(16 ev) = 12; text
  // widths measured in their face.
  const float sw = 12000, sh = 9000, f = 11, bar = 625, logo = 500, panel = 12;
  Start(800, 600);
  const float line = Measure("x", f, false);
  EXPECT_EQ(std::make_tuple(k->Picture1.Height(), BoxOf(k->KESTOR_Image1), k->POSHIST_I,
                            k->OUI.FontSize(), k->DISK_1.FontSize(), k->N1COMPTE.FontSize()),
            std::make_tuple(bar, Box{50, 62.5, logo, logo}, int16_t(7422), panel, 1.5f * f, f));
  const float quit = Measure("  Quitter  ", f), fin = sw - quit - line;
  EXPECT_EQ(BoxOf(k->FIN), Box(fin, (bar - line) / 2, quit, line));
  const float x0 = logo * 1.1f;
  EXPECT_LE(k->TITRE.Width(), fin - 3 * line - x0);
  EXPECT_EQ(k->TITRE.Width(), Measure(k->TITRE.Caption(), k->TITRE.FontSize(), true,
                                      "Times New Roman", true));  // a serif face, bold
  const float up = k->TITRE.FontSize() + 1;  // the largest size: one more is too wide or high
  EXPECT_TRUE(Measure(k->TITRE.Caption(), up, true, "Times New Roman", true) >
                  fin - 3 * line - x0 ||
              Measure(k->TITRE.Caption(), up, false, "Times New Roman", true) > logo - line / 4);
  EXPECT_NEAR(k->TITRE.Left() - x0, fin - (k->TITRE.Left() + k->TITRE.Width()), 0.01);
  EXPECT_FLOAT_EQ(k->TITRE.Top(), (bar - k->TITRE.Height()) / 2);  // centred in the bar too
  EXPECT_EQ(BoxOf(k->Label34), Box(Measure("  Lancer  ", f), bar, Measure("  Arrêter  ", f), line));
  float left = 0, centre[4], *next = centre;  // the commands side by side
  for (auto [c, text] : {std::pair{&k->LANCER, "  Lancer  "}, std::pair{&k->EFFACER, "  Effacer  "},
                         std::pair{&k->ACTIVITES, " Taux de comptage "},
                         std::pair{&k->INFORMATION, "  Informations  "}}) {
    EXPECT_EQ(BoxOf(*c), Box(left, bar, Measure(text, f), line)) << text;
    *next++ = left + Measure(text, f) / 2, left += Measure(text, f);
  }
  EXPECT_FLOAT_EQ(k->NBCOMPTAGE.Left(),
                  sw - Measure(" Nombre de comptages = 10000000 ", f) - 200 * 800 / 1024.f);
  // Each list under its header, the count list's a line from the left, the others
  // centred under their command.
  const float r = k->LANCER_N.RowHeight(), count_header = line + Measure(kCountHeader, f) / 2;
  const std::tuple<ui::ListBox*, ui::Label*, const char*, const char*, float, float> lists[] = {
      {&k->LANCER_N, &k->Label31, "    En continu       ", kCountHeader, 9, count_header},
      {&k->ACTIV, &k->Label32, " 16.0    ", " Choix du taux de comptage en imp/s ", 6, centre[2]},
      {&k->INFOS, &k->Label33, " Radioactivité et comptage  ",
       "       Choix de l'information       ", 4, centre[3]}};
  for (const auto& [l, header, widest, caption, rows, centre] : lists) {
    EXPECT_EQ(std::make_tuple(l->Top(), l->Width(), l->Height(), header->Width()),
              std::make_tuple(bar + 3 * line + 1.1f * line, Measure(widest, f), rows * r,
                              Measure(caption, f)));
    EXPECT_NEAR(l->Left() + l->Width() / 2, centre, 0.01) << caption;
    EXPECT_NEAR(header->Left() + header->Width() / 2, centre, 0.01) << caption;
  }
  EXPECT_NEAR(k->N1MOYEN.Left() + Measure(" Nmoyen =", f),
              2 * line + Measure(" Taux de comptage =", f), 0.01);
  // The symbol two lines after the mean's widest text.
  const float sigma = k->N1MOYEN.Left() + Measure(" Nmoyen = 56.25 ", f) + 2 * line;
  EXPECT_EQ(std::make_pair(BoxOf(k->SIGMA2), k->VARI1.Left()),
            std::make_pair(Box(sigma, k->VARI1.Top(), line, line), sigma + line));
  // The panels centred: confirmation 11 lines high, missing file a line of margin.
  const float p1 = Measure("x", panel, false, "Arial", true);
  const float pw =
      Measure(" La valeur du nombre des comptages, la moyenne, ", panel, true, "Arial", true);
  EXPECT_EQ(BoxOf(k->ATTENTION), Box((sw - pw) / 2, sh / 2 - 11 * p1 / 2, pw, 11 * p1));
  EXPECT_EQ(std::make_tuple(k->NON.Left() + k->NON.Width(), k->OUI.Left(), k->OUI.FontBold()),
            std::make_tuple(k->ATT_03.Left(), k->ATT_03.Left() + k->ATT_03.Width(), true));
  EXPECT_EQ(std::make_tuple(k->ATT_00.Top(), k->ATT_01.Top(), k->ATT_02.Top(), k->ATT_03.Top(),
                            k->NON.Top(), k->OUI.Top()),
            std::make_tuple(p1, 3 * p1, 5 * p1, 7 * p1, 9 * p1, 9 * p1));
  // Both panels in Arial (a face of its own where the system has it).
  EXPECT_EQ(Captions({&k->ATT_00, &k->ATT_03, &k->OUI, &k->DISK_1, &k->DISK_2, &k->DISK_3}) +
                k->ATT_02.FontName() + k->OUI.FontName() + k->DISK_3.FontName(),
            "ATTENTION|Le désirez-vous ?| OUI  |ATTENTION|Il manque un fichier|"
            "Cliquez sur QUITTER et réinstallez TARQEN1ArialArialArial");
  const float d1 = Measure("x", 1.5f * f, false, "Arial", true),
              d3 = Measure("x", f, false, "Arial", true);
  const float dw =
      Measure("Cliquez sur QUITTER et réinstallez TARQEN1", f, true, "Arial", true) + 2 * d3;
  const float dh = 2 * d1 + 6 * d3;
  EXPECT_EQ(BoxOf(k->DISK_0), Box((sw - dw) / 2, (sh - dh) / 2, dw, dh));
  Start(2048, 1536);  // where the title has room to spare it keeps its 40 points
  EXPECT_EQ(k->TITRE.FontSize(), 40);
}
