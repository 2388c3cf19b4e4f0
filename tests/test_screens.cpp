// Every screen a classroom has: the title whole on magnified screens, the
// drawing at the device's resolution, the statistics page inside the
// screens that show it, list entries and bordered captions whole, tooltips
// in the sans face and none on a disabled command, and the screen read once.
#include <QCoreApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <set>

#include "fixture.h"
#include "ui/qt/internal.h"

namespace {

class ScreensTest : public KestorTest {
 protected:
  // What a widget shows, at the device's resolution.
  static QImage Shown(const ui::Widget& w) {
    ui::Flush();
    return w.peer()->view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // Columns (or rows) of an image holding a pixel far from the background.
  static std::set<int> Ink(const QImage& image, QRgb background, bool columns) {
    std::set<int> ink;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        if (std::abs(qRed(c) - qRed(background)) + std::abs(qGreen(c) - qGreen(background)) +
                std::abs(qBlue(c) - qBlue(background)) >
            96)
          ink.insert(columns ? x : y);
      }
    return ink;
  }
};

// The title is measured and drawn with the same metrics: on screens run
// magnified its ink stays inside its box, first "K" and last "é" included.
TEST_F(ScreensTest, TheTitleIsWholeOnEveryMagnifiedScreen) {
  const float screens[][3] = {{2185, 1200, 2}, {2560, 1440, 2}, {3840, 2160, 2}, {7680, 4320, 4}};
  for (const auto& [w, h, magnification] : screens) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    Start(w, h);
    EXPECT_EQ(ui::ScreenScale(), magnification);
    const QImage title = Shown(k->TITRE);
    EXPECT_EQ(title.width(), std::lround(k->TITRE.Width() / 15) * magnification);
    const std::set<int> ink = Ink(title, qRgb(192, 192, 255), true);
    ASSERT_FALSE(ink.empty());
    EXPECT_GT(*ink.begin(), 0);
    EXPECT_LT(*ink.rbegin(), title.width() - 1);
  }
}

// At a device pixel ratio of 2 (a HiDPI laptop, or 200 % desktop scaling)
// the surface holds 2 x 2 device pixels a logical pixel: a line stays one
// logical pixel wide, and the drawn graduation numbers have the detail of
// the device's pixels (an image drawn at the logical size and enlarged
// would repeat every pixel in 2 x 2 blocks).
TEST_F(ScreensTest, HiDpiDrawsTheSurfaceAtTheDevicesResolution) {
  Start();
  ui::seams::SetScreenRatio(2);
  k = std::make_unique<KESTOR_11>();  // a window made on that screen
  ui::Application::LoadForm(*k);
  const QImage& image = ui::Peer::SurfaceOf(*k)->image;
  ASSERT_EQ(std::make_pair(image.width(), image.height()), std::make_pair(2048, 1536));
  // The time axis (light red) at logical row 200: device rows 400 and 401.
  for (const auto& [row, colour] : {std::pair{399, qRgb(255, 255, 255)},
                                    {400, qRgb(255, 0, 0)},
                                    {401, qRgb(255, 0, 0)},
                                    {402, qRgb(255, 255, 255)}})
    EXPECT_EQ(image.pixel(1900, row), colour) << row;
  // The numbers 0 to 40 under the base line (logical rows 650 to 675).
  int detailed = 0;
  for (int y = 1300; y < 1350; y += 2)
    for (int x = 160; x < 1840; x += 2) {
      const QRgb a = image.pixel(x, y);
      detailed += a != image.pixel(x + 1, y) || a != image.pixel(x, y + 1) ||
                  a != image.pixel(x + 1, y + 1);
    }
  EXPECT_GT(detailed, 100);
  // The logical picture read back is the same as on a plain screen.
  EXPECT_EQ(Describe(k->Pixel(500, 200)), "(0,0,255)");
  EXPECT_EQ(Describe(k->Pixel(500, 199)), "(255,255,255)");
}

// The statistics picture chosen for a screen keeps its content inside the
// part of it that the smallest screen showing it displays: the sheet is
// centred (cut equally on both sides) and starts under the title bar, so at
// 800 x 577 the frame starts at row 40 and columns 65 to 864 of the 930
// are shown, 537 rows; at 1024 x 692 at row 48, columns 103 to 1126 of the
// 1230, 644 rows (on larger screens more of each).
TEST_F(ScreensTest, TheStatisticsPictureFitsTheSmallestScreenThatShowsIt) {
  const struct {
    float w, h;
    const char* picture;
    int first_column, last_column, rows;
  } screens[] = {{800, 577, "stat2.png", 65, 864, 537},
                 {1024, 600, "stat2.png", 0, 929, 558},
                 {1024, 692, "stat3.png", 103, 1126, 644},
                 {1024, 768, "stat3.png", 103, 1126, 715}};
  for (const auto& s : screens) {
    SCOPED_TRACE(::testing::Message() << s.w << " x " << s.h);
    Start(s.w, s.h);
    OpenPage(2);
    // Where the program put the sheet: the columns and rows on screen.
    const int cut = -Px(k->BLANCS.Left()), width = Px(k->BLANCS.Width());
    const int first = std::max(0, cut), last = std::min(width - 1, cut + static_cast<int>(s.w) - 1);
    EXPECT_EQ(std::make_tuple(first, last, static_cast<int>(s.h) - Px(k->Picture2.Top())),
              std::make_tuple(s.first_column, s.last_column, s.rows));
    const QImage picture(QString(":/") + s.picture);
    ASSERT_FALSE(picture.isNull());
    const std::set<int> columns = Ink(picture, qRgb(255, 255, 255), true);
    const std::set<int> rows = Ink(picture, qRgb(255, 255, 255), false);
    ASSERT_FALSE(columns.empty());
    EXPECT_GE(*columns.begin(), s.first_column);
    EXPECT_LE(*columns.rbegin(), s.last_column);
    EXPECT_LT(*rows.rbegin(), s.rows);
  }
}

