// Texts of the result labels, built from the statistics with the number-text
// rule, and the rate in pulses per second.
#include "window/KESTOR_11.h"

std::string KESTOR_11::TEXTE_NBCOMPTAGE() const {
  const char* words = SN_L <= 1 ? " Nombre de comptage =" : " Nombre de comptages =";
  return words + ui::Str(SN_L) + " ";
}

std::string KESTOR_11::TEXTE_N1MOYEN(bool blank) const {
  return " Nmoyen =" + ui::Str(MOY1_L / 100.0) + (blank ? " " : "");
}

std::string KESTOR_11::TEXTE_VARI1(bool blank) const {
  return " =" + ui::Str(VAR1_L / 100.0) + (blank ? " " : "");
}

// The rate code 50 stands for 0.5 pulse per second; every other code is its
// own rate.
float KESTOR_11::TAUX() const {
  return ACTIV_I == 50 ? 0.5f : static_cast<float>(ACTIV_I);
}
