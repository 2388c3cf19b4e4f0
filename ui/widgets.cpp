// Widget state: plain members written by the program, pushed to the toolkit
// by Flush. Setters that change nothing cost a comparison and no more.
#include <algorithm>
#include <cmath>

// The backend's own internal header (ui/qt/ or ui/web/), which includes
// ui/backend.h.
#include "internal.h"

namespace ui {

void PushWidgets() {
  std::vector<Widget*> list;
  list.swap(S().dirty);
  for (Widget* w : list) {
    Peer::ClearDirty(*w);
    Peer::Sync(*w, true);
  }
}

// ------------------------------------------------------------------ Widget

Widget::Widget(Container* parent, std::string name, Kind kind)
    : parent_(parent), name_(std::move(name)), kind_(kind), peer_(std::make_unique<Peer>()) {
  if (parent_) parent_->children_.push_back(this);
  Peer::Create(*this);
  MarkDirty();
}

Widget::~Widget() {
  auto& d = S().dirty;
  if (dirty_) d.erase(std::remove(d.begin(), d.end(), this), d.end());
  if (parent_) {
    auto& c = parent_->children_;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
  Peer::Detach(*this);
}

void Widget::MarkDirty() {
  if (!dirty_) {
    dirty_ = true;
    S().dirty.push_back(this);
  }
}

void Widget::SetLeft(float v) {
  Assign(left_, v);
}
void Widget::SetTop(float v) {
  Assign(top_, v);
}
void Widget::SetWidth(float v) {
  Assign(width_, v);
}
void Widget::SetHeight(float v) {
  Assign(height_, v);
}

void Widget::SetVisible(bool v) {
  Assign(visible_, v);
}

bool Widget::Shown() const {
  for (const Widget* w = this; w; w = w->parent_)
    if (!w->visible_) return false;
  return true;
}

void Widget::SetToolTipText(const std::string& t) {
  Assign(tooltip_, t);
}

const std::string& OfferedToolTip(const Widget& w) {
  static const std::string none;
  const bool disabled = w.GetKind() == Kind::Label && !static_cast<const Label&>(w).Enabled();
  return disabled ? none : w.ToolTipText();
}

void Widget::FireClick() {
  if (S().ended || !AcceptsInput() || !Click) return;
  Dispatch(Click);
}

void Widget::FireMouseMove(const Mouse& m) {
  if (S().ended || !AcceptsInput() || !MouseMove) return;
  auto h = MouseMove;
  DispatchHandler([&h, m] { h(m); }, false);
}

void Widget::FireMouseUp(const Mouse& m) {
  if (S().ended || !AcceptsInput() || !MouseUp) return;
  auto h = MouseUp;
  Dispatch([&h, m] { h(m); });
}

// --------------------------------------------------------------- Container

Container::Container(Container* parent, std::string name, Kind kind)
    : Widget(parent, std::move(name), kind) {}

void Container::SetBackColor(Rgb c) {
  Assign(back_, c);
}

PictureBox::PictureBox(Container& parent, std::string name)
    : Container(&parent, std::move(name), Kind::PictureBox) {}

// ------------------------------------------------------------------- Label

Label::Label(Container& parent, std::string name) : Widget(&parent, std::move(name), Kind::Label) {}

void Label::SetCaption(const std::string& c) {
  AssignMeasured(caption_, c);
}
void Label::SetFontName(const std::string& f) {
  AssignMeasured(font_name_, f);
}
void Label::SetFontSize(float points) {
  AssignMeasured(font_size_, points);
}
void Label::SetFontBold(bool b) {
  AssignMeasured(bold_, b);
}

void Label::SetForeColor(Rgb c) {
  Assign(fore_, c);
}
void Label::SetBackColor(Rgb c) {
  Assign(back_, c);
}
void Label::SetAlignment(Align a) {
  Assign(align_, a);
}
void Label::SetBorder(bool b) {
  Assign(border_, b);
}
void Label::SetEnabled(bool e) {
  Assign(enabled_, e);
}

void Label::SetAutoSize(bool a) {
  if (a == autosize_) return;
  if (stale_) Remeasure();  // switching off keeps the size measured so far
  autosize_ = a;
  if (a) stale_ = true;
  MarkDirty();
}

void Label::Remeasure() const {
  auto* self = const_cast<Label*>(this);
  self->width_ =
      static_cast<float>(std::ceil(TextWidth(font_name_, font_size_, bold_, caption_) - 1e-3)) *
      kTwipsPerPixel;
  self->height_ = LineHeight(font_name_, font_size_, bold_);
  stale_ = false;
}

float Label::Width() const {
  if (stale_) Remeasure();
  return width_;
}

float Label::Height() const {
  if (stale_) {
    // The height of an auto-sized label depends on the font only.
    return LineHeight(font_name_, font_size_, bold_);
  }
  return height_;
}

void Label::SetWidth(float v) {
  if (stale_) Remeasure();
  Widget::SetWidth(v);
}

// ----------------------------------------------------------------- ListBox

ListBox::ListBox(Container& parent, std::string name)
    : Widget(&parent, std::move(name), Kind::ListBox) {}

void ListBox::AddItem(const std::string& item) {
  items_.push_back(item);
  MarkDirty();
}

const std::string& ListBox::List(int i) const {
  static const std::string empty;
  if (i < 0 || i >= ListCount()) return empty;
  return items_[static_cast<size_t>(i)];
}

void ListBox::SetListIndex(int i) {
  if (i < -1 || i >= ListCount()) i = -1;
  Assign(index_, i);
}

void ListBox::SetFontSize(float points) {
  Assign(font_size_, points);
}

void ListBox::SetBackColor(Rgb c) {
  Assign(back_, c);
}

float ListBox::RowHeight() const {
  // A line of text and one pixel above and below it.
  return LineHeight("Microsoft Sans Serif", font_size_, false) + 2 * kTwipsPerPixel;
}

float ListBox::Height() const {
  // Whole rows only, at least one.
  float r = RowHeight();
  return std::fmax(std::floor(height_ / r + 1e-3f), 1.0f) * r;  // NaN gives one row
}

// ------------------------------------------------------------------- Image

Image::Image(Container& parent, std::string name) : Widget(&parent, std::move(name), Kind::Image) {}

void Image::SetPicture(const std::string& resource) {
  resource_ = resource;
  PicturePixels(resource, pic_w_, pic_h_);
  MarkDirty();
  FitToPicture();
}

void Image::SetStretch(bool s) {
  if (Assign(stretch_, s)) FitToPicture();
}

void Image::FitToPicture() {
  if (stretch_) return;  // a stretched image keeps the size it is given
  Assign(width_, static_cast<float>(pic_w_) * kTwipsPerPixel);
  Assign(height_, static_cast<float>(pic_h_) * kTwipsPerPixel);
}

// -------------------------------------------------------------------- Form

// The window leaves the layer's list of windows; its surface goes with it.
Form::~Form() {
  auto& forms = S().forms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void Form::SetCaption(const std::string& c) {
  Assign(caption_, c);
}

void Form::SetMousePointer(Pointer p) {
  Assign(pointer_, p);
}

void Form::FireKeyDown(Shortcut s) {
  auto h = KeyDown;  // after the end, Dispatch runs nothing
  if (h) Dispatch([&h, s] { h(s); });
}

void Form::CloseRequested() {
  alive_ = false;
  // Outside a handler nothing will look at the flag: end now. Inside one
  // (a run yielding between counts) the next count sees it and ends.
  if (S().handler_depth == 0) Dispatch([] { End("window closed"); });
}

}  // namespace ui
