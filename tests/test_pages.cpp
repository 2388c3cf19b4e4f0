// The information pages: each page laid out on the reference screen and a
// smaller one, the statistics picture chosen by the screen's height, the
// about page's font fitted to a narrow screen, and what opening and closing
// a page leave behind.
#include <fstream>
#include <initializer_list>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>

#include "fixture.h"

namespace {

constexpr ui::Rgb kMagenta = ui::RGB(255, 0, 255);
constexpr ui::Rgb kBlue = ui::RGB(0, 0, 255);
constexpr ui::Rgb kBlack = ui::RGB(0, 0, 0);

enum Page { kUsage = 0, kRadio = 1, kStatistics = 2, kAbout = 3 };

// A screen with the page sizes it gives: title t and body b, in points.
struct Screen {
  float w, h;
  float t, b;
};
const Screen kScreens[] = {{1024, 768, 18, 14}, {800, 600, 14, 10}};

// One expected line: its text, colour, whether it has the title size, and
// the distance from the top of the line before it (from the sheet's top for
// the first) in body heights plus title heights.
struct Expected {
  const char* text;
  ui::Rgb colour;
  bool title;
  float gap;
  float title_gap = 0;
};

std::string ProjectVersion() {
  std::ifstream f(std::string(KESTOR_SOURCE_DIR) + "/CMakeLists.txt");
  std::stringstream s;
  s << f.rdbuf();
  std::smatch m;
  const std::string text = s.str();
  return std::regex_search(text, m, std::regex(R"(project\(kestor VERSION ([0-9.]+))")) ? m[1].str()
                                                                                        : "?";
}

class PagesTest : public KestorTest {
 protected:
  // The probe lives on the window: it goes before the window does.
  void StartOn(float w, float h) {
    probe_.reset();
    Start(w, h);
  }
  void TearDown() override {
    probe_.reset();
    KestorTest::TearDown();
  }
  // Opens a page as a user does: the command shows the list, releasing the
  // button over an entry opens its page.
  void Open(int page) {
    k->INFORMATION.FireClick();
    k->INFOS.SetListIndex(page);
    k->INFOS.FireMouseUp();
  }
  ui::Label& Line(int n) { return *k->LIGNES[static_cast<size_t>(n - 1)]; }
  // Size of a text in the pages' face, measured by a label of the test's own.
  float TextWidth(const std::string& text, float points) { return Probe(text, points).Width(); }
  float TextHeight(float points) { return Probe("x", points).Height(); }
  ui::Label& Probe(const std::string& text, float points) {
    if (!probe_) probe_ = std::make_unique<ui::Label>(*k, "probe");
    probe_->SetVisible(false);
    probe_->SetAutoSize(true);
    probe_->SetCaption(text);
    probe_->SetFontSize(points);
    return *probe_;
  }
  // The sheet is centred across the screen.
  void ExpectSheetCentred() {
    EXPECT_TRUE(k->BLANCS.Shown());
    EXPECT_FLOAT_EQ(k->BLANCS.Left(), (ui::ScreenWidth() - k->BLANCS.Width()) / 2);
  }
  // Lines 1 ... n shown with their texts, colours and sizes, one under the
  // other at the expected gaps; the rest hidden. The sheet ends a blank
  // line under the last one.
  template <size_t N>
  void ExpectLines(const Expected (&lines)[N], const Screen& s) {
    float top = 0;
    for (size_t i = 0; i < N; ++i) {
      const Expected& e = lines[i];
      ui::Label& l = Line(static_cast<int>(i + 1));
      SCOPED_TRACE(l.Name());
      EXPECT_TRUE(l.Shown());
      EXPECT_EQ(l.Caption(), e.text);
      EXPECT_EQ(l.ForeColor(), e.colour);
      EXPECT_EQ(l.FontSize(), e.title ? s.t : s.b);
      EXPECT_EQ(l.FontName(), "Microsoft Sans Serif");
      EXPECT_FALSE(l.FontBold());
      EXPECT_FLOAT_EQ(l.Height(), TextHeight(l.FontSize()));
      top += e.gap * TextHeight(s.b) + e.title_gap * TextHeight(s.t);
      EXPECT_FLOAT_EQ(l.Top(), top);
    }
    for (size_t n = N + 1; n <= 19; ++n) EXPECT_FALSE(Line(static_cast<int>(n)).Visible()) << n;
    EXPECT_FLOAT_EQ(k->BLANCS.Height(), top + 2 * TextHeight(s.b));
  }
  void ExpectCentred(ui::Label& l) {
    SCOPED_TRACE(l.Name());
    EXPECT_EQ(l.Alignment(), ui::Align::Center);
    EXPECT_FLOAT_EQ(l.Left(), 0);
    EXPECT_FLOAT_EQ(l.Width(), k->BLANCS.Width());
  }
  void ExpectLeftAligned(ui::Label& l, float left) {
    SCOPED_TRACE(l.Name());
    EXPECT_EQ(l.Alignment(), ui::Align::Left);
    EXPECT_FLOAT_EQ(l.Left(), left);
    EXPECT_FLOAT_EQ(l.Width(), TextWidth(l.Caption(), l.FontSize()));
  }

