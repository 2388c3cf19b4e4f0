// Input as the window system delivers it: a hand that moves and clicks at
// once, a jitter, taps and drags of a finger, a pen, other buttons, and
// clicks made while the program held the thread. Events are queued with
// their time stamps and delivered in one pass, as the display connection's
// event source does; the steady clock is the test's, so a handler "lasts"
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

class InputTest : public KestorTest {
 protected:
  // A shown window with one count made (so "Effacer" is enabled and a new
  // rate asks for confirmation).
  void Open() {
    Start();
    ui::seams::SetSteadyClock([this] { return ms_; });
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    w_ = k->peer()->view->windowHandle();
    ASSERT_NE(w_, nullptr);
    Run(0);
    ASSERT_EQ(k->SN_L, 1);
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

  // Window pixel at the centre of a list's row.
  static QPoint Entry(const ui::ListBox& l, int row) {
    return QPoint(Centre(l).x(), static_cast<int>((l.Top() + l.RowHeight() * (row + 0.5f)) / 15));
  }

  // Queues one mouse event with a stamp, as the window system queues input.
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButtons held, Qt::MouseButton button,
             ulong stamp) {
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w_, stamp, QPointF(p), w_->mapToGlobal(QPointF(p)), held, button, type);
  }
  void Press(QPoint p, ulong stamp, Qt::MouseButton b = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonPress, p, b, b, stamp);
  }
  void Release(QPoint p, ulong stamp, Qt::MouseButton b = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonRelease, p, Qt::NoButton, b, stamp);
  }
  void MoveTo(QPoint p, ulong stamp, Qt::MouseButtons held = Qt::NoButton) {
    Mouse(QEvent::MouseMove, p, held, Qt::NoButton, stamp);
  }
  // Delivers everything queued in one pass, as the display connection's
  // event source does (a handler that enters the event loop meets the rest
  // of the batch still queued).
  static void Deliver() {
    QWindowSystemInterface::sendWindowSystemEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents();
  }

  // Touch points of one finger; a touch event lists every finger down.
  static QWindowSystemInterface::TouchPoint Finger(int id, State s, QPoint p) {
    QWindowSystemInterface::TouchPoint t;
    t.id = id;
    t.state = s;
    t.pressure = s == State::Released ? 0 : 1;
    t.area = QRectF(QPointF(p) - QPointF(2, 2), QSizeF(4, 4));
    t.normalPosition = QPointF(p.x() / 1024.0, p.y() / 768.0);
    return t;
  }
  void Touch(QList<QWindowSystemInterface::TouchPoint> fingers, ulong stamp) {
    static QPointingDevice* screen = QTest::createTouchDevice();
    for (auto& f : fingers) f.area.moveCenter(w_->mapToGlobal(f.area.center()));
    QWindowSystemInterface::handleTouchEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w_, stamp, screen, fingers);
  }

  // The gestures: the hand moves onto p and clicks, motion, press and
  // release arriving together; the hand rests on p, then presses, moves one
  // pixel and releases; a finger taps p (a long press when held is set).
  enum class Gesture { Click, Jitter, Tap, LongPress };
  void Do(Gesture g, QPoint p) {
    switch (g) {
      case Gesture::Click:
        MoveTo(p, stamp_);
        Press(p, stamp_);
        Release(p, stamp_);
        break;
      case Gesture::Jitter:
        MoveTo(p, stamp_);
        Deliver();
        Wait(300);
        Press(p, stamp_);
        MoveTo(p + QPoint(1, 0), stamp_ + 1, Qt::LeftButton);
        Release(p + QPoint(1, 0), stamp_ + 2);
        break;
      case Gesture::Tap:
        Touch({Finger(0, State::Pressed, p)}, stamp_);
        Touch({Finger(0, State::Released, p)}, stamp_ + 60);
        break;
      case Gesture::LongPress:
        Touch({Finger(0, State::Pressed, p)}, stamp_);
        Deliver();
        Wait(1500);
        Touch({Finger(0, State::Stationary, p)}, stamp_);
        Touch({Finger(0, State::Released, p)}, stamp_ + 10);
        break;
    }
    Deliver();
    Wait(1000);
  }
  void Hover(const ui::Widget& w) {
    MoveTo(Centre(w), stamp_);
    Deliver();
    Wait(500);
  }
  // Counts the clicks a widget's handler receives.
  void CountClicks(ui::Widget& w, int& clicks) {
    w.Click = [&clicks, h = w.Click] {
      ++clicks;
      h();
    };
  }

  double ms_ = 1.0e6;
  ulong stamp_ = 5000000;
  QWindow* w_ = nullptr;
};

