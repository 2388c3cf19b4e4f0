// Reads the X screen for the real-input test: prints the colour of each
// pixel "x,y" given, as "r g b", one line each.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 2;
  const QImage image = screen->grabWindow(0).toImage();
  for (const QString& arg : QCoreApplication::arguments().mid(1)) {
    const QStringList xy = arg.split(',');
    const QPoint p(xy.value(0).toInt(), xy.value(1).toInt());
    const QColor c = image.valid(p) ? image.pixelColor(p) : QColor(Qt::white);
    std::printf("%d %d %d\n", c.red(), c.green(), c.blue());
  }
  return 0;
}
