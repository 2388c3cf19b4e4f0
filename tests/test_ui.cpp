// The ui layer: measuring, lists, containers, clipping; real mouse events.
#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include "fixture.h"
#include "resources/sigma2.xpm"

class UiTest : public KestorTest {};

// Faces measure alike, bold wider; OUI, hidden with its panel, receives nothing; far drawing is
// clipped.
TEST_F(UiTest, WidgetsMeasureThemselvesAndHideWithTheirContainer) {
  Start();
  int clicks = 0;
  k->OUI.Click = [&] { ++clicks; };
  k->OUI.FireClick();
  const float plain = Measure("Comptage", 15);
  EXPECT_EQ(std::make_tuple(Measure("Comptage", 15, true, "Arial"), clicks,
                            Measure("Comptage", 15, true, "Arial", true) > plain + 2),
            std::make_tuple(plain, 0, true));
  k->Line(-1e9f, -1e9f, 1e9f, 1e9f, kLightBlue);
  k->FilledBox(-1e30f, 30, 1e30f, 45, kLightBlue);   // rows 2 and 3, every column
  k->FilledBox(30, -1e30f, 45, 1e30f, kLightBlue);   // columns 2 and 3, every row
  k->FilledBox(1500, 1500, 3000, 1600, kLightBlue);  // columns 100 to 200
  EXPECT_EQ(Seen({0,  0,   0,   4,   1023, 3,   0,   2,   3,    767, 500, 1,
                  99, 100, 100, 100, 200,  100, 201, 100, 1024, 3,   3,   768}),
            "BWBBBWWBBWWW");  // no pixel beyond the surface's edges
  // A bar (columns c to c + 2, rows 570 to 600) a fill touched at one edge is
  // filled whole when it grows to row 550.
  const int touching[][4] = {
      {-5, 585, 0, 585}, {2, 585, 7, 585}, {1, 565, 1, 570}, {1, 600, 1, 605}};
  for (int i = 0; i < 4; ++i) {
    const auto [x0, y0, x1, y1] = touching[i];
    const int c = 600 + 20 * i;
    const float xs[] = {c * 15.f, c * 15.f + 15, c * 15.f + 30};
    k->VerticalLines(xs, 3, 9000, 8550, kLightBlue);
    k->FilledBox((c + x0) * 15.f, y0 * 15.f, (c + x1) * 15.f, y1 * 15.f, kWhite);
    k->VerticalLines(xs, 3, 9000, 8250, kLightBlue);
    EXPECT_EQ(Seen({c + (x0 < 0 ? x1 : x0), i < 2 ? 585 : i == 2 ? y1 : y0}), "B") << i;
  }
  // Vertical lines 16 twips apart: pixels 100 and 102; 15 apart: 150 and 151, no gap.
  const float apart[] = {1507, 1523}, close[] = {2257, 2272};
  k->VerticalLines(apart, 2, 4500, 4600, kLightBlue);
  k->VerticalLines(close, 2, 4500, 4600, kLightRed);
  EXPECT_EQ(Seen({99, 303, 100, 303, 101, 303, 102, 303, 149, 303, 150, 303, 151, 303, 152, 303}),
            "WBWBWRRW");
}

// Each list shows whole rows (9, 6 and 4), its last one ending at its bottom edge, whatever
// the screen's font size.
TEST_F(UiTest, ListsShowWholeRowsOnEveryScreen) {
  const int screens[][2] = {{640, 480},  {800, 600},   {1024, 768}, {1280, 1024},
                            {1600, 900}, {1920, 1080}, {2048, 1536}};
  for (const auto& [w, h] : screens) {
    Start(static_cast<float>(w), static_cast<float>(h)), ui::Flush();
    for (auto [l, rows] : {std::pair{&k->LANCER_N, 9}, {&k->ACTIV, 6}, {&k->INFOS, 4}}) {
      auto* v = static_cast<QListWidget*>(l->peer()->view.data());
      const int box = Px(l->Top() + l->Height()) - Px(l->Top());
      EXPECT_EQ(std::make_tuple(v->visualItemRect(v->item(rows - 1)).bottom() + 1, v->height(),
                                box % rows),
                std::make_tuple(box, box, 0))
          << w << " x " << h << ", " << l->Name();
    }
  }
}

