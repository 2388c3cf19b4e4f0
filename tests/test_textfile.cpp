// Sequential text input by file number: separators, number shapes, skipped
// fields, block boundaries, the end of the file, 16-bit and single reads.
#include <cmath>

#include "fixture.h"

namespace {

constexpr int kNum = 3;

class TextFileTest : public ::testing::Test {
 protected:
  void TearDown() override { ui::files::CloseAll(); }
};

TEST_F(TextFileTest, FieldsNumberShapesAndBlockBoundaries) {
  using namespace std::string_literals;
  // Empty fields up to 2 bytes before the 64 KiB mark, so that the first
  // number straddles it; then numbers of growing width across later marks.
  std::string blocks(65536 - 2, ',');
  std::vector<double> across;
  for (int i = 0; i < 100000; ++i)
    blocks += std::to_string(i) + ".5\r\n", across.push_back(i + 0.5);
  const std::pair<std::string, std::vector<double>> cases[] = {
      {"1,2,,3\n\n4,\r\n5\r  6 \t,\t 7  \n\t8", {1, 2, 3, 4, 5, 6, 7, 8}},
      {"+5\n-6\n56.25\n.5\n-.07\n5.\n1e3\n2.5E-2\n-3e+2\n.5e1",
       {5, -6, 56.25, 0.5, -0.07, 5, 1000, 0.025, -300, 5}},
      {"\xEF\xBB\xBF"s + "0000000000000000000000012\n123456789012345678901234567890\n4.9e-"
                         "324\n1e400\n-1e400\n1e-400\n",
       {12, 123456789012345678901234567890.0, 4.9e-324, HUGE_VAL, -HUGE_VAL, 0}},
      {"word\n1\ninf\nnan\n-inf\n1.2.3\n--5\n.\n+\ne5\n1e\n1e+\n0x10\n12 34\n4 x\n\x01\xff\n\0\n5\0\n6\n"s +
           std::string(200000, 'x') + "\n7\n" + std::string(70000, '9') + "x\n8",
       {1, 6, 7, 8}},
      {blocks, across},
      {"", {}},
  };
  for (const auto& [content, values] : cases) {
    SCOPED_TRACE(content.substr(0, 20));
    ASSERT_TRUE(ui::files::Open(kNum, WriteScratchFile("read.txt", content)));
    std::vector<double> read;
    for (double v = 0; ui::files::Input(kNum, v);) read.push_back(v);
    EXPECT_EQ(read, values);
  }
}

// Only regular files open, under numbers 1 to 255; the end of the file
// leaves the value as it was, and opening again starts from the beginning.
// 16-bit reads round halves to even; a failed read (1234) leaves the value.
TEST_F(TextFileTest, OpeningReadingToTheEndAndClosing) {
  for (const std::string& path :
       {ScratchDir() + "/no-such-file", ScratchDir(), std::string(), std::string("/dev/zero")})
    EXPECT_FALSE(ui::files::Open(kNum, path) || ui::files::IsOpen(kNum)) << path;
  const std::string path = WriteScratchFile("two.txt", "1\n2\n");
  for (int num : {0, 256, -1}) EXPECT_FALSE(ui::files::Open(num, path)) << num;
  double v = 0;
  ASSERT_TRUE(ui::files::Open(255, path) && ui::files::Open(kNum, path));
  EXPECT_TRUE(ui::files::Input(kNum, v) && ui::files::Input(kNum, v));
  EXPECT_FALSE(ui::files::Input(kNum, v) || ui::files::Input(kNum, v));  // at the end, and again
  EXPECT_EQ(v, 2);
  EXPECT_TRUE(ui::files::Open(kNum, path) && ui::files::Input(kNum, v) && v == 1);
  ui::files::Close(kNum);
  EXPECT_FALSE(ui::files::Input(kNum, v));
  ASSERT_TRUE(ui::files::Open(
      kNum, WriteScratchFile("int16.txt", "2.5\n3.5\n32767.6\n-32768\n-32768.6\n1e400\n7\n")));
  for (int16_t expected : {2, 4, 1234, -32768, 1234, 1234, 7}) {
    int16_t i = 1234;
    EXPECT_EQ(std::make_pair(ui::files::InputInt16(kNum, i), i),
              std::make_pair(expected != 1234, expected));
  }
  ASSERT_TRUE(ui::files::Open(kNum, WriteScratchFile("single.txt", "0.1\n1e39\n")));
  float f = 0, g = 0;
  EXPECT_TRUE(ui::files::InputSingle(kNum, f) && ui::files::InputSingle(kNum, g) && f == 0.1f &&
              std::isinf(g));
}

}  // namespace
