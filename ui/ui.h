// The program's only door to the windowing toolkit.
//
// Everything outside ui/ sees widgets, a drawing surface, a clock, a text
// reader and an event loop through this header, in twips (15 to a logical
// pixel) and points, with plain C++ types. No toolkit header leaks out.
//
// Widget state lives here, in plain members, and is pushed to the toolkit in
// batches (after each event handler, and at most once per display frame
// while a handler yields), so a series of counts can change captions and
// visibility millions of times at the cost of a few member writes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
};
constexpr Rgb RGB(int r, int g, int b) {
  return Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
}

// The 16-colour palette: 9 light blue, 11 light cyan, 12 light red,
// 13 light magenta, 15 white, and the ten others of the classic set.
Rgb QBColor(int index);

enum class Align { Left, Center };
enum class Pointer { Arrow, Hourglass };
enum class Kind { Form, Label, PictureBox, ListBox, Image };
// The platform's copy and save shortcuts: Ctrl+C and Ctrl+S (in a browser
// on a Mac keyboard, ⌘C and ⌘S too).
enum class Shortcut { Copy, Save };

// Mouse event arguments: x and y in twips, relative to the widget itself
// (no handler asks which button or key was held: only the left button acts).
struct Mouse {
  float x = 0;
  float y = 0;
};

using Handler = std::function<void()>;
using MouseHandler = std::function<void(const Mouse&)>;

class Container;
struct Peer;     // the toolkit side of a widget, known only inside ui/
struct Surface;  // the form's drawing surface, known only inside ui/

// Twips per logical pixel.
constexpr float kTwipsPerPixel = 15.0f;

// ---------------------------------------------------------------- widgets

class Widget {
 public:
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;
  virtual ~Widget();

  const std::string& Name() const { return name_; }
  Kind GetKind() const { return kind_; }
  Container* Parent() const { return parent_; }

  // Geometry in twips, relative to the container.
  virtual float Left() const { return left_; }
  virtual float Top() const { return top_; }
  virtual float Width() const { return width_; }
  virtual float Height() const { return height_; }
  void SetLeft(float v);
  void SetTop(float v);
  virtual void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top) {
    SetLeft(left);
    SetTop(top);
  }

  // The widget's own flag; a child of a hidden container keeps its flag but
  // is not drawn and receives nothing.
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  // True when this widget and all its containers are visible.
  bool Shown() const;

  const std::string& ToolTipText() const { return tooltip_; }
  void SetToolTipText(const std::string& t);

  // Event handlers, set by the window that owns the widget.
  Handler Click;
  MouseHandler MouseMove;
  MouseHandler MouseUp;

  // Deliver an event as the toolkit would: nothing happens when the widget
  // is not shown (or is a disabled label). Used by tests and by the toolkit
  // side itself; nothing happens either once the program has ended.
  void FireClick();
  void FireMouseMove(const Mouse& m = {});
  void FireMouseUp(const Mouse& m = {});

  // Toolkit side; ui/ internal.
  Peer* peer() const { return peer_.get(); }
  void MarkDirty();

 protected:
  Widget(Container* parent, std::string name, Kind kind);
  virtual bool AcceptsInput() const { return Shown(); }
  // Sets a property; a change marks the widget for the next push to the
  // toolkit. Returns whether anything changed.
  template <class T>
  bool Assign(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    MarkDirty();
    return true;
  }

  Container* parent_;
  std::string name_;
  Kind kind_;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  std::string tooltip_;
  bool dirty_ = false;
  std::unique_ptr<Peer> peer_;
  friend struct Peer;
  friend void Flush();
};

class Container : public Widget {
 public:
  Rgb BackColor() const { return back_; }
  void SetBackColor(Rgb c);
  const std::vector<Widget*>& Children() const { return children_; }

 protected:
  Container(Container* parent, std::string name, Kind kind);
  Rgb back_ = RGB(255, 255, 255);
  std::vector<Widget*> children_;
  friend class Widget;
};

class PictureBox : public Container {
 public:
  PictureBox(Container& parent, std::string name);
};

// A text with a font. With auto-size on, width and height follow caption and
// font at once (read lazily: the text is measured when a size is read).
class Label : public Widget {
 public:
  Label(Container& parent, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);

  const std::string& FontName() const { return font_name_; }
  void SetFontName(const std::string& f);
  float FontSize() const { return font_size_; }
  void SetFontSize(float points);
  bool FontBold() const { return bold_; }
  void SetFontBold(bool b);

