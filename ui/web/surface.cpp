// The form and its drawing surface in the browser: the same pixel rule as
// the desktop (a twip coordinate t lands on the virtual pixel
// floor(t / 15 + 0.5); lines and filled boxes include both end pixels; a line
// of no length draws nothing), on an RGBA image in the program's memory at
// the device pixel ratio, copied to the canvas once per frame.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "internal.h"

namespace ui {

namespace {

uint32_t Word(Rgb c) {
  return 0xff000000u | (static_cast<uint32_t>(c.b) << 16) | (static_cast<uint32_t>(c.g) << 8) | c.r;
}

}  // namespace

// ----------------------------------------------------------------- Surface

Surface::Surface(int w, int h) : width(w), height(h) {
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), Word(RGB(255, 255, 255)));
  Touch(0, 0, w - 1, h - 1);
}

void Surface::Touch(int x0, int y0, int x1, int y1) {
  if (dx1 < dx0) {
    dx0 = x0, dy0 = y0, dx1 = x1, dy1 = y1;
    return;
  }
  dx0 = std::min(dx0, x0);
  dy0 = std::min(dy0, y0);
  dx1 = std::max(dx1, x1);
  dy1 = std::max(dy1, y1);
}

void Surface::Fill(int x0, int y0, int x1, int y1, uint32_t rgba) {
  bars.Fill(x0, y0, x1, y1, [&](int l, int t, int r, int b) { FillRaw(l, t, r, b, rgba); });
}

void Surface::FillBar(int x0, int x1, int y0, int y1, uint32_t rgba) {
  bars.FillBar(x0, x1, y0, y1, rgba,
               [&](int l, int t, int r, int b) { FillRaw(l, t, r, b, rgba); });
}

void Surface::FillRaw(int x0, int y0, int x1, int y1, uint32_t rgba) {
  const long long s = Scale();
  long long fx0 = std::max<long long>(0, x0 * s), fy0 = std::max<long long>(0, y0 * s);
  long long fx1 = std::min<long long>(width - 1, x1 * s + s - 1);
  long long fy1 = std::min<long long>(height - 1, y1 * s + s - 1);
  if (fx0 > fx1 || fy0 > fy1) return;
  for (long long y = fy0; y <= fy1; ++y) {
    uint32_t* line = pixels.data() + y * width;
    std::fill(line + fx0, line + fx1 + 1, rgba);
  }
  Touch(static_cast<int>(fx0), static_cast<int>(fy0), static_cast<int>(fx1), static_cast<int>(fy1));
}

void Surface::Paint() {
  if (dx1 < dx0) return;
  EM_ASM({ Module.stage.paint($0, $1, $2, $3, $4, $5, $6); }, pixels.data(), width, height, dx0,
         dy0, dx1, dy1);
  dx1 = dx0 - 1;
}

// -------------------------------------------------------------------- Form

Form::Form(std::string name) : Container(nullptr, std::move(name), Kind::Form) {
  const int s = Scale();
  const int w = std::max(1, VPx(ScreenWidth())) * s;
  const int h = std::max(1, VPx(ScreenHeight())) * s;
  surface_ = std::make_unique<Surface>(w, h);
  S().forms.push_back(this);
}

void Form::PlaceOnScreen(float left, float top, float width, float height) {
  Move(left, top);
  SetWidth(width);
  SetHeight(height);
  const int s = Scale();
  const int w = std::max(1, VPx(width)) * s, h = std::max(1, VPx(height)) * s;
  if (surface_->width != w || surface_->height != h) surface_ = std::make_unique<Surface>(w, h);
}

void Form::Cls() {
  Surface& s = *surface_;
  std::fill(s.pixels.begin(), s.pixels.end(), Word(back_));
  s.Forget();
  s.Touch(0, 0, s.width - 1, s.height - 1);
}

void Form::Line(float x1, float y1, float x2, float y2, Rgb color) {
  if (x1 == x2 && y1 == y2) return;
  Surface& s = *surface_;
  const uint32_t c = Word(color);
  RasterLine(VPx(x1), VPx(y1), VPx(x2), VPx(y2),
             [&](int x0, int y0, int xe, int ye) { s.Fill(x0, y0, xe, ye, c); });
}

void Form::VerticalLines(const float* xs, int n, float y1, float y2, Rgb color) {
  if (!OneBar(xs, n, y1, y2)) {
    for (int i = 0; i < n; ++i) Line(xs[i], y1, xs[i], y2, color);
    return;
  }
  surface_->FillBar(VPx(xs[0]), VPx(xs[n - 1]), VPx(y1), VPx(y2), Word(color));
}

void Form::FilledBox(float x1, float y1, float x2, float y2, Rgb color) {
  surface_->Fill(VPx(x1), VPx(y1), VPx(x2), VPx(y2), Word(color));
}

void Form::PSet(float x, float y) {
  const int px = VPx(x), py = VPx(y);
  surface_->Fill(px, py, px, py, Word(fore_));
  cur_x_ = x;
  cur_y_ = y;
}

void Form::Print(const std::string& text) {
  Surface& s = *surface_;
  const int scale = Scale();
  const std::string font = CssFont(font_name_, font_size_, false, scale);
  const int x = VPx(cur_x_) * scale, y = VPx(cur_y_) * scale;
  s.Forget();  // text may cover any remembered bar
  const int w = EM_ASM_INT(
      {
        return Module.stage.text($0, $1, $2, $3, $4, UTF8ToString($5), UTF8ToString($6), $7, $8,
                                 $9);
      },
      s.pixels.data(), s.width, s.height, x, y, font.c_str(), text.c_str(), fore_.r, fore_.g,
      fore_.b);
  const int h = VPx(LineHeight(font_name_, font_size_, false)) * scale + 2;
  if (w > 0)
    s.Touch(std::max(0, x), std::max(0, y), std::min(s.width - 1, x + w),
            std::min(s.height - 1, y + h));
}

int Form::SurfaceWidth() const {
  return surface_->width / Scale();
}
int Form::SurfaceHeight() const {
  return surface_->height / Scale();
}

}  // namespace ui
