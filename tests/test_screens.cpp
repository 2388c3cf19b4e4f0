// Every screen a classroom has: text whole, pictures inside, the screen read once.
#include <fontconfig/fontconfig.h>

#include <QListWidget>
#include <QToolTip>

#include "fixture.h"

class ScreensTest : public KestorTest {};

// The first and last columns (or rows) of an image holding a pixel far from bg; -1 when none does.
static std::pair<int, int> Ink(const QImage& image, QRgb bg, bool columns) {
  std::pair<int, int> ink{-1, -1};
  for (int at = 0; at < (columns ? image.width() : image.height()); ++at)
    for (int i = 0; i < (columns ? image.height() : image.width()); ++i) {
      const QRgb c = columns ? image.pixel(at, i) : image.pixel(i, at);
      const int d = std::abs(qRed(c) - qRed(bg)) + std::abs(qGreen(c) - qGreen(bg));
      if (d + std::abs(qBlue(c) - qBlue(bg)) > 96) ink = {ink.first < 0 ? at : ink.first, at};
    }
  return ink;
}

// On every screen, magnified ones too (scale device pixels a logical one): the title in the largest
// size that fits, whole where magnified; a list entry's ink from column first to last (no margin,
// no elision); each list's whole rows (9, 6, 4), the last ending at its bottom edge; unmagnified,
// bordered labels keep their size, their text over half the line, off both borders.
TEST_F(ScreensTest, TheTitleListEntriesAndBorderedCaptionsAreWholeOnEveryScreen) {
  const int screens[][6] = {
      {640, 480, 1, 14, 4, 140},    {800, 600, 1, 18, 5, 175},    {1024, 768, 1, 23, 7, 234},
      {1152, 864, 1, 27, 7, 246},   {1280, 1024, 1, 28, 9, 316},  {1600, 900, 1, 28, 8, 269},
      {1920, 1080, 1, 34, 10, 328}, {2048, 1536, 1, 40, 14, 469}, {2185, 1200, 2, 19, 10, 351},
      {2560, 1440, 2, 22, 13, 445}, {3840, 2160, 2, 34, 20, 656}, {7680, 4320, 4, 34, 40, 1313}};
  ScopedEnv zero("QT_SCALE_FACTOR", "0");  // no factor: the toolkit's own stays 1
  for (const auto& [w, h, scale, size, first, last] : screens) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    Start(w, h), k->INFORMATION.FireMouseMove();
    const QImage title = Grab(k->TITRE), list = Grab(k->INFOS);
    const auto [left, right] = Ink(title, qRgb(192, 192, 255), true);
    EXPECT_EQ(std::make_tuple(ui::ScreenScale(), title.width(), k->TITRE.FontSize()),
              std::make_tuple(scale, int(std::lround(k->TITRE.Width() / 15) * scale), size));
    EXPECT_TRUE(scale == 1 || (left >= 1 && right <= title.width() - 2)) << left << " to " << right;
    EXPECT_EQ(Ink(list.copy(0, list.height() / 4, list.width(), list.height() / 4),
                  qRgb(224, 224, 224), true),
              std::make_pair(first, last));
    if (scale > 1) continue;
    for (auto [l, rows] : {std::pair{&k->LANCER_N, 9}, {&k->ACTIV, 6}, {&k->INFOS, 4}}) {
      auto* v = static_cast<QListWidget*>(l->peer()->view.data());
      const int box = Px(l->Top() + l->Height()) - Px(l->Top()),
                bottom = v->visualItemRect(v->item(rows - 1)).bottom() + 1;
      EXPECT_EQ(std::make_tuple(bottom, v->height(), box % rows), std::make_tuple(box, box, 0))
          << l->Name();
    }
    k->LANCER.FireMouseMove();
    for (ui::Label* l : {&k->ACTIVITES, &k->LANCER, &k->Label31}) {
      const QImage image = Grab(*l), in = image.copy(2, 1, image.width() - 4, image.height() - 2);
      const auto [top, bottom] = Ink(in, qRgb(192, 192, 192), false);  // inside the borders
      EXPECT_EQ(std::make_tuple(image.size(), top >= 1 && bottom <= in.height() - 2 &&
                                                  2 * (bottom - top) >= in.height()),
                std::make_tuple(QSize(Px(l->Left() + l->Width()) - Px(l->Left()),
                                      Px(l->Top() + l->Height()) - Px(l->Top())),
                                true))
          << l->Name() << ": " << top << " to " << bottom << " of " << in.height();
    }
  }
}

