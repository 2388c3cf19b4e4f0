// Start-up: runs once, before the window is first shown. Reads the screen,
// lays out every widget for it, fills the three choice lists, sets the
// counting state and draws the empty measurement panel. It never yields.
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
  // 1-3: scale factors, the window over the whole screen (the measuring
  // labels stay hidden: the panel's drawing hides them).
  ECHHORIZ_S = ui::ScreenWidth() / 15360.0f;
  ECHVERTI_S = ui::ScreenHeight() / 11520.0f;
  Move(0, 0);
  SetWidth(ui::ScreenWidth());
  SetHeight(ui::ScreenHeight());
  SetCaption("KESTOR");
  const float f = arith::Floor<int16_t>(15.0 * ECHVERTI_S);  // base font size, points

  // 4-6: title bar, quit command, fitted title.
  layout::TitleBar(*this);
  FIN.SetFontSize(f);
  FIN.SetCaption("  Quitter  ");
  layout::QuitCommand(*this);
  FIN.SetToolTipText(" Cliquez pour QUITTER ");
  TITRE.SetFontSize(40);
  TITRE.SetCaption("KESTOR : Comptage des impulsions liées à la radioactivité");
  layout::FitTitle(*this);

  // 7: information page frame and sheet, hidden.
  layout::PageOverlay(*this);
  Picture2.SetBackColor(ui::RGB(0, 0, 255));
  Picture2.SetVisible(false);
  Picture2.SetToolTipText("Cliquez sur cette page pour en sortir ");
  BLANCS.SetVisible(false);
  BLANCS.SetToolTipText(" Cliquez sur cette page pour en sortir ");

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
  LANCER_N.SetHeight(0);
  LANCER_N.AddItem(kCountItems[0]);
  const float r = LANCER_N.Height();
  for (int i = 1; i < 17; ++i) LANCER_N.AddItem(kCountItems[i]);
  layout::CountList(*this, r);
  LANCER_N.SetVisible(false);
  LANCER_N.SetToolTipText(" Cliquez sur votre choix ");

  // 11: the clear command keeps the size of its padded caption.
  EFFACER.SetFontSize(LANCER.FontSize());
  EFFACER.SetCaption("  Effacer  ");
  layout::ClearCommand(*this);
  EFFACER.SetEnabled(false);
  EFFACER.SetAutoSize(false);
  EFFACER.SetCaption("Effacer");
  EFFACER.SetToolTipText(" Cliquez pour Effacer ");

  // 12-13: rate command, header and list.
  ACTIVITES.SetFontSize(LANCER.FontSize());
  ACTIVITES.SetCaption(" Taux de comptage ");
  layout::RateCommand(*this);
  Label32.SetFontSize(f);
  Label32.SetCaption(" Choix du taux de comptage en imp/s ");
  layout::RateHeader(*this);
  ACTIV.SetHeight(0);
  ACTIV.SetFontSize(f);
  for (const char* item : kRateItems) ACTIV.AddItem(item);
  ACTIV.SetListIndex(-1);
  layout::RateList(*this, r);
  ACTIV.SetVisible(false);
  ACTIV.SetToolTipText(" Cliquez sur votre choix ");

  // 14-15: information command, header and list.
  INFORMATION.SetFontSize(f);
  INFORMATION.SetCaption("  Informations  ");
  layout::InfoCommand(*this);
  INFORMATION.SetAutoSize(false);
  INFORMATION.SetCaption("Informations");
  Label33.SetFontSize(f);
  Label33.SetCaption("       Choix de l'information       ");
  layout::InfoHeader(*this);
  INFOS.SetHeight(0);
  INFOS.AddItem(kInfoItems[0]);
  INFOS.SetFontSize(f);
  for (int i = 1; i < 4; ++i) INFOS.AddItem(kInfoItems[i]);
  INFOS.SetListIndex(-1);
  layout::InfoList(*this, r);
  INFOS.SetVisible(false);
  INFOS.SetToolTipText(" Cliquez sur votre choix ");

  // 16: confirmation panel.
  const float panel_size = arith::Floor<int16_t>(16.0 * ECHVERTI_S);
  for (ui::Label* l : {&ATT_00, &ATT_01, &ATT_02, &ATT_03, &OUI, &NON}) l->SetFontSize(panel_size);
  layout::ConfirmPanel(*this);
  NON.SetToolTipText(" Cliquez pour Annuler ");
  OUI.SetToolTipText(" Cliquez pour Effacer ");
  ATTENTION.SetVisible(false);

  // 17: missing-file panel.
  DISK_1.SetFontSize(1.5f * f);
  DISK_1.SetCaption("ATTENTION");
  DISK_2.SetFontSize(f);
  DISK_2.SetCaption("Il manque un fichier");
  DISK_3.SetFontSize(f);
  DISK_3.SetCaption("Cliquez sur QUITTER et réinstallez TARQEN1");
  layout::MissingFilePanel(*this);
  DISK_0.SetVisible(false);

  // 18-20: rate, number-of-counts and count-value labels.
  ACTIVIT.SetFontSize(f);
  ACTIVIT.SetCaption(" Activité = 32 Bq ");
  layout::RateLabel(*this);
  NBCOMPTAGE.SetFontSize(f);
  NBCOMPTAGE.SetCaption(" Nombre de comptages = 10000000 ");
  layout::CountsLabel(*this);  // the left edge stays where the widest text puts it
  NBCOMPTAGE.SetCaption(" Nombre de comptages = 0 ");
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

  // 28: counting state.
  D1_I = 2680;  // the window's left edge: half of 5360 twips
  T1_I = 10000;
  I1_I = D1_I;
  TV_I = T1_I;
  UNITE_I = 300;
  TRAIT_I = 60;
  H1_I = 1530;  // classes 0 to 40 (41 of UNITE_I) centred on 15360 twips
  DECAL1_I = 90;
  DECAL2_I = 170;
  ECHELLEX_S = ECHHORIZ_S;
  ECHELLE_S = 1;
  ACTIV_I = 1;
  ACT_I = 1;

  // 29: the empty measurement panel.
  AFFICHAGE0();
}
