// The usage page: what each command does, in the order of the command bar.
#include "pages/lines.h"

namespace {

using K = KESTOR_11;
using namespace pages;

// The measuring text is line 4 with two blanks more at its end: the sheet is
// just wide enough for the widest line and a margin.
const char kRuler[] =
    "  Les impulsions de la détection des rayonnements issus de la radioactivité sont visualisées "
    "en temps réel.  ";

// Commands in blue, their effect in black; the choices of "Lancer :" hang
// one line below it, right of its colon.
const Row kUsage[] = {
    {&K::Label1, "UTILISATION", Size::Title, kMagenta, Centred(), OwnHeights(0.5f)},
    {&K::Label2, "     Lancer :", Size::Body, kBlue, AtZero(), Under(&K::Label1)},
    {&K::Label3, "1 comptage", Size::Body, kBlue, RightOf(&K::Label2), Under(&K::Label2)},
    {&K::Label4,
     "  Les impulsions de la détection des rayonnements issus de la radioactivité sont "
     "visualisées en temps réel.",
     Size::Body, kBlack, AtZero(), OwnHeightsBelow(&K::Label3, 1)},
    {&K::Label5,
     "2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000 comptages",
     Size::Body, kBlue, SameAs(&K::Label3), Under(&K::Label4)},
    {&K::Label6,
     "  Ils permettent sans visualiser les impulsions, et en contractant le temps, d'obtenir plus "
     "rapidement",
     Size::Body, kBlack, AtZero(), Under(&K::Label5)},
    {&K::Label7, "  la construction de l'histogramme. ", Size::Body, kBlack, AtZero(),
     Under(&K::Label6)},
    {&K::Label8, "En continu", Size::Body, kBlue, SameAs(&K::Label3), Under(&K::Label7)},
    {&K::Label9,
     "  Les impulsions sont visualisées, l'histogramme se construit et les comptages sont "
     "automatiquement",
     Size::Body, kBlack, AtZero(), Under(&K::Label8)},
    {&K::Label10, "  relancés.", Size::Body, kBlack, AtZero(), Under(&K::Label9)},
    {&K::Label11, "Arrêter :", Size::Body, kBlue, IndentBy(&K::Label2), BlankUnder(&K::Label10)},
    {&K::Label12, "  La série des comptages est arrêtée.", Size::Body, kBlack, AtZero(),
     Under(&K::Label11)},
    {&K::Label13, "Effacer :", Size::Body, kBlue, IndentBy(&K::Label2), BlankUnder(&K::Label12)},
    {&K::Label14,
     "  Les impulsions, l'histogramme, et les calculs seront effacés après votre accord.",
     Size::Body, kBlack, AtZero(), Under(&K::Label13)},
    {&K::Label15, "Taux de comptage :", Size::Body, kBlue, IndentBy(&K::Label2),
     BlankUnder(&K::Label14)},
    {&K::Label16, "0.5 imp/s, 1 imp/s, 2 imp/s, 4 imp/s, 8 imp/s, 16 impulsions par seconde ",
     Size::Body, kBlue, SameAs(&K::Label3), OwnHeightsBelow(&K::Label15, 1)},
    {&K::Label17,
     "  Le temps de l'observation étant de 1s, le nombre moyen (Nmoyen) pour le comptage des "
     "détections",
     Size::Body, kBlack, AtZero(), Under(&K::Label16)},
    {&K::Label18, "  sera autour de :  0,5   1   2   4   8  ou 16.", Size::Body, kBlack, AtZero(),
     Under(&K::Label17)},
    {&K::Label19, "  Changer le taux de comptage lance la fonction  Effacer .", Size::Body, kBlack,
     AtZero(), Under(&K::Label18)},
};

}  // namespace

void KESTOR_11::UTILIS() {
  TextPage(*this, &K::Label17, kRuler, kUsage);
}
