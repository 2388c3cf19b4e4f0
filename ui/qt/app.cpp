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

#include "ui/qt/internal.h"
#include "ui/textfile.h"

namespace ui {

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

// ---------------------------------------------------------- data file search

std::string ProgramDir() {
  return QCoreApplication::applicationDirPath().toStdString();
}

std::string HomeDir() {
  return QDir::homePath().toStdString();
}

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
