// A started main window on an injected screen, clock and data file; colours.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>
#include <utility>

#include "ui/qt/internal.h"
#include "ui/textfile.h"
#include "window/KESTOR_11.h"

// A colour as text; the colours a user sees; the pixel of a twip coordinate.
inline std::string Describe(ui::Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}
constexpr ui::Rgb kWhite = ui::RGB(255, 255, 255), kLightBlue = ui::RGB(0, 0, 255),
                  kLightRed = ui::RGB(255, 0, 0), kLightMagenta = ui::RGB(255, 0, 255);
inline const std::string kBlank = Describe(kWhite), kBlue = Describe(kLightBlue),
                         kRed = Describe(kLightRed), kMagenta = Describe(kLightMagenta);
// How many pixels of a rectangle of an image are exactly that colour.
inline int CountOf(const QImage& image, const QRect& r, QRgb colour) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += image.pixel(x, y) == colour;
  return n;
}
inline int Px(double twips) {
  return static_cast<int>(std::floor(twips / 15.0 + 0.5));
}
using Box = std::tuple<float, float, float, float>;  // left, top, width, height
inline Box BoxOf(const ui::Widget& w) {
  return {w.Left(), w.Top(), w.Width(), w.Height()};
}
// A scratch directory for this test binary, and a file written there.
std::string ScratchDir();
std::string WriteScratchFile(const std::string& name, const std::string& content);

// Sets (or, given no value, unsets) an environment variable for the life of the object.
struct ScopedEnv {
  ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

class KestorTest : public ::testing::Test {
 protected:
  // A screen of w x h pixels, the clock, the data file's places (default: the build's).
  void Start(float w_px = 1024, float h_px = 768, std::vector<std::string> data_files = {},
             float clock_seconds = 0.0f);
  void TearDown() override;  // hides the window if shown
  // Shows the window: its toolkit window; what the screen shows of it now.
  QWindow* Show();
  QImage Screen() const;
  // Entry i of the count list, of the rate list (confirming a clearing), of pages.
  void Run(int entry);
  // What a widget shows now, at the device's resolution (pending changes pushed first).
  static QImage Grab(const ui::Widget& w);
  // Window pixel at the centre of a widget, or the nearest to its top left
  // corner (its containers' offsets added).
  static QPoint Centre(const ui::Widget& w);
  static QPoint Origin(const ui::Widget& w);
  // Captions joined by "|"; 1 or 0 for each widget shown or not.
  static std::string Captions(std::initializer_list<const ui::Label*> labels);
  static std::string Flags(std::initializer_list<const ui::Widget*> widgets);
  // The names of the widgets shown in the window and its title bar, sorted.
  std::string ShownNames() const;
  void ChooseRate(int entry, bool confirm = false);
  void OpenPage(int entry);
  // A text's width (or height) in a face and size, measured by a label of its own.
  float Measure(const std::string& text, float points, bool width = true,
                const std::string& face = "Microsoft Sans Serif", bool bold = false);
  // The colour of surface pixel (x, y), as text; of several (x and y in turn),
  // as letters: W white, B light blue, R light red, M light magenta, ? other.
  std::string At(int x, int y) const { return Describe(k->Pixel(x, y)); }
  std::string Seen(std::initializer_list<int> xy) const;

  std::unique_ptr<KESTOR_11> k;
  float clock_ = 0;
};
