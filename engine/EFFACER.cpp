// Clearing and the change of counting rate, with the confirmation panel
// asked first whenever counts would be lost. Both end in RAZ.
#include <iterator>

#include "window/KESTOR_11.h"

namespace {

// Rate code of each entry of the rate list: 0.5 is coded 50.
constexpr int16_t kRateCodes[] = {50, 1, 2, 4, 8, 16};

// While the panel asks, nothing that starts, clears, changes the rate or
// opens a page can be used; the quit command stays.
void Asking(KESTOR_11& k) {
  k.LANCER.SetEnabled(false);
  k.EFFACER.SetEnabled(false);
  k.ACTIVITES.SetEnabled(false);
  k.INFORMATION.SetEnabled(false);
}

}  // namespace

void KESTOR_11::EFFACER_Click() {
  LANCER.SetEnabled(false);
  Label31.SetVisible(false);
  EFFACER.SetEnabled(false);
  ACTIVITES.SetEnabled(false);
  INFORMATION.SetEnabled(false);
  ATTENTION.SetVisible(true);
  ACT_I = ACTIV_I;  // a plain clear keeps the rate in force
}

void KESTOR_11::ACTIV_Click() {
  NUM_LIST = static_cast<int16_t>(ACTIV.ListIndex());
  ACTIV.SetVisible(false);
  Label32.SetVisible(false);
  if (NUM_LIST < 0 || NUM_LIST >= static_cast<int>(std::size(kRateCodes))) return;
  const int16_t code = kRateCodes[NUM_LIST];
  if (code == ACTIV_I) {
    ACTIV.SetListIndex(-1);
    return;
  }
  ACT_I = code;
  ACTIV.SetListIndex(-1);
  ACTIV.SetVisible(false);
  if (SN_L == 0) {
    RAZ();
    return;
  }
  ATTENTION.SetVisible(true);
  Asking(*this);
}

void KESTOR_11::OUI_Click() {
  ATTENTION.SetVisible(false);
  LANCER.SetEnabled(true);
  EFFACER.SetEnabled(false);
  ACTIVITES.SetEnabled(true);
  INFORMATION.SetEnabled(true);
  RAZ();
}

void KESTOR_11::NON_Click() {
  ATTENTION.SetVisible(false);
  LANCER.SetEnabled(true);
  EFFACER.SetEnabled(true);
  ACTIVITES.SetEnabled(true);
  INFORMATION.SetEnabled(true);
}
