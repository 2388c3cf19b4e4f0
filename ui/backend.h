// Inside the ui layer, whatever the backend: the layer's global state, the
// twip-to-pixel rule, and what the toolkit-neutral code (widget state, the
// data-file search) asks of the backend that runs it.
//
// Each backend (ui/qt/, ui/web/) has its own internal.h, which includes this
// header and defines struct Peer (the toolkit side of a widget) with
//   static void Create(Widget&);             // a new widget's view
//   static void Sync(Widget&, bool full);    // pushes the widget's state
//   static void Detach(Widget&);             // the widget is being destroyed
//   static bool Dirty(const Widget&); static void ClearDirty(Widget&);
// The neutral sources include "internal.h", found in the backend's directory.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/ui.h"

namespace ui {

// Global state of the layer.
struct State {
  // Seams.
  float seam_w = 0, seam_h = 0;
  double seam_ratio = 1;
  std::function<float()> clock;
  std::function<double()> steady;  // monotonic milliseconds; empty: the real clock
  std::function<DateTime()> now;
  std::function<std::string(const std::string&)> save_dialog;
  std::vector<std::string> data_files;
  Handler yield_hook;

  // End of program.
  bool ended = false;
  std::string end_reason;

  // Widgets with changes not yet pushed to the toolkit.
  std::vector<Widget*> dirty;
  std::vector<Form*> forms;
  int handler_depth = 0;
  double last_frame = -1e300;  // steady milliseconds of the last push

  // The click rule (see HeldAt). The window system stamps input with its own
  // millisecond clock; the latest input routed ties that clock to ours.
  bool input_seen = false;
  double input_stamp = 0;  // its time stamp
  double input_at = 0;     // steady milliseconds when it was routed
  // Steady milliseconds when the running top-level handler began.
  double held_since = 0;
  // The last stretches during which a handler held the thread, in the window
  // system's time: a press stamped in (from + 1, to] was made during one.
  // Input that reached the program at a yield meanwhile was handled there;
  // what is still waiting at the end was aimed at what the handler showed.
  struct Held {
    double from = 0, to = 0;
  };
  static constexpr int kHeldKept = 8;
  Held held[kHeldKept];
  int held_next = 0;

