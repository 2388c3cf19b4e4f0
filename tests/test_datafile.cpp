// The generated pulse data file and the committed bitmaps.
#include <QImage>
#include <QSet>
#include <climits>
#include <tuple>

#include "fixture.h"

namespace {

// The data file, read with a reader of its own (one optionally signed integer
// a line): enough values for a series of 100000 counts at 16 pulses per
// second (about 2.56 M), none negative, the first 100 within 16 bits;
// intervals of an exponential law of mean 250, independent of one another.
TEST(DataFiles, PulseFileHoldsIndependentExponentialIntervalsOfMean250) {
  std::ifstream in(GeneratedDataFile(), std::ios::binary);
  std::vector<long> v;
  for (std::string line; std::getline(in, line);) {
    size_t used = 0;
    v.push_back(line.empty() ? 0 : std::stol(line, &used));
    ASSERT_TRUE(!line.empty() && used == line.size()) << "line " << v.size() << ": " << line;
  }
  ASSERT_GE(v.size(), 2700000u);
  const double n = v.size();
  double sum = 0, squares = 0, lagged = 0, above_mean = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    ASSERT_TRUE(v[i] >= 0 && v[i] <= (i < 100 ? 32767 : LONG_MAX)) << "value " << i << ": " << v[i];
    sum += v[i];
    squares += double(v[i]) * v[i];
    if (i > 0) lagged += double(v[i]) * v[i - 1];
    above_mean += v[i] > 250;
  }
  const double mean = sum / n, sd = std::sqrt(squares / n - mean * mean);
  EXPECT_NEAR(mean, 250.0, 4 * sd / std::sqrt(n));
  EXPECT_NEAR(sd, 250.0, 2.5);  // an exponential law's standard deviation is its mean
  EXPECT_NEAR((lagged / (n - 1) - mean * mean) / (sd * sd), 0.0, 4 / std::sqrt(n));  // lag 1
  // P(V > 250) = exp(-1); an integer above 250 was at least 250.5.
  const double p = std::exp(-250.5 / 250.0);
  EXPECT_NEAR(above_mean / n, p, 4 * std::sqrt(p * (1 - p) / n));
}

// Each bitmap at its size, opaque, with ink on it; the logo in at most 16
// colours: a white pulse strip and a green histogram on blue, the same
// pixels compiled in as installed.
TEST(DataFiles, BitmapsLoadAtTheirSizesAndTheLogoHasSixteenColours) {
  const std::tuple<const char*, int, int> bitmaps[] = {
      {"logo.xpm", 32, 32},       {"logo.png", 32, 32},       {"logo_48.png", 48, 48},
      {"logo_128.png", 128, 128}, {"logo_256.png", 256, 256}, {"sigma2.xpm", 90, 70},
      {"stat1.png", 760, 490},    {"stat2.png", 930, 590},    {"stat3.png", 1230, 660}};
  const auto load = [](const char* name) {
    return QImage(QString(KESTOR_SOURCE_DIR "/resources/") + name);
  };
  for (const auto& [name, width, height] : bitmaps) {
    SCOPED_TRACE(name);
    const QImage image = load(name);
    EXPECT_EQ(std::make_pair(image.width(), image.height()), std::make_pair(width, height));
    EXPECT_FALSE(image.hasAlphaChannel());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    EXPECT_GE(colours.size(), 3) << "blank";
    EXPECT_TRUE(width != 32 ||
                (colours.size() <= 16 && colours.contains(qRgb(255, 255, 255)) &&
                 colours.contains(qRgb(0, 255, 0)) && image.pixel(16, 2) == qRgb(0, 0, 255)));
  }
  EXPECT_EQ(load("logo.xpm").convertToFormat(QImage::Format_RGB32),
            load("logo.png").convertToFormat(QImage::Format_RGB32));
}

}  // namespace
