// Window layout: each widget placed from the screen size, the scale factors
// and the measured sizes of widgets placed before it. The start-up calls
// these in its order; each reads only what earlier steps have set.
#pragma once

class KESTOR_11;

namespace layout {

// Where the window lies on a screen of that size (twips).
struct Stage {
  float left, top, width, height;
};
Stage StageOn(float width, float height);

void TitleBar(KESTOR_11& k);            // Picture1, KESTOR_Image1
void QuitCommand(KESTOR_11& k);         // FIN
void FitTitle(KESTOR_11& k);            // TITRE: fitted size, centred between logo and FIN
void PageOverlay(KESTOR_11& k);         // Picture2 (each page sizes its sheet)
void StartCommands(KESTOR_11& k);       // LANCER, Label34, Label31
void CountList(KESTOR_11& k, float r);  // LANCER_N (r: row height)
void ClearCommand(KESTOR_11& k);        // EFFACER
void RateCommand(KESTOR_11& k);         // ACTIVITES
void RateHeader(KESTOR_11& k);          // Label32
void RateList(KESTOR_11& k, float r);   // ACTIV
void InfoCommand(KESTOR_11& k);         // INFORMATION
void InfoHeader(KESTOR_11& k);          // Label33
void InfoList(KESTOR_11& k, float r);   // INFOS, with the right-edge rule
void ConfirmPanel(KESTOR_11& k);        // ATTENTION and its lines
void MissingFilePanel(KESTOR_11& k);    // DISK_0 and its lines
void RateLabel(KESTOR_11& k);           // ACTIVIT
void CountsLabel(KESTOR_11& k);         // NBCOMPTAGE
void CountValueLabel(KESTOR_11& k);     // N1COMPTE
void WindowCaption(KESTOR_11& k);       // LIMITE, VERSG, VERSD
void MeanLabel(KESTOR_11& k);           // N1MOYEN
void VarianceLabel(KESTOR_11& k);       // VARI1 and SIGMA2
void QueryLabelTop(KESTOR_11& k);       // EFF1's top, under the base line
void HistogramCaption(KESTOR_11& k);    // HISTOGRAMME

}  // namespace layout
