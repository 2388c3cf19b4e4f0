// KESTOR_11: the one main window object.
//
// It carries the whole counting state (members with a type suffix: _I 16-bit,
// _L 32-bit, _S single, _D double, _T text), every widget, and every
// procedure as a member without arguments. Each procedure is defined in the
// folder of its subsystem, in a file named after it:
//   engine/   counting state, data file, single count, runner, clearing
//   display/  measurement panel, plot routines, histogram query
//   window/   start-up, layout, command bar and lists, event wiring
//   pages/    information pages
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/ui.h"

class KESTOR_11 : public ui::Form {
 public:
  KESTOR_11();

  // ------------------------------------------------------ counting state
  // Rates and modes
  int16_t ACTIV_I = 0;     // rate in force (code: 1, 2, 4, 8, 16; 50 = 0.5)
  int16_t ACT_I = 0;       // rate chosen, applied by RAZ
  std::string MODE_T;      // "C_1", "C000010" or "CONTINU"
  int16_t MARCHE_I = 0;    // 0 single count, 1 series, 2 continuous
  int16_t COMPTAGE_I = 0;  // 1 while a series or continuous run goes
  int16_t NUM_LIST = 0;    // index of the list entry just chosen
  int32_t N0C_L = 0;       // number of counts asked for
  int32_t BOUCLE_L = 0;    // pass counter of the runner

  // Accumulators and statistics
  int32_t N1C_L = 0;                     // value of the count in progress
  int32_t SN_L = 0;                      // number of counts since the last clearing
  int32_t S1_L = 0;                      // sum of the count values
  double S2N1_D = 0;                     // sum of their squares
  int32_t MOY1_L = 0;                    // mean x 100, rounded
  double VAR1_D = 0;                     // square of the e.q.m.
  int32_t VAR1_L = 0;                    // VAR1_D x 100, rounded
  std::array<int32_t, 51> EFFECTIF_L{};  // histogram classes 0 to 50
  std::vector<int16_t> VALEURS_I;        // every count's value since the last clearing, in order

  // Time strip
  float TEMPS_S = 0;  // position of the last pulse placed (reference twips)
  float A_S = 0;      // value read, then distance to the previous pulse
  float B_S = 0;      // position of the pulse being placed
  int16_t D1_I = 0;   // left edge of the count window
  int16_t T1_I = 0;   // width of the count window (one second)
  int16_t I1_I = 0;   // copies used to draw the window limits
  int16_t TV_I = 0;
  int16_t POSAXE_I = 0;  // y of the time axis (reference twips)

  // Histogram geometry
  int16_t UNITE_I = 0;    // width of a class (reference twips)
  int16_t H1_I = 0;       // centre of class 0 (reference twips)
  int16_t TRAIT_I = 0;    // half-width of a bar
  int16_t POSHIST_I = 0;  // y of the base line (screen twips)
  float ECHELLE_S = 0;    // bar scale: one count raises a bar 200 x ECHELLE_S

  // Screen scales and window size
  float ECHHORIZ_S = 0;
  float ECHVERTI_S = 0;
  float ECHELLEX_S = 0;
  int16_t LARGEUR_I = 0;
  int16_t DECAL1_I = 0;
  int16_t DECAL2_I = 0;

  // Pulse data file
  std::string FICHIER_T;  // path open as file number 2; empty when none
  int16_t ERREUR_I = 0;   // 1 after a failed search

  // Working members
  int16_t K_I = 0;
  int16_t A_I = 0;
  int16_t CURSEUR_I = 0;  // class highlighted by the histogram query

  // ------------------------------------------------------------- widgets
  // Declared in stacking order: later widgets lie above earlier ones.
  // Title bar
  ui::PictureBox Picture1{*this, "Picture1"};
  ui::Image KESTOR_Image1{Picture1, "KESTOR_Image1"};
  ui::Label TITRE{Picture1, "TITRE"};
  ui::Label FIN{Picture1, "FIN"};

  // Measurement panel
  ui::Label ACTIVIT{*this, "ACTIVIT"};
  ui::Label N1COMPTE{*this, "N1COMPTE"};
  ui::Label NBCOMPTAGE{*this, "NBCOMPTAGE"};
  ui::Label LIMITE{*this, "LIMITE"};
  ui::Label VERSG{*this, "VERSG"};
  ui::Label VERSD{*this, "VERSD"};
  ui::Label N1MOYEN{*this, "N1MOYEN"};
  ui::Image SIGMA2{*this, "SIGMA2"};
  ui::Label VARI1{*this, "VARI1"};
  ui::Label EFF1{*this, "EFF1"};
  ui::Label HISTOGRAMME{*this, "HISTOGRAMME"};

  // Command bar and choice lists
  ui::Label LANCER{*this, "LANCER"};
  ui::Label Label34{*this, "Label34"};
  ui::Label EFFACER{*this, "EFFACER"};
  ui::Label ACTIVITES{*this, "ACTIVITES"};
  ui::Label INFORMATION{*this, "INFORMATION"};
  ui::Label Label31{*this, "Label31"};
  ui::ListBox LANCER_N{*this, "LANCER_N"};
  ui::Label Label32{*this, "Label32"};
  ui::ListBox ACTIV{*this, "ACTIV"};
  ui::Label Label33{*this, "Label33"};
  ui::ListBox INFOS{*this, "INFOS"};
  ui::Label MOT1{*this, "MOT1"};
  ui::Label MOT2{*this, "MOT2"};
  ui::Label MOT3{*this, "MOT3"};

