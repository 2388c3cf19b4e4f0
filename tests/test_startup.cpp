// The window after start-up: widgets and their state, the drawn panel and
// the widgets' colours read back as pixels, the layout on the reference
// screen and a smaller one. (Other screen sizes: the robustness tests.)
#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <cmath>

#include "fixture.h"
#include "ui/internal.h"

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

  // A blue point at the top-left corner of each label drawn in place.
  for (ui::Label* l : {&k->ACTIVIT, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1})
    EXPECT_EQ(Describe(k->Pixel(Px(l->Left()), Px(l->Top()))), Describe(blue)) << l->Name();
}

// Each part's colours as the window shows them: a background pixel just
// inside each part's top-left corner, and the ink of two captions.
TEST_F(StartupTest, TheWindowShowsEachPartInItsColours) {
  Start();
  k->LANCER.FireMouseMove();  // the count list and its header
  for (ui::Widget* w : std::initializer_list<ui::Widget*>{&k->EFF1, &k->ATTENTION})
    w->SetVisible(true);
  ui::Application::ShowForm(*k);
  ui::Flush();
  QCoreApplication::processEvents();
  const QImage shot = k->peer()->view->grab().toImage();
  k->peer()->view->hide();
  auto corner = [&](const ui::Widget& w) {
    float x = w.Left(), y = w.Top();
    for (ui::Container* c = w.Parent(); c && c->Parent(); c = c->Parent())
      x += c->Left(), y += c->Top();
    const QRgb c = shot.pixel(Px(x) + 3, Px(y) + 3);
    return Describe(ui::RGB(qRed(c), qGreen(c), qBlue(c)));
  };
  const std::pair<const ui::Widget*, ui::Rgb> parts[] = {{&k->Picture1, ui::RGB(192, 192, 255)},
                                                         {&k->FIN, kLightRed},
                                                         {&k->LANCER, ui::RGB(192, 192, 192)},
                                                         {&k->Label31, ui::RGB(192, 192, 192)},
                                                         {&k->LANCER_N, ui::RGB(224, 224, 224)},
                                                         {&k->EFF1, ui::RGB(255, 255, 192)},
                                                         {&k->ATTENTION, kLightRed},
                                                         {&k->OUI, ui::RGB(192, 192, 192)},
                                                         {&k->ACTIVIT, kWhite}};
  for (const auto& [w, colour] : parts) EXPECT_EQ(corner(*w), Describe(colour)) << w->Name();
  auto ink = [&](const ui::Widget& w, QRgb colour) {
    int n = 0;
    for (int y = Px(w.Top()); y < Px(w.Top() + w.Height()); ++y)
      for (int x = Px(w.Left()); x < Px(w.Left() + w.Width()); ++x) n += shot.pixel(x, y) == colour;
    return n;
  };
  EXPECT_GT(ink(k->TITRE, qRgb(0, 0, 192)), 100);   // the title dark blue
  EXPECT_GT(ink(k->FIN, qRgb(255, 255, 255)), 20);  // "Quitter" white
}

