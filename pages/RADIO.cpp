// The radioactivity and counting page: two headings, each over a few
// centred sentences.
#include "pages/lines.h"

namespace {

using K = KESTOR_11;
using namespace pages;

// The measuring text is line 5 with six blanks more at its end.
const char kRuler[] =
    "L'instant d'une désintégration est imprévisible. L'intervalle de temps entre deux détections "
    "est aléatoire.      ";

const Row kRadio[] = {
    {&K::Label1, "RADIOACTIVITÉ", Size::Title, kMagenta, Centred(), OwnHeights(0.5f)},
    {&K::Label2,
     "L'activité d'une source radioactive représente le nombre moyen de désintégration(s) par "
     "seconde.",
     Size::Body, kBlack, Centred(), OwnHeightsBelow(&K::Label1, 1.5f)},
    {&K::Label3, "1 Becquerel (Bq) correspond à 1 désintégration par seconde", Size::Body, kBlue,
     Centred(), BlankUnder(&K::Label2)},
    {&K::Label4, "COMPTAGE", Size::Title, kMagenta, Centred(), RefHeightsBelow(&K::Label3, 3)},
    {&K::Label5,
     "L'instant d'une désintégration est imprévisible. L'intervalle de temps entre deux "
     "détections est aléatoire.",
     Size::Body, kBlack, Centred(), OwnHeightsBelow(&K::Label4, 1.5f)},
    {&K::Label6,
     "La valeur du comptage des impulsions liées à la détection des rayonnements suite aux "
     "désintégrations ",
     Size::Body, kBlack, Centred(), BlankUnder(&K::Label5)},
    {&K::Label7, "se produisant durant un temps d'observation donné, est également aléatoire.",
     Size::Body, kBlack, Centred(), Under(&K::Label6)},
    {&K::Label8,
     "Le classement des valeurs du comptage sous la forme d'un histogramme, permet de visualiser ",
     Size::Body, kBlack, Centred(), BlankUnder(&K::Label7)},
    {&K::Label9, "la dispersion des valeurs (influence de la variance).", Size::Body, kBlack,
     Centred(), Under(&K::Label8)},
    {&K::Label10,
     "Avec la radioactivité, il y a une convergence entre la valeur de la moyenne et la valeur de "
     "la variance,",
     Size::Body, kBlue, Centred(), BlankUnder(&K::Label9)},
    {&K::Label11, "lorsque le nombre des comptages augmente.", Size::Body, kBlue, Centred(),
     Under(&K::Label10)},
};

}  // namespace

void KESTOR_11::RADIO() {
  TextPage(*this, &K::Label5, kRuler, kRadio);
}
