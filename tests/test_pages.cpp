// The information pages on screens of several sizes, opened and closed.
#include <sstream>

#include "fixture.h"

enum Page { kUsage, kRadio, kStatistics, kAbout };

// Each line's look:gap: colour (M magenta at the title size, B blue or K black at the body
// size), place (c centred, or 0 to 4: the page's lefts; the text pages': 0, right of line 2,
// indented by a body height), its top below (-: above) the last line's in body (t: title) heights.
const char kUsageLooks[] =
    "Mc:.5t B0:1t B1:1 K0:1 B1:1 K0:1 K0:1 B1:1 K0:1 K0:1 B2:2 K0:1 B2:2 K0:1 B2:2 B1:1 K0:1 K0:1 "
    "K0:1";
const char kRadioLooks[] = "Mc:.5t Kc:1.5 Bc:2 Mc:3 Kc:1.5 Kc:2 Kc:1 Kc:2 Kc:1 Bc:2 Bc:1";
const char kAboutLooks[] = "K0:1 K1:0 Kc:6 Kc:2 Kc:2 Kc:1 Kc:2 Kc:1 K2:-13 K3:1 K4:0 K4:1 K4:1";

class PagesTest : public KestorTest {
 protected:
  ui::Label& Line(size_t n) { return *k->LIGNES[n - 1]; }
  float LineHeight(float points) { return Measure("x", points, false); }
  // Shown (1) or not: frame, sheet, quit, list, its header; the start, clear and rate commands
  // enabled (+) or not (-); the pictures visible; a bar a line shown; the list's entry.
  std::string State() {
    std::string s = Flags({&k->Picture2, &k->BLANCS, &k->FIN, &k->INFOS, &k->Label33});
    for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES}) s += c->Enabled() ? '+' : '-';
    for (ui::Image* i : {&k->STAT_Image1, &k->STAT_Image2, &k->STAT_Image3})
      if (i->Visible()) s += i->Name().back();
    for (ui::Label* l : k->LIGNES) s += l->Shown() ? "|" : "";
    return s + " " + std::to_string(k->INFOS.ListIndex());
  }
  // Its lines and no other, centred across the sheet or as wide as their text, in the window's
  // face (read on the last); captions of lines `keys`, bytes of all; the sheet as wide as `ruler`,
  // to a blank line under the lowest, at the top or (`lowered`) a quarter of the free height down.
  void ExpectPage(const char* looks, float t, float b, std::array<float, 5> lefts,
                  const std::string& ruler, bool lowered, size_t bytes,
                  std::initializer_list<size_t> keys, const std::string& texts) {
    std::istringstream tokens(looks);
    std::string look, captions;
    float top = 0, bottom = 0;
    size_t total = 0, n = 0;
    while (tokens >> look) {
      ui::Label& l = Line(++n);
      const bool centred = look[1] == 'c';
      const float size = look[0] == 'M' ? t : b, left = centred ? 0 : lefts[look[1] - '0'];
      const std::string colour = look[0] == 'M' ? kMagenta : look[0] == 'B' ? kBlue : "(0,0,0)";
      top += std::stof(look.substr(3)) * LineHeight(look.back() == 't' ? t : b);
      EXPECT_EQ(std::make_tuple(n, Describe(l.ForeColor()), l.FontSize(), l.Top(), l.Left(),
                                l.Width(), l.Alignment() == ui::Align::Center),
                std::make_tuple(n, colour, size, top, left,
                                centred ? k->BLANCS.Width() : Measure(l.Caption(), size), centred));
      bottom = std::max(bottom, top), total += l.Caption().size();
    }
    for (size_t key : keys) captions += Line(key).Caption() + "|";
    const float w = Measure(ruler, b), h = bottom + 2 * LineHeight(b);
    const float y = lowered ? (k->Height() - h - k->Picture1.Height()) / 4 : 0;
    EXPECT_EQ(std::make_tuple(State(), captions, total, Line(n).FontName(), BoxOf(k->BLANCS)),
              std::make_tuple("11001---" + std::string(n, '|') + " -1", texts, bytes,
                              "Microsoft Sans Serif", Box((k->Width() - w) / 2, y, w, h)));
  }
};

