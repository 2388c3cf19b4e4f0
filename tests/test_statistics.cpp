// Adding counts to the statistics: number of counts, mean x 100 and square
// of the e.q.m. x 100 with their rounding, the histogram classes, the label
// texts, and a clearing.
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
  // The members a clearing resets.
  void Clear() {
    k->SN_L = 0;
    k->S1_L = 0;
    k->S2N1_D = 0;
    for (size_t i = 0; i <= 40; ++i) k->EFFECTIF_L[i] = 0;
  }
};

TEST_F(StatisticsTest, MeanAndSquareOfTheEqm) {
  Start();
  const struct {
    std::vector<int32_t> counts;
    int32_t s1, moy1, var1;
    double s2, var;
    const char* texts;  // number of counts, mean, square of the e.q.m.
  } cases[] = {
      {{3}, 3, 300, 0, 9, 0, " Nombre de comptage = 1 | Nmoyen = 3 | = 0 "},
      {{1, 2}, 3, 150, 25, 5, 0.25, " Nombre de comptages = 2 | Nmoyen = 1.5 | = .25 "},
      {{0, 0, 1}, 1, 33, 22, 1, 2.0 / 9, " Nombre de comptages = 3 | Nmoyen = .33 | = .22 "},
      {{2, 3}, 5, 250, 25, 13, 0.25, " Nombre de comptages = 2 | Nmoyen = 2.5 | = .25 "},
      // Half-way means: 12.5 rounds to 12, 37.5 to 38.
      {{1, 0, 0, 0, 0, 0, 0, 0},
       1,
       12,
       11,
       1,
       0.109375,
       " Nombre de comptages = 8 | Nmoyen = .12 | = .11 "},
      {{1, 1, 1, 0, 0, 0, 0, 0},
       3,
       38,
       23,
       3,
       0.234375,
       " Nombre de comptages = 8 | Nmoyen = .38 | = .23 "},
      // A count above 50 enters the sums, not the histogram.
      {{16, 4001},
       4017,
       200850,
       397005625,
       16008257,
       3970056.25,
       " Nombre de comptages = 2 | Nmoyen = 2008.5 | = 3970056.25 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.texts);
    Clear();
    Add(c.counts);
    EXPECT_EQ(k->SN_L, static_cast<int32_t>(c.counts.size()));
    EXPECT_EQ(k->S1_L, c.s1);
    EXPECT_DOUBLE_EQ(k->S2N1_D, c.s2);
    EXPECT_EQ(k->MOY1_L, c.moy1);
    EXPECT_NEAR(k->VAR1_D, c.var, 1e-12);
    EXPECT_EQ(k->VAR1_L, c.var1);
    EXPECT_EQ(k->TEXTE_NBCOMPTAGE() + "|" + k->TEXTE_N1MOYEN(true) + "|" + k->TEXTE_VARI1(true),
              c.texts);
    std::array<int32_t, 51> classes{};
    for (int32_t n : c.counts)
      if (n <= 50) ++classes[static_cast<size_t>(n)];
    EXPECT_EQ(k->EFFECTIF_L, classes);
  }
}

TEST_F(StatisticsTest, AfterAClearingTheFirstCountIsTheMean) {
  Start();
  Add({7, 9, 12, 3});
  Clear();
  EXPECT_EQ(k->TEXTE_NBCOMPTAGE(), " Nombre de comptage = 0 ");
  Add({4});
  EXPECT_EQ(k->SN_L, 1);
  EXPECT_EQ(k->MOY1_L, 400);
  EXPECT_EQ(k->VAR1_L, 0);
  EXPECT_EQ(k->EFFECTIF_L[4], 1);
  EXPECT_EQ(k->EFFECTIF_L[7], 0);
}

}  // namespace
