// A started main window on an injected screen, clock and data file; colours.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>
#include <utility>

#include "ui/qt/internal.h"
#include "ui/textfile.h"
#include "window/KESTOR_11.h"

// A colour as text; the colours a user sees; a rectangle's pixels of a colour; a twip's pixel.
inline std::string Describe(ui::Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}
constexpr ui::Rgb kWhite = ui::RGB(255, 255, 255), kLightBlue = ui::RGB(0, 0, 255),
                  kLightRed = ui::RGB(255, 0, 0);
inline const std::string kBlank = Describe(kWhite), kBlue = Describe(kLightBlue),
                         kRed = Describe(kLightRed), kMagenta = Describe(ui::RGB(255, 0, 255));
inline int CountOf(const QImage& image, const QRect& r, QRgb colour) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += image.pixel(x, y) == colour;
  return n;
}
inline int Px(double twips) {
  return static_cast<int>(std::floor(twips / 15.0 + 0.5));
}
using Box = std::tuple<float, float, float, float>;  // left, top, width, height
inline Box BoxOf(const ui::Widget& w) {
  return {w.Left(), w.Top(), w.Width(), w.Height()};
}
// A scratch directory for this test binary, and a file written there.
inline std::string ScratchDir() {
  static const std::string dir =
      std::filesystem::temp_directory_path() / ("kestor-tests-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}
inline std::string WriteScratchFile(const std::string& name, const std::string& content) {
  std::ofstream(ScratchDir() + "/" + name, std::ios::binary | std::ios::trunc) << content;
  return ScratchDir() + "/" + name;
}

// Sets (or, given no value, unsets) an environment variable for the life of the object.
struct ScopedEnv {
  ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

class KestorTest : public ::testing::Test {
 protected:
  // A screen of w x h pixels, the clock, the data file's places (default: the build's).
  void Start(float w_px = 1024, float h_px = 768, std::vector<std::string> data_files = {},
             float clock_seconds = 0.0f) {
    ui::seams::Reset(), ui::seams::SetScreenTwips(w_px * 15.0f, h_px * 15.0f);
    clock_ = clock_seconds, ui::seams::SetClock([this] { return clock_; });
    if (data_files.empty()) data_files = {KESTOR_BUILD_DIR "/KESTOR_11.KSQ"};
    ui::seams::SetDataFileCandidates(data_files);
    k = std::make_unique<KESTOR_11>(), ui::Application::LoadForm(*k);
  }
  void TearDown() override { k.reset(), ui::files::CloseAll(), ui::seams::Reset(); }
  // Shows the window: its toolkit window; what the screen shows of it now.
  QWindow* Show() {
    ui::Application::ShowForm(*k), QCoreApplication::processEvents();
    return k->peer()->view->windowHandle();
  }
  QImage Screen() const {
    return QGuiApplication::primaryScreen()->grabWindow(k->peer()->view->winId()).toImage();
  }
  // Entry i of the count list, of the rate list (confirming a clearing), of pages.
  void Run(int entry) {
    k->LANCER.FireClick(), k->LANCER_N.SetListIndex(entry), k->LANCER_N.FireMouseUp();
  }
  void ChooseRate(int entry, bool confirm = false) {
    k->ACTIVITES.FireMouseMove(), k->ACTIVITES.FireClick();  // the list under its header
    k->ACTIV.SetListIndex(entry), k->ACTIV.FireClick();
    if (confirm && k->ATTENTION.Shown()) k->OUI.FireClick();
  }
  void OpenPage(int entry) {
    k->INFORMATION.FireClick(), k->INFOS.SetListIndex(entry), k->INFOS.FireMouseUp();
  }
  // What a widget shows now, at the device's resolution (pending changes pushed first).
  static QImage Grab(const ui::Widget& w) {
    ui::Flush();
    return w.peer()->view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // A widget's top left window pixel (containers' offsets added), its centre, a list row's middle.
  static QPoint Origin(const ui::Widget& w) {
    float x = w.Left(), y = w.Top();
    for (ui::Container* c = w.Parent(); c && c->Parent(); c = c->Parent())
      x += c->Left(), y += c->Top();
    return QPoint(Px(x), Px(y));
  }
  static QPoint Centre(const ui::Widget& w) {
    return Origin(w) + QPoint(Px(w.Width()) / 2, Px(w.Height()) / 2);
  }
  static QPoint Entry(const ui::ListBox& l, int row) {
    return Origin(l) + QPoint(Px(l.Width()) / 2, Px(l.RowHeight() * (row + 0.5f)));
  }
  // Captions joined by "|"; 1 or 0 for each widget shown or not.
  static std::string Captions(std::initializer_list<const ui::Label*> labels) {
    std::string s;
    for (const ui::Label* l : labels) s += (l == *labels.begin() ? "" : "|") + l->Caption();
    return s;
  }
  static std::string Flags(std::initializer_list<const ui::Widget*> widgets) {
    std::string s;
    for (const ui::Widget* w : widgets) s += w->Shown() ? '1' : '0';
    return s;
  }
  // The widgets shown in the window and its title bar; their names, sorted.
  std::vector<const ui::Widget*> ShownWidgets() const {
    std::vector<const ui::Widget*> shown;
    for (const ui::Container* c :
         std::initializer_list<const ui::Container*>{k.get(), &k->Picture1})
      for (const ui::Widget* w : c->Children()) shown.insert(shown.end(), w->Shown(), w);
    return shown;
  }
  std::string ShownNames() const {
    std::vector<const ui::Widget*> shown = ShownWidgets();
    std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->Name() < b->Name(); });
    std::string s;
    for (const ui::Widget* w : shown) s += w->Name() + " ";
    return s;
  }
  // A text's width (or height) in a face and size, measured by a label of its own.
  float Measure(const std::string& text, float points, bool width = true,
                const std::string& face = "Microsoft Sans Serif", bool bold = false) {
    ui::Label probe(*k, "probe");
    probe.SetAutoSize(true), probe.SetFontName(face), probe.SetFontBold(bold);
    probe.SetCaption(text), probe.SetFontSize(points);
    return width ? probe.Width() : probe.Height();
  }
  // A surface pixel's colour; several (x, y in turn) as W white, B blue, R red, M magenta, ? other.
  std::string At(int x, int y) const { return Describe(k->Pixel(x, y)); }
  std::string Seen(std::initializer_list<int> xy) const {
    std::string letters;
    for (const int* p = xy.begin(); p + 1 < xy.end(); p += 2) {
      const std::string c = At(p[0], p[1]);
      letters += c == kBlank ? 'W' : c == kBlue ? 'B' : c == kRed ? 'R' : c == kMagenta ? 'M' : '?';
    }
    return letters;
  }

  std::unique_ptr<KESTOR_11> k;
  float clock_ = 0;
};
