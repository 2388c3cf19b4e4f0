// The program: one window, covering the screen, until the user quits.
#include "ui/ui.h"
#include "window/KESTOR_11.h"

int main(int argc, char** argv) {
  ui::Application app(argc, argv);
  KESTOR_11 form;
  return app.Run(form);
}
