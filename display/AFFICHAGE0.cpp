// The measurement panel, repainted from nothing: time axis, the count
// window's bracket, caption and arrows, the histogram frame with its
// graduations, the (empty) bars, and the labels in their empty state.
// Built from the state alone: two calls in a row give the same picture.
#include "display/colours.h"
#include "engine/arith.h"
#include "window/KESTOR_11.h"

namespace {

using namespace colours;

// Draws a label's text on the window at the label's place, in its face and
// size, and hides the label. The point plotted first (in `point`) sets the
// text position; with no text only that point is left.
void DrawInPlace(KESTOR_11& k, ui::Label& l, ui::Rgb point, ui::Rgb text,
                 const std::string* caption) {
  l.SetVisible(false);
  k.SetForeColor(point);
  k.PSet(l.Left(), l.Top());
  k.SetFontName(l.FontName());
  k.SetFontSize(l.FontSize());
  k.SetForeColor(text);
  if (caption) k.Print(*caption);
}

}  // namespace

void KESTOR_11::AFFICHAGE0() {
  const float EH = ECHHORIZ_S, EV = ECHVERTI_S;

  // 1-2: rate caption; the count value follows it at one label height.
  ACTIVIT.SetCaption(" Taux de comptage =" + ui::Str(TAUX()) + " imp/s ");
  N1COMPTE.SetLeft(ACTIVIT.Left() + ACTIVIT.Width() + ACTIVIT.Height());

  // 3-5: clear, time axis, count-window bracket.
  Cls();
  const float axis = POSAXE_I * EV;
  Line(1, axis, LARGEUR_I, axis, ui::QBColor(12));
  const float xa = I1_I * EH, xb = arith::Add<int16_t>(I1_I, TV_I) * EH;
  const float yb = arith::Add<int16_t>(POSAXE_I, 250) * EV;
  Line(xa, axis, xb, axis, ui::QBColor(9));
  Line(xa, axis, xa, yb, ui::QBColor(9));
  Line(xb, axis, xb, yb, ui::QBColor(9));

  // 6: histogram base line, half a class beyond classes 0 and 40.
  const double half = UNITE_I / 2.0;
  Line(
      static_cast<float>((H1_I - half) * EH), POSHIST_I,
      static_cast<float>((arith::Add<int16_t>(H1_I, arith::Mul<int16_t>(40, UNITE_I)) + half) * EH),
      POSHIST_I, ui::QBColor(9));

  // 7: graduation ticks of three lengths.
  struct Ticks {
    int step;
    float length;
  };
  for (Ticks t : {Ticks{1, 100}, Ticks{5, 200}, Ticks{10, 300}}) {
    for (K_I = 0; K_I <= 40; K_I = arith::Add<int16_t>(K_I, t.step)) {
      float x = arith::Add<int16_t>(H1_I, arith::Mul<int16_t>(K_I, UNITE_I)) * EH;
      Line(x, POSHIST_I, x, POSHIST_I + t.length * EV, ui::QBColor(9));
    }
  }

  // 8: graduation numbers 0 to 40, in the window's current face.
  SetFontSize(arith::Floor<int16_t>(16.0 * EV));
  for (int16_t n = 0; n <= 40; n += 5) {
    const int16_t d = n < 10 ? DECAL1_I : DECAL2_I;
    SetForeColor(kWhite);
    PSet(arith::Add<int16_t>(arith::Add<int16_t>(H1_I, -d), arith::Mul<int16_t>(n, UNITE_I)) * EH,
         POSHIST_I + 250 * EV);
    SetForeColor(kDarkBlue);
    Print(std::to_string(n));
  }

  // 9: no bars: the panel is drawn at start-up and after a clear, every
  //    class empty.

  // 10: texts drawn in place.
  const std::string histogram = " Histogramme des comptages";
  DrawInPlace(*this, HISTOGRAMME, kWhite, kDarkBlue, &histogram);
  LIMITE.SetCaption("    Limites temporelles du comptage (1 seconde)");
  LIMITE.SetLeft((T1_I * EH - LIMITE.Width()) / 2 + D1_I * EH);
  DrawInPlace(*this, LIMITE, kWhite, kDarkBlue, &LIMITE.Caption());
  VERSG.SetLeft(D1_I * EH + 50);
  const std::string left_arrow = "<";
  DrawInPlace(*this, VERSG, kWhite, kDarkBlue, &left_arrow);
  VERSD.SetLeft(arith::Add<int16_t>(T1_I, D1_I) * EH - VERSD.Width());
  const std::string right_arrow = " >";
  DrawInPlace(*this, VERSD, kWhite, kDarkBlue, &right_arrow);
  DrawInPlace(*this, ACTIVIT, kBlue, kRed, &ACTIVIT.Caption());
  MOT1.SetCaption(" Nombre de comptage =");
  DrawInPlace(*this, NBCOMPTAGE, kBlue, kWhite, nullptr);
  MOT2.SetCaption(" Nmoyen =");
  DrawInPlace(*this, N1MOYEN, kBlue, kGreen, nullptr);
  MOT3.SetCaption(" =");
  DrawInPlace(*this, VARI1, kBlue, kYellow, nullptr);

  // 11: the rate label covers its drawn copy.
  MOT1.SetVisible(false);
  MOT2.SetVisible(false);
  MOT3.SetVisible(false);
  ACTIVIT.SetVisible(true);

  // 12: result labels in their empty state.
  if (SN_L == 0) {
    NBCOMPTAGE.SetCaption(MOT1.Caption() + " 0 ");
    N1MOYEN.SetCaption(MOT2.Caption() + " 0 ");
    VARI1.SetCaption(MOT3.Caption() + " 0 ");
    NBCOMPTAGE.SetVisible(true);
    N1MOYEN.SetVisible(false);
    VARI1.SetVisible(false);
    SIGMA2.SetVisible(false);
  }
}
