// Adding a count to the statistics: number of counts, histogram class, sum,
// mean x 100, sum of squares, square of the e.q.m. and its x 100 form, in
// that order; the count's value is kept after those before it.
//
// A count above 50 has no histogram class: it still enters the number of
// counts, the sums, the mean and the e.q.m. (so they stay true), but no class
// changes. Every 16- and 32-bit operation saturates (engine/arith.h).
#include "engine/arith.h"
#include "window/KESTOR_11.h"

// Adds N1C_L as one more count. MOY1_L and VAR1_L are rounded half to even;
// VAR1_D divides by the number of counts k (not k - 1).
void KESTOR_11::AJOUTER_COMPTAGE() {
  const int32_t n = N1C_L;
  SN_L = arith::Add<int32_t>(SN_L, 1);
  if (n >= 0 && n < static_cast<int32_t>(EFFECTIF_L.size())) {
    int32_t& cls = EFFECTIF_L[static_cast<size_t>(n)];
    cls = arith::Add<int32_t>(cls, 1);
  }
  S1_L = arith::Add<int32_t>(S1_L, n);
  MOY1_L = arith::Round<int32_t>(static_cast<double>(S1_L) / SN_L * 100.0);
  S2N1_D += arith::Mul<int32_t>(n, n);
  const double s1 = S1_L;
  VAR1_D = (S2N1_D - s1 * s1 / SN_L) / SN_L;
  VAR1_L = arith::Round<int32_t>(VAR1_D * 100.0);
  VALEURS_I.push_back(arith::Saturate<int16_t>(n));
}
