// The command bar at rest after a continuous run: the commands that a clear
// asking for confirmation may have taken away are enabled again.
#include "window/KESTOR_11.h"

void KESTOR_11::REPOS() {
  EFFACER.SetEnabled(true);
  ACTIVITES.SetEnabled(true);
  INFORMATION.SetEnabled(true);
}
