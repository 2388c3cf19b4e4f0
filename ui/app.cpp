// The application, the event loop as the program sees it (dispatch, yield,
// end), the screen, the clock and the test seams.
#include <QtGui/private/qhighdpiscaling_p.h>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QScreen>
#include <QTime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

#include "ui/internal.h"
#include "ui/textfile.h"

#ifndef KESTOR_DATADIR
#define KESTOR_DATADIR "/usr/local/share/kestor"
#endif

namespace ui {

State& S() {
  static State state;
  return state;
}

namespace {

std::unique_ptr<QApplication> g_app;

// Largest screen, in logical twips, whose layout fits the program's 16-bit
// members: the window width (32767 twips) and the histogram base line,
// placed at 9500/11520 of the height.
constexpr double kMaxWidthTwips = 32767.0;
constexpr double kMaxHeightTwips = 32767.0 * 11520.0 / 9500.0;

// The toolkit's own scale factor, as the user may have set it for every
// screen; the factor of one screen multiplies it.
double GlobalScaleFactor() {
  bool ok = false;
  const double f = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
  return ok && f > 0 ? f : 1.0;
}

void EndNow(const std::string& reason) {
  State& st = S();
  if (st.ended) return;
  st.ended = true;
  st.end_reason = reason;
  files::CloseAll();
  for (Form* f : st.forms)
    if (QWidget* v = f->peer()->view.data()) v->hide();
  QCoreApplication::exit(0);
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

}  // namespace

// A screen too large for the 16-bit layout is run at a whole magnification
// m, the smallest that fits, as a HiDPI display is: the toolkit draws every
// logical pixel as m x m device pixels (times the desktop's own ratio), so
// text, widgets and the drawing stay sharp and measured as they are drawn.
const State::Screen& ReadScreen() {
  State& st = S();
  if (st.screen.read) return st.screen;
  QScreen* screen = QGuiApplication::primaryScreen();
  double w = 1024 * kTwipsPerPixel, h = 768 * kTwipsPerPixel, ratio = 1;
  if (st.seam_w > 0 && st.seam_h > 0) {
    w = st.seam_w;
    h = st.seam_h;
    ratio = st.seam_ratio;
  } else if (screen) {
    w = screen->geometry().width() * kTwipsPerPixel;
    h = screen->geometry().height() * kTwipsPerPixel;
    ratio = screen->devicePixelRatio();
  }
  int m = 1;
  while (m < 64 && (w / m > kMaxWidthTwips || h / m > kMaxHeightTwips)) ++m;
  st.screen =
      State::Screen{true, static_cast<float>(w / m), static_cast<float>(h / m), m, ratio * m};
  // The window shows at that ratio: the toolkit's factor of the screen it
  // covers (the desktop's own, replaced by the same times m).
  if (screen && !qFuzzyCompare(screen->devicePixelRatio(), st.screen.ratio))
    QHighDpiScaling::setScreenFactor(screen, st.screen.ratio / GlobalScaleFactor());
  return st.screen;
}

int ScreenScale() {
  return ReadScreen().magnification;
}
float ScreenWidth() {
  return ReadScreen().width;
}
float ScreenHeight() {
  return ReadScreen().height;
}

QRect PixelRect(float left, float top, float width, float height) {
  int x0 = VPx(left), y0 = VPx(top);
  int x1 = VPx(static_cast<double>(left) + width), y1 = VPx(static_cast<double>(top) + height);
  return QRect(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
}

// ------------------------------------------------------------ flush, yield

void Flush() {
  State& st = S();
  std::vector<Widget*> list;
  list.swap(st.dirty);
  for (Widget* w : list) {
    Peer::ClearDirty(*w);
    Peer::Sync(*w, true);
  }
  for (Form* f : st.forms) {
    Surface* s = Peer::SurfaceOf(*f);
    if (!s) continue;
    s->FlushRun();
    if (!s->dirty.isEmpty()) {
      if (QWidget* v = f->peer()->view.data()) v->update(s->dirty);
      s->dirty = QRect();
    }
  }
  st.last_frame = SteadyMs();
}

void Refresh() {
  Flush();
  // The pushed changes wait in the toolkit for the event loop; painting them
  // now puts them on the screen before a wait that does not yield.
  for (Form* f : S().forms) {
    if (QWidget* v = f->peer()->view.data()) {
      QEvent paint_now(QEvent::UpdateRequest);
      QCoreApplication::sendEvent(v, &paint_now);
    }
  }
}

void DoEvents() {
  State& st = S();
  if (st.yield_hook) st.yield_hook();
  if (st.ended) throw ProgramEnd{st.end_reason};
  // Input is handled at every yield; the picture is pushed to the toolkit
  // (and so repainted) at most once per display frame. What changes a
  // widget's visibility is pushed first, so input never meets a widget that
  // the program has already hidden.
  const double now = SteadyMs();
  if (now - st.last_frame >= 16.0) {
    Flush();
  } else {
    for (Widget* w : st.dirty) Peer::Sync(*w, false);
    // Between frames the loop is entered only when something woke it.
    if (!TakeWakeUp()) return;
  }
  QCoreApplication::processEvents();
  if (st.ended) throw ProgramEnd{st.end_reason};
}

bool Dispatch(const Handler& h) {
  return DispatchHandler(h, true);
}

bool DispatchHandler(const Handler& h, bool can_hold) {
  State& st = S();
  if (st.ended) return false;
  if (st.handler_depth == 0) st.held_since = SteadyMs();
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
  if (!st.ended && st.handler_depth == 0) {
    // A window closed while a run was going ends the program once the run
    // has unwound.
    for (Form* f : st.forms)
      if (!f->Alive()) EndNow("window closed");
  }
  if (st.ended) return false;  // EndNow has closed the files and stopped the loop
  Flush();
  if (st.handler_depth == 0 && can_hold) NoteHeld(st.held_since, SteadyMs());
  return true;
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

// ------------------------------------------------------------------- clock

double SteadyMs() {
  const State& st = S();
  if (st.steady) return st.steady();
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// ------------------------------------------------------------- click rule

void NoteInput(quint64 stamp) {
  State& st = S();
  st.input_seen = true;
  st.input_stamp = static_cast<double>(stamp);
  st.input_at = SteadyMs();
}

// A press is held when it was made after the first millisecond of a
// stretch (time stamps are whole milliseconds: a move and the press that
// came with it may straddle one) and before the stretch ended.
bool HeldAt(quint64 stamp) {
  const State& st = S();
  const double t = static_cast<double>(stamp);
  for (const State::Held& h : st.held)
    if (t > h.from + 1 && t <= h.to) return true;
  return false;
}

float Timer() {
  State& st = S();
  if (st.clock) return st.clock();
  return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

void Sleep(int milliseconds) {
  if (S().clock || milliseconds <= 0) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// --------------------------------------------------------------- data file

std::vector<std::string> DataFileCandidates() {
  State& st = S();
  std::vector<std::string> c;
  if (!st.data_files.empty()) {
    c = st.data_files;
  } else {
    const std::string name = "KESTOR_11.KSQ";
    std::string exe_dir = QCoreApplication::applicationDirPath().toStdString();
    std::string home = QDir::homePath().toStdString();
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

// ------------------------------------------------------------------- seams

namespace seams {
void SetScreenTwips(float width, float height) {
  S().seam_w = width;
  S().seam_h = height;
}
void SetScreenRatio(double ratio) {
  S().seam_ratio = ratio > 0 ? ratio : 1;
}
void SetClock(std::function<float()> clock) {
  S().clock = std::move(clock);
}
void SetDataFileCandidates(std::vector<std::string> paths) {
  S().data_files = std::move(paths);
}
void SetYieldHook(Handler hook) {
  S().yield_hook = std::move(hook);
}
void SetSteadyClock(std::function<double()> milliseconds) {
  S().steady = std::move(milliseconds);
}
void Reset() {
  State& st = S();
  st.seam_w = st.seam_h = 0;
  st.seam_ratio = 1;
  st.screen = State::Screen{};
  st.clock = nullptr;
  st.steady = nullptr;
  st.last_frame = -1e300;
  st.input_seen = false;
  for (State::Held& h : st.held) h = State::Held{};
  st.data_files.clear();
  st.yield_hook = nullptr;
  st.ended = false;
  st.end_reason.clear();
  st.handler_depth = 0;
}
}  // namespace seams

// ------------------------------------------------------------- application

Application::Application(int& argc, char** argv) {
  // Without any display the toolkit would abort with a page of advice about
  // its plugins: one clear line instead (unless a platform is named).
  bool platform_named = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  for (int i = 1; i < argc; ++i)
    platform_named = platform_named || std::strcmp(argv[i], "-platform") == 0;
  if (!platform_named && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fprintf(stderr,
                 "kestor: no display (DISPLAY and WAYLAND_DISPLAY are unset); start it from a "
                 "desktop session.\n");
    std::exit(1);
  }
  UseOwnFontConfiguration();
  InstallDispatcher();
  g_app = std::make_unique<QApplication>(argc, argv);
  QApplication::setApplicationName("kestor");
  // The toolkit's own texts (tooltips) in the program's sans face.
  QFont font = QApplication::font();
  font.setFamilies({ResolveFace("Microsoft Sans Serif")});
  QApplication::setFont(font);
  QApplication::setWindowIcon(QIcon(LoadPicture("logo.xpm")));
}

Application::~Application() {
  g_app.reset();
}

void Application::LoadForm(Form& form) {
  if (form.Load) Dispatch(form.Load);
  Flush();
}

void Application::ShowForm(Form& form) {
  Flush();
  QWidget* v = form.peer()->view.data();
  if (!v) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  QPoint origin = screen ? screen->geometry().topLeft() : QPoint(0, 0);
  v->setGeometry(QRect(origin, QSize(form.SurfaceWidth(), form.SurfaceHeight())));
  // On an injected screen size the window keeps exactly that size; on the
  // real screen it covers it as a full-screen window.
  if (S().seam_w <= 0) v->setWindowState(Qt::WindowFullScreen);
  v->show();
}

int Application::Run(Form& form) {
  LoadForm(form);
  if (Ended()) return 0;
  ShowForm(form);
  if (Ended()) return 0;
  QApplication::exec();
  files::CloseAll();
  return 0;
}

}  // namespace ui
