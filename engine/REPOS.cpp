// The command bar at rest after a continuous run: arrow pointer, the start
// command's caption, and the commands that a run had taken away enabled.
#include "window/KESTOR_11.h"

void KESTOR_11::REPOS() {
  SetMousePointer(ui::Pointer::Arrow);
  LANCER.SetCaption("  Lancer  ");
  EFFACER.SetEnabled(true);
  ACTIVITES.SetEnabled(true);
  INFORMATION.SetEnabled(true);
}
