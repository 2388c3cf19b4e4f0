// The number-text rule of every caption.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <utility>

#include "ui/ui.h"

namespace {

TEST(NumberText, Values) {
  // What the captions show; fifteen significant digits; beyond what the
  // program shows, an exponent, and no crash on the rest.
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {51, " 51"}, {56.25, " 56.25"}, {0.5, " .5"}, {0.07, " .07"}, {0, " 0"}, {-0.0, " 0"},
      {-2.5, "-2.5"}, {-0.5, "-.5"}, {1620 / 100.0, " 16.2"}, {1000, " 1000"},
      {2147483647, " 2147483647"}, {1.0 / 3, " .333333333333333"}, {2.0 / 3, " .666666666666667"},
      {0.1 + 0.2, " .3"}, {123456789.123456789, " 123456789.123457"},
      {999999999999999.0, " 999999999999999"}, {9999999999999999.0, " 1E+16"},
      {1.5e20, " 1.5E+20"}, {-2.5e-7, "-2.5E-07"}, {0.00001, " .00001"}, {1e-300, " 1E-300"},
      {NAN, " NaN"}, {INFINITY, " Inf"}, {-INFINITY, "-Inf"}};
  // clang-format on
  for (const auto& [value, text] : cases) EXPECT_EQ(ui::Str(value), text) << value;
}

// The toolkit sets the process locale from the environment; one whose
// decimal separator is a comma must not change the text.
TEST(NumberText, PointWhateverTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  for (const char* name : {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8"})
    if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') break;
  const bool comma = *std::localeconv()->decimal_point == ',';
  const std::string text = ui::Str(56.25);
  std::setlocale(LC_ALL, saved.c_str());
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(text, " 56.25");
}

}  // namespace
