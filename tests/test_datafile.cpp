// The generated pulse data file and the committed bitmaps.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <QString>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Every value of the data file, read with a reader of its own: one optionally
// signed integer per line. Anything else fails the test that reads.
const std::vector<long>& DataValues() {
  static const std::vector<long> values = [] {
    std::ifstream in(std::string(KESTOR_BUILD_DIR) + "/KESTOR_11.KSQ", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<long> read;
    size_t at = 0;
    while (at < text.size()) {
      const size_t end = text.find('\n', at);
      const std::string line = text.substr(at, end == std::string::npos ? end : end - at);
      size_t used = 0;
      const long value = line.empty() ? 0 : std::stol(line, &used);
      if (line.empty() || used != line.size()) ADD_FAILURE() << "bad line: '" << line << "'";
      read.push_back(value);
      at = end == std::string::npos ? text.size() : end + 1;
    }
    return read;
  }();
  return values;
}

TEST(DataFile, HoldsEnoughValuesAllInRange) {
  const std::vector<long>& v = DataValues();
  // A series of 100000 counts at 16 pulses per second reads about 2.56 M.
  ASSERT_GE(v.size(), 2700000u);
  for (size_t i = 0; i < v.size(); ++i) ASSERT_GE(v[i], 0) << "value " << i;
  for (size_t i = 0; i < 100; ++i) {
    EXPECT_GE(v[i], -32768) << "value " << i;
    EXPECT_LE(v[i], 32767) << "value " << i;
  }
}

TEST(DataFile, IntervalsAreIndependentAndExponentialOfMean250) {
  const std::vector<long>& v = DataValues();
  ASSERT_GT(v.size(), 1000u);
  const double n = v.size();
  double sum = 0, squares = 0, lagged = 0, above_mean = 0, above_twice = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    sum += v[i];
    squares += double(v[i]) * v[i];
    if (i > 0) lagged += double(v[i]) * v[i - 1];
    above_mean += v[i] > 250;
    above_twice += v[i] > 500;
  }
  const double mean = sum / n, sd = std::sqrt(squares / n - mean * mean);
  EXPECT_NEAR(mean, 250.0, 4 * sd / std::sqrt(n));
  // An exponential distribution has its standard deviation equal to its mean.
  EXPECT_NEAR(sd, 250.0, 2.5);
  const double lag1 = (lagged / (n - 1) - mean * mean) / (sd * sd);
  EXPECT_NEAR(lag1, 0.0, 4 / std::sqrt(n));
  // P(V > x) = exp(-x / 250); an integer above x was at least x + 0.5.
  for (const auto& [x, count] : {std::pair{250.0, above_mean}, std::pair{500.0, above_twice}}) {
    const double p = std::exp(-(x + 0.5) / 250.0);
    EXPECT_NEAR(count / n, p, 4 * std::sqrt(p * (1 - p) / n)) << "above " << x;
  }
}

QImage Bitmap(const char* name) {
  return QImage(QString(KESTOR_SOURCE_DIR "/resources/") + name);
}

QSet<QRgb> Colours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  }
  return colours;
}

TEST(Bitmaps, LoadAtTheirSizesWithInkOnThem) {
  const struct {
    const char* name;
    int width, height;
  } bitmaps[] = {{"logo.png", 32, 32},       {"logo_48.png", 48, 48}, {"logo_128.png", 128, 128},
                 {"logo_256.png", 256, 256}, {"sigma2.png", 90, 70},  {"stat1.png", 760, 490},
                 {"stat2.png", 930, 590},    {"stat3.png", 1230, 660}};
  for (const auto& b : bitmaps) {
    const QImage image = Bitmap(b.name);
    ASSERT_FALSE(image.isNull()) << b.name;
    EXPECT_EQ(image.width(), b.width) << b.name;
    EXPECT_EQ(image.height(), b.height) << b.name;
    EXPECT_FALSE(image.hasAlphaChannel()) << b.name;
    EXPECT_GE(Colours(image).size(), 3) << b.name << " is blank";
  }
}

TEST(Bitmaps, LogoIsSixteenColoursWithStripAndHistogram) {
  const QImage logo = Bitmap("logo.png");
  ASSERT_FALSE(logo.isNull());
  const QSet<QRgb> colours = Colours(logo);
  EXPECT_LE(colours.size(), 16);
  if (logo.format() == QImage::Format_Indexed8) {
    EXPECT_LE(logo.colorCount(), 16);
  }
  EXPECT_TRUE(colours.contains(qRgb(255, 255, 255)));  // the pulse strip
  EXPECT_TRUE(colours.contains(qRgb(0, 255, 0)));      // the histogram
  EXPECT_EQ(logo.pixel(16, 2), qRgb(0, 0, 255));       // the background
}

}  // namespace