// Every command, an entry of each list, both answers of the confirmation
// panel, a page and the background act on every click, jitter, tap and long
// press, whatever moves come with it.
TEST_F(InputTest, EveryTargetActsWhateverMovesComeWithTheClick) {
  Open();
  int lancer = 0, activites = 0, information = 0;
  auto count_commands = [&] {
    CountClicks(k->LANCER, lancer);
    CountClicks(k->ACTIVITES, activites);
    CountClicks(k->INFORMATION, information);
  };
  count_commands();
  struct Case {
    const char* name;
    std::function<void()> before;
    std::function<QPoint()> where;
    std::function<bool()> acted;
    std::function<void()> after;
  };
  int seen = 0;  // clicks seen before the gesture, for the commands that count them
  int32_t counts = 0;
  const std::vector<Case> cases = {
      {"Lancer", [&] { seen = lancer; }, [&] { return Centre(k->LANCER); },
       [&] { return lancer == seen + 1 && k->LANCER_N.Shown(); }, [] {}},
      {"Effacer", [] {}, [&] { return Centre(k->EFFACER); }, [&] { return k->ATTENTION.Shown(); },
       [&] { k->NON.FireClick(); }},
      {"Taux de comptage", [&] { seen = activites; }, [&] { return Centre(k->ACTIVITES); },
       [&] { return activites == seen + 1 && k->ACTIV.Shown(); }, [] {}},
      {"Informations", [&] { seen = information; }, [&] { return Centre(k->INFORMATION); },
       [&] { return information == seen + 1 && k->INFOS.Shown(); }, [] {}},
      {"entry 1 of the count list",
       [&] {
         Hover(k->LANCER);
         counts = k->SN_L;
       },
       [&] { return Entry(k->LANCER_N, 0); },
       [&] { return k->SN_L == counts + 1 && !k->LANCER_N.Shown(); }, [] {}},
      {"entry 4.0 of the rate list", [&] { Hover(k->ACTIVITES); },
       [&] { return Entry(k->ACTIV, 3); }, [&] { return k->ATTENTION.Shown(); },
       [&] { k->NON.FireClick(); }},
      {"entry Utilisation of the information list", [&] { Hover(k->INFORMATION); },
       [&] { return Entry(k->INFOS, 0); }, [&] { return k->BLANCS.Shown(); },
       [&] { k->BLANCS.FireClick(); }},
      {"OUI", [&] { k->EFFACER.FireClick(); }, [&] { return Centre(k->OUI); },
       [&] { return !k->ATTENTION.Shown() && k->SN_L == 0; }, [&] { Run(0); }},
      {"NON", [&] { k->EFFACER.FireClick(); }, [&] { return Centre(k->NON); },
       [&] { return !k->ATTENTION.Shown() && k->SN_L > 0; }, [] {}},
      {"a page", [&] { OpenPage(1); }, [] { return QPoint(700, 600); },
       [&] { return !k->BLANCS.Shown() && k->FIN.Shown(); }, [] {}},
      {"the background with a list open", [&] { Hover(k->ACTIVITES); },
       [] { return QPoint(600, 700); }, [&] { return !k->ACTIV.Shown() && !k->Label32.Shown(); },
       [] {}},
      {"Quitter", [] {}, [&] { return Centre(k->FIN); },
       [] { return ui::Ended() && ui::EndReason() == "quit command"; },
       [&] {
         Open();
         count_commands();
       }},
  };
  for (Gesture g : {Gesture::Click, Gesture::Jitter, Gesture::Tap, Gesture::LongPress}) {
    for (const Case& c : cases) {
      for (int again = 0; again < 2; ++again) {
        SCOPED_TRACE(std::string(c.name) + ", gesture " + std::to_string(static_cast<int>(g)) +
                     ", try " + std::to_string(again + 1));
        c.before();
        Do(g, c.where());
        EXPECT_TRUE(c.acted());
        c.after();
      }
    }
  }
}

