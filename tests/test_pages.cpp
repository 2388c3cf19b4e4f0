// The information pages: their layout on screens of several sizes, and what
// opening and closing a page leave behind.
#include <fstream>
#include <initializer_list>
#include <map>
#include <regex>
#include <sstream>
#include <tuple>

#include "fixture.h"

namespace {

enum Page { kUsage, kRadio, kStatistics, kAbout };

// The text pages' lines, and each line's look:gap. The look is its colour
// (M magenta title, B blue, K black) and place (c centred across the sheet,
// 0 at its edge, a right of line 2, i indented by line 2's height); the gap
// its top below the previous line's top (the sheet's for the first) in body
// heights, or title heights with t.
const char kUsageTexts[] =
    "UTILISATION\n"
    "     Lancer :\n"
    "1 comptage\n"
    "  Les impulsions de la détection des rayonnements issus de la radioactivité sont visualisées "
    "en temps réel.\n"
    "2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000 comptages\n"
    "  Ils permettent sans visualiser les impulsions, et en contractant le temps, d'obtenir plus "
    "rapidement\n"
    "  la construction de l'histogramme. \n"
    "En continu\n"
    "  Les impulsions sont visualisées, l'histogramme se construit et les comptages sont "
    "automatiquement\n"
    "  relancés.\n"
    "Arrêter :\n"
    "  La série des comptages est arrêtée.\n"
    "Effacer :\n"
    "  Les impulsions, l'histogramme, et les calculs seront effacés après votre accord.\n"
    "Taux de comptage :\n"
    "0.5 imp/s, 1 imp/s, 2 imp/s, 4 imp/s, 8 imp/s, 16 impulsions par seconde \n"
    "  Le temps de l'observation étant de 1s, le nombre moyen (Nmoyen) pour le comptage des "
    "détections\n"
    "  sera autour de :  0,5   1   2   4   8  ou 16.\n"
    "  Changer le taux de comptage lance la fonction  Effacer .\n";
const char kUsageLooks[] =
    "Mc:.5t B0:1t Ba:1 K0:1 Ba:1 K0:1 K0:1 Ba:1 K0:1 K0:1 Bi:2 K0:1 Bi:2 K0:1 Bi:2 Ba:1 K0:1 K0:1 "
    "K0:1";
const char kRadioTexts[] =
    "RADIOACTIVITÉ\n"
    "L'activité d'une source radioactive représente le nombre moyen de désintégration(s) par "
    "seconde.\n"
    "1 Becquerel (Bq) correspond à 1 désintégration par seconde\n"
    "COMPTAGE\n"
    "L'instant d'une désintégration est imprévisible. L'intervalle de temps entre deux détections "
    "est aléatoire.\n"
    "La valeur du comptage des impulsions liées à la détection des rayonnements suite aux "
    "désintégrations \n"
    "se produisant durant un temps d'observation donné, est également aléatoire.\n"
    "Le classement des valeurs du comptage sous la forme d'un histogramme, permet de visualiser \n"
    "la dispersion des valeurs (influence de la variance).\n"
    "Avec la radioactivité, il y a une convergence entre la valeur de la moyenne et la valeur de "
    "la variance,\n"
    "lorsque le nombre des comptages augmente.\n";
const char kRadioLooks[] = "Mc:.5t Kc:1.5 Bc:2 Mc:3 Kc:1.5 Kc:2 Kc:1 Kc:2 Kc:1 Bc:2 Bc:1";

class PagesTest : public KestorTest {
 protected:
  ui::Label& Line(size_t n) { return *k->LIGNES[n - 1]; }
  // A text's width or height in the pages' face, measured by a hidden label.
  float Measure(const std::string& text, float points, bool width = true) {
    ui::Label probe(*k, "probe");
    probe.SetAutoSize(true);
    probe.SetCaption(text);
    probe.SetFontSize(points);
    return width ? probe.Width() : probe.Height();
  }
  float LineHeight(float points) { return Measure("x", points, false); }
  // The visible page parts, enabled commands (+) and number of visible lines.
  std::string State() {
    std::string s;
    for (ui::Widget* w : std::initializer_list<ui::Widget*>{&k->Picture2, &k->BLANCS, &k->FIN,
                                                            &k->INFOS, &k->Label33, &k->STAT_Image1,
                                                            &k->STAT_Image2, &k->STAT_Image3})
      if (w->Visible()) s += w->Name() + " ";
    for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES})
      if (c->Enabled()) s += c->Name() + "+ ";
    int lines = 0;
    for (ui::Label* l : k->LIGNES) lines += l->Visible();
    return s + std::to_string(lines);
  }
  // The sheet's size and top, its width centred across the screen.
  void ExpectSheet(float width, float height, float top) {
    EXPECT_FLOAT_EQ(k->BLANCS.Width(), width);
    EXPECT_FLOAT_EQ(k->BLANCS.Height(), height);
    EXPECT_FLOAT_EQ(k->BLANCS.Top(), top);
    EXPECT_FLOAT_EQ(k->BLANCS.Left(), (ui::ScreenWidth() - width) / 2);
  }
  // A line's colour, size and top; centred across the sheet, or left-aligned
  // at `left` and as wide as its text.
  void ExpectLine(ui::Label& l, ui::Rgb colour, float size, float top, bool centred, float left) {
    EXPECT_EQ(Describe(l.ForeColor()), Describe(colour));
    EXPECT_EQ(l.FontSize(), size);
    EXPECT_FLOAT_EQ(l.Top(), top);
    EXPECT_EQ(l.Alignment(), centred ? ui::Align::Center : ui::Align::Left);
    EXPECT_FLOAT_EQ(l.Left(), centred ? 0 : left);
    EXPECT_FLOAT_EQ(l.Width(), centred ? k->BLANCS.Width() : Measure(l.Caption(), size));
  }
  // A text page with title size t and body size b: its lines and no other;
  // the sheet at the top of the screen, as wide as line `ruler` with
  // `margin` blanks more, ends a blank line under the last line.
  void ExpectTextPage(const char* texts, const char* looks, size_t ruler, size_t margin, float t,
                      float b) {
    std::istringstream tokens(looks);
    std::string captions, look;
    const float after = Line(2).Width(), indent = Line(2).Height();
    float top = 0;
    for (size_t n = 1; n <= 19; ++n) {
      ui::Label& l = Line(n);
      SCOPED_TRACE(l.Name());
      EXPECT_EQ(l.Shown(), static_cast<bool>(tokens >> look));
      if (!tokens) continue;
      captions += l.Caption() + "\n";
      const char colour = look[0], place = look[1];
      const float left = place == 'a' ? after : place == 'i' ? indent : 0;
      top += std::stof(look.substr(3)) * LineHeight(look.back() == 't' ? t : b);
      ExpectLine(l, colour == 'M' ? ui::RGB(255, 0, 255) : ui::RGB(0, 0, colour == 'B' ? 255 : 0),
                 colour == 'M' ? t : b, top, place == 'c', left);
    }
    EXPECT_EQ(captions, texts);
    EXPECT_EQ(Line(1).FontName(), "Microsoft Sans Serif");
    EXPECT_FALSE(Line(2).FontBold());
    ExpectSheet(Measure(Line(ruler).Caption() + std::string(margin, ' '), b),
                top + 2 * LineHeight(b), 0);
  }
  // The statistics page: picture 1 stretched, or 2 or 3 at its own size,
  // and no line; the sheet is the picture, at the top.
  void ExpectPicture(int picture) {
    ui::Image* pictures[] = {&k->STAT_Image1, &k->STAT_Image2, &k->STAT_Image3};
    const float sizes[][2] = {{9120, 5460}, {930 * 15, 590 * 15}, {1230 * 15, 660 * 15}};
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(pictures[i - 1]->Shown(), i == picture) << i;
    EXPECT_EQ(State().back(), '0');
    const ui::Image& p = *pictures[picture - 1];
    const float w = sizes[picture - 1][0], h = sizes[picture - 1][1];
    using Box = std::tuple<float, float, float, float>;
    EXPECT_EQ(Box(p.Left(), p.Top(), p.Width(), p.Height()), Box(0, 0, w, h));
    ExpectSheet(w, h, 0);
  }
  // The about page: one size a for all lines, the largest up to the body
  // size b (but at least 1) at which notice line 3 with its margins fits the
  // screen; the sheet as wide as that line, a quarter of the free height
  // below the frame's top; the credits left-aligned on the colons X (right
  // of the author's line) and Y (under "   Auteur :"), the notice centred.
  void ExpectAboutPage(float b) {
    const float a = k->A_I, h = LineHeight(a), sw = ui::ScreenWidth();
    const std::string ruler = " " + k->Label5.Caption() + "  ";
    EXPECT_TRUE(a >= 1 && a <= b) << a;
    EXPECT_LE(Measure(ruler, a), a > 1 ? sw : INFINITY);
    EXPECT_GT(Measure(ruler, a + 1), a < b ? sw : -INFINITY);
    std::ifstream f(std::string(KESTOR_SOURCE_DIR) + "/CMakeLists.txt");
    const std::string cmake((std::istreambuf_iterator<char>(f)), {});
    std::smatch version;
    ASSERT_TRUE(
        std::regex_search(cmake, version, std::regex(R"(project\(kestor VERSION ([0-9.]+))")));
    EXPECT_EQ(k->Label3.Caption(),
              "KESTOR, simulateur du comptage des impulsions, version " + version[1].str());
    EXPECT_EQ(k->Label1.Caption().rfind("   Auteur : ", 0), 0u) << k->Label1.Caption();
    EXPECT_EQ(k->Label2.Caption() + "|" + k->Label9.Caption() + "|" + k->Label10.Caption(),
              "Logiciel : KESTOR_11.EXE|Fichier associé : KESTOR_11.KSQ|Editeur :");
    const float height = k->Label8.Top() + 2 * h;
    ExpectSheet(Measure(ruler, a), height,
                (ui::ScreenHeight() - height - k->Picture1.Height()) / 4);
    // Lines 1 ... 13: tops in line heights, left edges of the credits.
    const float tops[] = {1, 1, 7, 9, 11, 12, 14, 15, 2, 3, 3, 4, 5};
    const float x = k->Label1.Width() + 10 * h, y = Measure("   Auteur :", a);
    const float x2 = x - Measure("Logiciel :", a), x9 = x - Measure("Fichier associé :", a);
    const float lefts[] = {0, x2, 0, 0, 0, 0, 0, 0, x9, y - Measure("Editeur :", a), y, y, y};
    for (size_t n = 1; n <= 19; ++n) {
      ui::Label& l = Line(n);
      SCOPED_TRACE(l.Name());
      EXPECT_EQ(l.Visible(), n <= 13);
      if (n <= 13)
        ExpectLine(l, ui::RGB(0, 0, 0), a, tops[n - 1] * h, n >= 3 && n <= 8, lefts[n - 1]);
    }
  }
};

