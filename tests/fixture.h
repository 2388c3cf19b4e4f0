// Shared test fixture: a started main window on an injected screen, with an
// injected clock and data-file search list; the colours a user sees.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ui/textfile.h"
#include "ui/ui.h"
#include "window/KESTOR_11.h"

inline std::string GeneratedDataFile() {
  return std::string(KESTOR_BUILD_DIR) + "/KESTOR_11.KSQ";
}
// A colour as text, so that a failed comparison reads well.
inline std::string Describe(ui::Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}
constexpr ui::Rgb kWhite = ui::RGB(255, 255, 255), kLightBlue = ui::RGB(0, 0, 255),
                  kLightRed = ui::RGB(255, 0, 0), kLightMagenta = ui::RGB(255, 0, 255);
inline const std::string kBlank = Describe(kWhite), kBlue = Describe(kLightBlue),
                         kRed = Describe(kLightRed), kMagenta = Describe(kLightMagenta);
// Pixel of a twip coordinate (the drawing surface's rule).
inline int Px(double twips) {
  return static_cast<int>(std::floor(twips / 15.0 + 0.5));
}
// A scratch directory for this test binary, and a file written there.
std::string ScratchDir();
std::string WriteScratchFile(const std::string& name, const std::string& content);

class KestorTest : public ::testing::Test {
 protected:
  // Starts the window on a screen of w x h pixels (15 twips each), the clock
  // at clock_seconds, the data file searched at data_files only (default:
  // the generated file).
  void Start(float w_px = 1024, float h_px = 768, std::vector<std::string> data_files = {},
             float clock_seconds = 0.0f);
  void TearDown() override;
  // What a user does: entry i of the count list (released over it), of the
  // rate list (clicked; confirming the clearing if asked and confirm is
  // set), of the information list (released over it).
  void Run(int entry);
  void ChooseRate(int entry, bool confirm = false);
  void OpenPage(int entry);
  // A text's width (or height) in a face and size, measured by a label of its own.
  float Measure(const std::string& text, float points, bool width = true,
                const std::string& face = "Microsoft Sans Serif", bool bold = false);
  // The colour of surface pixel (x, y), as text.
  std::string At(int x, int y) const { return Describe(k->Pixel(x, y)); }

  std::unique_ptr<KESTOR_11> k;
  float clock_ = 0;
};
