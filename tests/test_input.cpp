// Input as the window system delivers it, queued with its stamps and delivered in one pass;
// the steady clock is the test's, so a handler "lasts" exactly as long as the test says.
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
using WSI = QWindowSystemInterface;
constexpr auto kMove = QEvent::MouseMove, kPress = QEvent::MouseButtonPress,
               kRelease = QEvent::MouseButtonRelease;
constexpr auto kLeft = Qt::LeftButton, kNone = Qt::NoButton;
// Motion, press and release (a jitter moves one pixel before the release); a finger's tap,
// held 1.5 s for a long press; a pen hovering, then its tip (or a button) down and up.
enum class Gesture { Click, Jitter, Tap, LongPress, Pen };

class InputTest : public KestorTest {
 protected:
  // A shown window, with one count made when asked ("Effacer" enabled, a new rate asks).
  void Open(bool count = true) {
    Start();
    ui::seams::SetSteadyClock([this] { return ms_; });
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    w_ = k->peer()->view->windowHandle();
    // Pen input becomes mouse input in the toolkit (on X the server does it).
    QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(false);
    if (count) Run(0);
  }
  void TearDown() override {
    QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(true);
    if (k && k->peer()->view) k->peer()->view->hide();
    KestorTest::TearDown();
  }
  // Time passes for the hand (the window system's stamps) and the program alike.
  void Wait(int ms) { stamp_ += static_cast<ulong>(ms), ms_ += ms; }
  static QPoint Entry(const ui::ListBox& l, int row) {
    return QPoint(Centre(l).x(), static_cast<int>((l.Top() + l.RowHeight() * (row + 0.5f)) / 15));
  }
  // Queues a move (button b held), a press or a release of b.
  void Mouse(QEvent::Type t, QPoint p, ulong at, Qt::MouseButton b = kLeft) {
    WSI::handleMouseEvent<WSI::AsynchronousDelivery>(
        w_, at, p, w_->mapToGlobal(p), t == kRelease ? kNone : b, t == kMove ? kNone : b, t);
  }
  // Motion onto p, 3 ms later the press, the release `slip` away.
  void Click(QPoint p, ulong press, ulong release, Qt::MouseButton b = kLeft, QPoint slip = {}) {
    Mouse(kMove, p, press - 3, kNone);
    Mouse(kPress, p, press, b);
    if (!slip.isNull()) Mouse(kMove, p + slip, press + 1, b);
    Mouse(kRelease, p + slip, release, b);
  }
  static void Deliver() { WSI::sendWindowSystemEvents({}), QCoreApplication::processEvents(); }
  // Queues one touch event: finger `id` in state s at p (every finger down is listed).
  void Touch(std::initializer_list<std::tuple<int, State, QPoint>> fingers, ulong at) {
    static QPointingDevice* screen = QTest::createTouchDevice();
    QList<WSI::TouchPoint> points;
    for (auto [id, s, p] : fingers) {
      WSI::TouchPoint& t = points.emplace_back();
      t.id = id, t.state = s, t.area = QRect(w_->mapToGlobal(p) - QPoint(2, 2), QSize(4, 4));
    }
    WSI::handleTouchEvent<WSI::AsynchronousDelivery>(w_, at, screen, points);
  }
  void Do(Gesture g, QPoint p, Qt::MouseButton b = kLeft) {
    if (g == Gesture::Click || g == Gesture::Jitter)
      Click(p, stamp_, stamp_ + 2, b, QPoint(g == Gesture::Jitter, 0));
    if (QWidget* v = k->peer()->view->childAt(p); v && g <= Gesture::Jitter)  // a release alone
      QCoreApplication::postEvent(v, new QMouseEvent(kRelease, v->mapFrom(k->peer()->view, p),
                                                     QPointF(), kLeft, kNone, {}));
    if (g == Gesture::Tap || g == Gesture::LongPress) Touch({{0, State::Pressed, p}}, stamp_);
    if (g == Gesture::LongPress) Deliver(), Wait(1500), Touch({{0, State::Stationary, p}}, stamp_);
    if (g == Gesture::Tap || g == Gesture::LongPress) Touch({{0, State::Released, p}}, stamp_ + 60);
    static auto* pen = new QPointingDevice("pen", 7, QInputDevice::DeviceType::Stylus,
                                           QPointingDevice::PointerType::Pen,
                                           QInputDevice::Capability::Position, 1, 3);
    for (Qt::MouseButton held : {kNone, b, kNone})
      if (g == Gesture::Pen)
        WSI::handleTabletEvent(w_, stamp_, pen, p, w_->mapToGlobal(p), held, held ? 0.5 : 0.0, 0, 0,
                               0, 0, 0);
    Deliver(), Wait(1000);
  }
  void Hover(const ui::Widget& w) { Mouse(kMove, Centre(w), stamp_, kNone), Deliver(), Wait(500); }