// Every page on screens of several sizes (w x h pixels of 15 twips), with the
// title and body sizes t and b and the statistics picture each gives: 3 above 10368
// twips high, 2 above 8640, else 1. The about page's font shrinks on the
// last four. Each page follows one that places its lines differently: no
// line keeps its former place, alignment or visibility.
TEST_F(PagesTest, EveryPageOnScreensOfSeveralSizes) {
  const float screens[][5] = {{1024, 768, 18, 14, 3}, {800, 600, 14, 10, 2},
                              {1024, 692, 16, 12, 3}, {1024, 691.2f, 16, 12, 2},
                              {800, 577, 13, 10, 2},  {800, 576, 13, 10, 1},
                              {480, 800, 18, 14, 3},  {400, 600, 14, 10, 2},
                              {320, 480, 11, 8, 1},   {16, 768, 18, 14, 3}};
  for (const auto& [w, h, t, b, picture] : screens) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    Start(w, h);
    for (Page page : {kUsage, kRadio, kStatistics, kAbout, kUsage}) {
      SCOPED_TRACE(page);
      OpenPage(page);
      if (page == kUsage) ExpectTextPage(kUsageTexts, kUsageLooks, 4, 2, t, b);
      if (page == kRadio) ExpectTextPage(kRadioTexts, kRadioLooks, 5, 6, t, b);
      if (page == kStatistics) ExpectPicture(static_cast<int>(picture));
      if (page == kAbout) ExpectAboutPage(b);
      k->BLANCS.FireClick();
    }
  }
}

