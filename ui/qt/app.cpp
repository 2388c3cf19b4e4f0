// The application, the event loop as the program sees it (dispatch, yield,
// end), the screen, the clock and the test seams.
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

// Physical screen size in twips.
QSizeF PhysicalScreenTwips() {
  const State& st = S();
  if (st.seam_w > 0 && st.seam_h > 0) return QSizeF(st.seam_w, st.seam_h);
  QScreen* screen = QGuiApplication::primaryScreen();
  QSize px = screen ? screen->geometry().size() : QSize(1024, 768);
  return QSizeF(px.width() * kTwipsPerPixel, px.height() * kTwipsPerPixel);
}

// Largest screen, in twips, whose layout fits the program's 16-bit members:
// the window width (32767 twips) and the histogram base line, placed at
// 9500/11520 of the height.
constexpr double kMaxWidthTwips = 32767.0;
constexpr double kMaxHeightTwips = 32767.0 * 11520.0 / 9500.0;

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

// Clicks made while a handler held the thread without yielding (a count that
// cannot be interrupted, a page being built) were queued by the toolkit. Once
// the handler is over they would land on whatever now stands under the
// pointer (the clear command sits where the stop command was), so they are
// dropped; moves are still delivered.
void DropQueuedClicks() {
  State& st = S();
  st.discarding = true;
  QCoreApplication::processEvents();
  st.discarding = false;
}

}  // namespace

int ScreenScale() {
  QSizeF t = PhysicalScreenTwips();
  int s = 1;
  while (s < 64 && (t.width() / s > kMaxWidthTwips || t.height() / s > kMaxHeightTwips)) ++s;
  return s;
}

float ScreenWidth() {
  return static_cast<float>(PhysicalScreenTwips().width() / ScreenScale());
}
float ScreenHeight() {
  return static_cast<float>(PhysicalScreenTwips().height() / ScreenScale());
}

QRect DeviceRect(float left, float top, float width, float height) {
  const int s = ScreenScale();
  int x0 = VPx(left), y0 = VPx(top);
  int x1 = VPx(static_cast<double>(left) + width), y1 = VPx(static_cast<double>(top) + height);
  return QRect(x0 * s, y0 * s, std::max(0, x1 - x0) * s, std::max(0, y1 - y0) * s);
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
  st.last_frame = std::chrono::steady_clock::now();
}

void DoEvents() {
  State& st = S();
  if (st.yield_hook) st.yield_hook();
  if (st.ended) throw ProgramEnd{st.end_reason};
  // Input is handled at every yield; the picture is pushed to the toolkit
  // (and so repainted) at most once per display frame. What changes a
  // widget's visibility is pushed first, so input never meets a widget that
  // the program has already hidden.
  auto now = std::chrono::steady_clock::now();
  if (now - st.last_frame >= std::chrono::milliseconds(16)) {
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
  State& st = S();
  if (st.ended) return false;
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
  if (st.handler_depth == 0 && !st.discarding) DropQueuedClicks();
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
void SetClock(std::function<float()> clock) {
  S().clock = std::move(clock);
}
void SetDataFileCandidates(std::vector<std::string> paths) {
  S().data_files = std::move(paths);
}
void SetYieldHook(Handler hook) {
  S().yield_hook = std::move(hook);
}
void Reset() {
  State& st = S();
  st.seam_w = st.seam_h = 0;
  st.clock = nullptr;
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
  v->setGeometry(QRect(origin, Peer::SurfaceOf(form)->image.size()));
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
