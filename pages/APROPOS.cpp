// The about page: who wrote the program and who publishes it, the files it
// is made of, and the legal notice with the program's version. One font
// size for the whole page, the largest that lets its longest line fit the
// screen.
#include <string>

#include "pages/lines.h"

namespace {

using K = KESTOR_11;
using namespace pages;

const char kAuthorLabel[] = "   Auteur :";
const char kAuthorName[] = " Ambroise Quintenelle";
const char kSoftwareLabel[] = "Logiciel :";
const char kSoftware[] = "Logiciel : KESTOR_11.EXE";
const char kDataFileLabel[] = "Fichier associé :";
const char kDataFile[] = "Fichier associé : KESTOR_11.KSQ";
const char kPublisherLabel[] = "Editeur :";
// The publisher's lines start where the author's name does, a blank after
// the colons.
const char* const kPublisher[3] = {" Atelier Didactique Ombrelune", " 14, rue des Ormeaux-Fleuris",
                                   " 48970 Vézelanges-sur-Lirette"};

// Line 3 of the notice is the longest line of the page: it sizes the sheet.
const char kNotice3[] =
    "Toute reproduction ou diffusion, même partielle, est interdite sans l'accord de l'éditeur.";
// The six lines of the legal notice, centred under the credits in pairs.
const Row kNotice[] = {
    {&K::Label3, "KESTOR, simulateur du comptage des impulsions, version " KESTOR_VERSION,
     Size::Body, kBlack, Centred(), BlankUnder(&K::Label13)},
    {&K::Label4, "© Atelier Didactique Ombrelune. Tous droits réservés.", Size::Body, kBlack,
     Centred(), OwnHeightsBelow(&K::Label3, 2)},
    {&K::Label5, kNotice3, Size::Body, kBlack, Centred(), BlankUnder(&K::Label4)},
    {&K::Label6, "Ce logiciel est destiné à l'enseignement de la physique.", Size::Body, kBlack,
     Centred(), Under(&K::Label5)},
    {&K::Label7, "Il est fourni tel quel, sans garantie d'aucune sorte.", Size::Body, kBlack,
     Centred(), BlankUnder(&K::Label6)},
    {&K::Label8, "L'auteur et l'éditeur ne répondent pas de l'usage qui en est fait.", Size::Body,
     kBlack, Centred(), Under(&K::Label7)},
};

// A credit line is black, left-aligned text, shown once placed.
void ShowCredit(ui::Label& line) {
  line.SetAlignment(ui::Align::Left);
  line.SetForeColor(kBlack);
  line.SetVisible(true);
}

}  // namespace

void KESTOR_11::APROPOS() {
  const float SW = Width();
  const float SH = Height();

  // 1. No line of another page stays.
  INVISIBLE();

  // 2. The page's size a: from the screen's height, lowered point by point
  //    until the longest line, with its margins, fits the screen's width.
  A_I = BodySize(*this);
  SetText(*this, Label5, " " + std::string(kNotice3) + "  ", A_I);
  while (Label5.Width() > SW && A_I > 1) {
    A_I = static_cast<int16_t>(A_I - 1);
    Label5.SetFontSize(A_I);
  }
  const float a = A_I;

  // 3. The sheet is as wide as that line (the centred lines take its width).
  BLANCS.SetWidth(Label5.Width());

  // 4. The credits. The colons of the program's files end at X, right of the
  //    author's line; the publisher's colon ends at Y, under the author's.
  //    A short text is measured in its line before the line's full text.
  SetText(*this, Label1, std::string(kAuthorLabel) + kAuthorName, a);
  Label1.SetTop(Label1.Height());  // at the sheet's left edge, where every page keeps line 1
  ShowCredit(Label1);

  SetText(*this, Label2, kSoftwareLabel, a);
  const float software_label = Label2.Width();
  const float X = Label1.Width() + 10 * Label2.Height();
  SetText(*this, Label2, kSoftware, a);
  Label2.SetLeft(X - software_label);
  Label2.SetTop(Label1.Top());
  ShowCredit(Label2);

  SetText(*this, Label9, kDataFileLabel, a);
  const float data_file_label = Label9.Width();
  SetText(*this, Label9, kDataFile, a);
  Label9.SetLeft(X - data_file_label);
  Label9.SetTop(Label2.Top() + Label2.Height());
  ShowCredit(Label9);

  SetText(*this, Label10, kAuthorLabel, a);
  const float Y = Label10.Width();
  SetText(*this, Label10, kPublisherLabel, a);
  Label10.SetLeft(Y - Label10.Width());
  Label10.SetTop(Label9.Top() + Label9.Height());
  ShowCredit(Label10);

  ui::Label* const publisher[3] = {&Label11, &Label12, &Label13};
  float top = Label9.Top() + Label9.Height();
  for (int i = 0; i < 3; ++i) {
    ui::Label& line = *publisher[i];
    SetText(*this, line, kPublisher[i], a);
    line.SetLeft(Y);
    line.SetTop(top);
    ShowCredit(line);
    top = line.Top() + line.Height();
  }

  //    The legal notice, centred.
  for (const Row& row : kNotice) Place(*this, row, a);

  // 5. The sheet ends a blank line under the notice; it stands a quarter of
  //    the free height below the frame's top.
  BLANCS.SetHeight(Label8.Top() + 2 * Label8.Height());
  BLANCS.SetLeft((SW - BLANCS.Width()) / 2);
  BLANCS.SetTop((SH - BLANCS.Height() - Picture1.Height()) / 4);
}
