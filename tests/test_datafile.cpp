// The generated pulse data file, read with a reader of its own.
#include <climits>

#include "fixture.h"

namespace {

// One integer a line: enough values for 100000 counts at 16 pulses per second
// (about 2.56 M), none negative, the first 100 within 16 bits; independent
// exponential intervals of mean 250.
TEST(DataFiles, PulseFileHoldsIndependentExponentialIntervalsOfMean250) {
  std::ifstream in(GeneratedDataFile(), std::ios::binary);
  std::vector<long> v;
  for (std::string line; std::getline(in, line);) {
    size_t used = 0;
    v.push_back(line.empty() ? 0 : std::stol(line, &used));
    ASSERT_TRUE(!line.empty() && used == line.size()) << "line " << v.size() << ": " << line;
  }
  ASSERT_GE(v.size(), 2700000u);
  const double n = v.size();
  double sum = 0, squares = 0, lagged = 0, above_mean = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    ASSERT_TRUE(v[i] >= 0 && v[i] <= (i < 100 ? 32767 : LONG_MAX)) << "value " << i << ": " << v[i];
    sum += v[i];
    squares += double(v[i]) * v[i];
    if (i > 0) lagged += double(v[i]) * v[i - 1];
    above_mean += v[i] > 250;
  }
  const double mean = sum / n, sd = std::sqrt(squares / n - mean * mean);
  EXPECT_NEAR(mean, 250.0, 4 * sd / std::sqrt(n));
  EXPECT_NEAR(sd, 250.0, 2.5);  // an exponential law's standard deviation is its mean
  EXPECT_NEAR((lagged / (n - 1) - mean * mean) / (sd * sd), 0.0, 4 / std::sqrt(n));  // lag 1
  const double p = std::exp(-250.5 / 250.0);  // P(V > 250): an integer above 250 was >= 250.5
  EXPECT_NEAR(above_mean / n, p, 4 * std::sqrt(p * (1 - p) / n));
}

}  // namespace
