// The program's bitmaps in the browser: the XPM pair compiled in (decoded
// here into RGBA), the PNG files embedded in the page's virtual file system
// under /resources, shown as images by the browser.
#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "internal.h"
#include "resources/logo.xpm"
#include "resources/sigma2.xpm"

namespace ui {

namespace {

struct Rgba {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Decodes an XPM image: "width height colours chars-per-pixel", then one
// line per colour ("xx c #rrggbb" or "xx c None"), then the rows.
Rgba DecodeXpm(const char* const* xpm) {
  Rgba out;
  int w = 0, h = 0, colours = 0, cpp = 0;
  if (std::sscanf(xpm[0], "%d %d %d %d", &w, &h, &colours, &cpp) != 4 || w <= 0 || h <= 0 ||
      colours <= 0 || cpp <= 0 || cpp > 4)
    return out;
  std::map<std::string, uint32_t> table;
  for (int i = 1; i <= colours; ++i) {
    const std::string line = xpm[i];
    if (line.size() < static_cast<size_t>(cpp)) continue;
    const std::string key = line.substr(0, static_cast<size_t>(cpp));
    const size_t hash = line.find('#', static_cast<size_t>(cpp));
    uint32_t v = 0;  // "None": transparent
    if (hash != std::string::npos && hash + 6 < line.size()) {
      const char* c = line.c_str() + hash + 1;
      const uint32_t r = static_cast<uint32_t>(Hex(c[0]) * 16 + Hex(c[1]));
      const uint32_t g = static_cast<uint32_t>(Hex(c[2]) * 16 + Hex(c[3]));
      const uint32_t b = static_cast<uint32_t>(Hex(c[4]) * 16 + Hex(c[5]));
      v = 0xff000000u | (b << 16) | (g << 8) | r;
    }
    table[key] = v;
  }
  out.width = w;
  out.height = h;
  out.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  for (int y = 0; y < h; ++y) {
    const char* row = xpm[1 + colours + y];
    const size_t n = std::strlen(row);
    for (int x = 0; x < w; ++x) {
      const size_t at = static_cast<size_t>(x) * static_cast<size_t>(cpp);
      if (at + static_cast<size_t>(cpp) > n) break;
      auto it = table.find(std::string(row + at, static_cast<size_t>(cpp)));
      if (it != table.end())
        out.pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + x] = it->second;
    }
  }
  return out;
}

const Rgba* CompiledIn(const std::string& name) {
  static const Rgba logo = DecodeXpm(logo_xpm);
  static const Rgba sigma2 = DecodeXpm(sigma2_xpm);
  if (name == "logo.xpm") return &logo;
  if (name == "sigma2.xpm") return &sigma2;
  return nullptr;
}

bool ReadFile(const std::string& path, std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  std::fclose(f);
  return true;
}

bool SafeName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

bool PicturePixels(const std::string& name, int& width, int& height) {
  width = height = 0;
  if (const Rgba* image = CompiledIn(name)) {
    width = image->width;
    height = image->height;
    return width > 0;
  }
  if (!SafeName(name)) return false;
  std::vector<unsigned char> bytes;
  if (!ReadFile("/resources/" + name, bytes)) return false;
  return PngSize(bytes.data(), bytes.size(), width, height);
}

void ShowPicture(int id, const std::string& name, bool stretch) {
  if (const Rgba* image = CompiledIn(name)) {
    EM_ASM({ Module.stage.imageRgba($0, $1, $2, $3, $4); }, id, image->pixels.data(), image->width,
           image->height, stretch);
    return;
  }
  std::vector<unsigned char> bytes;
  if (!SafeName(name) || !ReadFile("/resources/" + name, bytes)) return;
  EM_ASM({ Module.stage.imagePng($0, $1, $2, $3); }, id, bytes.data(), bytes.size(), stretch);
}

}  // namespace ui