// A list draws its entries with no margin of its own and never elides:
// " Radioactivité et comptage " shows as the same text drawn from the
// list's left edge.
TEST_F(ScreensTest, ListEntriesAreWholeOnSmallScreens) {
  for (const auto& [w, h, points] : {std::tuple{640.f, 480.f, 9},
                                     {800.f, 600.f, 11},
                                     {1024.f, 600.f, 11},
                                     {1152.f, 864.f, 16}}) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    Start(w, h);
    k->INFORMATION.FireMouseMove();
    const QImage list = Shown(k->INFOS);
    const int row = list.height() / 4;
    const QImage entry = list.copy(0, row, list.width(), row);
    // The same text in Liberation Sans at 4/3 pixels a point.
    QImage own(entry.size(), QImage::Format_RGB32);
    own.fill(qRgb(224, 224, 224));
    QPainter p(&own);
    QFont font("Liberation Sans");
    font.setPixelSize(static_cast<int>(std::floor(points * 4.0 / 3.0 + 0.5)));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(0, QFontMetricsF(font).ascent()),
               QString::fromUtf8(" Radioactivité et comptage "));
    p.end();
    EXPECT_EQ(Ink(entry, qRgb(224, 224, 224), true), Ink(own, qRgb(224, 224, 224), true));
  }
}

// A bordered label keeps the size the layout reads, and no glyph of its
// text touches the border: the rows next to the top and bottom borders hold
// no ink ("p" and "g" of "Taux de comptage", "(" and "g" of the headers).
TEST_F(ScreensTest, BorderedCaptionsDoNotTouchTheirBorder) {
  for (const auto& [w, h] : {std::pair{640.f, 480.f}, {800.f, 600.f}, {1024.f, 768.f}}) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    Start(w, h);
    k->LANCER.FireMouseMove();
    k->Label31.SetVisible(true);
    k->Label32.SetVisible(true);
    for (ui::Label* l : {&k->ACTIVITES, &k->LANCER, &k->Label31, &k->Label32}) {
      SCOPED_TRACE(l->Name());
      const QImage image = Shown(*l);
      EXPECT_EQ(std::make_pair(image.width(), image.height()),
                std::make_pair(Px(l->Left() + l->Width()) - Px(l->Left()),
                               Px(l->Top() + l->Height()) - Px(l->Top())));
      // Between the borders (and away from the side borders), the first and
      // last rows hold no ink.
      const QImage inside = image.copy(2, 1, image.width() - 4, image.height() - 2);
      const std::set<int> rows = Ink(inside, qRgb(192, 192, 192), false);
      ASSERT_FALSE(rows.empty());
      EXPECT_GT(*rows.begin(), 0);
      EXPECT_LT(*rows.rbegin(), inside.height() - 1);
    }
  }
}

// Tooltips use the program's sans face; a disabled command offers none.
TEST_F(ScreensTest, TooltipsInTheSansFaceAndNoneOnADisabledCommand) {
  Start();
  EXPECT_EQ(QFontInfo(QToolTip::font()).family(), "Liberation Sans");
  auto tooltip = [&](ui::Widget& w) {
    ui::Flush();
    QToolTip::hideText();
    QWidget* v = w.peer()->view;
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), v->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(v, &help);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text.toStdString();
  };
  EXPECT_EQ(tooltip(k->EFFACER), "");
  EXPECT_EQ(tooltip(k->FIN), " Cliquez pour QUITTER ");
  Run(0);
  EXPECT_EQ(tooltip(k->EFFACER), " Cliquez pour Effacer ");
}

// The screen is read once, at start-up (without a size injected, the one the
// toolkit reports); a 4K projector plugged in later changes nothing the
// program does.
TEST_F(ScreensTest, TheScreenIsReadOnceAtStartUp) {
  Start();
  ui::seams::SetScreenTwips(0, 0);
  KESTOR_11 on_the_real_screen;
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(QSize(on_the_real_screen.SurfaceWidth(), on_the_real_screen.SurfaceHeight()), screen);
  EXPECT_NE(screen, QSize(1024, 768));  // not the size assumed without a screen
  Start();
  Run(3);
  ui::seams::SetScreenTwips(3840 * 15, 2160 * 15);
  EXPECT_EQ(std::make_tuple(ui::ScreenWidth(), ui::ScreenHeight(), ui::ScreenScale()),
            std::make_tuple(15360.f, 11520.f, 1));
  // The query near the right edge keeps its label inside the 1024 pixels.
  k->FireMouseMove({0, 0, 1530 + 300 * 40.4f, k->POSHIST_I - 30.0f});
  EXPECT_FLOAT_EQ(k->EFF1.Left() + k->EFF1.Width() + k->EFF1.Height(), 15360);
  // The strip cleared and its axis drawn to the right edge, one pixel thick.
  k->BANDE0();
  EXPECT_EQ(Describe(k->Pixel(1023, 200)), "(0,0,255)");
  EXPECT_EQ(Describe(k->Pixel(1023, 201)), "(255,255,255)");
  EXPECT_EQ(ui::Peer::SurfaceOf(*k)->image.width(), 1024);
  // A page centred on the screen read at start-up.
  OpenPage(0);
  EXPECT_FLOAT_EQ(2 * k->BLANCS.Left() + k->BLANCS.Width(), 15360);
}

}  // namespace