// A click made while a single count holds the thread is aimed at "Arrêter";
// once the count is over "Effacer" stands there and must not receive it. So
// with a series, for a click that is still waiting when it ends (one made
// during it reaches it at a yield). A click made after the run, or within
// the first millisecond of the gesture that started it, is taken.
TEST_F(InputTest, AClickMadeWhileARunHoldsTheThreadIsDropped) {
  struct Row {
    int press, release;  // milliseconds after the release that starts the run
    bool acts;
  };
  const Row rows[] = {{1, 30, true},     {2, 30, false},   {150, 170, false},
                      {300, 320, false}, {301, 320, true}, {100, 400, false}};
  for (int entry : {0, 3}) {  // one count; a series of 10 counts of 30 ms
    for (const Row& r : rows) {
      SCOPED_TRACE("entry " + std::to_string(entry) + ", press at +" + std::to_string(r.press) +
                   " ms");
      Open();
      ui::seams::SetYieldHook([this] { ms_ += 30; });
      Hover(k->LANCER);
      const QPoint stop = Centre(k->Label34);
      const ulong start = stamp_;
      // The run lasts 300 ms; the hand clicks on "Arrêter" meanwhile.
      k->LANCER_N.MouseUp = [&, entry, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
        h(m);
        if (entry == 0) ms_ += 300;
        MoveTo(stop, start + static_cast<ulong>(r.press));
        Press(stop, start + static_cast<ulong>(r.press));
        Release(stop, start + static_cast<ulong>(r.release));
      };
      const QPoint p = Entry(k->LANCER_N, entry);
      MoveTo(p, start);
      Press(p, start);
      Release(p, start);
      Deliver();
      EXPECT_EQ(k->SN_L, entry == 0 ? 2 : 11);
      EXPECT_TRUE(k->EFFACER.Shown() && !k->Label34.Shown());
      EXPECT_EQ(k->ATTENTION.Shown(), r.acts);
    }
  }
}

