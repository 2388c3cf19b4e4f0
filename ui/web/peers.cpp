// The browser side of the widgets: one DOM element each (made and updated by
// ui/web/stage.js), and the pointer input routed to the widgets' handlers.
//
// Routing rule: an event over a widget belongs to that widget alone (the
// element stops it from reaching its container). A press captures the
// pointer: the moves and the release that follow go to the pressed widget.
#include <emscripten.h>

#include <algorithm>
#include <unordered_map>

#include "internal.h"

namespace ui {

namespace {

std::unordered_map<int, Widget*>& Elements() {
  static auto& map = *new std::unordered_map<int, Widget*>;
  return map;
}

int NextId() {
  static int next = 0;
  return ++next;
}

int KindNumber(Kind k) {
  switch (k) {
    case Kind::Form:
      return 0;
    case Kind::Label:
      return 1;
    case Kind::PictureBox:
      return 2;
    case Kind::ListBox:
      return 3;
    case Kind::Image:
      return 4;
  }
  return 2;
}

// CSS pixel rectangle of a widget's twip rectangle (relative to its container).
void CssRect(const Widget& w, int& x, int& y, int& width, int& height) {
  const int x0 = VPx(w.Left()), y0 = VPx(w.Top());
  const int x1 = VPx(static_cast<double>(w.Left()) + w.Width());
  const int y1 = VPx(static_cast<double>(w.Top()) + w.Height());
  x = x0;
  y = y0;
  width = std::max(0, x1 - x0);
  height = std::max(0, y1 - y0);
}

}  // namespace

std::string Css(Rgb c) {
  return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

Widget* Peer::Find(int id) {
  auto it = Elements().find(id);
  return it == Elements().end() ? nullptr : it->second;
}

void Peer::Create(Widget& w) {
  Peer& p = *w.peer_;
  p.id = NextId();
  p.model = &w;
  Elements()[p.id] = &w;
  const int parent = w.Parent() ? w.Parent()->peer()->id : 0;
  EM_ASM({ Module.stage.create($0, $1, $2, UTF8ToString($3)); }, p.id, parent, KindNumber(w.kind_),
         w.name_.c_str());
}

void Peer::Detach(Widget& w) {
  Peer& p = *w.peer_;
  Elements().erase(p.id);
  p.model = nullptr;
  EM_ASM({ Module.stage.detach($0); }, p.id);
}

void Peer::Sync(Widget& w, bool full) {
  Peer& p = *w.peer_;
  if (w.kind_ != Kind::Form && (p.fresh || w.visible_ != p.shown_visible)) {
    EM_ASM({ Module.stage.visible($0, $1); }, p.id, w.visible_);
    p.shown_visible = w.visible_;
  }
  if (!full) return;
  if (w.kind_ != Kind::Form) {
    int x, y, width, height;
    CssRect(w, x, y, width, height);
    if (p.fresh || x != p.x || y != p.y || width != p.w || height != p.h) {
      EM_ASM({ Module.stage.geometry($0, $1, $2, $3, $4); }, p.id, x, y, width, height);
      p.x = x;
      p.y = y;
      p.w = width;
      p.h = height;
    }
  }
  const std::string& tip = OfferedToolTip(w);
  if (p.fresh || p.shown_tip != tip) {
    EM_ASM({ Module.stage.tip($0, UTF8ToString($1)); }, p.id, tip.c_str());
    p.shown_tip = tip;
  }
  switch (w.kind_) {
    case Kind::Form: {
      auto& f = static_cast<Form&>(w);
      EM_ASM({ Module.stage.form($0, UTF8ToString($1), $2, UTF8ToString($3)); }, p.id,
             f.caption_.c_str(), f.pointer_ == Pointer::Hourglass, Css(f.back_).c_str());
      int x, y, width, height;
      CssRect(w, x, y, width, height);
      EM_ASM({ Module.stage.place($0, $1, $2, $3); }, x, y, width, height);
      break;
    }
    case Kind::PictureBox: {
      auto& b = static_cast<PictureBox&>(w);
      EM_ASM({ Module.stage.box($0, UTF8ToString($1)); }, p.id, Css(b.BackColor()).c_str());
      break;
    }
    case Kind::Label: {
      auto& l = static_cast<Label&>(w);
      const std::string font = CssFont(l.font_name_, l.font_size_, l.bold_, 1);
      const int line = VPx(LineHeight(l.font_name_, l.font_size_, l.bold_));
      const Rgb fore = l.enabled_ ? l.fore_ : RGB(128, 128, 128);
      EM_ASM(
          {
            Module.stage.label($0, UTF8ToString($1), UTF8ToString($2), UTF8ToString($3),
                               UTF8ToString($4), $5, $6, $7);
          },
          p.id, l.caption_.c_str(), font.c_str(), Css(fore).c_str(), Css(l.back_).c_str(),
          l.border_, l.align_ == Align::Center, line);
      break;
    }
    case Kind::ListBox: {
      auto& l = static_cast<ListBox&>(w);
      const std::string font = CssFont("Microsoft Sans Serif", l.font_size_, false, 1);
      EM_ASM({ Module.stage.list($0, [], $1, UTF8ToString($2), UTF8ToString($3), $4); }, p.id,
             VPx(l.RowHeight()), font.c_str(), Css(l.back_).c_str(), l.index_);
      while (p.shown_items < l.ListCount()) {
        EM_ASM(
            {
              Module.stage.list($0, new Array($1).concat([UTF8ToString($2)]), $3, UTF8ToString($4),
                                UTF8ToString($5), $6);
            },
            p.id, p.shown_items, l.items_[static_cast<size_t>(p.shown_items)].c_str(),
            VPx(l.RowHeight()), font.c_str(), Css(l.back_).c_str(), l.index_);
        ++p.shown_items;
      }
      break;
    }
    case Kind::Image: {
      auto& im = static_cast<Image&>(w);
      if (p.fresh || p.shown_picture != im.resource_) {
        p.shown_picture = im.resource_;
        ShowPicture(p.id, im.resource_, im.stretch_);
      }
      break;
    }
  }
  p.fresh = false;
}

void Peer::Deliver(int type, int id, float x, float y, int row, bool inside, int buttons) {
  Widget* w = Find(id);
  if (!w) return;
  Peer& p = *w->peer_;
  const Mouse m{x, y};
  if (w->kind_ == Kind::ListBox) {
    auto& l = static_cast<ListBox&>(*w);
    if (!l.Shown()) return;
    auto pick = [&] {
      if (row < 0 || row >= l.ListCount()) return;
      l.index_ = row;
      EM_ASM({ Module.stage.select($0, $1); }, id, row);
    };
    switch (type) {
      case 1:  // a move: with the button down it drags the selection
        if (p.pressed && (buttons & 1)) pick();
        break;
      case 2:  // a press on an entry selects it, and is a click
        p.pressed = true;
        if (row >= 0 && row < l.ListCount()) {
          pick();
          l.FireClick();
        }
        break;
      case 3:  // the release is the list's own
        if (!p.pressed) break;
        p.pressed = false;
        l.FireMouseUp(m);
        break;
      default:
        p.pressed = false;
        break;
    }
    return;
  }
  switch (type) {
    case 1:
      if (w->kind_ != Kind::Image) w->FireMouseMove(m);
      break;
    case 2:
      p.pressed = true;
      break;
    case 3: {
      const bool click = p.pressed && inside;
      p.pressed = false;
      if (click) w->FireClick();
      break;
    }
    case 5:  // the copy (x 0) or the save (x 1) shortcut, for the form
      if (w->kind_ == Kind::Form)
        static_cast<Form*>(w)->FireKeyDown(x == 0 ? Shortcut::Copy : Shortcut::Save);
      break;
    default:
      p.pressed = false;
      break;
  }
}

}  // namespace ui
