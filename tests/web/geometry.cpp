// The desktop side of the browser tests: starts the window on an injected
// screen (offscreen) and writes, as JSON, where the toolkit shows every
// shown widget (pixels, relative to the window, in creation order) and the
// drawing surface's pixels (one line of "RRGGBB" words per row, each word
// followed by its repeat count), optionally after a rate and a series of
// counts chosen as a user does, with a clock that starts at START seconds
// and advances STEP at every reading.
//
//   kestor_geometry WIDTH HEIGHT DATAFILE [START STEP RATE-ENTRY COUNT-ENTRY [X Y]]
//
// X Y: then the mouse moved to that pixel of the window.
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/qt/internal.h"
#include "window/KESTOR_11.h"

namespace {

const char* KindName(ui::Kind k) {
  switch (k) {
    case ui::Kind::Form:
      return "form";
    case ui::Kind::Label:
      return "label";
    case ui::Kind::PictureBox:
      return "box";
    case ui::Kind::ListBox:
      return "list";
    case ui::Kind::Image:
      return "image";
  }
  return "?";
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

void Dump(ui::Container& c, QWidget* top, bool& first) {
  for (ui::Widget* w : c.Children()) {
    if (!w->Shown()) continue;
    QWidget* v = w->peer()->view.data();
    if (!v) continue;
    const QPoint at = v->mapTo(top, QPoint(0, 0));
    auto* label = dynamic_cast<ui::Label*>(w);
    std::printf(
        "%s\n  {\"name\": \"%s\", \"kind\": \"%s\", \"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d, "
        "\"caption\": \"%s\"}",
        first ? "" : ",", Escape(w->Name()).c_str(), KindName(w->GetKind()), at.x(), at.y(),
        v->width(), v->height(), label ? Escape(label->Caption()).c_str() : "");
    first = false;
    if (auto* sub = dynamic_cast<ui::Container*>(w)) Dump(*sub, top, first);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: kestor_geometry WIDTH HEIGHT DATAFILE\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const float w = std::strtof(argv[1], nullptr), h = std::strtof(argv[2], nullptr);
  int qargc = 1;
  ui::Application app(qargc, argv);
  ui::seams::SetScreenTwips(w * ui::kTwipsPerPixel, h * ui::kTwipsPerPixel);
  ui::seams::SetDataFileCandidates({argv[3]});
  float clock = 0, step = 0;
  if (argc >= 8) {
    clock = std::strtof(argv[4], nullptr);
    step = std::strtof(argv[5], nullptr);
    ui::seams::SetClock([&] {
      const float t = clock;
      clock += step;
      return t;
    });
  }
  KESTOR_11 form;
  ui::Application::LoadForm(form);
  ui::Application::ShowForm(form);
  if (argc >= 8) {
    form.ACTIVITES.FireClick();
    form.ACTIV.SetListIndex(std::atoi(argv[6]));
    form.ACTIV.FireClick();
    if (form.ATTENTION.Shown()) form.OUI.FireClick();
    form.LANCER.FireClick();
    form.LANCER_N.SetListIndex(std::atoi(argv[7]));
    form.LANCER_N.FireMouseUp();
  }
  if (argc >= 10) {
    ui::Mouse m;
    m.x = std::strtof(argv[8], nullptr) * ui::kTwipsPerPixel;
    m.y = std::strtof(argv[9], nullptr) * ui::kTwipsPerPixel;
    form.FireMouseMove(m);
  }
  ui::Flush();
  QWidget* top = form.peer()->view.data();
  std::printf("{\"widgets\": [");
  bool first = true;
  Dump(form, top, first);
  std::printf("\n], \"surface\": [");
  for (int y = 0; y < form.SurfaceHeight(); ++y) {
    std::printf("%s\n  \"", y ? "," : "");
    int x = 0;
    while (x < form.SurfaceWidth()) {
      const ui::Rgb c = form.Pixel(x, y);
      int n = 1;
      while (x + n < form.SurfaceWidth() && form.Pixel(x + n, y) == c) ++n;
      std::printf("%s%02x%02x%02x*%d", x ? " " : "", c.r, c.g, c.b, n);
      x += n;
    }
    std::printf("\"");
  }
  std::printf("\n]}\n");
  return 0;
}
