// The toolkit-neutral core of the ui layer (ui/core.cpp): the palette, the
// PNG header reading, the data-file search list, the end of the program and
// the seams' reset. Whatever the backend, these give the same results.
#include "fixture.h"
#include "ui/backend.h"

// The sixteen colours as RGB, then an index beyond each end.
TEST(Palette, EachOfTheSixteenColours) {
  std::string seen;
  for (int i = -1; i <= 16; ++i) seen += Describe(ui::QBColor(i));
  EXPECT_EQ(seen,
            "(255,255,255)(0,0,0)(0,0,128)(0,128,0)(0,128,128)(128,0,0)(128,0,128)(128,128,0)"
            "(192,192,192)(128,128,128)(0,0,255)(0,255,0)(0,255,255)(255,0,0)(255,0,255)"
            "(255,255,0)(255,255,255)(0,0,0)");
  EXPECT_TRUE(ui::RGB(1, 2, 3) == ui::RGB(1, 2, 3) && !(ui::RGB(0, 2, 3) == ui::RGB(1, 2, 3)));
}

// A PNG file's first 24 bytes: signature, header chunk length and type,
// width and height (big-endian).
static std::string PngHead(unsigned long w, unsigned long h) {
  std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  for (unsigned long v : {w, h})
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xff);
  return s;
}

// Read: a small, a wide (above 2^24) and the largest image. Refused: one byte
// short, another signature or first chunk, no width or height, beyond 31 bits.
TEST(PngSize, ReadsTheHeaderAndRefusesWhatIsNoPng) {
  auto size = [](const std::string& head, size_t length = 24) {
    int w = -1, h = -1;
    const bool ok = ui::PngSize(reinterpret_cast<const unsigned char*>(head.data()), length, w, h);
    return std::to_string(ok) + ":" + std::to_string(w) + "x" + std::to_string(h) + " ";
  };
  std::string bad_signature = PngHead(40, 30), bad_chunk = bad_signature;
  bad_signature[1] = 'Q', bad_chunk[12] = 'X';
  EXPECT_EQ(size(PngHead(40, 30)) + size(PngHead(0x01000002, 7)) +
                size(PngHead(0x7fffffff, 0x7fffffff)) + size(PngHead(40, 30), 23) +
                size(bad_signature) + size(bad_chunk) + size(PngHead(0, 30)) +
                size(PngHead(40, 0)) + size(PngHead(0x80000000ul, 30)),
            "1:40x30 1:16777218x7 1:2147483647x2147483647 0:0x0 0:0x0 0:0x0 0:0x0 0:0x0 0:0x0 ");
}

TEST(DataFileCandidates, TheUserDataFolderFollowsXdgDataHome) {
  ScopedEnv home("HOME", "/home/someone");
  const std::string local = "/home/someone/.local/share/kestor/KESTOR_11.KSQ";
  for (const auto& c : {std::pair<const char*, std::string>{nullptr, local},
                        {"", local},
                        {"/srv/data", "/srv/data/kestor/KESTOR_11.KSQ"}}) {
    SCOPED_TRACE(c.first ? c.first : "(unset)");
    ScopedEnv xdg("XDG_DATA_HOME", c.first);
    ui::seams::Reset();
    const std::vector<std::string> l = ui::DataFileCandidates();
    EXPECT_EQ(std::make_tuple(l.size(), l.at(0), l.at(4), l.at(5), l.at(10)),
              std::make_tuple(11u, "KESTOR_11.KSQ", c.second, "/home/someone/KESTOR_11.KSQ",
                              "/mnt/KESTOR_11.KSQ"));
  }
}

// Files are numbered 1 to 255; a closed number is free again.
TEST(TextFiles, NumbersOneTo255) {
  const std::string path = WriteScratchFile("numbers.ksq", "1\n");
  std::string opened;
  for (int n : {0, 1, 255, 256}) {
    opened += std::to_string(ui::files::Open(n, path));
    opened += std::to_string(ui::files::IsOpen(n)) + ",";
  }
  ui::files::Close(1), ui::files::Close(255);
  EXPECT_FALSE(ui::files::Open(7, ""));
  EXPECT_EQ(opened + std::to_string(ui::files::IsOpen(1)) + std::to_string(ui::files::IsOpen(255)),
            "00,11,11,00,00");
  ui::files::CloseAll();
}

TEST(SeamsReset, ForgetsARecordedEnd) {
  ui::seams::Reset();
  EXPECT_FALSE(ui::Dispatch([] { ui::End("a test ends here"); }));
  EXPECT_EQ(std::make_tuple(ui::Ended(), ui::EndReason()),
            std::make_tuple(true, std::string("a test ends here")));
  ui::seams::Reset();
  EXPECT_EQ(std::make_tuple(ui::Ended(), ui::EndReason()), std::make_tuple(false, std::string()));
}
