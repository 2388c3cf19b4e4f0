// Start-up: runs once, before the window is first shown. Fills the three
// choice lists, sets the counting state, reads the screen, lays out every
// widget for it and draws the empty measurement panel. It never yields.
#include "engine/arith.h"
#include "window/KESTOR_11.h"
#include "window/layout.h"

namespace {

const char* const kCountItems[17] = {
    "                  1 ", "                  2 ", "                  5 ", "                10 ",
    "                20 ",  "                50 ",  "              100 ",   "              200 ",
    "              500 ",   "            1000 ",    "            2000 ",    "            5000 ",
    "          10000 ",     "          20000 ",     "          50000 ",     "        100000 ",
    "   En continu "};
const char* const kRateItems[6] = {"   0.5 ", "   1.0 ", "   2.0 ", "   4.0 ", "   8.0 ", " 16.0 "};
const char* const kInfoItems[4] = {" Utilisation ", " Radioactivité et comptage ", " Statistiques ",
                                   " A propos de KESTOR "};

}  // namespace

void KESTOR_11::Form_Load() {
  SetCaption("KESTOR");
  // The lists' entries, the tooltips, what starts hidden or disabled.
  for (const char* item : kCountItems) LANCER_N.AddItem(item);
  for (const char* item : kRateItems) ACTIV.AddItem(item);
  for (const char* item : kInfoItems) INFOS.AddItem(item);
  Picture2.SetBackColor(ui::RGB(0, 0, 255));
  FIN.SetToolTipText(" Cliquez pour QUITTER ");
  Picture2.SetToolTipText("Cliquez sur cette page pour en sortir ");
  BLANCS.SetToolTipText(" Cliquez sur cette page pour en sortir ");
  for (ui::ListBox* l : {&LANCER_N, &ACTIV, &INFOS}) l->SetToolTipText(" Cliquez sur votre choix ");
  EFFACER.SetToolTipText(" Cliquez pour Effacer ");
  NON.SetToolTipText(" Cliquez pour Annuler ");
  OUI.SetToolTipText(" Cliquez pour Effacer ");
  for (ui::Widget* w : std::initializer_list<ui::Widget*>{&Picture2, &BLANCS, &LANCER_N, &ACTIV,
                                                          &INFOS, &ATTENTION, &DISK_0})
    w->SetVisible(false);
  EFFACER.SetEnabled(false);

  // The counting state.
  D1_I = 2680;  // the window's left edge: half of 5360 twips
  T1_I = 10000;
  I1_I = D1_I;
  TV_I = T1_I;
  UNITE_I = 300;
  TRAIT_I = 60;
  H1_I = 1530;  // classes 0 to 40 (41 of UNITE_I) centred on 15360 twips
  DECAL1_I = 90;
  DECAL2_I = 170;
  ECHELLE_S = 1;
  ACTIV_I = 1;
  ACT_I = 1;

  MISE_EN_PAGE();
  AFFICHAGE0();  // the empty measurement panel
}

