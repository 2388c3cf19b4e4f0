// Texts of the result labels, built from the statistics with the number-text
// rule, and the rate in pulses per second.
#include "window/KESTOR_11.h"

std::string KESTOR_11::TEXTE_NBCOMPTAGE() const {
  const char* words = SN_L <= 1 ? " Nombre de comptage =" : " Nombre de comptages =";
  return words + ui::Str(SN_L) + " ";
}

namespace {

// A caption kept with the value it was built for: once a series settles, the
// mean and the e.q.m. keep their hundredths for many counts in a row, and a
// series refreshes their labels at every count.
struct KeptCaption {
  int32_t value = 0;
  bool blank = false;
  bool built = false;
  std::string text;

  const std::string& For(const char* words, int32_t hundredths, bool with_blank) {
    if (!built || hundredths != value || with_blank != blank) {
      built = true;
      value = hundredths;
      blank = with_blank;
      text = words + ui::Str(hundredths / 100.0) + (with_blank ? " " : "");
    }
    return text;
  }
};

}  // namespace

const std::string& KESTOR_11::TEXTE_N1MOYEN(bool blank) const {
  static KeptCaption caption;
  return caption.For(" Nmoyen =", MOY1_L, blank);
}

const std::string& KESTOR_11::TEXTE_VARI1(bool blank) const {
  static KeptCaption caption;
  return caption.For(" =", VAR1_L, blank);
}

// The rate code 50 stands for 0.5 pulse per second; every other code is its
// own rate.
float KESTOR_11::TAUX() const {
  return ACTIV_I == 50 ? 0.5f : static_cast<float>(ACTIV_I);
}
