// Adding counts to the statistics: the label texts (number of counts, mean
// and square of the e.q.m., x 100 and rounded half to even) and the
// histogram classes, each case after a clearing.
#include <vector>

#include "fixture.h"

namespace {

class StatisticsTest : public KestorTest {};

// Each case follows a clearing of the previous one's counts: a count, class
// or sum left behind would show in its texts or classes.
TEST_F(StatisticsTest, MeanAndSquareOfTheEqm) {
  Start();
  const struct {
    std::vector<int32_t> counts;
    const char* texts;
  } cases[] = {
      {{}, " Nombre de comptage = 0 | Nmoyen = 0 | = 0 "},
      {{3}, " Nombre de comptage = 1 | Nmoyen = 3 | = 0 "},
      {{1, 2}, " Nombre de comptages = 2 | Nmoyen = 1.5 | = .25 "},
      {{0, 0, 1}, " Nombre de comptages = 3 | Nmoyen = .33 | = .22 "},  // divides by k
      // Half-way means: 12.5 rounds to 12, 37.5 to 38.
      {{1, 0, 0, 0, 0, 0, 0, 0}, " Nombre de comptages = 8 | Nmoyen = .12 | = .11 "},
      {{1, 1, 1, 0, 0, 0, 0, 0}, " Nombre de comptages = 8 | Nmoyen = .38 | = .23 "},
      // A count above 50 enters the sums, not the histogram.
      {{16, 4001}, " Nombre de comptages = 2 | Nmoyen = 2008.5 | = 3970056.25 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.texts);
    k->RAZ();
    for (int32_t n : c.counts) {
      k->N1C_L = n;
      k->AJOUTER_COMPTAGE();
    }
    EXPECT_EQ(k->TEXTE_NBCOMPTAGE() + "|" + k->TEXTE_N1MOYEN(true) + "|" + k->TEXTE_VARI1(true),
              c.texts);
    std::array<int32_t, 51> classes{};
    for (int32_t n : c.counts)
      if (n <= 50) ++classes[static_cast<size_t>(n)];
    EXPECT_EQ(k->EFFECTIF_L, classes);
  }
}

}  // namespace
