// The form and its drawing surface.
//
// One pixel rule serves every primitive: a twip coordinate t lands on the
// logical pixel floor(t / 15 + 0.5); lines and filled boxes include both end
// pixels. The surface holds device pixels: on a HiDPI display or a magnified
// screen each logical pixel is a block of them, and text is drawn at the
// device's resolution.
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/qt/internal.h"

namespace ui {

namespace {
QRgb ToQRgb(Rgb c) {
  return qRgb(c.r, c.g, c.b);
}
}  // namespace

// ----------------------------------------------------------------- Surface

Surface::Surface(QSize logical_size, double device_ratio)
    : image(QSize(static_cast<int>(std::ceil(logical_size.width() * device_ratio - 1e-6)),
                  static_cast<int>(std::ceil(logical_size.height() * device_ratio - 1e-6))),
            QImage::Format_RGB32),
      ratio(device_ratio),
      size(logical_size) {
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  bits = image.bits();
  stride = image.bytesPerLine();
}

long long Surface::Device(long long logical) const {
  if (ratio == 1) return logical;  // the common case, on the path of every bar
  return static_cast<long long>(std::floor(static_cast<double>(logical) * ratio + 1e-9));
}

void Surface::FillLogical(int x0, int y0, int x1, int y1, QRgb color) {
  bars.Fill(x0, y0, x1, y1, [&](int l, int t, int r, int b) { FillRaw(l, t, r, b, color); });
}

void Surface::FillBar(int x0, int x1, int y0, int y1, QRgb color) {
  bars.FillBar(x0, x1, y0, y1, color,
               [&](int l, int t, int r, int b) { FillRaw(l, t, r, b, color); });
}

void Surface::FillRaw(int x0, int y0, int x1, int y1, QRgb color) {
  const long long w = image.width(), h = image.height();
  long long dx0 = std::max<long long>(0, Device(x0)), dy0 = std::max<long long>(0, Device(y0));
  long long dx1 = std::min<long long>(w - 1, Device(x1 + 1LL) - 1);
  long long dy1 = std::min<long long>(h - 1, Device(y1 + 1LL) - 1);
  if (dx0 > dx1 || dy0 > dy1) return;
  for (long long y = dy0; y <= dy1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
    std::fill(line + dx0, line + dx1 + 1, color);
  }
  // Logical pixels, clipped to the surface as the device pixels were.
  const auto clip = [](int v) { return std::clamp(v, -1, 1 << 24); };
  dirty |= QRect(QPoint(clip(x0), clip(y0)), QPoint(clip(x1), clip(y1)));
}

void Peer::PaintSurface(Form& f, QPainter& p, const QRect& r) {
  Surface* s = f.surface_.get();
  if (!s) return;
  const double k = s->ratio;
  p.drawImage(QRectF(r), s->image, QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k));
}

// -------------------------------------------------------------------- Form

Form::Form(std::string name) : Container(nullptr, std::move(name), Kind::Form) {
  // Start-up reads the screen here, once, as the window is made.
  S().screen.read = false;
  const State::Screen& screen = ReadScreen();
  const QSize logical(std::max(1, VPx(screen.width)), std::max(1, VPx(screen.height)));
  surface_ = std::make_unique<Surface>(logical, screen.ratio);
  S().forms.push_back(this);
}

void Form::PlaceOnScreen(float left, float top, float width, float height) {
  Move(left, top);
  SetWidth(width);
  SetHeight(height);
  const QSize logical(std::max(1, VPx(width)), std::max(1, VPx(height)));
  if (surface_->size != logical) surface_ = std::make_unique<Surface>(logical, surface_->ratio);
}

void Form::Cls() {
  Surface& s = *surface_;
  s.Forget();
  s.image.fill(ToQColor(back_));
  s.bits = s.image.bits();
  s.dirty = QRect(0, 0, SurfaceWidth(), SurfaceHeight());
}

void Form::Line(float x1, float y1, float x2, float y2, Rgb color) {
  // A line from a point to the same point has no length and draws nothing
  // (an empty histogram class leaves the base line as it is).
  if (x1 == x2 && y1 == y2) return;
  Surface& s = *surface_;
  const QRgb c = ToQRgb(color);
  RasterLine(VPx(x1), VPx(y1), VPx(x2), VPx(y2),
             [&](int x0, int y0, int xe, int ye) { s.FillLogical(x0, y0, xe, ye, c); });
}

void Form::VerticalLines(const float* xs, int n, float y1, float y2, Rgb color) {
  if (!OneBar(xs, n, y1, y2)) {
    for (int i = 0; i < n; ++i) Line(xs[i], y1, xs[i], y2, color);
    return;
  }
  surface_->FillBar(VPx(xs[0]), VPx(xs[n - 1]), VPx(y1), VPx(y2), ToQRgb(color));
}

void Form::FilledBox(float x1, float y1, float x2, float y2, Rgb color) {
  surface_->FillLogical(VPx(x1), VPx(y1), VPx(x2), VPx(y2), ToQRgb(color));
}

void Form::PSet(float x, float y) {
  Surface& s = *surface_;
  int px = VPx(x), py = VPx(y);
  s.FillLogical(px, py, px, py, ToQRgb(fore_));
  cur_x_ = x;
  cur_y_ = y;
}

void Form::Print(const std::string& text) {
  Surface& s = *surface_;
  const QFont& font = FontFor(font_name_, font_size_, false);
  // The image carries its device ratio: the painter works in logical pixels
  // and the glyphs are rasterised at the device's resolution.
  QPainter p(&s.image);
  s.bits = s.image.bits();  // keep the pixel pointer the painter writes through
  s.Forget();               // text may cover any remembered bar
  p.setFont(font);
  p.setPen(ToQColor(fore_));
  const QFontMetricsF& fm = MetricsFor(font_name_, font_size_, false);
  QPointF origin(VPx(cur_x_), VPx(cur_y_));
  QString t = Q(text);
  p.drawText(origin + QPointF(0, fm.ascent()), t);
  QRectF box(origin, QSizeF(fm.horizontalAdvance(t) + 2, fm.height() + 2));
  s.dirty |= box.toAlignedRect();
}

Rgb Form::Pixel(int x, int y) const {
  const Surface& s = *surface_;
  long long dx = s.Device(x), dy = s.Device(y);
  if (dx < 0 || dy < 0 || dx >= s.image.width() || dy >= s.image.height())
    return RGB(255, 255, 255);
  QRgb c = s.image.pixel(static_cast<int>(dx), static_cast<int>(dy));
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

int Form::SurfaceWidth() const {
  return surface_->size.width();
}
int Form::SurfaceHeight() const {
  return surface_->size.height();
}

}  // namespace ui
