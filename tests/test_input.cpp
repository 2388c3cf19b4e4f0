// Input as the window system delivers it: events queued with their stamps and
// delivered in one pass; the steady clock is the test's, so a handler "lasts"
// exactly as long as the test says.
#include <QtGui/qpa/qwindowsysteminterface.h>
#include <QtGui/qpa/qwindowsysteminterface_p.h>

#include <QListWidget>
#include <QPointingDevice>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <functional>
#include <tuple>

#include "fixture.h"
#include "ui/qt/internal.h"

namespace {

using State = QEventPoint::State;
constexpr auto kMove = QEvent::MouseMove, kPress = QEvent::MouseButtonPress,
               kRelease = QEvent::MouseButtonRelease;
constexpr auto kLeft = Qt::LeftButton, kNone = Qt::NoButton;

class InputTest : public KestorTest {
 protected:
  // A shown window, with one count made when asked ("Effacer" enabled, a new rate asks).
  void Open(bool count = true) {
    Start();
    ui::seams::SetSteadyClock([this] { return ms_; });
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    w_ = k->peer()->view->windowHandle();
    ASSERT_NE(w_, nullptr);
    if (count) Run(0);
  }
  void TearDown() override {
    if (k && k->peer()->view) k->peer()->view->hide();
    KestorTest::TearDown();
  }
  // Time passes for the hand (the window system's stamps) and the program alike.
  void Wait(int ms) {
    stamp_ += static_cast<ulong>(ms);
    ms_ += ms;
  }
  static QPoint Entry(const ui::ListBox& l, int row) {
    return QPoint(Centre(l).x(), static_cast<int>((l.Top() + l.RowHeight() * (row + 0.5f)) / 15));
  }
  // Queues a move (button b held), a press or a release of b.
  void Mouse(QEvent::Type t, QPoint p, ulong at, Qt::MouseButton b = kLeft) {
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w_, at, QPointF(p), w_->mapToGlobal(QPointF(p)), t == kRelease ? kNone : b,
        t == kMove ? kNone : b, t);
  }
  // Motion onto p, press and release in one batch, the release `slip` away.
  void Click(QPoint p, ulong press, ulong release, Qt::MouseButton b = kLeft, QPoint slip = {}) {
    Mouse(kMove, p, press, kNone);
    Mouse(kPress, p, press, b);
    if (!slip.isNull()) Mouse(kMove, p + slip, press + 1, b);
    Mouse(kRelease, p + slip, release, b);
  }
  static void Deliver() {
    QWindowSystemInterface::sendWindowSystemEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents();
  }
  // Queues one touch event: finger `id` in state s at p (every finger down is listed).
  void Touch(std::initializer_list<std::tuple<int, State, QPoint>> fingers, ulong at) {
    static QPointingDevice* screen = QTest::createTouchDevice();
    QList<QWindowSystemInterface::TouchPoint> points;
    for (auto [id, s, p] : fingers) {
      QWindowSystemInterface::TouchPoint& t = points.emplace_back();
      t.id = id;
      t.state = s;
      t.pressure = s == State::Released ? 0 : 1;
      t.area = QRectF(w_->mapToGlobal(QPointF(p)) - QPointF(2, 2), QSizeF(4, 4));
      t.normalPosition = QPointF(p.x() / 1024.0, p.y() / 768.0);
    }
    QWindowSystemInterface::handleTouchEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w_, at, screen, points);
  }
  // Motion, press and release together (with a one-pixel move before the
  // release for a jitter); a finger's tap; a finger held 1.5 s.
  enum class Gesture { Click, Jitter, Tap, LongPress };
  void Do(Gesture g, QPoint p) {
    if (g == Gesture::Click || g == Gesture::Jitter)
      Click(p, stamp_, stamp_ + 2, kLeft, QPoint(g == Gesture::Jitter, 0));
    if (g == Gesture::Tap || g == Gesture::LongPress) Touch({{0, State::Pressed, p}}, stamp_);
    if (g == Gesture::LongPress) {
      Deliver();
      Wait(1500);
      Touch({{0, State::Stationary, p}}, stamp_);
    }
    if (g == Gesture::Tap || g == Gesture::LongPress) Touch({{0, State::Released, p}}, stamp_ + 60);
    Deliver();
    Wait(1000);
  }
  void Hover(const ui::Widget& w) {
    Mouse(kMove, Centre(w), stamp_, kNone);
    Deliver();
    Wait(500);
  }

  double ms_ = 1.0e6;
  ulong stamp_ = 5000000;
  QWindow* w_ = nullptr;
};

