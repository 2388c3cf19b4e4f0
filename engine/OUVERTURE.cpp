// Finding and opening the pulse data file as file number 2, then skipping a
// number of values that depends on the time of day, so that each run starts
// at a different place in the file.
#include <cmath>

#include "ui/textfile.h"
#include "window/KESTOR_11.h"

namespace {

constexpr int kFile = 2;

// Opens the first of the eleven candidates that can be opened as file 2.
// Returns its path, or an empty text when none could be.
std::string OpenFirstCandidate() {
  for (const std::string& path : ui::DataFileCandidates()) {
    ui::files::Close(kFile);
    if (ui::files::Open(kFile, path)) return path;
  }
  return {};
}

// Number of values to skip at time of day t: t brought into 0..100 by steps
// of 100, then its whole part (100.0 and 200.0 give 100, 100.5 gives 0).
// A clock beyond any day (or not a number) is folded first, so the loop
// always ends.
int SkipCount(float t) {
  if (!(t >= 0.0f)) return 0;
  if (t > 1.0e6f) t = std::fmod(t, 100.0f);
  while (t > 100.0f) t -= 100.0f;
  int count = 0;
  while (count + 1 <= t) ++count;
  return count;
}

}  // namespace

// Opens the data file and positions it after the skipped values: FICHIER_T
// holds its path, ERREUR_I is 0 and DISK_0 is hidden. When no candidate
// opens, or the file cannot feed the skip (too short, a value beyond 16
// bits), no file stays open, FICHIER_T is empty, ERREUR_I is 1 and DISK_0 is
// shown.
void KESTOR_11::OUVERTURE() {
  FICHIER_T.clear();
  const std::string path = OpenFirstCandidate();
  bool usable = !path.empty();
  if (usable) {
    const int skip = SkipCount(ui::Timer());
    for (int i = 1; i <= skip && usable; ++i) usable = ui::files::InputInt16(kFile, A_I);
  }
  if (!usable) {
    ui::files::CloseAll();
    DISK_0.SetVisible(true);
    ERREUR_I = 1;
    return;
  }
  FICHIER_T = path;
  DISK_0.SetVisible(false);
  ERREUR_I = 0;
}
