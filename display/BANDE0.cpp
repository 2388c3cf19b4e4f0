// The pulse strip made ready for a new count: the in-count position and
// pulse number back to 0, the band between the bottom of NBCOMPTAGE and the
// time axis erased across the screen, and the axis drawn again, light blue.
#include "window/KESTOR_11.h"

void KESTOR_11::BANDE0() {
  TEMPS_S = 0;
  N1C_L = 0;
  const float axis = POSAXE_I * ECHVERTI_S;
  const float width = Width();
  FilledBox(0, axis, width, NBCOMPTAGE.Top() + NBCOMPTAGE.Height(), ui::QBColor(15));
  Line(1, axis, width, axis, ui::QBColor(9));
}
