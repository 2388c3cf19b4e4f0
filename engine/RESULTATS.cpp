// The results handed over to a spreadsheet or a program, as they stand when
// the key is pressed (between two counts of a run, which goes on): Ctrl+C
// puts them on the clipboard as tab-separated text, Ctrl+S saves them as a
// CSV file of the same lines with semicolons, in UTF-8 with a byte-order
// mark, named after the date and time.
//
// Every line but the two blank ones has two fields:
//   KESTOR | date and time (2026-12-07 16:43:05)
//   Taux de comptage (imp/s) | Nombre de comptages | Nmoyen | σ²  and figure
//   Classe | Effectif, then each class 0 to 50 and its number of counts
//   Numéro | Valeur, then each count kept, from 1, and its value
// Figures are written as the result labels write them (a "." before the
// decimals); with no count the mean and the square of the e.q.m. are empty.
#include <cstdio>

#include "window/KESTOR_11.h"

namespace {

// A figure by the number-text rule, without the blank that stands before a
// figure of 0 or more (none here is negative).
std::string Figure(double v) {
  return ui::Str(v).substr(1);
}

}  // namespace

std::string KESTOR_11::RESULTATS(char sep, const ui::DateTime& at) const {
  char date[80];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month, at.day,
                at.hour, at.minute, at.second);
  const bool counted = SN_L > 0;
  std::string out;
  const auto line = [&](const std::string& a, const std::string& b) {
    out.append(a).append(1, sep).append(b).append(1, '\n');
  };
  line("KESTOR", date);
  line("Taux de comptage (imp/s)", Figure(TAUX()));
  line("Nombre de comptages", std::to_string(SN_L));
  line("Nmoyen", counted ? Figure(MOY1_L / 100.0) : "");
  line("σ²", counted ? Figure(VAR1_L / 100.0) : "");
  out += '\n';
  line("Classe", "Effectif");
  for (size_t i = 0; i < EFFECTIF_L.size(); ++i)
    line(std::to_string(i), std::to_string(EFFECTIF_L[i]));
  out += '\n';
  line("Numéro", "Valeur");
  for (size_t i = 0; i < VALEURS_I.size(); ++i)
    line(std::to_string(i + 1), std::to_string(VALEURS_I[i]));
  return out;
}

void KESTOR_11::Form_KeyDown(ui::Shortcut key) {
  const ui::DateTime at = ui::Now();
  if (key == ui::Shortcut::Copy) {
    ui::SetClipboard(RESULTATS('\t', at));
    return;
  }
  char name[80];
  std::snprintf(name, sizeof name, "kestor-%04d-%02d-%02d-%02dh%02d.csv", at.year, at.month, at.day,
                at.hour, at.minute);
  ui::SaveFile(name, "\xEF\xBB\xBF" + RESULTATS(';', at));
}
