// mkbitmaps OUTPUT_DIR
//
// Draws the program's bitmaps and saves them as files in OUTPUT_DIR:
//   logo.png, logo.xpm            32 x 32, 16 colours: the window's logo;
//   logo_48.png, logo_128.png,    the same design drawn at the sizes of the
//   logo_256.png                  application icons;
//   sigma2.xpm                    90 x 70, 24-bit: a blue sigma squared;
//   stat1.png, stat2.png,         the statistics page (text and formulas) at
//   stat3.png                     760 x 490, 930 x 590 and 1230 x 660, 24-bit.
// Everything is drawn with QtGui on the offscreen platform, in the Liberation
// fonts; a missing font or glyph stops the tool rather than letting the
// toolkit substitute another face.
#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

namespace {

const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");

[[noreturn]] void Fail(const QString& message) {
  std::fprintf(stderr, "mkbitmaps: %s\n", qPrintable(message));
  std::exit(1);
}

QFont MakeFont(const QString& family, int pixel_size, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoFontMerging);
  if (QFontInfo(font).family() != family) Fail("font not found: " + family);
  return font;
}

// Stops when the font has no glyph for a character of text: the toolkit
// would otherwise draw it from another face, or as a box.
void RequireGlyphs(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  for (const uint code : text.toUcs4()) {
    if (code != ' ' && !metrics.inFontUcs4(code)) {
      Fail(QStringLiteral("no glyph U+%1 in %2").arg(code, 4, 16, QChar('0')).arg(font.family()));
    }
  }
}

QImage WhiteCanvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// As PNG, or for a name ending in .xpm as XPM: C source that the program
// compiles in, an array of constant strings named after the file
// (sigma2.xpm: sigma2_xpm).
void Save(const QImage& image, const QDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  if (!name.endsWith(QStringLiteral(".xpm"))) {
    if (!image.save(path, "PNG")) Fail("cannot write " + path);
    return;
  }
  QByteArray xpm;
  QBuffer buffer(&xpm);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "XPM")) Fail("cannot encode " + name);
  const qsizetype open = xpm.indexOf("static char *");
  const qsizetype brace = xpm.indexOf("={", open);
  if (open < 0 || brace < 0) Fail("unexpected XPM header for " + name);
  const QByteArray array = QFileInfo(name).completeBaseName().toLatin1() + "_xpm";
  xpm.replace(open, brace + 2 - open, "static const char* const " + array + "[] = {");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(xpm) != xpm.size())
    Fail("cannot write " + path);
}

// ------------------------------------------------------------------ logo

