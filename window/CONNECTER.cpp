// Event wiring: each widget event goes to the member named after the widget
// and the event. Widgets without a line here report nothing.
#include "window/KESTOR_11.h"

void KESTOR_11::CONNECTER() {
  // The window itself.
  Click = [this] { Form_Click(); };
  MouseMove = [this](const ui::Mouse& m) { Form_MouseMove(m.x, m.y); };
  KeyDown = [this](ui::Shortcut key) { Form_KeyDown(key); };

  // Command bar, title bar and lists.
  LANCER.Click = [this] { LANCER_Click(); };
  LANCER.MouseMove = [this](const ui::Mouse&) { LANCER_MouseMove(); };
  EFFACER.Click = [this] { EFFACER_Click(); };
  EFFACER.MouseMove = [this](const ui::Mouse&) { EFFACER_MouseMove(); };
  ACTIVITES.Click = [this] { ACTIVITES_Click(); };
  ACTIVITES.MouseMove = [this](const ui::Mouse&) { ACTIVITES_MouseMove(); };
  INFORMATION.Click = [this] { INFORMATION_Click(); };
  INFORMATION.MouseMove = [this](const ui::Mouse&) { INFORMATION_MouseMove(); };
  FIN.Click = [this] { FIN_Click(); };
  FIN.MouseMove = [this](const ui::Mouse&) { FIN_MouseMove(); };
  TITRE.MouseMove = [this](const ui::Mouse&) { TITRE_MouseMove(); };
  Picture1.MouseMove = [this](const ui::Mouse&) { Picture1_MouseMove(); };
  Label34.Click = [this] { Label34_Click(); };
  LANCER_N.MouseUp = [this](const ui::Mouse&) { LANCER_N_MouseUp(); };
  ACTIV.Click = [this] { ACTIV_Click(); };
  ACTIV.MouseUp = [this](const ui::Mouse&) { ACTIV_MouseUp(); };
  INFOS.MouseUp = [this](const ui::Mouse&) { INFOS_MouseUp(); };

  // Confirmation panel.
  OUI.Click = [this] { OUI_Click(); };
  NON.Click = [this] { NON_Click(); };

  // Information pages: a click anywhere on a page closes it.
  BLANCS.Click = [this] { BLANCS_Click(); };
  Picture2.Click = [this] { BLANCS_Click(); };
  for (ui::Label* l : LIGNES) l->Click = [this] { BLANCS_Click(); };
  for (ui::Image* i : {&STAT_Image1, &STAT_Image2, &STAT_Image3})
    i->Click = [this] { BLANCS_Click(); };
}