  std::unique_ptr<ui::Label> probe_;
};

const Expected kUsageLines[] = {
    {"UTILISATION", kMagenta, true, 0, 0.5f},
    {"     Lancer :", kBlue, false, 0, 1},
    {"1 comptage", kBlue, false, 1},
    {"  Les impulsions de la détection des rayonnements issus de la radioactivité sont "
     "visualisées en temps réel.",
     kBlack, false, 1},
    {"2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000 comptages",
     kBlue, false, 1},
    {"  Ils permettent sans visualiser les impulsions, et en contractant le temps, d'obtenir plus "
     "rapidement",
     kBlack, false, 1},
    {"  la construction de l'histogramme. ", kBlack, false, 1},
    {"En continu", kBlue, false, 1},
    {"  Les impulsions sont visualisées, l'histogramme se construit et les comptages sont "
     "automatiquement",
     kBlack, false, 1},
    {"  relancés.", kBlack, false, 1},
    {"Arrêter :", kBlue, false, 2},
    {"  La série des comptages est arrêtée.", kBlack, false, 1},
    {"Effacer :", kBlue, false, 2},
    {"  Les impulsions, l'histogramme, et les calculs seront effacés après votre accord.", kBlack,
     false, 1},
    {"Taux de comptage :", kBlue, false, 2},
    {"0.5 imp/s, 1 imp/s, 2 imp/s, 4 imp/s, 8 imp/s, 16 impulsions par seconde ", kBlue, false, 1},
    {"  Le temps de l'observation étant de 1s, le nombre moyen (Nmoyen) pour le comptage des "
     "détections",
     kBlack, false, 1},
    {"  sera autour de :  0,5   1   2   4   8  ou 16.", kBlack, false, 1},
    {"  Changer le taux de comptage lance la fonction  Effacer .", kBlack, false, 1},
};

TEST_F(PagesTest, UsagePageListsTheCommandsUnderItsTitle) {
  for (const Screen& s : kScreens) {
    SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
    StartOn(s.w, s.h);
    // Other pages first: their centred lines must not leak into this one.
    Open(kAbout);
    k->BLANCS.FireClick();
    Open(kRadio);
    k->BLANCS.FireClick();
    Open(kUsage);

    EXPECT_FLOAT_EQ(k->BLANCS.Width(),
                    TextWidth("  Les impulsions de la détection des rayonnements issus de la "
                              "radioactivité sont visualisées en temps réel.  ",
                              s.b));
    EXPECT_FLOAT_EQ(k->BLANCS.Top(), 0);
    ExpectSheetCentred();
    ExpectLines(kUsageLines, s);

    // Left edges: c centred, 0 the sheet's edge, a after "     Lancer :" (line
    // 2's width), i indented by line 2's height.
    const std::string lefts = "c0a0a00a00i0i0ia000";
    for (int n = 1; n <= 19; ++n) {
      const char rule = lefts[static_cast<size_t>(n - 1)];
      if (rule == 'c') {
        ExpectCentred(Line(n));
      } else {
        const float left = rule == 'a' ? Line(2).Width() : rule == 'i' ? Line(2).Height() : 0;
        ExpectLeftAligned(Line(n), left);
      }
    }
  }
}

const Expected kRadioLines[] = {
    {"RADIOACTIVITÉ", kMagenta, true, 0, 0.5f},
    {"L'activité d'une source radioactive représente le nombre moyen de désintégration(s) par "
     "seconde.",
     kBlack, false, 1.5f},
    {"1 Becquerel (Bq) correspond à 1 désintégration par seconde", kBlue, false, 2},
    {"COMPTAGE", kMagenta, true, 3},
    {"L'instant d'une désintégration est imprévisible. L'intervalle de temps entre deux "
     "détections est aléatoire.",
     kBlack, false, 1.5f},
    {"La valeur du comptage des impulsions liées à la détection des rayonnements suite aux "
     "désintégrations ",
     kBlack, false, 2},
    {"se produisant durant un temps d'observation donné, est également aléatoire.", kBlack, false,
     1},
    {"Le classement des valeurs du comptage sous la forme d'un histogramme, permet de visualiser ",
     kBlack, false, 2},
    {"la dispersion des valeurs (influence de la variance).", kBlack, false, 1},
    {"Avec la radioactivité, il y a une convergence entre la valeur de la moyenne et la valeur de "
     "la variance,",
     kBlue, false, 2},
    {"lorsque le nombre des comptages augmente.", kBlue, false, 1},
};

TEST_F(PagesTest, RadioactivityPageCentresEveryLine) {
  for (const Screen& s : kScreens) {
    SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
    StartOn(s.w, s.h);
    Open(kUsage);
    k->Label7.FireClick();
    Open(kRadio);

    EXPECT_FLOAT_EQ(k->BLANCS.Width(),
                    TextWidth("L'instant d'une désintégration est imprévisible. L'intervalle de "
                              "temps entre deux détections est aléatoire.      ",
                              s.b));
    ExpectSheetCentred();
    ExpectLines(kRadioLines, s);
    for (int n = 1; n <= 11; ++n) ExpectCentred(Line(n));
  }
}

TEST_F(PagesTest, StatisticsPictureFollowsTheScreenHeight) {
  struct Case {
    float w, h;  // pixels; SH = 15 x h twips
    int picture;
  };
  const Case cases[] = {{1024, 768, 3}, {1024, 692, 3}, {1024, 691.2f, 2}, {800, 600, 2},
                        {800, 577, 2},  {800, 576, 1},  {640, 480, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    StartOn(c.w, c.h);
    Open(kStatistics);
    ui::Image* pictures[3] = {&k->STAT_Image1, &k->STAT_Image2, &k->STAT_Image3};
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(pictures[i - 1]->Shown(), i == c.picture) << i;
    const ui::Image& p = *pictures[c.picture - 1];
    const float sizes[3][2] = {{9120, 5460}, {930 * 15, 590 * 15}, {1230 * 15, 660 * 15}};
    EXPECT_FLOAT_EQ(p.Width(), sizes[c.picture - 1][0]);
    EXPECT_FLOAT_EQ(p.Height(), sizes[c.picture - 1][1]);
    EXPECT_FLOAT_EQ(p.Left(), 0);
    EXPECT_FLOAT_EQ(p.Top(), 0);
    EXPECT_FLOAT_EQ(k->BLANCS.Width(), p.Width());
    EXPECT_FLOAT_EQ(k->BLANCS.Height(), p.Height());
    EXPECT_FLOAT_EQ(k->BLANCS.Top(), 0);
    ExpectSheetCentred();  // wider than a 1024-pixel screen: cut equally on both sides
    for (ui::Label* l : k->LIGNES) EXPECT_FALSE(l->Visible()) << l->Name();
  }
}

TEST_F(PagesTest, AboutPageAlignsItsCreditsAndCentresTheNotice) {
  const std::string version = ProjectVersion();
  for (const Screen& s : kScreens) {
    SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h));
    StartOn(s.w, s.h);
    Open(kUsage);
    k->BLANCS.FireClick();
    Open(kAbout);

    const float a = s.b;  // the longest line fits at the body size on these screens
    EXPECT_EQ(k->A_I, a);
    const float h = TextHeight(a);
    EXPECT_EQ(Line(1).Caption().rfind("   Auteur : ", 0), 0u) << Line(1).Caption();
    EXPECT_GT(Line(1).Caption().size(), 13u);
    EXPECT_EQ(k->Label2.Caption(), "Logiciel : KESTOR_11.EXE");
    EXPECT_EQ(k->Label9.Caption(), "Fichier associé : KESTOR_11.KSQ");
    EXPECT_EQ(k->Label10.Caption(), "Editeur :");
    const std::string& first = k->Label3.Caption();
    ASSERT_GT(first.size(), version.size());
    EXPECT_EQ(first.substr(first.size() - version.size() - 1), " " + version);

    // The sheet: as wide as notice line 3 with its margins, a quarter of the
    // free height below the frame's top, a blank line under the last line.
    const std::string longest = k->Label5.Caption();
    EXPECT_FLOAT_EQ(k->BLANCS.Width(), TextWidth(" " + longest + "  ", a));
    EXPECT_LE(k->BLANCS.Width(), ui::ScreenWidth());
    ExpectSheetCentred();
    EXPECT_FLOAT_EQ(k->BLANCS.Height(), k->Label8.Top() + 2 * h);
    EXPECT_FLOAT_EQ(k->BLANCS.Top(),
                    (ui::ScreenHeight() - k->BLANCS.Height() - k->Picture1.Height()) / 4);

    // Credits: the colons of "Logiciel :" and "Fichier associé :" end at X,
    // right of the author's line; "Editeur :" ends under "   Auteur :".
    const float x = k->Label1.Width() + 10 * h;
    const float y = TextWidth("   Auteur :", a);
    ExpectLeftAligned(k->Label1, 0);
    ExpectLeftAligned(k->Label2, x - TextWidth("Logiciel :", a));
    ExpectLeftAligned(k->Label9, x - TextWidth("Fichier associé :", a));
    ExpectLeftAligned(k->Label10, y - TextWidth("Editeur :", a));
    for (ui::Label* l : {&k->Label11, &k->Label12, &k->Label13}) ExpectLeftAligned(*l, y);
    EXPECT_GT(k->Label2.Left(), k->Label1.Width());

    // Tops, in line heights, of lines 1, 2, 9, 10, 11, 12, 13, 3 ... 8.
    const std::pair<int, float> tops[] = {{1, 1},  {2, 1},  {9, 2}, {10, 3}, {11, 3},
                                          {12, 4}, {13, 5}, {3, 7}, {4, 9},  {5, 11},
                                          {6, 12}, {7, 14}, {8, 15}};
    for (auto [n, lines] : tops) EXPECT_FLOAT_EQ(Line(n).Top(), lines * h) << n;
    for (int n = 1; n <= 19; ++n) {
      ui::Label& l = Line(n);
      SCOPED_TRACE(l.Name());
      EXPECT_EQ(l.Visible(), n <= 13);
      if (n > 13) continue;
      EXPECT_EQ(l.FontSize(), a);
      EXPECT_EQ(l.ForeColor(), kBlack);
      EXPECT_FALSE(l.Caption().empty());
      // Line 3 of the notice is the longest; every credit stays on the sheet.
      EXPECT_LE(TextWidth(l.Caption(), a), TextWidth(longest, a));
      if (n >= 3 && n <= 8) {
        ExpectCentred(l);
      } else {
        EXPECT_LE(l.Left() + l.Width(), k->BLANCS.Width());
      }
    }
  }
}

