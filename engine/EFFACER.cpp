// Clearing and the change of counting rate, with the confirmation panel
// asked first whenever counts would be lost. Both end in RAZ.
#include <iterator>

#include "window/KESTOR_11.h"

namespace {

// Rate code of each entry of the rate list: 0.5 is coded 50.
constexpr int16_t kRateCodes[] = {50, 1, 2, 4, 8, 16};

// The confirmation panel asks: nothing that starts, clears, changes the rate
// or opens a page can be used meanwhile; the quit command stays.
void Ask(KESTOR_11& k) {
  k.ATTENTION.SetVisible(true);
  for (ui::Label* c : {&k.LANCER, &k.EFFACER, &k.ACTIVITES, &k.INFORMATION}) c->SetEnabled(false);
}

// The panel answered: it goes, and the commands come back ("Effacer" only
// when the counts are kept).
void Answered(KESTOR_11& k, bool counts_kept) {
  k.ATTENTION.SetVisible(false);
  for (ui::Label* c : {&k.LANCER, &k.ACTIVITES, &k.INFORMATION}) c->SetEnabled(true);
  k.EFFACER.SetEnabled(counts_kept);
}

}  // namespace

void KESTOR_11::EFFACER_Click() {
  Label31.SetVisible(false);
  Ask(*this);
  ACT_I = ACTIV_I;  // a plain clear keeps the rate in force
}

void KESTOR_11::ACTIV_Click() {
  NUM_LIST = static_cast<int16_t>(ACTIV.ListIndex());
  ACTIV.SetListIndex(-1);
  ACTIV.SetVisible(false);
  Label32.SetVisible(false);
  if (NUM_LIST < 0 || NUM_LIST >= static_cast<int>(std::size(kRateCodes))) return;
  const int16_t code = kRateCodes[NUM_LIST];
  if (code == ACTIV_I) return;
  ACT_I = code;
  if (SN_L == 0) {
    RAZ();
    return;
  }
  Ask(*this);
}

void KESTOR_11::OUI_Click() {
  Answered(*this, false);
  RAZ();
}

void KESTOR_11::NON_Click() {
  Answered(*this, true);
}
