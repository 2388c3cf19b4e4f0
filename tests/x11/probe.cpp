// Reads the X screen for the real-input test: for an argument "x,y" it
// prints the pixel's colour as "r g b"; for "x,y,w,h" the number of dark
// pixels (all three components below 64) in that box. One line each.
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
    QList<int> v;
    for (const QString& part : arg.split(',')) v.append(part.toInt());
    if (v.size() == 2 && image.valid(v[0], v[1])) {
      const QColor c = image.pixelColor(v[0], v[1]);
      std::printf("%d %d %d\n", c.red(), c.green(), c.blue());
    } else if (v.size() == 4) {
      int dark = 0;
      for (int y = v[1]; y < v[1] + v[3]; ++y)
        for (int x = v[0]; x < v[0] + v[2]; ++x) {
          const QColor c = image.valid(x, y) ? image.pixelColor(x, y) : QColor(Qt::white);
          dark += c.red() < 64 && c.green() < 64 && c.blue() < 64;
        }
      std::printf("%d\n", dark);
    } else {
      std::fprintf(stderr, "probe: bad argument %s\n", qPrintable(arg));
      return 2;
    }
  }
  return 0;
}
