// A mouse fuzzer from a fixed seed: real toolkit events over the shown window,
// with runs stopped after a few counts and a new window after the quit
// command; invariants checked after every event.
#include <QTest>
#include <QWindow>
#include <random>
#include <tuple>

#include "fixture.h"
#include "ui/qt/internal.h"

namespace {

class MouseFuzzTest : public KestorTest {
 protected:
  int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  float Unit() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(rng_); }

  // A new window, shown and watched; each pause ends at its first poll.
  void Open() {
    Start(1024, 768, {}, 43210.0f);
    ui::seams::SetClock([this] { return clock_ += 2.5f; });
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    window_ = k->peer()->view->windowHandle();
    ASSERT_NE(window_, nullptr);
    k->LANCER_N.MouseUp = [this, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
      ++running_;
      ++runs_;
      stop_after_ = Rand(1, 4);
      h(m);
      --running_;
    };
    widgets_.clear();
    Watch(*k);
    Collect(*k);
    ui::seams::SetYieldHook([this] { BetweenCounts(); });
    counts_made_ = 0;
  }
  void Collect(ui::Container& c) {
    for (ui::Widget* w : c.Children()) {
      widgets_.push_back(w);
      Watch(*w);
      if (auto* sub = dynamic_cast<ui::Container*>(w)) Collect(*sub);
    }
  }
  // While a run goes, only moves, the stop and a click on the window
  // background may be handled: anything else would start a second action.
  void Watch(ui::Widget& w) {
    auto watch = [this, &w](auto& handler, std::string event) {
      if (!handler) return;
      handler = [this, &w, event, h = handler](const auto&... m) {
        if (running_ > 0 && !(event == "click" && (&w == &k->Label34 || &w == k.get())))
          ADD_FAILURE() << event << " on " << w.Name() << " while a run goes";
        h(m...);
      };
    };
    watch(w.Click, "click");
    watch(w.MouseUp, "release");
  }

  // At rest the command bar is shown; during a run only the stop command is,
  // with the run flags set. Every count is seen, one by one (a confirmed
  // clearing starts again).
  void ExpectRunning(bool run) {
    for (ui::Label* l : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION})
      EXPECT_NE(l->Shown(), run) << l->Name();
    EXPECT_EQ(std::make_tuple(running_, k->Label34.Shown(), k->COMPTAGE_I, k->MARCHE_I == 0),
              std::make_tuple(int{run}, run, int16_t{run}, !run));
    EXPECT_TRUE(!run || (k->MARCHE_I <= 2 && !k->FIN.Shown())) << k->MARCHE_I;
    if (k->SN_L == 0 || k->SN_L == counts_made_ + 1) counts_made_ = k->SN_L;
    EXPECT_EQ(k->SN_L, counts_made_) << "counts made unseen";
  }
  void BetweenCounts() {
    ExpectRunning(true);
    ++yields_;
    for (int i = Rand(0, 2); i > 0; --i) RealEvent();
    if (--stop_after_ == 0) k->Label34.FireClick();
  }

  // A pixel anywhere, or inside a random shown widget.
  QPoint Point() {
    if (Rand(0, 9) < 4)
      return QPoint(static_cast<int>(Unit() * 1024), static_cast<int>(Unit() * 768));
    const ui::Widget* w = nullptr;
    while (!w || !w->Shown())
      w = widgets_[static_cast<size_t>(Rand(0, static_cast<int>(widgets_.size()) - 1))];
    const QWidget* v = w->peer()->view;
    return v->mapTo(v->window(), QPoint(static_cast<int>(Unit() * v->width()),
                                        static_cast<int>(Unit() * v->height())));
  }
  // A move, a click, or a press and a release with a move between them.
  void RealEvent() {
    const int c = Rand(0, 9);
    const Qt::MouseButton b = c == 7 || c == 9 ? Qt::RightButton : Qt::LeftButton;
    if (c < 5) {
      QTest::mouseMove(window_, Point());
    } else if (c < 8) {
      QTest::mouseClick(window_, b, {}, Point());
    } else {
      QTest::mousePress(window_, b, {}, Point());
      if (!ui::Ended()) QTest::mouseMove(window_, Point());
      if (!ui::Ended()) QTest::mouseRelease(window_, b, {}, Point());
    }
  }
  // Between two events, with no run going.
  void CheckIdle() {
    ExpectRunning(false);
    EXPECT_LE(k->LANCER_N.Shown() + k->ACTIV.Shown() + k->INFOS.Shown(), 1);
    EXPECT_NE(k->FIN.Visible(), k->BLANCS.Visible());  // only a page hides the quit command
    EXPECT_FALSE(k->DISK_0.Visible());                 // the data file is there
    EXPECT_EQ(k->MousePointer(), ui::Pointer::Arrow);
    int32_t sum = 0;  // the histogram agrees with the statistics
    for (int32_t v = 0; v <= 50; ++v) sum += v * k->EFFECTIF_L[static_cast<size_t>(v)];
    EXPECT_EQ(sum, k->S1_L);
  }

  std::mt19937 rng_{20240607};
  QWindow* window_ = nullptr;
  std::vector<ui::Widget*> widgets_;
  int running_ = 0, runs_ = 0, yields_ = 0, stop_after_ = 1;
  int32_t counts_made_ = 0;
};

TEST_F(MouseFuzzTest, RandomEventsKeepEveryInvariant) {
  Open();
  int ended = 0, pages = 0;
  for (int e = 0; e < 10000 && !HasFailure(); ++e) {
    SCOPED_TRACE("event " + std::to_string(e));
    RealEvent();
    if (ui::Ended()) {  // only by the quit command
      EXPECT_EQ(std::make_tuple(ui::EndReason(), ui::files::IsOpen(2), running_),
                std::make_tuple("quit command", false, 0));
      ++ended;
      Open();
      continue;
    }
    CheckIdle();
    pages += k->BLANCS.Shown();
  }
  EXPECT_TRUE(runs_ > 0 && yields_ > 0 && pages > 0 && ended > 0)
      << runs_ << " runs, " << yields_ << " yields, " << pages << " pages, " << ended << " quits";
  k->peer()->view->hide();
}

}  // namespace
