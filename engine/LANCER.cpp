// The series runner: the count-number list turns into one count, a series of
// N counts, or a continuous run, with the stop command as the only way in
// while a run goes.
//
// The runner is the one place that yields to the event loop, once per count
// of a series or continuous run (ui::DoEvents). The end of the program may
// unwind out of that yield or out of a count; the runner lets it through and
// only puts its run flags back on the way out.
#include <exception>

#include "engine/arith.h"
#include "window/KESTOR_11.h"

namespace {

// Number of counts of the list entries 0 to 15; entry 16 is the continuous run.
constexpr int32_t kCounts[16] = {1,   2,    5,    10,   20,    50,    100,   200,
                                 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000};
constexpr int kContinuous = 16;
// The continuous run's pass counter cycles 1 to 499 under a bound of 1000.
constexpr int32_t kContinuousBound = 1000;
constexpr int32_t kContinuousWrap = 500;

const char* const kCountValue = " Valeur du comptage = ";

// On unwinding by an exception (the end of the program), the run is over:
// its flags go back to idle.
class RunFlags {
 public:
  explicit RunFlags(KESTOR_11& k) : k_(k), exceptions_(std::uncaught_exceptions()) {}
  ~RunFlags() {
    if (std::uncaught_exceptions() == exceptions_) return;
    k_.COMPTAGE_I = 0;
    k_.MARCHE_I = 0;
  }
  RunFlags(const RunFlags&) = delete;
  RunFlags& operator=(const RunFlags&) = delete;

 private:
  KESTOR_11& k_;
  int exceptions_;
};

// The command bar with the rate label, hidden during a run.
void ShowCommandBar(KESTOR_11& k, bool shown) {
  for (ui::Label* l : {&k.LANCER, &k.EFFACER, &k.ACTIVITES, &k.ACTIVIT, &k.INFORMATION, &k.FIN})
    l->SetVisible(shown);
}

// The three result labels as a finished run leaves them.
void WriteResults(KESTOR_11& k) {
  k.NBCOMPTAGE.SetCaption(k.TEXTE_NBCOMPTAGE());
  k.N1MOYEN.SetCaption(k.TEXTE_N1MOYEN(true));
  k.N1MOYEN.SetVisible(true);
  k.VARI1.SetCaption(k.TEXTE_VARI1(true));
  k.VARI1.SetVisible(true);
}

// Entry 0: one count with its pulses drawn; it cannot be interrupted, and
// nothing is painted before it ends: the command bar stays as it is.
void OneCount(KESTOR_11& k) {
  k.SetMousePointer(ui::Pointer::Hourglass);
  k.MODE_T = "C_1";
  k.N1COMPTE.SetVisible(true);
  k.N1COMPTE.SetCaption(kCountValue);
  k.SIGMA2.SetVisible(false);  // shown again by the count, not when no data file is found
  k.MARCHE_I = 0;
  k.BANDE0();
  k.COMPTAGE1();
  k.SetMousePointer(ui::Pointer::Arrow);
  WriteResults(k);
}

// Entries 1 to 15: n counts without drawing the pulses, one yield after
// each; the stop or a missing data file ends the series after that pass.
void Series(KESTOR_11& k, int32_t n) {
  k.N0C_L = n;
  k.MARCHE_I = 1;
  k.COMPTAGE_I = 1;
  k.Label34.SetVisible(true);
  ShowCommandBar(k, false);
  k.BANDE0();
  k.N1COMPTE.SetVisible(false);
  k.MODE_T = "C000010";
  const int32_t last = k.N0C_L;
  for (k.BOUCLE_L = 1; k.BOUCLE_L <= last; k.BOUCLE_L = arith::Add<int32_t>(k.BOUCLE_L, 1)) {
    k.TEMPS_S = 0;
    k.N1C_L = 0;
    k.COMPTAGE1();
    ui::DoEvents();
    if (k.COMPTAGE_I == 0) k.BOUCLE_L = k.N0C_L;
    if (k.ERREUR_I == 1) {
      k.BOUCLE_L = k.N0C_L;
      k.DISK_0.SetVisible(true);
    }
  }
  k.COMPTAGE_I = 0;
  k.MARCHE_I = 0;
  WriteResults(k);
  k.Label34.SetVisible(false);
  ShowCommandBar(k, true);
}

// Entry 16: counts with their pulses drawn and a 2-second pause after each,
// until the stop (seen after the count in progress; the strip keeps its
// pulses) or a missing data file (after that pass's pause and clearing).
void Continuous(KESTOR_11& k) {
  k.N1COMPTE.SetVisible(true);
  k.MARCHE_I = 2;
  k.COMPTAGE_I = 1;
  ShowCommandBar(k, false);
  k.Label34.SetVisible(true);
  k.MODE_T = "CONTINU";
  k.BANDE0();
  for (k.BOUCLE_L = 1; k.BOUCLE_L <= kContinuousBound;
       k.BOUCLE_L = arith::Add<int32_t>(k.BOUCLE_L, 1)) {
    if (k.BOUCLE_L == kContinuousWrap) k.BOUCLE_L = 1;
    k.TEMPS_S = 0;
    k.N1C_L = 0;
    k.N1COMPTE.SetCaption(kCountValue);
    k.SIGMA2.SetVisible(false);  // shown again by the count, not when no data file is found
    k.COMPTAGE1();
    k.N1MOYEN.SetVisible(true);
    k.VARI1.SetVisible(true);
    k.NBCOMPTAGE.SetCaption(k.TEXTE_NBCOMPTAGE());
    k.NBCOMPTAGE.SetVisible(true);
    ui::DoEvents();
    if (k.COMPTAGE_I == 0) {
      k.BOUCLE_L = kContinuousBound;
      continue;
    }
    if (k.ERREUR_I == 1) {
      k.BOUCLE_L = kContinuousBound;
      k.DISK_0.SetVisible(true);
    }
    // The pause does not yield: the count it follows is painted first.
    ui::Refresh();
    k.PAUSE2();
    k.BANDE0();
  }
  k.REPOS();
  k.COMPTAGE_I = 0;
  k.MARCHE_I = 0;
  WriteResults(k);
  k.Label34.SetVisible(false);
  ShowCommandBar(k, true);
}

}  // namespace

void KESTOR_11::LANCER_Click() {
  LANCER_N.SetVisible(true);
  ACTIV.SetVisible(false);
  INFOS.SetVisible(false);
}

// Runs the entry selected in the count-number list: 0 one count, 1 to 15 a
// series, 16 the continuous run; with no entry selected it only closes the
// list. Returns when the run is over.
void KESTOR_11::LANCER_N_MouseUp() {
  LANCER_N.SetVisible(false);
  Label31.SetVisible(false);
  NUM_LIST = arith::Saturate<int16_t>(LANCER_N.ListIndex());
  LANCER_N.SetListIndex(-1);
  EFF1.SetVisible(false);
  if (NUM_LIST < 0 || NUM_LIST > kContinuous) return;
  RunFlags flags(*this);
  if (NUM_LIST == 0) {
    OneCount(*this);
  } else if (NUM_LIST < kContinuous) {
    Series(*this, kCounts[NUM_LIST]);
  } else {
    Continuous(*this);
  }
}

void KESTOR_11::Label34_Click() {
  COMPTAGE_I = 0;
}