// Every command, an entry of each list, both answers of the confirmation
// panel, a page and the background act on every gesture, whatever moves come
// with it: each click exactly once.
TEST_F(InputTest, EveryTargetActsWhateverMovesComeWithTheClick) {
  Open();
  // The commands whose move already opens a list: their clicks are counted.
  int clicks = 0;
  auto count_clicks = [&] {
    for (ui::Label* c : {&k->LANCER, &k->ACTIVITES, &k->INFORMATION})
      c->Click = [&clicks, h = c->Click] { ++clicks, h(); };
  };
  count_clicks();
  auto reset = [&] {
    if (ui::Ended()) Open(), count_clicks();
    if (k->ATTENTION.Shown()) k->NON.FireClick();
    if (k->BLANCS.Shown()) k->BLANCS.FireClick();
    if (k->SN_L == 0) Run(0);
  };
  const struct {
    const char* name;
    std::function<void()> before;
    QPoint at;
    std::function<bool()> acted;
  } cases[] = {
      {"Effacer", [] {}, Centre(k->EFFACER), [&] { return k->ATTENTION.Shown(); }},
      {"Lancer", [&] { clicks = 0; }, Centre(k->LANCER),
       [&] { return clicks == 1 && k->LANCER_N.Shown(); }},
      {"Taux de comptage", [&] { clicks = 0; }, Centre(k->ACTIVITES),
       [&] { return clicks == 1 && k->ACTIV.Shown(); }},
      {"Informations", [&] { clicks = 0; }, Centre(k->INFORMATION),
       [&] { return clicks == 1 && k->INFOS.Shown(); }},
      {"count entry 1", [&] { Hover(k->LANCER); }, Entry(k->LANCER_N, 0),
       [&] { return k->SN_L == 2 && !k->LANCER_N.Shown(); }},
      {"rate entry 4.0", [&] { Hover(k->ACTIVITES); }, Entry(k->ACTIV, 3),
       [&] { return k->ATTENTION.Shown(); }},
      {"information entry 1", [&] { Hover(k->INFORMATION); }, Entry(k->INFOS, 0),
       [&] { return k->BLANCS.Shown(); }},
      {"OUI", [&] { k->EFFACER.FireClick(); }, Centre(k->OUI),
       [&] { return !k->ATTENTION.Shown() && k->SN_L == 0; }},
      {"NON", [&] { k->EFFACER.FireClick(); }, Centre(k->NON),
       [&] { return !k->ATTENTION.Shown() && k->SN_L > 0; }},
      {"a page", [&] { OpenPage(1); }, QPoint(700, 600),
       [&] { return !k->BLANCS.Shown() && k->FIN.Shown(); }},
      {"the background", [&] { Hover(k->ACTIVITES); }, QPoint(600, 700),
       [&] { return !k->ACTIV.Shown() && !k->Label32.Shown(); }},
      {"Quitter", [] {}, Centre(k->FIN),
       [] { return ui::Ended() && ui::EndReason() == "quit command"; }},
  };
  for (Gesture g : {Gesture::Click, Gesture::Jitter, Gesture::Tap, Gesture::LongPress})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", gesture " + std::to_string(static_cast<int>(g)));
      reset();
      c.before();
      Do(g, c.at);
      EXPECT_TRUE(c.acted());
    }
}

