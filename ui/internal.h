// Inside the ui layer: the toolkit side of widgets, the layer's global state
// and the twip-to-pixel rule. Only ui/*.cpp include this header.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace ui {

// The toolkit side of one widget. The QWidget is owned by its Qt parent
// (every widget's parent is the form's own QWidget, directly or through a
// picture box); only the form's top-level QWidget is owned here.
struct Peer {
  QPointer<QWidget> view;
  std::unique_ptr<QWidget> top;  // the form only
  // What the toolkit currently shows, to skip calls that change nothing.
  QRect shown_rect;
  bool shown_visible = false;
  bool fresh = true;

  static void Create(Widget& w);
  static void Sync(Widget& w, bool full);
  static void Detach(Widget& w);
  // A list's selection changed by the mouse.
  static void ListPicked(ListBox& l, int row);
  // Copies the exposed part of the form's surface to the screen.
  static void PaintSurface(Form& f, class QPainter& p, const QRect& r);
  static Surface* SurfaceOf(Form& f) { return f.surface_.get(); }
  static bool Dirty(const Widget& w) { return w.dirty_; }
  static void ClearDirty(Widget& w) { w.dirty_ = false; }
};

// The drawing surface of a form: an image of the screen at the device's
// resolution, `ratio` device pixels to a logical pixel (a HiDPI display, a
// magnified screen, or both), so that drawn text is as sharp as the labels.
// Primitives work in logical pixels; a logical pixel is the block of device
// pixels from floor(x * ratio) to floor((x + 1) * ratio) - 1. Vertical lines of one colour and one
// span that follow each other column by column (the many lines of a histogram bar) are gathered
// into one filled rectangle; any other operation or read-back draws the gathered run first.
struct Surface {
  QImage image;
  double ratio = 1;
  QSize size;   // logical pixels
  QRect dirty;  // logical pixels changed since the last repaint request
  struct Run {
    bool active = false;
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;  // logical pixels, inclusive
    QRgb color = 0;
    float ty0 = 0, ty1 = 0;  // the twip ends the run's lines were given
  } run;

  Surface(QSize logical_size, double ratio);
  void FillLogical(int x0, int y0, int x1, int y1, QRgb color);  // inclusive, logical pixels
  // First device pixel of a logical coordinate.
  long long Device(long long logical) const;
  void FlushRun();
  void Forget() { painted.clear(); }

  // Rectangles that gathered runs filled and that nothing has touched since
  // (histogram bars). A bar raised by one count then costs only its new
  // rows: the rows below already hold its colour.
  struct Painted {
    int x0, x1, top, bottom;
    QRgb color;
  };
  std::vector<Painted> painted;

 private:
  void FillRaw(int x0, int y0, int x1, int y1, QRgb color);
  void Invalidate(int x0, int y0, int x1, int y1);

 public:
  void VerticalLine(int x, int y0, int y1, QRgb color);
  uchar* bits = nullptr;  // the image's pixels, detached once
  qsizetype stride = 0;
};

// Global state of the layer.
struct State {
  // Seams.
  float seam_w = 0, seam_h = 0;
  double seam_ratio = 1;
  std::function<float()> clock;
  std::vector<std::string> data_files;
  Handler yield_hook;

  // End of program.
  bool ended = false;
  std::string end_reason;

  std::function<double()> steady;  // monotonic milliseconds; empty: the real clock

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

// Puts the program's own font configuration in place (when its faces are
// installed); before the toolkit first looks at fonts.
void UseOwnFontConfiguration();
// Font face actually used for a face name the program asks for: the named
// face when installed, else a metric-compatible Liberation face.
QString ResolveFace(const std::string& face);
// The font for face/points/bold in logical pixels: text is measured and
// drawn with this one font (the toolkit renders it at the device's ratio).
const QFont& FontFor(const std::string& face, float points, bool bold);
const QFontMetricsF& MetricsFor(const std::string& face, float points, bool bold);
// Height of a line of text in that font, in twips of whole pixels.
float LineHeight(const std::string& face, float points, bool bold);

// Monotonic milliseconds (the test seam's when one is set).
double SteadyMs();
// The click rule. Every input event routed to a widget is noted with its time
// stamp; a press still waiting when a handler ends is taken only when it was
// not made while that handler ran (its click would land on whatever the
// handler put under the pointer). A move's handler never holds a click.
void NoteInput(quint64 stamp);
bool HeldAt(quint64 stamp);
// Runs an event handler as Dispatch does; a handler that cannot hold the
// thread (a move's) leaves no held stretch behind.
bool DispatchHandler(const Handler& h, bool can_hold);

// Puts the main thread's dispatcher in place; before the QApplication.
void InstallDispatcher();
// Whether something woke the event loop since the last call (and forgets
// it): input, a posted event, a repaint request. True when our dispatcher is
// not the one in use.
bool TakeWakeUp();

// A bitmap of the program by name ("logo.xpm", "stat1.png"): its size in
// pixels, and its pixels (null, or an invalid size, when there is none).
QSize PictureSize(const std::string& name);
QPixmap LoadPicture(const std::string& name);

QString Q(const std::string& s);
QColor ToQColor(Rgb c);

// Reads the screen, once: its size, and the magnification and device ratio
// the program runs it at. Applies that ratio to the toolkit's screen.
const State::Screen& ReadScreen();

// Logical pixel of a twip coordinate: floor(t / 15 + 0.5). Values beyond
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
// Pixel rectangle of a widget's twip rectangle (relative to its container).
QRect PixelRect(float left, float top, float width, float height);

}  // namespace ui
