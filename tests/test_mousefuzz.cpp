// A mouse fuzzer: thousands of random moves, clicks and press/release pairs
// over the whole shown window, sent as real toolkit events, mixed with events
// fired straight at random widgets, from a fixed seed. Runs started on the
// way are let through a few counts (with random events in between) and then
// stopped; the quit command ends the program, and a new window takes over.
// After every event the invariants a user relies on are checked.
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "fixture.h"
#include "ui/internal.h"

namespace {

constexpr int kEvents = 10000;
constexpr unsigned kSeed = 20240607;
constexpr int kMostCountsARun = 4;

class MouseFuzzTest : public KestorTest {
 protected:
  // A new window, shown, with every handler watched and a clock that ends
  // each pause of the continuous run at its first poll.
  void Open() {
    Start(1024, 768, {}, 43210.0f);
    ui::seams::SetClock([this] { return clock_ += 2.5f; });
    ui::Application::ShowForm(*k);
    QCoreApplication::processEvents();
    window_ = k->peer()->view->windowHandle();
    ASSERT_NE(window_, nullptr);
    widgets_.clear();
    Collect(*k);
    WatchRunner();
    Watch(*k);
    for (ui::Widget* w : widgets_) Watch(*w);
    ui::seams::SetYieldHook([this] { BetweenCounts(); });
    since_clearing_.clear();
    by_value_ = {};
  }

  void Collect(ui::Container& c) {
    for (ui::Widget* w : c.Children()) {
      widgets_.push_back(w);
      if (auto* sub = dynamic_cast<ui::Container*>(w)) Collect(*sub);
    }
  }

  // While a run goes, the only handlers that may run are the moves, the
  // stop command and a click on the window background: anything else would
  // start a second action inside the run.
  void Entered(const ui::Widget& w, const char* event) {
    if (running_ == 0) return;
    const bool allowed = std::string(event) == "move" ||
                         (std::string(event) == "click" && (&w == &k->Label34 || &w == k.get()));
    if (!allowed) ADD_FAILURE() << event << " on " << w.Name() << " while a run goes";
  }
  void Watch(ui::Widget& w) {
    if (w.Click) {
      w.Click = [this, &w, h = w.Click] {
        Entered(w, "click");
        h();
      };
    }
    if (w.MouseMove) {
      w.MouseMove = [this, &w, h = w.MouseMove](const ui::Mouse& m) {
        Entered(w, "move");
        h(m);
      };
    }
    if (w.MouseUp) {
      w.MouseUp = [this, &w, h = w.MouseUp](const ui::Mouse& m) {
        Entered(w, "release");
        h(m);
      };
    }
  }
  // The runner, counted while it runs (watched itself like the others).
  void WatchRunner() {
    k->LANCER_N.MouseUp = [this, h = k->LANCER_N.MouseUp](const ui::Mouse& m) {
      struct Running {
        int& depth;
        explicit Running(int& d) : depth(d) { ++depth; }
        ~Running() { --depth; }
      } running(running_);
      ++runs_;
      yields_in_run_ = 0;
      stop_after_ = std::uniform_int_distribution<int>(1, kMostCountsARun)(rng_);
      h(m);
    };
  }

  // At each yield of a run: the command bar is hidden and the stop shown;
  // the count just made is noted; a few random events come in; after a few
  // counts the stop is clicked.
  void BetweenCounts() {
    EXPECT_EQ(running_, 1);
    EXPECT_EQ(k->COMPTAGE_I, 1);
    EXPECT_TRUE(k->MARCHE_I == 1 || k->MARCHE_I == 2) << k->MARCHE_I;
    for (ui::Label* l : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION, &k->FIN})
      EXPECT_FALSE(l->Shown()) << l->Name() << " during a run";
    EXPECT_TRUE(k->Label34.Shown());
    NoteCount();
    ++yields_;
    std::uniform_int_distribution<int> few(0, 2);
    for (int i = few(rng_); i > 0; --i) RealEvent();
    if (++yields_in_run_ >= stop_after_) k->Label34.FireClick();
  }

  // The shadow of the statistics: counts as seen one by one.
  void NoteCount() {
    const auto seen = static_cast<int32_t>(since_clearing_.size());
    if (k->SN_L == seen + 1) {
      since_clearing_.push_back(k->N1C_L);
      if (k->N1C_L >= 0 && k->N1C_L <= 50) ++by_value_[static_cast<size_t>(k->N1C_L)];
    } else if (k->SN_L == 0 && seen > 0) {
      since_clearing_.clear();  // a confirmed clearing
    } else {
      EXPECT_EQ(k->SN_L, seen) << "counts made unseen";
    }
  }

  // A point of the window in pixels: anywhere, or inside a random widget
  // (mostly a shown one), so that commands, lists and pages get hit.
  QPoint Point() {
    std::uniform_int_distribution<int> coin(0, 9);
    const int c = coin(rng_);
    if (c < 4) {
      return QPoint(std::uniform_int_distribution<int>(0, 1023)(rng_),
                    std::uniform_int_distribution<int>(0, 767)(rng_));
    }
    std::vector<ui::Widget*> shown;
    for (ui::Widget* w : widgets_)
      if (w->Shown() || c == 9) shown.push_back(w);
    const ui::Widget& w = *shown[std::uniform_int_distribution<size_t>(0, shown.size() - 1)(rng_)];
    float x = w.Left(), y = w.Top();
    for (ui::Container* p = w.Parent(); p && p->Parent(); p = p->Parent()) {
      x += p->Left();
      y += p->Top();
    }
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    const int px = static_cast<int>((x + u(rng_) * w.Width()) / 15);
    const int py = static_cast<int>((y + u(rng_) * w.Height()) / 15);
    return QPoint(std::clamp(px, 0, 1023), std::clamp(py, 0, 767));
  }

