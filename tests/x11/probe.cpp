// For the real-input test: prints the X screen's colour "r g b" at each pixel "x,y" given.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  for (const QString& xy : QCoreApplication::arguments().mid(1)) {
    const QColor c = image.pixelColor(xy.section(',', 0, 0).toInt(), xy.section(',', 1).toInt());
    std::printf("%d %d %d\n", c.red(), c.green(), c.blue());
  }
}
