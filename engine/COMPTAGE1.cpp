// One count: one second of detector pulses taken from the pulse data file.
//
// Intervals are read from file number 2 and laid one after the other along
// the 1.536-second strip (15360 reference twips); the pulses that fall in the
// one-second window [D1_I, D1_I + T1_I] are counted and, in the modes that
// show pulses, drawn light blue (light red outside the window). The count is
// then added to the statistics, the result labels are refreshed, and the bar
// of its class is raised, shrinking the histogram scale first when the bar
// would reach the result labels.
//
// Outcomes we chose so that a count always ends:
// - a value that is not finite in single precision is taken as 0 (so as 1);
// - a count that has read kMaxReads values without filling the strip is
//   closed as it stands;
// - a file that gives no value right after it was reopened is treated like a
//   missing file, and the count returns without adding anything;
// - a count above 50 has no class: no bar is drawn and the scale is kept.
#include <cmath>

#include "engine/arith.h"
#include "ui/textfile.h"
#include "window/KESTOR_11.h"

namespace {

constexpr int kFile = 2;
constexpr float kStripEnd = 15360.0f;   // reference twips: 1.536 s
constexpr float kTwipsPerUnit = 40.0f;  // a value v is 40 v / rate twips
constexpr long kMaxReads = 1000000;
constexpr int kLastClass = 50;
constexpr int kLastRedrawnClass = 40;

// Reads the next interval into k.A_S. When the read fails, the file is
// reopened under FICHIER_T and read from its first value; a file that cannot
// be reopened ends the program. Returns false, with the file state reset as
// for a missing file, when even the reopened file gives no value.
bool ReadInterval(KESTOR_11& k) {
  if (ui::files::InputSingle(kFile, k.A_S)) return true;
  ui::files::Close(kFile);
  if (!ui::files::Open(kFile, k.FICHIER_T)) ui::End("data file cannot be reopened");
  if (ui::files::InputSingle(kFile, k.A_S)) return true;
  ui::files::CloseAll();
  k.FICHIER_T.clear();
  k.ERREUR_I = 1;
  k.DISK_0.SetVisible(true);
  return false;
}

// Bottom edge of a label, in screen twips.
float Bottom(const ui::Label& l) {
  return l.Top() + l.Height();
}

// Result labels after the count has been added, by kind of run: 0 or 2 the
// mean and the e.q.m. with a trailing blank (the run itself shows their
// labels); 1 also the number of counts, all without it, shown; any other
// kind leaves them.
void RefreshLabels(KESTOR_11& k) {
  if (k.MARCHE_I == 0 || k.MARCHE_I == 2) {
    k.N1MOYEN.SetCaption(k.TEXTE_N1MOYEN(true));
    k.VARI1.SetCaption(k.TEXTE_VARI1(true));
    k.SIGMA2.SetVisible(true);
  } else if (k.MARCHE_I == 1) {
    k.NBCOMPTAGE.SetCaption(" Nombre de comptages =" + ui::Str(k.SN_L));
    k.N1MOYEN.SetVisible(true);
    k.N1MOYEN.SetCaption(k.TEXTE_N1MOYEN(false));
    k.SIGMA2.SetVisible(true);
    k.VARI1.SetCaption(k.TEXTE_VARI1(false));
    k.VARI1.SetVisible(true);
  }
}

// When the bar of class n would come within 20 twips of the bottom of
// N1MOYEN, erases the histogram area, draws the base line again, divides
// ECHELLE_S by 1.2 and redraws the bars of classes 0 to 40. At most once.
void CheckScale(KESTOR_11& k, int n) {
  if (!k.BARRE_ATTEINT_MOYENNE(static_cast<int16_t>(n))) return;
  k.FilledBox(0, k.POSHIST_I - 10.0f, k.Width(), Bottom(k.N1MOYEN), ui::QBColor(15));
  const double half = k.UNITE_I / 2.0;
  const double right =
      arith::Add<int16_t>(k.H1_I, arith::Mul<int16_t>(kLastRedrawnClass, k.UNITE_I)) + half;
  k.Line(static_cast<float>((k.H1_I - half) * k.ECHHORIZ_S), k.POSHIST_I,
         static_cast<float>(right * k.ECHHORIZ_S), k.POSHIST_I, ui::QBColor(9));
  k.ECHELLE_S = static_cast<float>(k.ECHELLE_S / 1.2);
  k.TRACEHISTO();
}

}  // namespace

bool KESTOR_11::BARRE_ATTEINT_MOYENNE(int16_t n) const {
  const double height =
      static_cast<double>(ECHELLE_S) * arith::Mul<int32_t>(200, EFFECTIF_L[static_cast<size_t>(n)]);
  const float top = static_cast<float>(POSHIST_I - height);
  const float limit = static_cast<float>(static_cast<double>(Bottom(N1MOYEN)) + 20.0);
  return limit > top;
}

// Makes one count. The caller has set MODE_T, MARCHE_I, and TEMPS_S = 0,
// N1C_L = 0. Ends the program when the window is gone; returns without
// counting when no data file can be opened (ERREUR_I is then 1).
void KESTOR_11::COMPTAGE1() {
  if (!Alive()) ui::End("window closed");
  if (FICHIER_T.empty()) OUVERTURE();
  if (FICHIER_T.empty()) return;

  // Placing the pulses until the strip is full.
  const bool shows = MODE_T == "C_1" || MODE_T == "CONTINU";
  const float rate = TAUX();
  const float window_start = D1_I;
  const float window_end = arith::Add<int16_t>(D1_I, T1_I);
  const float axis = shows ? POSAXE_I * ECHVERTI_S : 0.0f;
  const float strip_bottom = shows ? Bottom(NBCOMPTAGE) : 0.0f;
  for (long reads = 0; reads < kMaxReads; ++reads) {
    if (!ReadInterval(*this)) return;
    if (!std::isfinite(A_S)) A_S = 0;
    if (A_S == 0) A_S = 1;
    A_S = A_S * kTwipsPerUnit / rate;
    B_S = A_S + TEMPS_S;
    if (B_S >= kStripEnd) break;
    TEMPS_S = B_S;
    const bool inside = window_start <= B_S && B_S <= window_end;
    if (shows) {
      const float x = ECHELLEX_S * B_S;
      Line(x, axis, x, strip_bottom, ui::QBColor(inside ? 9 : 12));
    }
    if (inside) {
      N1C_L = arith::Add<int32_t>(N1C_L, 1);
      if (shows) N1COMPTE.SetCaption(" Valeur du comptage =" + ui::Str(N1C_L) + " ");
    }
  }

  // Closing the count.
  const int32_t n = N1C_L;
  if (shows && n == 0) N1COMPTE.SetCaption(" Valeur du comptage = 0 ");
  AJOUTER_COMPTAGE();
  RefreshLabels(*this);
  if (n >= 0 && n <= kLastClass) {
    CheckScale(*this, n);
    TRACE_BARRE(static_cast<int16_t>(n), ui::QBColor(9));
  }
  if (!EFFACER.Enabled()) EFFACER.SetEnabled(true);
}
