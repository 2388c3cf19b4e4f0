// Fonts: the faces the program names, drawn with the installed faces that
// match their metrics, so that every machine measures the same widths. A
// point is 4/3 of a logical pixel (96 per inch); sizes become whole pixel
// sizes, never smaller than one pixel.
#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>

#include "ui/qt/internal.h"

namespace ui {

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor ToQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

namespace {

// The program's own font configuration: the Liberation faces (where the
// distributions put them) with the usual desktop rendering (grey
// antialiasing, slight hinting); the generic families (the toolkit's default
// face, used by tooltips) are the sans face, as on a desktop. Text is then
// measured and drawn alike on every machine whatever the desktop's font
// rules, and the font machinery starts without reading the system's dozens
// of rule files nor matching against every installed font.
constexpr char kFontConfig[] = R"(<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts/truetype/liberation2</dir>
  <dir>/usr/share/fonts/truetype/liberation</dir>
  <dir>/usr/share/fonts/liberation-sans</dir>
  <dir>/usr/share/fonts/liberation-serif</dir>
  <dir>/usr/share/fonts/liberation</dir>
  <dir>/usr/share/fonts/TTF</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <alias binding="same"><family>sans-serif</family><prefer><family>Liberation Sans</family></prefer></alias>
  <alias binding="same"><family>Sans Serif</family><prefer><family>Liberation Sans</family></prefer></alias>
  <alias binding="same"><family>Sans</family><prefer><family>Liberation Sans</family></prefer></alias>
  <alias binding="same"><family>serif</family><prefer><family>Liberation Serif</family></prefer></alias>
  <alias binding="same"><family>monospace</family><prefer><family>Liberation Mono</family></prefer></alias>
  <match target="pattern">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="lcdfilter" mode="assign"><const>lcddefault</const></edit>
  </match>
</fontconfig>
)";

bool HasFamily(FcConfig* config, const char* family) {
  const std::unique_ptr<FcPattern, void (*)(FcPattern*)> pattern(FcPatternCreate(),
                                                                 FcPatternDestroy);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  const std::unique_ptr<FcObjectSet, void (*)(FcObjectSet*)> objects(
      FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr)), FcObjectSetDestroy);
  const std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> set(
      FcFontList(config, pattern.get(), objects.get()), FcFontSetDestroy);
  return set && set->nfont > 0;
}

}  // namespace

void UseOwnFontConfiguration() {
  // A configuration the user chose explicitly stays in force.
  if (std::getenv("FONTCONFIG_FILE") || std::getenv("FONTCONFIG_PATH")) return;
  FcConfig* config = FcConfigCreate();
  if (!config) return;
  const bool ok = FcConfigParseAndLoadFromMemory(
                      config, reinterpret_cast<const FcChar8*>(kFontConfig), FcFalse) &&
                  FcConfigBuildFonts(config) && HasFamily(config, "Liberation Sans") &&
                  HasFamily(config, "Liberation Serif");
  // Without both faces in the usual places, the system's configuration
  // (and its substitutes) serves instead. The configuration in force holds
  // a reference of its own: this one is let go either way.
  if (ok) FcConfigSetCurrent(config);
  FcConfigDestroy(config);
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

struct Entry {
  QFont font;
  QFontMetricsF metrics;
  explicit Entry(const QFont& f) : font(f), metrics(f) {}
};

Entry& EntryFor(const std::string& face, float points, bool bold) {
  // Never destroyed: fonts must not outlive the toolkit's font engines at exit.
  static auto& cache = *new std::map<std::tuple<std::string, int, bool>, Entry>;
  const int px = FontPixelSize(points, 1);
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

const QFont& FontFor(const std::string& face, float points, bool bold) {
  return EntryFor(face, points, bold).font;
}

const QFontMetricsF& MetricsFor(const std::string& face, float points, bool bold) {
  return EntryFor(face, points, bold).metrics;
}

double TextWidth(const std::string& face, float points, bool bold, const std::string& text) {
  return MetricsFor(face, points, bold).horizontalAdvance(Q(text));
}

float LineHeight(const std::string& face, float points, bool bold) {
  return static_cast<float>(std::ceil(MetricsFor(face, points, bold).height() - 1e-3)) *
         kTwipsPerPixel;
}

}  // namespace ui
