// Fonts: the faces the program names, drawn with the installed faces that
// match their metrics, so that every machine measures the same widths. A
// point is 4/3 of a logical pixel (96 per inch); sizes become whole pixel
// sizes, never smaller than one pixel.
#include <QFontDatabase>
#include <cmath>
#include <map>
#include <tuple>

#include "ui/internal.h"

namespace ui {

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor ToQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

QString ResolveFace(const std::string& face) {
  static auto& cache = *new std::map<std::string, QString>;
  auto it = cache.find(face);
  if (it != cache.end()) return it->second;
  QString named = Q(face);
  QString chosen;
  if (QFontDatabase::hasFamily(named)) {
    chosen = named;
  } else if (face == "Times New Roman") {
    chosen = QStringLiteral("Liberation Serif");
  } else {
    // "Microsoft Sans Serif", "Arial" and any other face.
    chosen = QStringLiteral("Liberation Sans");
  }
  cache.emplace(face, chosen);
  return chosen;
}

namespace {

int PixelSize(float points, int scale) {
  double px = std::floor(static_cast<double>(points) * 4.0 / 3.0 * scale + 0.5);
  if (!(px >= 1)) px = 1;  // also NaN
  if (px > 4000) px = 4000;
  return static_cast<int>(px);
}

struct Entry {
  QFont font;
  QFontMetricsF metrics;
  explicit Entry(const QFont& f) : font(f), metrics(f) {}
};

Entry& EntryFor(const std::string& face, float points, bool bold, int scale) {
  // Never destroyed: fonts must not outlive the toolkit's font engines at exit.
  static auto& cache = *new std::map<std::tuple<std::string, int, bool>, Entry>;
  const int px = PixelSize(points, scale);
  auto key = std::make_tuple(face, px, bold);
  auto it = cache.find(key);
  if (it == cache.end()) {
    QFont f(ResolveFace(face));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    it = cache.emplace(key, Entry(f)).first;
  }
  return it->second;
}

}  // namespace

const QFont& FontFor(const std::string& face, float points, bool bold, int scale) {
  return EntryFor(face, points, bold, scale).font;
}

const QFontMetricsF& MetricsFor(const std::string& face, float points, bool bold) {
  return EntryFor(face, points, bold, 1).metrics;
}

float LineHeight(const std::string& face, float points, bool bold) {
  return static_cast<float>(std::ceil(MetricsFor(face, points, bold).height() - 1e-3)) *
         kTwipsPerPixel;
}

}  // namespace ui