  Rgb ForeColor() const { return fore_; }
  void SetForeColor(Rgb c);
  Rgb BackColor() const { return back_; }
  void SetBackColor(Rgb c);
  Align Alignment() const { return align_; }
  void SetAlignment(Align a);
  bool Border() const { return border_; }
  void SetBorder(bool b);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);

  void SetAutoSize(bool a);

  float Width() const override;
  float Height() const override;
  void SetWidth(float v) override;

 protected:
  bool AcceptsInput() const override { return Shown() && enabled_; }

 private:
  void Remeasure() const;
  // Assigns what the text's measure depends on: an auto-sized label measures again.
  template <class T>
  void AssignMeasured(T& field, const T& value) {
    if (Assign(field, value) && autosize_) stale_ = true;
  }
  std::string caption_;
  std::string font_name_ = "Microsoft Sans Serif";
  float font_size_ = 8.25f;
  bool bold_ = false;
  Rgb fore_ = RGB(0, 0, 0);
  Rgb back_ = RGB(255, 255, 255);
  Align align_ = Align::Left;
  bool border_ = false;
  bool enabled_ = true;
  bool autosize_ = false;
  // Auto-sized and not measured since the text or font changed; false while
  // auto-size is off.
  mutable bool stale_ = false;
  friend struct Peer;
};

// A list of text items with a selected index (-1 for none). Its height is
// rounded to whole rows, at least one; r = one row's height.
class ListBox : public Widget {
 public:
  ListBox(Container& parent, std::string name);

  void AddItem(const std::string& item);
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int i) const;
  int ListIndex() const { return index_; }
  void SetListIndex(int i);

  float FontSize() const { return font_size_; }
  void SetFontSize(float points);
  Rgb BackColor() const { return back_; }
  void SetBackColor(Rgb c);

  float RowHeight() const;  // twips
  float Height() const override;

 private:
  std::vector<std::string> items_;
  int index_ = -1;
  float font_size_ = 8.25f;
  Rgb back_ = RGB(255, 255, 255);
  friend struct Peer;
};

// Shows a bitmap of the program ("logo.xpm", compiled in, or "stat1.png"),
// stretched to the widget when Stretch is on, else at the bitmap's own size.
class Image : public Widget {
 public:
  Image(Container& parent, std::string name);
  void SetPicture(const std::string& resource);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool s);
  // Pixel size of the bitmap (0 x 0 when none or when it failed to load).
  int PictureWidth() const { return pic_w_; }
  int PictureHeight() const { return pic_h_; }

 private:
  void FitToPicture();  // not stretched: the widget takes the bitmap's size
  std::string resource_;
  bool stretch_ = false;
  int pic_w_ = 0, pic_h_ = 0;
  friend struct Peer;
};

// ------------------------------------------------------------ the window

// The one window: a container placed on the screen (PlaceOnScreen; the rest
// of the screen shows black), with a drawing surface of its size under its
// widgets. The surface keeps what is drawn (covering the window
// and exposing it again shows the same picture) until a clear or a filled
// box erases it. Coordinates in twips; a twip coordinate t lands on pixel
// floor(t / 15 + 0.5); lines and filled boxes include both end pixels; a
// line from a point to the very same point draws nothing.
class Form : public Container {
 public:
  explicit Form(std::string name);
  ~Form() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);

  // Window font, used by Print.
  const std::string& FontName() const { return font_name_; }
  void SetFontName(const std::string& f) { font_name_ = f; }
  float FontSize() const { return font_size_; }
  void SetFontSize(float points) { font_size_ = points; }

  Rgb ForeColor() const { return fore_; }
  void SetForeColor(Rgb c) { fore_ = c; }

  Pointer MousePointer() const { return pointer_; }
  void SetMousePointer(Pointer p);

  // Puts the window at that place of the screen (twips, whole pixels), its
  // drawing surface made anew, blank, when its size changes.
  void PlaceOnScreen(float left, float top, float width, float height);

  // Drawing.
  void Cls();
  void Line(float x1, float y1, float x2, float y2, Rgb color);
  void FilledBox(float x1, float y1, float x2, float y2, Rgb color);
  // n vertical lines from y1 to y2 at the abscissae xs, in order: the same
  // pixels as n calls of Line, in one call (a histogram bar).
  void VerticalLines(const float* xs, int n, float y1, float y2, Rgb color);
  void PSet(float x, float y);  // in ForeColor; moves the text position
  void Print(const std::string& text);

  // The drawing surface read back, in logical pixels (the first device
  // pixel of each): the desktop's, for its tests (the browser's tests read
  // the page's canvas).
  Rgb Pixel(int x, int y) const;
  int SurfaceWidth() const;
  int SurfaceHeight() const;

  // Load handler, run once before the window is first shown.
  Handler Load;
  // The copy or save shortcut pressed while the window has the keyboard;
  // delivered as a click is, also between the counts of a run.
  std::function<void(Shortcut)> KeyDown;
  void FireKeyDown(Shortcut s);
  // Run when the screen has changed size (the browser's page alone; the
  // desktop reads its screen once): the window is to be placed again.
  Handler Resize;
  // True until the window has been closed by the user or the window manager.
  bool Alive() const { return alive_; }
  // Called by the toolkit side when the window is asked to close.
  void CloseRequested();

 private:
  std::string caption_;
  std::string font_name_ = "Microsoft Sans Serif";
  float font_size_ = 8.25f;
  Rgb fore_ = RGB(0, 0, 0);
  Pointer pointer_ = Pointer::Arrow;
  float cur_x_ = 0, cur_y_ = 0;
  bool alive_ = true;
  std::unique_ptr<Surface> surface_;
  friend struct Peer;
  friend struct Surface;
  friend void Flush();
};

