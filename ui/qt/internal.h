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
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace ui {

// The toolkit side of one widget. The QWidget is owned by its Qt parent
// (every widget's parent is the form's own QWidget, directly or through a
// picture box); only the form's top-level QWidget is owned here.
struct Peer {
  QPointer<QWidget> view;
  std::unique_ptr<QWidget> top;  // the form only
  // The geometry the toolkit currently shows, to skip moves that change
  // nothing; none before the first push.
  std::optional<QRect> shown_rect;

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
// pixels from floor(x * ratio) to floor((x + 1) * ratio) - 1.
struct Surface {
  QImage image;
  double ratio = 1;
  QSize size;   // logical pixels
  QRect dirty;  // logical pixels changed since the last repaint request

  Surface(QSize logical_size, double ratio);
  // Inclusive rectangles of logical pixels: any fill, or a histogram bar.
  void FillLogical(int x0, int y0, int x1, int y1, QRgb color);
  void FillBar(int x0, int x1, int y0, int y1, QRgb color);
  // First device pixel of a logical coordinate.
  long long Device(long long logical) const;
  void Forget() { bars.Forget(); }
  BarMemory<QRgb> bars;
  uchar* bits = nullptr;  // the image's pixels, detached once
  qsizetype stride = 0;

 private:
  void FillRaw(int x0, int y0, int x1, int y1, QRgb color);
};

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

// Pixel rectangle of a widget's twip rectangle (relative to its container).
QRect PixelRect(float left, float top, float width, float height);

}  // namespace ui
