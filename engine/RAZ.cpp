// RAZ: empties the histogram, the statistics and the counts kept, makes the
// chosen rate the rate in force and repaints the panel. The mean and e.q.m.
// members keep their values; their labels stay hidden until the next count.
#include "window/KESTOR_11.h"

void KESTOR_11::RAZ() {
  ACTIV_I = ACT_I;
  for (K_I = 0; K_I <= 40; ++K_I) EFFECTIF_L[static_cast<size_t>(K_I)] = 0;
  ECHELLE_S = 1.0f;
  N1COMPTE.SetVisible(false);
  EFF1.SetVisible(false);
  S2N1_D = 0;
  SN_L = 0;
  S1_L = 0;
  VALEURS_I.clear();
  AFFICHAGE0();
}
