// Shared test fixture: a started main window on an injected screen, with
// an injected clock and data-file search list.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ui/textfile.h"
#include "ui/ui.h"
#include "window/KESTOR_11.h"

// The pulse data file written by the build.
inline std::string GeneratedDataFile() {
  return std::string(KESTOR_BUILD_DIR) + "/KESTOR_11.KSQ";
}

// A colour as text, so that a failed comparison reads well.
inline std::string Describe(ui::Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// Pixel of a twip coordinate (the drawing surface's rule).
inline int Px(double twips) {
  return static_cast<int>(std::floor(twips / 15.0 + 0.5));
}

// A scratch directory for this test binary (created on first use).
std::string ScratchDir();
// Writes content to ScratchDir()/name and returns the path.
std::string WriteScratchFile(const std::string& name, const std::string& content);

class KestorTest : public ::testing::Test {
 protected:
  // Starts the window on a screen of w x h logical pixels (the seam takes
  // twips: 15 per pixel), with the clock at clock_seconds and the data file
  // searched at data_files only (the generated file by default).
  void Start(float w_px = 1024, float h_px = 768, std::vector<std::string> data_files = {},
             float clock_seconds = 0.0f);
  void TearDown() override;

  // What a user does: open the count list and release the button over
  // entry i; open the rate list and click entry i (confirming the clearing
  // when confirm is set and the panel asks); open the information list and
  // release over entry i.
  void Run(int entry);
  // Window pixel at the centre of a widget (its containers' offsets added).
  static QPoint Centre(const ui::Widget& w);
  void ChooseRate(int entry, bool confirm = false);
  void OpenPage(int entry);

  std::unique_ptr<KESTOR_11> k;
  float clock_ = 0;
};