  // One event as the toolkit delivers it: a move, a click, or a press and a
  // release with a move between them (left or right button).
  void RealEvent() {
    std::uniform_int_distribution<int> kind(0, 9);
    const int c = kind(rng_);
    if (c < 5) {
      QTest::mouseMove(window_, Point());
    } else if (c < 8) {
      QTest::mouseClick(window_, c == 7 ? Qt::RightButton : Qt::LeftButton, {}, Point());
    } else {
      const Qt::MouseButton b = c == 9 ? Qt::RightButton : Qt::LeftButton;
      QTest::mousePress(window_, b, {}, Point());
      if (ui::Ended()) return;
      QTest::mouseMove(window_, Point());
      if (ui::Ended()) return;
      QTest::mouseRelease(window_, b, {}, Point());
    }
  }

  // One event fired straight at a random widget, shown or not (a hidden or
  // disabled one must ignore it), with a random selection in a list.
  void DirectEvent() {
    ui::Widget& w = *widgets_[std::uniform_int_distribution<size_t>(0, widgets_.size() - 1)(rng_)];
    if (auto* list = dynamic_cast<ui::ListBox*>(&w)) {
      list->SetListIndex(std::uniform_int_distribution<int>(-1, list->ListCount())(rng_));
    }
    std::uniform_real_distribution<float> x(-100.0f, 16000.0f), y(-100.0f, 12000.0f);
    const ui::Mouse m{1, 0, x(rng_), y(rng_)};
    switch (std::uniform_int_distribution<int>(0, 3)(rng_)) {
      case 0:
        w.FireClick();
        break;
      case 1:
        w.FireMouseMove(m);
        break;
      case 2:
        w.FireMouseUp(m);
        break;
      default:
        k->FireMouseMove(m);  // over the histogram, most often
        break;
    }
  }

  // Between two events, with no run going.
  void CheckIdle(int event) {
    SCOPED_TRACE("after event " + std::to_string(event));
    EXPECT_EQ(running_, 0);
    int lists = 0;
    for (ui::ListBox* l : {&k->LANCER_N, &k->ACTIV, &k->INFOS}) lists += l->Shown();
    EXPECT_LE(lists, 1);
    // The command bar is back, the stop hidden.
    for (ui::Label* l : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION})
      EXPECT_TRUE(l->Visible()) << l->Name();
    EXPECT_NE(k->FIN.Visible(), k->BLANCS.Visible());  // only a page hides the quit command
    EXPECT_FALSE(k->Label34.Visible());
    EXPECT_EQ(k->COMPTAGE_I, 0);
    EXPECT_EQ(k->MARCHE_I, 0);
    EXPECT_EQ(k->MousePointer(), ui::Pointer::Arrow);
    // The data file is there: the missing-file panel never shows.
    EXPECT_FALSE(k->DISK_0.Visible());
    EXPECT_EQ(k->ERREUR_I, 0);
    // The statistics and the histogram agree.
    NoteCount();
    int64_t in_classes = 0, sum_of_classes = 0;
    for (int i = 0; i <= 40; ++i) {
      in_classes += k->EFFECTIF_L[static_cast<size_t>(i)];
      sum_of_classes += int64_t{i} * k->EFFECTIF_L[static_cast<size_t>(i)];
    }
    EXPECT_GE(k->SN_L, in_classes);
    EXPECT_GE(k->S1_L, sum_of_classes);
    std::array<int32_t, 51> classes{};
    int32_t sum = 0;
    for (int32_t v : since_clearing_) {
      sum += v;
      if (v >= 0 && v <= 40) ++classes[static_cast<size_t>(v)];
    }
    for (size_t i = 41; i <= 50; ++i) classes[i] = by_value_[i];
    EXPECT_EQ(k->S1_L, sum);
    EXPECT_EQ(k->EFFECTIF_L, classes);
  }

  std::mt19937 rng_{kSeed};
  QWindow* window_ = nullptr;
  std::vector<ui::Widget*> widgets_;
  int running_ = 0;
  int yields_in_run_ = 0;
  int stop_after_ = 1;
  std::vector<int32_t> since_clearing_;
  std::array<int32_t, 51> by_value_{};
  int runs_ = 0;
  int yields_ = 0;
};

TEST_F(MouseFuzzTest, RandomEventsKeepEveryInvariant) {
  Open();
  int ended = 0, pages = 0;
  for (int e = 0; e < kEvents && !HasFailure(); ++e) {
    if (std::uniform_int_distribution<int>(0, 3)(rng_) == 0) {
      DirectEvent();
    } else {
      RealEvent();
    }
    if (ui::Ended()) {
      // Only the quit command ends the program here.
      EXPECT_EQ(ui::EndReason(), "quit command");
      EXPECT_FALSE(ui::files::IsOpen(2));
      EXPECT_EQ(running_, 0);
      ++ended;
      Open();
      continue;
    }
    CheckIdle(e);
    pages += k->BLANCS.Shown();
  }
  // The seed reaches runs with counts between which events come in, pages
  // and the quit command.
  EXPECT_GT(runs_, 0);
  EXPECT_GT(yields_, 0);
  EXPECT_GT(pages, 0);
  EXPECT_GT(ended, 0);
  k->peer()->view->hide();
}

}  // namespace