// Run, as the program starts: the window loaded and shown, then the event loop until the end,
// after which the data file a count opened is closed.
TEST_F(UiTest, RunShowsTheWindowAndClosesTheDataFileAtTheEnd) {
  Start();
  k = std::make_unique<KESTOR_11>();
  bool shown = false;
  QTimer::singleShot(0,
                     [&] { Run(0), shown = k->peer()->view->isVisible(), QApplication::quit(); });
  const int status = ui::Application::Run(*k);
  EXPECT_EQ(std::make_tuple(status, shown, k->SN_L, ui::files::IsOpen(2)),
            std::make_tuple(0, true, 1, false));
}

// Real mouse events through the toolkit, on the shown window. An event over a widget belongs to
// that widget alone: a click on a label without a click handler is not a click on the window, a
// move over the disabled clear command not even a hover; the rate list stays open.
TEST_F(UiTest, TheMouseReachesTheWidgetUnderIt) {
  Start();
  double ms = 0;
  ui::seams::SetSteadyClock([&] { return ms; });
  QWindow* w = Show();
  EXPECT_EQ(w->title(), "KESTOR");  // in the task bar
  QTest::mouseMove(w, Centre(k->ACTIVITES));
  QTest::mouseClick(w, Qt::LeftButton, {}, Centre(k->NBCOMPTAGE));
  QTest::mouseMove(w, Centre(k->EFFACER));
  EXPECT_TRUE(k->ACTIV.Shown());
  // A finger dragged down the count list to entry 3 runs that entry, ten counts, shown once a
  // frame (each of the first four yields 20 ms apart): its first bars are on the screen while it
  // runs. The list shown again has no entry highlighted, until one is pressed (its text white).
  int yields = 0, bar_pixels = 0;
  ui::seams::SetYieldHook([&] {
    if (++yields <= 4) ms += 20;
    if (yields == 6) bar_pixels = CountOf(Screen(), QRect(90, 400, 830, 233), qRgb(0, 0, 255));
  });
  QTest::mouseMove(w, Centre(k->LANCER));
  QTest::mousePress(w, Qt::LeftButton, {}, Entry(k->LANCER_N, 0));
  QTest::mouseMove(w, Entry(k->LANCER_N, 3));
  QTest::mouseRelease(w, Qt::LeftButton, {}, Entry(k->LANCER_N, 3));
  QTest::mouseMove(w, Centre(k->LANCER));
  const QImage shown = Grab(k->LANCER_N);
  QTest::mousePress(w, Qt::LeftButton, {}, Entry(k->LANCER_N, 0));
  const QImage list = Grab(k->LANCER_N);
  const QRgb highlight = qRgb(48, 140, 198);  // the toolkit's
  EXPECT_EQ(std::make_tuple(k->SN_L, bar_pixels > 0, CountOf(shown, shown.rect(), highlight),
                            list.pixel(1, 2) == highlight,
                            CountOf(list, list.rect(), qRgb(255, 255, 255)) > 3),
            std::make_tuple(10, true, 0, true, true));
  // The sigma symbol is stretched to its box, smoothly (not the nearest source pixels): blue in
  // each quarter of it.
  const QImage sigma = Grab(k->SIGMA2);
  EXPECT_NE(sigma, QImage(sigma2_xpm).scaled(sigma.size()).convertToFormat(QImage::Format_RGB32));
  const int half_w = sigma.width() / 2, half_h = sigma.height() / 2;
  for (QPoint q : {QPoint(0, 0), QPoint(half_w, 0), QPoint(0, half_h), QPoint(half_w, half_h)})
    EXPECT_GT(CountOf(sigma, QRect(q, QSize(half_w, half_h)), qRgb(0, 0, 255)), 3);
}
