// The application, the event loop as the program sees it (dispatch, yield,
// end), the screen, the clock and the test seams.
#include <QtGui/private/qhighdpiscaling_p.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QIcon>
#include <QScreen>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "ui/qt/internal.h"

namespace ui {

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
  const int m =
      static_cast<int>(std::ceil(std::max({w / kMaxWidthTwips, h / kMaxHeightTwips, 1.0})));
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
  PushWidgets();
  for (Form* f : st.forms) {
    Surface* s = Peer::SurfaceOf(*f);
    if (!s) continue;
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

// The windows go and the event loop ends.
void CloseWindows() {
  for (Form* f : S().forms)
    if (QWidget* v = f->peer()->view.data()) v->hide();
  QCoreApplication::exit(0);
}

void HandlerHeld(double from_ms, double to_ms) {
  NoteHeld(from_ms, to_ms);
}

// ------------------------------------------------------------------- clock

float Timer() {
  State& st = S();
  if (st.clock) return st.clock();
  return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

DateTime Now() {
  if (S().now) return S().now();
  const QDateTime t = QDateTime::currentDateTime();
  return DateTime{t.date().year(), t.date().month(),  t.date().day(),
                  t.time().hour(), t.time().minute(), t.time().second()};
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
  QWidget* v = form.peer()->view.data();
  if (!v) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  QPoint origin = screen ? screen->geometry().topLeft() : QPoint(0, 0);
  v->setGeometry(QRect(origin, QSize(VPx(ScreenWidth()), VPx(ScreenHeight()))));
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
  QApplication::exec();  // returns once the end has closed the files and the window
  return 0;
}

}  // namespace ui
