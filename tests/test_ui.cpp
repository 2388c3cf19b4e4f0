// The ui layer: measuring, lists, containers, clipping; real mouse events.
#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include "fixture.h"
#include "resources/sigma2.xpm"

class UiTest : public KestorTest {};

// Faces measure alike; OUI, hidden with its panel, receives nothing; far drawing is clipped.
TEST_F(UiTest, WidgetsMeasureThemselvesAndHideWithTheirContainer) {
  Start();
  int clicks = 0;
  k->OUI.Click = [&] { ++clicks; };
  k->OUI.FireClick();
  EXPECT_EQ(std::make_pair(Measure("Comptage", 15, true, "Arial"), clicks),
            std::make_pair(Measure("Comptage", 15), 0));
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
  std::string grown;
  for (int i = 0; i < 4; ++i) {
    const auto [x0, y0, x1, y1] = touching[i];
    const int c = 600 + 20 * i;
    const float xs[] = {c * 15.f, c * 15.f + 15, c * 15.f + 30};
    k->VerticalLines(xs, 3, 9000, 8550, kLightBlue);
    k->FilledBox((c + x0) * 15.f, y0 * 15.f, (c + x1) * 15.f, y1 * 15.f, kWhite);
    k->VerticalLines(xs, 3, 9000, 8250, kLightBlue);
    grown += Seen({c + (x0 < 0 ? x1 : x0), i < 2 ? 585 : i == 2 ? y1 : y0});
  }
  EXPECT_EQ(grown, "BBBB");
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

// Real mouse events through the toolkit, on the shown window.
using EventsTest = UiTest;

// An event over a widget belongs to that widget alone.
TEST_F(EventsTest, TheMouseReachesTheWidgetUnderIt) {
  Start();
  QWindow* w = Show();
  EXPECT_EQ(w->title(), "KESTOR");  // in the task bar
  QTest::mouseMove(w, Centre(k->ACTIVITES));
  EXPECT_TRUE(k->ACTIV.Shown() && k->Label32.Shown());
  // A click on a label without a click handler is not a click on the window.
  QTest::mouseClick(w, Qt::LeftButton, {}, Centre(k->NBCOMPTAGE));
  EXPECT_TRUE(k->ACTIV.Shown());
  // A move over the disabled clear command does nothing, not even a hover; nor does a move over
  // the window background.
  QTest::mouseMove(w, Centre(k->EFFACER));
  QTest::mouseMove(w, QPoint(500, 700));
  EXPECT_TRUE(k->ACTIV.Shown());

  // One count, clicked in the list: the list shown again has no entry highlighted.
  QTest::mouseMove(w, Centre(k->LANCER));
  const float first = k->LANCER_N.Top() + k->LANCER_N.RowHeight() / 2;
  const QPoint entry0(Centre(k->LANCER_N).x(), int(first / 15));
  QTest::mouseClick(w, Qt::LeftButton, {}, entry0);
  QTest::mouseMove(w, Centre(k->LANCER));
  ASSERT_EQ(k->SN_L, 1);
  auto* rows = static_cast<QListWidget*>(k->LANCER_N.peer()->view.data());
  EXPECT_TRUE(rows->selectedItems().isEmpty());
  // A finger dragged down the list to entry 3 runs that entry, ten counts.
  const QPoint entry3(entry0.x(), int((first + 3 * k->LANCER_N.RowHeight()) / 15));
  QTest::mousePress(w, Qt::LeftButton, {}, entry0);
  QTest::mouseMove(w, entry3), QTest::mouseRelease(w, Qt::LeftButton, {}, entry3);
  EXPECT_EQ(k->SN_L, 11);
  QTest::mouseMove(w, Centre(k->LANCER));  // a pressed entry: its text white, its row highlighted
  QTest::mousePress(w, Qt::LeftButton, {}, entry0);
  const QImage list = Grab(k->LANCER_N);
  const QRect row0(0, 0, list.width(), int(k->LANCER_N.RowHeight() / 15));
  EXPECT_GT(CountOf(list, row0, qRgb(255, 255, 255)), 3);
  EXPECT_EQ(QColor(list.pixel(1, 2)), QColor(48, 140, 198));  // the toolkit's highlight
  // The sigma symbol is stretched to its box, smoothly (not the nearest source pixels): blue in
  // each quarter of it.
  const QImage sigma = Grab(k->SIGMA2);
  EXPECT_NE(sigma, QImage(sigma2_xpm).scaled(sigma.size()).convertToFormat(QImage::Format_RGB32));
  const int half_w = sigma.width() / 2, half_h = sigma.height() / 2;
  for (QPoint q : {QPoint(0, 0), QPoint(half_w, 0), QPoint(0, half_h), QPoint(half_w, half_h)})
    EXPECT_GT(CountOf(sigma, QRect(q, QSize(half_w, half_h)), qRgb(0, 0, 255)), 3)
        << q.x() << q.y();
}

// A series shows its progress once a frame (each of the first four yields 20 ms
// apart): the bars of its first counts are on the screen while it runs.
TEST_F(EventsTest, ASeriesPaintsEachFrame) {
  Start();
  Show();
  double ms = 0;
  ui::seams::SetSteadyClock([&] { return ms; });
  int yields = 0, bar_pixels = 0;
  ui::seams::SetYieldHook([&] {
    if (++yields <= 4) ms += 20;
    if (yields == 6) bar_pixels = CountOf(Screen(), QRect(90, 400, 830, 233), qRgb(0, 0, 255));
  });
  Run(3);  // ten counts
  EXPECT_GT(bar_pixels, 0);
}
