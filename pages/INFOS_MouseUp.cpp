// Opening and closing an information page. A page lies over everything
// under the title bar; while it is open the start, clear and rate commands
// are disabled and the quit command is hidden. Neither opening nor closing
// touches the counting state or the drawing of the panel.
#include "window/KESTOR_11.h"

void KESTOR_11::INFOS_MouseUp() {
  const bool clear_enabled = EFFACER.Enabled();
  LANCER.SetEnabled(false);
  EFFACER.SetEnabled(false);
  ACTIVITES.SetEnabled(false);
  BLANCS.SetVisible(true);
  FIN.SetVisible(false);
  NUM_LIST = static_cast<int16_t>(INFOS.ListIndex());
  INFOS.SetVisible(false);
  if (!CONSTRUIRE_PAGE()) {
    // No entry under the pointer: no page opens, and the commands come
    // back as they were.
    INFOS.SetListIndex(-1);
    BLANCS_Click();
    EFFACER.SetEnabled(clear_enabled);
    return;
  }
  Picture2.SetVisible(true);
  INFOS.SetListIndex(-1);
}

bool KESTOR_11::CONSTRUIRE_PAGE() {
  switch (NUM_LIST) {
    case 0:
      UTILIS();
      return true;
    case 1:
      RADIO();
      return true;
    case 2:
      STAT();
      return true;
    case 3:
      APROPOS();
      return true;
    default:
      return false;
  }
}

void KESTOR_11::BLANCS_Click() {
  LANCER.SetEnabled(true);
  if (SN_L > 1) EFFACER.SetEnabled(true);
  ACTIVITES.SetEnabled(true);
  BLANCS.SetVisible(false);
  Picture2.SetVisible(false);
  FIN.SetVisible(true);
  STAT_Image1.SetVisible(false);
  STAT_Image2.SetVisible(false);
  STAT_Image3.SetVisible(false);
  Label33.SetVisible(false);
}

void KESTOR_11::INVISIBLE() {
  for (ui::Label* l : LIGNES) l->SetVisible(false);
}
