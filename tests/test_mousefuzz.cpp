// A mouse fuzzer from a fixed seed: real toolkit events over the shown window
// and events fired at random widgets, with runs stopped after a few counts and
// a new window after the quit command; invariants checked after every event.
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <random>

#include "fixture.h"
#include "ui/internal.h"

namespace {

class MouseFuzzTest : public KestorTest {
 protected:
  // A new window, shown and watched; each pause ends at its first poll.
  void Open() {
    Start(1024, 768, {}, 43210.0f);
    ui::seams::SetClock([this] { return clock_ += 2.5f; });
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    window_ = k->peer()->view->windowHandle();
    ASSERT_NE(window_, nullptr);
    widgets_.clear();
    Collect(*k);
    k->LANCER_N.MouseUp = [this, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
      ++running_;
      ++runs_;
      yields_in_run_ = 0;
      stop_after_ = std::uniform_int_distribution<int>(1, 4)(rng_);
      h(m);
      --running_;
    };
    Watch(*k);
    for (ui::Widget* w : widgets_) Watch(*w);
    ui::seams::SetYieldHook([this] { BetweenCounts(); });
    counts_.clear();
  }
  void Collect(ui::Container& c) {
    for (ui::Widget* w : c.Children()) {
      widgets_.push_back(w);
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

  void BetweenCounts() {
    EXPECT_EQ(running_, 1);
    EXPECT_EQ(k->COMPTAGE_I, 1);
    EXPECT_TRUE(k->MARCHE_I == 1 || k->MARCHE_I == 2) << k->MARCHE_I;
    for (ui::Label* l : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION, &k->FIN})
      EXPECT_FALSE(l->Shown()) << l->Name() << " during a run";
    EXPECT_TRUE(k->Label34.Shown());
    NoteCount();
    ++yields_;
    for (int i = std::uniform_int_distribution<int>(0, 2)(rng_); i > 0; --i) RealEvent();
    if (++yields_in_run_ >= stop_after_) k->Label34.FireClick();
  }
  // The counts seen one by one (a confirmed clearing forgets them).
  void NoteCount() {
    const auto seen = static_cast<int32_t>(counts_.size());
    if (k->SN_L == seen + 1) {
      counts_.push_back(k->N1C_L);
    } else if (k->SN_L == 0 && seen > 0) {
      counts_.clear();
    } else {
      EXPECT_EQ(k->SN_L, seen) << "counts made unseen";
    }
  }

  // A pixel anywhere, or inside a random (mostly shown) widget.
  QPoint Point() {
    const int c = std::uniform_int_distribution<int>(0, 9)(rng_);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    if (c < 4) return QPoint(static_cast<int>(u(rng_) * 1024), static_cast<int>(u(rng_) * 768));
    std::vector<ui::Widget*> shown;
    for (ui::Widget* w : widgets_)
      if (w->Shown() || c == 9) shown.push_back(w);
    const ui::Widget& w = *shown[std::uniform_int_distribution<size_t>(0, shown.size() - 1)(rng_)];
    float x = w.Left() + u(rng_) * w.Width(), y = w.Top() + u(rng_) * w.Height();
    for (ui::Container* p = w.Parent(); p && p->Parent(); p = p->Parent()) {
      x += p->Left();
      y += p->Top();
    }
    return QPoint(std::clamp(static_cast<int>(x / 15), 0, 1023),
                  std::clamp(static_cast<int>(y / 15), 0, 767));
  }
  // A move, a click, or a press and a release with a move between them.
  void RealEvent() {
    const int c = std::uniform_int_distribution<int>(0, 9)(rng_);
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
  // An event fired at a random widget (hidden or disabled ones must ignore it).
  void DirectEvent() {
    ui::Widget& w = *widgets_[std::uniform_int_distribution<size_t>(0, widgets_.size() - 1)(rng_)];
    if (auto* list = dynamic_cast<ui::ListBox*>(&w))
      list->SetListIndex(std::uniform_int_distribution<int>(-1, list->ListCount())(rng_));
    std::uniform_real_distribution<float> x(-100.0f, 16000.0f), y(-100.0f, 12000.0f);
    const ui::Mouse m{1, 0, x(rng_), y(rng_)};
    const int c = std::uniform_int_distribution<int>(0, 3)(rng_);
    c == 0   ? w.FireClick()
    : c == 1 ? w.FireMouseMove(m)
    : c == 2 ? w.FireMouseUp(m)
             : k->FireMouseMove(m);  // over the histogram, most often
  }

  // Between two events, with no run going.
  void CheckIdle() {
    EXPECT_EQ(running_, 0);
    EXPECT_LE(k->LANCER_N.Shown() + k->ACTIV.Shown() + k->INFOS.Shown(), 1);
    for (ui::Label* l : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION})
      EXPECT_TRUE(l->Visible()) << l->Name();
    EXPECT_NE(k->FIN.Visible(), k->BLANCS.Visible());  // only a page hides the quit command
    EXPECT_FALSE(k->Label34.Visible());
    EXPECT_EQ(k->COMPTAGE_I + k->MARCHE_I, 0);
    EXPECT_EQ(k->MousePointer(), ui::Pointer::Arrow);
    EXPECT_FALSE(k->DISK_0.Visible());  // the data file is there
    // The statistics and the histogram agree with the counts seen.
    NoteCount();
    std::vector<int32_t> classes(41);  // 0 to 40, those a clearing empties
    int32_t sum = 0;
    for (int32_t v : counts_) {
      sum += v;
      if (v >= 0 && v <= 40) ++classes[static_cast<size_t>(v)];
    }
    EXPECT_EQ(k->S1_L, sum);
    EXPECT_EQ(std::vector<int32_t>(k->EFFECTIF_L.begin(), k->EFFECTIF_L.begin() + 41), classes);
  }

  std::mt19937 rng_{20240607};
  QWindow* window_ = nullptr;
  std::vector<ui::Widget*> widgets_;
  int running_ = 0, runs_ = 0, yields_ = 0, yields_in_run_ = 0, stop_after_ = 1;
  std::vector<int32_t> counts_;
};

TEST_F(MouseFuzzTest, RandomEventsKeepEveryInvariant) {
  Open();
  int ended = 0, pages = 0;
  for (int e = 0; e < 10000 && !HasFailure(); ++e) {
    SCOPED_TRACE("event " + std::to_string(e));
    if (std::uniform_int_distribution<int>(0, 3)(rng_) == 0) {
      DirectEvent();
    } else {
      RealEvent();
    }
    if (ui::Ended()) {  // only by the quit command
      EXPECT_EQ(ui::EndReason(), "quit command");
      EXPECT_FALSE(ui::files::IsOpen(2));
      EXPECT_EQ(running_, 0);
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
