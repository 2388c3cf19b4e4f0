// The ui layer: measuring, lists, containers, clipping; real mouse events.
#include <QListWidget>
#include <QMouseEvent>

#include "fixture.h"

class UiTest : public KestorTest {};

// Faces measure alike; text stops growing at 4000 pixels (3000 points);
// auto-size off keeps the size; a list is a row high at least; OUI, hidden
// with its panel, receives nothing; far drawing is clipped.
TEST_F(UiTest, WidgetsMeasureThemselvesAndHideWithTheirContainer) {
  Start();
  ui::Label& l = k->MOT1;
  l.SetCaption("  Informations  ");
  const float padded = l.Width();
  l.SetAutoSize(false);
  l.SetCaption("Informations");
  k->ACTIV.SetHeight(0);
  k->ACTIV.SetListIndex(9);
  int clicks = 0;
  k->OUI.Click = [&] { ++clicks; };
  k->OUI.FireClick();
  EXPECT_EQ(Measure("Comptage", 3000), Measure("Comptage", 3100));
  EXPECT_EQ(std::make_tuple(Measure("Comptage", 15, true, "Arial"), l.Width(), k->ACTIV.Height(),
                            k->ACTIV.ListIndex(), clicks,
                            k->ACTIV.List(6) + k->ACTIV.List(-1) + k->ACTIV.List(1 << 24)),
            std::make_tuple(Measure("Comptage", 15), padded, k->ACTIV.RowHeight(), -1, 0, ""));
  k->LANCER.SetCaption("x"), ui::seams::Reset(), ui::Flush();  // a change pending is kept
  EXPECT_EQ(k->LANCER.peer()->view->width() * 15.f, k->LANCER.Width());
  ui::Label& m = k->MOT2;  // auto-sized, its height set before it was measured again
  m.SetCaption(" Nmoyen = 1234 "), m.SetHeight(999);
  EXPECT_EQ(std::make_pair(m.Width(), m.Height()),
            std::make_pair(Measure(" Nmoyen = 1234 ", m.FontSize(), true, m.FontName()), 999.f));
  ui::Flush(), l.SetAutoSize(true), ui::Flush();  // measured again, and shown so; then bold
  const int plain = l.peer()->view->width();
  l.SetFontBold(true), ui::Flush();
  EXPECT_EQ(std::make_pair(plain * 15.f, l.peer()->view->width() * 15.f),
            std::make_pair(Measure("Informations", l.FontSize(), true, l.FontName()),
                           Measure("Informations", l.FontSize(), true, l.FontName(), true)));
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

// Real mouse events through the toolkit, on the shown window.
using EventsTest = UiTest;

// An event over a widget belongs to that widget alone; the drawing is kept
// while the window is covered.
TEST_F(EventsTest, TheMouseReachesTheWidgetUnderIt) {
  Start();
  QWindow* w = Show();
  EXPECT_EQ(w->title(), "KESTOR");  // in the task bar
  QTest::mouseMove(w, Centre(k->ACTIVITES));
  EXPECT_TRUE(k->ACTIV.Shown() && k->Label32.Shown());
  // A click on a label without a click handler is not a click on the window.
  QTest::mouseClick(w, Qt::LeftButton, {}, Centre(k->NBCOMPTAGE));
  EXPECT_TRUE(k->ACTIV.Shown());
  // A move over the disabled clear command does nothing, not even a hover;
  // a move over the window background does not close the list, a click does.
  QTest::mouseMove(w, Centre(k->EFFACER));
  QTest::mouseMove(w, QPoint(500, 700));
  EXPECT_TRUE(k->ACTIV.Shown());
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(500, 700));
  EXPECT_FALSE(k->ACTIV.Shown() || k->Label32.Shown());

  // One count, clicked in the list: the list shown again has no entry highlighted.
  QTest::mouseMove(w, Centre(k->LANCER));
  const float first = k->LANCER_N.Top() + k->LANCER_N.RowHeight() / 2;
  const QPoint entry0(Centre(k->LANCER_N).x(), int(first / 15));
  QTest::mouseClick(w, Qt::LeftButton, {}, entry0);
  QTest::mouseMove(w, Centre(k->LANCER));
  ASSERT_EQ(k->SN_L, 1);
  auto* rows = static_cast<QListWidget*>(k->LANCER_N.peer()->view.data());
  EXPECT_TRUE(rows->selectedItems().isEmpty());
  EXPECT_EQ(rows->visualItemRect(rows->item(8)).top() * 15.f, 8 * k->LANCER_N.RowHeight());
  // A finger dragged down the list to entry 3 runs that entry, ten counts.
  const QPoint entry3(entry0.x(), int((first + 3 * k->LANCER_N.RowHeight()) / 15));
  QTest::mousePress(w, Qt::LeftButton, {}, entry0);
  QTest::mouseMove(w, entry3), QTest::mouseRelease(w, Qt::LeftButton, {}, entry3);
  EXPECT_EQ(k->SN_L, 11);
  QTest::mouseMove(w, Centre(k->LANCER));  // a pressed entry: its text white on the highlight
  QTest::mousePress(w, Qt::LeftButton, {}, entry0);
  const QImage list = k->LANCER_N.peer()->view->grab().toImage();
  const QRect row0(0, 0, list.width(), int(k->LANCER_N.RowHeight() / 15));
  EXPECT_GT(CountOf(list, row0, qRgb(255, 255, 255)), 3);
  // The sigma symbol is stretched to its box: ink in each quarter of it.
  const QImage sigma = k->SIGMA2.peer()->view->grab().toImage();
  int quarters[4] = {};
  for (int y = 0; y < sigma.height(); ++y)
    for (int x = 0; x < sigma.width(); ++x)
      quarters[2 * (2 * y / sigma.height()) + 2 * x / sigma.width()] +=
          qBlue(sigma.pixel(x, y)) > 128 && qRed(sigma.pixel(x, y)) < 128;
  EXPECT_TRUE(std::all_of(quarters, quarters + 4, [](int n) { return n > 3; }));
  // Another picture replaces the one shown.
  const QImage logo = k->KESTOR_Image1.peer()->view->grab().toImage();
  k->KESTOR_Image1.SetPicture("sigma2.xpm"), ui::Flush();
  EXPECT_NE(k->KESTOR_Image1.peer()->view->grab().toImage(), logo);
  // Drawn after a seams reset, a line reaches the screen; covered and exposed again
  // (hidden and shown), the window still shows it.
  ui::seams::Reset();
  k->Line(1500, 1500, 9000, 1500, ui::QBColor(12));
  ui::Flush();
  QCoreApplication::processEvents();
  EXPECT_EQ(Screen().pixel(300, 100), qRgb(255, 0, 0));
  QWidget* v = k->peer()->view.data();
  v->hide();
  QCoreApplication::processEvents();
  v->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(v->grab().toImage().pixel(300, 100), qRgb(255, 0, 0));
}

