// Inside the web backend: the browser side of widgets (one DOM element
// each, made and updated by ui/web/stage.js) and the drawing surface, an
// RGBA image in the program's memory copied to a canvas once per frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace ui {

struct Peer {
  int id = 0;  // the element's number on the browser side
  Widget* model = nullptr;
  bool fresh = true;
  bool shown_visible = false;
  int x = 0, y = 0, w = 0, h = 0;  // what the element shows, CSS pixels
  std::string shown_tip;
  std::string shown_picture;
  int shown_items = 0;
  bool pressed = false;  // the left button went down over this widget

  static void Create(Widget& w);
  static void Sync(Widget& w, bool full);
  static void Detach(Widget& w);
  static bool Dirty(const Widget& w) { return w.dirty_; }
  static void ClearDirty(Widget& w) { w.dirty_ = false; }
  static Surface* SurfaceOf(Form& f) { return f.surface_.get(); }
  // The widget of an element's number; null once it is gone.
  static Widget* Find(int id);
  // One queued pointer event delivered to its widget.
  static void Deliver(int type, int id, float x, float y, int row, bool inside, int buttons);
};

// The drawing surface: device pixels (virtual pixels times Scale()), one
// 32-bit RGBA word each.
struct Surface {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  int dx0 = 0, dy0 = 0, dx1 = -1, dy1 = -1;  // changed since the last paint
  BarMemory<uint32_t> bars;                  // virtual pixels

 private:
  void FillRaw(int x0, int y0, int x1, int y1, uint32_t rgba);

 public:
  Surface(int w, int h);
  // Fills virtual pixels x0..x1, y0..y1 (inclusive, any order).
  void Fill(int x0, int y0, int x1, int y1, uint32_t rgba);
  // The same for a histogram bar (columns x0..x1 from y0 down to its base
  // y1): a bar filled before and untouched since, on the same columns and
  // base in the same colour, costs only its new rows.
  void FillBar(int x0, int x1, int y0, int y1, uint32_t rgba);
  void Forget() { bars.Forget(); }
  void Touch(int x0, int y0, int x1, int y1);  // device pixels, inclusive
  void Paint();                                // the changed part to the canvas
};

// Shows a bitmap of the program in the image element of that number.
void ShowPicture(int id, const std::string& name, bool stretch);
// Device pixels per CSS pixel of the surface (the device pixel ratio, whole).
int Scale();
// CSS colour of a colour.
std::string Css(Rgb c);
// CSS font of a face, a size in points and a weight, at a magnification.
std::string CssFont(const std::string& face, float points, bool bold, int scale);

}  // namespace ui