// ---------------------------------------------------------- application

// The toolkit application. Create one before any widget; Run shows the
// form (after its Load handler) covering the screen and runs the event loop
// until the program ends. Exit status 0 on every end.
class Application {
 public:
  Application(int& argc, char** argv);
  ~Application();
  static int Run(Form& form);
  // Runs the form's Load handler and pushes the result to the toolkit,
  // without showing the window (tests); Run does this itself.
  static void LoadForm(Form& form);
  // Shows the form covering the screen (tests may show it to send real events).
  static void ShowForm(Form& form);
};

// Pushes every pending widget change to the toolkit (geometry, visibility,
// captions, the surface's changed region). Called after each event handler
// and before the event loop runs.
void Flush();

// Pushes every pending change as Flush does and has the toolkit paint it at
// once: what the program drew is on the screen when it returns, before a
// wait that does not yield.
void Refresh();

// Screen size in twips (the browser's page), read when the window is made:
// on the desktop later changes of resolution do not reach the program; in a
// browser a change is read again and reported by the form's Resize. A screen too large
// for the program's 16-bit positions runs magnified by the smallest whole
// factor that fits (ScreenScale), like a HiDPI display: the sizes here are
// then those of the smaller logical screen.
float ScreenWidth();
float ScreenHeight();
int ScreenScale();

// Yield: runs the test hook, lets the toolkit handle pending input, and
// repaints at most once per display frame. Throws ProgramEnd when the
// program ended meanwhile, so that a running handler unwinds.
void DoEvents();

// Time of day in seconds since midnight, with fraction.
float Timer();
// The local date and time now.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
DateTime Now();

// Puts a text on the clipboard (the system's; in a browser, the page's).
void SetClipboard(const std::string& text);
// Offers bytes as a file of that name: on the desktop the standard save
// dialog, proposing the name in the user's documents folder, then the
// chosen file written whole or left as it was; in a browser a download of
// that name. A file that cannot be written is said in one line on the
// standard error; nothing else changes.
void SaveFile(const std::string& name, const std::string& bytes);
// Sleeps between polls of the clock; does nothing while a test clock is set.
void Sleep(int milliseconds);

// Ends the program: closes every open file, records why, and unwinds the
// running handler (the exception is caught where the event was dispatched).
struct ProgramEnd {
  std::string reason;
};
[[noreturn]] void End(const std::string& reason);
bool Ended();
const std::string& EndReason();

// Runs an event handler as the event loop does: catches ProgramEnd, then
// flushes. A press made while it ran and still waiting when it ends (input
// that arrives at a yield is handled there) is not taken: its click would
// land on whatever the handler has put under the pointer.
void Dispatch(const Handler& h);

// Number text: a blank for a value of 0 or more (a minus sign otherwise),
// digits without separators, "." as decimal point, no 0 before the point,
// no trailing zeros, at most 15 significant digits.
std::string Str(double v);

// Candidate paths of the pulse data file, in search order: always eleven
// (a shorter list set by a test is padded with empty paths, which fail).
std::vector<std::string> DataFileCandidates();

// --------------------------------------------------------- test seams

namespace seams {
// Screen size in twips of the physical screen; 0 x 0 restores the real one.
// Read when the next window is made.
void SetScreenTwips(float width, float height);
// The desktop's device pixel ratio for that screen (2 for 200 % scaling).
void SetScreenRatio(double ratio);
// Time of day; an empty function restores the real clock.
void SetClock(std::function<float()> clock);
// Candidate paths of the data file; empty restores the default list.
void SetDataFileCandidates(std::vector<std::string> paths);
// Run at the start of every DoEvents; empty removes it.
void SetYieldHook(Handler hook);
// Monotonic milliseconds (display frames, the time of handlers against the
// time stamps of input); an empty function restores the real clock.
void SetSteadyClock(std::function<double()> milliseconds);
// The date and time Now() gives; an empty function restores the real clock.
void SetNow(std::function<DateTime()> now);
// Stands for the desktop's save dialog: given the path proposed, returns the
// path chosen, or "" for a cancelled dialog; empty restores the dialog.
void SetSaveDialog(std::function<std::string(const std::string&)> dialog);
// Forgets a recorded end of program and restores every seam.
void Reset();
}  // namespace seams

}  // namespace ui
