#include "window/layout.h"

#include <cmath>
#include <functional>

#include "ui/ui.h"
#include "window/KESTOR_11.h"

namespace layout {
namespace {
float Right(const ui::Widget& w) {
  return w.Left() + w.Width();
}
float Bottom(const ui::Widget& w) {
  return w.Top() + w.Height();
}
// Width of a text in MOT1's font.
float Measure(KESTOR_11& k, const char* text) {
  k.MOT1.SetCaption(text);
  return k.MOT1.Width();
}
// Left edge that centres a widget of width w under the middle of `over`.
float CentredUnder(const ui::Widget& over, float w) {
  return over.Left() + over.Width() / 2 - w / 2;
}
}  // namespace

// Texts are sized from the height and spaced from the width: a screen
// narrower than 6 : 5 sets the rate label's value over the number of counts.
// Such a screen (an upright tablet or monitor) gets the largest 4 : 3 stage
// across its width, centred, in whole pixels; any other is covered whole.
Stage StageOn(float width, float height) {
  if (5 * width >= 6 * height) return Stage{0, 0, width, height};
  const float px = ui::kTwipsPerPixel;
  const float stage_h = std::floor(width / px * 3 / 4) * px;
  return Stage{0, std::floor((height - stage_h) / 2 / px) * px, width, stage_h};
}

void TitleBar(KESTOR_11& k) {
  k.Picture1.Move(0, 0);
  k.Picture1.SetWidth(k.Width());
  k.Picture1.SetHeight(800 * k.ECHVERTI_S);
  float h = 0.8f * k.Picture1.Height();
  k.KESTOR_Image1.SetHeight(h);
  k.KESTOR_Image1.SetWidth(h);
  k.KESTOR_Image1.SetTop((k.Picture1.Height() - h) / 2);
  k.KESTOR_Image1.SetLeft(h / 10);
}

void QuitCommand(KESTOR_11& k) {
  k.FIN.SetTop((k.Picture1.Height() - k.FIN.Height()) / 2);
  k.FIN.SetLeft(k.Width() - k.FIN.Width() - k.FIN.Height());
}

// Largest whole size from `size` down to 1 point at which the text's
// extent is within limit, the size that lowering one point at a time would
// reach: a smaller size never makes the text larger. The extent grows about
// in proportion to the size, so the search starts from the proportional
// guess and steps to the boundary: three sizes are measured, as a rule
// (each new size loads a font and its glyphs).
float LargestFitting(ui::Label& t, float size, const std::function<float()>& extent, float limit) {
  t.SetFontSize(size);
  const float full = extent();
  if (full <= limit || size <= 1) return size;
  float guess = std::floor(size * limit / full);
  if (!(guess >= 1)) guess = 1;  // also NaN; below size, as full exceeds limit
  t.SetFontSize(guess);
  if (extent() <= limit) {
    while (guess + 1 < size) {
      t.SetFontSize(guess + 1);
      if (extent() > limit) break;
      ++guess;
    }
  } else {
    while (guess > 1) {
      t.SetFontSize(--guess);
      if (extent() <= limit) break;
    }
  }
  t.SetFontSize(guess);
  return guess;
}

void FitTitle(KESTOR_11& k) {
  ui::Label& t = k.TITRE;
  const float x0 = Right(k.KESTOR_Image1);
  float size = LargestFitting(
      t, t.FontSize(), [&] { return t.Width(); }, k.FIN.Left() - 3 * k.FIN.Height() - x0);
  LargestFitting(
      t, size, [&] { return t.Height(); }, k.KESTOR_Image1.Height() - k.FIN.Height() / 4);
  t.SetTop((k.Picture1.Height() - t.Height()) / 2);
  t.SetLeft(x0 + (k.FIN.Left() - t.Width() - x0) / 2);
}

void PageOverlay(KESTOR_11& k) {
  k.Picture2.Move(0, Bottom(k.Picture1));
  k.Picture2.SetWidth(k.Width());
  k.Picture2.SetHeight(k.Height());
}

void StartCommands(KESTOR_11& k) {
  k.LANCER.Move(0, k.Picture1.Height());
  k.Label34.Move(k.LANCER.Width(), k.Picture1.Height());
  k.Label31.Move(k.Label31.Height(), k.Picture1.Height() + 3 * k.Label31.Height());
}

void CountList(KESTOR_11& k, float r) {
  ui::ListBox& l = k.LANCER_N;
  l.SetTop(k.Label31.Top() + 1.1f * k.Label31.Height());
  l.SetWidth(Measure(k, "    En continu       "));
  l.SetHeight(9 * r);
  l.SetLeft(CentredUnder(k.Label31, l.Width()));
}

void ClearCommand(KESTOR_11& k) {
  k.EFFACER.Move(Right(k.LANCER), k.LANCER.Top());
}

void RateCommand(KESTOR_11& k) {
  k.ACTIVITES.Move(Right(k.EFFACER), k.LANCER.Top());
}

void RateHeader(KESTOR_11& k) {
  k.Label32.Move(CentredUnder(k.ACTIVITES, k.Label32.Width()), k.Label31.Top());
}

void RateList(KESTOR_11& k, float r) {
  ui::ListBox& l = k.ACTIV;
  l.SetWidth(Measure(k, " 16.0    "));
  l.SetHeight(6 * r);
  l.SetTop(k.Label32.Top() + 1.1f * k.Label32.Height());
  l.SetLeft(CentredUnder(k.Label32, l.Width()));
}

void InfoCommand(KESTOR_11& k) {
  k.INFORMATION.Move(Right(k.ACTIVITES), k.LANCER.Top());
}

void InfoHeader(KESTOR_11& k) {
  k.Label33.Move(CentredUnder(k.INFORMATION, k.Label33.Width()), k.Label31.Top());
}

void InfoList(KESTOR_11& k, float r) {
  ui::ListBox& l = k.INFOS;
  ui::Label& h = k.Label33;
  l.SetTop(h.Top() + 1.1f * h.Height());
  l.SetWidth(Measure(k, " Radioactivité et comptage  "));
  l.SetLeft(CentredUnder(h, l.Width()));
  l.SetHeight(4 * r);
}

void ConfirmPanel(KESTOR_11& k) {
  ui::PictureBox& p = k.ATTENTION;
  const float h1 = k.ATT_01.Height();  // the line pitch is 2 x h1
  p.SetWidth(k.ATT_01.Width());
  p.SetLeft((k.Width() - p.Width()) / 2);
  k.ATT_01.Move(0, 3 * h1);
  k.ATT_00.Move((p.Width() - k.ATT_00.Width()) / 2, k.ATT_00.Height());
  k.ATT_02.Move((p.Width() - k.ATT_02.Width()) / 2, 5 * h1);
  k.ATT_03.Move((p.Width() - k.ATT_03.Width()) / 2, 7 * h1);
  k.NON.Move(k.ATT_03.Left() - k.NON.Width(), 9 * h1);
  k.OUI.Move(Right(k.ATT_03), 9 * h1);
  p.SetHeight(11 * h1);
  p.SetTop(k.Height() / 2 - p.Height() / 2);
}

void MissingFilePanel(KESTOR_11& k) {
  ui::PictureBox& p = k.DISK_0;
  k.DISK_1.SetTop(k.DISK_1.Height());
  k.DISK_2.SetTop(Bottom(k.DISK_1) + k.DISK_2.Height());
  k.DISK_3.SetTop(Bottom(k.DISK_2) + k.DISK_3.Height());
  p.SetWidth(k.DISK_3.Width() + 2 * k.DISK_3.Height());
  p.SetLeft((k.Width() - p.Width()) / 2);
  p.SetHeight(k.DISK_3.Top() + 3 * k.DISK_3.Height());
  p.SetTop((k.Height() - p.Height()) / 2);
  for (ui::Label* l : {&k.DISK_1, &k.DISK_2, &k.DISK_3}) l->SetLeft((p.Width() - l->Width()) / 2);
}

void RateLabel(KESTOR_11& k) {
  k.ACTIVIT.Move(2 * k.ACTIVIT.Height(), Bottom(k.LANCER));
}

void CountsLabel(KESTOR_11& k) {
  ui::Label& l = k.NBCOMPTAGE;
  l.Move(k.Width() - l.Width() - 200 * k.ECHHORIZ_S, Bottom(k.LANCER));
}

// The left edges of these labels are set where the panel is drawn.
void CountValueLabel(KESTOR_11& k) {
  k.N1COMPTE.SetTop(k.ACTIVIT.Top());
}

void WindowCaption(KESTOR_11& k) {
  ui::Label& l = k.LIMITE;
  l.SetTop(k.POSAXE_I * k.ECHVERTI_S + 50 * k.ECHVERTI_S);
  k.VERSG.SetTop(l.Top());
  k.VERSD.SetTop(l.Top());
}

void MeanLabel(KESTOR_11& k) {
  ui::Label& l = k.N1MOYEN;
  // " Nmoyen =" ends where " Taux de comptage =" would end, written from
  // the left edge of the rate label: the two equals signs line up.
  l.SetCaption(" Taux de comptage =");
  l.SetLeft(k.ACTIVIT.Left() + l.Width());
  l.SetCaption(" Nmoyen =");
  l.SetLeft(l.Left() - l.Width());
  l.SetTop(Bottom(k.LIMITE));
}

void VarianceLabel(KESTOR_11& k) {
  k.VARI1.SetTop(Bottom(k.LIMITE));
  ui::Image& s = k.SIGMA2;
  s.SetHeight(k.VARI1.Height());
  s.SetWidth(s.Height());
  s.Move(Right(k.N1MOYEN) + 2 * k.N1MOYEN.Height(), k.VARI1.Top());
  k.VARI1.SetLeft(Right(s));
}

void QueryLabelTop(KESTOR_11& k) {
  k.EFF1.SetTop(k.POSHIST_I + 1.6f * k.FIN.Height());
}

void HistogramCaption(KESTOR_11& k) {
  ui::Label& l = k.HISTOGRAMME;
  l.Move((k.Width() - l.Width()) / 2, Bottom(k.EFF1));
}

}  // namespace layout