// A series shows its progress once a frame (each of the first four yields
// 20 ms apart). Between two frames a yield enters the event loop only when
// something woke it; a click arriving then must still be handled at once.
TEST_F(EventsTest, ASeriesPaintsEachFrameAndAStopBetweenFramesEndsItAtOnce) {
  Start();
  Show();
  double ms = 0;
  ui::seams::SetSteadyClock([&] { return ms; });
  int yields = 0, bar_pixels = 0;
  ui::seams::SetYieldHook([&] {
    if (++yields <= 4) ms += 20;
    if (yields != 6) return;
    bar_pixels = CountOf(Screen(), QRect(90, 400, 830, 233), qRgb(0, 0, 255));
    QWidget* stop = k->Label34.peer()->view;  // a click queued in the toolkit as input is
    for (auto [type, held] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                              {QEvent::MouseButtonRelease, Qt::NoButton}})
      QCoreApplication::postEvent(
          stop, new QMouseEvent(type, QPointF(5, 5), stop->mapToGlobal(QPointF(5, 5)),
                                Qt::LeftButton, held, {}));
  });
  Run(15);
  EXPECT_GT(bar_pixels, 0);  // the bars of the first counts are on the screen
  EXPECT_EQ(k->SN_L, 6);
  EXPECT_TRUE(k->LANCER.Shown());
}
