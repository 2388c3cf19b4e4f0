// The browser tests' desktop side: the window on a screen that size, maybe after a rate and series
// (its clock: START s, STEP more at each reading) and the mouse at X Y. Writes, tab-separated, the
// surface's width, height, pixels (rrggbb), then a line per shown widget: name, rectangle, caption.
// With KESTOR_SAVE set, Ctrl+S then saves the results in the file it names.
//   kestor_geometry DATAFILE WIDTH HEIGHT [START STEP RATE-ENTRY COUNT-ENTRY [X Y]]
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "ui/qt/internal.h"
#include "window/KESTOR_11.h"

constexpr float kPx = ui::kTwipsPerPixel;

// Rectangles relative to the stage (the form's place on the screen).
static void Dump(ui::Container& c, QWidget* top, QPoint stage) {
  for (ui::Widget* w : c.Children()) {
    QWidget* v = w->peer()->view.data();
    if (!w->Shown() || !v) continue;
    const QPoint at = v->mapTo(top, QPoint(0, 0)) - stage;
    auto* label = dynamic_cast<ui::Label*>(w);
    std::printf("\n%s\t%d\t%d\t%d\t%d\t%s", w->Name().c_str(), at.x(), at.y(), v->width(),
                v->height(), label ? label->Caption().c_str() : "");
    if (auto* sub = dynamic_cast<ui::Container*>(w)) Dump(*sub, top, stage);
  }
}

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const auto arg = [&](int i) { return std::strtof(argv[i], nullptr); };
  ui::Application app(argc, argv);
  ui::seams::SetScreenTwips(arg(2) * kPx, arg(3) * kPx);
  ui::seams::SetDataFileCandidates({argv[1]});
  KESTOR_11 form;
  ui::Application::LoadForm(form);
  ui::Application::ShowForm(form);
  if (argc > 4) {
    ui::seams::SetClock([t = arg(4), d = arg(5)]() mutable { return (t += d) - d; });
    form.ACTIVITES.FireClick(), form.ACTIV.SetListIndex(std::atoi(argv[6])), form.ACTIV.FireClick();
    form.LANCER.FireClick();
    form.LANCER_N.SetListIndex(std::atoi(argv[7])), form.LANCER_N.FireMouseUp();
  }
  if (argc > 8) form.FireMouseMove(ui::Mouse{arg(8) * kPx, arg(9) * kPx});
  if (const char* to = std::getenv("KESTOR_SAVE")) {
    ui::seams::SetSaveDialog([to](const std::string&) { return std::string(to); });
    QKeyEvent save(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendEvent(form.peer()->view.data(), &save);
  }
  ui::Flush();
  std::printf("%d\t%d\t", form.SurfaceWidth(), form.SurfaceHeight());
  for (int y = 0; y < form.SurfaceHeight(); ++y)
    for (int x = 0; x < form.SurfaceWidth(); ++x)
      std::printf("%02x%02x%02x", form.Pixel(x, y).r, form.Pixel(x, y).g, form.Pixel(x, y).b);
  Dump(form, form.peer()->view.data(), QPoint(ui::VPx(form.Left()), ui::VPx(form.Top())));
}
