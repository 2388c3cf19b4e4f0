// The information pages on screens of several sizes, opened and closed.
#include <regex>
#include <sstream>

#include "fixture.h"

enum Page { kUsage, kRadio, kStatistics, kAbout };

// Each line's look:gap: colour (M magenta, B blue, K black), place (c centred,
// 0 at the edge, a right of line 2, i indented by line 2's height), its top
// below the previous line's in body heights (or title heights: t).
const char kUsageLooks[] =
    "Mc:.5t B0:1t Ba:1 K0:1 Ba:1 K0:1 K0:1 Ba:1 K0:1 K0:1 Bi:2 K0:1 Bi:2 K0:1 Bi:2 Ba:1 K0:1 K0:1 "
    "K0:1";
const char kRadioLooks[] = "Mc:.5t Kc:1.5 Bc:2 Mc:3 Kc:1.5 Kc:2 Kc:1 Kc:2 Kc:1 Bc:2 Bc:1";

// An open page: its frame and sheet, the commands disabled, the list closed.
const std::regex kOpen("Picture2 BLANCS (Label33 )?(STAT_Image. )?\\d+ -1");

class PagesTest : public KestorTest {
 protected:
  ui::Label& Line(size_t n) { return *k->LIGNES[n - 1]; }
  float LineHeight(float points) { return Measure("x", points, false); }
  std::string State() {
    std::string s;
    for (ui::Widget* w : std::initializer_list<ui::Widget*>{&k->Picture2, &k->BLANCS, &k->FIN,
                                                            &k->INFOS, &k->Label33, &k->STAT_Image1,
                                                            &k->STAT_Image2, &k->STAT_Image3})
      if (w->Visible()) s += w->Name() + " ";
    for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES})
      if (c->Enabled()) s += c->Name() + "+ ";
    return s + std::to_string(std::count_if(k->LIGNES.begin(), k->LIGNES.end(),
                                            [](ui::Label* l) { return l->Visible(); }));
  }
  void ExpectSheet(float width, float height, float top) {
    EXPECT_EQ(BoxOf(k->BLANCS), Box((ui::ScreenWidth() - width) / 2, top, width, height));
  }
  // Centred across the sheet, or left-aligned at `left` and as wide as its text.
  void ExpectLine(ui::Label& l, ui::Rgb colour, float size, float top, bool centred, float left) {
    EXPECT_FLOAT_EQ(l.Top(), top);
    EXPECT_EQ(std::make_tuple(Describe(l.ForeColor()), l.FontSize(), l.Left(), l.Width(),
                              l.Alignment() == ui::Align::Center, l.FontName()),
              std::make_tuple(Describe(colour), size, centred ? 0 : left,
                              centred ? k->BLANCS.Width() : Measure(l.Caption(), size), centred,
                              "Microsoft Sans Serif"));
  }
  // Its lines and no other; the sheet at the top, as wide as line
  // `ruler` with `margin` blanks more, ends a blank line under the last line.
  void ExpectTextPage(const char* looks, size_t ruler, size_t margin, float t, float b,
                      size_t bytes, std::initializer_list<size_t> keys, const char* key_texts) {
    std::istringstream tokens(looks);
    std::string look, captions;
    const float after = Line(2).Width(), indent = Line(2).Height();
    float top = 0;
    size_t total = 0;
    for (size_t n = 1; n <= 19; ++n) {
      ui::Label& l = Line(n);
      SCOPED_TRACE(l.Name());
      EXPECT_EQ(l.Shown(), static_cast<bool>(tokens >> look));
      if (!tokens) continue;
      const char colour = look[0], place = look[1];
      top += std::stof(look.substr(3)) * LineHeight(look.back() == 't' ? t : b);
      ExpectLine(l, colour == 'M' ? kLightMagenta : ui::RGB(0, 0, colour == 'B' ? 255 : 0),
                 colour == 'M' ? t : b, top, place == 'c',
                 place == 'a'   ? after
                 : place == 'i' ? indent
                                : 0);
      total += l.Caption().size();
    }
    for (size_t n : keys) captions += Line(n).Caption() + "|";
    EXPECT_EQ(std::make_tuple(captions, total), std::make_tuple(key_texts, bytes));
    ExpectSheet(Measure(Line(ruler).Caption() + std::string(margin, ' '), b),
                top + 2 * LineHeight(b), 0);
  }
  // Picture 1 stretched, or 2 or 3 at its own size; the sheet is the picture.
  ui::Widget* ExpectPicture(int picture) {
    ui::Image* pictures[] = {&k->STAT_Image1, &k->STAT_Image2, &k->STAT_Image3};
    const float w = std::array{9120, 930 * 15, 1230 * 15}[picture - 1],
                h = std::array{5460, 590 * 15, 660 * 15}[picture - 1];
    EXPECT_EQ(State(), "Picture2 BLANCS Label33 STAT_Image" + std::to_string(picture) + " 0");
    EXPECT_EQ(BoxOf(*pictures[picture - 1]), Box(0, 0, w, h));
    ExpectSheet(w, h, 0);
    return pictures[picture - 1];
  }
  // One size a, the largest up to b (at least 1) at which notice line 3 with
  // its margins fits; the sheet as wide, a quarter of the free height down;
  // the credits on the colons X (right of line 1) and Y (under "   Auteur :").
  void ExpectAboutPage(float b) {
    const float a = k->A_I, h = LineHeight(a), sw = ui::ScreenWidth();
    const std::string ruler =
        " Toute reproduction ou diffusion, même partielle, est interdite sans l'accord de "
        "l'éditeur.  ";
    EXPECT_TRUE(a >= 1 && a <= b) << a;
    EXPECT_LE(Measure(ruler, a), a > 1 ? sw : INFINITY);
    EXPECT_GT(Measure(ruler, a + 1), a < b ? sw : -INFINITY);
    EXPECT_EQ(Captions({&k->Label3, &k->Label2, &k->Label9, &k->Label10}) + "|" +
                  k->Label1.Caption().substr(0, 12),
              "KESTOR, simulateur du comptage des impulsions, version " KESTOR_VERSION_TEXT
              "|Logiciel : KESTOR_11.EXE|Fichier associé : KESTOR_11.KSQ|Editeur :|   Auteur : ");
    const float height = k->Label8.Top() + 2 * h;
    ExpectSheet(Measure(ruler, a), height,
                (ui::ScreenHeight() - height - k->Picture1.Height()) / 4);
    const float tops[] = {1, 1, 7, 9, 11, 12, 14, 15, 2, 3, 3, 4, 5};
    const float x = k->Label1.Width() + 10 * h, y = Measure("   Auteur :", a);
    const float x2 = x - Measure("Logiciel :", a), x9 = x - Measure("Fichier associé :", a);
    const float lefts[] = {0, x2, 0, 0, 0, 0, 0, 0, x9, y - Measure("Editeur :", a), y, y, y};
    for (size_t n = 1; n <= 19; ++n) {
      SCOPED_TRACE(n);
      EXPECT_EQ(Line(n).Visible(), n <= 13);
      if (n <= 13)
        ExpectLine(Line(n), ui::RGB(0, 0, 0), a, tops[n - 1] * h, n >= 3 && n <= 8, lefts[n - 1]);
    }
  }
};

