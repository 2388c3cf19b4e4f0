// The application in the browser: the event loop as the program sees it
// (dispatch, yield, end), the screen, the clock.
//
// The program runs on the browser's only thread. It gives the thread back
// (ASYNCIFY, emscripten_sleep) while it waits for input, and during a run
// only when a display frame is due (16 ms since the last): the browser then
// delivers the input, which is queued and taken here, and paints the page.
// Between frames a yield returns at once, so a series keeps its speed; a
// stop click ends a series within one frame of counts.
#include <emscripten.h>

#include <memory>

#include "internal.h"

namespace ui {

namespace {

// Gives the thread back to the browser for one turn of its event loop: a
// message to itself, which (unlike a timer of 0 ms, held back 4 ms once
// timers nest) comes back as soon as the browser has handled the input and
// painted what was due.
EM_JS(void, kestor_yield, (),
      { Asyncify.handleSleep(function(wakeUp) { Module.stage.post(wakeUp); }); });

// The viewport, read again (its size, magnification and device ratio).
const State::Screen& ReadScreen() {
  State& st = S();
  if (st.screen.read) return st.screen;
  int v[4];
  EM_ASM({ Module.stage.screen($0); }, v);
  st.screen = State::Screen{true, v[0] * kTwipsPerPixel, v[1] * kTwipsPerPixel, v[2], v[3] * 1.0};
  return st.screen;
}

// Delivers the input the browser has queued, each event as the event loop
// would (a handler at a time). A viewport of another size is read again and
// the form is placed anew on it.
void Pump() {
  float e[7];
  while (!S().ended && EM_ASM_INT({ return Module.stage.take($0); }, e)) {
    if (e[0] == 6) {
      S().screen.read = false;
      for (Form* f : S().forms)
        if (f->Resize) Dispatch(f->Resize);
      continue;
    }
    Peer::Deliver(static_cast<int>(e[0]), static_cast<int>(e[1]), e[2], e[3],
                  static_cast<int>(e[4]), e[5] != 0, static_cast<int>(e[6]));
  }
}

}  // namespace

// The viewport in CSS pixels, read when the window is made and again when
// it changes size. A viewport too large for the program's 16-bit positions
// runs magnified by the smallest whole factor that fits, as on the desktop:
// the page scales the smaller stage up to cover it.
int ScreenScale() {
  return ReadScreen().magnification;
}

float ScreenWidth() {
  const State& st = S();
  if (st.seam_w > 0 && st.seam_h > 0) return st.seam_w;
  return ReadScreen().width;
}
float ScreenHeight() {
  const State& st = S();
  if (st.seam_w > 0 && st.seam_h > 0) return st.seam_h;
  return ReadScreen().height;
}

int Scale() {
  return static_cast<int>(ReadScreen().ratio);
}

// ------------------------------------------------------------ flush, yield

void Flush() {
  State& st = S();
  PushWidgets();
  for (Form* f : st.forms)
    if (Surface* s = Peer::SurfaceOf(*f)) s->Paint();
  st.last_frame = SteadyMs();
}

// The browser paints what was pushed as soon as the program gives the
// thread back, which a wait does (Sleep): pushing is enough.
void Refresh() {
  Flush();
}

void DoEvents() {
  State& st = S();
  if (st.yield_hook) st.yield_hook();
  if (st.ended) throw ProgramEnd{st.end_reason};
  if (SteadyMs() - st.last_frame < 16.0) {
    // Between frames: only what hides or shows a widget is pushed, so the
    // input of the next frame never meets a widget the program has hidden.
    for (Widget* w : st.dirty) Peer::Sync(*w, false);
    return;
  }
  Flush();
  kestor_yield();  // the browser paints and queues the input
  Pump();
  if (st.ended) throw ProgramEnd{st.end_reason};
}

// The page says the program has ended; nothing reaches it any more.
void CloseWindows() {
  EM_ASM({ Module.stage.end(); });
}

// Clicks made while the handler held the thread would land on whatever now
// stands under the pointer: the page drops the presses and releases made
// since the handler began (its queue and the browser's), moves are kept.
void HandlerHeld(double from_ms, double) {
  EM_ASM({ Module.stage.dropClicks($0); }, from_ms);
}

// ------------------------------------------------------------------- clock

float Timer() {
  State& st = S();
  if (st.clock) return st.clock();
  const double ms = EM_ASM_DOUBLE({
    var d = new Date();
    return ((d.getHours() * 60 + d.getMinutes()) * 60 + d.getSeconds()) * 1000 +
           d.getMilliseconds();
  });
  return static_cast<float>(ms / 1000.0);
}

DateTime Now() {
  if (S().now) return S().now();
  int v[6];
  EM_ASM(
      {
        var d = new Date();
        var at = $0 >> 2;
        HEAP32[at] = d.getFullYear();
        HEAP32[at + 1] = d.getMonth() + 1;
        HEAP32[at + 2] = d.getDate();
        HEAP32[at + 3] = d.getHours();
        HEAP32[at + 4] = d.getMinutes();
        HEAP32[at + 5] = d.getSeconds();
      },
      v);
  return DateTime{v[0], v[1], v[2], v[3], v[4], v[5]};
}

// Waiting gives the thread back to the browser.
void Sleep(int milliseconds) {
  if (S().clock || milliseconds <= 0) return;
  emscripten_sleep(static_cast<unsigned>(milliseconds));
}

// ------------------------------------------------------- data file search

// The page's own folder (the files served beside it are put there) and the
// browser's virtual home.
std::string ProgramDir() {
  return "/page";
}
std::string HomeDir() {
  return "/home/web_user";
}

// ------------------------------------------------------------ test seams

// The browser tests fix the clock from the page: it starts at start seconds
// and advances step at every reading.
extern "C" EMSCRIPTEN_KEEPALIVE void kestor_seam_clock(double start, double step) {
  auto t = std::make_shared<double>(start);
  seams::SetClock([t, step] {
    const double now = *t;
    *t += step;
    return static_cast<float>(now);
  });
}

// ------------------------------------------------------------- application

Application::Application(int&, char**) {}
Application::~Application() = default;

void Application::LoadForm(Form& form) {
  if (form.Load) Dispatch(form.Load);
  Flush();
}

void Application::ShowForm(Form&) {
  Flush();
  EM_ASM({ Module.stage.show(); });
}

int Application::Run(Form& form) {
  LoadForm(form);
  if (Ended()) return 0;
  ShowForm(form);
  EM_ASM({
    if (Module.onStarted) Module.onStarted();
  });
  while (!Ended()) {
    // Idle: the browser has the thread until input is queued.
    emscripten_sleep(4);
    Pump();
  }
  return 0;  // the end has closed the files
}

}  // namespace ui
