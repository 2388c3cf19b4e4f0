// The ui layer: text measuring, list heights, containers, the drawing
// surface's pixel rule and persistence, the screen seam, event routing, and
// the end of the program.
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <tuple>
#include <utility>

#include "fixture.h"
#include "ui/qt/internal.h"

namespace {

class UiTest : public KestorTest {
 protected:
  struct Dot {
    int x, y, colour;  // colour: a QBColor index
  };
  void ExpectDots(std::initializer_list<Dot> dots) const {
    for (Dot d : dots)
      EXPECT_EQ(Describe(k->Pixel(d.x, d.y)), Describe(ui::QBColor(d.colour))) << d.x << "," << d.y;
  }
};

TEST_F(UiTest, WidgetsMeasureThemselvesAndHideWithTheirContainer) {
  Start();
  ui::Label& l = k->MOT1;
  l.SetFontSize(15);
  l.SetCaption("x");
  const float one = l.Width(), h = l.Height();
  l.SetCaption("xxxxxxxxxx");
  EXPECT_GT(l.Width(), 5 * one);
  l.SetFontSize(30);
  EXPECT_GT(l.Height(), 1.5f * h);
  // Switching auto-size off keeps the size of the caption measured last.
  l.SetCaption("  Informations  ");
  const float padded = l.Width();
  l.SetAutoSize(false);
  l.SetCaption("Informations");
  EXPECT_EQ(l.Width(), padded);
  // The faces the program names measure with the same installed face.
  k->MOT2.SetFontSize(15);
  k->MOT2.SetCaption("Comptage");
  l.SetAutoSize(true);
  l.SetFontSize(15);
  l.SetFontName("Arial");
  l.SetCaption("Comptage");
  EXPECT_EQ(l.Width(), k->MOT2.Width());

  // Lists are whole rows high, one at least; an index out of range selects nothing.
  ui::ListBox& list = k->ACTIV;
  const float r = list.RowHeight();
  ASSERT_GT(r, 0);
  for (auto [asked, whole] :
       {std::pair{0.0f, 1.0f}, std::pair{2.5f, 2.0f}, std::pair{6.0f, 6.0f}}) {
    list.SetHeight(asked * r);
    EXPECT_EQ(list.Height(), whole * r) << asked;
  }
  list.SetListIndex(9);
  EXPECT_EQ(list.ListIndex(), -1);

  // A widget hidden with its container receives nothing (the confirmation
  // panel is hidden at start, its OUI command is not).
  int clicks = 0;
  k->OUI.Click = [&] { ++clicks; };
  k->OUI.FireClick();
  EXPECT_EQ(clicks, 0);
}

TEST_F(UiTest, SurfaceFollowsOnePixelRule) {
  Start();
  k->Cls();
  // 2680 twips = 178.67 px lands on 179; both ends included.
  k->Line(2680, 3000, 2680, 3300, ui::QBColor(12));
  ExpectDots({{179, 200, 12}, {179, 220, 12}, {179, 221, 15}, {178, 210, 15}});
  // Lines drawn side by side make one bar; a box erases it, corners in any order.
  for (int x = 3000; x <= 3120; ++x)
    k->Line(static_cast<float>(x), 6000, static_cast<float>(x), 5000, ui::QBColor(9));
  ExpectDots({{199, 350, 15}, {200, 350, 9}, {204, 350, 9}, {208, 350, 9}, {209, 350, 15}});
  k->FilledBox(3150, 6000, 2900, 4500, ui::QBColor(15));
  ExpectDots({{204, 350, 15}});
  // A zero-length line draws nothing; a point sets the text position.
  k->Line(4500, 4500, 4500, 4500, ui::QBColor(12));
  ExpectDots({{300, 300, 15}});
  k->SetForeColor(ui::QBColor(9));
  k->PSet(4500, 4500);
  ExpectDots({{300, 300, 9}});
  EXPECT_EQ(k->CurrentX(), 4500);
  // Drawing far outside the surface is clipped, never a fault.
  k->Line(-1e9f, -1e9f, 1e9f, 1e9f, ui::QBColor(9));
  k->FilledBox(-1e30f, 5, 1e30f, 10, ui::QBColor(9));
}

TEST_F(UiTest, ABarRedrawnTallerAfterAPartialEraseIsWhole) {
  Start();
  std::vector<float> xs;
  for (int x = 3000; x <= 3120; ++x) xs.push_back(static_cast<float>(x));
  auto bar = [&](float top) {
    k->VerticalLines(xs.data(), static_cast<int>(xs.size()), 9000, top, ui::QBColor(9));
  };
  bar(8000);
  k->FilledBox(2900, 8500, 3200, 8700, ui::QBColor(15));  // erases rows 567 to 580
  ExpectDots({{204, 560, 9}, {204, 570, 15}});
  bar(7000);
  ExpectDots({{204, 467, 9}, {204, 540, 9}, {204, 570, 9}, {204, 600, 9}});
}

// Screens beyond the 16-bit limits of the layout become a magnified virtual screen.
TEST_F(UiTest, LargeScreensWorkInAMagnifiedVirtualScreen) {
  const float screens[][3] = {
      {2184, 1000, 1}, {2185, 1000, 2}, {1000, 2648, 1}, {1000, 2649, 2}, {7680, 4320, 4}};
  for (const auto& [w, h, scale] : screens) {
    ui::seams::SetScreenTwips(w * 15, h * 15);
    EXPECT_EQ(ui::ScreenScale(), scale) << w << "x" << h;
  }
}

// The end stops the handler that asked for it, and nothing is delivered after.
TEST_F(UiTest, QuitEndsTheProgramEvenWithAListOpen) {
  Start();
  k->LANCER.FireMouseMove();
  ASSERT_TRUE(k->LANCER_N.Shown());
  bool after = false;
  k->FIN.Click = [&after, quit = k->FIN.Click] {
    quit();
    after = true;
  };
  EXPECT_FALSE(k->FIN.FireClick());
  EXPECT_FALSE(after);
  EXPECT_EQ(ui::EndReason(), "quit command");
  EXPECT_FALSE(k->LANCER.FireClick());
}

// Real mouse events through the toolkit, on the shown window.
class EventsTest : public KestorTest {
 protected:
  QWindow* Window() {
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    return k->peer()->view->windowHandle();
  }
  static QPoint Centre(const ui::Widget& w) {
    float x = w.Left() + w.Width() / 2, y = w.Top() + w.Height() / 2;
    for (ui::Container* c = w.Parent(); c && c->Parent(); c = c->Parent()) {
      x += c->Left();
      y += c->Top();
    }
    return QPoint(static_cast<int>(x / 15), static_cast<int>(y / 15));
  }
  // A click at the centre of a widget, queued in the toolkit as input is.
  static void PostClick(const ui::Widget& w) {
    QWidget* target = w.peer()->view.data();
    QPointF p(target->width() / 2.0, target->height() / 2.0);
    QCoreApplication::postEvent(
        target, new QMouseEvent(QEvent::MouseButtonPress, p, target->mapToGlobal(p), Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        target, new QMouseEvent(QEvent::MouseButtonRelease, p, target->mapToGlobal(p),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }
};

// An event over a widget belongs to that widget alone; a count started and
// queried with the mouse; the drawing kept while the window is covered.
TEST_F(EventsTest, TheMouseReachesTheWidgetUnderIt) {
  Start();
  QWindow* w = Window();
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

  // A count started with the mouse: a click on the first entry of the list.
  QTest::mouseMove(w, Centre(k->LANCER));
  ASSERT_TRUE(k->LANCER_N.Shown());
  const QPoint entry(Centre(k->LANCER_N).x(),
                     static_cast<int>((k->LANCER_N.Top() + k->LANCER_N.RowHeight() / 2) / 15));
  QTest::mouseClick(w, Qt::LeftButton, {}, entry);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_FALSE(k->LANCER_N.Shown());
  // Over the bar of the count's class (coming from another class), the
  // query reads that class.
  const int cls = k->N1C_L <= 30 ? static_cast<int>(k->N1C_L) : 0;
  QTest::mouseMove(w, QPoint(Px(1530 + 300 * (cls + 10)), Px(k->POSHIST_I - 100)));
  QTest::mouseMove(w, QPoint(Px(1530 + 300 * cls), Px(k->POSHIST_I - 100)));
  EXPECT_EQ(std::make_tuple(k->EFF1.Shown(), k->CURSEUR_I), std::make_tuple(true, cls));
  // Far to the right as well: a pointer pixel is 15 twips wherever it is.
  QTest::mouseMove(w, QPoint(Px(1530 + 300 * 35), Px(k->POSHIST_I - 100)));
  EXPECT_EQ(k->CURSEUR_I, 35);
  // Covered and exposed again (hidden and shown), the window still shows the drawing.
  k->Line(1500, 1500, 9000, 1500, ui::QBColor(12));
  ui::Flush();
  QWidget* v = k->peer()->view.data();
  v->hide();
  QCoreApplication::processEvents();
  v->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(v->grab().toImage().pixel(300, 100), qRgb(255, 0, 0));
  v->hide();
}

TEST_F(EventsTest, ClicksQueuedDuringABusyHandlerAreDropped) {
  Start();
  Window();
  k->EFFACER.SetEnabled(true);
  // A click reaches the toolkit while a handler holds the thread (as a
  // click on the stop command during a single count does), aimed at what
  // will be under the pointer once the handler is over.
  ASSERT_TRUE(ui::Dispatch([&] { PostClick(k->EFFACER); }));
  QCoreApplication::processEvents();
  EXPECT_FALSE(k->ATTENTION.Shown());
  // A click made while nothing runs is delivered.
  QTest::mouseClick(k->peer()->view->windowHandle(), Qt::LeftButton, {}, Centre(k->EFFACER));
  EXPECT_TRUE(k->ATTENTION.Shown());
  k->peer()->view->hide();
}

// Between two frames a yield enters the event loop only when something woke
// it; a click arriving then must still be handled at the next yield.
TEST_F(EventsTest, AStopClickBetweenFramesEndsTheSeriesAtOnce) {
  Start();
  Window();
  int yields = 0;
  ui::seams::SetYieldHook([&] {
    if (++yields == 6) PostClick(k->Label34);
  });
  Run(15);
  EXPECT_EQ(k->SN_L, 6);
  EXPECT_TRUE(k->LANCER.Shown());
  k->peer()->view->hide();
}

}  // namespace
