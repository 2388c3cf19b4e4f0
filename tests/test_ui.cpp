// The ui layer: text measuring, lists, containers, the drawing surface's
// pixel rule, the screen seam, event routing, and the end of the program.
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <tuple>
#include <utility>

#include "fixture.h"
#include "ui/internal.h"

namespace {

class UiTest : public KestorTest {
 protected:
  // Pixels (x, y) and the colours expected there.
  void ExpectDots(std::initializer_list<std::tuple<int, int, ui::Rgb>> dots) const {
    for (auto [x, y, colour] : dots) EXPECT_EQ(At(x, y), Describe(colour)) << x << "," << y;
  }
};

// The faces the program names measure alike; switching auto-size off keeps
// the last size; an index out of range selects nothing; a widget hidden with
// its container (OUI in the hidden confirmation panel) receives nothing.
TEST_F(UiTest, WidgetsMeasureThemselvesAndHideWithTheirContainer) {
  Start();
  EXPECT_EQ(Measure("Comptage", 15, true, "Arial"), Measure("Comptage", 15));
  ui::Label& l = k->MOT1;
  l.SetCaption("  Informations  ");
  const float padded = l.Width();
  l.SetAutoSize(false);
  l.SetCaption("Informations");
  EXPECT_EQ(l.Width(), padded);
  k->ACTIV.SetHeight(0);
  EXPECT_EQ(k->ACTIV.Height(), k->ACTIV.RowHeight());  // one row at least
  k->ACTIV.SetListIndex(9);
  EXPECT_EQ(k->ACTIV.ListIndex(), -1);
  int clicks = 0;
  k->OUI.Click = [&] { ++clicks; };
  k->OUI.FireClick();
  EXPECT_EQ(clicks, 0);
}

// A twip coordinate t lands on pixel floor(t / 15 + 0.5); both ends of a
// line or box are drawn; a zero-length line draws nothing; a point sets the
// text position; lines side by side make a bar, redrawn whole when taller
// after a partial erase; far outside the surface is clipped, never a fault.
TEST_F(UiTest, SurfaceFollowsOnePixelRule) {
  Start();
  k->Cls();
  k->Line(2680, 3000, 2680, 3300, kLightRed);  // 178.67 -> 179, rows 200 to 220
  ExpectDots(
      {{179, 200, kLightRed}, {179, 220, kLightRed}, {179, 221, kWhite}, {178, 210, kWhite}});
  std::vector<float> xs;
  for (int x = 3000; x <= 3120; ++x) xs.push_back(static_cast<float>(x));  // pixels 200 to 208
  k->VerticalLines(xs.data(), static_cast<int>(xs.size()), 9000, 8000, kLightBlue);
  ExpectDots(
      {{199, 560, kWhite}, {200, 560, kLightBlue}, {208, 560, kLightBlue}, {209, 560, kWhite}});
  k->FilledBox(3150, 8700, 2900, 8500, kWhite);  // corners in any order: rows 567 to 580
  ExpectDots({{204, 560, kLightBlue}, {204, 570, kWhite}, {204, 581, kLightBlue}});
  k->VerticalLines(xs.data(), static_cast<int>(xs.size()), 9000, 7000, kLightBlue);
  ExpectDots(
      {{204, 467, kLightBlue}, {204, 570, kLightBlue}, {204, 600, kLightBlue}, {204, 466, kWhite}});
  k->Line(4500, 4500, 4500, 4500, kLightRed);
  ExpectDots({{300, 300, kWhite}});
  k->SetForeColor(kLightBlue);
  k->PSet(4500, 4500);
  ExpectDots({{300, 300, kLightBlue}});
  EXPECT_EQ(k->CurrentX(), 4500);
  k->Line(-1e9f, -1e9f, 1e9f, 1e9f, kLightBlue);
  k->FilledBox(-1e30f, 5, 1e30f, 10, kLightBlue);
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