TEST_F(PagesTest, AboutPageShrinksItsFontUntilTheLongestLineFits) {
  // Screens narrower than the longest line at Int(14 x SH / 11520) points.
  const float screens[][2] = {{480, 800}, {400, 600}, {320, 480}};
  for (auto [w, h] : screens) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    StartOn(w, h);
    Open(kAbout);
    const int start = static_cast<int>(14 * h / 768);
    const std::string ruler = " " + k->Label5.Caption() + "  ";
    EXPECT_LT(k->A_I, start);
    EXPECT_LE(TextWidth(ruler, k->A_I), ui::ScreenWidth());
    EXPECT_GT(TextWidth(ruler, k->A_I + 1), ui::ScreenWidth());  // one point more is too wide
    EXPECT_FLOAT_EQ(k->BLANCS.Width(), TextWidth(ruler, k->A_I));
    ExpectSheetCentred();
    for (int n = 1; n <= 13; ++n) EXPECT_EQ(Line(n).FontSize(), k->A_I) << n;
  }
  // Too narrow for the line even at 1 point: the font stops there.
  StartOn(16, 768);
  Open(kAbout);
  EXPECT_EQ(k->A_I, 1);
  EXPECT_GT(k->BLANCS.Width(), ui::ScreenWidth());
}

TEST_F(PagesTest, ClosingRestoresTheCommandsWhateverIsClicked) {
  Start();
  struct Count {
    int32_t n;
    bool clear_enabled;
  };
  const Count counts[] = {{0, false}, {1, false}, {2, true}, {5, true}};
  for (int page = kUsage; page <= kAbout; ++page) {
    // A line of the page, or its picture on the reference screen.
    ui::Widget* line = page == kStatistics ? static_cast<ui::Widget*>(&k->STAT_Image3) : &k->Label1;
    for (ui::Widget* target : std::initializer_list<ui::Widget*>{&k->BLANCS, &k->Picture2, line}) {
      for (const Count& c : counts) {
        SCOPED_TRACE("page " + std::to_string(page) + ", click " + target->Name() + ", " +
                     std::to_string(c.n) + " counts");
        k->SN_L = c.n;
        k->LANCER.SetEnabled(false);
        Open(page);
        EXPECT_TRUE(k->Picture2.Shown());
        EXPECT_FALSE(k->FIN.Shown());
        EXPECT_FALSE(k->INFOS.Visible());
        EXPECT_EQ(k->INFOS.ListIndex(), -1);
        for (ui::Label* cmd : {&k->LANCER, &k->EFFACER, &k->ACTIVITES})
          EXPECT_FALSE(cmd->Enabled());

        target->FireClick();
        EXPECT_TRUE(k->LANCER.Enabled());
        EXPECT_TRUE(k->ACTIVITES.Enabled());
        EXPECT_EQ(k->EFFACER.Enabled(), c.clear_enabled);
        EXPECT_EQ(k->SN_L, c.n);
        EXPECT_TRUE(k->FIN.Shown());
        for (ui::Widget* w :
             std::initializer_list<ui::Widget*>{&k->Picture2, &k->BLANCS, &k->Label33,
                                                &k->STAT_Image1, &k->STAT_Image2, &k->STAT_Image3})
          EXPECT_FALSE(w->Visible()) << w->Name();
        for (ui::Label* l : k->LIGNES) EXPECT_FALSE(l->Visible()) << l->Name();
        k->EFFACER.SetEnabled(false);
      }
    }
  }
}

