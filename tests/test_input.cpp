// Input as the window system delivers it, queued with its stamps and delivered in one pass;
// the steady clock is the test's, so a handler "lasts" exactly as long as the test says.
#include <QtGui/qpa/qwindowsysteminterface.h>

#include "fixture.h"

using State = QEventPoint::State;
using WSI = QWindowSystemInterface;
constexpr auto kMove = QEvent::MouseMove, kPress = QEvent::MouseButtonPress,
               kRelease = QEvent::MouseButtonRelease;
constexpr auto kLeft = Qt::LeftButton, kNone = Qt::NoButton;
// Motion, press and release (a jitter moves one pixel before the release); a finger's tap,
// held 1.5 s for a long press.
enum class Gesture { Click, Jitter, Tap, LongPress };

class InputTest : public KestorTest {
 protected:
  // A shown window, with one count made when asked ("Effacer" enabled, a new rate asks).
  void Open(bool count = true) {
    Start();
    ui::seams::SetSteadyClock([this] { return ms_; });
    w_ = Show();
    if (count) Run(0);
  }
  // Time passes for the hand (the window system's stamps) and the program alike.
  void Wait(int ms) { stamp_ += static_cast<ulong>(ms), ms_ += ms; }
  // Queues a move (button b held), a press or a release of b.
  void Mouse(QEvent::Type t, QPoint p, ulong at, Qt::MouseButton b = kLeft) {
    WSI::handleMouseEvent<WSI::AsynchronousDelivery>(
        w_, at, p, w_->mapToGlobal(p), t == kRelease ? kNone : b, t == kMove ? kNone : b, t);
  }
  // Motion onto p, 3 ms later the press, the release `slip` away.
  void Click(QPoint p, ulong press, ulong release, Qt::MouseButton b = kLeft, QPoint slip = {}) {
    Mouse(kMove, p, press - 3, kNone), Mouse(kPress, p, press, b);
    if (!slip.isNull()) Mouse(kMove, p + slip, press + 1, b);
    Mouse(kRelease, p + slip, release, b);
  }
  static void Deliver() { WSI::sendWindowSystemEvents({}), QCoreApplication::processEvents(); }
  // Queues one finger's touch event, in state s at p.
  void Touch(State s, QPoint p, ulong dt = 0) {
    static QPointingDevice* screen = QTest::createTouchDevice();
    WSI::TouchPoint t;
    t.state = s, t.area = QRect(w_->mapToGlobal(p) - QPoint(2, 2), QSize(4, 4));
    WSI::handleTouchEvent<WSI::AsynchronousDelivery>(w_, stamp_ + dt, screen, {t});
  }
  void Do(Gesture g, QPoint p, Qt::MouseButton b = kLeft) {
    if (g <= Gesture::Jitter) {  // then a release alone
      Click(p, stamp_, stamp_ + 2, b, QPoint(g == Gesture::Jitter, 0));
      if (QWidget* v = k->peer()->view->childAt(p))
        QCoreApplication::postEvent(v, new QMouseEvent(kRelease, v->mapFrom(k->peer()->view, p),
                                                       QPointF(), kLeft, kNone, {}));
    } else {
      Touch(State::Pressed, p);
      if (g == Gesture::LongPress) Deliver(), Wait(1500), Touch(State::Stationary, p);
      Touch(State::Released, p, 60);
    }
    Deliver(), Wait(1000);
  }
  // A move onto w from the window's corner (the toolkit drops a move to where the pointer is).
  void Hover(const ui::Widget& w) {
    Mouse(kMove, QPoint(1, 1), stamp_ - 1, kNone), Mouse(kMove, Centre(w), stamp_, kNone);
    Deliver(), Wait(500);
  }

  double ms_ = 1.0e6;
  ulong stamp_ = 5000000;
  QWindow* w_ = nullptr;
};

