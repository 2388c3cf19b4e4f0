// Sequential text input by file number: separators, number shapes, fields
// that are skipped, block boundaries, the end of the file, and what opens.
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "fixture.h"

namespace {

constexpr int kNum = 3;

class TextFileTest : public ::testing::Test {
 protected:
  void TearDown() override { ui::files::CloseAll(); }

  // Every number of content, read with Input to the end.
  static std::vector<double> ReadAll(const std::string& name, const std::string& content) {
    std::vector<double> values;
    EXPECT_TRUE(ui::files::Open(kNum, WriteScratchFile(name, content)));
    double v = 0;
    while (ui::files::Input(kNum, v)) values.push_back(v);
    return values;
  }
};

TEST_F(TextFileTest, FieldsAndNumberShapes) {
  const struct {
    const char* what;
    std::string content;
    std::vector<double> values;
  } cases[] = {
      {"line feeds", "1\n22\n333\n", {1, 22, 333}},
      {"no final line end", "1\n2", {1, 2}},
      {"commas", "1,2,3\n4", {1, 2, 3, 4}},
      {"CR LF", "10\r\n20\r\n", {10, 20}},
      {"CR alone", "10\r20\r", {10, 20}},
      {"blanks and tabs", "  7 \t,\t 8  \n\t9\t\n", {7, 8, 9}},
      {"empty fields", "1,,2\n\n\n3,\n", {1, 2, 3}},
      {"signs", "+5\n-6\n-0\n", {5, -6, 0}},
      {"fractions", "56.25\n.5\n-.07\n5.\n0.125\n", {56.25, 0.5, -0.07, 5, 0.125}},
      {"exponents", "1e3\n2.5E-2\n-3e+2\n.5e1\n7E0\n", {1000, 0.025, -300, 5, 7}},
      {"byte-order mark",
       "\xEF\xBB\xBF"
       "42\n",
       {42}},
      {"long digit strings",
       "00000000000000000000000012\n123456789012345678901234567890\n",
       {12, 123456789012345678901234567890.0}},
      {"far exponents", "1e300\n1e-300\n4.9e-324\n", {1e300, 1e-300, 4.9e-324}},
      {"beyond a double",
       "1e400\n-1e400\n1e-400\n",
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadAll("shapes.txt", c.content), c.values);
  }
}

TEST_F(TextFileTest, FieldsThatAreNotNumbersAreSkipped) {
  using namespace std::string_literals;
  const std::string garbage =
      "word\n1\ninf\nnan\n-inf\nNaN\n2\n1.2.3\n--5\n.\n+\ne5\n1e\n1e+\n0x10\n3\n"
      "12 34\n4 x\n\x01\x02\xff\xfe\n\0\0\n5\0\n6\n"s;
  EXPECT_EQ(ReadAll("garbage.txt", garbage), (std::vector<double>{1, 2, 3, 6}));
  // A field longer than any block holds no number; the reading goes on.
  EXPECT_EQ(ReadAll("long.txt",
                    "6\n" + std::string(200000, 'x') + "\n7\n" + std::string(70000, '9') + "x\n8"),
            (std::vector<double>{6, 7, 8}));
}

TEST_F(TextFileTest, NumbersAcrossBlockBoundariesReadWhole) {
  // A number straddling the 64 KiB mark: it starts 4 bytes before it.
  std::string head;
  std::vector<double> expected_head;
  while (head.size() < 65536 - 4) {
    head += "0\n";
    expected_head.push_back(0);
  }
  expected_head.insert(expected_head.end(), {123456.75, 9});
  EXPECT_EQ(ReadAll("straddle.txt", head + "123456.75\n9\n"), expected_head);

  // Many values of varying widths: every block boundary, whatever the block
  // size, falls inside some number.
  std::string text;
  std::vector<double> expected;
  for (int i = 0; i < 200000; ++i) {
    const int v = (i * 7919) % 100003;
    expected.push_back(v + (i % 4) * 0.25);
    text += std::to_string(v);
    if (i % 4) text += "." + std::to_string((i % 4) * 25);
    text += i % 3 ? "\r\n" : ",";
  }
  EXPECT_EQ(ReadAll("many.txt", text), expected);
}

TEST_F(TextFileTest, EndOfFileLeavesTheValueAndReopeningStartsAgain) {
  const std::string path = WriteScratchFile("two.txt", "1\n2\n");
  ASSERT_TRUE(ui::files::Open(kNum, path));
  double v = 0;
  ASSERT_TRUE(ui::files::Input(kNum, v));
  ASSERT_TRUE(ui::files::Input(kNum, v));
  EXPECT_FALSE(ui::files::Input(kNum, v));
  EXPECT_FALSE(ui::files::Input(kNum, v));
  EXPECT_EQ(v, 2);
  ASSERT_TRUE(ui::files::Open(kNum, path));  // closes and opens again
  ASSERT_TRUE(ui::files::Input(kNum, v));
  EXPECT_EQ(v, 1);
  ui::files::Close(kNum);
  EXPECT_FALSE(ui::files::IsOpen(kNum));
  EXPECT_FALSE(ui::files::Input(kNum, v));
  ui::files::Close(kNum);  // closing a number that is not open is no error
  EXPECT_FALSE(ReadAll("empty.txt", "").size());
}

TEST_F(TextFileTest, OnlyRegularFilesOpen) {
  const struct {
    const char* what;
    std::string path;
  } cases[] = {
      {"missing", ScratchDir() + "/no-such-file"},
      {"directory", ScratchDir()},
      {"empty path", ""},
      {"device", "/dev/zero"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(ui::files::Open(kNum, c.path));
    EXPECT_FALSE(ui::files::IsOpen(kNum));
  }
  const std::string good = WriteScratchFile("good.txt", "1\n");
  for (int num : {0, 256, -1}) EXPECT_FALSE(ui::files::Open(num, good));
  EXPECT_TRUE(ui::files::Open(255, good));
  ui::files::CloseAll();
  EXPECT_FALSE(ui::files::IsOpen(255));
}

TEST_F(TextFileTest, SixteenBitAndSingleReads) {
  ASSERT_TRUE(ui::files::Open(
      kNum, WriteScratchFile("int16.txt",
                             "2.5\n3.5\n-2.5\n32767\n32767.6\n-32768\n-32768.6\n1e400\n7\n")));
  const struct {
    bool ok;
    int16_t value;
  } expected[] = {{true, 2},      {true, 4},  {true, -2}, {true, 32767}, {false, 0},
                  {true, -32768}, {false, 0}, {false, 0}, {true, 7}};
  for (const auto& e : expected) {
    int16_t v = 1234;  // a failed read leaves it as it was
    EXPECT_EQ(ui::files::InputInt16(kNum, v), e.ok);
    EXPECT_EQ(v, e.ok ? e.value : 1234);
  }
  ASSERT_TRUE(ui::files::Open(kNum, WriteScratchFile("single.txt", "0.1\n1e39\n")));
  float f = 0;
  ASSERT_TRUE(ui::files::InputSingle(kNum, f));
  EXPECT_EQ(f, 0.1f);
  ASSERT_TRUE(ui::files::InputSingle(kNum, f));
  EXPECT_TRUE(std::isinf(f));
}

}  // namespace