// w x h, title and body sizes, statistics picture (3 above 10368 twips high, 2
// above 8640). A click on sheet, frame, line or picture closes; "Effacer" from 2 counts.
TEST_F(PagesTest, EveryPageOnScreensOfSeveralSizesOpensAndCloses) {
  const float screens[][5] = {{1024, 768, 18, 14, 3},      {800, 600, 14, 10, 2},
                              {1024, 691.25f, 16, 12, 3},  {1024, 691.2f, 16, 12, 2},
                              {800, 576.0625f, 13, 10, 2}, {800, 576, 13, 10, 1},
                              {480, 800, 18, 14, 3},       {400, 600, 14, 10, 2},
                              {320, 480, 11, 8, 1},        {16, 768, 18, 14, 3}};
  int counts = 0;
  for (const auto& [w, h, t, b, picture] : screens) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    Start(w, h);
    k->SN_L = counts++ % 3;
    for (int n = counts; n < counts + 5; ++n) {  // each page first on some screen
      const Page page = Page(n % 4);
      SCOPED_TRACE(page);
      OpenPage(page);
      const std::string open = State() + " " + std::to_string(k->INFOS.ListIndex());
      EXPECT_TRUE(std::regex_match(open, kOpen)) << open;
      if (page == kUsage)
        ExpectTextPage(kUsageLooks, 4, 2, t, b, 931, {1, 2, 11, 13, 15},
                       "UTILISATION|     Lancer :|Arrêter :|Effacer :|Taux de comptage :|");
      if (page == kRadio)
        ExpectTextPage(kRadioLooks, 5, 6, t, b, 769, {1, 4}, "RADIOACTIVITÉ|COMPTAGE|");
      ui::Widget* line = &k->Label1;
      if (page == kStatistics) line = ExpectPicture(static_cast<int>(picture));
      if (page == kAbout) ExpectAboutPage(b);
      ui::Widget* targets[] = {&k->BLANCS, &k->Picture2, line};
      targets[page == kStatistics ? 2 : (counts + page) % 3]->FireClick();
      EXPECT_EQ(State(),
                k->SN_L >= 2 ? "FIN LANCER+ EFFACER+ ACTIVITES+ 0" : "FIN LANCER+ ACTIVITES+ 0");
    }
  }
  k->SN_L = 2, k->EFFACER.SetEnabled(false);  // released over no entry: no page, nothing changes
  k->INFORMATION.FireClick(), k->INFOS.FireMouseUp();
  EXPECT_EQ(State(), "FIN LANCER+ ACTIVITES+ 0");
}
