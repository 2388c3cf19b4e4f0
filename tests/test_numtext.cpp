// The number-text rule of every caption: fifteen digits, then an exponent; a French locale (see
// install-deps) keeps the point.
#include <clocale>

#include "fixture.h"

TEST(NumberText, ValuesWhateverTheLocale) {
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {51, " 51"}, {56.25, " 56.25"}, {0.5, " .5"}, {0.07, " .07"}, {0, " 0"}, {-0.0, " 0"},
      {-2.5, "-2.5"}, {-0.5, "-.5"}, {1620 / 100.0, " 16.2"}, {1000, " 1000"},
      {2147483647, " 2147483647"}, {1.0 / 3, " .333333333333333"}, {2.0 / 3, " .666666666666667"},
      {0.1 + 0.2, " .3"}, {123456789.123456789, " 123456789.123457"},
      {999999999999999.0, " 999999999999999"}, {9999999999999999.0, " 1E+16"}, {1.5e20, " 1.5E+20"},
      {-2.5e-7, "-2.5E-07"}, {1e-10, " 1E-10"}, {0.00001, " .00001"}, {1e-300, " 1E-300"},
      {NAN, " NaN"}, {INFINITY, " Inf"}, {-INFINITY, "-Inf"}};
  // clang-format on
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  for (const char* locale : {"C", "fr_FR.UTF-8"}) {
    ASSERT_TRUE(std::setlocale(LC_ALL, locale)) << "tools/install-deps.sh generates it";
    ASSERT_EQ(*std::localeconv()->decimal_point, locale[0] == 'C' ? '.' : ',');
    for (const auto& [value, text] : cases) EXPECT_EQ(ui::Str(value), text) << value;
  }
  std::setlocale(LC_ALL, saved.c_str());
}