// Dragging with the button down moves a list's selection: the release runs
// the entry under it. A press held back while a count ran, and the drag and
// release after it, select and run nothing; a stray release clicks nothing.
TEST_F(InputTest, AListFollowsADragButNotOneWhosePressWasHeld) {
  Open();
  Hover(k->LANCER);
  const QPoint one = Entry(k->LANCER_N, 0), hundred = Entry(k->LANCER_N, 6);
  Press(one, stamp_);
  MoveTo((one + hundred) / 2, stamp_ + 40, Qt::LeftButton);
  MoveTo(hundred, stamp_ + 80, Qt::LeftButton);
  Release(hundred, stamp_ + 100);
  Deliver();
  Wait(1000);
  ASSERT_EQ(k->SN_L, 1 + 100);

  Hover(k->LANCER);
  const ulong start = stamp_;
  k->LANCER_N.MouseUp = [&, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
    h(m);
    ms_ += 300;  // the count lasts 300 ms; meanwhile the hand opens the list and drags on it
    MoveTo(Centre(k->LANCER), start + 50);
    Press(hundred, start + 100);
    MoveTo(Entry(k->LANCER_N, 7), start + 150, Qt::LeftButton);
    Release(Entry(k->LANCER_N, 7), start + 200);
  };
  MoveTo(one, start);
  Press(one, start);
  Release(one, start);
  Deliver();
  EXPECT_EQ(k->SN_L, 1 + 100 + 1);
  EXPECT_TRUE(k->LANCER_N.Shown());
  EXPECT_EQ(k->LANCER_N.ListIndex(), -1);
  auto* shown = static_cast<QListWidget*>(k->LANCER_N.peer()->view.data());
  EXPECT_TRUE(shown->selectedItems().isEmpty());

  // A release alone, after a click on "Effacer" was answered.
  Wait(1000);
  Do(Gesture::Click, Centre(k->EFFACER));
  ASSERT_TRUE(k->ATTENTION.Shown());
  k->NON.FireClick();
  QWidget* effacer = k->EFFACER.peer()->view;
  const QPointF c(effacer->width() / 2.0, effacer->height() / 2.0);
  QCoreApplication::postEvent(
      effacer, new QMouseEvent(QEvent::MouseButtonRelease, c, effacer->mapToGlobal(c),
                               Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  QCoreApplication::processEvents();
  EXPECT_FALSE(k->ATTENTION.Shown());
}

// A move never makes a click count as held, however long its handler.
TEST_F(InputTest, ALongMoveHandlerDropsNoClick) {
  Open();
  int clicks = 0;
  CountClicks(k->LANCER, clicks);
  k->LANCER.MouseMove = [this, h = k->LANCER.MouseMove](const ui::Mouse& m) {
    h(m);
    ms_ += 200;
  };
  const QPoint p = Centre(k->LANCER);
  MoveTo(p, stamp_);
  Press(p, stamp_ + 50);
  Release(p, stamp_ + 120);
  Deliver();
  EXPECT_EQ(clicks, 1);
}

// During a series a click on "Arrêter" made during a count is handled at the
// next yield: the series stops there.
TEST_F(InputTest, AStopMadeDuringACountOfASeriesIsTaken) {
  Open();
  int yields = 0;
  const QPoint stop = Centre(k->Label34);
  ui::seams::SetYieldHook([&] {
    Wait(10);  // each count lasts 10 ms
    if (++yields != 6) return;
    MoveTo(stop, stamp_ - 6);
    Press(stop, stamp_ - 5);
    Release(stop, stamp_ - 3);
  });
  Run(15);
  EXPECT_EQ(k->SN_L, 1 + 6);
  EXPECT_TRUE(k->LANCER.Shown() && !k->Label34.Shown());
}

// The right and middle buttons (a pen's barrel button) on an entry of each
// list select nothing and start nothing; the list stays open.
TEST_F(InputTest, OtherButtonsOnAListEntryChangeNothing) {
  Open();
  struct Row {
    ui::ListBox* list;
    ui::Label* command;
    int entry;
  };
  for (Row r : {Row{&k->LANCER_N, &k->LANCER, 0}, Row{&k->LANCER_N, &k->LANCER, 16},
                Row{&k->ACTIV, &k->ACTIVITES, 3}, Row{&k->INFOS, &k->INFORMATION, 0}}) {
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
      SCOPED_TRACE(r.list->Name() + " entry " + std::to_string(r.entry) + " button " +
                   std::to_string(b));
      Hover(*r.command);
      const QPoint p = Entry(*r.list, r.entry);
      MoveTo(p, stamp_);
      Press(p, stamp_, b);
      MoveTo(p + QPoint(0, 1), stamp_ + 1, b);
      Release(p + QPoint(0, 1), stamp_ + 2, b);
      Deliver();
      Wait(1000);
      EXPECT_EQ(std::make_tuple(k->SN_L, k->ACT_I, k->ACTIV_I, k->MARCHE_I),
                std::make_tuple(int32_t{1}, int16_t{1}, int16_t{1}, int16_t{0}));
      EXPECT_FALSE(k->ATTENTION.Shown() || k->BLANCS.Shown());
      EXPECT_TRUE(r.list->Shown());
      EXPECT_EQ(r.list->ListIndex(), -1);
    }
  }
}

// A whole session with a finger alone: rate 4, one count, a series of 100, the query
// dragged over the tallest bar (a second finger meanwhile breaks nothing),
// a clear confirmed with a long press, a page opened and closed, quit.
TEST_F(InputTest, AWholeSessionWithTouchAlone) {
  Start();
  ui::seams::SetSteadyClock([this] { return ms_; });
  ui::Application::ShowForm(*k);
  QCoreApplication::processEvents();
  w_ = k->peer()->view->windowHandle();
  auto tap = [this](QPoint p) { Do(Gesture::Tap, p); };

  tap(Centre(k->ACTIVITES));
  ASSERT_TRUE(k->ACTIV.Shown());
  tap(Entry(k->ACTIV, 3));
  EXPECT_EQ(k->ACTIVIT.Caption(), " Taux de comptage = 4 imp/s ");
  tap(Centre(k->LANCER));
  ASSERT_TRUE(k->LANCER_N.Shown());
  tap(Entry(k->LANCER_N, 0));
  ASSERT_EQ(k->SN_L, 1);
  EXPECT_TRUE(k->N1COMPTE.Shown());
  EXPECT_EQ(k->N1COMPTE.Caption(), " Valeur du comptage = " + std::to_string(k->N1C_L) + " ");
  tap(Centre(k->LANCER));
  tap(Entry(k->LANCER_N, 6));
  ASSERT_EQ(k->SN_L, 101);

  int tallest = 0;
  for (int c = 1; c <= 40; ++c)
    if (k->EFFECTIF_L[static_cast<size_t>(c)] > k->EFFECTIF_L[static_cast<size_t>(tallest)])
      tallest = c;
  const int y = Px(k->POSHIST_I - 100);
  const QPoint from(Px(1530 + 300 * (tallest + 12)), y), to(Px(1530 + 300 * tallest), y);
  Touch({Finger(0, State::Pressed, from)}, stamp_);
  Touch({Finger(0, State::Updated, (from + to) / 2)}, stamp_ + 20);
  Touch({Finger(0, State::Stationary, (from + to) / 2), Finger(1, State::Pressed, Centre(k->FIN))},
        stamp_ + 30);
  Touch({Finger(0, State::Stationary, (from + to) / 2), Finger(1, State::Released, Centre(k->FIN))},
        stamp_ + 40);
  Touch({Finger(0, State::Updated, to)}, stamp_ + 60);
  Deliver();
  Wait(100);
  EXPECT_FALSE(ui::Ended());
  EXPECT_EQ(k->EFF1.Caption(),
            " Effectif de ( " + std::to_string(tallest) +
                " ) = " + std::to_string(k->EFFECTIF_L[static_cast<size_t>(tallest)]) + " ");
  EXPECT_TRUE(k->EFF1.Shown());
  Touch({Finger(0, State::Released, to)}, stamp_);
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

// A pen: hovering opens a list, the tip clicks, the barrel button does
// nothing. The toolkit turns pen input no widget takes into mouse input (on
// X the server does it itself).
TEST_F(InputTest, APenHoversClicksAndItsBarrelButtonDoesNothing) {
  Open();
  QPointingDevice pen("pen", 7, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
                      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1,
                      3);
  QWindowSystemInterface::registerInputDevice(&pen);
  QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(false);
  auto pen_at = [&](QPoint p, Qt::MouseButtons b) {
    QWindowSystemInterface::handleTabletEvent(
        w_, stamp_, &pen, QPointF(p), w_->mapToGlobal(QPointF(p)), b, b ? 0.5 : 0.0, 0, 0, 0, 0, 0);
  };
  QWindowSystemInterface::handleTabletEnterLeaveProximityEvent(w_, stamp_, &pen, true);
  pen_at(Centre(k->LANCER), Qt::NoButton);
  Deliver();
  Wait(300);
  EXPECT_TRUE(k->LANCER_N.Shown());
  const QPoint one = Entry(k->LANCER_N, 0);
  pen_at(one, Qt::NoButton);
  pen_at(one, Qt::LeftButton);
  pen_at(one, Qt::NoButton);
  Deliver();
  Wait(1000);
  EXPECT_EQ(k->SN_L, 2);
  for (Qt::MouseButton tip : {Qt::RightButton, Qt::LeftButton}) {
    pen_at(Centre(k->EFFACER), Qt::NoButton);
    pen_at(Centre(k->EFFACER), tip);
    pen_at(Centre(k->EFFACER), Qt::NoButton);
    Deliver();
    Wait(1000);
    EXPECT_EQ(k->ATTENTION.Shown(), tip == Qt::LeftButton);
  }
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
  QWidget* view = k->peer()->view;
  int yields = 0, cls = -1;
  QImage at_pause;
  ui::seams::SetYieldHook([&] {
    if (++yields == 1) cls = static_cast<int>(k->N1C_L);
    if (yields == 2) k->Label34.FireClick();
  });
  // The first reading of the time of day after the first yield is the pause's.
  ui::seams::SetClock([&] {
    if (yields == 1 && at_pause.isNull())
      at_pause = QGuiApplication::primaryScreen()->grabWindow(view->winId()).toImage();
    return clock_ += 2.5f;
  });
  Run(16);
  ASSERT_FALSE(at_pause.isNull());
  ASSERT_TRUE(cls >= 0 && cls <= 40 && k->SN_L == 3) << cls;
  // The count's bar (blue) stands where the screen showed white before.
  EXPECT_EQ(QColor(at_pause.pixel(Px(1530 + 300 * cls), Px(k->POSHIST_I - 100))),
            QColor(0, 0, 255));
  // The strip holds pulses: light blue or light red lines on its white.
  int pulses = 0;
  const int y = Px((k->POSAXE_I + k->NBCOMPTAGE.Top() + k->NBCOMPTAGE.Height()) / 2);
  for (int x = 0; x < 1024; ++x) {
    QRgb c = at_pause.pixel(x, y);
    pulses += c == qRgb(0, 0, 255) || c == qRgb(255, 0, 0);
  }
  EXPECT_GT(pulses, 0);
}

}  // namespace
