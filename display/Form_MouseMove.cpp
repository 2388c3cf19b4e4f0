// Histogram query: the mouse over the histogram shows how many counts the
// class under the pointer holds, in EFF1 under the pointer, and highlights
// that bar in light magenta. Silent while a list header is shown, above the
// bottom of the mean label, with no counts, or while a run goes.

#include "engine/arith.h"
#include "window/KESTOR_11.h"

void KESTOR_11::Form_MouseMove(float x, float y) {
  if (Label31.Visible() || Label32.Visible() || Label33.Visible()) return;
  if (y < N1MOYEN.Top() + N1MOYEN.Height()) return;
  if (SN_L == 0) return;
  if (COMPTAGE_I == 1) return;

  const float u = x / ECHHORIZ_S;
  const float left = static_cast<float>(H1_I - UNITE_I / 2.0);
  const float right = static_cast<float>(H1_I + 40.0 * UNITE_I + UNITE_I / 2.0);
  if (u < left || u > right) return;
  EFF1.SetVisible(true);

  // Nearest class, halves to the even class: the base line's ends, half a
  // class beyond classes 0 and 40, round to 0 and 40.
  const int16_t c = arith::Round<int16_t>((static_cast<double>(u) - H1_I) / UNITE_I);
  if (c == CURSEUR_I) return;

  EFF1.SetCaption(" Effectif de (" + ui::Str(c) +
                  " ) =" + ui::Str(EFFECTIF_L[static_cast<size_t>(c)]) + " ");
  EFF1.SetVisible(true);

  // Under the pointer, kept inside the screen by a margin of its own height;
  // class 0 starts at the left end of the base line.
  const float sw = Width();
  EFF1.SetLeft(x);
  if (EFF1.Width() + x > sw - EFF1.Height()) EFF1.SetLeft(sw - EFF1.Height() - EFF1.Width());
  if (c == 0) EFF1.SetLeft(left * ECHHORIZ_S);

  TRACE_BARRE(CURSEUR_I, ui::QBColor(9));
  TRACE_BARRE(c, ui::QBColor(13));
  CURSEUR_I = c;
}