// A click made while a single count holds the thread is aimed at "Arrêter";
// once the count is over "Effacer" stands there and must not receive it. So
// with a series, for a click still waiting when it ends. A click made after
// the run, or within the first millisecond of the gesture that started it, is taken.
TEST_F(InputTest, AClickMadeWhileARunHoldsTheThreadIsDropped) {
  const struct {
    int press, release;  // milliseconds after the release that starts the run
    bool acts;
  } rows[] = {{1, 30, true},     {2, 30, false},   {150, 170, false},
              {300, 320, false}, {301, 320, true}, {100, 400, false}};
  for (int entry : {0, 3})  // one count of 300 ms; a series of 10 counts of 30 ms
    for (const auto& r : rows) {
      SCOPED_TRACE("entry " + std::to_string(entry) + ", press at +" + std::to_string(r.press));
      Open();
      ui::seams::SetYieldHook([this] { ms_ += 30; });
      Hover(k->LANCER);
      const ulong start = stamp_;
      k->LANCER_N.MouseUp = [&, entry, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
        h(m);
        if (entry == 0) ms_ += 300;
        Click(Centre(k->Label34), start + r.press, start + r.release);
      };
      Click(Entry(k->LANCER_N, entry), start, start);
      Deliver();
      EXPECT_EQ(k->SN_L, entry == 0 ? 2 : 11);
      EXPECT_TRUE(k->EFFACER.Shown() && !k->Label34.Shown());
      EXPECT_EQ(k->ATTENTION.Shown(), r.acts);
    }
}

// A drag on a list runs the entry under the release; a press held back while
// a count ran, and its drag and release, select and run nothing.
TEST_F(InputTest, AListFollowsADragButNotOneWhosePressWasHeld) {
  Open();
  Hover(k->LANCER);
  const QPoint one = Entry(k->LANCER_N, 0), hundred = Entry(k->LANCER_N, 6);
  Click(one, stamp_, stamp_ + 100, kLeft, hundred - one);
  Deliver();
  Wait(1000);
  ASSERT_EQ(k->SN_L, 1 + 100);

  Hover(k->LANCER);
  const ulong start = stamp_;
  k->LANCER_N.MouseUp = [&, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
    h(m);
    ms_ += 300;  // meanwhile the hand opens the list and drags on it
    Mouse(kMove, Centre(k->LANCER), start + 50, kNone);
    Click(hundred, start + 100, start + 200, kLeft, Entry(k->LANCER_N, 7) - hundred);
  };
  Click(one, start, start);
  Deliver();
  EXPECT_EQ(k->SN_L, 1 + 100 + 1);
  EXPECT_TRUE(k->LANCER_N.Shown());
  EXPECT_EQ(k->LANCER_N.ListIndex(), -1);
  EXPECT_TRUE(
      static_cast<QListWidget*>(k->LANCER_N.peer()->view.data())->selectedItems().isEmpty());
}

// A move never makes a click count as held, however long its handler; a
// release alone clicks nothing; a stop made during a count of a series is
// handled at the next yield.
TEST_F(InputTest, LongMovesStrayReleasesAndAStopDuringASeries) {
  Open();
  int clicks = 0;
  k->LANCER.Click = [&clicks, h = k->LANCER.Click] {
    ++clicks;
    h();
  };
  k->LANCER.MouseMove = [this, h = k->LANCER.MouseMove](const ui::Mouse& m) {
    h(m);
    ms_ += 200;
  };
  const QPoint lancer = Centre(k->LANCER);
  Mouse(kMove, lancer, stamp_, kNone);
  Mouse(kPress, lancer, stamp_ + 50);
  Mouse(kRelease, lancer, stamp_ + 120);
  Deliver();
  EXPECT_EQ(clicks, 1);
  QWidget* view = k->LANCER.peer()->view;  // a release alone, after that click
  QCoreApplication::postEvent(
      view, new QMouseEvent(kRelease, QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)), kLeft, kNone,
                            Qt::NoModifier));
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 1);

  int yields = 0;
  ui::seams::SetYieldHook([&] {
    Wait(10);  // each count lasts 10 ms
    if (++yields == 6) Click(Centre(k->Label34), stamp_ - 5, stamp_ - 3);
  });
  Run(15);
  EXPECT_EQ(k->SN_L, 1 + 6);
  EXPECT_TRUE(k->LANCER.Shown() && !k->Label34.Shown());
}

