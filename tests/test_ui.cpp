// The ui layer: measuring, containers, clipping, the run; real mouse events.
#include <QApplication>
#include <QTimer>

#include "fixture.h"
#include "resources/sigma2.xpm"

class UiTest : public KestorTest {};

// Faces measure alike, bold wider; OUI, hidden with its panel, gets nothing; far drawing is
// clipped. Run: the window loaded and shown (titled in the task bar), the event loop, then the data
// file a count opened closed. Real mouse events: one over a widget is that widget's alone (a click
// on a label without a handler is not the window's, a move over the disabled clear command no
// hover).
TEST_F(UiTest, WidgetsMeasureAndDrawThenRunShowsTheWindowWhereTheMouseReachesTheWidgetUnderIt) {
  Start();
  int clicks = 0;
  k->OUI.Click = [&] { ++clicks; }, k->OUI.FireClick();
  const float plain = Measure("Comptage", 15);
  EXPECT_EQ(std::make_tuple(Measure("Comptage", 15, true, "Arial"), clicks,
                            Measure("Comptage", 15, true, "Arial", true) > plain + 2),
            std::make_tuple(plain, 0, true));
  k->Line(-1e9f, -1e9f, 1e9f, 1e9f, kLightBlue);
  k->FilledBox(-1e30f, 30, 1e30f, 45, kLightBlue);   // rows 2 and 3, every column
  k->FilledBox(30, -1e30f, 45, 1e30f, kLightBlue);   // columns 2 and 3, every row
  k->FilledBox(1500, 1500, 3000, 1600, kLightBlue);  // columns 100 to 200
  // A bar (columns c to c + 2, rows 570 to 600) a fill touched at one edge (left, right, top,
  // bottom) is filled whole when it grows to row 550.
  const int touching[][5] = {
      {600, -5, 585, 0, 585}, {620, 2, 585, 7, 585}, {640, 1, 565, 1, 570}, {660, 1, 600, 1, 605}};
  for (const auto& [c, x0, y0, x1, y1] : touching) {
    const float xs[] = {c * 15.f, c * 15.f + 15, c * 15.f + 30};
    k->VerticalLines(xs, 3, 9000, 8550, kLightBlue);
    k->FilledBox((c + x0) * 15.f, y0 * 15.f, (c + x1) * 15.f, y1 * 15.f, kWhite);
    k->VerticalLines(xs, 3, 9000, 8250, kLightBlue);
  }
  // Vertical lines 16 twips apart: pixels 100 and 102; 15 apart: 150 and 151, no gap.
  const float apart[] = {1507, 1523}, close[] = {2257, 2272};
  k->VerticalLines(apart, 2, 4500, 4600, kLightBlue);
  k->VerticalLines(close, 2, 4500, 4600, kLightRed);
  EXPECT_EQ(Seen({0,   0,   0,   4,   1023, 3,   0,   2,   3,   767, 500, 1,   99,  100, 100, 100,
                  200, 100, 201, 100, 1024, 3,   3,   768, 600, 585, 622, 585, 641, 570, 661, 600,
                  99,  303, 100, 303, 101,  303, 102, 303, 149, 303, 150, 303, 151, 303, 152, 303}),
            "BWBBBWWBBWWWBBBBWBWBWRRW");  // nothing drawn beyond the surface's edges
  k = std::make_unique<KESTOR_11>();
  double ms = 0;
  ui::seams::SetSteadyClock([&] { return ms; });
  QTimer::singleShot(0, [&] {
    QCoreApplication::processEvents();
    QWindow* w = k->peer()->view->windowHandle();
    EXPECT_EQ(std::make_tuple(w->title(), k->peer()->view->isVisible()),
              std::make_tuple("KESTOR", true));
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
    // The sigma symbol stretched to its box smoothly (not nearest source pixels), blue in each
    // quarter.
    const QImage sigma = Grab(k->SIGMA2);
    EXPECT_NE(sigma, QImage(sigma2_xpm).scaled(sigma.size()).convertToFormat(QImage::Format_RGB32));
    const int half_w = sigma.width() / 2, half_h = sigma.height() / 2;
    for (QPoint q : {QPoint(0, 0), QPoint(half_w, 0), QPoint(0, half_h), QPoint(half_w, half_h)})
      EXPECT_GT(CountOf(sigma, QRect(q, QSize(half_w, half_h)), qRgb(0, 0, 255)), 3);
    QApplication::quit();
  });
  const int status = ui::Application::Run(*k);  // the files are looked at once it has returned
  EXPECT_EQ(std::make_tuple(status, ui::files::IsOpen(2)), std::make_tuple(0, false));
}