// The screen is read once, at start-up (the toolkit's when none is injected): a 4K projector
// plugged later changes nothing. At a device pixel ratio of 2, 2 x 2 device pixels a logical one,
// not an enlarged image. Tooltips: sans face, none if disabled. A font configuration the user
// chose (either variable) stays in force; else the program's own replaces the system's.
TEST_F(ScreensTest, TheScreenIsReadOnceAtStartUpAndTheUsersFontsStay) {
  ui::seams::Reset();  // no screen injected
  KESTOR_11 on_the_real_screen;
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(QSize(on_the_real_screen.SurfaceWidth(), on_the_real_screen.SurfaceHeight()), screen);
  EXPECT_NE(screen, QSize(1024, 768));  // not the size assumed without a screen
  Start(), ui::seams::SetScreenRatio(2);
  k = std::make_unique<KESTOR_11>(), ui::Application::LoadForm(*k);  // made on that screen
  const QImage& image = ui::Peer::SurfaceOf(*k)->image;
  ASSERT_EQ(image.size(), QSize(2048, 1536));
  const QImage numbers = image.copy(160, 1300, 1680, 50);
  EXPECT_NE(numbers, numbers.scaled(840, 25).scaled(1680, 50));
  std::string axis;  // device rows 399 to 402
  for (int y = 399; y <= 402; ++y) axis += image.pixel(1900, y) == qRgb(255, 0, 0) ? 'R' : 'W';
  EXPECT_EQ(axis + At(500, 200) + At(500, 199), "WRRW" + kBlue + kBlank);
  auto tip = [](ui::Widget& w) { return w.peer()->view->toolTip().toStdString(); };  // as shown
  const std::string disabled = tip(k->EFFACER);  // each handler's changes pushed on its return
  Run(3);
  ui::seams::SetScreenTwips(3840 * 15, 2160 * 15);
  k->FireMouseMove({1530 + 300 * 40.4f, k->POSHIST_I - 30.0f});  // a query near the right edge
  const float label_end = k->EFF1.Left() + k->EFF1.Width() + k->EFF1.Height();  // inside 1024 px
  k->BANDE0();  // the strip cleared, its axis drawn to the right edge, one pixel thick
  EXPECT_EQ(std::make_tuple(At(1023, 200), At(1023, 201), ui::Peer::SurfaceOf(*k)->image.width(),
                            disabled, tip(k->EFFACER), QToolTip::font().family().toStdString()),
            std::make_tuple(kBlue, kBlank, 2048, "", " Cliquez pour Effacer ", "Liberation Sans"));
  OpenPage(0);  // a page centred on the screen read at start-up
  EXPECT_EQ(std::make_tuple(ui::ScreenWidth(), ui::ScreenHeight(), ui::ScreenScale(), label_end,
                            2 * k->BLANCS.Left() + k->BLANCS.Width()),
            std::make_tuple(15360.f, 11520.f, 1, 15360.f, 15360.f));
  FcStrList* files = FcConfigGetConfigFiles(nullptr);  // the program's own: no rule file read
  EXPECT_EQ(FcStrListNext(files), nullptr);
  FcStrListDone(files);
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "HOME"}) {
    FcConfig* before = FcConfigGetCurrent();
    ScopedEnv chosen(name, "/etc/fonts/fonts.conf");
    ui::UseOwnFontConfiguration();
    EXPECT_EQ(FcConfigGetCurrent() == before, name[0] == 'F') << name;
  }
}

// Narrower than 6:5, the largest 4:3 stage across the screen, centred, black above and below; 6:5
// covered whole. Texts inside, apart, at 16 imp/s (widest captions); 200 counts under the mean.
TEST_F(ScreensTest, UprightScreensShowAWholeLandscapeStage) {
  const int screens[][3] = {
      {834, 1194, 625}, {1080, 1920, 810}, {600, 1024, 450}, {1194, 1000, 895}, {1200, 1000, 1000}};
  const auto rect = [](const ui::Widget* w) { return std::make_from_tuple<QRectF>(BoxOf(*w)); };
  for (const auto& [w, h, stage] : screens) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    Start(w, h), ChooseRate(5, true), Run(7);
    const int bar = Px((1530 + 16 * 300) * k->ECHHORIZ_S), top = (h - stage) / 2;  // class 16
    EXPECT_EQ(At(bar, Px(k->POSHIST_I) - 2) + At(bar, Px(k->N1MOYEN.Top() + k->N1MOYEN.Height())),
              kBlue + kBlank);
    Run(0), k->N1COMPTE.SetCaption(" Valeur du comptage = 51 ");
    EXPECT_EQ(BoxOf(*k), Box(0, top * 15, w * 15, stage * 15));
    const ui::Widget* texts[] = {
        &k->KESTOR_Image1, &k->TITRE,   &k->FIN,      &k->LANCER,     &k->EFFACER,    &k->ACTIVITES,
        &k->INFORMATION,   &k->ACTIVIT, &k->N1COMPTE, &k->NBCOMPTAGE, &k->VERSG,      &k->LIMITE,
        &k->VERSD,         &k->N1MOYEN, &k->SIGMA2,   &k->VARI1,      &k->HISTOGRAMME};
    for (const ui::Widget* a : texts)  // each inside the stage, off every other
      for (const ui::Widget* b : texts)
        EXPECT_TRUE(a == b ? QRectF(0, 0, k->Width(), k->Height()).contains(rect(a))
                           : !rect(a).intersects(rect(b)))
            << a->Name() << " over " << b->Name();
    const QImage screen = (Show(), Screen());
    EXPECT_EQ(std::make_tuple(screen.size(), screen.pixel(w / 2, std::max(top - 1, 0)),
                              screen.pixel(w / 2, top)),
              std::make_tuple(QSize(w, h), top ? qRgb(0, 0, 0) : qRgb(192, 192, 255),
                              qRgb(192, 192, 255)));
  }
}
