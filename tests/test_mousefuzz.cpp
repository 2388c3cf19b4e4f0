// 10000 real toolkit mouse events from a fixed seed (moves, clicks, drags, either button,
// at any pixel or in a shown widget); runs stopped at random; a new window after "Quitter".
#include <random>

#include "fixture.h"

class MouseFuzzTest : public KestorTest {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  void Open() {
    Start(1024, 768, {}, 43210.0f);
    ui::seams::SetClock([this] { return clock_ += 2.5f; });  // each pause ends at once
    w_ = Show();
    ui::seams::SetYieldHook([this] {  // during a run only the stop command is shown
      EXPECT_TRUE(k->Label34.Shown() && !k->LANCER.Shown() && !k->FIN.Shown() && k->COMPTAGE_I);
      ++yields_;
      for (int i = Rand(0, 2); i > 0; --i) RealEvent();
      if (Rand(0, 3) == 0) k->Label34.FireClick();
    });
  }
  QPoint Point() {  // anywhere, or in one of the shown widgets of the window and its title bar
    if (Rand(0, 9) < 4) return QPoint(Rand(0, 1023), Rand(0, 767));
    const std::vector<const ui::Widget*> shown = ShownWidgets();
    const QWidget* v = shown[static_cast<size_t>(Rand(0, int(shown.size()) - 1))]->peer()->view;
    return v->mapTo(v->window(), QPoint(Rand(0, v->width() - 1), Rand(0, v->height() - 1)));
  }
  void RealEvent() {
    const int c = Rand(0, 9);
    const Qt::MouseButton b = c == 7 || c == 9 ? Qt::RightButton : Qt::LeftButton;
    if (c < 5) return QTest::mouseMove(w_, Point());
    if (c < 8) return QTest::mouseClick(w_, b, {}, Point());
    QTest::mousePress(w_, b, {}, Point());
    if (!ui::Ended()) QTest::mouseMove(w_, Point());
    if (!ui::Ended()) QTest::mouseRelease(w_, b, {}, Point());
  }
  std::mt19937 rng_{20240607};
  QWindow* w_ = nullptr;
  int yields_ = 0;
};

// At rest after every event: the bar, no run, one list at most, only a page
// hides "Quitter", the arrow, the classes add up; only "Quitter" ends.
TEST_F(MouseFuzzTest, RandomEventsKeepEveryInvariant) {
  Open();
  int ended = 0, pages = 0;
  for (int e = 0; e < 10000 && !HasFailure(); ++e) {
    SCOPED_TRACE("event " + std::to_string(e));
    RealEvent();
    if (ui::Ended()) {
      k->LANCER_N.SetVisible(false), k->LANCER.FireClick();  // nothing after the end
      EXPECT_EQ(std::make_tuple(ui::EndReason(), ui::files::IsOpen(2), k->LANCER_N.Visible()),
                std::make_tuple("quit command", false, false));
      Open(), ++ended;
      continue;
    }
    int32_t sum = 0;
    for (int32_t v = 0; v <= 50; ++v) sum += v * k->EFFECTIF_L[static_cast<size_t>(v)];
    EXPECT_EQ(std::make_tuple(k->LANCER.Shown(), k->Label34.Shown(), k->COMPTAGE_I + k->MARCHE_I,
                              k->LANCER_N.Shown() + k->ACTIV.Shown() + k->INFOS.Shown() <= 1,
                              k->FIN.Visible() != k->BLANCS.Visible(), k->DISK_0.Visible(),
                              k->MousePointer(), sum),
              std::make_tuple(true, false, 0, true, true, false, ui::Pointer::Arrow, k->S1_L));
    pages += k->BLANCS.Shown();
  }
  EXPECT_TRUE(yields_ > 0 && pages > 0 && ended > 0)
      << yields_ << " yields, " << pages << " pages, " << ended << " quits";
}
