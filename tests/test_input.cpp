// Input as the window system delivers it, queued with its stamps and delivered in one pass;
// the steady clock is the test's, so a handler "lasts" exactly as long as the test says.
#include <QtGui/qpa/qwindowsysteminterface.h>

#include "fixture.h"

using WSI = QWindowSystemInterface;
constexpr auto kMove = QEvent::MouseMove, kRelease = QEvent::MouseButtonRelease;
constexpr auto kLeft = Qt::LeftButton, kNone = Qt::NoButton;
// Motion, press, release (a jitter moves a pixel before it); a finger's tap, held 1.5 s for long.
enum class Gesture { Click, Jitter, Tap, LongPress };

class InputTest : public KestorTest {
 protected:
  // A shown window, with one count made when asked ("Effacer" enabled, a new rate asks).
  void Open(bool count = true) {
    Start(), ui::seams::SetSteadyClock([this] { return ms_; }), w_ = Show();
    if (count) Run(0);
  }
  void Wait(int ms) { stamp_ += static_cast<ulong>(ms), ms_ += ms; }  // for the hand and program
  // Queues a move (button b held), a press or a release of b.
  void Mouse(QEvent::Type t, QPoint p, ulong at, Qt::MouseButton b = kLeft) {
    WSI::handleMouseEvent<WSI::AsynchronousDelivery>(
        w_, at, p, w_->mapToGlobal(p), t == kRelease ? kNone : b, t == kMove ? kNone : b, t);
  }
  // Motion onto p, 3 ms later the press, the release `slip` away.
  void Click(QPoint p, ulong press, ulong release, Qt::MouseButton b = kLeft, QPoint slip = {}) {
    Mouse(kMove, p, press - 3, kNone), Mouse(QEvent::MouseButtonPress, p, press, b);
    if (!slip.isNull()) Mouse(kMove, p + slip, press + 1, b);
    Mouse(kRelease, p + slip, release, b);
  }
  static void Deliver() { WSI::sendWindowSystemEvents({}), QCoreApplication::processEvents(); }
  void Touch(QEventPoint::State s, QPoint p, ulong dt = 0) {  // one finger's, at p
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
      Touch(QEventPoint::Pressed, p);
      if (g == Gesture::LongPress) Deliver(), Wait(1500), Touch(QEventPoint::Stationary, p);
      Touch(QEventPoint::Released, p, 60);
    }
    Deliver(), Wait(1000);
  }

  double ms_ = 1.0e6;
  ulong stamp_ = 5000000;
  QWindow* w_ = nullptr;
};

// Every target (a command, list entries, a panel's button, a page, the background) acts once on
// each left-button gesture, after a slow move's handler too; a release alone, other buttons never.
TEST_F(InputTest, EveryTargetActsOnEveryGestureOfTheLeftButtonOnly) {
  Open();
  int clicks = 0;
  const std::tuple<const char*, std::function<void()>, QPoint, std::function<bool()>> cases[] = {
      {"EFFACER", [] {}, Centre(k->EFFACER), [&] { return k->ATTENTION.Shown(); }},
      {"LANCER", [] {}, Centre(k->LANCER), [&] { return clicks == 1 && k->LANCER_N.Shown(); }},
      {"LANCER_N", [&] { k->LANCER.FireMouseMove(); }, Entry(k->LANCER_N, 0),
       [&] { return k->SN_L == 2 && !k->LANCER_N.Shown(); }},
      {"ACTIV", [&] { k->ACTIVITES.FireMouseMove(); }, Entry(k->ACTIV, 3),
       [&] { return k->ATTENTION.Shown(); }},
      {"OUI", [&] { k->EFFACER.FireClick(); }, Centre(k->OUI),
       [&] { return !k->ATTENTION.Shown() && k->SN_L == 0; }},
      {"page", [&] { OpenPage(1); }, QPoint(700, 600),
       [&] { return !k->BLANCS.Shown() && k->FIN.Shown(); }},
      {"form", [&] { k->ACTIVITES.FireMouseMove(); }, QPoint(600, 700),
       [&] { return !k->ACTIV.Shown() && !k->Label32.Shown(); }},
      {"FIN", [] {}, Centre(k->FIN), [] { return ui::EndReason() == "quit command"; }},
  };
  for (int g = 0; g < 4; ++g)
    for (Qt::MouseButton b : {kLeft, Qt::RightButton, Qt::MiddleButton})
      for (const auto& [name, before, at, acted] : cases) {
        if (b != kLeft && g != 1) continue;  // other buttons: a jitter
        SCOPED_TRACE(testing::Message() << name << ", " << g << ", " << b);
        Open(), clicks = 0;
        k->LANCER.Click = [&clicks, h = k->LANCER.Click] { ++clicks, h(); };
        k->LANCER.MouseMove = [this, h = k->LANCER.MouseMove](auto& m) { h(m), ms_ += 200; };
        before();
        Do(Gesture(g), at, b);
        EXPECT_EQ(acted(), b == kLeft);
      }
}

// A click made while a run holds the thread, at "Arrêter", reaches neither "Effacer" then there
// nor, dragged, the count list; one after the run or in its first ms acts. A continuous run's count
// is shown before its pause (no yield), even a frame from the last push; a stop acts at a yield.
TEST_F(InputTest, AClickMadeWhileARunHoldsTheThreadIsDroppedAndEachPauseFollowsAShownCount) {
  const struct {
    int press, release;  // milliseconds after the release that starts the run
    bool acts, drag;
  } rows[] = {{1, 30, true, false},     {2, 30, false, false},   {150, 170, false, false},
              {300, 320, false, false}, {301, 320, true, false}, {100, 400, false, false},
              {100, 200, false, true}};
  for (int entry : {0, 3})  // one count of 300 ms; a series of 10 counts of 30 ms
    for (const auto& r : rows) {
      SCOPED_TRACE("entry " + std::to_string(entry) + ", press at +" + std::to_string(r.press));
      Open(), ui::seams::SetYieldHook([this] { ms_ += 30; }), k->LANCER.FireMouseMove();
      const QPoint at = r.drag ? Entry(k->LANCER_N, 6) : Centre(k->Label34);
      k->LANCER_N.MouseUp = [&, entry, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
        h(m), ms_ += entry == 0 ? 300 : 0;
        if (r.drag) Mouse(kMove, Centre(k->LANCER), stamp_ + 50, kNone);
        Click(at, stamp_ + r.press, stamp_ + r.release, kLeft, QPoint(0, r.drag ? 25 : 0));
      };
      Click(Entry(k->LANCER_N, entry), stamp_, stamp_), Deliver();
      EXPECT_EQ(std::make_tuple(k->SN_L, k->EFFACER.Shown(), k->Label34.Shown(),
                                k->ATTENTION.Shown(), k->LANCER_N.Shown(), k->LANCER_N.ListIndex()),
                std::make_tuple(entry == 0 ? 2 : 11, true, false, r.acts, r.drag, -1));
    }
  Open(false);  // the continuous run, from an empty strip
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
