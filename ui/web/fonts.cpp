// Fonts in the browser: the faces the program names, measured and drawn with
// the Liberation faces embedded in the page as web fonts ("Kestor Sans",
// "Kestor Serif"), loaded before the program starts, so that the widths are
// those of the desktop. A point is 4/3 of a CSS pixel (96 per inch).
#include <emscripten.h>

#include <cmath>
#include <map>
#include <tuple>

#include "internal.h"

namespace ui {

namespace {
// The embedded face that stands for a face the program names.
const char* Family(const std::string& face) {
  return face == "Times New Roman" ? "Kestor Serif" : "Kestor Sans";
}
}  // namespace

std::string CssFont(const std::string& face, float points, bool bold, int scale) {
  return std::string(bold ? "bold " : "") + std::to_string(FontPixelSize(points, scale)) + "px \"" +
         Family(face) + "\"";
}

double TextWidth(const std::string& face, float points, bool bold, const std::string& text) {
  const std::string font = CssFont(face, points, bold, 1);
  return EM_ASM_DOUBLE({ return Module.stage.measure(UTF8ToString($0), UTF8ToString($1)); },
                       font.c_str(), text.c_str());
}

float LineHeight(const std::string& face, float points, bool bold) {
  static auto& cache = *new std::map<std::tuple<std::string, int, bool>, float>;
  const auto key = std::make_tuple(face, FontPixelSize(points, 1), bold);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  const double h = EM_ASM_DOUBLE({ return Module.stage.lineHeight(UTF8ToString($0), $1, $2); },
                                 Family(face), bold, FontPixelSize(points, 1));
  const float twips = static_cast<float>(std::ceil(h - 1e-3)) * kTwipsPerPixel;
  cache.emplace(key, twips);
  return twips;
}

}  // namespace ui