// A command, list entries (taken on a release, on a click), a panel's button, a page, the
// background act once on every gesture of the left button, however long a move's handler lasts;
// a release alone, other buttons nothing.
TEST_F(InputTest, EveryTargetActsOnEveryGestureOfTheLeftButtonOnly) {
  Open();
  int clicks = 0;
  const std::tuple<const char*, std::function<void()>, QPoint, std::function<bool()>> cases[] = {
      {"EFFACER", [] {}, Centre(k->EFFACER), [&] { return k->ATTENTION.Shown(); }},
      {"LANCER", [] {}, Centre(k->LANCER), [&] { return clicks == 1 && k->LANCER_N.Shown(); }},
      {"LANCER_N", [&] { Hover(k->LANCER); }, Entry(k->LANCER_N, 0),
       [&] { return k->SN_L == 2 && !k->LANCER_N.Shown(); }},
      {"ACTIV", [&] { Hover(k->ACTIVITES); }, Entry(k->ACTIV, 3),
       [&] { return k->ATTENTION.Shown(); }},
      {"OUI", [&] { k->EFFACER.FireClick(); }, Centre(k->OUI),
       [&] { return !k->ATTENTION.Shown() && k->SN_L == 0; }},
      {"page", [&] { OpenPage(1); }, QPoint(700, 600),
       [&] { return !k->BLANCS.Shown() && k->FIN.Shown(); }},
      {"form", [&] { Hover(k->ACTIVITES); }, QPoint(600, 700),
       [&] { return !k->ACTIV.Shown() && !k->Label32.Shown(); }},
      {"FIN", [] {}, Centre(k->FIN), [] { return ui::EndReason() == "quit command"; }},
  };
  for (int g = 0; g < 4; ++g)
    for (Qt::MouseButton b : {kLeft, Qt::RightButton, Qt::MiddleButton})
      for (const auto& [name, before, at, acted] : cases) {
        if (b != kLeft && g != 1) continue;  // other buttons: a jitter
        SCOPED_TRACE(testing::Message() << name << ", " << g << ", " << b);
        Open();
        k->LANCER.Click = [&clicks, h = k->LANCER.Click] { ++clicks, h(); };
        k->LANCER.MouseMove = [this, h = k->LANCER.MouseMove](const ui::Mouse& m) {
          h(m), ms_ += 200;
        };
        before();
        clicks = 0;
        Do(Gesture(g), at, b);
        EXPECT_EQ(acted(), b == kLeft);
      }
}

// A click made while a count (or a series) holds the thread, aimed at "Arrêter", must not reach
// "Effacer" standing there once it is over, nor a drag the count list; one made after the run,
// or within the first millisecond of its gesture, is taken.
TEST_F(InputTest, AClickMadeWhileARunHoldsTheThreadIsDropped) {
  const struct {
    int press, release;  // milliseconds after the release that starts the run
    bool acts, drag;
  } rows[] = {{1, 30, true, false},     {2, 30, false, false},   {150, 170, false, false},
              {300, 320, false, false}, {301, 320, true, false}, {100, 400, false, false},
              {100, 200, false, true}};
  for (int entry : {0, 3})  // one count of 300 ms; a series of 10 counts of 30 ms
    for (const auto& r : rows) {
      SCOPED_TRACE("entry " + std::to_string(entry) + ", press at +" + std::to_string(r.press));
      Open();
      ui::seams::SetYieldHook([this] { ms_ += 30; });
      Hover(k->LANCER);
      const ulong t = stamp_;
      const QPoint at = r.drag ? Entry(k->LANCER_N, 6) : Centre(k->Label34);
      k->LANCER_N.MouseUp = [&, entry, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
        h(m), ms_ += entry == 0 ? 300 : 0;
        if (r.drag) Mouse(kMove, Centre(k->LANCER), t + 50, kNone);
        Click(at, t + r.press, t + r.release, kLeft, QPoint(0, r.drag ? 25 : 0));
      };
      Click(Entry(k->LANCER_N, entry), t, t), Deliver();
      EXPECT_EQ(std::make_tuple(k->SN_L, k->EFFACER.Shown(), k->Label34.Shown(),
                                k->ATTENTION.Shown(), k->LANCER_N.Shown(), k->LANCER_N.ListIndex()),
                std::make_tuple(entry == 0 ? 2 : 11, true, false, r.acts, r.drag, -1));
    }
}

// The continuous run's pause does not yield: the count before it is on the screen first (its blue
// bar), even within one frame of the last push; a stop clicked during the run acts at a yield.
TEST_F(InputTest, AContinuousRunShowsEachCountBeforeItsPause) {
  Open(false);  // the strip empty, no bar
  int yields = 0;
  std::string at_pause;  // the command bar hidden, the results shown, the count's bar blue
  ui::seams::SetYieldHook([&] {
    if (++yields == 2) Click(Centre(k->Label34), stamp_, stamp_ + 1);
    if (yields == 50) k->Label34.FireClick();  // the click missed "Arrêter": stop anyway
  });
  ui::seams::SetClock([&] {  // its first reading after the first yield is the pause's
    if (yields == 1 && at_pause.empty()) {
      const QRgb bar = Screen().pixel(Px(1530 + 300 * k->N1C_L), Px(k->POSHIST_I - 100));
      at_pause = Flags({&k->EFFACER, &k->N1MOYEN, &k->VARI1}) + QColor(bar).name().toStdString();
    }
    return clock_ += 2.5f;
  });
  Run(16);
  EXPECT_EQ(std::make_tuple(at_pause, k->SN_L), std::make_tuple("011#0000ff", 2));
}
