// 10000 real toolkit mouse events from a fixed seed (moves, clicks, drags, either button, at any
// pixel or in a shown widget), runs stopped at random. At rest after each: the bar, no run, one
// list at most, only a page hides "Quitter", the arrow, the classes add up; only "Quitter" ends.
#include <random>

#include "fixture.h"

using MouseFuzzTest = KestorTest;

TEST_F(MouseFuzzTest, RandomEventsKeepEveryInvariant) {
  std::mt19937 rng{20240607};
  auto rand = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  QWindow* w = nullptr;
  int yields = 0, ended = 0, pages = 0;
  auto point = [&] {  // anywhere, or in one of the shown widgets of the window and its title bar
    if (rand(0, 9) < 4) return QPoint(rand(0, 1023), rand(0, 767));
    const std::vector<const ui::Widget*> shown = ShownWidgets();
    const QWidget* v = shown[static_cast<size_t>(rand(0, int(shown.size()) - 1))]->peer()->view;
    return v->mapTo(v->window(), QPoint(rand(0, v->width() - 1), rand(0, v->height() - 1)));
  };
  auto real_event = [&] {
    const int c = rand(0, 9);
    const Qt::MouseButton b = c == 7 || c == 9 ? Qt::RightButton : Qt::LeftButton;
    if (c < 5) return QTest::mouseMove(w, point());
    if (c < 8) return QTest::mouseClick(w, b, {}, point());
    QTest::mousePress(w, b, {}, point());
    if (!ui::Ended()) QTest::mouseMove(w, point());
    if (!ui::Ended()) QTest::mouseRelease(w, b, {}, point());
  };
  auto open = [&] {  // each pause ends at once; during a run only the stop command is shown
    Start(1024, 768, {}, 43210.0f), ui::seams::SetClock([this] { return clock_ += 2.5f; });
    w = Show(), ui::seams::SetYieldHook([&] {
      EXPECT_TRUE(k->Label34.Shown() && !k->LANCER.Shown() && !k->FIN.Shown() && k->COMPTAGE_I);
      ++yields;
      for (int i = rand(0, 2); i > 0; --i) real_event();
      if (rand(0, 3) == 0) k->Label34.FireClick();
    });
  };
  open();
  for (int e = 0; e < 10000 && !HasFailure(); ++e) {
    SCOPED_TRACE("event " + std::to_string(e));
    real_event();
    if (ui::Ended()) {
      k->LANCER_N.SetVisible(false), k->LANCER.FireClick();  // nothing after the end
      EXPECT_EQ(std::make_tuple(ui::EndReason(), ui::files::IsOpen(2), k->LANCER_N.Visible()),
                std::make_tuple("quit command", false, false));
      open(), ++ended;
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
  EXPECT_TRUE(yields > 0 && pages > 0 && ended > 0)
      << yields << " yields, " << pages << " pages, " << ended << " quits";
}
