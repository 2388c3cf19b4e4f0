// The desktop side of the browser tests, as JSON: every shown widget (name, rectangle relative to
// the window in pixels, caption of a label) and the surface (w, h, "rrggbbff" pixels) of the window
// on an injected screen; optionally after a rate and a series, with a clock starting at START
// seconds and advancing STEP at every reading, then the mouse moved to pixel X Y.
//   kestor_geometry WIDTH HEIGHT DATAFILE [START STEP RATE-ENTRY COUNT-ENTRY [X Y]]
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "ui/qt/internal.h"
#include "window/KESTOR_11.h"

namespace {

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) out += c == '"' || c == '\\' ? std::string{'\\', c} : std::string{c};
  return out + '"';
}

void Dump(ui::Container& c, QWidget* top, const char*& sep) {
  for (ui::Widget* w : c.Children()) {
    QWidget* v = w->peer()->view.data();
    if (!w->Shown() || !v) continue;
    const QPoint at = v->mapTo(top, QPoint(0, 0));
    auto* label = dynamic_cast<ui::Label*>(w);
    std::printf("%s\n{\"name\": %s, \"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d, \"caption\": %s}",
                sep, Quoted(w->Name()).c_str(), at.x(), at.y(), v->width(), v->height(),
                Quoted(label ? label->Caption() : "").c_str());
    sep = ",";
    if (auto* sub = dynamic_cast<ui::Container*>(w)) Dump(*sub, top, sep);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 8 && argc != 10)
    return std::fprintf(stderr, "usage: see geometry.cpp\n"), 2;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const auto number = [&](int i) { return std::strtof(argv[i], nullptr); };
  int qargc = 1;
  ui::Application app(qargc, argv);
  ui::seams::SetScreenTwips(number(1) * ui::kTwipsPerPixel, number(2) * ui::kTwipsPerPixel);
  ui::seams::SetDataFileCandidates({argv[3]});
  if (argc > 4)
    ui::seams::SetClock(
        [t = number(4), step = number(5)]() mutable { return std::exchange(t, t + step); });
  KESTOR_11 form;
  ui::Application::LoadForm(form);
  ui::Application::ShowForm(form);
  if (argc > 4) {
    form.ACTIVITES.FireClick();
    form.ACTIV.SetListIndex(std::atoi(argv[6]));
    form.ACTIV.FireClick();
    if (form.ATTENTION.Shown()) form.OUI.FireClick();
    form.LANCER.FireClick();
    form.LANCER_N.SetListIndex(std::atoi(argv[7]));
    form.LANCER_N.FireMouseUp();
  }
  if (argc > 8)
    form.FireMouseMove(
        ui::Mouse{0, 0, number(8) * ui::kTwipsPerPixel, number(9) * ui::kTwipsPerPixel});
  ui::Flush();
  std::printf("{\"widgets\": [");
  const char* sep = "";
  Dump(form, form.peer()->view.data(), sep);
  std::string rgb;
  const char* hex = "0123456789abcdef";
  for (int y = 0; y < form.SurfaceHeight(); ++y)
    for (int x = 0; x < form.SurfaceWidth(); ++x)
      for (const uint8_t v :
           {form.Pixel(x, y).r, form.Pixel(x, y).g, form.Pixel(x, y).b, uint8_t{255}})
        rgb.append(1, hex[v >> 4]).append(1, hex[v & 15]);
  std::printf("],\n\"w\": %d, \"h\": %d, \"rgb\": \"%s\"}\n", form.SurfaceWidth(),
              form.SurfaceHeight(), rgb.c_str());
  return 0;
}
