// The layer's state, the test seams and the data-file search: the same for
// every backend.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>

#include "ui/backend.h"
#include "ui/textfile.h"

#ifndef KESTOR_DATADIR
#define KESTOR_DATADIR "/usr/local/share/kestor"
#endif

namespace ui {

Rgb QBColor(int index) {
  static const Rgb kPalette[] = {
      RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
      RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
      RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
  return kPalette[index & 15];
}

bool PngSize(const unsigned char* head, size_t length, int& width, int& height) {
  width = height = 0;
  // The signature, then the header chunk's length (13) and type.
  static const char kSignature[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR";
  if (length < 24 || std::memcmp(head, kSignature, 16) != 0) return false;
  const auto be32 = [&](size_t at) {
    long v = 0;
    for (size_t i = 0; i < 4; ++i) v = v * 256 + head[at + i];
    return v;
  };
  width = static_cast<int>(be32(16));
  height = static_cast<int>(be32(20));
  return true;
}

State& S() {
  static State state;
  return state;
}

std::vector<std::string> DataFileCandidates() {
  State& st = S();
  std::vector<std::string> c;
  if (!st.data_files.empty()) {
    c = st.data_files;
  } else {
    const std::string name = "KESTOR_11.KSQ";
    std::string exe_dir = ProgramDir();
    std::string home = HomeDir();
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string user_data = (xdg && *xdg) ? std::string(xdg) : home + "/.local/share";
    c = {name,
         exe_dir + "/" + name,
         exe_dir + "/../share/kestor/" + name,
         std::string(KESTOR_DATADIR) + "/" + name,
         user_data + "/kestor/" + name,
         home + "/" + name,
         "/usr/local/share/kestor/" + name,
         "/usr/share/kestor/" + name,
         "/opt/kestor/" + name,
         "/media/cdrom/" + name,
         "/mnt/" + name};
  }
  c.resize(11);
  return c;
}

// ------------------------------------------------- dispatch and the end

void EndNow(const std::string& reason) {
  State& st = S();
  if (st.ended) return;
  st.ended = true;
  st.end_reason = reason;
  files::CloseAll();
  CloseWindows();
}

void Dispatch(const Handler& h) {
  DispatchHandler(h, true);
}

// The only place that catches exceptions: the end of the program unwinds a
// running handler to here, and anything else unexpected ends the program.
void DispatchHandler(const Handler& h, bool can_hold) {
  State& st = S();
  if (st.ended) return;
  const bool top = st.handler_depth == 0;
  if (top) st.held_since = SteadyMs();
  ++st.handler_depth;
  try {
    h();
  } catch (const ProgramEnd&) {
    // The program ended inside the handler; nothing more to do here.
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestor: unexpected error: %s\n", e.what());
    EndNow(std::string("unexpected error: ") + e.what());
  }
  --st.handler_depth;
  if (!st.ended && top) {
    // A window closed while a run was going ends the program once the run
    // has unwound.
    for (Form* f : st.forms)
      if (!f->Alive()) EndNow("window closed");
  }
  if (st.ended) return;  // EndNow has closed the files and the windows
  Flush();
  if (top && can_hold) HandlerHeld(st.held_since, SteadyMs());
}

[[noreturn]] void End(const std::string& reason) {
  EndNow(reason);
  throw ProgramEnd{S().end_reason};
}

bool Ended() {
  return S().ended;
}
const std::string& EndReason() {
  return S().end_reason;
}

// ------------------------------------------------------------- click rule

double SteadyMs() {
  const State& st = S();
  if (st.steady) return st.steady();
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void NoteInput(uint64_t stamp) {
  State& st = S();
  st.input_seen = true;
  st.input_stamp = static_cast<double>(stamp);
  st.input_at = SteadyMs();
}

// A press is held when it was made after the first millisecond of a
// stretch (time stamps are whole milliseconds: a move and the press that
// came with it may straddle one) and before the stretch ended.
bool HeldAt(uint64_t stamp) {
  const State& st = S();
  const double t = static_cast<double>(stamp);
  for (const State::Held& h : st.held)
    if (t > h.from + 1 && t <= h.to) return true;
  return false;
}

// Records a stretch of steady time during which a handler held the thread,
// in the window system's time (through the latest input routed). Before any
// input there is nothing to compare with.
void NoteHeld(double from_ms, double to_ms) {
  State& st = S();
  if (!st.input_seen) return;
  const State::Held h{st.input_stamp + (from_ms - st.input_at),
                      st.input_stamp + (to_ms - st.input_at)};
  st.held[st.held_next] = h;
  st.held_next = (st.held_next + 1) % State::kHeldKept;
}

namespace seams {
void SetScreenTwips(float width, float height) {
  S().seam_w = width;
  S().seam_h = height;
}
void SetScreenRatio(double ratio) {
  S().seam_ratio = ratio > 0 ? ratio : 1;
}
void SetSteadyClock(std::function<double()> milliseconds) {
  S().steady = std::move(milliseconds);
}
void SetClock(std::function<float()> clock) {
  S().clock = std::move(clock);
}
void SetNow(std::function<DateTime()> now) {
  S().now = std::move(now);
}
void SetSaveDialog(std::function<std::string(const std::string&)> dialog) {
  S().save_dialog = std::move(dialog);
}
void SetDataFileCandidates(std::vector<std::string> paths) {
  S().data_files = std::move(paths);
}
void SetYieldHook(Handler hook) {
  S().yield_hook = std::move(hook);
}
// Everything as at start-up but what belongs to live widgets and forms.
void Reset() {
  State& st = S();
  State fresh;
  fresh.dirty.swap(st.dirty);
  fresh.forms.swap(st.forms);
  fresh.handler_depth = st.handler_depth;
  st = std::move(fresh);
}
}  // namespace seams

}  // namespace ui