// w x h, title and body sizes, picture (3 above 10368 twips high, 2 above 8640); upright: a stage
// 3/4 as high as wide. Sheet, frame, line or picture clicked closes; "Effacer" from 2 counts.
TEST_F(PagesTest, EveryPageOnScreensOfSeveralSizesOpensAndCloses) {
  const float screens[][5] = {{1024, 691.25f, 16, 12, 3},  {1024, 691.2f, 16, 12, 2},
                              {800, 576.0625f, 13, 10, 2}, {800, 576, 13, 10, 1},
                              {480, 767, 8, 6, 1},         {600, 500, 11, 9, 1}};
  for (int n = 0; n < 30; ++n) {  // five pages a screen, each first on one; about then statistics
    const auto& [w, h, t, b, picture] = screens[n / 5];
    const Page page = Page((n / 5 + 3 * (n % 5)) % 4);
    if (n % 5 == 0) Start(w, h), k->SN_L = n / 5 % 3;
    SCOPED_TRACE(::testing::Message() << w << " x " << h << ", page " << page);
    OpenPage(page);
    if (page == kUsage)
      ExpectPage(kUsageLooks, t, b, {0, Line(2).Width(), LineHeight(b)}, Line(4).Caption() + "  ",
                 false, 931, {1, 2, 11, 13, 15},
                 "UTILISATION|     Lancer :|Arrêter :|Effacer :|Taux de comptage :|");
    if (page == kRadio)
      ExpectPage(kRadioLooks, t, b, {}, Line(5).Caption() + "      ", false, 769, {1, 4},
                 "RADIOACTIVITÉ|COMPTAGE|");
    if (page == kAbout) {  // one size a, the largest up to b (at least 1) fitting line 5 and its
      // margins; the sheet as wide; credits on colons x (right of line 1), y (under "   Auteur :").
      const float a = k->A_I, x = Line(1).Width() + 10 * LineHeight(a);
      const float y = Measure("   Auteur :", a);
      const std::string ruler = " " + Line(5).Caption() + "  ";
      EXPECT_TRUE(a >= 1 && a <= b && (a == 1 || Measure(ruler, a) <= k->Width())) << a;
      EXPECT_TRUE(a == b || Measure(ruler, a + 1) > k->Width()) << a;
      ExpectPage(kAboutLooks, a, a,
                 {0, x - Measure("Logiciel :", a), x - Measure("Fichier associé :", a),
                  y - Measure("Editeur :", a), y},
                 ruler, true, 565 + sizeof KESTOR_VERSION_TEXT, {1, 2, 9, 10, 5, 3},
                 "   Auteur : Ambroise Quintenelle|Logiciel : KESTOR_11.EXE|Fichier associé : "
                 "KESTOR_11.KSQ|Editeur :|Toute reproduction ou diffusion, même partielle, est "
                 "interdite sans l'accord de l'éditeur.|KESTOR, simulateur du comptage des "
                 "impulsions, version " KESTOR_VERSION_TEXT "|");
    }
    ui::Widget* targets[] = {&k->BLANCS,      &k->Picture2,    &k->Label1,
                             &k->STAT_Image1, &k->STAT_Image2, &k->STAT_Image3};
    const int p = static_cast<int>(picture);
    if (page == kStatistics) {  // picture 1 stretched, or 2 or 3 at its own size; the sheet as big
      const auto [pw, ph, own] = std::array<std::array<float, 3>, 3>{
          {{9120, 5460, 760}, {930 * 15, 590 * 15, 930}, {1230 * 15, 660 * 15, 1230}}}[p - 1];
      // Its picture's own width; picture 1's red title, 178 to 582 of 760 columns, shrunk by 4/5.
      const QImage shot = Grab(*targets[2 + p]);
      int red = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < shot.width(); ++x)
          if (qRed(shot.pixel(x, y)) > 200 && qGreen(shot.pixel(x, y)) < 90) red = std::max(red, x);
      EXPECT_EQ(std::make_tuple(State(), BoxOf(*targets[2 + p]), BoxOf(k->BLANCS),
                                static_cast<ui::Image*>(targets[2 + p])->PictureWidth(),
                                p > 1 || std::abs(red - 582 * 4 / 5) <= 3),
                std::make_tuple("11001---" + std::to_string(p) + " -1", Box(0, 0, pw, ph),
                                Box((k->Width() - pw) / 2, 0, pw, ph), own, true))
          << red;
    }
    targets[page == kStatistics ? 2 + p : (n / 5 + page) % 3]->FireClick();
    EXPECT_EQ(State(), k->SN_L >= 2 ? "00100+++ -1" : "00100+-+ -1");
  }
  k->SN_L = 2, k->EFFACER.SetEnabled(false);  // released over no entry: no page, nothing changes
  k->INFORMATION.FireClick(), k->INFOS.FireMouseUp();
  EXPECT_EQ(State(), "00100+-+ -1");
}