  // The screen as start-up read it: every part of the program uses this
  // reading, even if the resolution changes later (a projector plugged in).
  struct Screen {
    bool read = false;
    float width = 0, height = 0;  // logical twips
    int magnification = 1;        // whole factor that divided a too-large screen
    double ratio = 1;             // device pixels to a logical pixel
  } screen;
};
State& S();

// Virtual pixel of a twip coordinate: floor(t / 15 + 0.5). Values beyond
// any screen are clamped first, so the conversion is defined. Written
// without std::floor, which is a library call on the baseline x86-64 target
// and the hot spot of drawing a histogram bar.
inline int VPx(double twips) {
  double p = twips * (1.0 / 15.0) + 0.5;
  if (!(p > -1e8)) return -100000000;  // also NaN
  if (p > 1e8) return 100000000;
  int i = static_cast<int>(p);  // truncates toward zero
  return i - (p < i);
}

// Pixel size of a font of that many points: a point is 4/3 of a logical
// pixel (96 per inch), times the magnification; at least 1 (NaN too).
inline int FontPixelSize(float points, int scale) {
  const double px = std::floor(static_cast<double>(points) * 4.0 / 3.0 * scale + 0.5);
  return static_cast<int>(std::fmax(px, 1.0));
}

// The pixels of a line between two virtual pixels, both ends included: a
// vertical or horizontal line is one rectangle, plot(x0, y0, x1, y1); any
// other slope one pixel per step along the longer axis, plot(x, y, x, y).
template <class Plot>
void RasterLine(int ax, int ay, int bx, int by, Plot plot) {
  if (ax == bx || ay == by) {
    plot(ax, ay, bx, by);
    return;
  }
  const long long dx = std::llabs(static_cast<long long>(bx) - ax);
  const long long dy = std::llabs(static_cast<long long>(by) - ay);
  const long long steps = std::min<long long>(std::max(dx, dy), 1 << 20);
  for (long long i = 0; i <= steps; ++i) {
    double t = steps ? static_cast<double>(i) / static_cast<double>(steps) : 0.0;
    int px = static_cast<int>(std::floor(ax + (bx - ax) * t + 0.5));
    int py = static_cast<int>(std::floor(ay + (by - ay) * t + 0.5));
    plot(px, py, px, py);
  }
}

// Whether the vertical lines at xs, from y1 to y2, are one filled bar: of
// some length, in increasing order less than a pixel apart, so that they
// cover every column from the first to the last.
inline bool OneBar(const float* xs, int n, float y1, float y2) {
  bool one = n > 0 && y1 != y2;
  for (int i = 1; i < n && one; ++i) one = xs[i] >= xs[i - 1] && xs[i] - xs[i - 1] <= 15.0f;
  return one;
}

// Histogram bars a surface filled whole and nothing has touched since: a bar
// raised by one count then costs only its new rows, the rows below already
// holding its colour. Coordinates are a surface's pixels, inclusive, their
// ends in any order; raw(x0, y0, x1, y1) writes the pixels of a rectangle
// whose ends are in order.
template <class Color>
class BarMemory {
 public:
  void Forget() { bars_.clear(); }
  // Any fill: the bars it touches are forgotten.
  template <class Raw>
  void Fill(int x0, int y0, int x1, int y1, Raw raw) {
    const int l = std::min(x0, x1), r = std::max(x0, x1);
    const int t = std::min(y0, y1), b = std::max(y0, y1);
    auto hit = [&](const Bar& bar) {
      return bar.x0 <= r && l <= bar.x1 && bar.top <= b && t <= bar.bottom;
    };
    bars_.erase(std::remove_if(bars_.begin(), bars_.end(), hit), bars_.end());
    raw(l, t, r, b);
  }
  // The bar of columns x0..x1 from y0 to its base y1: only its new rows when
  // a bar is remembered on the same columns and base in that colour.
  template <class Raw>
  void FillBar(int x0, int x1, int y0, int y1, Color color, Raw raw) {
    const auto [l, r] = std::minmax(x0, x1);
    const auto [top, base] = std::minmax(y0, y1);
    for (Bar& b : bars_) {
      if (b.x0 != l || b.x1 != r || b.bottom != base || b.color != color) continue;
      if (top < b.top) raw(l, top, r, b.top - 1);  // the bar, taller
      b.top = std::min(b.top, top);
      return;
    }
    Fill(l, top, r, base, raw);
    if (bars_.size() >= 64) bars_.erase(bars_.begin());
    bars_.push_back(Bar{l, r, top, base, color});
  }

 private:
  struct Bar {
    int x0, x1, top, bottom;
    Color color;
  };
  std::vector<Bar> bars_;
};

// Width and height of a PNG image from the first 24 bytes of its file (its
// signature and header chunk); false when they are not those of a PNG.
bool PngSize(const unsigned char* head, size_t length, int& width, int& height);

// Pushes every widget changed since the last push to the toolkit (the first
// half of Flush, the same in every backend).
void PushWidgets();

// The tooltip a widget offers: a disabled command reacts to nothing, its
// tooltip included.
const std::string& OfferedToolTip(const Widget& w);

// Monotonic milliseconds (the steady-clock seam when set).
double SteadyMs();
// The click rule: each input event routed is noted with the window system's
// time stamp; a top-level handler that could hold the thread notes the
// stretch it held it; a press is held, and dropped with its release, when
// it was made during such a stretch.
void NoteInput(uint64_t stamp);
void NoteHeld(double from_ms, double to_ms);
bool HeldAt(uint64_t stamp);

// ------------------------------------------------- provided by the backend

// Runs an event handler as Dispatch does; a handler that cannot hold the
// thread (a move's) leaves no held stretch behind: input that comes with a
// move is never dropped.
void DispatchHandler(const Handler& h, bool can_hold);
// Ends the program: records why, closes every open file, then the windows.
void EndNow(const std::string& reason);

// The windows go and nothing reaches the program any more.
void CloseWindows();
// A top-level handler held the thread from from_ms to to_ms (steady
// milliseconds): the clicks made meanwhile are to be dropped.
void HandlerHeld(double from_ms, double to_ms);

// Width of a text in that font, in logical pixels (not rounded).
double TextWidth(const std::string& face, float points, bool bold, const std::string& text);
// Height of a line of text in that font, in twips of whole pixels.
float LineHeight(const std::string& face, float points, bool bold);
// Size in pixels of a bitmap of the program ("logo.xpm", "stat1.png");
// false, and 0 x 0, when there is none.
bool PicturePixels(const std::string& name, int& width, int& height);
// The program's own directory and the user's home, for the data-file search.
std::string ProgramDir();
std::string HomeDir();

}  // namespace ui