  double ms_ = 1.0e6;
  ulong stamp_ = 5000000;
  QWindow* w_ = nullptr;
};

// Every command, an entry of each list, OUI, NON, a page, the background act on every gesture of
// the left button, each click once, whatever moves come with it, however long a move's handler
// lasts; a release alone clicks nothing; the right and middle buttons (a pen's barrel) nothing.
TEST_F(InputTest, EveryTargetActsOnEveryGestureOfTheLeftButtonOnly) {
  Open();
  int clicks = 0;
  auto panel = [&] { k->EFFACER.FireClick(); };
  const std::tuple<const char*, std::function<void()>, QPoint, std::function<bool()>> cases[] = {
      {"EFFACER", [] {}, Centre(k->EFFACER), [&] { return k->ATTENTION.Shown(); }},
      {"LANCER", [] {}, Centre(k->LANCER), [&] { return clicks == 1 && k->LANCER_N.Shown(); }},
      {"ACTIVITES", [] {}, Centre(k->ACTIVITES), [&] { return clicks == 1 && k->ACTIV.Shown(); }},
      {"INFO", [] {}, Centre(k->INFORMATION), [&] { return clicks == 1 && k->INFOS.Shown(); }},
      {"LANCER_N", [&] { Hover(k->LANCER); }, Entry(k->LANCER_N, 0),
       [&] { return k->SN_L == 2 && !k->LANCER_N.Shown(); }},
      {"ACTIV", [&] { Hover(k->ACTIVITES); }, Entry(k->ACTIV, 3),
       [&] { return k->ATTENTION.Shown(); }},
      {"INFOS", [&] { Hover(k->INFORMATION); }, Entry(k->INFOS, 0),
       [&] { return k->BLANCS.Shown(); }},
      {"OUI", panel, Centre(k->OUI), [&] { return !k->ATTENTION.Shown() && k->SN_L == 0; }},
      {"NON", panel, Centre(k->NON), [&] { return !k->ATTENTION.Shown() && k->SN_L > 0; }},
      {"page", [&] { OpenPage(1); }, QPoint(700, 600),
       [&] { return !k->BLANCS.Shown() && k->FIN.Shown(); }},
      {"form", [&] { Hover(k->ACTIVITES); }, QPoint(600, 700),
       [&] { return !k->ACTIV.Shown() && !k->Label32.Shown(); }},
      {"FIN", [] {}, Centre(k->FIN),
       [] { return ui::Ended() && ui::EndReason() == "quit command"; }},
  };
  for (Gesture g :
       {Gesture::Click, Gesture::Jitter, Gesture::Tap, Gesture::LongPress, Gesture::Pen})
    for (Qt::MouseButton b : {kLeft, Qt::RightButton, Qt::MiddleButton})
      for (const auto& [name, before, at, acted] : cases) {
        if (b != kLeft && g != Gesture::Jitter && g != Gesture::Pen) continue;
        SCOPED_TRACE(testing::Message() << name << ", " << static_cast<int>(g) << ", " << b);
        Open();
        for (ui::Label* c : {&k->LANCER, &k->ACTIVITES, &k->INFORMATION}) {
          c->Click = [&clicks, h = c->Click] { ++clicks, h(); };
          c->MouseMove = [this, h = c->MouseMove](const ui::Mouse& m) { h(m), ms_ += 200; };
        }
        before();
        clicks = 0;
        Do(g, at, b);
        EXPECT_EQ(acted(), b == kLeft);
      }
}