// The right and middle buttons (a pen's barrel button) on an entry of each
// list select nothing and start nothing; the list stays open.
TEST_F(InputTest, OtherButtonsOnAListEntryChangeNothing) {
  Open();
  const struct {
    ui::ListBox* list;
    ui::Label* command;
    int entry;
  } rows[] = {{&k->LANCER_N, &k->LANCER, 0},
              {&k->ACTIV, &k->ACTIVITES, 3},
              {&k->INFOS, &k->INFORMATION, 0}};
  for (const auto& r : rows)
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
      SCOPED_TRACE(r.list->Name() + " button " + std::to_string(b));
      Hover(*r.command);
      Click(Entry(*r.list, r.entry), stamp_, stamp_ + 2, b, QPoint(0, 1));
      Deliver();
      Wait(1000);
      EXPECT_EQ(std::make_tuple(k->SN_L, k->ACT_I, k->ACTIV_I, k->MARCHE_I),
                std::make_tuple(int32_t{1}, int16_t{1}, int16_t{1}, int16_t{0}));
      EXPECT_FALSE(k->ATTENTION.Shown() || k->BLANCS.Shown());
      EXPECT_TRUE(r.list->Shown());
      EXPECT_EQ(r.list->ListIndex(), -1);
    }
}

// A whole session with a finger alone: rate 4, a series of 100,
// the query dragged over the tallest bar (a second finger meanwhile breaks
// nothing), a clear confirmed with a long press, a page opened and closed, quit.
TEST_F(InputTest, AWholeSessionWithTouchAlone) {
  Open(false);
  auto tap = [this](QPoint p) { Do(Gesture::Tap, p); };
  tap(Centre(k->ACTIVITES));
  tap(Entry(k->ACTIV, 3));
  EXPECT_EQ(k->ACTIVIT.Caption(), " Taux de comptage = 4 imp/s ");
  tap(Centre(k->LANCER));
  tap(Entry(k->LANCER_N, 6));
  ASSERT_EQ(k->SN_L, 100);

  size_t tallest = 0;
  for (size_t c = 1; c <= 40; ++c)
    if (k->EFFECTIF_L[c] > k->EFFECTIF_L[tallest]) tallest = c;
  const int y = Px(k->POSHIST_I - 100);
  const QPoint from(Px(1530 + 300 * (tallest + 12)), y), to(Px(1530 + 300 * tallest), y),
      mid = (from + to) / 2, fin = Centre(k->FIN);
  Touch({{0, State::Pressed, from}}, stamp_);
  Touch({{0, State::Updated, mid}}, stamp_ + 20);
  Touch({{0, State::Stationary, mid}, {1, State::Pressed, fin}}, stamp_ + 30);
  Touch({{0, State::Stationary, mid}, {1, State::Released, fin}}, stamp_ + 40);
  Touch({{0, State::Updated, to}}, stamp_ + 60);
  Deliver();
  Wait(100);
  EXPECT_TRUE(k->EFF1.Shown() && !ui::Ended());
  EXPECT_EQ(k->EFF1.Caption(), " Effectif de ( " + std::to_string(tallest) +
                                   " ) = " + std::to_string(k->EFFECTIF_L[tallest]) + " ");
  Touch({{0, State::Released, to}}, stamp_);
  Deliver();
  Wait(1000);

  tap(Centre(k->EFFACER));
  ASSERT_TRUE(k->ATTENTION.Shown());
  Do(Gesture::LongPress, Centre(k->OUI));
  EXPECT_EQ(std::make_tuple(k->ATTENTION.Shown(), k->SN_L), std::make_tuple(false, int32_t{0}));
  tap(Centre(k->INFORMATION));
  tap(Entry(k->INFOS, 2));
  EXPECT_TRUE(k->BLANCS.Shown() &&
              k->STAT_Image1.Visible() + k->STAT_Image2.Visible() + k->STAT_Image3.Visible() == 1);
  tap(QPoint(500, 400));
  EXPECT_FALSE(k->BLANCS.Shown() || k->Picture2.Shown());
  tap(Centre(k->FIN));
  EXPECT_EQ(ui::EndReason(), "quit command");
}

