// The screen changed size (the browser's page resized, put in full screen,
// moved to a projector, a tablet turned): the window is laid out again for
// it and shows what a start at that size followed by the same counts would
// show. What the labels say and which are shown are kept, the panel is drawn
// again with the histogram at the scale its classes take there, and an open
// page, list or panel is built again at the new size. The strip is left
// empty until the next count (the pulses of a single count are not kept),
// and the query shows again at the next move over the histogram.
#include <string>

#include "window/KESTOR_11.h"

void KESTOR_11::Form_Resize() {
  ui::Label* const kept[] = {&N1COMPTE, &NBCOMPTAGE, &N1MOYEN, &VARI1};
  std::string captions[4];
  bool shown[4];
  for (int i = 0; i < 4; ++i) captions[i] = kept[i]->Caption(), shown[i] = kept[i]->Visible();
  const bool rate_shown = ACTIVIT.Visible(), sigma_shown = SIGMA2.Visible();

  MISE_EN_PAGE();
  // The scale a run at this size reaches: shrunk while a bar would reach
  // the mean label, as each count does.
  ECHELLE_S = 1.0f;
  for (int16_t n = 0; n < static_cast<int16_t>(EFFECTIF_L.size()); ++n)
    while (ECHELLE_S > 0 && BARRE_ATTEINT_MOYENNE(n))
      ECHELLE_S = static_cast<float>(ECHELLE_S / 1.2);
  AFFICHAGE0();
  if (SN_L > 0) BANDE0();  // the strip as a run leaves it, empty
  TRACEHISTO();

  for (int i = 0; i < 4; ++i) kept[i]->SetCaption(captions[i]), kept[i]->SetVisible(shown[i]);
  ACTIVIT.SetVisible(rate_shown);
  SIGMA2.SetVisible(sigma_shown);
  EFF1.SetVisible(false);
  CURSEUR_I = -1;  // no bar highlighted
  if (Picture2.Visible()) {
    for (ui::Image* i : {&STAT_Image1, &STAT_Image2, &STAT_Image3}) i->SetVisible(false);
    CONSTRUIRE_PAGE();
  }
}