// A click made while a single count holds the thread is aimed at "Arrêter"; once the count is
// over "Effacer" stands there and must not receive it. So with a series, for a click still
// waiting when it ends, and a drag on the count list opened meanwhile (nothing selected or run).
// A click made after the run, or within the first millisecond of its gesture, is taken.
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
      const ulong start = stamp_;
      const QPoint at = r.drag ? Entry(k->LANCER_N, 6) : Centre(k->Label34);
      k->LANCER_N.MouseUp = [&, entry, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
        h(m);
        if (entry == 0) ms_ += 300;
        if (r.drag) Mouse(kMove, Centre(k->LANCER), start + 50, kNone);
        Click(at, start + r.press, start + r.release, kLeft, QPoint(0, r.drag ? 25 : 0));
      };
      Click(Entry(k->LANCER_N, entry), start, start);
      Deliver();
      auto* list = static_cast<QListWidget*>(k->LANCER_N.peer()->view.data());
      EXPECT_EQ(std::make_tuple(k->SN_L, k->EFFACER.Shown(), k->Label34.Shown(),
                                k->ATTENTION.Shown(), k->LANCER_N.Shown(), k->LANCER_N.ListIndex(),
                                list->selectedItems().size()),
                std::make_tuple(entry == 0 ? 2 : 11, true, false, r.acts, r.drag, -1, 0));
    }
}

// The continuous run's pause does not yield: the count before it is on the screen first, even
// within one display frame of the last push; a stop clicked during the run acts at the next
// yield. Then a finger alone: a drag on the count list runs the entry under the release; the
// query follows a finger over a bar (a second finger tapping "Quitter" meanwhile breaks nothing).
TEST_F(InputTest, AContinuousRunThenAFingerAlone) {
  Open(false);  // the strip empty, no bar
  int yields = 0, cls = -1;
  bool results_shown = false;  // the command bar hidden, the results shown
  QImage at_pause;
  ui::seams::SetYieldHook([&] {
    if (++yields == 2) Click(Centre(k->Label34), stamp_, stamp_ + 1);
  });
  ui::seams::SetClock([&] {  // its first reading after the first yield is the pause's
    if (yields == 1 && at_pause.isNull()) {
      at_pause = QGuiApplication::primaryScreen()->grabWindow(k->peer()->view->winId()).toImage();
      cls = static_cast<int>(k->N1C_L);
      results_shown = !k->EFFACER.Shown() && k->N1MOYEN.Shown() && k->VARI1.Shown();
    }
    return clock_ += 2.5f;
  });
  Run(16);
  ASSERT_TRUE(!at_pause.isNull() && results_shown && cls >= 0 && cls <= 40 && k->SN_L == 2) << cls;
  // The count's blue bar stands where the screen was white; the strip holds pulses (blue or red).
  const int base = Px(k->POSHIST_I - 100);
  EXPECT_EQ(QColor(at_pause.pixel(Px(1530 + 300 * cls), base)), QColor(0, 0, 255));
  int pulses = 0;
  const int y = Px((k->POSAXE_I + k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height()) / 2);
  for (int x = 0; x < 1024; ++x)
    pulses += at_pause.pixel(x, y) == qRgb(0, 0, 255) || at_pause.pixel(x, y) == qRgb(255, 0, 0);
  EXPECT_GT(pulses, 0);
  Do(Gesture::Tap, Centre(k->LANCER));
  Touch({{0, State::Pressed, Entry(k->LANCER_N, 0)}}, stamp_);
  Touch({{0, State::Updated, Entry(k->LANCER_N, 6)}}, stamp_ + 50);
  Touch({{0, State::Released, Entry(k->LANCER_N, 6)}}, stamp_ + 100);
  Deliver(), Wait(1000);
  ASSERT_EQ(k->SN_L, 2 + 100);
  const size_t c = k->N1C_L;  // the last count's class
  const QPoint from(Px(1530 + 300 * (c + 12)), base), to(Px(1530 + 300 * c), base);
  const QPoint mid = (from + to) / 2, fin = Centre(k->FIN);
  Touch({{0, State::Pressed, from}}, stamp_);
  Touch({{0, State::Updated, mid}}, stamp_ + 20);
  Touch({{0, State::Stationary, mid}, {1, State::Pressed, fin}}, stamp_ + 30);
  Touch({{0, State::Stationary, mid}, {1, State::Released, fin}}, stamp_ + 40);
  Touch({{0, State::Updated, to}}, stamp_ + 60);
  Deliver();
  EXPECT_TRUE(k->EFF1.Shown() && !ui::Ended());
  EXPECT_EQ(k->EFF1.Caption(), " Effectif de ( " + std::to_string(c) +
                                   " ) = " + std::to_string(k->EFFECTIF_L[c]) + " ");
}

}  // namespace
