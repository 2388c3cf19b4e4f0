// The science the simulator teaches: on the generated data file, counts at
// each rate follow the Poisson distribution whose mean is the rate, and the
// square of the e.q.m. comes close to the mean.
#include <cmath>

#include "fixture.h"

namespace {

constexpr int32_t kCounts = 20000;
constexpr int kEntry20000 = 13;

class PoissonTest : public KestorTest {};

TEST_F(PoissonTest, CountsFollowPoissonAtEveryRate) {
  Start(1024, 768, {}, 43210.0f);
  const double rates[] = {0.5, 1, 2, 4, 8, 16};  // the rate list, entry for entry
  for (int entry = 0; entry < 6; ++entry) {
    const double rate = rates[entry];
    SCOPED_TRACE(rate);
    ChooseRate(entry, true);  // clears the previous rate's counts
    ASSERT_EQ(k->TAUX(), rate);
    Run(kEntry20000);
    ASSERT_EQ(k->SN_L, kCounts);

    // Chi-square of the classes against Poisson(rate), pooled from the left
    // until each bin expects at least 5 counts; the last bin (i = 51) takes
    // the rest, counts above 50 included. Below the 0.999 quantile of its
    // degrees of freedom (Wilson-Hilferty; z = 3.0902).
    double p = std::exp(-rate), o = 0, e = 0, o_left = kCounts, e_left = kCounts, chi2 = 0;
    int df = -1;
    for (size_t i = 0; i <= 51; ++i, p *= rate / static_cast<double>(i)) {
      o = i < 51 ? o + k->EFFECTIF_L[i] : o_left;
      e = i < 51 ? e + kCounts * p : e_left;
      if (i < 51 && (e < 5 || e_left - e < 5)) continue;
      chi2 += (o - e) * (o - e) / e;
      o_left -= o;
      e_left -= e;
      o = e = 0;
      ++df;
    }
    const double a = 2.0 / (9.0 * df);
    EXPECT_GE(df, 3);
    EXPECT_LT(chi2, df * std::pow(1 - a + 3.0902 * std::sqrt(a), 3)) << df << " degrees of freedom";
    const double mean = k->MOY1_L / 100.0, variance = k->VAR1_L / 100.0;
    EXPECT_NEAR(mean, rate, 5 * std::sqrt(rate / kCounts) + 0.005);
    EXPECT_NEAR(variance, mean, 5 * std::sqrt((rate + 2 * rate * rate) / kCounts) + 0.01);
  }
}

}  // namespace
