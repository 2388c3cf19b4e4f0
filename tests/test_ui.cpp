// The ui layer: text measuring, list heights, containers, the drawing
// surface's pixel rule and persistence, the screen seam, event routing, and
// the end of the program.
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include "fixture.h"
#include "ui/internal.h"

namespace {

class UiTest : public KestorTest {};

TEST_F(UiTest, AutoSizeLabelsMeasureTheirCaption) {
  Start();
  ui::Label& l = k->MOT1;
  l.SetFontSize(15);
  l.SetCaption("x");
  const float one = l.Width();
  l.SetCaption("xxxxxxxxxx");
  EXPECT_GT(l.Width(), 5 * one);
  const float h = l.Height();
  EXPECT_GT(h, 0);
  l.SetFontSize(30);
  EXPECT_GT(l.Height(), 1.5f * h);
  // Switching auto-size off keeps the size of the caption measured last.
  l.SetCaption("  Informations  ");
  const float padded = l.Width();
  l.SetAutoSize(false);
  l.SetCaption("Informations");
  EXPECT_EQ(l.Width(), padded);
  // The faces the program names measure with the same installed face.
  ui::Label& m = k->MOT2;
  m.SetFontSize(15);
  m.SetCaption("Comptage");
  l.SetAutoSize(true);
  l.SetFontSize(15);
  l.SetFontName("Arial");
  l.SetCaption("Comptage");
  EXPECT_EQ(l.Width(), m.Width());
}

TEST_F(UiTest, ListsReportWholeRows) {
  Start();
  ui::ListBox& l = k->ACTIV;
  const float r = l.RowHeight();
  ASSERT_GT(r, 0);
  l.SetHeight(0);
  EXPECT_EQ(l.Height(), r);  // one row at least
  l.SetHeight(2.5f * r);
  EXPECT_EQ(l.Height(), 2 * r);
  l.SetHeight(6 * r);
  EXPECT_EQ(l.Height(), 6 * r);
  l.SetListIndex(9);  // out of range: no selection
  EXPECT_EQ(l.ListIndex(), -1);
}

TEST_F(UiTest, ChildrenHideWithTheirContainer) {
  Start();
  k->ATTENTION.SetVisible(true);
  EXPECT_TRUE(k->OUI.Shown());
  k->ATTENTION.SetVisible(false);
  EXPECT_TRUE(k->OUI.Visible());
  EXPECT_FALSE(k->OUI.Shown());
  // A hidden widget receives nothing.
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
  EXPECT_EQ(Describe(k->Pixel(179, 200)), Describe(ui::QBColor(12)));
  EXPECT_EQ(Describe(k->Pixel(179, 220)), Describe(ui::QBColor(12)));
  EXPECT_EQ(Describe(k->Pixel(179, 221)), Describe(ui::QBColor(15)));
  EXPECT_EQ(Describe(k->Pixel(178, 210)), Describe(ui::QBColor(15)));
  // Lines drawn side by side make one bar; a box erases it, corners in any order.
  for (int x = 3000; x <= 3120; ++x)
    k->Line(static_cast<float>(x), 6000, static_cast<float>(x), 5000, ui::QBColor(9));
  for (int x = 200; x <= 208; ++x)
    EXPECT_EQ(Describe(k->Pixel(x, 350)), Describe(ui::QBColor(9))) << x;
  EXPECT_EQ(Describe(k->Pixel(199, 350)), Describe(ui::QBColor(15)));
  k->FilledBox(3150, 6000, 2900, 4500, ui::QBColor(15));
  EXPECT_EQ(Describe(k->Pixel(204, 350)), Describe(ui::QBColor(15)));
  // A zero-length line draws nothing; a point sets the text position.
  k->Line(4500, 4500, 4500, 4500, ui::QBColor(12));
  EXPECT_EQ(Describe(k->Pixel(300, 300)), Describe(ui::QBColor(15)));
  k->SetForeColor(ui::RGB(0, 0, 255));
  k->PSet(4500, 4500);
  EXPECT_EQ(Describe(k->Pixel(300, 300)), Describe(ui::RGB(0, 0, 255)));
  EXPECT_EQ(k->CurrentX(), 4500);
  // Drawing far outside the surface is clipped, never a fault.
  k->Line(-1e9f, -1e9f, 1e9f, 1e9f, ui::QBColor(9));
  k->FilledBox(-1e30f, 5, 1e30f, 10, ui::QBColor(9));
}

TEST_F(UiTest, ABarRedrawnTallerAfterAPartialEraseIsWhole) {
  Start();
  std::vector<float> xs;
  for (int x = 3000; x <= 3120; ++x) xs.push_back(static_cast<float>(x));
  const int n = static_cast<int>(xs.size());
  auto colour_at = [&](int y) { return Describe(k->Pixel(204, y)); };
  k->VerticalLines(xs.data(), n, 9000, 8000, ui::QBColor(9));
  EXPECT_EQ(colour_at(560), Describe(ui::QBColor(9)));
  k->FilledBox(2900, 8500, 3200, 8700, ui::QBColor(15));  // erases rows 567 to 580
  EXPECT_EQ(colour_at(570), Describe(ui::QBColor(15)));
  k->VerticalLines(xs.data(), n, 9000, 7000, ui::QBColor(9));
  for (int y : {467, 500, 540, 570, 590, 600})
    EXPECT_EQ(colour_at(y), Describe(ui::QBColor(9))) << y;
  // Another colour over it, then the first colour again: whole each time.
  k->VerticalLines(xs.data(), n, 9000, 7000, ui::QBColor(13));
  EXPECT_EQ(colour_at(500), Describe(ui::QBColor(13)));
  k->VerticalLines(xs.data(), n, 9000, 6900, ui::QBColor(9));
  for (int y : {460, 500, 600}) EXPECT_EQ(colour_at(y), Describe(ui::QBColor(9))) << y;
  // Text written over a bar is not painted over by a redraw of the same bar.
  k->Cls();
  k->VerticalLines(xs.data(), n, 9000, 6000, ui::QBColor(9));
  k->VerticalLines(xs.data(), n, 9000, 6000, ui::QBColor(9));
  EXPECT_EQ(colour_at(450), Describe(ui::QBColor(9)));
}

TEST_F(UiTest, SurfaceSurvivesBeingCoveredAndExposed) {
  Start();
  ui::Application::ShowForm(*k);
  k->Line(1500, 1500, 9000, 1500, ui::QBColor(12));
  ui::Flush();
  QWidget* v = k->peer()->view.data();
  QImage first = v->grab().toImage();
  // Hide and show the window (as when another window covers it).
  v->hide();
  QCoreApplication::processEvents();
  v->show();
  QCoreApplication::processEvents();
  QImage second = v->grab().toImage();
  EXPECT_EQ(first.pixel(300, 100), qRgb(255, 0, 0));
  EXPECT_EQ(second.pixel(300, 100), qRgb(255, 0, 0));
  v->hide();
}

TEST_F(UiTest, LargeScreensWorkInAMagnifiedVirtualScreen) {
  struct Case {
    float w_px, h_px;
    int scale;
  };
  for (Case c : {Case{2184, 1000, 1}, Case{2185, 1000, 2}, Case{1000, 2648, 1}, Case{1000, 2649, 2},
                 Case{7680, 4320, 4}}) {
    SCOPED_TRACE(std::to_string(c.w_px) + "x" + std::to_string(c.h_px));
    ui::seams::SetScreenTwips(c.w_px * 15, c.h_px * 15);
    EXPECT_EQ(ui::ScreenScale(), c.scale);
    EXPECT_LE(ui::ScreenWidth(), 32767);
  }
}

TEST_F(UiTest, ClockAndEndOfProgramAreSeams) {
  Start();
  clock_ = 12.5f;
  EXPECT_EQ(ui::Timer(), 12.5f);
  EXPECT_FALSE(ui::Ended());
  bool after = false;
  EXPECT_FALSE(ui::Dispatch([&] {
    ui::End("test");
    after = true;
  }));
  EXPECT_FALSE(after);
  EXPECT_TRUE(ui::Ended());
  EXPECT_EQ(ui::EndReason(), "test");
  // After the end nothing more is delivered.
  EXPECT_FALSE(k->LANCER.FireClick());
}

TEST_F(UiTest, QuitEndsTheProgramEvenWithAListOpen) {
  Start();
  k->LANCER.FireMouseMove();
  ASSERT_TRUE(k->LANCER_N.Shown());
  k->FIN.FireClick();
  EXPECT_TRUE(ui::Ended());
  EXPECT_EQ(ui::EndReason(), "quit command");
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

TEST_F(EventsTest, AnEventOverAWidgetBelongsToThatWidgetAlone) {
  Start();
  QWindow* w = Window();
  ASSERT_NE(w, nullptr);
  QTest::mouseMove(w, Centre(k->ACTIVITES));
  EXPECT_TRUE(k->ACTIV.Shown());
  EXPECT_TRUE(k->Label32.Shown());
  // A click on a label without a click handler is not a click on the window.
  QTest::mouseClick(w, Qt::LeftButton, {}, Centre(k->NBCOMPTAGE));
  EXPECT_TRUE(k->ACTIV.Shown());
  int hits = 0;
  k->NBCOMPTAGE.Click = [&] { ++hits; };
  QTest::mouseClick(w, Qt::LeftButton, {}, Centre(k->NBCOMPTAGE));
  EXPECT_EQ(hits, 1);
  EXPECT_TRUE(k->ACTIV.Shown());
  // A move over the disabled clear command does nothing, not even a hover.
  QTest::mouseMove(w, Centre(k->EFFACER));
  EXPECT_TRUE(k->ACTIV.Shown());
  // A move over the window background does not close the list...
  QTest::mouseMove(w, QPoint(500, 700));
  EXPECT_TRUE(k->ACTIV.Shown());
  // ...a click on it does.
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(500, 700));
  EXPECT_FALSE(k->ACTIV.Shown());
  EXPECT_FALSE(k->Label32.Shown());
  k->peer()->view->hide();
}

TEST_F(EventsTest, ACountStartedAndQueriedWithTheMouse) {
  Start();
  QWindow* w = Window();
  QTest::mouseMove(w, Centre(k->LANCER));
  ASSERT_TRUE(k->LANCER_N.Shown());
  // Down onto the first entry of the list, press and release there.
  const QPoint entry(Centre(k->LANCER_N).x(),
                     static_cast<int>((k->LANCER_N.Top() + k->LANCER_N.RowHeight() / 2) / 15));
  QTest::mouseMove(w, entry);
  QTest::mousePress(w, Qt::LeftButton, {}, entry);
  QTest::mouseRelease(w, Qt::LeftButton, {}, entry);
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_FALSE(k->LANCER_N.Shown());
  // Over the bar of the count's class (coming from another class), the
  // query tells its content.
  const int cls = k->N1C_L <= 30 ? static_cast<int>(k->N1C_L) : 0;
  QTest::mouseMove(w, QPoint(Px(1530 + 300 * (cls + 10)), Px(k->POSHIST_I - 100)));
  QTest::mouseMove(w, QPoint(Px(1530 + 300 * cls), Px(k->POSHIST_I - 100)));
  EXPECT_TRUE(k->EFF1.Shown());
  EXPECT_EQ(k->EFF1.Caption(), " Effectif de (" + ui::Str(cls) +
                                   " ) =" + ui::Str(k->EFFECTIF_L[static_cast<size_t>(cls)]) + " ");
  k->peer()->view->hide();
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
