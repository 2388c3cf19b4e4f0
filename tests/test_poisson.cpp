// The science the simulator teaches: on the generated data file, counts at
// each rate follow the Poisson distribution whose mean is the rate, and the
// square of the e.q.m. comes close to the mean.
#include <cmath>
#include <vector>

#include "fixture.h"

namespace {

constexpr int32_t kCounts = 20000;
constexpr int kEntry20000 = 13;
// Standard normal quantile of 0.999, for the chi-square threshold.
constexpr double kZ999 = 3.0902;

// 0.999 quantile of the chi-square distribution with df degrees of freedom
// (Wilson-Hilferty; within a fraction of a percent for df >= 3).
double ChiSquare999(int df) {
  const double a = 2.0 / (9.0 * df);
  return df * std::pow(1.0 - a + kZ999 * std::sqrt(a), 3);
}

struct Fit {
  double chi2;
  int df;
};

// Chi-square of the observed classes against Poisson(mean), classes pooled
// from the left until each bin expects at least 5 counts; the last bin takes
// the whole upper tail, counts above 50 included.
Fit PoissonFit(const std::array<int32_t, 51>& classes, int32_t total, double mean) {
  std::vector<double> observed, expected;
  double p = std::exp(-mean), cumulative = 0, o = 0, e = 0;
  int32_t seen = 0;
  for (int i = 0; i <= 50; ++i) {
    o += classes[static_cast<size_t>(i)];
    e += total * p;
    seen += classes[static_cast<size_t>(i)];
    cumulative += p;
    p *= mean / (i + 1);
    if (e >= 5 && total * (1 - cumulative) >= 5) {
      observed.push_back(o);
      expected.push_back(e);
      o = e = 0;
    }
  }
  observed.push_back(o + (total - seen));
  expected.push_back(e + total * (1 - cumulative));
  Fit fit{0, static_cast<int>(observed.size()) - 1};
  for (size_t i = 0; i < observed.size(); ++i)
    fit.chi2 += (observed[i] - expected[i]) * (observed[i] - expected[i]) / expected[i];
  return fit;
}

class PoissonTest : public KestorTest {};

TEST_F(PoissonTest, CountsFollowPoissonAtEveryRate) {
  Start(1024, 768, {}, 43210.0f);
  const struct {
    int rate_entry;
    double rate;
  } rates[] = {{0, 0.5}, {1, 1}, {2, 2}, {3, 4}, {4, 8}, {5, 16}};
  for (const auto& r : rates) {
    SCOPED_TRACE(r.rate);
    // Choose the rate with no counts: it applies at once.
    ASSERT_EQ(k->SN_L, 0);
    k->ACTIVITES.FireClick();
    k->ACTIV.SetListIndex(r.rate_entry);
    k->ACTIV.FireClick();
    ASSERT_EQ(k->TAUX(), r.rate);
    k->LANCER.FireClick();
    k->LANCER_N.SetListIndex(kEntry20000);
    k->LANCER_N.FireMouseUp();
    ASSERT_EQ(k->SN_L, kCounts);

    const Fit fit = PoissonFit(k->EFFECTIF_L, k->SN_L, r.rate);
    EXPECT_GE(fit.df, 3);
    EXPECT_LT(fit.chi2, ChiSquare999(fit.df)) << fit.df << " degrees of freedom";
    const double mean = k->MOY1_L / 100.0, variance = k->VAR1_L / 100.0;
    EXPECT_NEAR(mean, r.rate, 5 * std::sqrt(r.rate / kCounts) + 0.005);
    EXPECT_NEAR(variance, mean, 5 * std::sqrt((r.rate + 2 * r.rate * r.rate) / kCounts) + 0.01);

    // Clear for the next rate, as the user does.
    k->EFFACER.FireClick();
    k->OUI.FireClick();
  }
}

}  // namespace