TEST_F(PagesTest, OpeningAndClosingLeaveTheCountsAndTheDrawing) {
  Start();
  k->SN_L = 3;
  k->S1_L = 7;
  k->S2N1_D = 19;
  k->EFFECTIF_L[2] = 2;
  k->EFFECTIF_L[3] = 1;
  const auto state = [this] {
    return std::make_tuple(k->SN_L, k->S1_L, k->S2N1_D, k->EFFECTIF_L, k->ACTIV_I, k->ACT_I,
                           k->ECHELLE_S, k->MODE_T, k->COMPTAGE_I);
  };
  const auto drawing = [this] {
    std::string pixels;
    for (int y = 0; y < k->SurfaceHeight(); y += 5)
      for (int x = 0; x < k->SurfaceWidth(); x += 5) {
        const ui::Rgb c = k->Pixel(x, y);
        pixels += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
      }
    return pixels;
  };
  const auto state_before = state();
  const std::string drawing_before = drawing();
  ASSERT_NE(drawing_before.find_first_not_of('\xff'), std::string::npos);  // the panel is drawn
  for (int page = kUsage; page <= kAbout; ++page) {
    SCOPED_TRACE(page);
    Open(page);
    EXPECT_TRUE(state() == state_before);
    EXPECT_TRUE(drawing() == drawing_before);
    k->BLANCS.FireClick();
    EXPECT_TRUE(state() == state_before);
    EXPECT_TRUE(drawing() == drawing_before);
  }
}

TEST_F(PagesTest, ReleasingOverTheListWithNoEntryOpensNoPage) {
  Start();
  k->INFORMATION.FireClick();
  k->INFOS.FireMouseUp();
  EXPECT_FALSE(k->Picture2.Visible());
  EXPECT_FALSE(k->BLANCS.Visible());
  EXPECT_TRUE(k->FIN.Shown());
  EXPECT_TRUE(k->LANCER.Enabled());
  EXPECT_TRUE(k->ACTIVITES.Enabled());
}

}  // namespace
