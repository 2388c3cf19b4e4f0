// The browser tests' desktop side: the window on a screen that size, maybe after a rate and series
// (a clock from START s, STEP more at each reading) and the mouse at X Y. Writes the surface's
// width, height, pixels ("rrggbb"), then a line per shown widget: name, rectangle, label caption.
//   kestor_geometry DATAFILE WIDTH HEIGHT [START STEP RATE-ENTRY COUNT-ENTRY [X Y]]
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "ui/qt/internal.h"
#include "window/KESTOR_11.h"

constexpr float kPx = ui::kTwipsPerPixel;

static void Dump(ui::Container& c, QWidget* top) {
  for (ui::Widget* w : c.Children()) {
    QWidget* v = w->peer()->view.data();
    if (!w->Shown() || !v) continue;
    const QPoint at = v->mapTo(top, QPoint(0, 0));
    auto* label = dynamic_cast<ui::Label*>(w);
    std::printf("\n%s %d %d %d %d %s", w->Name().c_str(), at.x(), at.y(), v->width(), v->height(),
                label ? label->Caption().c_str() : "");
    if (auto* sub = dynamic_cast<ui::Container*>(w)) Dump(*sub, top);
  }
}

int main(int argc, char** argv) {
  if (argc != 4 && argc != 8 && argc != 10) return std::fprintf(stderr, "see geometry.cpp\n"), 2;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const auto arg = [&](int i) { return std::strtof(argv[i], nullptr); };
  int qargc = 1;
  ui::Application app(qargc, argv);
  ui::seams::SetScreenTwips(arg(2) * kPx, arg(3) * kPx);
  ui::seams::SetDataFileCandidates({argv[1]});
  if (argc > 4)
    ui::seams::SetClock([t = arg(4), d = arg(5)]() mutable { return std::exchange(t, t + d); });
  KESTOR_11 form;
  ui::Application::LoadForm(form);
  ui::Application::ShowForm(form);
  if (argc > 4) {
    form.ACTIVITES.FireClick();
    form.ACTIV.SetListIndex(std::atoi(argv[6]));
    form.ACTIV.FireClick();
    form.LANCER.FireClick();
    form.LANCER_N.SetListIndex(std::atoi(argv[7]));
    form.LANCER_N.FireMouseUp();
  }
  if (argc > 8) form.FireMouseMove(ui::Mouse{arg(8) * kPx, arg(9) * kPx});
  ui::Flush();
  std::printf("%d %d ", form.SurfaceWidth(), form.SurfaceHeight());
  for (int y = 0; y < form.SurfaceHeight(); ++y)
    for (int x = 0; x < form.SurfaceWidth(); ++x)
      std::printf("%02x%02x%02x", form.Pixel(x, y).r, form.Pixel(x, y).g, form.Pixel(x, y).b);
  Dump(form, form.peer()->view.data());
}