  // Overlays: information pages
  ui::PictureBox Picture2{*this, "Picture2"};
  ui::PictureBox BLANCS{Picture2, "BLANCS"};
  ui::Label Label1{BLANCS, "Label1"}, Label2{BLANCS, "Label2"}, Label3{BLANCS, "Label3"},
      Label4{BLANCS, "Label4"}, Label5{BLANCS, "Label5"}, Label6{BLANCS, "Label6"},
      Label7{BLANCS, "Label7"}, Label8{BLANCS, "Label8"}, Label9{BLANCS, "Label9"},
      Label10{BLANCS, "Label10"}, Label11{BLANCS, "Label11"}, Label12{BLANCS, "Label12"},
      Label13{BLANCS, "Label13"}, Label14{BLANCS, "Label14"}, Label15{BLANCS, "Label15"},
      Label16{BLANCS, "Label16"}, Label17{BLANCS, "Label17"}, Label18{BLANCS, "Label18"},
      Label19{BLANCS, "Label19"};
  ui::Image STAT_Image1{BLANCS, "STAT_Image1"};
  ui::Image STAT_Image2{BLANCS, "STAT_Image2"};
  ui::Image STAT_Image3{BLANCS, "STAT_Image3"};

  // Overlays: confirmation panel
  ui::PictureBox ATTENTION{*this, "ATTENTION"};
  ui::Label ATT_00{ATTENTION, "ATT_00"}, ATT_01{ATTENTION, "ATT_01"}, ATT_02{ATTENTION, "ATT_02"},
      ATT_03{ATTENTION, "ATT_03"};
  ui::Label OUI{ATTENTION, "OUI"};
  ui::Label NON{ATTENTION, "NON"};

  // Overlays: missing-file panel
  ui::PictureBox DISK_0{*this, "DISK_0"};
  ui::Label DISK_1{DISK_0, "DISK_1"}, DISK_2{DISK_0, "DISK_2"}, DISK_3{DISK_0, "DISK_3"};

  // The page lines Label1 ... Label19, by number - 1.
  std::array<ui::Label*, 19> LIGNES{};

  // ---------------------------------------------------------- procedures
  // window/
  void Form_Load();     // start-up
  void MISE_EN_PAGE();  // every widget laid out for the screen
  void Form_Resize();   // the screen changed size
  void CONNECTER();     // binds every widget event to its handler
  void Form_Click();
  void LANCER_MouseMove();
  void EFFACER_MouseMove();
  void ACTIVITES_MouseMove();
  void INFORMATION_MouseMove();
  void FIN_MouseMove();
  void TITRE_MouseMove();
  void Picture1_MouseMove();
  void ACTIVITES_Click();
  void INFORMATION_Click();
  void FIN_Click();
  void ACTIV_MouseUp();

  // engine/
  void OUVERTURE();
  void COMPTAGE1();
  void AJOUTER_COMPTAGE();  // adds N1C_L to the statistics
  void LANCER_Click();
  void LANCER_N_MouseUp();
  void Label34_Click();
  void REPOS();
  void PAUSE2();  // the 2-second pause of the continuous run
  void EFFACER_Click();
  void ACTIV_Click();
  void OUI_Click();
  void NON_Click();
  void RAZ();
  // Whether the bar of class n (0 to 50), at the current scale, would come
  // within 20 twips of the bottom of the mean label.
  bool BARRE_ATTEINT_MOYENNE(int16_t n) const;

  // The results handed over: Ctrl+C copies them, Ctrl+S saves them.
  void Form_KeyDown(ui::Shortcut key);
  // The results as lines of two fields separated by sep: the figures of the
  // result labels dated at, the histogram, every count's value.
  std::string RESULTATS(char sep, const ui::DateTime& at) const;

  // Result-label texts.
  std::string TEXTE_NBCOMPTAGE() const;  // singular up to 1 count, then plural; trailing blank
  const std::string& TEXTE_N1MOYEN(bool blank) const;  // " Nmoyen =" mean
  const std::string& TEXTE_VARI1(bool blank) const;    // " =" square of the e.q.m.
  // Rate in pulses per second (the code 50 stands for 0.5).
  float TAUX() const;

  // display/
  void AFFICHAGE0();
  void BANDE0();
  void TRACEHISTO();
  void Form_MouseMove(float x, float y);
  // Draws the bar of class k (121 vertical lines) at the current scale.
  void TRACE_BARRE(int16_t k, ui::Rgb color);
  // Draws the bars of classes 0 to 40 in one colour (K_I counts the classes).
  void TRACER_BARRES(ui::Rgb color);

  // pages/
  void INFOS_MouseUp();
  bool CONSTRUIRE_PAGE();  // page NUM_LIST on the sheet; false when there is none
  void UTILIS();
  void RADIO();
  void STAT();
  void APROPOS();
  void INVISIBLE();
  void BLANCS_Click();
};
