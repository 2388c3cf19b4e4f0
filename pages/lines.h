// The text lines of the information pages, placed one table row at a time.
//
// A row names a line (Label1 ... Label19 of the sheet BLANCS) and gives its
// text, size, colour, horizontal rule and top rule. Place applies them in
// the pages' fixed order: text, font, horizontal place, top, alignment,
// colour, show. A rule reads only lines placed before it, or the line's own
// height once its text and font are set, so a table read top to bottom
// lays a page out completely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/arith.h"
#include "window/KESTOR_11.h"

namespace pages {

using Line = ui::Label KESTOR_11::*;

constexpr ui::Rgb kMagenta = ui::RGB(255, 0, 255);
constexpr ui::Rgb kBlue = ui::RGB(0, 0, 255);
constexpr ui::Rgb kBlack = ui::RGB(0, 0, 0);

// Title size t and body size b, in points, for the screen's height.
inline int16_t TitleSize(const KESTOR_11& k) {
  return arith::Floor<int16_t>(18.0 * k.ECHVERTI_S);
}
inline int16_t BodySize(const KESTOR_11& k) {
  return arith::Floor<int16_t>(14.0 * k.ECHVERTI_S);
}

enum class Size { Title, Body };

// Horizontal place. A centred line spans the sheet (L = 0, W = sheet width,
// centred text); every other line is left-aligned and as wide as its text.
struct Left {
  enum class Rule { Centred, Zero, IndentBy, SameAs, RightOf };
  Rule rule;
  Line ref;  // IndentBy: L = H(ref); SameAs: L = L(ref); RightOf: L = L(ref) + W(ref)
};
constexpr Left Centred() {
  return {Left::Rule::Centred, nullptr};
}
constexpr Left AtZero() {
  return {Left::Rule::Zero, nullptr};
}
constexpr Left IndentBy(Line ref) {
  return {Left::Rule::IndentBy, ref};
}
constexpr Left SameAs(Line ref) {
  return {Left::Rule::SameAs, ref};
}
constexpr Left RightOf(Line ref) {
  return {Left::Rule::RightOf, ref};
}

// Top: T = T(ref) + factor x H(by); no ref stands for 0, no `by` for the
// line itself.
struct Top {
  Line ref;
  float factor;
  Line by;
};
// factor x the line's own height from the top of the sheet.
constexpr Top OwnHeights(float factor) {
  return {nullptr, factor, nullptr};
}
// factor x the line's own height below the top of `ref`.
constexpr Top OwnHeightsBelow(Line ref, float factor) {
  return {ref, factor, nullptr};
}
// factor x the height of `ref` below its top.
constexpr Top RefHeightsBelow(Line ref, float factor) {
  return {ref, factor, ref};
}
// The next line: T(ref) + H(ref).
constexpr Top Under(Line ref) {
  return RefHeightsBelow(ref, 1);
}
// After one blank line: T(ref) + 2 x H(ref).
constexpr Top BlankUnder(Line ref) {
  return RefHeightsBelow(ref, 2);
}

struct Row {
  Line line;
  const char* text;
  Size size;
  ui::Rgb colour;
  Left left;
  Top top;
};

// Gives `line` a text in the window's face at `points`, with auto-size on,
// so that its width and height measure the text (no line is ever bold).
inline void SetText(KESTOR_11& k, ui::Label& line, const std::string& text, float points) {
  line.SetAutoSize(true);
  line.SetCaption(text);
  line.SetFontName(k.FontName());
  line.SetFontSize(points);
}

// Places one line of a page on the sheet, as its row says, and shows it.
inline void Place(KESTOR_11& k, const Row& row, float points) {
  ui::Label& line = k.*row.line;
  SetText(k, line, row.text, points);
  switch (row.left.rule) {
    case Left::Rule::Centred:
      line.SetLeft(0);  // the measured height kept, the width the sheet's
      line.SetWidth(k.BLANCS.Width());
      break;
    case Left::Rule::Zero:
      line.SetLeft(0);
      break;
    case Left::Rule::IndentBy:
      line.SetLeft((k.*row.left.ref).Height());
      break;
    case Left::Rule::SameAs:
      line.SetLeft((k.*row.left.ref).Left());
      break;
    case Left::Rule::RightOf:
      line.SetLeft((k.*row.left.ref).Left() + (k.*row.left.ref).Width());
      break;
  }
  const float base = row.top.ref ? (k.*row.top.ref).Top() : 0.0f;
  const float step = row.top.by ? (k.*row.top.by).Height() : line.Height();
  line.SetTop(base + row.top.factor * step);
  line.SetAlignment(row.left.rule == Left::Rule::Centred ? ui::Align::Center : ui::Align::Left);
  line.SetForeColor(row.colour);
  line.SetVisible(true);
}

// Builds a page of text lines on the sheet, which it sizes and centres
// across the screen at the top of the frame. The measuring line, given the
// measuring text at the body size, sets the sheet's width; the last line
// sets its height.
template <std::size_t N>
void TextPage(KESTOR_11& k, Line measuring, const char* measuring_text, const Row (&rows)[N]) {
  static_assert(N > 0, "a page has lines");
  const float t = TitleSize(k);
  const float b = BodySize(k);
  k.INVISIBLE();
  ui::Label& ruler = k.*measuring;
  SetText(k, ruler, measuring_text, b);
  k.BLANCS.SetWidth(ruler.Width());
  k.BLANCS.SetLeft((k.Width() - k.BLANCS.Width()) / 2);
  k.BLANCS.SetTop(0);
  for (const Row& row : rows) Place(k, row, row.size == Size::Title ? t : b);
  const ui::Label& last = k.*rows[N - 1].line;
  k.BLANCS.SetHeight(last.Top() + 2 * last.Height());
}

}  // namespace pages