// The classic 16-colour set; the 32 x 32 logo uses only these colours.
QVector<QRgb> SixteenColours() {
  return {qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
          qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
          qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
}

// The logo on a 32-unit grid: a white pulse strip with a time axis and
// pulse ticks (blue inside the count window, red outside) above a green
// histogram of bell-like shape on its base line, all on blue. At 32 pixels
// it is drawn without antialiasing in the 16 colours; larger sizes draw the
// same shapes smoothly, with outlines and line widths chosen for the size.
QImage DrawLogo(int size) {
  const bool small = size <= 32;
  const qreal unit = size / 32.0;
  const QColor navy(0, 0, 128), blue(0, 0, 255), white(255, 255, 255), grey(128, 128, 128),
      red(255, 0, 0), green(0, 255, 0), dark_green(0, 128, 0);
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(blue);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, !small);
  auto box = [unit](qreal x, qreal y, qreal w, qreal h) {
    return QRectF(x * unit, y * unit, w * unit, h * unit);
  };
  // Frame.
  const qreal frame = small ? 1.0 : std::max(1.0, std::round(size / 48.0));
  p.setPen(Qt::NoPen);
  p.setBrush(navy);
  p.drawRect(QRectF(0, 0, size, frame));
  p.drawRect(QRectF(0, size - frame, size, frame));
  p.drawRect(QRectF(0, 0, frame, size));
  p.drawRect(QRectF(size - frame, 0, frame, size));
  // Pulse strip: white band, grey time axis, ticks rising from the axis.
  p.fillRect(box(3, 4, 27, 9), white);
  const qreal line = small ? 1.0 : std::max(1.0, std::round(size / 40.0));
  p.fillRect(QRectF(3 * unit, 11 * unit, 27 * unit, line), grey);
  const qreal ticks[] = {5, 8, 12, 14, 19, 24, 27};
  for (const qreal x : ticks) {
    const bool inside = x >= 8 && x <= 24;  // the count window
    p.fillRect(QRectF(x * unit + (unit - line) / 2, 6 * unit, line, 5 * unit), inside ? blue : red);
  }
  // Histogram: seven bars on a white base line.
  const int heights[] = {2, 5, 9, 12, 10, 6, 3};
  for (int i = 0; i < 7; ++i) {
    const QRectF bar = box(3 + 4 * i, 27 - heights[i], 3, heights[i]);
    if (small) {
      p.fillRect(bar, green);
    } else {
      p.setBrush(green);
      p.setPen(QPen(dark_green, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      p.drawRect(bar.adjusted(line / 2, line / 2, -line / 2, 0));
    }
  }
  p.fillRect(box(2, 27, 29, 1), white);
  p.end();
  return image;
}

QImage SixteenColourLogo() {
  const QImage drawn = DrawLogo(32);
  QImage indexed = drawn.convertToFormat(QImage::Format_Indexed8, SixteenColours(),
                                         Qt::ThresholdDither | Qt::AvoidDither);
  // Drawn in the table's colours only, so the conversion must be exact.
  if (indexed.convertToFormat(QImage::Format_RGB32) != drawn) Fail("logo uses other colours");
  return indexed;
}

// ----------------------------------------------------------------- sigma

// A blue sigma squared, as large as the picture allows. The picture is shown
// stretched into a square, so it is drawn widened by 90 / 70 to look right
// there.
QImage DrawSigma2() {
  const int width = 90, height = 70;
  const QString sigma = QString(QChar(0x03C3)), two = QStringLiteral("2");
  const QFont sigma_font = MakeFont(kSerif, 96), two_font = MakeFont(kSerif, 52);
  RequireGlyphs(sigma_font, sigma);
  const QFontMetricsF sm(sigma_font), tm(two_font);
  // Ink boxes relative to each baseline; the 2 is raised to the top of the
  // sigma's ink plus a little.
  const QRectF s_ink = sm.tightBoundingRect(sigma), t_ink = tm.tightBoundingRect(two);
  const qreal gap = 3;
  const qreal two_x = s_ink.right() + gap - t_ink.left();
  const qreal two_rise = s_ink.top() - t_ink.top() - t_ink.height() * 0.35;
  const QRectF ink = s_ink.united(t_ink.translated(two_x, two_rise));
  const qreal stretch = qreal(width) / height;
  const qreal scale = std::min((width - 6) / (ink.width() * stretch), (height - 6) / ink.height());
  QImage image = WhiteCanvas(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.translate(width / 2.0, height / 2.0);
  p.scale(scale * stretch, scale);
  p.translate(-ink.center());
  p.setPen(QColor(0, 0, 255));
  p.setFont(sigma_font);
  p.drawText(QPointF(0, 0), sigma);
  p.setFont(two_font);
  p.drawText(QPointF(two_x, two_rise), two);
  p.end();
  return image;
}

// ------------------------------------------------------ statistics page

// A laid-out piece of a line: its advance, its extent above and below the
// baseline, and how to draw it with the baseline's left end at a point.
struct Box {
  qreal width = 0, ascent = 0, descent = 0;
  std::function<void(QPainter&, QPointF)> draw;
  qreal height() const { return ascent + descent; }
};

Box Text(const QString& text, const QFont& font, const QColor& colour) {
  RequireGlyphs(font, text);
  const QFontMetricsF metrics(font);
  return {metrics.horizontalAdvance(text), metrics.ascent(), metrics.descent(),
          [=](QPainter& p, QPointF at) {
            p.setFont(font);
            p.setPen(colour);
            p.drawText(at, text);
          }};
}

Box Row(std::vector<Box> parts) {
  Box row;
  for (const Box& part : parts) {
    row.width += part.width;
    row.ascent = std::max(row.ascent, part.ascent);
    row.descent = std::max(row.descent, part.descent);
  }
  row.draw = [parts](QPainter& p, QPointF at) {
    for (const Box& part : parts) {
      part.draw(p, at);
      at.rx() += part.width;
    }
  };
  return row;
}

Box Space(qreal width) {
  return {width, 0, 0, [](QPainter&, QPointF) {}};
}

// Text in which the words between asterisks are set in bold.
Box Marked(const QString& marked, const QFont& font, const QColor& colour) {
  QFont bold = font;
  bold.setBold(true);
  std::vector<Box> parts;
  const QStringList pieces = marked.split('*');
  for (int i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].isEmpty()) parts.push_back(Text(pieces[i], i % 2 ? bold : font, colour));
  }
  return Row(parts);
}

// The mathematical axis of a font (the height of a minus sign), as a
// negative offset from the baseline.
qreal Axis(const QFont& font) {
  return QFontMetricsF(font).tightBoundingRect(QString(QChar(0x2212))).center().y();
}

// The summation sign (a large sigma glyph centred on the axis of the
// formula font) with its lower and upper bounds centred under and over it.
Box Sum(const QFont& sign_font, const QFont& formula_font, const Box& lower, const Box& upper) {
  const QString sign = QString(QChar(0x03A3));
  RequireGlyphs(sign_font, sign);
  const QFontMetricsF metrics(sign_font);
  const QRectF raw_ink = metrics.tightBoundingRect(sign);
  const qreal drop = Axis(formula_font) - raw_ink.center().y();
  const QRectF ink = raw_ink.translated(0, drop);
  const qreal sign_width = metrics.horizontalAdvance(sign);
  const qreal gap = ink.height() * 0.1;
  Box sum;
  sum.width = std::max({sign_width, lower.width, upper.width});
  sum.ascent = -ink.top() + gap + upper.height();
  sum.descent = ink.bottom() + gap + lower.height();
  sum.draw = [=](QPainter& p, QPointF at) {
    const qreal middle = at.x() + sum.width / 2;
    p.setFont(sign_font);
    p.setPen(Qt::black);
    p.drawText(QPointF(middle - sign_width / 2, at.y() + drop), sign);
    upper.draw(p, QPointF(middle - upper.width / 2, at.y() + ink.top() - gap - upper.descent));
    lower.draw(p, QPointF(middle - lower.width / 2, at.y() + ink.bottom() + gap + lower.ascent));
  };
  return sum;
}

// A fraction: numerator over a bar over denominator, the bar on the line's
// mathematical axis (the height of a minus sign).
Box Fraction(const QFont& font, const Box& numerator, const Box& denominator) {
  const QFontMetricsF metrics(font);
  const qreal axis = Axis(font);
  const qreal bar = std::max(1.0, std::round(metrics.lineWidth() * 1.2));
  const qreal gap = metrics.height() * 0.12, overhang = metrics.averageCharWidth() * 0.4;
  Box frac;
  frac.width = std::max(numerator.width, denominator.width) + 2 * overhang;
  frac.ascent = -axis + bar / 2 + gap + numerator.height();
  frac.descent = axis + bar / 2 + gap + denominator.height();
  frac.draw = [=](QPainter& p, QPointF at) {
    const qreal bar_y = at.y() + axis;
    p.fillRect(QRectF(at.x(), bar_y - bar / 2, frac.width, bar), Qt::black);
    numerator.draw(p, QPointF(at.x() + (frac.width - numerator.width) / 2,
                              bar_y - bar / 2 - gap - numerator.descent));
    denominator.draw(p, QPointF(at.x() + (frac.width - denominator.width) / 2,
                                bar_y + bar / 2 + gap + denominator.ascent));
  };
  return frac;
}

struct PageLine {
  Box box;
  qreal space_before;  // share of the free height placed above the line
};

// The fifteen lines of the statistics page with body text of b pixels;
// every other size follows from b.
std::vector<PageLine> StatLines(int b) {
  const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0);
  const QFont title = MakeFont(kSans, std::lround(b * 1.55), true);
  const QFont body = MakeFont(kSans, b), bold = MakeFont(kSans, b, true);
  const QFont heading = MakeFont(kSans, std::lround(b * 1.1), true);
  const QFont formula = MakeFont(kSerif, std::lround(b * 1.2), true);
  const QFont bound = MakeFont(kSerif, std::lround(b * 0.9), true);
  const QFont sign = MakeFont(kSerif, std::lround(b * 2.7));
  const QFont symbols = MakeFont(kSerif, std::lround(b * 1.15));
  const QFont heading_symbols = MakeFont(kSerif, std::lround(b * 1.25), true);

  auto f = [&](const QString& s) { return Text(s, formula, black); };
  auto sum = [&] {
    return Sum(sign, formula, Text(QStringLiteral("i=Nmini"), bound, black),
               Text(QStringLiteral("i=Nmaxi"), bound, black));
  };
  const qreal thin = QFontMetricsF(formula).horizontalAdvance(' ') * 0.6;
  const Box mean_formula =
      Row({f(QStringLiteral("Nmoyen  =  ")),
           Fraction(formula, Row({sum(), Space(thin), f(QStringLiteral("i × Eff(i)"))}),
                    f(QStringLiteral("k")))});
  const Box deviation_formula = Row(
      {f(QStringLiteral("(e.q.m lié à N)²  =  ")),
       Fraction(formula, Row({sum(), Space(thin), f(QStringLiteral("Eff(i) × [ Nmoyen − i ]²"))}),
                f(QStringLiteral("k")))});
  // Text lines with Greek letters and arrows: words in the text face,
  // symbols in the formula face.
  auto sym = [&](const QString& s) { return Text(s, symbols, black); };
  auto word = [&](const QString& s) { return Text(s, body, black); };
  const Box limit = Row({word(QStringLiteral("Lorsque  ")), Text(QStringLiteral("k"), bold, black),
                         sym(QStringLiteral("  →  ∞  ")), word(QStringLiteral("alors  (e.q.m)²  ")),
                         sym(QStringLiteral("→  σ²")), word(QStringLiteral("  avec  ")),
                         sym(QStringLiteral("σ²")), word(QStringLiteral("  =  Nmoyen"))});
  auto head = [&](const QString& s) { return Text(s, heading, blue); };
  auto head_sym = [&](const QString& s) { return Text(s, heading_symbols, blue); };
  const Box spread =
      Row({head(QStringLiteral("ECART TYPE  ")), head_sym(QStringLiteral("σ")),
           head(QStringLiteral("  et  VARIANCE  ")), head_sym(QStringLiteral("σ²"))});

  return {
      {Text(QStringLiteral("STATISTIQUES SUR LES COMPTAGES"), title, red), 1.5},
      {Text(QStringLiteral("La valeur N d’un comptage est aléatoire."), bold, blue), 2},
      {Marked(QStringLiteral("Une série de  *k*  valeurs ( ou *k* comptages) représente un "
                             "échantillon de la population statistique des comptages."),
              body, black),
       1.5},
      {Marked(QStringLiteral("Cette série peut se classer sous la forme d’un histogramme des "
                             "effectifs des valeurs des comptages."),
              body, black),
       0.5},
      {Marked(QStringLiteral("L’effectif  *Eff(N)* , de la valeur de comptage *N* , représente "
                             "le nombre de fois que cette valeur *N*"),
              body, black),
       0.5},
      {Marked(QStringLiteral("se trouve observée parmi les  *k*  valeurs."), body, black), 0.5},
      {Marked(QStringLiteral("De cette série de comptages plusieurs paramètres de "
                             "l’histogramme peuvent être calculés."),
              body, black),
       0.5},
      {Marked(QStringLiteral("Si  *Nmini* représente la plus petite des valeurs et *Nmaxi* la "
                             "plus grande, alors :"),
              body, black),
       0.5},
      {Text(QStringLiteral("MOYENNE ARITHMETIQUE  ou  Nmoyen"), heading, blue), 2},
      {mean_formula, 1},
      {Marked(QStringLiteral("Cette valeur mathématique détermine autour de quelle valeur "
                             "entière ou non, se regroupent les comptages."),
              body, black),
       1},
      {Text(QStringLiteral("ECART QUADRATIQUE MOYEN lié aux comptages N  ( e.q.m. lié à N )"),
            heading, blue),
       2},
      {deviation_formula, 1},
      {spread, 2},
      {limit, 1},
  };
}

