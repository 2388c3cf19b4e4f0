// For the real-input test: prints the colour "#rrggbb" of the X screen's pixel "x,y".
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  int x = 0, y = 0;
  if (argc != 2 || std::sscanf(argv[1], "%d,%d", &x, &y) != 2) return 2;
  const QImage pixel = QGuiApplication::primaryScreen()->grabWindow(0, x, y, 1, 1).toImage();
  std::printf("%s\n", qPrintable(pixel.pixelColor(0, 0).name()));
}