// Every widget laid out for the screen: on a first start, or the screen
// changed (the browser's page resized or turned). Sets no state but the
// geometry, the fonts and the captions the measures need.
void KESTOR_11::MISE_EN_PAGE() {
  // 1-3: the stage and its scale factors (the measuring labels stay
  // hidden: the panel's drawing hides them).
  const layout::Stage stage = layout::StageOn(ui::ScreenWidth(), ui::ScreenHeight());
  ECHHORIZ_S = stage.width / 15360.0f;
  ECHVERTI_S = stage.height / 11520.0f;
  ECHELLEX_S = ECHHORIZ_S;
  PlaceOnScreen(stage.left, stage.top, stage.width, stage.height);
  const float f = arith::Floor<int16_t>(15.0 * ECHVERTI_S);  // base font size, points

  // 4-6: title bar, quit command, fitted title.
  layout::TitleBar(*this);
  FIN.SetFontSize(f);
  FIN.SetCaption("  Quitter  ");
  layout::QuitCommand(*this);
  TITRE.SetFontSize(40);
  TITRE.SetCaption("KESTOR : Comptage des impulsions liées à la radioactivité");
  layout::FitTitle(*this);

  // 7: information page frame (each page sizes its sheet).
  layout::PageOverlay(*this);

  // 8-9: start and stop commands, the count list's header, the measuring label.
  LANCER.SetFontSize(f);
  LANCER.SetCaption("  Lancer  ");
  Label34.SetFontSize(f);
  Label34.SetCaption("  Arrêter  ");
  Label31.SetFontSize(f);
  Label31.SetCaption(" Choix du nombre de comptage(s) a ajouter ");
  layout::StartCommands(*this);
  MOT1.SetFontSize(f);
  MOT1.SetFontName(FIN.FontName());

  // 10: the count list; its one-row height r serves all three lists.
  LANCER_N.SetFontSize(f);
  const float r = LANCER_N.RowHeight();
  layout::CountList(*this, r);

  // 11: the clear command keeps the size of its padded caption.
  EFFACER.SetFontSize(LANCER.FontSize());
  EFFACER.SetAutoSize(true);
  EFFACER.SetCaption("  Effacer  ");
  layout::ClearCommand(*this);
  EFFACER.SetAutoSize(false);
  EFFACER.SetCaption("Effacer");

  // 12-13: rate command, header and list.
  ACTIVITES.SetFontSize(LANCER.FontSize());
  ACTIVITES.SetCaption(" Taux de comptage ");
  layout::RateCommand(*this);
  Label32.SetFontSize(f);
  Label32.SetCaption(" Choix du taux de comptage en imp/s ");
  layout::RateHeader(*this);
  ACTIV.SetFontSize(f);
  layout::RateList(*this, r);

  // 14-15: information command, header and list.
  INFORMATION.SetFontSize(f);
  INFORMATION.SetAutoSize(true);
  INFORMATION.SetCaption("  Informations  ");
  layout::InfoCommand(*this);
  INFORMATION.SetAutoSize(false);
  INFORMATION.SetCaption("Informations");
  Label33.SetFontSize(f);
  Label33.SetCaption("       Choix de l'information       ");
  layout::InfoHeader(*this);
  INFOS.SetFontSize(f);
  layout::InfoList(*this, r);

  // 16: confirmation panel.
  const float panel_size = arith::Floor<int16_t>(16.0 * ECHVERTI_S);
  for (ui::Label* l : {&ATT_00, &ATT_01, &ATT_02, &ATT_03, &OUI, &NON}) l->SetFontSize(panel_size);
  layout::ConfirmPanel(*this);

  // 17: missing-file panel.
  DISK_1.SetFontSize(1.5f * f);
  DISK_1.SetCaption("ATTENTION");
  DISK_2.SetFontSize(f);
  DISK_2.SetCaption("Il manque un fichier");
  DISK_3.SetFontSize(f);
  DISK_3.SetCaption("Cliquez sur QUITTER et réinstallez TARQEN1");
  layout::MissingFilePanel(*this);

  // 18-20: rate, number-of-counts and count-value labels.
  ACTIVIT.SetFontSize(f);
  ACTIVIT.SetCaption(" Activité = 32 Bq ");
  layout::RateLabel(*this);
  NBCOMPTAGE.SetFontSize(f);
  NBCOMPTAGE.SetCaption(" Nombre de comptages = 10000000 ");
  layout::CountsLabel(*this);  // the left edge stays where the widest text puts it
  N1COMPTE.SetFontSize(f);
  N1COMPTE.SetCaption(" Valeur du comptage = 51 ");
  layout::CountValueLabel(*this);

  // 21-22: window width, time axis, the count window's caption and arrows.
  LARGEUR_I = arith::Round<int16_t>(Width());
  POSAXE_I = 3000;
  LIMITE.SetFontSize(f);
  LIMITE.SetCaption("Limites temporelles du comptage (1 seconde)");
  LIMITE.SetAutoSize(true);
  VERSG.SetFontSize(f);
  VERSD.SetFontSize(f);
  layout::WindowCaption(*this);

  // 23-25: query label, mean, square of the e.q.m. with the sigma symbol.
  EFF1.SetFontSize(f);
  EFF1.SetCaption(" Effectif de( 40 )= 200000 ");
  N1MOYEN.SetFontSize(f);
  layout::MeanLabel(*this);
  N1MOYEN.SetCaption(" Nmoyen = 56.25 ");
  VARI1.SetFontSize(f);
  layout::VarianceLabel(*this);

  // 26-27: histogram base line, query label under it, histogram caption.
  POSHIST_I = arith::Round<int16_t>(static_cast<double>(ECHVERTI_S) * 9500);
  layout::QueryLabelTop(*this);
  HISTOGRAMME.SetFontSize(f);
  layout::HistogramCaption(*this);
}