// The layout on two screens from its formulas: ev = h / 768, the base font
// f = floor(15 ev), the title bar 800 ev high, the logo 640 ev square at
// (64 ev, 80 ev), the base line at round(9500 ev), the panel font
// floor(16 ev); every text width measured in its own face and size.
TEST_F(StartupTest, LaysOutTheReferenceScreenAndASmallerOne) {
  using Box = std::tuple<float, float, float, float>;
  auto box = [](const ui::Widget& w) { return Box{w.Left(), w.Top(), w.Width(), w.Height()}; };
  const float screens[][7] = {{1024, 768, 15, 800, 640, 9500, 16},
                              {800, 600, 11, 625, 500, 7422, 12}};
  for (const auto& [w, h, f, bar, logo, poshist, panel] : screens) {
    SCOPED_TRACE(w);
    Start(w, h);
    const float sw = w * 15, sh = h * 15, line = Measure("x", f, false);
    EXPECT_EQ(std::make_tuple(k->Picture1.Height(), box(k->KESTOR_Image1), k->POSHIST_I,
                              k->OUI.FontSize(), k->DISK_1.FontSize()),
              std::make_tuple(bar, Box{logo / 10, logo / 8, logo, logo}, int16_t(poshist), panel,
                              1.5f * f));
    // The quit command a margin of its own height from the right edge; the
    // title centred between the logo and it, and no wider than the gap.
    const float quit = Measure("  Quitter  ", f), fin = sw - quit - line;
    EXPECT_EQ(box(k->FIN), Box(fin, (bar - line) / 2, quit, line));
    const float x0 = logo * 1.1f, title = k->TITRE.FontSize();
    EXPECT_LE(k->TITRE.Width(), fin - 3 * line - x0);
    EXPECT_NEAR(k->TITRE.Left() - x0, fin - (k->TITRE.Left() + k->TITRE.Width()), 0.01);
    // The largest size that fits: one point more would overflow the gap or the bar.
    const std::string caption = "KESTOR : Comptage des impulsions liées à la radioactivité";
    EXPECT_TRUE(title == 40 ||
                Measure(caption, title + 1, true, "Times New Roman", true) > fin - 3 * line - x0 ||
                Measure(caption, title + 1, false, "Times New Roman", true) > logo - line / 4)
        << title;
    // The commands side by side under the title bar, each as wide as its padded caption.
    float left = 0;
    for (auto [c, text] :
         {std::pair{&k->LANCER, "  Lancer  "}, std::pair{&k->EFFACER, "  Effacer  "},
          std::pair{&k->ACTIVITES, " Taux de comptage "},
          std::pair{&k->INFORMATION, "  Informations  "}}) {
      EXPECT_EQ(box(*c), Box(left, bar, Measure(text, f), line)) << text;
      left += Measure(text, f);
    }
    EXPECT_EQ(k->Label34.Left(), Measure("  Lancer  ", f));
    // The number of counts keeps the left edge of its widest text.
    EXPECT_FLOAT_EQ(k->NBCOMPTAGE.Left(),
                    sw - Measure(" Nombre de comptages = 10000000 ", f) - 200 * w / 1024);
    // Lists hang under their headers, centred on them, whole rows high.
    const float r = k->LANCER_N.RowHeight();
    const std::tuple<ui::ListBox*, ui::Label*, const char*, float> lists[] = {
        {&k->LANCER_N, &k->Label31, "    En continu       ", 9},
        {&k->ACTIV, &k->Label32, " 16.0    ", 6},
        {&k->INFOS, &k->Label33, " Radioactivité et comptage  ", 4}};
    for (const auto& [l, header, widest, rows] : lists) {
      SCOPED_TRACE(l->Name());
      EXPECT_EQ(std::make_tuple(l->Top(), l->Width(), l->Height()),
                std::make_tuple(bar + 3 * line + 1.1f * line, Measure(widest, f), rows * r));
      EXPECT_NEAR(l->Left() + l->Width() / 2, header->Left() + header->Width() / 2, 0.01);
    }
    EXPECT_EQ(k->Label31.Left(), line);
    EXPECT_NEAR(k->Label32.Left() + k->Label32.Width() / 2,
                k->ACTIVITES.Left() + k->ACTIVITES.Width() / 2, 0.01);
    EXPECT_FLOAT_EQ(
        std::min(sw - line - k->INFOS.Width(),
                 k->INFORMATION.Left() + (k->INFORMATION.Width() - k->INFOS.Width()) / 2),
        k->INFOS.Left());
    // The two equals signs of the rate and the mean line up.
    EXPECT_NEAR(k->N1MOYEN.Left() + Measure(" Nmoyen =", f),
                2 * line + Measure(" Taux de comptage =", f), 0.01);
    // The two panels centred on the screen: the confirmation 11 line heights
    // high, as wide as its longest line, OUI and NON bordering its last line;
    // the missing-file panel with a margin of one line around its text.
    const float p1 = Measure("x", panel, false, "Arial", true);
    const float pw =
        Measure(" La valeur du nombre des comptages, la moyenne, ", panel, true, "Arial", true);
    EXPECT_EQ(box(k->ATTENTION), Box((sw - pw) / 2, sh / 2 - 11 * p1 / 2, pw, 11 * p1));
    EXPECT_FLOAT_EQ(k->NON.Left() + k->NON.Width(), k->ATT_03.Left());
    EXPECT_FLOAT_EQ(k->OUI.Left(), k->ATT_03.Left() + k->ATT_03.Width());
    const float d1 = Measure("x", 1.5f * f, false, "Arial", true),
                d3 = Measure("x", f, false, "Arial", true);
    const float dw =
        Measure("Cliquez sur QUITTER et réinstallez TARQEN1", f, true, "Arial", true) + 2 * d3;
    const float dh = 2 * d1 + 6 * d3;
    EXPECT_EQ(box(k->DISK_0), Box((sw - dw) / 2, (sh - dh) / 2, dw, dh));
  }
}

}  // namespace
