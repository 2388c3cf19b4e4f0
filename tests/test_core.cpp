// The toolkit-neutral core of the ui layer (ui/core.cpp): the palette, the
// PNG header reading, the data-file search list, the end of the program and
// the seams' reset. Whatever the backend, these give the same results.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fixture.h"
#include "ui/backend.h"

namespace {

// The sixteen colours as RGB, then an index beyond each end.
TEST(Palette, EachOfTheSixteenColours) {
  std::string seen;
  for (int i = -1; i <= 16; ++i) seen += Describe(ui::QBColor(i));
  EXPECT_EQ(seen,
            "(255,255,255)(0,0,0)(0,0,128)(0,128,0)(0,128,128)(128,0,0)(128,0,128)(128,128,0)"
            "(192,192,192)(128,128,128)(0,0,255)(0,255,0)(0,255,255)(255,0,0)(255,0,255)"
            "(255,255,0)(255,255,255)(0,0,0)");
}

// A PNG file's first 24 bytes: signature, header chunk length and type,
// width and height (big-endian).
std::string PngHead(unsigned long w, unsigned long h) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (unsigned long v : {w, h})
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xff);
  return s;
}

TEST(PngSize, ReadsTheHeaderAndRefusesWhatIsNoPng) {
  std::string bad_signature = PngHead(40, 30);
  bad_signature[1] = 'Q';
  std::string bad_chunk = PngHead(40, 30);
  bad_chunk[12] = 'X';
  const struct {
    const char* what;
    std::string head;
    size_t length;
    bool ok;
    int w, h;
  } kCases[] = {
      {"a small image", PngHead(40, 30), 24, true, 40, 30},
      {"a wide image (width above 2^24)", PngHead(0x01000002, 7), 24, true, 0x01000002, 7},
      {"the largest size", PngHead(0x7fffffff, 0x7fffffff), 24, true, 0x7fffffff, 0x7fffffff},
      {"one byte short", PngHead(40, 30), 23, false, 0, 0},
      {"another signature", bad_signature, 24, false, 0, 0},
      {"another first chunk", bad_chunk, 24, false, 0, 0},
      {"no width", PngHead(0, 30), 24, false, 0, 0},
      {"no height", PngHead(40, 0), 24, false, 0, 0},
      {"a width beyond 31 bits", PngHead(0x80000000ul, 30), 24, false, 0, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    int w = -1, h = -1;
    const bool ok =
        ui::PngSize(reinterpret_cast<const unsigned char*>(c.head.data()), c.length, w, h);
    EXPECT_EQ(std::make_tuple(ok, w, h), std::make_tuple(c.ok, c.w, c.h));
  }
}

// Sets (or, given no value, unsets) an environment variable for the life of the object.
struct ScopedEnv {
  ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

TEST(DataFileCandidates, TheUserDataFolderFollowsXdgDataHome) {
  ScopedEnv home("HOME", "/home/someone");
  const struct {
    const char* xdg;
    const char* fifth;
  } kCases[] = {{nullptr, "/home/someone/.local/share/kestor/KESTOR_11.KSQ"},
                {"", "/home/someone/.local/share/kestor/KESTOR_11.KSQ"},
                {"/srv/data", "/srv/data/kestor/KESTOR_11.KSQ"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
    ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
    ui::seams::Reset();
    const std::vector<std::string> list = ui::DataFileCandidates();
    ASSERT_EQ(list.size(), 11u);
    EXPECT_EQ(list[0], "KESTOR_11.KSQ");
    EXPECT_EQ(list[4], c.fifth);
    EXPECT_EQ(list[5], "/home/someone/KESTOR_11.KSQ");
    EXPECT_EQ(list[10], "/mnt/KESTOR_11.KSQ");
  }
}

TEST(SeamsReset, ForgetsARecordedEnd) {
  ui::seams::Reset();
  EXPECT_FALSE(ui::Dispatch([] { ui::End("a test ends here"); }));
  EXPECT_EQ(std::make_tuple(ui::Ended(), ui::EndReason()),
            std::make_tuple(true, std::string("a test ends here")));
  ui::seams::Reset();
  EXPECT_EQ(std::make_tuple(ui::Ended(), ui::EndReason()), std::make_tuple(false, std::string()));
}

}  // namespace
