// The main window object: its widgets' design-time looks. Everything that
// depends on the screen is set by the start-up (Form_Load).
#include "window/KESTOR_11.h"

#include "display/colours.h"

namespace {

using namespace colours;

void Look(ui::Label& l, ui::Rgb fore, ui::Rgb back, ui::Align align, bool autosize,
          bool border = false) {
  l.SetForeColor(fore);
  l.SetBackColor(back);
  l.SetAlignment(align);
  l.SetAutoSize(autosize);
  l.SetBorder(border);
}

// A command: a grey label with a border, used as a button.
void Command(ui::Label& l) {
  Look(l, kBlack, kGrey, ui::Align::Center, true, true);
}

}  // namespace

KESTOR_11::KESTOR_11() : ui::Form("KESTOR_11") {
  LIGNES = {&Label1,  &Label2,  &Label3,  &Label4,  &Label5,  &Label6,  &Label7,
            &Label8,  &Label9,  &Label10, &Label11, &Label12, &Label13, &Label14,
            &Label15, &Label16, &Label17, &Label18, &Label19};

  // Title bar.
  Picture1.SetBackColor(kTitleBar);
  KESTOR_Image1.SetStretch(true);
  KESTOR_Image1.SetPicture("logo.xpm");
  TITRE.SetFontName("Times New Roman");
  TITRE.SetFontBold(true);
  Look(TITRE, kDarkBlue, kTitleBar, ui::Align::Center, true);
  Look(FIN, kWhite, kRed, ui::Align::Center, true);

  // Measurement panel.
  Look(ACTIVIT, kRed, kWhite, ui::Align::Left, true);
  Look(N1COMPTE, kBlue, kWhite, ui::Align::Left, true);
  Look(NBCOMPTAGE, kBlack, kWhite, ui::Align::Left, true);
  for (ui::Label* v : {&VERSG, &VERSD}) {
    Look(*v, kWhite, kBlue, ui::Align::Left, true);
    v->SetFontName("Arial");
    v->SetFontBold(true);
  }
  VERSG.SetCaption("< ");
  VERSD.SetCaption(" >");
  Look(N1MOYEN, kDarkGreen, kWhite, ui::Align::Left, true);
  SIGMA2.SetStretch(true);
  SIGMA2.SetPicture("sigma2.xpm");
  Look(VARI1, kBlue, kWhite, ui::Align::Left, true);
  Look(EFF1, kBlack, kPaleYellow, ui::Align::Left, true, true);
  EFF1.SetVisible(false);
  Look(HISTOGRAMME, kDarkBlue, kWhite, ui::Align::Left, true);
  HISTOGRAMME.SetCaption(" Histogramme des comptages");
  N1COMPTE.SetVisible(false);

  // Command bar and choice lists.
  for (ui::Label* c : {&LANCER, &Label34, &EFFACER, &ACTIVITES, &INFORMATION}) Command(*c);
  Label34.SetVisible(false);
  Command(Label31);
  Command(Label32);
  Look(Label33, kBlack, kGrey, ui::Align::Center, true);
  for (ui::Label* h : {&Label31, &Label32, &Label33}) h->SetVisible(false);
  for (ui::ListBox* l : {&LANCER_N, &ACTIV, &INFOS}) l->SetBackColor(kListBack);
  for (ui::Label* m : {&MOT1, &MOT2, &MOT3}) m->SetAutoSize(true);

  // Information pages.
  // The frame and the sheet get their colours and are hidden by the start-up.
  for (ui::Label* l : LIGNES) {
    Look(*l, kBlack, kWhite, ui::Align::Left, true);
  }
  STAT_Image1.SetStretch(true);
  STAT_Image1.SetPicture("stat1.png");
  STAT_Image2.SetPicture("stat2.png");
  STAT_Image3.SetPicture("stat3.png");
  for (ui::Image* i : {&STAT_Image1, &STAT_Image2, &STAT_Image3}) i->SetVisible(false);

  // Confirmation panel.
  ATTENTION.SetBackColor(kRed);
  ATT_00.SetCaption("ATTENTION");
  ATT_01.SetCaption(" La valeur du nombre des comptages, la moyenne, ");
  ATT_02.SetCaption("  la variance et l'histogramme vont être effacés ");
  ATT_03.SetCaption("Le désirez-vous ?");
  OUI.SetCaption(" OUI  ");
  NON.SetCaption(" NON ");
  for (ui::Label* l : {&ATT_00, &ATT_01, &ATT_02, &ATT_03}) {
    Look(*l, kWhite, kRed, ui::Align::Center, true);
    l->SetFontName("Arial");
    l->SetFontBold(true);
  }
  for (ui::Label* l : {&OUI, &NON}) {
    Look(*l, kBlack, kGrey, ui::Align::Center, true, true);
    l->SetFontName("Arial");
    l->SetFontBold(true);
  }

  // Missing-file panel.
  DISK_0.SetBackColor(kRed);
  for (ui::Label* l : {&DISK_1, &DISK_2, &DISK_3}) {
    Look(*l, kWhite, kRed, ui::Align::Center, true);
    l->SetFontName("Arial");
    l->SetFontBold(true);
  }

  Load = [this] { Form_Load(); };
  Resize = [this] { Form_Resize(); };
  CONNECTER();
}