// A click on the sheet, the frame or a line closes any page; "Effacer" comes
// back only from 2 counts. Neither opening nor closing touches the counts or
// the drawing.
TEST_F(PagesTest, ClosingRestoresTheCommandsAndLeavesTheCountsAndTheDrawing) {
  Start();
  k->S1_L = 7;
  k->S2N1_D = 19;
  k->EFFECTIF_L[2] = 2;
  const auto counts_and_drawing = [this] {
    std::string pixels;
    for (int y = 0; y < k->SurfaceHeight(); y += 5)
      for (int x = 0; x < k->SurfaceWidth(); x += 5) {
        const ui::Rgb c = k->Pixel(x, y);
        pixels += {char(c.r), char(c.g), char(c.b)};
      }
    return std::make_tuple(pixels, k->SN_L, k->S1_L, k->S2N1_D, k->EFFECTIF_L, k->ACTIV_I, k->ACT_I,
                           k->ECHELLE_S, k->MODE_T, k->COMPTAGE_I);
  };
  const std::string drawing = std::get<0>(counts_and_drawing());
  ASSERT_NE(drawing.find_first_not_of('\xff'), std::string::npos);  // the panel is drawn
  for (int page = kUsage; page <= kAbout; ++page) {
    ui::Widget* line = page == kStatistics ? static_cast<ui::Widget*>(&k->STAT_Image3) : &k->Label1;
    for (ui::Widget* target : std::initializer_list<ui::Widget*>{&k->BLANCS, &k->Picture2, line}) {
      for (int32_t n : {0, 1, 2}) {
        SCOPED_TRACE(std::to_string(page) + ", " + target->Name() + ", " + std::to_string(n));
        k->SN_L = n;
        k->LANCER.SetEnabled(false);
        const auto before = counts_and_drawing();
        OpenPage(page);
        // The page over all, no quit command, the list closed, no command enabled.
        const std::regex open("Picture2 BLANCS (Label33 )?(STAT_Image. )?[0-9]+");
        EXPECT_TRUE(std::regex_match(State(), open)) << State();
        EXPECT_EQ(k->INFOS.ListIndex(), -1);
        target->FireClick();
        EXPECT_EQ(State(),
                  n >= 2 ? "FIN LANCER+ EFFACER+ ACTIVITES+ 0" : "FIN LANCER+ ACTIVITES+ 0");
        EXPECT_TRUE(counts_and_drawing() == before);
        k->EFFACER.SetEnabled(false);
      }
    }
  }
  // Released over the list with no entry: no page opens.
  k->INFORMATION.FireClick();
  k->INFOS.FireMouseUp();
  EXPECT_EQ(State(), "FIN LANCER+ ACTIVITES+ 0");
}

}  // namespace
