// The 2-second pause between the counts of a continuous run, measured on the
// time-of-day clock. It does not service the event loop.
#include "window/KESTOR_11.h"

namespace {

constexpr float kPauseSeconds = 2.0f;
constexpr float kSecondsPerDay = 86400.0f;
constexpr int kPollMilliseconds = 5;

}  // namespace

// Returns once the clock reads at least 2 seconds after its first reading.
// A reading below the first one means the clock passed midnight and went
// back to about 0: a day is added to it, so the pause ends there too (a clock
// set back by hand ends the pause at once). A clock that reads NaN ends it.
void KESTOR_11::PAUSE2() {
  const float start = ui::Timer();
  for (;;) {
    float now = ui::Timer();
    if (now < start) now += kSecondsPerDay;
    if (!(now < start + kPauseSeconds)) return;
    ui::Sleep(kPollMilliseconds);
  }
}