// A pen: hovering opens a list, the tip clicks, the barrel button does nothing
// (the toolkit turns pen input into mouse input; on X the server does).
TEST_F(InputTest, APenHoversClicksAndItsBarrelButtonDoesNothing) {
  Open();
  QPointingDevice pen("pen", 7, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
                      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1,
                      3);
  QWindowSystemInterface::registerInputDevice(&pen);
  QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(false);
  auto pen_click = [&](QPoint p, Qt::MouseButton b) {  // hover, then tip or barrel down and up
    for (Qt::MouseButton held : {kNone, b, kNone})
      QWindowSystemInterface::handleTabletEvent(w_, stamp_, &pen, QPointF(p),
                                                w_->mapToGlobal(QPointF(p)), held, held ? 0.5 : 0.0,
                                                0, 0, 0, 0, 0);
    Deliver();
    Wait(1000);
  };
  QWindowSystemInterface::handleTabletEnterLeaveProximityEvent(w_, stamp_, &pen, true);
  pen_click(Centre(k->LANCER), kNone);
  EXPECT_TRUE(k->LANCER_N.Shown());
  pen_click(Entry(k->LANCER_N, 0), kLeft);
  EXPECT_EQ(k->SN_L, 2);
  pen_click(Centre(k->EFFACER), Qt::RightButton);
  EXPECT_FALSE(k->ATTENTION.Shown());
  QWindowSystemInterface::handleTabletEnterLeaveProximityEvent(w_, stamp_, &pen, false);
  Deliver();
  QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(true);
}

// The continuous run's pause does not yield: the count before it is painted
// on the screen first, even within one display frame of the last push.
TEST_F(InputTest, TheFirstContinuousCountIsOnTheScreenBeforeThePause) {
  Open();
  k->BANDE0();
  ui::Flush();
  QCoreApplication::processEvents();  // painted: the strip empty
  int yields = 0, cls = -1;
  QImage at_pause;
  ui::seams::SetYieldHook([&] {
    if (++yields == 1) cls = static_cast<int>(k->N1C_L);
    if (yields == 2) k->Label34.FireClick();
  });
  // The first reading of the time of day after the first yield is the pause's.
  ui::seams::SetClock([&] {
    if (yields == 1 && at_pause.isNull())
      at_pause = QGuiApplication::primaryScreen()->grabWindow(k->peer()->view->winId()).toImage();
    return clock_ += 2.5f;
  });
  Run(16);
  ASSERT_FALSE(at_pause.isNull());
  ASSERT_TRUE(cls >= 0 && cls <= 40 && k->SN_L == 3) << cls;
  // The count's blue bar stands where the screen was white; the strip holds
  // pulses (light blue or light red lines).
  EXPECT_EQ(QColor(at_pause.pixel(Px(1530 + 300 * cls), Px(k->POSHIST_I - 100))),
            QColor(0, 0, 255));
  int pulses = 0;
  const int y = Px((k->POSAXE_I + k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height()) / 2);
  for (int x = 0; x < 1024; ++x)
    pulses += at_pause.pixel(x, y) == qRgb(0, 0, 255) || at_pause.pixel(x, y) == qRgb(255, 0, 0);
  EXPECT_GT(pulses, 0);
}

}  // namespace