// Draws the statistics page on a picture of the given size, its content
// inside the part that the smallest screen showing the picture displays:
// the sheet is centred across the screen (cut equally on both sides when
// wider) and starts under the title bar (cut at the bottom when taller).
// The largest body size at which every line fits between the margins of
// that part, each line centred, the free height shared out between the
// lines and the top and bottom margins.
QImage DrawStatPage(int width, int height, int shown_width, int shown_height) {
  const int content_width = std::min(width, shown_width);
  const int content_height = std::min(height, shown_height);
  const qreal margin_x = std::max(4.0, content_width * 0.012);
  const qreal bottom_space = 1.5;
  std::vector<PageLine> lines;
  qreal free_height = -1;
  int body = 0;
  for (int b = 40; b >= 6 && free_height < 0; --b) {
    lines = StatLines(b);
    qreal widest = 0, used = 0, shares = bottom_space;
    for (const PageLine& line : lines) {
      widest = std::max(widest, line.box.width);
      used += line.box.height();
      shares += line.space_before;
    }
    const qreal free = content_height - used;
    // At least three tenths of the body size for each share of free space.
    if (widest <= content_width - 2 * margin_x && free >= shares * b * 0.3) {
      free_height = free;
      body = b;
    }
  }
  if (free_height < 0) {
    Fail(QStringLiteral("statistics page does not fit %1 x %2")
             .arg(content_width)
             .arg(content_height));
  }

  qreal shares = bottom_space;
  for (const PageLine& line : lines) shares += line.space_before;
  const qreal share = free_height / shares;
  QImage image = WhiteCanvas(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  qreal top = 0;
  for (const PageLine& line : lines) {
    top += line.space_before * share;
    line.box.draw(
        p, QPointF(std::round((width - line.box.width) / 2), std::round(top + line.box.ascent)));
    top += line.box.height();
  }
  p.end();
  std::printf("stat page %d x %d (content %d x %d): body text %d px\n", width, height,
              content_width, content_height, body);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) Fail(QStringLiteral("usage: mkbitmaps OUTPUT_DIR"));
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.exists()) Fail("no directory " + dir.path());

  // The two bitmaps of the first frame are compiled in (logo.png is the
  // installed 32 x 32 icon).
  Save(SixteenColourLogo(), dir, QStringLiteral("logo.png"));
  Save(SixteenColourLogo(), dir, QStringLiteral("logo.xpm"));
  for (const int size : {48, 128, 256}) {
    Save(DrawLogo(size), dir, QStringLiteral("logo_%1.png").arg(size));
  }
  Save(DrawSigma2().convertToFormat(QImage::Format_RGB32), dir, QStringLiteral("sigma2.xpm"));
  // Each picture with the part of it that the smallest screen showing it
  // displays: the first, stretched to 608 x 364 pixels, fits a 640 x 480
  // screen whole; the second is shown from 577 pixels high (800 wide, and
  // its top under a title bar of 800/11520 of that height: 537 rows); the
  // third from 692 pixels high (1024 wide: 644 rows). A row less for the
  // rounding of the frame's top.
  const struct {
    int width, height, shown_width, shown_height;
  } pages[] = {{760, 490, 760, 490}, {930, 590, 800, 536}, {1230, 660, 1024, 643}};
  for (int i = 0; i < 3; ++i) {
    const auto& page = pages[i];
    Save(DrawStatPage(page.width, page.height, page.shown_width, page.shown_height)
             .convertToFormat(QImage::Format_RGB888),
         dir, QStringLiteral("stat%1.png").arg(i + 1));
  }
  return 0;
}
