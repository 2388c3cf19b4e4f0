// Command bar hover and clicks: moving over a command opens its list under
// its header and closes the others; moving over another command or the title
// bar, or clicking the window background, closes them. Each handler sets the
// six widgets in the order count list, its header, rate list, its header,
// information list, its header; a `Keep` leaves that widget as it is.
#include "ui/textfile.h"
#include "window/KESTOR_11.h"

namespace {

enum V { Hide, Show, Keep };

void Set(ui::Widget& w, V v) {
  if (v != Keep) w.SetVisible(v == Show);
}

void Lists(KESTOR_11& k, V lancer_n, V label31, V activ, V label32, V infos, V label33) {
  Set(k.LANCER_N, lancer_n);
  Set(k.Label31, label31);
  Set(k.ACTIV, activ);
  Set(k.Label32, label32);
  Set(k.INFOS, infos);
  Set(k.Label33, label33);
}

}  // namespace

void KESTOR_11::LANCER_MouseMove() {
  Lists(*this, Show, Show, Hide, Hide, Hide, Hide);
}
void KESTOR_11::ACTIVITES_MouseMove() {
  Lists(*this, Hide, Hide, Show, Show, Hide, Hide);
}
void KESTOR_11::INFORMATION_MouseMove() {
  Lists(*this, Hide, Hide, Hide, Hide, Show, Show);
}
void KESTOR_11::EFFACER_MouseMove() {
  Lists(*this, Hide, Hide, Hide, Hide, Hide, Hide);
}
void KESTOR_11::TITRE_MouseMove() {
  Lists(*this, Hide, Hide, Hide, Hide, Hide, Hide);
}
void KESTOR_11::Picture1_MouseMove() {
  Lists(*this, Hide, Hide, Hide, Hide, Hide, Hide);
}
void KESTOR_11::Form_Click() {
  Lists(*this, Hide, Hide, Hide, Hide, Hide, Hide);
}
void KESTOR_11::FIN_MouseMove() {
  Lists(*this, Hide, Keep, Hide, Keep, Hide, Keep);
}
void KESTOR_11::ACTIVITES_Click() {
  Lists(*this, Hide, Keep, Show, Keep, Hide, Keep);
}
void KESTOR_11::INFORMATION_Click() {
  Lists(*this, Hide, Keep, Hide, Keep, Show, Show);
}

// The rate is taken on the click on an entry; the release does nothing.
void KESTOR_11::ACTIV_MouseUp() {}

// Quit: close the data file and end at once, whatever is open.
void KESTOR_11::FIN_Click() {
  ui::files::Close(2);
  ui::End("quit command");
}
