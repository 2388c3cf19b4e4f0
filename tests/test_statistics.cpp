// Adding counts to the statistics: the label texts (number of counts, mean
// and square of the e.q.m., x 100 and rounded half to even), the sums, the
// histogram classes; and what a clearing leaves.
#include <vector>

#include "fixture.h"

namespace {

class StatisticsTest : public KestorTest {
 protected:
  void Add(const std::vector<int32_t>& counts) {
    for (int32_t n : counts) {
      k->N1C_L = n;
      k->AJOUTER_COMPTAGE();
    }
  }
  std::string Texts() const {
    return k->TEXTE_NBCOMPTAGE() + "|" + k->TEXTE_N1MOYEN(true) + "|" + k->TEXTE_VARI1(true);
  }
};

TEST_F(StatisticsTest, MeanAndSquareOfTheEqm) {
  Start();
  const struct {
    std::vector<int32_t> counts;
    double s2;
    const char* texts;
  } cases[] = {
      {{3}, 9, " Nombre de comptage = 1 | Nmoyen = 3 | = 0 "},
      {{1, 2}, 5, " Nombre de comptages = 2 | Nmoyen = 1.5 | = .25 "},
      {{0, 0, 1}, 1, " Nombre de comptages = 3 | Nmoyen = .33 | = .22 "},  // divides by k
      // Half-way means: 12.5 rounds to 12, 37.5 to 38.
      {{1, 0, 0, 0, 0, 0, 0, 0}, 1, " Nombre de comptages = 8 | Nmoyen = .12 | = .11 "},
      {{1, 1, 1, 0, 0, 0, 0, 0}, 3, " Nombre de comptages = 8 | Nmoyen = .38 | = .23 "},
      // A count above 50 enters the sums, not the histogram.
      {{16, 4001}, 16008257, " Nombre de comptages = 2 | Nmoyen = 2008.5 | = 3970056.25 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.texts);
    k->RAZ();
    Add(c.counts);
    EXPECT_EQ(Texts(), c.texts);
    EXPECT_EQ(k->S2N1_D, c.s2);
    std::array<int32_t, 51> classes{};
    for (int32_t n : c.counts)
      if (n <= 50) ++classes[static_cast<size_t>(n)];
    EXPECT_EQ(k->EFFECTIF_L, classes);
  }
}

// After a clearing, the first count is the mean and the e.q.m. is 0.
TEST_F(StatisticsTest, AClearingStartsTheStatisticsAgain) {
  Start();
  Add({7, 9, 12, 3});
  k->RAZ();
  EXPECT_EQ(k->TEXTE_NBCOMPTAGE(), " Nombre de comptage = 0 ");
  Add({4});
  EXPECT_EQ(Texts(), " Nombre de comptage = 1 | Nmoyen = 4 | = 0 ");
  EXPECT_EQ(k->EFFECTIF_L, (std::array<int32_t, 51>{0, 0, 0, 0, 1}));
}

}  // namespace
