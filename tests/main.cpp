// One toolkit application on the offscreen platform for the whole run.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/ui.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  ui::Application app(argc, argv);
  return RUN_ALL_TESTS();
}
